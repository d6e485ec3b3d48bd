#include "FileSupport.h"
#include "documents/ColFiles.h"
#include "model/EO.h"
#include "model/Values.h"
#include "shell/Folders.h"
#include "shell/LangFrm.h"
#include "shell/Library.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <gtest/gtest.h>

using namespace gs;

namespace {

class Library : public testing::Test {
protected:
  void SetUp() override {
    m_saved = Folders();
    SetFolders(TFolders::Resolve(m_dir.path(), QString(), QStringLiteral("glossmith")));
    SetMessageHandler([this](const TMsgData& data, const QString&) {
      m_messages.push_back(data.id);
      return TMsgAnswer::No;
    });
  }
  void TearDown() override {
    SetMessageHandler(nullptr);
    SetFolders(m_saved);
  }
  QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  QString Collection(const char* name, const char* title) {
    TColFile col;
    col.Info().Title().SetEnglishText(QString::fromUtf8(title));
    col.Info().SetAuthor("Ann");
    col.SaveToFile(Path(name));
    return Path(name);
  }

  QTemporaryDir m_dir;
  TFolders m_saved;
  std::vector<int> m_messages;
};

} // namespace

TEST_F(Library, RegisterShowAndHide) {
  TLibrary library;
  int added = 0, hidden = 0, shown = 0;
  library.OnItemAdd = [&](TLibrary&, TLibItem&) { ++added; };
  library.OnItemHide = [&](TLibrary&, TLibItem&) { ++hidden; };
  library.OnItemShow = [&](TLibrary&, TLibItem&) { ++shown; };
  const QString names = Collection("names.qcu", "Names");
  TLibItem* item = library.RegisterFile(names, true);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->DisplayTitle(), "Names");
  EXPECT_EQ(item->Author, "Ann");
  EXPECT_EQ(item->IconIndex, 0);
  EXPECT_EQ(library.RegisterFile(names, true), item);  // one entry per file
  EXPECT_EQ(added, 1);
  const TDateTime first = item->Added;
  library.HideFile(names);
  EXPECT_FALSE(item->Visible());
  library.ShowFile(names);
  EXPECT_TRUE(item->Visible());
  EXPECT_EQ(item->Added, first);
  EXPECT_EQ(hidden, 1);
  EXPECT_EQ(shown, 1);

  // Other kinds and missing files are not entered, silently; an unreadable document is, with
  // its message.
  WriteFile(Path("x.qpi"), "x");
  EXPECT_EQ(library.RegisterFile(Path("x.qpi"), true), nullptr);
  EXPECT_EQ(library.RegisterFile(Path("none.qcu"), true), nullptr);
  EXPECT_TRUE(m_messages.empty());
  WriteFile(Path("bad.qdx"), QByteArray("QDX\x02\x00", 5));
  EXPECT_EQ(library.RegisterFile(Path("bad.qdx"), true), nullptr);
  EXPECT_EQ(m_messages, std::vector<int>{505});
  EXPECT_EQ(library.Count(), 1);

  // The title seam of the values.
  TEditorOptions fileNames(esFileName);
  TValue value;
  value.SetOptions(&fileNames);
  value.SetText(QString(names).replace(u'/', u'\\'));
  EXPECT_EQ(CellText(value), "<Names>");
}

TEST_F(Library, TextListsTakeTheirTitleFromInfoIni) {
  TLibrary library;
  WriteFile(Path("roots.txt"), "ash\n");
  WriteFile(Path("Info.ini"), "[roots.txt]\nTitle=Tree roots\n");
  TLibItem* item = library.RegisterFile(Path("roots.txt"), false);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->DisplayTitle(), "Tree roots");
  EXPECT_FALSE(item->Visible());
  QThread::msleep(2100);  // content dates have two-second steps
  WriteFile(Path("Info.ini"), "[roots.txt]\nTitle=Roots\n");
  library.RefreshEntry(*item);
  EXPECT_EQ(item->DisplayTitle(), "Roots");
}

TEST_F(Library, RefreshAllDropsVanishedAndBrokenFiles) {
  TLibrary library;
  library.RegisterFile(Collection("a.qcu", "A"), true);
  library.RegisterFile(Collection("b.qcu", "B"), true);
  library.RegisterFile(Collection("c.qcu", "C"), true);
  QFile::remove(Path("a.qcu"));
  WriteFile(Path("b.qcu"), "QCU broken now");
  SetFileModified(Path("b.qcu"), Now() + 1);  // a new content date
  int deleted = 0;
  library.OnItemDelete = [&](TLibrary&, TLibItem&) { ++deleted; };
  library.RefreshAll();
  ASSERT_EQ(library.Count(), 1);
  EXPECT_EQ(library.Item(0).DisplayTitle(), "C");
  EXPECT_EQ(deleted, 2);
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(Library, DatabaseVersions) {
  const QString db = Path("Library.db");
  {
    TLibrary library;
    library.RegisterFile(Collection("a.qcu", "A"), true);
    library.HideFile(Collection("b.qcu", "B"));
    library.SaveToFile(db);
  }
  const QByteArray bytes = ReadFile(db);
  ASSERT_EQ(bytes.left(2), QByteArray("\x02\x00", 2));
  TLibrary back;
  back.LoadFromFile(db);
  ASSERT_EQ(back.Count(), 2);
  EXPECT_EQ(back.Item(0).FileName, Path("a.qcu"));
  EXPECT_EQ(back.Item(1).DisplayTitle(), "B");
  EXPECT_FALSE(back.Item(1).Visible());

  // Version 1.0: file, dates, the title as English text, author; visible.
  TStreamWriter old;
  old.WriteU8(1);
  old.WriteU8(0);
  old.WriteI32(1);
  old.WriteWideText(QStringLiteral("a.qcu"));
  old.WriteDouble(46000);
  old.WriteDouble(0);
  old.WriteWideText(QStringLiteral("Old title"));
  old.WriteWideText(QStringLiteral("Bob"));
  WriteFile(db, old.Bytes());
  TLibrary one;
  one.LoadFromFile(db);
  ASSERT_EQ(one.Count(), 1);
  EXPECT_EQ(one.Item(0).Title.EnglishText(), "Old title");
  EXPECT_EQ(one.Item(0).Author, "Bob");
  EXPECT_TRUE(one.Item(0).Visible());

  // Newer: nothing read, the file kept; empty: the file deleted.
  QByteArray newer = bytes;
  newer[0] = 3;
  WriteFile(db, newer);
  TLibrary n;
  n.LoadFromFile(db);
  EXPECT_EQ(n.Count(), 0);
  n.SaveToFile(db);
  EXPECT_EQ(ReadFile(db), newer);
  TLibrary empty;
  empty.SaveToFile(db);
  EXPECT_FALSE(QFileInfo::exists(db));
  // Damaged anywhere: what came before stays.
  for (qsizetype size = 0; size < bytes.size(); size += 5) {
    WriteFile(db, bytes.left(size));
    TLibrary cut;
    cut.LoadFromFile(db);
    EXPECT_LE(cut.Count(), 2);
  }
}
