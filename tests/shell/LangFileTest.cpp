#include "FileSupport.h"
#include "formats/LangStr.h"
#include "model/Functions.h"
#include "shell/LangFile.h"
#include "shell/LangFrm.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {

class LangFile : public testing::Test {
protected:
  void TearDown() override {
    // The language is program-wide: leave the built-in one behind.
    SetCurrentLanguage(TLangIniFile::kDefaultLocale);
    ApplyLanguage();
  }
  QString Path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)); }
  QTemporaryDir m_dir;
};

} // namespace

TEST_F(LangFile, WithoutAFileEveryTextIsBuiltIn) {
  TLanguage language;
  language.Switch(QString());
  EXPECT_EQ(language.LocaleID(), 1033);
  EXPECT_EQ(FormatLang(LangMessage(509), {QStringLiteral("x.qcu")}).split(QStringLiteral("\r\n")),
            (QStringList{"File \"x.qcu\" was changed.", "", "Save changes?"}));
  language.Switch(Path("missing.ini"));
  EXPECT_EQ(LangString(TLangSection::Strings, 400), "Generated");
}

TEST_F(LangFile, TranslatedTextsLocaleAndSwitching) {
  WriteFile(Path("Deutsch.ini"), "[General]\nTitle = Deutsch\nLocaleID=1031\n"
                                  "[Strings]\n0400= Erzeugt \n0509=Datei \"%s\" geändert.|Speichern?\n"
                                  "[Hints]\n0005=Hinweis\n");
  WriteFile(Path("plain.ini"), "[Strings]\n0401=Markiert\n");
  TLanguage language;
  int notified = 0;
  const int token = language.Subscribe([&] { ++notified; });
  language.Switch(Path("Deutsch.ini"));
  EXPECT_EQ(notified, 1);
  EXPECT_EQ(language.LocaleID(), 1031);
  EXPECT_EQ(CurrentLanguage(), 1031);  // per-language texts follow
  EXPECT_EQ(LangString(TLangSection::Strings, 400), "Erzeugt");
  EXPECT_EQ(LangString(TLangSection::Strings, 401), "Checked");  // missing: built in
  EXPECT_EQ(LangString(TLangSection::Hints, 5), "Hinweis");
  EXPECT_EQ(FormatLang(LangMessage(509), {QStringLiteral("a.qcu")}), QString::fromUtf8("Datei \"a.qcu\" geändert.\r\nSpeichern?"));
  EXPECT_EQ(language.File().Title(), "Deutsch");

  language.Switch(Path("plain.ini"));
  EXPECT_EQ(notified, 2);
  EXPECT_EQ(language.LocaleID(), 1033);
  EXPECT_EQ(language.File().Title(), "plain");  // no title: the file name
  EXPECT_EQ(language.File().HelpFile(), "English.chm");
  EXPECT_EQ(LangString(TLangSection::Strings, 400), "Generated");
  language.Unsubscribe(token);
  language.Switch(QString());
  EXPECT_EQ(notified, 2);
}

TEST_F(LangFile, EncodingsByMarkElseTheCodePage) {
  const QString text = QString::fromUtf8("[Strings]\n0400=Создано\n");
  QByteArray utf16("\xFF\xFE");
  for (QChar c : text) utf16.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
  WriteFile(Path("utf16.ini"), utf16);
  WriteFile(Path("utf8.ini"), text.toUtf8());
  WriteFile(Path("ansi.ini"), "[Strings]\n0400=Cr\xE9\xE9\n");  // Windows-1252
  TLangIniFile file;
  for (const char* name : {"utf16.ini", "utf8.ini"}) {
    file.Load(Path(name));
    EXPECT_EQ(file.Text(TLangSection::Strings, 400), QString::fromUtf8("Создано")) << name;
  }
  file.Load(Path("ansi.ini"));
  EXPECT_EQ(file.Text(TLangSection::Strings, 400), QString::fromUtf8("Créé"));
}

TEST_F(LangFile, ListingTheLanguagesFolder) {
  WriteFile(Path("a.ini"), "[General]\nTitle=Alpha\n");
  WriteFile(Path("b.ini"), "");
  WriteFile(Path("c.txt"), "");
  std::vector<TLanguageEntry> entries = ListLanguageFiles(m_dir.path());
  std::sort(entries.begin(), entries.end(), [](const auto& x, const auto& y) { return x.title < y.title; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].title, "Alpha");
  EXPECT_EQ(entries[1].title, "b");
  EXPECT_EQ(entries[1].fileName, Path("b.ini"));
}
