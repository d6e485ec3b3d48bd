#include "FileSupport.h"
#include "ProgramRun.h"
#include "documents/ColFiles.h"
#include "documents/ConFiles.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

TEST(DocTextDump, CollectionsAndContainers) {
  QTemporaryDir dir;
  TColFile col;
  col.Info().Title().SetEnglishText("Kept names");
  auto line = std::make_unique<TColLine>(45000.5);
  line->SetText("Ael");
  line->SetChanged(45000.5);
  line->SetGroup("Elves");
  line->SetRating(3);
  line->SetChecked(true);
  col.Add(std::move(line));
  col.SaveToFile(dir.filePath("kept.qcu"));
  const TRun c = RunProgram({"dump", dir.filePath("kept.qcu")});
  ASSERT_EQ(c.status, 0) << c.err.toStdString();
  const QJsonObject co = QJsonDocument::fromJson(c.out.toUtf8()).object();
  EXPECT_EQ(co["type"].toString(), "collection");
  EXPECT_EQ(co["title"].toObject()["1033"].toString(), "Kept names");
  const QJsonObject l = co["lines"].toArray()[0].toObject();
  EXPECT_EQ(l["text"].toString(), "Ael");
  EXPECT_EQ(l["group"].toString(), "Elves");
  EXPECT_EQ(l["rating"].toInt(), 3);
  EXPECT_TRUE(l["checked"].toBool());
  EXPECT_EQ(l["changed"].toDouble(), 45000.5);

  TConFile con;
  con.Info().SetBlocked(true);
  TItem* folder = con.Root().AddChild(std::make_unique<TItem>(ikFolder));
  auto file = std::make_unique<TItem>(ikFile);
  file->SetFileName(dir.filePath("kept.qcu"));
  folder->AddChild(std::move(file));
  con.SaveToFile(dir.filePath("all.qpc"));
  const TRun k = RunProgram({"dump", dir.filePath("all.qpc")});
  ASSERT_EQ(k.status, 0) << k.err.toStdString();
  const QJsonObject ko = QJsonDocument::fromJson(k.out.toUtf8()).object();
  EXPECT_EQ(ko["type"].toString(), "container");
  EXPECT_TRUE(ko["blocked"].toBool());
  const QJsonObject f = ko["items"].toArray()[0].toObject();
  EXPECT_EQ(f["kind"].toString(), "folder");
  EXPECT_EQ(f["children"].toArray()[0].toObject()["file"].toString(), "kept.qcu");

  const TRun bad = RunProgram({"dump", dir.filePath("kept.qcu") + "x"});
  EXPECT_EQ(bad.status, 3);
}

TEST(DocTextDump, BuildOfDumpGivesTheSameBytes) {
  QTemporaryDir dir;
  TColFile col;
  col.Info().Title().SetEnglishText("Kept");
  col.Info().Title().SetText(1049, "Khranimye");
  for (const char* t : {"Ael", "Bor"}) {
    auto line = std::make_unique<TColLine>(45000.123456789);
    line->SetText(QString::fromUtf8(t));
    line->SetChanged(45000.123456789);
    line->SetGroup("G");
    TLangStr hint;
    hint.SetEnglishText("h");
    hint.SetText(1031, "d");
    line->SetHint(hint);
    col.Add(std::move(line));
  }
  TConFile con;
  TItem* folder = con.Root().AddChild(std::make_unique<TItem>(ikFolder));
  folder->SetHidden(true);
  auto file = std::make_unique<TItem>(ikFile);
  file->SetFileName(dir.filePath("kept.qcu"));
  folder->AddChild(std::move(file));
  for (const auto& [name, doc] : std::initializer_list<std::pair<const char*, TFile*>>{{"kept.qcu", &col}, {"all.qpc", &con}}) {
    // Saved once and loaded, so that the bytes are those of a file the program saved.
    const QString first = dir.filePath(QString::fromUtf8(name));
    doc->SaveToFile(first);
    const TRun dump = RunProgram({"dump", first});
    ASSERT_EQ(dump.status, 0) << dump.err.toStdString();
    const QString json = dir.filePath(QString::fromUtf8(name) + ".json");
    WriteFile(json, dump.out.toUtf8());
    const QString second = dir.filePath(QStringLiteral("again-") + QString::fromUtf8(name));
    const TRun build = RunProgram({"build", json, "-o", second});
    ASSERT_EQ(build.status, 0) << build.err.toStdString();
    EXPECT_EQ(ReadFile(second), ReadFile(first)) << name;
  }
  WriteFile(dir.filePath("bad.json"), R"({"type": "collection", "lines": [{"text": "a", "ratin": 2}]})");
  const TRun bad = RunProgram({"build", dir.filePath("bad.json"), "-o", dir.filePath("bad.qcu")});
  EXPECT_EQ(bad.status, 3);
  EXPECT_EQ(bad.err, "bad.json: lines[0].ratin: unknown key \"ratin\"\n");
}
