#include "model/EO.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

QByteArray Record(const TEditorOptions& o) {
  TStreamWriter w;
  o.WriteTo(w);
  return w.Bytes();
}

std::optional<quint8> ValidationCode(const TEditorOptions& o, const QString& text) {
  try {
    o.Validate(text);
  } catch (const EEOException& e) {
    EXPECT_EQ(e.Options(), &o);
    EXPECT_EQ(e.Value(), text);
    return e.Code();
  }
  return std::nullopt;
}

QString ValidationMessage(const TEditorOptions& o, const QString& text) {
  try {
    o.Validate(text);
  } catch (const EEOException& e) {
    return EOMessage(e);
  }
  return {};
}

} // namespace

TEST(EditorOptions, CorrectStrings) {
  TEditorOptions o(esString);
  o.SetDefault("xyz");
  o.SetMaxLength(2);
  // The setter re-corrected the default itself; a longer text is replaced by the default.
  EXPECT_EQ(o.Default().DisplayText(), "xy");
  o.SetDefault("xyz");
  EXPECT_EQ(o.Correct("abc"), "xy");
  EXPECT_EQ(o.Correct("ab"), "ab");
  EXPECT_EQ(o.Correct("ab\r\ncd"), "ab");

  TEditorOptions digits(esString);
  digits.SetFilter("0123456789");
  digits.SetDefault("7b");
  EXPECT_EQ(digits.Correct("a1"), "7");
  EXPECT_EQ(digits.Correct("12"), "12");
  EXPECT_EQ(digits.Correct(""), "");

  TEditorOptions excluded(esString);
  excluded.SetFilter("ab");
  excluded.SetExclude(true);
  excluded.SetDefault("xAy");
  EXPECT_EQ(excluded.Correct("cab"), "xy");  // upper-cased comparison
  EXPECT_EQ(excluded.Correct("cd"), "cd");
}

TEST(EditorOptions, CorrectIntegersAndFolders) {
  TEditorOptions o(esInteger);
  EXPECT_EQ(o.Default().DisplayText(), "0");
  struct Case {
    const char* in;
    const char* out;
  };
  o.SetMinimal(-10);
  o.SetMaximal(50);
  const Case cases[] = {{"007", "7"}, {"", "0"}, {"5-", "-10"}, {"-11", "-10"}, {"51", "50"},
                        {"000", "0"}, {"-5", "-5"}, {"abc", "0"}, {"123456789012", "0"}};
  for (const Case& c : cases) EXPECT_EQ(o.Correct(c.in), c.out) << c.in;
  o.SetMinimal(3);
  EXPECT_EQ(o.Correct(""), "3");  // the empty text is 0, clamped into the bounds
  EXPECT_EQ(o.Default().DisplayText(), "3");

  TEditorOptions dir(esDirectory);
  EXPECT_EQ(dir.Default().DisplayText(), "\\");
  EXPECT_EQ(dir.Correct("lists\\\\"), "lists\\");
  EXPECT_EQ(dir.Correct("lists"), "lists\\");
  EXPECT_EQ(dir.Correct("a/b"), "\\");  // "/" is no character of a stored path
  EXPECT_EQ(dir.Correct("a*b"), "\\");  // a forbidden character: the default, filtered
}

TEST(EditorOptions, CorrectFixedLists) {
  TEditorOptions o(esString);
  o.PickList().SetItems({"True", "False"});
  o.SetFixed(true);
  EXPECT_EQ(o.Default().DisplayText(), "True");
  EXPECT_EQ(o.Correct("true"), "true");
  EXPECT_EQ(ValidationCode(o, "true"), std::nullopt);
  EXPECT_EQ(o.Correct("maybe"), "True");
  o.SetDefault("False");
  EXPECT_EQ(o.Correct("maybe"), "False");
  o.SetDefault("neither");
  EXPECT_EQ(o.Correct("maybe"), "True");
  o.PickList().Clear();
  EXPECT_EQ(o.Correct("maybe"), "");
}

