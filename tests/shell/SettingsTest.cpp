#include "FileSupport.h"
#include "model/EO.h"
#include "shell/AppIniFile.h"
#include "shell/DicIniFile.h"
#include "shell/Fields.h"
#include "shell/Folders.h"
#include "shell/Recent.h"
#include "shell/Settings.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

class Settings : public testing::Test {
protected:
  void SetUp() override {
    m_saved = Folders();
    SetFolders(TFolders::Resolve(m_dir.path(), QString(), QStringLiteral("glossmith")));
  }
  void TearDown() override { SetFolders(m_saved); }
  QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }

  QTemporaryDir m_dir;
  TFolders m_saved;
};

} // namespace

TEST_F(Settings, DefaultsAndStoredPaths) {
  TIniFileEx empty(QString(), TTextEncoding::Utf8, true, false);
  TSettings s;
  s.Read(empty, Folders());
  EXPECT_EQ(s.count, 25);
  EXPECT_EQ(s.timeOut, 1000);
  EXPECT_EQ(s.tryCount, 5);
  EXPECT_TRUE(s.sort);
  EXPECT_TRUE(s.storeSession);
  EXPECT_EQ(s.chars.size(), 46);
  EXPECT_EQ(s.openDir, Folders().packagesDir);
  EXPECT_EQ(s.installDir, Folders().installersDir);
  EXPECT_EQ(s.sessionDir, Folders().documentsDir);
  EXPECT_TRUE(s.dicFile.isEmpty());

  // Paths inside and outside the program folder; a damaged number keeps its default.
  s.dicFile = Path("Packages/elves/elves.qdx");
  s.exportDir = QStringLiteral("/elsewhere/out/");
  s.storeRecent = false;
  s.chars.clear();
  TIniFileEx ini(QString(), TTextEncoding::Utf8, true, false);
  s.Write(ini);
  EXPECT_EQ(ini.ReadString(u"Generator", u"DicFile", {}), "Packages\\elves\\elves.qdx");
  EXPECT_EQ(ini.ReadString(u"DialogPaths", u"Export", {}), QDir(m_dir.path()).relativeFilePath("/elsewhere/out").replace(u'/', u'\\'));
  EXPECT_FALSE(ini.ValueExists(u"General", u"Chars"));
  ini.WriteString(u"Generator", u"Count", QStringLiteral("many"));
  TSettings back;
  back.Read(ini, Folders());
  EXPECT_EQ(back.dicFile, s.dicFile);
  EXPECT_EQ(QDir::cleanPath(back.exportDir), QStringLiteral("/elsewhere/out"));
  EXPECT_FALSE(back.storeRecent);
  EXPECT_EQ(back.count, 25);
  EXPECT_EQ(back.chars.size(), 46);  // a deleted key reads as the default
}

TEST_F(Settings, ValuesTrimmedInSettingsButNotInParameters) {
  WriteFile(Path("glossmith.ini"), "[Generator]\nListFile= list.txt \n");
  WriteFile(Path("list.txt"), "one\ntwo\n");
  TRecent recent;
  TAppIniFile app(Path("glossmith.ini"), &recent);
  app.Load();
  EXPECT_EQ(app.ListFile(), Path("list.txt"));
  app.ReloadList();
  EXPECT_TRUE(app.ListLoaded());
  EXPECT_EQ(app.List(), (QStringList{"one", "two"}));
  EXPECT_EQ(recent.Value(QStringLiteral("ListFile"), 0), Path("list.txt"));

  TDicIniFile dic(Path("Dictionaries.ini"), &recent);
  dic.SetDictionary(Path("d.qdx"));
  EXPECT_EQ(dic.Section(), "d.qdx");
  dic.WriteValue(QStringLiteral("Race"), QStringLiteral(" a "));
  TDicIniFile reread(Path("Dictionaries.ini"), &recent);
  reread.Load();
  reread.SetDictionary(Path("d.qdx"));
  EXPECT_EQ(reread.ReadValue(QStringLiteral("race"), {}), " a ");
  EXPECT_EQ(recent.Value(QStringLiteral("Race"), 0), " a ");  // every parameter has its own recent list
}

