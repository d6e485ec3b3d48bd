#include "FileSupport.h"
#include "engine/EngineTestSupport.h"
#include "formats/LangStr.h"
#include "model/Functions.h"
#include "platform/Paths.h"
#include "shell/General.h"
#include "shell/LangFrm.h"

#include <QDir>
#include <QFileInfo>

using namespace gs;

namespace {

const char* kSimple = R"({"variables": [{"name": "Race", "options": {"default": "elf"}}],
    "nodes": [{"request": "Line", "children": [{"kind": "answer", "value": "x"}]}]})";

class Shell : public TEngineTest {
protected:
  void SetUp() override {
    m_saved = Folders();
    SetMessageHandler([this](const TMsgData& data, const QString& text) {
      m_messages.push_back({data.id, text});
      return TMsgAnswer::No;
    });
  }
  void TearDown() override {
    SetMessageHandler(nullptr);
    SetFolders(m_saved);
    SetCurrentLanguage(1033);
    ApplyLanguage();
  }
  std::unique_ptr<TShell> Start() { return std::make_unique<TShell>(TStartOptions{m_home.path(), QString(), QStringLiteral("glossmith"), false}); }
  QString Home(const char* name) const { return m_home.filePath(QString::fromUtf8(name)); }

  QTemporaryDir m_home;
  TFolders m_saved;
  std::vector<std::pair<int, QString>> m_messages;
};

} // namespace

TEST_F(Shell, FirstStartUsesDefaultsAndShutdownWritesTheFiles) {
  auto shell = Start();
  EXPECT_EQ(shell->Folders().programDir, QDir(m_home.path()).absolutePath() + u'/');
  EXPECT_EQ(shell->Language().LocaleID(), 1033);
  EXPECT_EQ(shell->Fields().Count(), 25);
  EXPECT_EQ(shell->Generator().Timeout, 1000u);
  EXPECT_EQ(shell->Generator().Dictionary(), nullptr);
  EXPECT_EQ(shell->Recent().Values(QStringLiteral("TimeOut")), (QStringList{"1000", "2000", "5000", "10000"}));
  EXPECT_EQ(shell->RecentOptions(QStringLiteral("TryCount"))->PickList().Count(), 6);
  EXPECT_TRUE(m_messages.empty());
  shell->Fields().SetCount(7);
  shell.reset();
  EXPECT_TRUE(QFileInfo::exists(Home("glossmith.ini")));
  EXPECT_TRUE(QFileInfo::exists(Home("Recent.db")));
  EXPECT_TRUE(QFileInfo::exists(Home("Session.qgs")));
  EXPECT_EQ(Start()->Fields().Count(), 7);
}

TEST_F(Shell, SelectAssignsTheMasterDictionaryForTheNextStart) {
  const QString dic = Dictionary(kSimple);
  WriteFile(Home("list.txt"), "a\nb\n");
  {
    auto shell = Start();
    EXPECT_FALSE(shell->ProcessCommandLine({dic}));  // no switch: nothing to do
    EXPECT_TRUE(shell->ProcessCommandLine({QStringLiteral("--SELECT"), dic, Home("list.txt")}));
    EXPECT_NE(shell->Generator().Dictionary(), nullptr);
  }
  auto shell = Start();
  EXPECT_EQ(shell->Generator().DicFile(), dic);
  EXPECT_NE(shell->Generator().Dictionary(), nullptr);
  EXPECT_EQ(shell->AppIniFile().List(), (QStringList{"a", "b"}));
  EXPECT_EQ(shell->Recent().Value(QStringLiteral("DicFile"), 0), dic);
  EXPECT_EQ(shell->DicIniFile().Section(), MakeRelative(shell->Folders().programDir, dic));
  EXPECT_TRUE(m_messages.empty());
}

