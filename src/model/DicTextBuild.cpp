// Building a dictionary from its text form. The document is turned into the bytes of a
// dictionary file, checked on the way with the JSON path of every fault, and the result is
// loaded like any file, so a built dictionary is exactly what reading gives.
#include "model/DicTextForm.h"

#include "model/Limits.h"
#include "model/TextFormAccess.h"
#include "platform/Paths.h"
#include "platform/Text.h"


namespace gs {
namespace {

using namespace textform;

class TBuilder {
public:
  explicit TBuilder(const QString& baseFolder) : m_base(baseFolder) {}

  QByteArray Run(const TJsonValue& doc) {
    const TJsonValue& top = Object(doc, QString());
    CheckKeys(top, QString(), {u"type", u"guid", u"icon", u"title", u"hint", u"author", u"url", u"blocked",
                               u"variables", u"links", u"nodes"});
    if (const TJsonValue* type = top.Find(u"type"); type && Text(*type, QStringLiteral("type")) != u"dictionary")
      Fail(QStringLiteral("type"), QStringLiteral("this is no dictionary"));
    Header(top);
    w.WriteU8(OptionalBool(top, u"blocked", QString()) ? 1 : 0);
    Variables(top);
    Links(top);
    Root(top);
    return w.Bytes();
  }

private:
  // ---- Pieces of the file

  // A LangTable. The document lists the entries in the order the saved file holds them;
  // saving writes the entries last first, so they are read in reverse.
  void LangStr(const TJsonValue* v, const QString& path) {
    if (!v) {
      w.WriteU8(0);
      return;
    }
    if (v->IsString()) {
      w.WriteU8(1);
      w.WriteU16(EnglishLangID);
      w.WriteWideText(v->String());
      return;
    }
    const auto& members = Object(*v, path).Members();
    if (members.size() > 255) Fail(path, QStringLiteral("more than 255 languages"));
    w.WriteU8(quint8(members.size()));
    for (auto it = members.rbegin(); it != members.rend(); ++it) {
      const auto id = StrToIntOpt(it->first);
      if (!id || *id < 0 || *id > 0xFFFF) Fail(Join(path, it->first), QStringLiteral("a language is a number from 0 to 65535"));
      w.WriteU16(quint16(*id));
      w.WriteWideText(Text(it->second, Join(path, it->first)));
    }
  }

  void Header(const TJsonValue& top) {
    w.WriteBytes("QDX");
    w.WriteU8(2);
    w.WriteU8(2);
    w.WriteU8(3);
    TGuid guid = NewGuid();
    OptionalGuid(top, guid);
    w.WriteBytes(QByteArrayView(reinterpret_cast<const char*>(guid.data()), 16));
    w.WriteWideText(OptionalText(top, u"icon", QString()));
    LangStr(top.Find(u"title"), QStringLiteral("title"));
    LangStr(top.Find(u"hint"), QStringLiteral("hint"));
    w.WriteWideText(OptionalText(top, u"author", QString()));
    w.WriteShortAnsi(OptionalText(top, u"url", QString()));
  }

  void Options(const TJsonValue* v, const QString& path) {
    static const TJsonValue empty = TJsonValue::MakeObject({});
    const TJsonValue& o = Object(v ? *v : empty, path);
    const bool fixed = OptionalBool(o, u"fixed", path);
    int style = esString;
    if (const TJsonValue* s = o.Find(u"style")) {
      style = StyleFromName(Text(*s, Join(path, u"style")));
      if (style < 0) Fail(Join(path, u"style"), QStringLiteral("unknown style \"%1\"").arg(s->String()));
    }
    if (fixed) CheckKeys(o, path, {u"style", u"default", u"pickList", u"fixed", u"aliases"});
    else if (style == esString) CheckKeys(o, path, {u"style", u"default", u"pickList", u"fixed", u"maxLength", u"filter", u"exclude"});
    else if (style == esInteger) CheckKeys(o, path, {u"style", u"default", u"pickList", u"fixed", u"minimal", u"maximal"});
    else if (style == esFileName) CheckKeys(o, path, {u"style", u"default", u"pickList", u"fixed", u"fileDescription", u"fileMask"});
    else CheckKeys(o, path, {u"style", u"default", u"pickList", u"fixed"});
    if (fixed && style != esString) Fail(Join(path, u"style"), QStringLiteral("a fixed list is always of the string style"));

    LangStr(o.Find(u"default"), Join(path, u"default"));
    QString items;
    if (const TJsonValue* list = o.Find(u"pickList")) {
      const QString at = Join(path, u"pickList");
      const auto& array = Array(*list, at);
      for (size_t i = 0; i < array.size(); ++i) items += Text(array[i], Index(at, i)) + QStringLiteral("\r\n");
    }
    w.WriteWideText(items);
    w.WriteU8(fixed ? 1 : 0);
    if (fixed) {
      LangStr(o.Find(u"aliases"), Join(path, u"aliases"));
      return;
    }
    w.WriteU8(quint8(style));
    const auto integer = [&](QStringView key, qint64 fallback) {
      const TJsonValue* n = o.Find(key);
      return n ? qint32(Integer(*n, Join(path, key), INT32_MIN, INT32_MAX)) : qint32(fallback);
    };
    if (style == esString) {
      w.WriteI32(integer(u"maxLength", 0));
      w.WriteWideText(OptionalText(o, u"filter", path));
      w.WriteU8(OptionalBool(o, u"exclude", path) ? 1 : 0);
    } else if (style == esInteger) {
      w.WriteI32(integer(u"minimal", 0));
      w.WriteI32(integer(u"maximal", 100));
    } else if (style == esFileName) {
      LangStr(o.Find(u"fileDescription"), Join(path, u"fileDescription"));
      w.WriteWideText(OptionalText(o, u"fileMask", path));
    }
  }

