#include "documents/DocTextBuild.h"

#include "model/DicTextForm.h"
#include "model/Limits.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace gs {
namespace {

[[noreturn]] void Fail(const QString& path, const QString& message) {
  throw ETextForm(path, message);
}

QString Join(const QString& path, QStringView key) {
  return path.isEmpty() ? key.toString() : path + u'.' + key.toString();
}

QString Index(const QString& path, size_t i) {
  return path + u'[' + QString::number(i) + u']';
}

const TJsonValue& Object(const TJsonValue& v, const QString& path) {
  if (!v.IsObject()) Fail(path, QStringLiteral("expected an object"));
  return v;
}

void CheckKeys(const TJsonValue& o, const QString& path, std::initializer_list<const char16_t*> allowed) {
  for (const auto& [key, value] : o.Members()) {
    bool known = false;
    for (const char16_t* a : allowed) known = known || key == QStringView(a);
    if (!known) Fail(Join(path, key), QStringLiteral("unknown key \"%1\"").arg(key));
  }
}

QString Text(const TJsonValue& o, QStringView key, const QString& path) {
  const TJsonValue* v = o.Find(key);
  if (!v) return {};
  if (!v->IsString()) Fail(Join(path, key), QStringLiteral("expected a text"));
  return v->String();
}

bool Bool(const TJsonValue& o, QStringView key, const QString& path) {
  const TJsonValue* v = o.Find(key);
  if (!v) return false;
  if (!v->IsBool()) Fail(Join(path, key), QStringLiteral("expected true or false"));
  return v->Bool();
}

const std::vector<TJsonValue>& Array(const TJsonValue& o, QStringView key, const QString& path) {
  static const std::vector<TJsonValue> none;
  const TJsonValue* v = o.Find(key);
  if (!v) return none;
  if (!v->IsArray()) Fail(Join(path, key), QStringLiteral("expected an array"));
  return v->Array();
}

// A text in several languages: an object from language id to text, or one English string.
// The entries stand in the order the saved file holds them; saving writes them last first, so
// they are taken in reverse.
TLangStr LangStr(const TJsonValue& o, QStringView key, const QString& path) {
  TLangStr s;
  const TJsonValue* v = o.Find(key);
  if (!v) return s;
  if (v->IsString()) {
    s.SetEnglishText(v->String());
    return s;
  }
  const QString at = Join(path, key);
  const auto& members = Object(*v, at).Members();
  for (auto it = members.rbegin(); it != members.rend(); ++it) {
    const auto& [id, text] = *it;
    const auto lang = StrToIntOpt(id);
    if (!lang || *lang < 0 || *lang > 0xFFFF) Fail(Join(at, id), QStringLiteral("a language is a number from 0 to 65535"));
    if (!text.IsString()) Fail(Join(at, id), QStringLiteral("expected a text"));
    s.SetText(quint16(*lang), text.String());
  }
  return s;
}

void Header(const TJsonValue& top, TInfo& info, const QString& base, const char16_t* type) {
  if (const TJsonValue* t = top.Find(u"type"); t && (!t->IsString() || t->String() != QStringView(type)))
    Fail(QStringLiteral("type"), QStringLiteral("this is no %1").arg(QString::fromUtf16(type)));
  if (const TJsonValue* g = top.Find(u"guid")) {
    TGuid guid{};
    if (!g->IsString() || !GuidFromString(g->String(), guid)) Fail(QStringLiteral("guid"), QStringLiteral("not a GUID"));
    info.SetGuid(guid);
  }
  const QString icon = Text(top, u"icon", QString());
  info.SetIcon(icon.isEmpty() ? icon : ExpandRelative(base, icon));
  info.Title().AssignFrom(LangStr(top, u"title", QString()));
  info.Hint().AssignFrom(LangStr(top, u"hint", QString()));
  info.SetAuthor(Text(top, u"author", QString()));
  info.SetURL(Text(top, u"url", QString()));
}

std::unique_ptr<TItem> Item(const TJsonValue& v, const QString& path, const QString& base, int depth) {
  if (depth > MaxNestingDepth) Fail(path, QStringLiteral("nested too deeply"));
  const TJsonValue& o = Object(v, path);
  const QString kind = Text(o, u"kind", path);
  if (kind != u"folder" && kind != u"file") Fail(Join(path, u"kind"), QStringLiteral("an item is a folder or a file"));
  const bool file = kind == u"file";
  if (file) CheckKeys(o, path, {u"kind", u"name", u"file", u"hidden", u"hint"});
  else CheckKeys(o, path, {u"kind", u"name", u"hidden", u"hint", u"children"});
  auto item = std::make_unique<TItem>(file ? ikFile : ikFolder);
  item->SetName(LangStr(o, u"name", path));
  if (file) item->SetFileName(ExpandRelative(base, Text(o, u"file", path)));
  item->SetHidden(Bool(o, u"hidden", path));
  item->SetHint(LangStr(o, u"hint", path));
  const auto& children = Array(o, u"children", path);
  for (size_t i = 0; i < children.size(); ++i)
    if (!item->AddChild(Item(children[i], Index(Join(path, u"children"), i), base, depth + 1)))
      Fail(Index(Join(path, u"children"), i), QStringLiteral("an item holds at most 65535 children"));
  return item;
}

} // namespace

