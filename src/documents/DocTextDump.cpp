#include "documents/DocTextDump.h"

#include "formats/InfoJson.h"
#include "platform/JsonWriter.h"
#include "platform/Paths.h"

namespace gs {
namespace {

void Item(TJsonWriter& j, const TItem& item, const QString& base) {
  j.BeginObject();
  j.Key(u"kind");
  j.String(item.Kind() == ikFile ? u"file" : u"folder");
  j.Key(u"name");
  WriteLangStrJson(j, item.Name());
  if (item.Kind() == ikFile) {
    j.Key(u"file");
    j.String(MakeRelative(base, item.FileName()));
  }
  j.Key(u"hidden");
  j.Bool(item.Hidden());
  j.Key(u"hint");
  WriteLangStrJson(j, item.Hint());
  if (item.Kind() != ikFile) {
    j.Key(u"children");
    j.BeginArray();
    for (int i = 0; i < item.ChildCount(); ++i) Item(j, item.Child(i), base);
    j.EndArray();
  }
  j.EndObject();
}

} // namespace

void WriteLineJson(TJsonWriter& j, const TColLine& line, bool whole) {
  j.BeginObject();
  j.Key(u"text");
  j.String(line.Text());
  j.Key(u"rating");
  j.Integer(line.Rating());
  j.Key(u"group");
  j.String(line.Group());
  j.Key(u"checked");
  j.Bool(line.Checked());
  if (whole) {
    j.Key(u"changed");
    j.Number(line.Changed());
    j.Key(u"hint");
    WriteLangStrJson(j, line.Hint());
  }
  j.EndObject();
}

void WriteCollectionJson(TJsonWriter& j, const TColFile& col, const QString& baseFolder) {
  j.BeginObject();
  j.Key(u"type");
  j.String(u"collection");
  WriteInfoJson(j, col.Info(), baseFolder);
  j.Key(u"lines");
  j.BeginArray();
  for (int i = 0; i < col.Count(); ++i) {
    WriteLineJson(j, col.Line(i), true);
  }
  j.EndArray();
  j.EndObject();
}

QString DumpCollection(const TColFile& col, const QString& baseFolder) {
  TJsonWriter j;
  WriteCollectionJson(j, col, baseFolder);
  return j.Text() + u'\n';
}

QString DumpContainer(const TConFile& con, const QString& baseFolder) {
  TJsonWriter j;
  j.BeginObject();
  j.Key(u"type");
  j.String(u"container");
  WriteInfoJson(j, con.Info(), baseFolder);
  j.Key(u"blocked");
  j.Bool(con.Info().Blocked());
  j.Key(u"items");
  j.BeginArray();
  for (int i = 0; i < con.Root().ChildCount(); ++i) Item(j, con.Root().Child(i), baseFolder);
  j.EndArray();
  j.EndObject();
  return j.Text() + u'\n';
}

QString DumpInstaller(TInsFile& installer) {
  TJsonWriter j;
  j.BeginObject();
  j.Key(u"type");
  j.String(u"installer");
  WriteInfoJson(j, installer.Info(), ExtractFileDir(installer.FileName()));
  j.Key(u"created");
  j.Number(installer.Info().Created());
  j.Key(u"mainFile");
  j.String(installer.MainFile());
  j.Key(u"fileCount");
  j.Integer(installer.FileCount());
  j.Key(u"entries");
  j.BeginArray();
  for (const TInsFile::TEntry& e : installer.Entries()) {
    j.BeginObject();
    j.Key(u"name");
    j.String(e.name);
    j.Key(u"modified");
    j.Number(e.modified);
    j.Key(u"size");
    j.Integer(e.size);
    j.EndObject();
  }
  j.EndArray();
  j.EndObject();
  return j.Text() + u'\n';
}

} // namespace gs
