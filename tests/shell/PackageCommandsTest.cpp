#include "FileSupport.h"
#include "ProgramRun.h"
#include "model/DicFiles.h"
#include "shell/Commands.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace gs;

namespace {

class PackageCommands : public testing::Test {
protected:
  void SetUp() override {
    TDicFile dic;
    dic.Info().Title().SetEnglishText("Elves");
    dic.SaveToFile(In("elves.qdx"));
  }
  QString In(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  QString Home(const char* name) const { return m_home.filePath(QString::fromUtf8(name)); }
  QTemporaryDir m_dir, m_home;
};

} // namespace

TEST_F(PackageCommands, PackInstallAndDump) {
  const TRun pack = RunProgramIn(m_home.path(), {"pack", In("elves.qdx"), In("elves.qpi")});
  ASSERT_EQ(pack.status, exitOk) << pack.err.toStdString();
  EXPECT_EQ(pack.out, "packed 1 files into " + In("elves.qpi") + "\n");

  const QJsonObject dump = QJsonDocument::fromJson(RunProgram({"dump", In("elves.qpi")}).out.toUtf8()).object();
  EXPECT_EQ(dump["type"].toString(), "installer");
  EXPECT_EQ(dump["mainFile"].toString(), "elves.qdx");
  EXPECT_EQ(dump["entries"].toArray()[0].toObject()["name"].toString(), "elves.qdx");
  EXPECT_GT(dump["entries"].toArray()[0].toObject()["size"].toInt(), 0);

  WriteFile(In("junk.qpi"), "junk");
  const TRun install = RunProgramIn(m_home.path(), {"install", In("elves.qpi"), In("junk.qpi")});
  EXPECT_EQ(install.status, exitFileError);  // one of them failed
  EXPECT_TRUE(install.out.startsWith(u"installed \"Elves\" from elves.qpi")) << install.out.toStdString();
  EXPECT_TRUE(install.err.contains(u"junk.qpi")) << install.err.toStdString();
  EXPECT_TRUE(QFileInfo::exists(Home("Packages/elves.qdx")));
  EXPECT_TRUE(QFileInfo::exists(Home("Packages.db")));  // written at shutdown
  EXPECT_TRUE(QFileInfo::exists(Home("Library.db")));

  EXPECT_EQ(RunProgram({"pack", In("none.qdx"), In("x.qpi")}).status, exitFileError);
  EXPECT_EQ(RunProgram({"install"}).status, exitUsage);
}

TEST_F(PackageCommands, SwitchesEndTheProgramThroughShutdown) {
  ASSERT_EQ(RunProgramIn(m_home.path(), {"--pack", In("elves.qdx"), In("s.qpi")}).status, 0);
  ASSERT_TRUE(QFileInfo::exists(In("s.qpi")));
  // Install and uninstall together: install wins.
  ASSERT_EQ(RunProgramIn(m_home.path(), {"/Install", "/Uninstall", "/Silent", In("s.qpi")}).status, 0);
  EXPECT_TRUE(QFileInfo::exists(Home("Packages/elves.qdx")));
  ASSERT_EQ(RunProgramIn(m_home.path(), {"--uninstall", "--silent"}).status, 0);
  EXPECT_FALSE(QFileInfo::exists(Home("Packages/elves.qdx")));
  EXPECT_FALSE(QFileInfo::exists(Home("Packages.db")));  // no package left

  ASSERT_EQ(RunProgramIn(m_home.path(), {"--register", In("elves.qdx")}).status, 0);
  EXPECT_TRUE(ReadFile(Home("Library.db")).contains(QByteArray("e\0l\0v\0e\0s\0.\0q\0d\0x", 17)));

  // "/Pack" with one file is no job: the program would open its windows.
  EXPECT_EQ(RunProgramIn(m_home.path(), {"--pack", In("elves.qdx")}).status, exitUsage);
}

TEST_F(PackageCommands, DumpOfASession) {
  const QString dic = In("elves.qdx");
  ASSERT_EQ(RunProgramIn(m_home.path(), {"generate", dic, "-n", "2", "--session", In("s.qgs")}).status, 0);
  const QJsonObject dump = QJsonDocument::fromJson(RunProgram({"dump", In("s.qgs")}).out.toUtf8()).object();
  EXPECT_EQ(dump["type"].toString(), "session");
  EXPECT_EQ(dump["processed"].toInt(), 2);
  EXPECT_EQ(dump["results"].toObject()["title"].toObject()["1033"].toString(), "Elves");
  EXPECT_EQ(RunProgram({"dump", In("none.qgs")}).status, exitFileError);
}