TEST_F(Shell, AssignMasterDictionaryFailures) {
  auto shell = Start();
  const QString good = Dictionary(kSimple);
  ASSERT_TRUE(shell->AssignMasterDictionary(good));

  EXPECT_FALSE(shell->AssignMasterDictionary(Home("missing.qdx")));
  ASSERT_EQ(m_messages.size(), 1u);
  EXPECT_EQ(m_messages[0].first, 500);
  EXPECT_TRUE(m_messages[0].second.contains(u"\"missing.qdx\""));  // the name without folder
  EXPECT_EQ(shell->Generator().Dictionary(), nullptr);               // left without a dictionary
  EXPECT_EQ(shell->Recent().Values(QStringLiteral("DicFile")), QStringList{good});

  WriteFile(Home("junk.qdx"), "not a dictionary at all");
  EXPECT_FALSE(shell->AssignMasterDictionary(Home("junk.qdx")));
  ASSERT_EQ(m_messages.size(), 2u);
  EXPECT_EQ(m_messages[1].first, 503);
  EXPECT_EQ(shell->Recent().Count(QStringLiteral("DicFile")), 1);

  // Damaged after a good header: the question to open it in the editor.
  QByteArray bytes = ReadFile(good);
  WriteFile(Home("cut.qdx"), bytes.left(bytes.size() - 4));
  bool opened = false;
  shell->OnOpenDocument = [&](const QString&) { opened = true; };
  EXPECT_FALSE(shell->AssignMasterDictionary(Home("cut.qdx")));
  ASSERT_EQ(m_messages.size(), 3u);
  EXPECT_EQ(m_messages[2].first, 506);
  EXPECT_FALSE(opened);  // answered No
}

TEST_F(Shell, StoreSwitchesOffDeleteTheFiles) {
  {
    auto shell = Start();
    shell->Recent().Add(QStringLiteral("Author"), QStringLiteral("Ann"));
  }
  ASSERT_TRUE(QFileInfo::exists(Home("Recent.db")));
  {
    auto shell = Start();
    EXPECT_EQ(shell->Recent().Value(QStringLiteral("Author"), 0), "Ann");
    shell->Settings().storeRecent = false;
    shell->Settings().storeSession = false;
  }
  EXPECT_FALSE(QFileInfo::exists(Home("Recent.db")));
  EXPECT_FALSE(QFileInfo::exists(Home("Session.qgs")));
  EXPECT_TRUE(ReadFile(Home("glossmith.ini")).contains("StoreRecent=0"));
}

TEST_F(Shell, LanguageFromTheSettings) {
  QDir().mkpath(Home("Languages"));
  WriteFile(Home("Languages/ru.ini"), "[General]\nLocaleID=1049\n[Strings]\n0400=Создано\n");
  WriteFile(Home("glossmith.ini"), "[General]\nLanguage=ru.ini\n");
  auto shell = Start();
  EXPECT_EQ(shell->Language().LocaleID(), 1049);
  EXPECT_EQ(LangString(TLangSection::Strings, 400), QString::fromUtf8("Создано"));
  EXPECT_EQ(shell->ProgramString(psCredits2).DisplayText(), QString::fromUtf8("Разработка, дизайн и тестирование"));
  shell.reset();
  EXPECT_TRUE(ReadFile(Home("glossmith.ini")).contains("Language=ru.ini"));
}

TEST_F(Shell, JobInputsLayStoredValuesAndOverrides) {
  auto shell = Start();
  ASSERT_TRUE(shell->AssignMasterDictionary(Dictionary(kSimple)));
  shell->DicIniFile().WriteValue(QStringLiteral("Race"), QStringLiteral("dwarf"));
  shell->DicIniFile().WriteValue(QStringLiteral("Age"), QStringLiteral("old"));
  TNameValues overrides;
  overrides.SetValue(QStringLiteral("Age"), QStringLiteral("young"));
  const TJobInputs in = shell->JobInputs(overrides);
  TNameValues list;
  in.storedValues(list);
  EXPECT_EQ(list.Value(u"Race"), "dwarf");
  EXPECT_EQ(list.Value(u"Age"), "young");
  EXPECT_EQ(in.count, 25u);
  shell->SetTryCount(9);
  EXPECT_EQ(in.tryCount(), 9u);  // read at every line
  EXPECT_EQ(shell->DicIniFile().ReadValue(QStringLiteral("Age"), {}), "old");  // overrides are not stored
}