TEST_F(Settings, ListFileChangesAndFailures) {
  TRecent recent;
  TAppIniFile app(Path("glossmith.ini"), &recent);
  int loaded = 0, changed = 0;
  app.OnListLoaded = [&](TAppIniFile&) { ++loaded; };
  app.OnListFileChanged = [&](TAppIniFile&) { ++changed; };
  WriteFile(Path("a.txt"), "x\n");
  app.SetListFile(Path("a.txt"));
  app.SetListFile(Path("a.txt"));
  EXPECT_EQ(loaded, 2);
  EXPECT_EQ(changed, 1);
  EXPECT_EQ(ReadFile(Path("glossmith.ini")).contains("ListFile=a.txt"), true);  // written at once

  app.SetListFile(Path("missing.txt"));
  EXPECT_FALSE(app.ListLoaded());
  EXPECT_TRUE(app.List().isEmpty());
  EXPECT_EQ(app.ListFile(), Path("missing.txt"));  // the setting keeps the name
  EXPECT_EQ(recent.Values(QStringLiteral("ListFile")), QStringList{Path("a.txt")});
}

TEST_F(Settings, ParameterUndoTogglesAndResets) {
  TDicIniFile dic(Path("Dictionaries.ini"), nullptr);
  int changes = 0;
  dic.OnChange = [&](TDicIniFile&) { ++changes; };
  dic.SetDictionary(Path("d.qdx"));
  EXPECT_FALSE(dic.CanUndo());
  dic.WriteValue(QStringLiteral("Race"), QStringLiteral("elf"));
  dic.WriteValue(QStringLiteral("Race"), QStringLiteral("dwarf"));
  EXPECT_TRUE(dic.CanUndo());
  dic.UndoLast();
  EXPECT_EQ(dic.ReadValue(QStringLiteral("Race"), {}), "elf");
  dic.UndoLast();
  EXPECT_EQ(dic.ReadValue(QStringLiteral("Race"), {}), "dwarf");

  dic.WriteValue(QStringLiteral("Gender"), QStringLiteral("f"));
  TNameValues all;
  all.SetValue(QStringLiteral("Race"), QStringLiteral("default"));
  all.SetValue(QStringLiteral("Age"), QStringLiteral("old"));
  dic.ReadAll(all);
  EXPECT_EQ(all.Value(u"Race"), "dwarf");
  EXPECT_EQ(all.Value(u"Age"), "old");
  EXPECT_EQ(all.Value(u"Gender"), "f");

  dic.ResetOne(QStringLiteral("Race"));
  EXPECT_FALSE(dic.HasValue(QStringLiteral("Race")));
  EXPECT_TRUE(dic.HasValue(QStringLiteral("Gender")));
  dic.ResetAll();
  EXPECT_FALSE(dic.HasValue(QStringLiteral("Gender")));
  EXPECT_EQ(changes, 7);
  EXPECT_FALSE(ReadFile(Path("Dictionaries.ini")).contains("Gender"));  // rewritten

  // Another dictionary has its own section.
  dic.WriteValue(QStringLiteral("Race"), QStringLiteral("orc"));
  dic.SetDictionary(Path("other.qdx"));
  EXPECT_FALSE(dic.HasValue(QStringLiteral("Race")));
}

// The job reads the stored values again only when the revision has moved: every change of
// what ReadAll gives must move it, reading must not.
TEST_F(Settings, ParameterRevisionMovesWithEveryChange) {
  WriteFile(Path("Dictionaries.ini"), "[d.qdx]\nRace=elf\n");
  TDicIniFile dic(Path("Dictionaries.ini"), nullptr);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"Load", [&] { dic.Load(); }},
      {"SetDictionary", [&] { dic.SetDictionary(Path("d.qdx")); }},
      {"WriteValue", [&] { dic.WriteValue(QStringLiteral("Race"), QStringLiteral("orc")); }},
      {"UndoLast", [&] { dic.UndoLast(); }},
      {"ResetOne", [&] { dic.ResetOne(QStringLiteral("Race")); }},
      {"ResetAll", [&] { dic.ResetAll(); }},
  };
  for (const auto& [name, change] : changes) {
    const quint64 before = dic.Revision();
    change();
    EXPECT_NE(dic.Revision(), before) << name;
    const quint64 after = dic.Revision();
    TNameValues all;
    dic.ReadAll(all);
    dic.ReadValue(QStringLiteral("Race"), {});
    EXPECT_EQ(dic.Revision(), after) << name;
  }
}

