#include "engine/DicFileList.h"
#include "engine/EngineErrors.h"
#include "engine/ErrorReport.h"
#include "engine/EngineTestSupport.h"

#include <random>

using namespace gs;

using Generator = TEngineTest;

TEST_F(Generator, DefaultsMakeTheLine) {
  EXPECT_EQ(Line(R"({})"), "");
  EXPECT_EQ(Line(R"({"nodes": [{"request": "Line", "children": [{"kind": "answer", "value": "Black Rock"}]}]})"),
            "Black Rock");
  // Blanks as spacers: two words and one spacer, and the word count follows the template.
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Line", "children": [{"kind": "answer", "value": "Black Rock"}]},
      {"request": "Line Separation", "children": [{"kind": "answer", "value": "Spacer", "children": [
        {"kind": "condition", "value": {"call": "Sample"}, "value2": " "}]}]},
      {"request": "Word", "children": [{"kind": "answer", "value": "W", "children": [
        {"kind": "condition", "value": {"call": "Word Count"}, "value2": "2"}]}]}
    ]})"),
            "W W");
  // More words than the template: the new ones are built from parts.
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Line", "children": [{"kind": "answer", "value": "Black"}]},
      {"request": "Word Count", "children": [{"kind": "answer", "value": "3"}]},
      {"request": "Part", "children": [{"kind": "answer", "value": "x"}]}]})"),
            "Blackxx");
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Line", "children": [{"kind": "answer", "value": "Black Rock"}]},
      {"request": "Word Count", "children": [{"kind": "answer", "value": "-1"}]},
      {"request": "Word", "children": [{"kind": "answer", "value": "never"}]}]})"),
            "Black Rock");
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Part Count", "children": [{"kind": "answer", "value": "0"}]},
      {"request": "Part", "children": [{"kind": "answer", "value": "x"}]}]})"),
            "");
}

TEST_F(Generator, OrdersOfBlocks) {
  const char* random = R"({"nodes": [{"request": "Word", "children": [{"kind": "order", "order": "Random", "children": [
      {"kind": "answer", "value": "a"}, {"kind": "answer", "value": "b"}, {"kind": "answer", "value": "c"}]}]}]})";
  const std::vector<QString> lines = Lines(random, 300);
  for (const char* letter : {"a", "b", "c"}) EXPECT_GT(std::count(lines.begin(), lines.end(), letter), 60) << letter;
  EXPECT_EQ(Lines(random, 20, 7), Lines(random, 20, 7));  // one seed, one sequence

  // Direct takes the first survivor; a second request node is tried when the first fails.
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Word", "children": [{"kind": "order", "order": "Direct", "children": [
        {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]},
        {"kind": "answer", "value": "first"}, {"kind": "answer", "value": "second"}]}]}]})"),
            "first");
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Word", "children": [{"kind": "answer", "value": "no", "children": [
        {"kind": "condition", "value": "1", "value2": "2"}]}]},
      {"request": "Word", "disabled": true, "children": [{"kind": "answer", "value": "disabled"}]},
      {"request": "Word", "children": [{"kind": "answer", "value": "second node"}]}]})"),
            "second node");

  // A Random block whose children all fail gives none: the default.
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Line", "children": [{"kind": "answer", "value": "x"}]},
      {"request": "Word", "children": [{"kind": "order", "order": "Random", "children": [
        {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]}]}]})"),
            "x");
  // A Loop block that never answers ends by the time-out, and the line is abandoned.
  EXPECT_EQ(Line(R"({"nodes": [{"request": "Word", "children": [{"kind": "order", "order": "Loop", "children": [
      {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]}]}]})"),
            "<stopped>");
}

