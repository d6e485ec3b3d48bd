#include "model/DicFiles.h"

#include <gtest/gtest.h>

using namespace gs;

namespace {

TFunction* Std(quint16 id) {
  return StdFuncs().Get(id);
}

QByteArray Record(const TValue& v) {
  TStreamWriter w;
  v.WriteTo(w);
  return w.Bytes();
}

// A value record of a call, written by hand: id, then (name, text constant) arguments.
QByteArray CallRecord(quint16 id, std::initializer_list<std::pair<const char*, const char*>> args) {
  TStreamWriter w;
  w.WriteU8(vkFunc);
  w.WriteU16(id);
  w.WriteU8(quint8(args.size()));
  for (const auto& [name, text] : args) {
    w.WriteShortAnsi(QString::fromUtf8(name));
    w.WriteU8(vkText);
    w.WriteWideText(QString::fromUtf8(text));
  }
  return w.Bytes();
}

std::unique_ptr<TValue> Read(const QByteArray& bytes, const TLinks* links = nullptr) {
  auto v = std::make_unique<TValue>();
  TStreamReader r(bytes);
  v->ReadFrom(r, links);
  EXPECT_TRUE(r.AtEnd());
  return v;
}

std::unique_ptr<TValue> Call(quint16 id) {
  auto v = std::make_unique<TValue>(vkFunc);
  v->SetFunction(Std(id));
  return v;
}

std::unique_ptr<TValue> Constant(const QString& text) {
  auto v = std::make_unique<TValue>(vkText);
  v->SetText(text);
  return v;
}

} // namespace

TEST(Value, NewValuesAndRebuildArgs) {
  TValue v;
  EXPECT_EQ(v.Kind(), vkText);
  EXPECT_EQ(v.Function(), DefaultFunction());
  EXPECT_EQ(DefaultFunction()->Id(), 77);
  EXPECT_EQ(v.Options(), StdOptions().eoString.get());

  auto call = Call(18);  // Substring (String, Start, Count)
  ASSERT_EQ(call->ArgCount(), 3);
  EXPECT_EQ(call->ArgName(0), "String");
  EXPECT_EQ(call->Arg(1).Text(), "1");  // the Natural default
  EXPECT_EQ(call->Arg(2).Text(), "0");
  EXPECT_EQ(call->Arg(1).Options(), StdOptions().eoNatural.get());
  call->Arg(0).SetText("kept");
  call->SetFunction(Std(19));  // Left String (String, Count): String stays, Start goes
  ASSERT_EQ(call->ArgCount(), 2);
  EXPECT_EQ(call->Arg(0).Text(), "kept");
  EXPECT_EQ(call->ArgByName(u"COUNT"), &call->Arg(1));
  EXPECT_EQ(call->ArgByName(u"Start"), nullptr);
}

TEST(Value, KindSwitchKeepsArgumentsInMemory) {
  auto call = Call(16);
  call->Arg(0).SetText("a");
  call->SetKind(vkText);
  EXPECT_EQ(call->ArgCount(), 0);
  EXPECT_EQ(Record(*call), QByteArray("\0\0\0\0\0", 5));  // kind 0, empty text
  call->SetKind(vkFunc);
  ASSERT_EQ(call->ArgCount(), 2);
  EXPECT_EQ(call->Arg(0).Text(), "a");
}

TEST(Value, OptionsCorrectTheText) {
  TValue v;
  v.SetOptions(StdOptions().eoNatural.get());
  EXPECT_EQ(v.Text(), "1");  // the empty default of eoString became the natural minimum
  v.SetText("abc");
  EXPECT_EQ(v.Text(), "1");
  v.SetText("25\r\nx");
  EXPECT_EQ(v.Text(), "25");
  v.SetOptions(StdOptions().eoRating.get());
  EXPECT_EQ(v.Text(), "5");  // corrected under the new options
  v.SetOptions(StdOptions().eoBoolean.get());
  EXPECT_EQ(v.Text(), "True");
}

