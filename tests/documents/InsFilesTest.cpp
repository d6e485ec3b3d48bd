#include "FileSupport.h"
#include "documents/ConFiles.h"
#include "documents/InsFiles.h"
#include "documents/ZStream.h"
#include "formats/Exceptions.h"
#include "model/DicFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

struct TRawEntry {
  QString name;
  QByteArray content;
  qint64 declared = -1;  // the size written, when it is not the content's
};

// An installer written by hand: any names, any declared sizes, optionally cut short.
void WriteInstaller(const QString& path, const std::vector<TRawEntry>& entries, qsizetype cut = 0) {
  QSaveFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  TStreamWriter header(&file);
  TInsInfo info;
  info.WriteToStream(header, QString());
  header.WriteWideText(entries.empty() ? QString() : entries.front().name);
  header.WriteI32(qint32(entries.size()));
  header.Flush();
  {
    TDeflateWriter payload(file, 9);
    for (const TRawEntry& e : entries) {
      payload.WriteWideText(e.name);
      payload.WriteDouble(46000.5);
      payload.WriteU32(quint32(e.declared >= 0 ? e.declared : e.content.size()));
      payload.Write(e.content);
    }
    payload.Finish();
  }
  ASSERT_TRUE(file.commit());
  if (cut > 0) {
    QByteArray bytes = ReadFile(path);
    bytes.chop(cut);
    WriteFile(path, bytes);
  }
}

QString SaveDictionary(const QString& path) {
  TDicFile dic;
  dic.Info().Title().SetEnglishText("Elves");
  dic.SaveToFile(path);
  return path;
}

class Installer : public testing::Test {
protected:
  QString In(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  QString Target(const char* name) const { return m_target.filePath(QString::fromUtf8(name)); }
  QTemporaryDir m_dir, m_target;
};

} // namespace

TEST_F(Installer, PackAndExtractADictionary) {
  SaveDictionary(In("elves.qdx"));
  Pack(In("elves.qdx"), In("elves.qpi"));
  TInsFile ins(In("elves.qpi"));
  EXPECT_EQ(ins.FileCount(), 1);
  EXPECT_EQ(ins.MainFile(), "elves.qdx");
  EXPECT_EQ(ins.Info().Title().EnglishText(), "Elves");  // the main document's header
  TDicFile original;
  original.LoadFromFile(In("elves.qdx"));
  EXPECT_EQ(ins.Info().Guid(), original.Info().Guid());
  EXPECT_GT(ins.Info().Created(), 0.0);

  QStringList installed;
  ins.OnFileInstalled = [&](TInsFile&, const QString& path, TDateTime) { installed << path; };
  ins.Extract(m_target.path());
  EXPECT_EQ(installed, QStringList{Target("elves.qdx")});
  EXPECT_EQ(ins.MainPath(), Target("elves.qdx"));
  TDicFile carried;
  carried.LoadFromFile(Target("elves.qdx"));
  EXPECT_TRUE(carried.Info().Blocked());
  EXPECT_FALSE(original.Info().Blocked());  // the packed file is unchanged
  EXPECT_EQ(FileModified(Target("elves.qdx")), FileModified(In("elves.qdx")));
}

TEST_F(Installer, AContainerCarriesWhatItRefersTo) {
  QDir(m_dir.path()).mkpath("lists");
  WriteFile(In("lists/roots.txt"), "ash\noak\n");
  SaveDictionary(In("elves.qdx"));
  TConFile con;
  TItem* folder = con.Root().AddChild(std::make_unique<TItem>(ikFolder));
  for (const QString& f : {In("elves.qdx"), In("lists/roots.txt"), In("gone.txt"), QStringLiteral("D:\\other\\x.qdx")}) {
    auto item = std::make_unique<TItem>(ikFile);
    item->SetFileName(f);
    folder->AddChild(std::move(item));
  }
  con.SaveToFile(In("all.qpc"));
  Pack(In("all.qpc"), In("all.qpi"));
  TInsFile ins(In("all.qpi"));
  ASSERT_EQ(ins.FileCount(), 3);  // the container and the two files that exist on this drive
  const std::vector<TInsFile::TEntry> entries = ins.Entries();
  ASSERT_EQ(entries.size(), 3u);
  EXPECT_EQ(entries[0].name, "all.qpc");  // the main document first
  EXPECT_EQ(entries[2].name, "lists\\roots.txt");
  EXPECT_EQ(entries[2].size, 8u);

  QStringList folders;
  ins.OnDirCreated = [&](TInsFile&, const QString& path) { folders << path; };
  ins.Extract(m_target.path());
  EXPECT_EQ(folders, QStringList{Target("lists")});
  EXPECT_EQ(ReadFile(Target("lists/roots.txt")), "ash\noak\n");
  TConFile carried;
  carried.LoadFromFile(Target("all.qpc"));
  EXPECT_TRUE(carried.Info().Blocked());
  TConFile onDisk;
  onDisk.LoadFromFile(In("all.qpc"));
  EXPECT_FALSE(onDisk.Info().Blocked());
}