TEST_F(Generator, SelectorsAndConditions) {
  // The first matching case runs, even when it gives no answer.
  EXPECT_EQ(Line(R"({"nodes": [
      {"request": "Line", "children": [{"kind": "answer", "value": "default"}]},
      {"request": "Word", "children": [{"kind": "selector", "value": "Orc", "children": [
        {"kind": "case", "value": "ORC", "children": [
          {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]},
        {"kind": "case", "value": "orc", "children": [{"kind": "answer", "value": "later"}]}]}]}]})"),
            "default");
  EXPECT_EQ(Line(R"({"nodes": [{"request": "Word", "children": [{"kind": "selector", "value": "Orc", "sign": "='", "children": [
        {"kind": "case", "value": "ORC", "children": [{"kind": "answer", "value": "exact"}]},
        {"kind": "case", "value": "Orc", "children": [{"kind": "answer", "value": "case"}]}]}]}]})"),
            "case");
  // NOT holds unless all children hold.
  const char* notBlock = R"({"nodes": [{"request": "Word", "children": [
      {"kind": "answer", "value": "both", "children": [{"kind": "logic", "logic": "NOT", "children": [
        {"kind": "condition", "value": "1", "value2": "1"}, {"kind": "condition", "value": "2", "value2": "2"}]}]},
      {"kind": "answer", "value": "one", "children": [{"kind": "logic", "logic": "NOT", "children": [
        {"kind": "condition", "value": "1", "value2": "1"}, {"kind": "condition", "value": "2", "value2": "3"}]}]}]}]})";
  EXPECT_EQ(Line(notBlock), "one");
  // A common condition holds for the later siblings only, and ends with its block.
  EXPECT_EQ(Line(R"({"nodes": [{"request": "Word", "children": [
      {"kind": "order", "order": "Direct", "children": [
        {"kind": "requisite", "children": [{"kind": "condition", "value": "1", "value2": "2"}]},
        {"kind": "answer", "value": "blocked"}]},
      {"kind": "answer", "value": "free"}]}]})"),
            "free");
  EXPECT_EQ(Line(R"({"nodes": [{"request": "Word", "children": [
      {"kind": "answer", "value": "before"},
      {"kind": "requisite", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]}]})"),
            "before");
}

TEST_F(Generator, SignsCompareAsSpecified) {
  struct Case {
    const char* x;
    const char* y;
    int sign;
    bool holds;
  };
  const Case cases[] = {
      {"Orc", "ORC", 0, true},  {"Orc", "ORC", 12, false}, {"Orc", "ORC", 1, false}, {"Orc", "ORC", 13, true},
      {"10", "9", 2, false},    {"10", "9", 4, true},      {"$A", "10", 5, true},    {"-3", "-3", 3, true},
      {"Orcish", "or", 6, true}, {"Orcish", "or", 14, false}, {"or", "orc", 6, false}, {"abc", "", 6, true},
      {"Orcish", "ISH", 8, true}, {"abc", "", 8, false},   {"abc", "", 9, true},     {"Orcish", "CI", 10, true},
      {"abc", "", 10, false},   {"abc", "", 11, true},     {"Orcish", "ci", 18, true}, {"Orcish", "CI", 19, true},
      {"x", "y", 20, true},     {"x", "y", 255, true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(TGenerator::CompareBySign(c.x, c.y, c.sign), c.holds) << c.x << " " << c.sign << " " << c.y;
  EXPECT_THROW(TGenerator::CompareBySign("a", "b", 2), EConvertError);
  EXPECT_THROW(TGenerator::CompareBySign("", "1", 5), EConvertError);
}

namespace {

// A dictionary whose word is `word`, with the given sample lengths and pass order, that records
// every sample it is offered as "position sample," in the variable "seen" and replaces the
// sample "x" by "yz".
QString InsetDictionary(const char* word, int minLen, int maxLen, const char* order) {
  return QStringLiteral(R"({"nodes": [
      {"request": "Word", "children": [{"kind": "answer", "value": "%1"}]},
      {"request": "Pass Order", "children": [{"kind": "answer", "value": "%4"}]},
      {"request": "Sample Length", "children": [
        {"kind": "answer", "value": "%2", "children": [{"kind": "condition", "value": {"call": "Ident"}, "value2": "Minimal"}]},
        {"kind": "answer", "value": "%3"}]},
      {"request": "Inset", "children": [
        {"kind": "command", "value": {"call": "Assign", "args": {"Ident": "seen", "String": {"call": "Concat", "args": {
          "String1": {"call": "Variable", "args": {"Ident": "seen"}},
          "String2": {"call": "Concat", "args": {"String1": {"call": "Position"},
            "String2": {"call": "Concat", "args": {"String1": {"call": "Sample"}, "String2": ","}}}}}}}}},
        {"kind": "selector", "value": {"call": "Sample"}, "sign": "='", "children": [
          {"kind": "case", "value": "x", "children": [{"kind": "answer", "value": "yz"}]}]}]}
    ]})").arg(QString::fromUtf8(word)).arg(minLen).arg(maxLen).arg(QString::fromUtf8(order));
}

} // namespace

