#include "platform/Masks.h"
#include "platform/Text.h"

#include <gtest/gtest.h>

using namespace gs;

TEST(Text, StrToIntReadsTheProgramsNumbers) {
  struct Case {
    const char16_t* text;
    std::optional<qint32> value;
  };
  const Case cases[] = {
      {u"0", 0},           {u"42", 42},          {u"  -17", -17},        {u"+5", 5},
      {u"$1F", 31},        {u"x10", 16},         {u"X10", 16},           {u"0x1f", 31},
      {u"0X10", 16},       {u"-$10", -16},       {u"$FFFFFFFF", -1},     {u"2147483647", INT32_MAX},
      {u"-2147483648", INT32_MIN},               {u"2147483648", std::nullopt},
      {u"-2147483649", std::nullopt},            {u"$100000000", std::nullopt},
      {u"", std::nullopt}, {u" ", std::nullopt}, {u"-", std::nullopt},   {u"$", std::nullopt},
      {u"12a", std::nullopt}, {u"5-", std::nullopt}, {u"1 ", std::nullopt}, {u"1.5", std::nullopt},
      {u"99999999999999999999", std::nullopt},
  };
  for (const Case& c : cases) {
    const QString text = QString::fromUtf16(c.text);
    EXPECT_EQ(StrToIntOpt(text), c.value) << text.toStdString();
  }
  EXPECT_EQ(StrToIntDef(u"no", 7), 7);
}

TEST(Text, SplitLinesAtEveryBreakStyle) {
  EXPECT_EQ(SplitLines(u"a\r\nb\nc\rd"), QStringList({"a", "b", "c", "d"}));
  EXPECT_EQ(SplitLines(u"a\r\n"), QStringList({"a"}));
  EXPECT_EQ(SplitLines(u"a\n\nb"), QStringList({"a", "", "b"}));
  EXPECT_EQ(SplitLines(u"\n"), QStringList({""}));
  EXPECT_TRUE(SplitLines(u"").isEmpty());
}

TEST(Text, CaseInsensitiveComparison) {
  EXPECT_TRUE(SameText(u"Title", u"TITLE"));
  EXPECT_TRUE(SameText(QString::fromUtf8("Жук"), QString::fromUtf8("жУК")));
  EXPECT_FALSE(SameText(u"Title", u"Titles"));
  EXPECT_LT(CompareText(u"apple", u"BANANA"), 0);
  // Only letters fold: signs one case bit apart stay different, and a text that turns
  // non-ASCII halfway is folded from there on.
  const struct {
    const char* a;
    const char* b;
    bool same;
  } cases[] = {
      {"@", "`", false}, {"[", "{", false}, {"^", "~", false}, {"1", "1", true},   {"", "", true},
      {"aZ", "Az", true}, {"Ra\xc3\xa9", "rA\xc3\x89", true}, {"\xc3\xa9x", "\xc3\x89Y", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(SameText(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same) << c.a << " / " << c.b;
}

// Stored texts end at their first NUL, short or long.
TEST(Text, UpToNulCutsAtTheFirstNul) {
  for (const qsizetype size : {0, 1, 5, 64, 65, 300}) {
    const QString plain(size, u'a');
    EXPECT_EQ(UpToNul(plain), plain) << size;
    for (const qsizetype at : {qsizetype(0), size / 2, size - 1}) {
      if (at < 0 || at >= size) continue;
      QString text = plain;
      text[at] = QChar(0);
      if (at + 1 < size) text[size - 1] = QChar(0);  // a later NUL does not count
      EXPECT_EQ(UpToNul(text), plain.first(at)) << size << " " << at;
    }
  }
}

TEST(Masks, Patterns) {
  struct Case {
    const char16_t* name;
    const char16_t* mask;
    bool match;
  };
  const Case cases[] = {
      {u"roots.txt", u"*.txt", true},   {u"roots.TXT", u"*.txt", true},
      {u"roots.txt", u"*", true},       {u"", u"*", true},
      {u"roots.txt", u"*.qdx", false},  {u"a.txt", u"?.txt", true},
      {u"ab.txt", u"?.txt", false},     {u"b.txt", u"[abc].txt", true},
      {u"B.txt", u"[abc].txt", true},   {u"d.txt", u"[abc].txt", false},
      {u"m.txt", u"[a-z].txt", true},   {u"5.txt", u"[a-z].txt", false},
      {u"d.txt", u"[!abc].txt", true},  {u"a.txt", u"[!abc].txt", false},
      {u"a[.txt", u"a[.txt", true},     {u"names.txt", u"n*s.t?t", true},
      {u"nameq.txt", u"n*s.t?t", false}, {u"aaa", u"a*a*a", true},
      {u"aa", u"a*a*a", false},         {u"roots.txt", u"roots.txt", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(MatchesMask(QString::fromUtf16(c.name), QString::fromUtf16(c.mask)), c.match)
        << QString::fromUtf16(c.name).toStdString() << " ~ " << QString::fromUtf16(c.mask).toStdString();
}

TEST(Masks, ManyStarsStayFast) {
  // Backtracking on every star would take exponential time here.
  const QString name(2000, u'a');
  const QString mask = QStringLiteral("*a").repeated(200) + u'b';
  EXPECT_FALSE(MatchesMask(name, mask));
}
