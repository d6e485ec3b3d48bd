#include "FileSupport.h"
#include "documents/ConFiles.h"
#include "documents/InsFiles.h"
#include "model/DicFiles.h"
#include "shell/Folders.h"
#include "shell/LangFrm.h"
#include "shell/Library.h"
#include "shell/Packages.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

class Packages : public testing::Test {
protected:
  void SetUp() override {
    m_saved = Folders();
    SetFolders(TFolders::Resolve(m_home.path(), QString(), QStringLiteral("glossmith")));
    m_packages = std::make_unique<TPackages>(&m_library, Folders().packagesDir);
    // A container with a dictionary and a list in a subfolder.
    QDir(m_src.path()).mkpath("lists");
    WriteFile(Src("lists/roots.txt"), "ash\n");
    TDicFile dic;
    dic.Info().Title().SetEnglishText("Elves");
    dic.SaveToFile(Src("elves.qdx"));
    TConFile con;
    con.Info().Title().SetEnglishText("All");
    for (const QString& f : {Src("elves.qdx"), Src("lists/roots.txt")}) {
      auto item = std::make_unique<TItem>(ikFile);
      item->SetFileName(f);
      con.Root().AddChild(std::move(item));
    }
    con.SaveToFile(Src("all.qpc"));
    Pack(Src("all.qpc"), Src("all.qpi"));
  }
  void TearDown() override {
    m_packages.reset();
    SetFolders(m_saved);
  }
  QString Src(const char* name) const { return m_src.filePath(QString::fromUtf8(name)); }
  QString Pkg(const char* name) const { return Folders().packagesDir + QString::fromUtf8(name); }

  QTemporaryDir m_home, m_src;
  TFolders m_saved;
  TLibrary m_library;
  std::unique_ptr<TPackages> m_packages;
};

} // namespace

TEST_F(Packages, InstallRecordsRegistersAndUpdatesInPlace) {
  int added = 0;
  m_packages->OnPackageAdd = [&](TPackages&, TPackage&) { ++added; };
  ASSERT_TRUE(m_packages->InstallFile(Src("all.qpi"), true));
  ASSERT_EQ(m_packages->Count(), 1);
  const TPackage& p = m_packages->Package(0);
  EXPECT_EQ(p.Title.DisplayText(), "All");
  EXPECT_EQ(p.Folder, Folders().packagesDir);
  // Three files and the one folder the installation created.
  EXPECT_EQ(p.EntryCount(), 4);
  EXPECT_TRUE(QFileInfo::exists(Pkg("lists/roots.txt")));
  EXPECT_NE(m_library.FindEntry(Pkg("elves.qdx")), nullptr);  // every written file is registered
  EXPECT_NE(m_library.FindEntry(Pkg("all.qpc")), nullptr);

  // The same installer again: one package, files written again.
  WriteFile(Pkg("elves.qdx"), "changed by the user");
  SetFileModified(Pkg("elves.qdx"), Now() + 1);  // a time of its own, not the recorded one
  ASSERT_TRUE(m_packages->InstallFile(Src("all.qpi"), true));
  EXPECT_EQ(m_packages->Count(), 1);
  EXPECT_EQ(added, 1);
  // The user's change survived removal, became a leftover, and was then overwritten.
  EXPECT_EQ(m_packages->Leftovers().EntryCount(), 1);
  TDicFile dic;
  EXPECT_NO_THROW(dic.LoadFromFile(Pkg("elves.qdx")));

  EXPECT_FALSE(m_packages->InstallFile(Src("missing.qpi"), true));  // silently nothing
  WriteFile(Src("junk.qpi"), "junk");
  EXPECT_FALSE(m_packages->InstallFile(Src("junk.qpi"), true));
  EXPECT_EQ(m_packages->Count(), 1);
}