TEST_F(Generator, InsetPassOrders) {
  struct Case {
    const char* word;
    int minLen, maxLen;
    const char* order;
    const char* seen;
    const char* result;
  };
  const Case cases[] = {
      {"abc", 1, 3, "Position", "1abc,1ab,1a,2bc,2b,3c,", "abc"},
      {"abc", 1, 2, "Position", "1ab,1a,2bc,2b,3c,", "abc"},
      {"abc", 1, 2, "Length", "1ab,2bc,1a,2b,3c,", "abc"},
      // The sample longer than the word is first brought down to the word's length.
      {"ab", 1, 5, "Length", "1ab,1a,2b,", "ab"},
      // "x" becomes "yz": the position moves on and the marked characters are not offered again.
      {"x", 1, 1, "Position", "1x,", "yz"},
      {"axb", 1, 1, "position", "1a,2x,4b,", "ayzb"},
  };
  for (const Case& c : cases) {
    TGenerator g;
    g.Timeout = 1000;
    g.SetFileName(Dictionary(InsetDictionary(c.word, c.minLen, c.maxLen, c.order).toUtf8().constData()));
    TLineResult r;
    g.Generate({}, r);
    EXPECT_EQ(g.Variables.Value(u"seen"), QString::fromUtf8(c.seen)) << c.word << " " << c.order;
    EXPECT_EQ(r.text, QString::fromUtf8(c.result)) << c.word << " " << c.order;
  }
}

TEST_F(Generator, FailuresAreReportedWithTheirContext) {
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(Dictionary(R"({"nodes": [{"request": "Word Count", "children": [
      {"kind": "order", "order": "Direct", "children": [{"kind": "answer", "value": {"call": "Line"}}]}]}]})"));
  TLineResult r;
  try {
    g.Generate({}, r);
    FAIL();
  } catch (const EEOException& e) {
    const TErrorReport report = BuildErrorReport(*ActiveGenerator(), e);
    EXPECT_EQ(report.heading, QStringLiteral("File \"%1\" raised generation time error.").arg(QFileInfo(g.DicFile()).fileName()));
    EXPECT_EQ(report.message, "Illegal answer \"Line\" for the request \"Word Count\": value \"\" is not a valid integer.");
    ASSERT_EQ(report.path.size(), 3u);
    EXPECT_EQ(report.path[0][0], "Word Count");
    EXPECT_EQ(report.path[1][0], "Direct");
    EXPECT_EQ(report.path[2][0], "Line");
    EXPECT_FALSE(report.fatal);
  }
  EXPECT_FALSE(g.Idle());  // a failure does not end the line as a stop does
  EXPECT_TRUE(r.text.isEmpty());

  // A condition between integers whose operand is no number.
  TGenerator h;
  h.SetFileName(Dictionary(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": "x", "children": [
      {"kind": "condition", "value": {"call": "Word"}, "sign": "<", "value2": "3"}]}]}]})"));
  try {
    h.Generate({}, r);
    FAIL();
  } catch (const std::exception& e) {
    EXPECT_EQ(BuildErrorReport(*ActiveGenerator(), e).message,
              "Illegal operand \"Word\" for the relational sign \"<\": value \"\" is not a valid integer.");
  }
}

TEST_F(Generator, RecursionEndsInTheRecursionFailure) {
  // "Compute" raises the Compute request, whose answer computes again, without end.
  TGenerator g;
  g.SetFileName(Dictionary(R"({"nodes": [
      {"request": "Word", "children": [{"kind": "answer", "value": {"call": "Compute", "args": {"Ident": "x"}}}]},
      {"request": "Compute", "children": [{"kind": "answer", "value": {"call": "Compute", "args": {"Ident": "x"}}}]}]})"));
  TLineResult r;
  try {
    g.Generate({}, r);
    FAIL();
  } catch (const ERecursionError& e) {
    const TErrorReport report = BuildErrorReport(g, e);
    EXPECT_TRUE(report.fatal);
    EXPECT_TRUE(report.message.endsWith("recursion stack overflow. Generation process cannot continue."));
  }
  // The next line starts afresh.
  g.SetFileName(Dictionary(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": "ok"}]}]})"));
}