TEST_F(Installer, OverwriteDecisionsArePerFile) {
  WriteInstaller(In("x.qpi"), {{"a.txt", "new a"}, {"b.txt", "new b"}, {"c.txt", "new c"}});
  WriteFile(Target("a.txt"), "old a");
  WriteFile(Target("c.txt"), "old c");
  TInsFile ins(In("x.qpi"));
  QStringList asked;
  ins.OnOverwrite = [&](TInsFile&, const QString& path, TInsFile::TOverwrite& answer, quint32 size, TDateTime) {
    asked << QFileInfo(path).fileName();
    EXPECT_EQ(size, 5u);
    answer.writeThis = false;  // "No" for this one only
  };
  ins.Extract(m_target.path());
  EXPECT_EQ(asked, (QStringList{"a.txt", "c.txt"}));
  EXPECT_EQ(ReadFile(Target("a.txt")), "old a");
  EXPECT_EQ(ReadFile(Target("b.txt")), "new b");
  EXPECT_EQ(ReadFile(Target("c.txt")), "old c");

  TInsFile again(In("x.qpi"));
  asked.clear();
  again.OnOverwrite = [&](TInsFile&, const QString& path, TInsFile::TOverwrite& answer, quint32, TDateTime) {
    asked << QFileInfo(path).fileName();
    answer.yesToAll = true;
  };
  again.Extract(m_target.path());
  EXPECT_EQ(asked, QStringList{"a.txt"});  // Yes to All: no further question
  EXPECT_EQ(ReadFile(Target("c.txt")), "new c");
}

TEST_F(Installer, HostileEntriesAreNotWritten) {
  QDir(m_dir.path()).mkpath("t");
  const QString target = In("t");
  WriteInstaller(In("bad.qpi"), {{"ok.txt", "fine"},
                                 {"../escape.txt", "out"},
                                 {"sub/../../escape2.txt", "out"},
                                 {In("abs.txt"), "out"},
                                 {"C:\\win.txt", "out"},
                                 {"", "empty"},
                                 {"after.txt", "still"}});
  TInsFile ins(In("bad.qpi"));
  QStringList refused;
  ins.OnEntryRefused = [&](TInsFile&, const QString& name) { refused << name; };
  ins.Extract(target);
  EXPECT_EQ(refused.size(), 5);
  EXPECT_FALSE(QFileInfo::exists(In("escape.txt")));
  EXPECT_FALSE(QFileInfo::exists(In("escape2.txt")));
  EXPECT_FALSE(QFileInfo::exists(In("abs.txt")));
  EXPECT_EQ(ReadFile(In("t/ok.txt")), "fine");
  EXPECT_EQ(ReadFile(In("t/after.txt")), "still");  // the refused contents were skipped
}

TEST_F(Installer, ShortStreamsKeepTheUsersFiles) {
  // The payload ends inside the second entry, which a file of the user already has.
  WriteInstaller(In("cut.qpi"), {{"a.txt", QByteArray(1000, 'a')}, {"b.txt", QByteArray(200000, 'b')}}, 40);
  WriteFile(Target("b.txt"), "mine");
  TInsFile cut(In("cut.qpi"));
  cut.OnOverwrite = [](TInsFile&, const QString&, TInsFile::TOverwrite& a, quint32, TDateTime) { a.yesToAll = true; };
  EXPECT_THROW(cut.Extract(m_target.path()), EWrongStructure);
  EXPECT_EQ(ReadFile(Target("a.txt")).size(), 1000);
  EXPECT_EQ(ReadFile(Target("b.txt")), "mine");

  // A size larger than the stream delivers ends the extraction the same way.
  WriteInstaller(In("big.qpi"), {{"c.txt", "tiny", 1u << 30}});
  TInsFile big(In("big.qpi"));
  EXPECT_THROW(big.Extract(m_target.path()), EWrongStructure);
  EXPECT_FALSE(QFileInfo::exists(Target("c.txt")));

  // A stream that inflates beyond the declared sizes is read only as far as they say.
  WriteInstaller(In("bomb.qpi"), {{"d.txt", QByteArray(5000000, 'x'), 10}});
  TInsFile bomb(In("bomb.qpi"));
  bomb.Extract(m_target.path());
  EXPECT_EQ(ReadFile(Target("d.txt")), QByteArray(10, 'x'));
}

TEST_F(Installer, DamagedHeadersRaise) {
  WriteFile(In("junk.qpi"), "QPI");
  EXPECT_THROW(TInsFile(In("junk.qpi")), EWrongStructure);
  WriteFile(In("other.qpi"), "XYZ and more bytes than a header needs.........................");
  EXPECT_THROW(TInsFile(In("other.qpi")), EWrongFormat);
  EXPECT_THROW(TInsFile(In("none.qpi")), EWrongFileName);
  WriteInstaller(In("garbage.qpi"), {{"a.txt", "x"}});
  QByteArray bytes = ReadFile(In("garbage.qpi"));
  bytes[bytes.size() - 6] = char(bytes[bytes.size() - 6] ^ 0x55);
  WriteFile(In("garbage.qpi"), bytes);
  TInsFile garbage(In("garbage.qpi"));
  EXPECT_THROW(garbage.Extract(m_target.path()), EWrongStructure);
}