TEST(EditorOptions, SettersKeepBoundsAndStyleRules) {
  TEditorOptions o(esInteger);
  o.SetMinimal(200);
  EXPECT_EQ(o.Maximal(), 200);
  o.SetMaximal(-5);
  EXPECT_EQ(o.Minimal(), -5);
  o.SetFilter("abc");  // only strings have a filter, exclusion and length
  o.SetExclude(true);
  o.SetMaxLength(3);
  EXPECT_EQ(o.Filter(), "");
  EXPECT_FALSE(o.Exclude());
  EXPECT_EQ(o.MaxLength(), 0);
  EXPECT_EQ(o.EffectiveMaxLength(), 11);
  EXPECT_EQ(o.EffectiveFilter(), "0123456789-");

  o.SetStyle(esString);
  EXPECT_EQ(o.Default().DisplayText(), "");  // the style change corrects the empty text
  TEditorOptions file(esFileName);
  EXPECT_EQ(file.EffectiveFilter(), "/*?\"<>|");
  EXPECT_TRUE(file.EffectiveExclude());
  EXPECT_EQ(file.EffectiveMaxLength(), 0);
}

TEST(EditorOptions, ValidateCodesInOrder) {
  TEditorOptions s(esString);
  s.SetFilter("abc");
  s.SetMaxLength(3);
  EXPECT_EQ(ValidationCode(s, "abcd"), 2);  // length before filter
  EXPECT_EQ(ValidationCode(s, "abx"), 1);
  EXPECT_EQ(ValidationCode(s, "ABC"), std::nullopt);
  EXPECT_EQ(ValidationCode(s, ""), std::nullopt);

  TEditorOptions i(esInteger);
  i.SetMinimal(1);
  i.SetMaximal(10);
  EXPECT_EQ(ValidationCode(i, "1-"), 3);
  EXPECT_EQ(ValidationCode(i, "0"), 4);
  EXPECT_EQ(ValidationCode(i, "11"), 5);
  EXPECT_EQ(ValidationCode(i, "x"), 1);
  EXPECT_EQ(ValidationCode(i, "123456789012"), 2);
  EXPECT_EQ(ValidationCode(i, "10"), std::nullopt);

  TEditorOptions f(esString);
  f.SetFilter("abc");
  f.PickList().SetItems({"one", "two"});
  f.SetFixed(true);
  EXPECT_EQ(ValidationCode(f, "three"), 0);
  EXPECT_EQ(ValidationCode(f, "TWO"), std::nullopt);  // nothing else is tested for fixed lists
}

TEST(EditorOptions, ValidationMessages) {
  TEditorOptions f(esString);
  f.PickList().SetItems({"one", "two"});
  f.SetFixed(true);
  EXPECT_EQ(ValidationMessage(f, "x"), "value \"x\" is not a part of the fixed list:\r\none, two");
  TEditorOptions s(esString);
  s.SetMaxLength(2);
  EXPECT_EQ(ValidationMessage(s, "abc"), "length of value \"abc\" exceeds the availible limit of 2.");
  s.SetMaxLength(0);
  s.SetFilter("ab");
  EXPECT_EQ(ValidationMessage(s, "c"), "value \"c\" consists of other symbols, than the availible \"ab\"");
  s.SetExclude(true);
  EXPECT_EQ(ValidationMessage(s, "a"), "value \"a\" contains the unavailible symbols \"ab\"");
  TEditorOptions i(esInteger);
  i.SetMaximal(10);
  EXPECT_EQ(ValidationMessage(i, "1-"), "value \"1-\" is not a valid integer.");
  i.SetMinimal(2);
  EXPECT_EQ(ValidationMessage(i, "1"), "number 1 is below the availible limit of 2.");
  EXPECT_EQ(ValidationMessage(i, "11"), "number 11 exceeds the availible limit of 10.");
}