void BuildCollection(const TJsonValue& document, const QString& baseFolder, TColFile& col) {
  const QString base = baseFolder.isEmpty() || baseFolder.endsWith(u'/') ? baseFolder : baseFolder + u'/';
  const TJsonValue& top = Object(document, QString());
  CheckKeys(top, QString(), {u"type", u"guid", u"icon", u"title", u"hint", u"author", u"url", u"lines"});
  Header(top, col.Info(), base, u"collection");
  const auto& lines = Array(top, u"lines", QString());
  for (size_t i = 0; i < lines.size(); ++i) {
    const QString path = Index(QStringLiteral("lines"), i);
    const TJsonValue& o = Object(lines[i], path);
    CheckKeys(o, path, {u"text", u"rating", u"group", u"checked", u"changed", u"hint"});
    auto line = std::make_unique<TColLine>();
    line->SetText(Text(o, u"text", path));
    if (const TJsonValue* r = o.Find(u"rating")) {
      if (!r->IsNumber() || r->Number() < 0 || r->Number() > 255 || r->Number() != qint64(r->Number()))
        Fail(Join(path, u"rating"), QStringLiteral("expected a whole number from 0 to 255"));
      line->SetRating(quint8(r->Number()));
    }
    line->SetGroup(Text(o, u"group", path));
    if (line->Group().contains(u'\r') || line->Group().contains(u'\n'))
      Fail(Join(path, u"group"), QStringLiteral("a group name is one line"));
    line->SetChecked(Bool(o, u"checked", path));
    line->SetHint(LangStr(o, u"hint", path));
    if (const TJsonValue* c = o.Find(u"changed")) {
      if (!c->IsNumber()) Fail(Join(path, u"changed"), QStringLiteral("expected a number"));
      line->SetChanged(c->Number());
    }
    col.Add(std::move(line));
  }
}

void BuildContainer(const TJsonValue& document, const QString& baseFolder, TConFile& con) {
  const QString base = baseFolder.isEmpty() || baseFolder.endsWith(u'/') ? baseFolder : baseFolder + u'/';
  const TJsonValue& top = Object(document, QString());
  CheckKeys(top, QString(), {u"type", u"guid", u"icon", u"title", u"hint", u"author", u"url", u"blocked", u"items"});
  Header(top, con.Info(), base, u"container");
  con.Info().SetBlocked(Bool(top, u"blocked", QString()));
  const auto& items = Array(top, u"items", QString());
  for (size_t i = 0; i < items.size(); ++i)
    if (!con.Root().AddChild(Item(items[i], Index(QStringLiteral("items"), i), base, 1)))
      Fail(Index(QStringLiteral("items"), i), QStringLiteral("a container holds at most 65535 items"));
}

} // namespace gs