  void Variables(const TJsonValue& top) {
    const TJsonValue* list = top.Find(u"variables");
    const auto& vars = list ? Array(*list, QStringLiteral("variables")) : std::vector<TJsonValue>();
    if (vars.size() > 255) Fail(QStringLiteral("variables"), QStringLiteral("more than 255 variables"));
    w.WriteU8(quint8(vars.size()));
    for (size_t i = 0; i < vars.size(); ++i) {
      const QString path = Index(QStringLiteral("variables"), i);
      const TJsonValue& v = Object(vars[i], path);
      CheckKeys(v, path, {u"name", u"title", u"hint", u"parameter", u"options"});
      w.WriteShortAnsi(RequiredText(v, u"name", path));
      LangStr(v.Find(u"title"), Join(path, u"title"));
      Options(v.Find(u"options"), Join(path, u"options"));
      LangStr(v.Find(u"hint"), Join(path, u"hint"));
      const TJsonValue* p = v.Find(u"parameter");
      w.WriteU8(!p || Bool(*p, Join(path, u"parameter")) ? 1 : 0);
    }
  }

  void Links(const TJsonValue& top) {
    const TJsonValue* list = top.Find(u"links");
    const auto& links = list ? Array(*list, QStringLiteral("links")) : std::vector<TJsonValue>();
    if (links.size() > 0xFFFF - 256) Fail(QStringLiteral("links"), QStringLiteral("too many links"));
    w.WriteU16(quint16(links.size()));
    for (size_t i = 0; i < links.size(); ++i) {
      const QString path = Index(QStringLiteral("links"), i);
      const TJsonValue& l = Object(links[i], path);
      CheckKeys(l, path, {u"file", u"title", u"date", u"caching", u"params"});
      const QString file = RequiredText(l, u"file", path);
      TLinkInfo info{ExpandRelative(m_base, file), {}};
      w.WriteU16(quint16(256 + i));
      LangStr(l.Find(u"title"), Join(path, u"title"));
      w.WriteWideText(file);
      double date = 0;
      if (const TJsonValue* d = l.Find(u"date")) {
        if (!d->IsNumber()) Fail(Join(path, u"date"), QStringLiteral("expected a number"));
        date = d->Number();
      }
      w.WriteDouble(date);
      w.WriteU8(OptionalBool(l, u"caching", path) ? 1 : 0);
      const TJsonValue* params = l.Find(u"params");
      const QString at = Join(path, u"params");
      const auto& ps = params ? Array(*params, at) : std::vector<TJsonValue>();
      if (ps.size() > 255) Fail(at, QStringLiteral("more than 255 parameters"));
      w.WriteU8(quint8(ps.size()));
      for (size_t p = 0; p < ps.size(); ++p) {
        const QString pp = Index(at, p);
        const TJsonValue& param = Object(ps[p], pp);
        CheckKeys(param, pp, {u"name", u"title", u"options"});
        const QString name = RequiredText(param, u"name", pp);
        info.params.append(name);
        w.WriteShortAnsi(name);
        LangStr(param.Find(u"title"), Join(pp, u"title"));
        Options(param.Find(u"options"), Join(pp, u"options"));
      }
      m_links.push_back(std::move(info));
    }
  }