TEST_F(Packages, UninstallLeavesTheUsersFiles) {
  ASSERT_TRUE(m_packages->InstallFile(Src("all.qpi"), true));
  WriteFile(Pkg("lists/mine.txt"), "the user's own");
  m_packages->UninstallAll(true);
  EXPECT_EQ(m_packages->Count(), 0);
  EXPECT_FALSE(QFileInfo::exists(Pkg("elves.qdx")));
  EXPECT_FALSE(QFileInfo::exists(Pkg("lists/roots.txt")));
  EXPECT_TRUE(QFileInfo::exists(Pkg("lists/mine.txt")));
  ASSERT_EQ(m_packages->Leftovers().EntryCount(), 1);  // the folder that still holds it
  EXPECT_EQ(m_packages->Leftovers().Entry(0).PathKind, pkFolder);
  EXPECT_EQ(m_library.FindEntry(Pkg("elves.qdx")), nullptr);  // the library forgot vanished files

  QFile::remove(Pkg("lists/mine.txt"));
  m_packages->Leftovers().RemoveLeftovers();
  EXPECT_EQ(m_packages->Leftovers().EntryCount(), 0);
  EXPECT_FALSE(QFileInfo::exists(Pkg("lists")));
}

TEST_F(Packages, UninstallAsksUnlessSilent) {
  ASSERT_TRUE(m_packages->InstallFile(Src("all.qpi"), true));
  QString asked;
  SetMessageHandler([&](const TMsgData&, const QString& text) {
    asked = text;
    return TMsgAnswer::No;
  });
  m_packages->Uninstall(m_packages->Package(0), false);
  SetMessageHandler(nullptr);
  EXPECT_EQ(asked, "Uninstall package \"All\"?");
  EXPECT_EQ(m_packages->Count(), 1);
  EXPECT_TRUE(QFileInfo::exists(Pkg("elves.qdx")));
}

TEST_F(Packages, StoreFileVersions) {
  const QString db = m_home.filePath("Packages.db");
  ASSERT_TRUE(m_packages->InstallFile(Src("all.qpi"), true));
  m_packages->Leftovers().AddEntry(pkFile, m_home.filePath("old.txt"), 12.5);
  m_packages->SaveToFile(db);
  ASSERT_EQ(ReadFile(db).left(2), QByteArray("\x02\x02"));

  TPackages back(nullptr, Folders().packagesDir);
  back.LoadFromFile(db);
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.Package(0).Guid, m_packages->Package(0).Guid);
  EXPECT_EQ(back.Package(0).EntryCount(), 4);
  EXPECT_EQ(back.Package(0).Entry(0).Path, m_packages->Package(0).Entry(0).Path);
  EXPECT_EQ(back.Leftovers().EntryCount(), 1);

  // Version 2.0 has no leftover list; a newer store is kept as it is.
  QByteArray v20 = ReadFile(db);
  v20[1] = 0;
  WriteFile(db, v20);
  TPackages old(nullptr, Folders().packagesDir);
  old.LoadFromFile(db);
  EXPECT_EQ(old.Count(), 1);
  EXPECT_EQ(old.Leftovers().EntryCount(), 0);
  QByteArray v30 = v20;
  v30[0] = 3;
  WriteFile(db, v30);
  TPackages newer(nullptr, Folders().packagesDir);
  newer.LoadFromFile(db);
  EXPECT_EQ(newer.Count(), 0);
  newer.SaveToFile(db);
  EXPECT_EQ(ReadFile(db), v30);

  // Cut anywhere: what came before stays; an empty store deletes the file.
  for (qsizetype size = 0; size < v20.size(); size += 7) {
    WriteFile(db, v20.left(size));
    TPackages cut(nullptr, Folders().packagesDir);
    cut.LoadFromFile(db);
    EXPECT_LE(cut.Count(), 1);
    cut.SaveToFile(db);
    if (cut.Count() == 0) {
      EXPECT_FALSE(QFileInfo::exists(db));
    }
  }
}