TEST(Value, NotificationsPassUpFromArguments) {
  auto call = Call(16);
  int changing = 0, changed = 0;
  call->OnChanging = [&](TValue&) { ++changing; };
  call->OnChange = [&](TValue&) { ++changed; };
  call->Arg(0).SetText("x");
  EXPECT_EQ(changing, 1);
  EXPECT_EQ(changed, 1);
  call->Arg(0).SetText("x");  // unchanged
  EXPECT_EQ(changed, 1);
  call->SetFunction(Std(32));  // one change, not one per rebuilt argument
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
}

TEST(Value, AssignAndSameAs) {
  auto a = Call(16);
  a->Arg(0).SetKind(vkFunc);
  a->Arg(0).SetFunction(Std(74));
  a->Arg(1).SetText("b");
  TValue b;
  b.Assign(*a);
  EXPECT_TRUE(b.SameAs(*a));
  EXPECT_NE(&b.Arg(0), &a->Arg(0));
  b.Arg(1).SetText("c");
  EXPECT_FALSE(b.SameAs(*a));
  EXPECT_TRUE(Constant("x")->SameAs(*Constant("x")));
  EXPECT_FALSE(Constant("x")->SameAs(*Constant("X")));
  EXPECT_FALSE(Constant("x")->SameAs(*Call(77)));
}

TEST(Value, ReadingConvertsOldFunctionsAndArguments) {
  // 64 "Parameter" is Variable.
  auto param = Read(CallRecord(64, {{"Ident", "Race"}}));
  EXPECT_EQ(param->Function()->Id(), 67);
  EXPECT_EQ(param->Arg(0).Text(), "Race");
  // "Char" of Entry Count is "Substring"; another spelling is dropped.
  auto entry = Read(CallRecord(21, {{"Char", "a"}, {"String", "banana"}}));
  EXPECT_EQ(entry->ArgByName(u"Substring")->Text(), "a");
  auto other = Read(CallRecord(21, {{"char", "a"}, {"String", "banana"}}));
  EXPECT_EQ(other->ArgByName(u"Substring")->Text(), "");
  EXPECT_EQ(other->ArgCount(), 2);
  // The word-scheme functions become Scheme of Word, Word Start, Word End.
  const std::pair<quint16, quint16> schemes[] = {{99, 74}, {100, 97}, {101, 98}};
  for (auto [old, inner] : schemes) {
    auto v = Read(CallRecord(old, {}));
    EXPECT_EQ(v->Function()->Id(), 30);
    ASSERT_EQ(v->Arg(0).Kind(), vkFunc);
    EXPECT_EQ(v->Arg(0).Function()->Id(), inner);
  }
  // Unknown arguments are dropped, missing ones get their defaults, kept ones take their
  // parameter's options.
  auto sub = Read(CallRecord(18, {{"Nonsense", "1"}, {"Start", "7"}, {"Count", "x9"}}));
  ASSERT_EQ(sub->ArgCount(), 3);
  EXPECT_EQ(sub->Arg(0).Text(), "");
  EXPECT_EQ(sub->Arg(1).Text(), "7");
  EXPECT_EQ(sub->Arg(2).Text(), "0");
  // Arguments stored for a function without parameters do not survive.
  auto checked = Read(CallRecord(77, {{"Junk", "1"}}));
  EXPECT_EQ(checked->ArgCount(), 0);
}

TEST(Value, BadRecordsRaiseStructureErrors) {
  for (quint16 id : {quint16(64 + 200), quint16(7), quint16(256), quint16(300)}) {
    const QByteArray bytes = CallRecord(id, {});
    TValue v;
    TStreamReader r(bytes);
    try {
      v.ReadFrom(r, nullptr);
      ADD_FAILURE() << id;
    } catch (const EWrongStructure& e) {
      EXPECT_EQ(e.Position(), 1) << id;
    }
  }
  // An expression nested far deeper than any dictionary needs is refused.
  TStreamWriter deep;
  for (int i = 0; i < 5000; ++i) {
    deep.WriteU8(vkFunc);
    deep.WriteU16(25);
    deep.WriteU8(1);
    deep.WriteShortAnsi(u"String");
  }
  deep.WriteU8(vkText);
  deep.WriteWideText(u"x");
  TValue v;
  TStreamReader r(deep.Bytes());
  EXPECT_THROW(v.ReadFrom(r, nullptr), EWrongStructure);
}

