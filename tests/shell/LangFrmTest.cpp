#include "formats/Exceptions.h"
#include "shell/FileFilter.h"
#include "shell/FileMessages.h"
#include "shell/LangFrm.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

struct LookupGuard {
  explicit LookupGuard(TLangLookup lookup) { SetLangLookup(std::move(lookup)); }
  ~LookupGuard() { SetLangLookup({}); }
};

} // namespace

TEST(LangFrm, BuiltinTextsAndLineBreaks) {
  EXPECT_EQ(BuiltinText(TLangSection::Strings, 1001), "Word");
  EXPECT_EQ(BuiltinText(TLangSection::Strings, 2600), "Yes|No");
  EXPECT_EQ(BuiltinText(TLangSection::Captions, 2600), "About %s");
  EXPECT_EQ(BuiltinText(TLangSection::Strings, 9999), "");
  EXPECT_EQ(LangString(TLangSection::Strings, 2600), "Yes\r\nNo");
  EXPECT_EQ(FormatLang(LangMessage(509), {"x.qcu"}), "File \"x.qcu\" was changed.\r\n\r\nSave changes?");
  const TMsgData* m = FindMessage(509);
  ASSERT_NE(m, nullptr);
  EXPECT_EQ(m->buttons, TMsgButtons::YesNoCancel);
  EXPECT_EQ(m->icon, TMsgIcon::Question);
}

TEST(LangFrm, LanguageLookupOverridesAndFallsBack) {
  LookupGuard guard([](TLangSection section, std::uint16_t id) -> std::optional<QString> {
    if (section == TLangSection::Strings && id == 2600) return QStringLiteral("Da|Net");
    if (id == 7) throw std::runtime_error("unreadable");
    return std::nullopt;
  });
  EXPECT_EQ(LangString(TLangSection::Strings, 2600), "Da\r\nNet");
  EXPECT_EQ(LangString(TLangSection::Strings, 2601), "By Length\r\nBy Position");
  EXPECT_EQ(LangString(TLangSection::Strings, 7), "Yes");
  EXPECT_EQ(GetLangString(TLangSection::Hints, 5, "a|b"), "a\r\nb");
}

TEST(LangFrm, FormatLangPlaceholders) {
  EXPECT_EQ(FormatLang("number %d is below the limit of %d.", {"-5", "0"}), "number -5 is below the limit of 0.");
  EXPECT_EQ(FormatLang("%s%%%s", {"a", "b"}), "a%b");
  EXPECT_EQ(FormatLang("%s and %s", {"only"}), "only and ");
  EXPECT_EQ(FormatLang("100%", {}), "100%");
}

TEST(FileMessages, OpeningAndReportTexts) {
  const QString file = "/some/folder/names.qdx";
  struct Case {
    std::function<void()> raise;
    QString opening, report;
  };
  const Case cases[] = {
      {[&] { throw EWrongFileName(file); },
       "File \"names.qdx\" was not found. Make sure the filename is correct.", "file \"names.qdx\" does not exist."},
      {[] { throw EWrongFileName(QString()); },
       "File \"names.qdx\" was not found. Make sure the filename is correct.", "file \"names.qdx\" does not exist."},
      {[] { throw EWrongFormat({'Q', 'D', 'X'}); },
       "File \"names.qdx\" is not a valid QDX file.", "file \"names.qdx\" is not a valid QDX file."},
      {[] { throw EWrongVersion({'Q', 'D', 'X'}); },
       "File \"names.qdx\" is a newer QDX file, than the program supports.\r\nYou have to update the program to "
       "open this file.\r\n\r\nProceed to the official program site for the update?",
       "file \"names.qdx\" is newer QDX file, than the program supports."},
      {[] { throw EWrongStructure(12); },
       "File \"names.qdx\" contains structural errors.\r\nFull or partial data damage is probable.",
       "file \"names.qdx\" contains structural errors."},
      {[&] { throw EFileAccess(file, false); },
       "File \"names.qdx\" cannot be read because it's taken by another process.",
       "File \"names.qdx\" cannot be read because it's taken by another process."},
  };
  for (const Case& c : cases) {
    try {
      c.raise();
    } catch (const std::exception& e) {
      EXPECT_EQ(FileErrorText(e, file, TFileErrorContext::Opening), c.opening);
      EXPECT_EQ(FileErrorText(e, file, TFileErrorContext::Generation), c.report);
    }
  }
  EXPECT_EQ(FileErrorText(EWrongFileName(QString()), QString(), TFileErrorContext::Generation), "missing filename.");
  EXPECT_EQ(FileErrorText(std::runtime_error("x"), file, TFileErrorContext::Opening), "");
}

TEST(FileFilter, BuildsDialogFilters) {
  EXPECT_EQ(BuildFileFilter({ftText}, false, false), "Text File (*.txt)|*.txt|");
  EXPECT_EQ(BuildFileFilter({ftDictionary, ftCollection}, true, true),
            "All Supported (*.qcu; *.qdx; *.qpc)|*.qcu; *.qdx; *.qpc|"
            "Collection (*.qcu)|*.qcu|Dictionary (*.qdx)|*.qdx|All Files (*.*)|*.*|");
}
