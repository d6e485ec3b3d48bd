// Writing the text form of a dictionary.
#include "model/DicTextForm.h"

#include "formats/InfoJson.h"
#include "platform/JsonWriter.h"
#include "platform/Paths.h"
#include "shell/LangFrm.h"

namespace gs {
namespace {

class TDumper {
public:
  TDumper(const TDicFile& dic, const QString& baseFolder) : m_dic(dic), m_base(baseFolder) {}

  QString Run() {
    const TDicInfo& info = m_dic.Info();
    j.BeginObject();
    Key(u"type", u"dictionary");
    WriteInfoJson(j, info, m_base);
    j.Key(u"blocked");
    j.Bool(info.Blocked());
    Variables(info.Variables());
    Links();
    j.Key(u"nodes");
    Children(m_dic.Root());
    j.EndObject();
    return j.Text() + u'\n';
  }

private:
  void Key(QStringView key, QStringView text) {
    j.Key(key);
    j.String(text);
  }

  void LangStr(const TLangStr& s) { WriteLangStrJson(j, s); }

  void Options(const TEditorOptions& o) {
    j.BeginObject();
    if (!o.Fixed()) Key(u"style", StyleName(o.Style()));
    j.Key(u"default");
    LangStr(o.Default());
    j.Key(u"pickList");
    j.BeginArray();
    for (const QString& item : o.PickList().Items()) j.String(item);
    j.EndArray();
    if (o.Fixed()) {
      j.Key(u"fixed");
      j.Bool(true);
      j.Key(u"aliases");
      LangStr(o.AliasList());
    } else if (o.Style() == esString) {
      j.Key(u"maxLength");
      j.Integer(o.MaxLength());
      Key(u"filter", o.Filter());
      j.Key(u"exclude");
      j.Bool(o.Exclude());
    } else if (o.Style() == esInteger) {
      j.Key(u"minimal");
      j.Integer(o.Minimal());
      j.Key(u"maximal");
      j.Integer(o.Maximal());
    } else if (o.Style() == esFileName) {
      j.Key(u"fileDescription");
      LangStr(o.FileDescription());
      Key(u"fileMask", o.FileMask());
    }
    j.EndObject();
  }

  void Variables(const TVariables& vars) {
    j.Key(u"variables");
    j.BeginArray();
    for (int i = 0; i < vars.Count(); ++i) {
      const TVariable& v = vars.Item(i);
      j.BeginObject();
      Key(u"name", v.name);
      j.Key(u"title");
      LangStr(v.title);
      j.Key(u"hint");
      LangStr(v.hint);
      j.Key(u"parameter");
      j.Bool(v.isParameter);
      j.Key(u"options");
      Options(*v.options);
      j.EndObject();
    }
    j.EndArray();
  }

  void Links() {
    j.Key(u"links");
    j.BeginArray();
    const TLinks& links = m_dic.Links();
    for (int i = 0; i < links.Count(); ++i) {
      const TLink& link = *links.Link(i);
      j.BeginObject();
      Key(u"file", MakeRelative(m_base, link.FileName()));
      j.Key(u"title");
      LangStr(link.Title());
      j.Key(u"date");
      j.Number(link.Date());
      j.Key(u"caching");
      j.Bool(link.Caching());
      j.Key(u"params");
      j.BeginArray();
      for (int p = 0; p < link.ParamCount(); ++p) {
        j.BeginObject();
        Key(u"name", link.ParamName(p));
        j.Key(u"title");
        LangStr(link.Param(p).title);
        j.Key(u"options");
        Options(*link.ParamOptions(p));
        j.EndObject();
      }
      j.EndArray();
      j.EndObject();
    }
    j.EndArray();
  }

  void Value(const TValue& v) {
    if (v.Kind() == vkText) {
      j.String(v.Text());
      return;
    }
    j.BeginObject();
    if (v.Kind() != vkFunc) {
      j.Key(u"kind");
      j.Integer(v.Kind());
      j.EndObject();
      return;
    }
    const TFunction* f = v.Function();
    if (const auto* link = dynamic_cast<const TLink*>(f)) {
      Key(u"link", MakeRelative(m_base, link->FileName()));
    } else {
      j.Key(u"call");
      const QString name = FunctionName(f->Id());
      if (name.isEmpty()) j.Integer(f->Id());
      else j.String(name);
    }
    if (v.ArgCount() > 0) {
      j.Key(u"args");
      j.BeginObject();
      for (int i = 0; i < v.ArgCount(); ++i) {
        j.Key(v.ArgName(i));
        Value(v.Arg(i));
      }
      j.EndObject();
    }
    j.EndObject();
  }

  void Option(QStringView key, const QString& title, quint8 option) {
    j.Key(key);
    if (title.isEmpty()) j.Integer(option);
    else j.String(title);
  }

  void Node(const TDicNode& n) {
    j.BeginObject();
    Key(u"kind", NodeKindName(n.Kind()));
    const quint8 o = n.Option();
    switch (n.Kind()) {
    case nkRequest: Option(u"request", OptionName(nkRequest, o), o); break;
    case nkOrder: Option(u"order", OptionName(nkOrder, o), o); break;
    case nkLogic: Option(u"logic", OptionName(nkLogic, o), o); break;
    case nkRequisite: Option(u"requisite", OptionName(nkRequisite, o), o); break;
    default: break;
    }
    if (n.Value1()) {
      j.Key(u"value");
      Value(*n.Value1());
    }
    if (n.Kind() == nkSelector || n.Kind() == nkCondition) Option(u"sign", OptionName(n.Kind(), o), o);
    if (n.Value2()) {
      j.Key(u"value2");
      Value(*n.Value2());
    }
    if (n.Disabled()) {
      j.Key(u"disabled");
      j.Bool(true);
    }
    if (n.Hint().Count() > 0) {
      j.Key(u"hint");
      LangStr(n.Hint());
    }
    if (n.Count() > 0) {
      j.Key(u"children");
      Children(n);
    }
    j.EndObject();
  }

  void Children(const TDicNode& n) {
    j.BeginArray();
    for (int i = 0; i < n.Count(); ++i) Node(n.Child(i));
    j.EndArray();
  }

  const TDicFile& m_dic;
  QString m_base;
  TJsonWriter j;
};

} // namespace

QString DumpDictionary(const TDicFile& dic, const QString& baseFolder) {
  return TDumper(dic, baseFolder).Run();
}

} // namespace gs