TEST(Value, RecordRoundTrip) {
  auto v = Call(35);
  v->Arg(0).SetText(QString::fromUtf8("«"));
  v->Arg(1).SetKind(vkFunc);
  v->Arg(1).SetFunction(Std(0));
  v->Arg(1).Arg(0).SetText("-12");
  const QByteArray bytes = Record(*v);
  auto back = Read(bytes);
  EXPECT_TRUE(back->SameAs(*v));
  EXPECT_EQ(Record(*back), bytes);
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    const QByteArray prefix = bytes.left(n);
    TValue t;
    TStreamReader r(prefix);
    EXPECT_THROW(t.ReadFrom(r, nullptr), EWrongStructure) << n;
  }
}

TEST(Value, ExpressionAndCellTexts) {
  struct Case {
    const char* text;
    const char* expression;
  };
  const Case constants[] = {{"12", "12"}, {"-", "«-»"}, {"1a", "«1a»"}, {"-7", "-7"}, {"", "«»"}};
  for (const Case& c : constants)
    EXPECT_EQ(ExpressionText(*Constant(QString::fromUtf8(c.text))), QString::fromUtf8(c.expression)) << c.text;

  auto add = Call(0);
  add->Arg(0).SetText("1");
  add->Arg(1).SetKind(vkFunc);
  add->Arg(1).SetFunction(Std(69));
  EXPECT_EQ(ExpressionText(*add), "1 + Word Count");
  auto concat = Call(16);
  concat->Arg(0).SetText("a");
  concat->Arg(1).SetText("b");
  EXPECT_EQ(ExpressionText(*concat), QString::fromUtf8("«a» & «b»"));
  auto variable = Call(67);
  variable->Arg(0).SetText("Race");
  EXPECT_EQ(ExpressionText(*variable), "<Race>");
  auto assign = Call(65);
  assign->Arg(0).SetText("Race");
  assign->Arg(1).SetText("elf");
  EXPECT_EQ(ExpressionText(*assign), QString::fromUtf8("<Race> = «elf»"));
  auto sub = Call(18);
  sub->Arg(0).SetText("word");
  EXPECT_EQ(ExpressionText(*sub), QString::fromUtf8("Substring («word», 1, 0)"));
  EXPECT_EQ(ExpressionText(*Call(68)), "Line");

  EXPECT_EQ(CellText(*Constant("")), "<Empty>");
  EXPECT_EQ(CellText(*Constant("   ")), "<Space> (3)");
  EXPECT_EQ(CellText(*Constant("x")), "x");
  EXPECT_EQ(CellText(*Call(16)), QString::fromUtf8("«» & «»"));
  auto file = Constant("lists\\roots.txt");
  file->SetOptions(StdOptions().eoFileName.get());
  EXPECT_EQ(CellText(*file), "<roots.txt>");
  SetLibraryTitleLookup([](const QString& name) { return name.endsWith(u"roots.txt") ? QStringLiteral("Roots") : QString(); });
  EXPECT_EQ(CellText(*file), "<Roots>");
  SetLibraryTitleLookup({});
  auto boolean = Constant("False");
  boolean->SetOptions(StdOptions().eoBoolean.get());
  EXPECT_EQ(CellText(*boolean), "No");
}