  // ---- Values

  void DefaultValue(bool call) {
    if (call) {
      w.WriteU8(vkFunc);
      w.WriteU16(DefaultFunction()->Id());
      w.WriteU8(0);
    } else {
      w.WriteU8(vkText);
      w.WriteWideText(u"");
    }
  }

  // The id a call names and the parameters its arguments may name.
  void CallTarget(const TJsonValue& v, const QString& path, quint16& id, QStringList& params) {
    if (const TJsonValue* link = v.Find(u"link")) {
      const QString file = ExpandRelative(m_base, Text(*link, Join(path, u"link")));
      for (size_t i = 0; i < m_links.size(); ++i) {
        if (!SamePath(m_links[i].file, file)) continue;
        id = quint16(256 + i);
        params = m_links[i].params;
        return;
      }
      Fail(Join(path, u"link"), QStringLiteral("no link to \"%1\"").arg(link->String()));
    }
    const TJsonValue* call = v.Find(u"call");
    if (!call) Fail(path, QStringLiteral("a call names \"call\" or \"link\""));
    const QString at = Join(path, u"call");
    int found = -1;
    if (call->IsNumber()) {
      found = int(Integer(*call, at, 0, 255));
      if (!StdFuncs().Get(quint16(found)) && found != 64 && found != 99 && found != 100 && found != 101)
        Fail(at, QStringLiteral("unknown function %1").arg(found));
    } else {
      found = FunctionFromName(Text(*call, at));
      if (found < 0) Fail(at, QStringLiteral("unknown function \"%1\"").arg(call->String()));
    }
    id = quint16(found);
    const TFunction* f = StdFuncs().Get(id == 64 ? 67 : id);
    if (f)
      for (int p = 0; p < f->ParamCount(); ++p) params.append(f->ParamName(p));
  }

  void Value(const TJsonValue* v, const QString& path, bool call, int depth) {
    if (depth > MaxNestingDepth) Fail(path, QStringLiteral("nested too deeply"));
    if (!v) {
      DefaultValue(call);
      return;
    }
    if (v->IsString()) {
      w.WriteU8(vkText);
      w.WriteWideText(v->String());
      return;
    }
    const TJsonValue& o = Object(*v, path);
    if (const TJsonValue* text = o.Find(u"text")) {
      CheckKeys(o, path, {u"text"});
      w.WriteU8(vkText);
      w.WriteWideText(Text(*text, Join(path, u"text")));
      return;
    }
    if (const TJsonValue* kind = o.Find(u"kind")) {
      CheckKeys(o, path, {u"kind"});
      w.WriteU8(quint8(Integer(*kind, Join(path, u"kind"), 2, 255)));
      return;
    }
    CheckKeys(o, path, {u"call", u"link", u"args"});
    quint16 id = 0;
    QStringList params;
    CallTarget(o, path, id, params);
    w.WriteU8(vkFunc);
    w.WriteU16(id);
    const TJsonValue* args = o.Find(u"args");
    const QString at = Join(path, u"args");
    const auto& members = args ? Object(*args, at).Members() : std::vector<TJsonValue::TMember>();
    if (members.size() > 255) Fail(at, QStringLiteral("more than 255 arguments"));
    w.WriteU8(quint8(members.size()));
    for (const auto& [name, arg] : members) {
      if (!params.contains(name, Qt::CaseInsensitive))
        Fail(Join(at, name), QStringLiteral("the function has no parameter \"%1\"").arg(name));
      w.WriteShortAnsi(name);
      Value(&arg, Join(at, name), false, depth + 1);
    }
  }

  // ---- Nodes

  void Root(const TJsonValue& top) {
    w.WriteU8(nkRoot);
    const TJsonValue* nodes = top.Find(u"nodes");
    Children(nodes, QStringLiteral("nodes"), nkRoot, 1);
  }

  void Children(const TJsonValue* list, const QString& path, quint8 parent, int depth) {
    const auto& items = list ? Array(*list, path) : std::vector<TJsonValue>();
    if (items.size() > 0xFFFF) Fail(path, QStringLiteral("more than 65535 nodes"));
    w.WriteU16(quint16(items.size()));
    for (size_t i = 0; i < items.size(); ++i) Node(items[i], Index(path, i), parent, depth);
  }

  static QString WithArticle(const QString& noun) {
    const bool vowel = !noun.isEmpty() && QStringLiteral("aeiou").contains(noun.front());
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + noun;
  }

