#include "documents/DocTextBuild.h"

#include "model/DicTextForm.h"
#include "model/Limits.h"
#include "model/TextFormAccess.h"
#include "platform/Paths.h"
#include "platform/Text.h"

namespace gs {
namespace {

using namespace textform;


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
  if (TGuid guid{}; OptionalGuid(top, guid)) info.SetGuid(guid);
  const QString icon = OptionalText(top, u"icon", QString());
  info.SetIcon(icon.isEmpty() ? icon : ExpandRelative(base, icon));
  info.Title().AssignFrom(LangStr(top, u"title", QString()));
  info.Hint().AssignFrom(LangStr(top, u"hint", QString()));
  info.SetAuthor(OptionalText(top, u"author", QString()));
  info.SetURL(OptionalText(top, u"url", QString()));
}

std::unique_ptr<TItem> Item(const TJsonValue& v, const QString& path, const QString& base, int depth) {
  if (depth > MaxNestingDepth) Fail(path, QStringLiteral("nested too deeply"));
  const TJsonValue& o = Object(v, path);
  const QString kind = OptionalText(o, u"kind", path);
  if (kind != u"folder" && kind != u"file") Fail(Join(path, u"kind"), QStringLiteral("an item is a folder or a file"));
  const bool file = kind == u"file";
  if (file) CheckKeys(o, path, {u"kind", u"name", u"file", u"hidden", u"hint"});
  else CheckKeys(o, path, {u"kind", u"name", u"hidden", u"hint", u"children"});
  auto item = std::make_unique<TItem>(file ? ikFile : ikFolder);
  item->SetName(LangStr(o, u"name", path));
  if (file) item->SetFileName(ExpandRelative(base, OptionalText(o, u"file", path)));
  item->SetHidden(OptionalBool(o, u"hidden", path));
  item->SetHint(LangStr(o, u"hint", path));
  const auto& children = OptionalArray(o, u"children", path);
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
  const auto& lines = OptionalArray(top, u"lines", QString());
  for (size_t i = 0; i < lines.size(); ++i) {
    const QString path = Index(QStringLiteral("lines"), i);
    const TJsonValue& o = Object(lines[i], path);
    CheckKeys(o, path, {u"text", u"rating", u"group", u"checked", u"changed", u"hint"});
    auto line = std::make_unique<TColLine>();
    line->SetText(OptionalText(o, u"text", path));
    if (const TJsonValue* r = o.Find(u"rating")) line->SetRating(quint8(Integer(*r, Join(path, u"rating"), 0, 255)));
    line->SetGroup(OptionalText(o, u"group", path));
    if (line->Group().contains(u'\r') || line->Group().contains(u'\n'))
      Fail(Join(path, u"group"), QStringLiteral("a group name is one line"));
    line->SetChecked(OptionalBool(o, u"checked", path));
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
  con.Info().SetBlocked(OptionalBool(top, u"blocked", QString()));
  const auto& items = OptionalArray(top, u"items", QString());
  for (size_t i = 0; i < items.size(); ++i)
    if (!con.Root().AddChild(Item(items[i], Index(QStringLiteral("items"), i), base, 1)))
      Fail(Index(QStringLiteral("items"), i), QStringLiteral("a container holds at most 65535 items"));
}

} // namespace gs