TEST(EditorOptions, DisplayConstantAndFilters) {
  const TEditorOptions& b = *StdOptions().eoBoolean;
  EXPECT_EQ(b.DisplayConstant("False"), "No");
  EXPECT_EQ(b.DisplayConstant("true"), "Yes");
  EXPECT_EQ(b.DisplayConstant("other"), "other");

  TEditorOptions o(esString);
  o.PickList().SetItems({"a", "b", "c"});
  o.AliasList().SetEnglishText("Alpha\r\n\r\nBeta");  // empty pieces are dropped
  EXPECT_EQ(o.DisplayConstant("b"), "Beta");
  EXPECT_EQ(o.DisplayConstant("c"), "c");  // fewer CRs than the index
  EXPECT_EQ(o.DisplayConstant("A"), "Alpha");

  TEditorOptions file(esFileName);
  file.SetFileFilter(u"Lists (*.txt)||*.txt|ignored");
  EXPECT_EQ(file.FileDescription().EnglishText(), "Lists (*.txt)");
  EXPECT_EQ(file.FileMask(), "*.txt");
  EXPECT_EQ(file.DialogFilter(), "Lists (*.txt)|*.txt");
  EXPECT_EQ(StdOptions().eoFileName->DialogFilter(), "Text File (*.txt)|*.txt");

  TEditorOptions upper(esString);
  upper.SetFilter("ABC");
  EXPECT_TRUE(upper.AllowsChar(u'a'));   // typing compares upper-cased forms
  EXPECT_FALSE(upper.AllowsText(u"a"));  // pasting compares as it is
  EXPECT_TRUE(upper.AllowsText(u"CAB"));
  EXPECT_FALSE(upper.AllowsChar(u'd'));
  for (char16_t control : {1, 3, 8, 22, 24, 26}) EXPECT_TRUE(upper.AllowsChar(QChar(control)));
}

TEST(EditorOptions, RecordsRoundTripForEveryStyle) {
  TEditorOptions str(esString);
  str.SetMaxLength(7);
  str.SetFilter("abc");
  str.SetExclude(true);
  str.SetDefault("xyz");
  str.PickList().SetItems({"x", "yy"});
  TEditorOptions integer(esInteger);
  integer.SetMinimal(-3);
  integer.SetMaximal(9);
  TEditorOptions file(esFileName);
  file.SetFileFilter(u"Texts|*.txt");
  TEditorOptions dir(esDirectory);
  TEditorOptions fixed(esString);
  fixed.PickList().SetItems({"Word", "Spacer"});
  fixed.SetFixed(true);
  fixed.AliasList().SetEnglishText("W\r\nS");
  for (const TEditorOptions* o : {&str, &integer, &file, &dir, &fixed}) {
    const QByteArray bytes = Record(*o);
    TEditorOptions back(esString);
    TStreamReader r(bytes);
    back.ReadFrom(r, 2, {2, 3});
    EXPECT_TRUE(r.AtEnd());
    EXPECT_EQ(Record(back), bytes);
    EXPECT_EQ(back.Style(), o->Style());
    EXPECT_EQ(back.PickList().Items(), o->PickList().Items());
    for (qsizetype n = 0; n < bytes.size(); ++n) {
      TEditorOptions cut(esString);
      const QByteArray prefix = bytes.left(n);
      TStreamReader t(prefix);
      EXPECT_THROW(cut.ReadFrom(t, 2, {2, 3}), EWrongStructure) << n;
    }
  }
  // Reading stores the default as read, without correcting it.
  TEditorOptions back(esString);
  const QByteArray strRecord = Record(str);
  TStreamReader r(strRecord);
  back.ReadFrom(r, 2, {2, 3});
  EXPECT_EQ(back.Default().DisplayText(), "xyz");
  EXPECT_EQ(back.Filter(), "abc");
  EXPECT_TRUE(back.Exclude());
  EXPECT_EQ(back.MaxLength(), 7);
}