TEST_F(Generator, RequestsStopsAndReloads) {
  TGenerator g;
  const QString file = Dictionary(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": "a"}]}]})");
  g.SetFileName(file);
  // A request the dictionary does not define returns its default and draws nothing.
  RandomSeed(5);
  EXPECT_EQ(g.RaiseRequest(40, "dflt"), "dflt");
  EXPECT_EQ(RandomState(), 5u);
  // Between lines the generator is idle: a defined request draws its chance, but no block
  // runs.
  EXPECT_EQ(g.RaiseRequest(2, "dflt"), "dflt");
  EXPECT_NE(RandomState(), 5u);

  int loads = 0;
  g.OnLoad = [&](TGenerator&) { ++loads; };
  g.SetFileName(file);  // unchanged: nothing happens
  EXPECT_EQ(loads, 0);
  EXPECT_THROW(g.SetFileName(m_dir.filePath("missing.qdx")), EWrongFileName);
  EXPECT_EQ(g.DicFile(), file);  // put back
  TLineResult r;
  g.Generate({}, r);
  EXPECT_EQ(r.text, "a");
  EXPECT_TRUE(g.Idle());
  EXPECT_TRUE(g.IsStopped(false));  // idle between lines
  TNameValues params;
  params.Append("x", "1");
  g.Generate(params, r);
  EXPECT_EQ(g.Variables.Value(u"X"), "1");
}

// The generator finds request nodes by their code; every edit between lines shows at once.
TEST_F(Generator, EditsBetweenLinesChangeTheRequestNodes) {
  TGenerator g;
  g.SetFileName(Dictionary(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": "a"}]},
                                          {"request": "Part", "children": [{"kind": "answer", "value": "c"}]}]})"));
  const auto line = [&g] {
    TLineResult r;
    g.Generate({}, r);
    return r.text;
  };
  ASSERT_EQ(line(), "a");
  TDicNode& root = g.Dictionary()->Root();
  TDicNode& first = root.Child(0);

  auto request = std::make_unique<TDicNode>(nkRequest);
  request->SetOption(2);
  auto answer = std::make_unique<TDicNode>(nkAnswer);
  answer->Value1()->SetText(QStringLiteral("b"));
  request->Add(std::move(answer));
  TDicNode* second = root.Insert(0, std::move(request));
  EXPECT_EQ(line(), "b");  // inserted before
  second->SetDisabled(true);
  EXPECT_EQ(line(), "a");
  second->SetDisabled(false);
  second->SetOption(9);  // now the first "Part": the word of "Word" still wins
  EXPECT_EQ(line(), "a");
  first.SetDisabled(true);  // no "Word": built from the first part in tree order
  EXPECT_EQ(line(), "b");
  root.Remove(second);
  EXPECT_EQ(line(), "c");
}

namespace {

// A condition on the line's own measures, alone or in a logic block.
QString PlainCondition(std::mt19937& random) {
  static const char* const measures[] = {"Part Index", "Word Index", "Word Length", "Position"};
  static const char* const signs[] = {"=", "!=", "<", ">=", "<?"};
  const QString condition = QStringLiteral(R"({"kind": "condition", "value": {"call": "%1"}, "sign": "%2", "value2": "%3"})")
                                .arg(measures[random() % 4], signs[random() % 5])
                                .arg(random() % 4);
  if (random() % 3) return condition;
  return QStringLiteral(R"({"kind": "logic", "logic": "%1", "children": [%2, %3]})")
      .arg(random() % 2 ? "OR" : "NOT", condition, PlainCondition(random));
}

// A random tree of Direct and Random blocks and plain answers, some disabled, some with
// conditions on the line's measures, in text form.
QString PlainTree(std::mt19937& random, int depth) {
  const int roll = int(random() % 10);
  const QString disabled = random() % 8 == 0 ? QStringLiteral(", \"disabled\": true") : QString();
  if (depth == 0 || roll < 4) {
    const QString conditions =
        random() % 3 == 0 ? QStringLiteral(", \"children\": [%1]").arg(PlainCondition(random)) : QString();
    return QStringLiteral("{\"kind\": \"answer\", \"value\": \"%1\"%2%3}")
        .arg(QChar(u'a' + int(random() % 26)))
        .arg(disabled, conditions);
  }
  QStringList children;
  for (int n = int(random() % 4); n > 0; --n) children << PlainTree(random, depth - 1);
  return QStringLiteral("{\"kind\": \"order\", \"order\": \"%1\"%2, \"children\": [%3]}")
      .arg(roll < 7 ? "Random" : "Direct", disabled, children.join(u','));
}

} // namespace