  quint8 Kind(const TJsonValue& n, const QString& path) {
    if (const TJsonValue* k = n.Find(u"kind")) {
      const int kind = NodeKindFromName(Text(*k, Join(path, u"kind")));
      if (kind < 0) Fail(Join(path, u"kind"), QStringLiteral("unknown node kind \"%1\"").arg(k->String()));
      return quint8(kind);
    }
    for (quint8 kind : {nkRequest, nkOrder, nkLogic, nkRequisite})
      if (n.Find(NodeKindName(kind))) return kind;
    Fail(path, QStringLiteral("missing \"kind\""));
  }

  quint8 Option(const TJsonValue& n, const QString& path, quint8 kind, QStringView key, quint8 fallback) {
    const TJsonValue* v = n.Find(key);
    if (!v) return fallback;
    const QString at = Join(path, key);
    if (v->IsNumber()) return quint8(Integer(*v, at, 0, 255));
    const int option = OptionFromName(kind, Text(*v, at));
    if (option < 0) Fail(at, QStringLiteral("unknown %1 \"%2\"").arg(key).arg(v->String()));
    return quint8(option);
  }

  void Node(const TJsonValue& item, const QString& path, quint8 parent, int depth) {
    if (depth > MaxNestingDepth) Fail(path, QStringLiteral("nested too deeply"));
    const TJsonValue& n = Object(item, path);
    const quint8 kind = Kind(n, path);
    if (!KindCanContain(parent, kind))
      Fail(path, QStringLiteral("%1 cannot contain %2").arg(WithArticle(NodeKindName(parent)), WithArticle(NodeKindName(kind))));
    const QString optionKey = NodeKindName(kind);
    switch (kind) {
    case nkRequest:
    case nkOrder:
    case nkLogic:
    case nkRequisite:
      CheckKeys(n, path, {u"kind", u"request", u"order", u"logic", u"requisite", u"disabled", u"hint", u"children"});
      for (const char16_t* other : {u"request", u"order", u"logic", u"requisite"})
        if (optionKey != QStringView(other) && n.Find(other))
          Fail(Join(path, other), QStringLiteral("%1 has no %2").arg(WithArticle(optionKey), QString::fromUtf16(other)));
      break;
    case nkSelector: CheckKeys(n, path, {u"kind", u"value", u"sign", u"disabled", u"hint", u"children"}); break;
    case nkCondition: CheckKeys(n, path, {u"kind", u"value", u"sign", u"value2", u"disabled", u"hint"}); break;
    default: CheckKeys(n, path, {u"kind", u"value", u"disabled", u"hint", u"children"}); break;
    }
    w.WriteU8(kind);
    const quint8 defaultOption = kind == nkOrder || kind == nkLogic ? 1 : 0;
    switch (kind) {
    case nkRequest:
    case nkOrder:
    case nkLogic:
    case nkRequisite: w.WriteU8(Option(n, path, kind, optionKey, defaultOption)); break;
    case nkSelector:
      Value(n.Find(u"value"), Join(path, u"value"), true, 0);
      w.WriteU8(Option(n, path, kind, u"sign", 0));
      break;
    case nkCondition:
      Value(n.Find(u"value"), Join(path, u"value"), true, 0);
      w.WriteU8(Option(n, path, kind, u"sign", 0));
      Value(n.Find(u"value2"), Join(path, u"value2"), false, 0);
      break;
    case nkCommand: Value(n.Find(u"value"), Join(path, u"value"), true, 0); break;
    default: Value(n.Find(u"value"), Join(path, u"value"), false, 0); break;
    }
    w.WriteU8(OptionalBool(n, u"disabled", path) ? 1 : 0);
    LangStr(n.Find(u"hint"), Join(path, u"hint"));
    if (kind != nkCondition) Children(n.Find(u"children"), Join(path, u"children"), kind, depth + 1);
  }

  struct TLinkInfo {
    QString file;  // absolute
    QStringList params;
  };

  QString m_base;
  TStreamWriter w;
  std::vector<TLinkInfo> m_links;
};

} // namespace

void BuildDictionary(const TJsonValue& document, const QString& baseFolder, TDicFile& dic) {
  const QString folder = baseFolder.isEmpty() || baseFolder.endsWith(u'/') ? baseFolder : baseFolder + u'/';
  const QByteArray bytes = TBuilder(folder).Run(document);
  TStreamReader stream(bytes);
  dic.LoadFromStream(stream, folder);
}

} // namespace gs