TEST(Variables, NamesOptionsFollowTheList) {
  TVariables vars;
  EXPECT_TRUE(vars.NamesOptions().Fixed());
  EXPECT_EQ(vars.NamesOptions().PickList().Count(), 0);
  TLangStr raceTitle, genderTitle;
  raceTitle.SetEnglishText("Race");
  raceTitle.SetText(1049, "Rasa");
  TEditorOptions options(esString);
  options.SetDefault("elf");
  vars.Add("race", raceTitle, true, TLangStr(), options);
  vars.Add("gender", genderTitle, false, TLangStr(), *StdOptions().eoString);
  const TEditorOptions& names = vars.NamesOptions();
  EXPECT_EQ(names.PickList().Items(), QStringList({"race", "gender"}));
  EXPECT_EQ(names.Default().DisplayText(), "race");
  EXPECT_EQ(names.AliasList().GetText(1033), "Race\r\ngender");
  EXPECT_EQ(names.AliasList().GetText(1049), "Rasa\r\ngender");
  EXPECT_EQ(names.DisplayConstant("GENDER"), "gender");
  EXPECT_EQ(names.DisplayConstant("race"), "Race");
  EXPECT_EQ(vars.IndexOf(u"RACE"), 0);
  EXPECT_EQ(vars.DefaultOf(u"Race"), "elf");
  EXPECT_EQ(vars.DisplayName(1), "gender");
  vars.Exchange(0, 1);
  EXPECT_EQ(names.PickList().Items(), QStringList({"gender", "race"}));
  EXPECT_EQ(names.AliasList().GetText(1033), "gender\r\nRace");

  TNameValues list;
  list.Append("RACE", "dwarf");
  vars.FillDefaults(list);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_EQ(list[0].value, "elf");  // replaced, by name without case
  EXPECT_EQ(list[1].name, "gender");
  EXPECT_EQ(list[1].value, "");  // an empty default still has its entry

  vars.Delete(0);
  EXPECT_EQ(names.PickList().Items(), QStringList({"race"}));
  vars.Clear();
  EXPECT_EQ(names.Default().DisplayText(), "");
}

TEST(Variables, RecordVersions) {
  TVariables vars;
  TLangStr title;
  title.SetEnglishText("Race");
  vars.Add("race", title, false, title, *StdOptions().eoNatural);
  TStreamWriter w;
  vars.WriteTo(w);
  TVariables back;
  TStreamReader r(w.Bytes());
  back.ReadFrom(r, 2, {2, 3});
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(back.Count(), 1);
  EXPECT_FALSE(back.Item(0).isParameter);
  EXPECT_EQ(back.Item(0).options->Minimal(), 1);
  EXPECT_EQ(back.Item(0).hint.EnglishText(), "Race");

  // Before 2.2 there is no IsParameter byte: every variable is a parameter.
  TVariables old;
  const QByteArray shorter = w.Bytes().chopped(1);
  TStreamReader o(shorter);
  old.ReadFrom(o, 2, {2, 1});
  EXPECT_TRUE(o.AtEnd());
  EXPECT_TRUE(old.Item(0).isParameter);
}

TEST(Value, TheValidityMemoForgetsEveryChange) {
  TEditorOptions numbers(esInteger);
  TValue value;
  value.SetOptions(&numbers);
  value.SetText(QStringLiteral("50"));
  value.SetKnownValid(OptionsRevision());
  ASSERT_TRUE(value.KnownValid(OptionsRevision()));
  numbers.SetMaximal(10);  // "50" is no longer valid
  EXPECT_FALSE(value.KnownValid(OptionsRevision()));
  value.SetKnownValid(OptionsRevision());
  numbers.PickList().Add(QStringLiteral("7"));
  EXPECT_FALSE(value.KnownValid(OptionsRevision()));
  value.SetKnownValid(OptionsRevision());
  value.SetText(QStringLiteral("8"));
  EXPECT_FALSE(value.KnownValid(OptionsRevision()));
  value.SetKnownValid(OptionsRevision());
  TEditorOptions other(esString);
  value.SetOptions(&other);
  EXPECT_FALSE(value.KnownValid(OptionsRevision()));
}

// The generator's memo of a text as an integer follows every way the text changes.
TEST(Value, IntegerFollowsTheText) {
  TValue value;
  value.SetText(QStringLiteral("12"));
  EXPECT_EQ(value.Integer(), 12);
  value.SetText(QStringLiteral("$1F"));
  EXPECT_EQ(value.Integer(), 31);
  value.SetComputedText(QStringLiteral("x"));
  EXPECT_EQ(value.Integer(), std::nullopt);
  value.SetComputedText(QStringLiteral("-4"));
  EXPECT_EQ(value.Integer(), -4);
  TValue source;
  source.SetText(QStringLiteral("9"));
  value.Assign(source);
  EXPECT_EQ(value.Integer(), 9);
  TStreamWriter w;
  source.SetText(QStringLiteral("77"));
  source.WriteTo(w);
  TStreamReader r(w.Bytes());
  value.ReadFrom(r, nullptr);
  EXPECT_EQ(value.Integer(), 77);
}