TEST(EditorOptions, DirectoryRecordAndOldVersions) {
  TEditorOptions dir(esDirectory);
  TStreamWriter expected;
  dir.Default().WriteTo(expected);
  expected.WriteWideText(u"");
  expected.WriteU8(0);
  expected.WriteU8(3);
  EXPECT_EQ(Record(dir), expected.Bytes());

  // A fixed record of version 1.0 has no alias text.
  TStreamWriter v10;
  v10.WriteWideText(u"Yes");
  v10.WriteWideText(u"Yes\r\nNo\r\n");
  v10.WriteU8(1);
  TEditorOptions fixed(esString);
  TStreamReader r(v10.Bytes());
  fixed.ReadFrom(r, 1, {1, 0});
  EXPECT_TRUE(r.AtEnd());
  EXPECT_TRUE(fixed.Fixed());
  EXPECT_EQ(fixed.Default().EnglishText(), "Yes");
  EXPECT_EQ(fixed.PickList().Items(), QStringList({"Yes", "No"}));
  EXPECT_EQ(fixed.AliasList().Count(), 0);

  // Format version 1: plain texts, the file filter in one text.
  TStreamWriter fv1;
  fv1.WriteWideText(u"a.txt");
  fv1.WriteWideText(u"");
  fv1.WriteU8(0);
  fv1.WriteU8(2);
  fv1.WriteWideText(u"Texts|*.txt");
  TEditorOptions file(esString);
  TStreamReader f(fv1.Bytes());
  file.ReadFrom(f, 1, {2, 0});
  EXPECT_TRUE(f.AtEnd());
  EXPECT_EQ(file.Style(), esFileName);
  EXPECT_EQ(file.FileDescription().EnglishText(), "Texts");
  EXPECT_EQ(file.FileMask(), "*.txt");

  TStreamWriter badStyle;
  badStyle.WriteU8(0);
  badStyle.WriteWideText(u"");
  badStyle.WriteU8(0);
  badStyle.WriteU8(4);
  TEditorOptions bad(esString);
  TStreamReader b(badStyle.Bytes());
  try {
    bad.ReadFrom(b, 2, {2, 3});
    FAIL();
  } catch (const EWrongStructure& e) {
    EXPECT_EQ(e.Position(), 6);
  }
}

TEST(EditorOptions, AssignCopiesEverything) {
  TEditorOptions a(esString);
  a.PickList().SetItems({"p", "q"});
  a.SetFixed(true);
  a.AliasList().SetEnglishText("P\r\nQ");
  a.SetDefault("q");
  TEditorOptions b(esInteger);
  b.Assign(a);
  EXPECT_EQ(Record(b), Record(a));
  EXPECT_EQ(b.Style(), esString);
  b.PickList().Add("r");  // the copy re-corrects itself, not the source
  EXPECT_EQ(a.PickList().Count(), 2);
}

TEST(StandardOptions, Settings) {
  const TStdOptions& s = StdOptions();
  struct Case {
    const TEditorOptions* o;
    TEditorStyle style;
    const char* def;
    qint32 minimal, maximal;
  };
  const Case ints[] = {
      {s.eoInteger.get(), esInteger, "0", INT32_MIN, INT32_MAX},
      {s.eoCardinal.get(), esInteger, "0", 0, INT32_MAX},
      {s.eoNatural.get(), esInteger, "1", 1, INT32_MAX},
      {s.eoRange.get(), esInteger, "100", 1, INT32_MAX},
      {s.eoRating.get(), esInteger, "0", 0, 5},
  };
  for (const Case& c : ints) {
    EXPECT_EQ(c.o->Style(), c.style);
    EXPECT_EQ(c.o->Default().DisplayText(), c.def);
    EXPECT_EQ(c.o->Minimal(), c.minimal);
    EXPECT_EQ(c.o->Maximal(), c.maximal);
  }
  EXPECT_EQ(s.eoChar->MaxLength(), 1);
  EXPECT_TRUE(s.eoMinMax->Fixed());
  EXPECT_EQ(s.eoMinMax->DisplayConstant("Maximal"), "Maximal");
  EXPECT_EQ(s.eoLengthPosition->DisplayConstant("Length"), "By Length");
  EXPECT_EQ(s.eoWordSpacer->DisplayConstant("spacer"), "Spacer");
  EXPECT_FALSE(s.eoLanguage->Fixed());
  EXPECT_EQ(s.eoLanguage->Default().DisplayText(), "1033");
  EXPECT_EQ(s.eoLanguage->PickList().Items(), QStringList({"1033", "1049"}));
  EXPECT_TRUE(s.eoLinkIdent->Exclude());
  EXPECT_EQ(s.eoLinkIdent->Filter(), QString::fromUtf8("(),«»"));
  EXPECT_EQ(s.eoLinkIdent->Correct(u"a(b)"_qs), "");
  EXPECT_EQ(s.eoFileName->Style(), esFileName);
  EXPECT_EQ(s.eoVarIdent->Style(), esString);
  EXPECT_EQ(s.eoArrayIdent->PickList().Count(), 0);
}