TEST_F(Settings, RecentListRules) {
  TRecent recent;
  TEditorOptions options(esInteger);
  recent.AttachOptions(QStringLiteral("GenCount"), &options);
  for (int i = 1; i <= 11; ++i) recent.AddNumber(QStringLiteral("gencount"), i);
  EXPECT_EQ(recent.Count(QStringLiteral("GenCount")), 10);
  EXPECT_EQ(recent.Value(QStringLiteral("GenCount"), 0), "11");
  EXPECT_EQ(recent.Value(QStringLiteral("GenCount"), 9), "2");  // the oldest was dropped
  recent.Add(QStringLiteral("GenCount"), QStringLiteral("5"));
  EXPECT_EQ(recent.Value(QStringLiteral("GenCount"), 0), "5");
  EXPECT_EQ(recent.Count(QStringLiteral("GenCount")), 10);
  EXPECT_EQ(options.PickList().Items(), recent.Values(QStringLiteral("GenCount")));
  recent.Add(QStringLiteral("Author"), QStringLiteral("Ann"));
  recent.Add(QStringLiteral("Author"), QStringLiteral("ANN"));
  EXPECT_EQ(recent.Values(QStringLiteral("Author")), QStringList{"Ann"});  // moved, text unchanged
  recent.Add(QStringLiteral("Author"), QString());
  EXPECT_EQ(recent.Count(QStringLiteral("Author")), 1);
  EXPECT_EQ(recent.Value(QStringLiteral("Nothing"), 3), QString());

  // File names that do not exist leave a list of file-name style.
  TEditorOptions files(esFileName);
  WriteFile(Path("here.qdx"), "x");
  recent.AttachOptions(QStringLiteral("DicFile"), &files);
  recent.Add(QStringLiteral("DicFile"), Path("gone.qdx"));
  recent.Add(QStringLiteral("DicFile"), Path("here.qdx"));
  EXPECT_EQ(recent.Values(QStringLiteral("DicFile")), QStringList{Path("here.qdx")});

  // Round trip; a newer file is ignored as a whole.
  recent.SaveToFile(Path("Recent.db"));
  TRecent back;
  back.LoadFromFile(Path("Recent.db"));
  EXPECT_EQ(back.Values(QStringLiteral("GenCount")), recent.Values(QStringLiteral("GenCount")));
  EXPECT_EQ(back.Values(QStringLiteral("Author")), QStringList{"Ann"});
  for (const char* version : {"\x01\x01", "\x02\x00"}) {
    QByteArray bytes = ReadFile(Path("Recent.db"));
    bytes.replace(0, 2, QByteArray(version, 2));
    WriteFile(Path("newer.db"), bytes);
    TRecent newer;
    newer.LoadFromFile(Path("newer.db"));
    EXPECT_EQ(newer.ListCount(), 0);
  }
  // Cut short: the lists before the cut are kept.
  QByteArray cut = ReadFile(Path("Recent.db"));
  cut.chop(3);
  WriteFile(Path("cut.db"), cut);
  TRecent partial;
  partial.LoadFromFile(Path("cut.db"));
  EXPECT_EQ(partial.Values(QStringLiteral("GenCount")), recent.Values(QStringLiteral("GenCount")));
  EXPECT_EQ(partial.Count(QStringLiteral("DicFile")), 0);
}

TEST_F(Settings, At255ListsNoFurtherListIsCreated) {
  TRecent recent;
  for (int i = 0; i < 300; ++i) recent.Add(QStringLiteral("p%1").arg(i), QStringLiteral("v"));
  EXPECT_EQ(recent.ListCount(), TRecent::kMaxLists);
  EXPECT_EQ(recent.Count(QStringLiteral("p255")), 0);
  recent.Add(QStringLiteral("p0"), QStringLiteral("w"));  // existing lists still take values
  EXPECT_EQ(recent.Value(QStringLiteral("p0"), 0), "w");
  recent.SaveToFile(Path("Recent.db"));
  TRecent back;
  back.LoadFromFile(Path("Recent.db"));
  EXPECT_EQ(back.ListCount(), TRecent::kMaxLists);
  EXPECT_EQ(back.Value(QStringLiteral("p254"), 0), "v");
}

TEST_F(Settings, FieldsCount) {
  TRecent recent;
  TFields fields(&recent);
  int changes = 0;
  fields.OnChange = [&](TFields&) { ++changes; };
  fields.SetCount(25);
  fields.SetCountText(QStringLiteral("many"));
  EXPECT_EQ(changes, 0);
  fields.SetCountText(QStringLiteral(" 40 "));
  EXPECT_EQ(fields.Count(), 40);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(recent.Value(QStringLiteral("GenCount"), 0), "40");
}
