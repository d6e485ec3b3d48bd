#include "formats/InfoJson.h"

#include "platform/Paths.h"

namespace gs {

void WriteLangStrJson(TJsonWriter& json, const TLangStr& text) {
  json.BeginObject();
  for (const TLangStr::TEntry& e : text.Entries()) {
    json.Key(QString::number(e.id));
    json.String(e.text);
  }
  json.EndObject();
}

void WriteInfoJson(TJsonWriter& json, const TInfo& info, const QString& baseFolder) {
  json.Key(u"guid");
  json.String(GuidToString(info.Guid()));
  json.Key(u"icon");
  json.String(baseFolder.isEmpty() ? info.Icon() : MakeRelative(baseFolder, info.Icon()));
  json.Key(u"title");
  WriteLangStrJson(json, info.Title());
  json.Key(u"hint");
  WriteLangStrJson(json, info.Hint());
  json.Key(u"author");
  json.String(info.Author());
  json.Key(u"url");
  json.String(info.URL());
}

} // namespace gs