// Requests of plain blocks take a shorter walk; a common condition that always holds makes the
// same blocks take the full one. Both must draw and answer alike.
TEST_F(Generator, PlainBlocksAnswerAsTheFullWalk) {
  std::mt19937 random(2024);
  for (int round = 0; round < 40; ++round) {
    QStringList parts;
    for (int n = 1 + int(random() % 3); n > 0; --n) parts << PlainTree(random, 4);
    const QString tree = parts.join(u',');
    const auto dictionary = [&](const QString& first) {
      return QStringLiteral(R"({"nodes": [{"request": "Part Count", "children": [{"kind": "answer", "value": "3"}]},
        {"request": "Part", "children": [%1%2]}]})").arg(first, tree).toUtf8();
    };
    const QByteArray plain = dictionary(QString()), full = dictionary(QStringLiteral("{\"kind\": \"requisite\"},"));
    RandomSeed(round);
    const std::vector<QString> expected = Lines(full.constData(), 30, quint32(round));
    const quint32 stateAfterFull = RandomState();
    EXPECT_EQ(Lines(plain.constData(), 30, quint32(round)), expected) << tree.toStdString();
    EXPECT_EQ(RandomState(), stateAfterFull);
  }
}

// A constant that breaks its options fails in a plain block with the path of the full walk.
TEST_F(Generator, PlainBlockFailuresNameTheAnswer) {
  TGenerator g;
  g.SetFileName(Dictionary(R"({"nodes": [{"request": "Word Count", "children": [
      {"kind": "order", "order": "Random", "children": [{"kind": "answer", "value": "2"}]}]}]})"));
  // The options correct what an editor stores; a text stored as it is can still break them.
  g.Dictionary()->Root().Child(0).Child(0).Child(0).Value1()->SetComputedText(QStringLiteral("x"));
  TLineResult r;
  EXPECT_THROW(g.Generate({}, r), EEOException);
  EXPECT_EQ(ActiveGenerator()->CurrentNode, &g.Dictionary()->Root().Child(0).Child(0).Child(0));
  EXPECT_EQ(ActiveGenerator()->CurrentValue, g.Dictionary()->Root().Child(0).Child(0).Child(0).Value1());
}

// Conditions between a measure and a constant are compared as integers when they can be; the
// result must be the text comparison's, also for constants (as a stored file may hold them) that
// are not plain decimals.
TEST_F(Generator, MeasureConditionsCompareAsTheirTexts) {
  const char* const signs[] = {"=", "!=", "<", "<=", ">", ">="};
  const char* const constants[] = {"2", "02", "+2", " 2", "1", "3", "-1", "300", "", "x"};
  for (int sign = 0; sign < 6; ++sign) {
    // Word i is followed by "+" when "Word Index <sign> constant" holds, "-" when not.
    const QByteArray json = QStringLiteral(R"({"nodes": [
        {"request": "Word Count", "children": [{"kind": "answer", "value": "3"}]},
        {"request": "Word", "children": [{"kind": "answer", "value": "w"}]},
        {"request": "Spacer", "children": [
          {"kind": "answer", "value": "+", "children": [
            {"kind": "condition", "value": {"call": "Word Index"}, "sign": "%1", "value2": "0"}]},
          {"kind": "answer", "value": "-"}]}]})")
                                .arg(QString::fromUtf8(signs[sign]))
                                .toUtf8();
    TGenerator g;
    g.SetFileName(Dictionary(json.constData()));
    TValue& constant = *g.Dictionary()->Root().Child(2).Child(0).Child(0).Value2();
    for (const char* text : constants) {
      constant.SetComputedText(QString::fromUtf8(text));
      const auto where = testing::Message() << "Word Index " << signs[sign] << " '" << text << "'";
      TLineResult r;
      try {
        constant.Validate();
      } catch (const EEOException&) {
        EXPECT_THROW(g.Generate({}, r), EEOException) << where;
        g.Stop();
        continue;
      }
      QString expected;
      bool throws = false;
      for (int i = 0; i <= 3 && !throws; ++i) {
        try {
          const bool holds = TGenerator::CompareBySign(QString::number(i), QString::fromUtf8(text), sign);
          expected += (i > 0 ? "w" : "") + QString(holds ? "+" : "-");
        } catch (const EConvertError&) {
          throws = true;
        }
      }
      if (throws) {
        EXPECT_THROW(g.Generate({}, r), EConvertError) << where;
        g.Stop();
      } else {
        g.Generate({}, r);
        EXPECT_EQ(r.text, expected) << where;
      }
    }
  }
}
