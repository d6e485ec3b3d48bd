#include "shell/SessionDump.h"

#include "documents/DocTextDump.h"
#include "engine/ParFiles.h"
#include "platform/JsonWriter.h"
#include "shell/Session.h"

namespace gs {

void WriteParseJson(TJsonWriter& json, const TParse& parse) {
  json.BeginArray();
  for (int g = 0; g < parse.GroupCount(); ++g) {
    const TParseGroup& group = parse.Group(g);
    json.BeginObject();
    json.Key(u"group");
    json.String(group.GroupName());
    json.Key(u"total");
    json.Integer(group.Total());
    json.Key(u"elements");
    json.BeginArray();
    for (int i = 0; i < group.Count(); ++i) {
      const TParseItem& item = group.Item(i);
      json.BeginObject();
      json.Key(u"element");
      json.String(item.Element);
      json.Key(u"count");
      json.Integer(item.Count);
      json.Key(u"percent");
      json.Number(item.Percent);
      json.Key(u"ratio");
      json.Number(item.Ratio);
      json.EndObject();
    }
    json.EndArray();
    json.EndObject();
  }
  json.EndArray();
}

QString DumpSession(const TSession& session) {
  const auto lock = session.Lock();
  const TSessionStats s = session.Stats();
  TJsonWriter j;
  j.BeginObject();
  j.Key(u"type");
  j.String(u"session");
  j.Key(u"version");
  j.String(session.ReadVersion().ToString());
  const std::pair<const char16_t*, double> figures[] = {
      {u"listMode", s.ListMode},         {u"processed", s.Processed},   {u"amount", s.Amount},
      {u"maxLineMs", s.MaxLineMs},       {u"lastLineMs", s.LastLineMs}, {u"timeoutMs", s.TimeoutMs},
      {u"generationTime", s.GenerationTime}, {u"runStart", s.RunStart}, {u"lastEnd", s.LastEnd},
      {u"downtime", s.Downtime},         {u"priorElapsed", s.PriorElapsed}, {u"attempt", s.Attempt},
      {u"maxAttempt", s.MaxAttempt}};
  for (const auto& [name, value] : figures) {
    j.Key(name);
    j.Number(value);
  }
  j.Key(u"results");
  WriteCollectionJson(j, session.Results(), QString());
  j.Key(u"parse");
  WriteParseJson(j, session.SessionParse());
  j.EndObject();
  return j.Text() + u'\n';
}

} // namespace gs
