#include "engine/Random.h"
#include "engine/Words.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {
bool BlankIsSpacer(int, QChar c) {
  return c == u' ';
}
bool NeverSpacer(int, QChar) {
  return false;
}
} // namespace

TEST(Words, SplitAndJoin) {
  struct Case {
    const char* templ;
    bool (*classify)(int, QChar);
    int count;
    const char* word1;
    const char* spacer0;
  };
  const Case cases[] = {
      {"  Orc  chief", BlankIsSpacer, 2, "Orc", "  "},
      {"Black Rock", NeverSpacer, 1, "Black Rock", ""},
      {"   ", BlankIsSpacer, 0, "", "   "},
      {"", BlankIsSpacer, 0, "", ""},
      {"a b", BlankIsSpacer, 2, "a", ""},
  };
  for (const Case& c : cases) {
    TWords w;
    w.Split(QString::fromUtf8(c.templ), c.classify);
    EXPECT_EQ(w.Count(), c.count) << c.templ;
    EXPECT_EQ(w.GetWord(1), c.word1) << c.templ;
    EXPECT_EQ(w.GetSpacer(0), c.spacer0) << c.templ;
    EXPECT_EQ(w.GetWord(0), "");
    EXPECT_EQ(w.Line(), QString::fromUtf8(c.templ)) << c.templ;
  }
  TWords w;
  w.Split(QStringLiteral("  Orc  chief"), BlankIsSpacer);
  EXPECT_EQ(w.GetSpacer(1), "  ");
  EXPECT_EQ(w.GetWord(2), "chief");
  EXPECT_EQ(w.GetWord(7), "");  // reading beyond does not grow the list
  EXPECT_EQ(w.Count(), 2);
  w.SetWord(4, "x");
  EXPECT_EQ(w.Count(), 4);
  EXPECT_EQ(w.Line(), "  Orc  chiefx");
}

TEST(Words, SchemeAndMeasures) {
  const std::pair<const char*, const char*> schemes[] = {
      {"Ork-Ёлка 2", "@$$-@$$@ 2"}, {"", ""}, {"Yr", "@$"}, {"объём", "@$^@$"}, {"ÇÆŊ", "$@$"}, {"日本", "日本"}};
  for (auto [text, scheme] : schemes)
    EXPECT_EQ(WordScheme(QString::fromUtf8(text)), QString::fromUtf8(scheme)) << text;
  // Every ASCII character, either case: consonants "$", vowels (y among them) "@", the rest stay.
  for (char16_t c = 0; c < 128; ++c) {
    const char lower = char(c | 0x20);
    const bool letter = lower >= 'a' && lower <= 'z';
    const QChar expected = !letter ? QChar(c) : QByteArrayView("aeiouy").contains(lower) ? QChar(u'@') : QChar(u'$');
    EXPECT_EQ(WordScheme(QString(QChar(c))), QString(expected)) << int(c);
  }
  EXPECT_EQ(LengthToEnd(6, 3, "st"), 2);
  EXPECT_EQ(WordStart("castle", 3), "ca");
  EXPECT_EQ(WordEnd("castle", 6, 3, "st"), "le");
  EXPECT_EQ(WordStart("castle", 1), "");
  EXPECT_EQ(WordEnd("castle", 6, 5, "le"), "");
}

// 1-based starts; a start below 1 counts as 1 without shortening the count; past the end "".
TEST(Words, SubstringsAndCopiesOfViews) {
  const struct {
    int start, count;
    const char* part;
  } cases[] = {{1, 2, "ca"}, {3, 10, "stle"}, {0, 2, "ca"}, {-5, 3, "cas"}, {6, 1, "e"},
               {7, 1, ""},   {2, 0, ""},     {2, -1, ""}, {1, 6, "castle"}};
  const QString word = QStringLiteral("castle");
  QString sample;
  sample.reserve(8);
  for (const auto& c : cases) {
    EXPECT_EQ(Substring(word, c.start, c.count), QString::fromUtf8(c.part)) << c.start << " " << c.count;
    EXPECT_EQ(SubstringView(word, c.start, c.count), QString::fromUtf8(c.part)) << c.start << " " << c.count;
    CopyInto(sample, SubstringView(word, c.start, c.count));
    EXPECT_EQ(sample, QString::fromUtf8(c.part));
  }
  // A view of the target itself, its own buffer: moved down, then cut.
  QString own = QStringLiteral("abcdef");
  own.reserve(16);
  CopyInto(own, QStringView(own).sliced(2, 3));
  EXPECT_EQ(own, u"cde");
  EXPECT_EQ(own.utf16()[3], 0);
  const QString shared = own;  // no longer own: a new buffer, the copy untouched
  CopyInto(own, QStringView(own).sliced(1));
  EXPECT_EQ(own, u"de");
  EXPECT_EQ(shared, u"cde");
}

TEST(Random, OneSeedOneSequence) {
  // state := state * 134775813 + 1; Random(n) is the high half of state * n.
  RandomSeed(0);
  EXPECT_EQ(Random(100), 0u);                   // state 1
  EXPECT_EQ(RandomState(), 1u);
  EXPECT_EQ(Random(0xFFFFFFFFu), 134775813u);   // state 134775814: (s * (2^32 - 1)) >> 32 = s - 1
  RandomSeed(42);
  std::vector<quint32> first;
  for (int i = 0; i < 5; ++i) first.push_back(Random(1000));
  RandomSeed(42);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(Random(1000), first[i]);
  EXPECT_EQ(Random(0), 0u);
}

// The word buffers are written in place: a copy handed out before must not change, the text
// must stay terminated, and appending a string to itself must double it.
TEST(Words, BuffersWrittenInPlaceKeepCopiesApart) {
  QString word;
  CopyInto(word, QStringLiteral("kalo"));
  word.reserve(16);
  const QString handedOut = word;  // shares the buffer
  AppendTo(word, QStringLiteral("mir"));
  EXPECT_EQ(handedOut, u"kalo");
  EXPECT_EQ(word, u"kalomir");
  const QString second = word;
  CopyInto(word, QStringLiteral("an"));
  EXPECT_EQ(second, u"kalomir");
  EXPECT_EQ(word, u"an");
  const qsizetype room = word.capacity();
  AppendTo(word, word);
  EXPECT_EQ(word, u"anan");
  CopyInto(word, QString(room + 5, u'x'));  // past the room: a new buffer
  EXPECT_EQ(word, QString(room + 5, u'x'));
  CopyInto(word, QString());
  EXPECT_TRUE(word.isEmpty());
  AppendTo(word, QStringLiteral("ith"));
  EXPECT_EQ(word, u"ith");
  EXPECT_EQ(word.utf16()[word.size()], 0);
  QString null;
  CopyInto(null, QString());
  EXPECT_TRUE(null.isNull());
}
