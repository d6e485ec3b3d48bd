#include "formats/LangStr.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

struct LanguageGuard {
  explicit LanguageGuard(quint16 id) { SetCurrentLanguage(id); }
  ~LanguageGuard() { SetCurrentLanguage(EnglishLangID); }
};

QByteArray Written(const TLangStr& s) {
  TStreamWriter w;
  s.WriteTo(w);
  return w.Bytes();
}

TLangStr ReadBack(const QByteArray& bytes) {
  TLangStr s;
  TStreamReader r(bytes);
  s.ReadFrom(r);
  EXPECT_TRUE(r.AtEnd());
  return s;
}

} // namespace

TEST(LangStr, DisplayTextFallsBackToEnglishThenFirst) {
  TLangStr s;
  EXPECT_EQ(s.DisplayText(), "");
  s.SetText(1049, "ru");
  EXPECT_EQ(s.DisplayText(), "ru");  // the first entry
  s.SetText(1033, "en");
  EXPECT_EQ(s.DisplayText(), "en");
  LanguageGuard german(1031);
  EXPECT_EQ(s.DisplayText(), "en");
  s.SetText(1031, "de");
  EXPECT_EQ(s.DisplayText(), "de");
}

TEST(LangStr, SetTextStoresOnlyWhatDiffersFromEnglish) {
  TLangStr s;
  s.SetEnglishText("");  // empty English on an empty table stores nothing
  EXPECT_EQ(s.Count(), 0);
  s.SetEnglishText("Name");
  s.SetText(1049, "Name");  // equal to English: falls back, nothing stored
  EXPECT_EQ(s.Count(), 1);
  s.SetText(1049, "Imya");
  ASSERT_EQ(s.Count(), 2);
  s.SetText(1049, "Name");  // an existing entry is overwritten and kept
  EXPECT_EQ(s.Count(), 2);
  EXPECT_EQ(s.GetText(1049), "Name");
  s.SetText(1049, "");
  EXPECT_EQ(s.Count(), 2);
  EXPECT_TRUE(s.GetText(1049).isEmpty());
}

TEST(LangStr, WritesLastEntryFirstAndDropsCopiesOfEnglish) {
  TLangStr s;
  s.SetText(1033, "e");
  s.SetText(1049, "r");
  s.SetText(1031, "d");
  const QByteArray bytes = Written(s);
  TStreamReader r(bytes);
  EXPECT_EQ(r.ReadU8(), 3);
  for (quint16 id : {1031, 1049, 1033}) {
    EXPECT_EQ(r.ReadU16(), id);
    r.ReadWideText();
  }

  TLangStr same;
  same.SetText(1031, "x");  // no English entry yet, so it is stored
  same.SetText(1033, "x");
  EXPECT_EQ(same.Count(), 2);
  const TLangStr back = ReadBack(Written(same));
  ASSERT_EQ(back.Count(), 1);
  EXPECT_EQ(back.LangID(0), 1033);
  LanguageGuard german(1031);
  EXPECT_EQ(back.DisplayText(), "x");
}

TEST(LangStr, SameAsIsUnorderedAndExact) {
  TLangStr a, b;
  a.SetText(1033, "e");
  a.SetText(1049, "r");
  b.SetText(1049, "r");
  b.SetText(1033, "e");
  EXPECT_TRUE(a.SameAs(b));
  b.SetText(1049, "R");
  EXPECT_FALSE(a.SameAs(b));
  TLangStr c;
  c.SetText(1033, "e");
  EXPECT_FALSE(a.SameAs(c));
  EXPECT_TRUE(TLangStr().IsEmpty());
  c.SetText(1033, "");
  EXPECT_TRUE(c.IsEmpty());
}

TEST(LangStr, AssignFromWithTransform) {
  TLangStr a, b;
  a.SetText(1033, "e");
  a.SetText(1049, "r");
  b.SetText(1031, "old");
  b.AssignFrom(a, [](const QString& t) { return t.toUpper(); });
  EXPECT_EQ(b.GetText(1033), "E");
  EXPECT_EQ(b.GetText(1049), "R");
  EXPECT_EQ(b.GetText(1031), "");
}

TEST(LangStr, TruncatedTablesRaiseAtEveryLength) {
  TLangStr s;
  s.SetText(1033, "abc");
  s.SetText(1049, "def");
  const QByteArray bytes = Written(s);
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    TLangStr t;
    const QByteArray prefix = bytes.left(n);
    TStreamReader r(prefix);
    EXPECT_THROW(t.ReadFrom(r), EWrongStructure) << n;
  }
  TLangStr t;
  const QByteArray announced("\xFF", 1);  // 255 entries announced, none there
  TStreamReader r(announced);
  EXPECT_THROW(t.ReadFrom(r), EWrongStructure);
}
