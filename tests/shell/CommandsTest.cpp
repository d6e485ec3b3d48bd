#include "FileSupport.h"
#include "ProgramRun.h"
#include "formats/Info.h"
#include "shell/Commands.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace gs;

namespace {



// A dictionary-like header of version 2.3 with a title in two languages.
QByteArray DictionaryHeader() {
  TStreamWriter w;
  w.WriteBytes("QDX");
  w.WriteU8(2);
  w.WriteU8(2);
  w.WriteU8(3);
  for (int i = 0; i < 16; ++i) w.WriteU8(quint8(i));
  w.WriteWideText(u"names.ico");
  TLangStr title;
  title.SetEnglishText("Names");
  title.SetText(1049, QString::fromUtf8("Имена"));
  title.WriteTo(w);
  TLangStr().WriteTo(w);
  w.WriteWideText(u"Glossmith samples");
  w.WriteShortAnsi(u"http://example.org/");
  return w.Bytes();
}

} // namespace

TEST(Commands, VersionAndUsage) {
  const TRun version = RunProgram({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, ProgramVersionText() + "\n");
  EXPECT_EQ(RunProgram({"info"}).status, exitUsage);
  EXPECT_EQ(RunProgram({"--bogus"}).status, exitUsage);
  EXPECT_EQ(RunProgram({"--home"}).status, exitUsage);
}

TEST(Commands, InfoPrintsTheHeaderOfAnyKindAndVersion) {
  QTemporaryDir dir;
  const QString file = dir.filePath("names.qdx");
  WriteFile(file, DictionaryHeader());
  const TRun run = RunProgram({"info", file});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const QJsonObject o = QJsonDocument::fromJson(run.out.toUtf8()).object();
  EXPECT_EQ(o["signature"].toString(), "QDX");
  EXPECT_EQ(o["formatVersion"].toInt(), 2);
  EXPECT_EQ(o["version"].toString(), "2.3");
  EXPECT_EQ(o["guid"].toString(), "{03020100-0504-0706-0809-0A0B0C0D0E0F}");
  EXPECT_EQ(o["icon"].toString(), dir.filePath("names.ico"));
  EXPECT_EQ(o["title"].toObject()["1033"].toString(), "Names");
  EXPECT_EQ(o["title"].toObject()["1049"].toString(), QString::fromUtf8("Имена"));
  EXPECT_TRUE(o["hint"].toObject().isEmpty());
  EXPECT_EQ(o["author"].toString(), "Glossmith samples");
  EXPECT_EQ(o["url"].toString(), "http://example.org/");
  // Keys stand in the documented order.
  EXPECT_LT(run.out.indexOf("\"signature\""), run.out.indexOf("\"formatVersion\""));
  EXPECT_LT(run.out.indexOf("\"author\""), run.out.indexOf("\"url\""));

  const QString container = dir.filePath("c.qpc");
  WriteFile(container, QByteArray("QP\xD1", 3) + DictionaryHeader().mid(3));
  const TRun con = RunProgram({"info", container});
  ASSERT_EQ(con.status, 0);
  EXPECT_EQ(QJsonDocument::fromJson(con.out.toUtf8()).object()["signature"].toString(), QString::fromUtf8("QPÑ"));
}

TEST(Commands, InfoOfTextFilesAndFailures) {
  QTemporaryDir dir;
  WriteFile(dir.filePath("roots.txt"), "stone\nriver\n");
  WriteFile(dir.filePath("Info.ini"), "[*.txt]\nTitle=Roots\nAuthor=Me\n");
  const TRun text = RunProgram({"info", dir.filePath("roots.txt")});
  ASSERT_EQ(text.status, 0);
  const QJsonObject o = QJsonDocument::fromJson(text.out.toUtf8()).object();
  EXPECT_EQ(o["title"].toObject()["1033"].toString(), "Roots");
  EXPECT_EQ(o["author"].toString(), "Me");

  const TRun missing = RunProgram({"info", dir.filePath("none.qdx")});
  EXPECT_EQ(missing.status, exitFileError);
  EXPECT_EQ(missing.err, "File \"none.qdx\" was not found. Make sure the filename is correct.\n");
  EXPECT_TRUE(missing.out.isEmpty());

  const QByteArray header = DictionaryHeader();
  WriteFile(dir.filePath("cut.qdx"), header.left(30));
  const TRun cut = RunProgram({"info", dir.filePath("cut.qdx")});
  EXPECT_EQ(cut.status, exitFileError);
  EXPECT_EQ(cut.err, "File \"cut.qdx\" contains structural errors.\nFull or partial data damage is probable.\n");

  QByteArray newer = header;
  newer[3] = '\x03';
  WriteFile(dir.filePath("new.qdx"), newer);
  const TRun tooNew = RunProgram({"info", dir.filePath("new.qdx")});
  EXPECT_EQ(tooNew.status, exitFileError);
  EXPECT_TRUE(tooNew.err.startsWith("File \"new.qdx\" is a newer QDX file, than the program supports.\n"))
      << tooNew.err.toStdString();
}

TEST(Commands, ParseArgsPlacesOptionsAnywhere) {
  const TParsedArgs a = ParseArgs({"build", "--home", "/tmp", "x.json", "-o", "y.qdx", "--", "--version"});
  EXPECT_EQ(a.positional, QStringList({"build", "x.json", "--version"}));
  EXPECT_EQ(a.home, "/tmp");
  EXPECT_EQ(a.Value(u"-o"), "y.qdx");
  EXPECT_FALSE(a.Has(u"--version"));
  const TParsedArgs b = ParseArgs({"/Install", "/tmp", "--Silent", "--output=z.qdx"});
  EXPECT_TRUE(b.Has(u"--install"));
  EXPECT_TRUE(b.Has(u"--silent"));
  EXPECT_EQ(b.Value(u"--output"), "z.qdx");
  EXPECT_EQ(b.positional, QStringList({"/tmp"}));  // an existing path is a file
  EXPECT_FALSE(ParseArgs({"build", "-o"}).error.isEmpty());
}
