#include "engine/EngineErrors.h"
#include "engine/ErrorReport.h"
#include "engine/EngineTestSupport.h"
#include "engine/LinkCache.h"

#include <QFile>

using namespace gs;

namespace {

class StdFunctions : public TEngineTest {
protected:
  // The text of one expression, evaluated as the answer of "Word"; a failure gives its report.
  QString Eval(const QString& expression) {
    const QString json = QStringLiteral(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": %1}]}]})").arg(expression);
    TGenerator g;
    g.Timeout = 1000;
    g.SetFileName(Dictionary(json.toUtf8().constData()));
    TLineResult r;
    try {
      g.Generate({}, r);
    } catch (const std::exception& e) {
      return QStringLiteral("!") + BuildErrorReport(*ActiveGenerator(), e).message;
    }
    return r.text;
  }

  void WriteText(const QString& name, const QByteArray& bytes) {
    QFile f(m_dir.filePath(name));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
  }
};

QString Call(const char* function, std::initializer_list<std::pair<const char*, QString>> args) {
  QStringList parts;
  for (const auto& [name, value] : args) parts.append(QStringLiteral("\"%1\": %2").arg(QString::fromUtf8(name), value));
  return QStringLiteral(R"({"call": "%1", "args": {%2}})").arg(QString::fromUtf8(function), parts.join(u", "));
}

QString Text(const char* text) {
  return u'"' + QString::fromUtf8(text) + u'"';
}

struct Case {
  QString expression;
  const char* result;
};

} // namespace

TEST_F(StdFunctions, Strings) {
  const Case cases[] = {
      {Call("Concat", {{"String1", Text("ab")}, {"String2", Text("cd")}}), "abcd"},
      {Call("Rim", {{"Start", Text("<")}, {"String", Text("x")}, {"End", Text(">")}}), "<x>"},
      {Call("Length", {{"String", Text("abc")}}), "3"},
      {Call("Substring", {{"String", Text("abc")}, {"Start", Text("2")}, {"Count", Text("5")}}), "bc"},
      {Call("Substring", {{"String", Text("abc")}, {"Start", Text("4")}, {"Count", Text("2")}}), ""},
      {Call("Left String", {{"String", Text("abc")}, {"Count", Text("2")}}), "ab"},
      {Call("Right String", {{"String", Text("abc")}, {"Count", Text("5")}}), "abc"},
      {Call("Right String", {{"String", Text("abc")}, {"Count", Text("2")}}), "bc"},
      {Call("Entry Count", {{"String", Text("aAaa")}, {"Substring", Text("aa")}}), "2"},
      {Call("Entry Count", {{"String", Text("abc")}, {"Substring", Text("")}}), "0"},
      {Call("Search", {{"String", Text("abc")}, {"Substring", Text("B")}}), "2"},
      {Call("Search", {{"String", Text("abc")}, {"Substring", Text("")}}), "0"},
      {Call("Replace", {{"String", Text("Aba")}, {"From", Text("a")}, {"To", Text("aa")}}), "aabaa"},
      {Call("Replace", {{"String", Text("straße")}, {"From", Text("E")}, {"To", Text("x")}}), "straßx"},
      {Call("Replace", {{"String", Text("abc")}, {"From", Text("")}, {"To", Text("x")}}), "abc"},
      {Call("Repeat", {{"String", Text("ab")}, {"Count", Text("3")}}), "ababab"},
      {Call("Repeat", {{"String", Text("ab")}, {"Count", Text("0")}}), ""},
      {Call("Reverse", {{"String", Text("abc")}}), "cba"},
      {Call("Scheme", {{"String", Text("Ork")}}), "@$$"},
      {Call("Upper Case", {{"String", Text("élan")}}), "ÉLAN"},
      {Call("Lower Case", {{"String", Text("ÉLAN")}}), "élan"},
      {Call("Copy Case", {{"From", Text("Ab")}, {"To", Text("cdef")}, {"End", Text("")}}), "Cdef"},
      {Call("Copy Case", {{"From", Text("Ab")}, {"To", Text("cdef")}, {"End", Text("X")}}), "CdEF"},
      {Call("Copy Case", {{"From", Text("")}, {"To", Text("cdef")}, {"End", Text("")}}), "cdef"},
      {Call("Random Char", {{"String", Text("q")}}), "q"},
      {Call("Random Char", {{"String", Text("")}}), ""},
      {Call("Upper Case", {{"String", QStringLiteral(R"({"call": 31, "args": {}})")}}), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), QString::fromUtf8(c.result)) << c.expression.toStdString();
}

TEST_F(StdFunctions, Arithmetic) {
  const auto two = [](const char* f, const char* a, const char* b) {
    return Call(f, {{"Value1", Text(a)}, {"Value2", Text(b)}});
  };
  const Case cases[] = {
      {two("Add", "2147483647", "1"), "-2147483648"},
      {two("Subtract", "-2147483648", "1"), "2147483647"},
      {two("Multiply", "65536", "65536"), "0"},
      {two("Divide", "-7", "2"), "-3"},
      {two("Mod", "-7", "2"), "-1"},
      {two("Divide", "-2147483648", "-1"), "-2147483648"},
      {Call("Square", {{"Value", Text("-5")}}), "25"},
      {Call("Random", {{"Range", Text("1")}}), "1"},
      {two("Divide", "1", "0"), "!Error in the function \"Divide (Value 1, Value 2)\" calculation: Division by zero"},
      {two("Mod", "1", "0"), "!Error in the function \"Mod (Value 1, Value 2)\" calculation: Division by zero"},
  };
  for (const Case& c : cases) EXPECT_EQ(Eval(c.expression), QString::fromUtf8(c.result)) << c.expression.toStdString();
}

TEST_F(StdFunctions, VariablesAndElements) {
  const char* variables = R"({"nodes": [{"request": "Word", "children": [
      {"kind": "command", "value": {"call": "Assign", "args": {"Ident": "x", "String": "1"}}},
      {"kind": "command", "value": {"call": "Assign", "args": {"Ident": "X", "String": ""}}},
      {"kind": "answer", "value": {"call": "Concat", "args": {"String1": {"call": "Variable", "args": {"Ident": "x"}},
        "String2": {"call": "Compute", "args": {"Ident": "y"}}}}}]},
    {"request": "Compute", "children": [{"kind": "answer", "value": {"call": "Ident"}}]}]})";
  EXPECT_EQ(Line(variables), "y");  // x removed by the empty Assign; Compute answers with its Ident

  // Elements: add a, b, b, a to the group "g".
  QString adds;
  for (const char* e : {"a", "b", "b", "a"})
    adds += QStringLiteral(R"({"kind": "command", "value": {"call": "Add Element", "args": {"Ident": "g", "String": "%1"}}},)")
                .arg(QString::fromUtf8(e));
  const auto elements = [&](const QString& answer) {
    const QString json = QStringLiteral(R"({"nodes": [{"request": "Word", "children": [%1 {"kind": "answer", "value": %2}]}]})").arg(adds, answer);
    return Line(json.toUtf8().constData());
  };
  const auto g = [](const char* f, std::initializer_list<std::pair<const char*, QString>> more = {}) {
    QStringList parts{QStringLiteral("\"Ident\": \"g\"")};
    for (const auto& [n, v] : more) parts.append(QStringLiteral("\"%1\": %2").arg(QString::fromUtf8(n), v));
    return QStringLiteral(R"({"call": "%1", "args": {%2}})").arg(QString::fromUtf8(f), parts.join(u", "));
  };
  EXPECT_EQ(elements(g("Size")), "2");
  EXPECT_EQ(elements(g("Leader Index")), "2");  // b reached 2 first
  EXPECT_EQ(elements(g("Element", {{"Index", Text("2")}})), "b");
  EXPECT_EQ(elements(g("Element Index", {{"String", Text("B")}})), "2");
  EXPECT_EQ(elements(g("Counter", {{"Index", Text("1")}})), "2");
  EXPECT_EQ(elements(g("Millipercent", {{"Index", Text("1")}})), "50000");
  EXPECT_EQ(elements(g("Milliratio", {{"Index", Text("2")}})), "100000");
  EXPECT_EQ(elements(QStringLiteral(R"({"call": "Size", "args": {"Ident": "none"}})")), "0");
  TGenerator gen;
  gen.SetFileName(Dictionary(QStringLiteral(R"({"nodes": [{"request": "Word", "children": [%1 {"kind": "answer", "value": %2}]}]})")
                                 .arg(adds, g("Element", {{"Index", Text("3")}}))
                                 .toUtf8()
                                 .constData()));
  TLineResult r;
  try {
    gen.Generate({}, r);
    FAIL();
  } catch (const EListIndexError& e) {
    EXPECT_EQ(BuildErrorReport(gen, e).message, "Error in the function \"Element (Ident, Index)\" calculation: List index out of bounds (2)");
  }
}

TEST_F(StdFunctions, TextFiles) {
  WriteText("lines.txt", "one\r\nTwo\r\nthree\r\ntwo");            // no break at the end
  WriteText("utf16.txt", QByteArray("\xFF\xFE" "a\0\n\0b\0", 8));  // UTF-16 with a mark
  WriteText("ansi.txt", "caf\xE9\n\n");                             // not UTF-8: the code page
  const auto file = [](const char* f, const char* name, std::initializer_list<std::pair<const char*, QString>> more = {}) {
    QStringList parts{QStringLiteral("\"FileName\": \"%1\"").arg(QString::fromUtf8(name))};
    for (const auto& [n, v] : more) parts.append(QStringLiteral("\"%1\": %2").arg(QString::fromUtf8(n), v));
    return QStringLiteral(R"({"call": "%1", "args": {%2}})").arg(QString::fromUtf8(f), parts.join(u", "));
  };
  const Case cases[] = {
      {file("Line Count", "lines.txt"), "4"},
      {file("Read Line", "lines.txt", {{"Index", Text("4")}}), "two"},
      {file("Read Line", "lines.txt", {{"Index", Text("9")}}), ""},
      {file("Line Index", "lines.txt", {{"String", Text("TWO")}}), "4"},  // the last equal line
      {file("Line Index", "lines.txt", {{"String", Text("four")}}), "0"},
      {file("Line Count", "utf16.txt"), "2"},
      {file("Read Line", "ansi.txt", {{"Index", Text("1")}}), "café"},
      {file("Line Count", "ansi.txt"), "2"},
      {file("Random Line", "utf16.txt"), "?"},
  };
  for (const Case& c : cases) {
    const QString result = Eval(c.expression);
    if (QString::fromUtf8(c.result) == u"?") EXPECT_TRUE(result == u"a" || result == u"b") << result.toStdString();
    else EXPECT_EQ(result, QString::fromUtf8(c.result)) << c.expression.toStdString();
  }
  EXPECT_TRUE(Eval(file("Line Count", "none.txt")).endsWith(u"file \"none.txt\" does not exist.")) << Eval(file("Line Count", "none.txt")).toStdString();
}

TEST_F(StdFunctions, LinksWithParametersAndCaching) {
  // The linked dictionary answers with its parameter and a random syllable, so a second
  // generation would most likely differ.
  const QString linked = Dictionary(R"js({
    "title": "Linked (names)",
    "variables": [{"name": "race", "parameter": true}, {"name": "secret", "parameter": false, "options": {"default": "s"}}],
    "nodes": [{"request": "Word", "children": [{"kind": "answer", "value": {"call": "Concat", "args": {
      "String1": {"call": "Concat", "args": {"String1": {"call": "Variable", "args": {"Ident": "race"}},
                                            "String2": {"call": "Variable", "args": {"Ident": "secret"}}}},
      "String2": {"call": "Random", "args": {"Range": "1000000"}}}}}]}]})js");
  TLink link;
  link.SetFileName(linked);
  link.Refresh();
  ASSERT_EQ(link.ParamCount(), 1);
  EXPECT_EQ(link.Title().DisplayText(), "Linked names");
  for (bool caching : {true, false}) {
    TDicFile caller;
    auto copy = std::make_unique<TLink>();
    copy->Assign(link);
    copy->SetCaching(caching);
    TLink* own = caller.Links().Add(std::move(copy));
    TDicNode* request = caller.Root().Add(std::make_unique<TDicNode>(nkRequest));
    request->SetOption(2);
    TDicNode* answer = request->Add(std::make_unique<TDicNode>(nkAnswer));
    answer->Value1()->SetKind(vkFunc);
    answer->Value1()->SetFunction(own);
    answer->Value1()->Arg(0).SetText(caching ? "elf" : "orc");
    const QString file = m_dir.filePath(caching ? "cached.qdx" : "uncached.qdx");
    caller.SaveToFile(file);
    TGenerator g;
    g.Timeout = 1000;
    g.SetFileName(file);
    TLineResult a, b;
    g.Generate({}, a);
    g.Generate({}, b);
    EXPECT_TRUE(a.text.startsWith(caching ? u"elf" : u"orc")) << a.text.toStdString();
    EXPECT_FALSE(a.text.contains(u's'));  // a variable that is no parameter starts empty
    EXPECT_EQ(a.text == b.text, caching) << a.text.toStdString() << " " << b.text.toStdString();
    ASSERT_NE(g.Child(), nullptr);
    EXPECT_EQ(g.Child()->Level(), 1);
  }
}

TEST_F(StdFunctions, SelfLinkEndsInTheRecursionFailure) {
  const QString file = m_dir.filePath("self.qdx");
  TDicFile dic;
  auto link = std::make_unique<TLink>();
  link->SetFileName(file);
  TLink* own = dic.Links().Add(std::move(link));
  TDicNode* answer = dic.Root().Add(std::make_unique<TDicNode>(nkRequest))->Add(std::make_unique<TDicNode>(nkAnswer));
  answer->Parent()->SetOption(2);
  answer->Value1()->SetKind(vkFunc);
  answer->Value1()->SetFunction(own);
  dic.SaveToFile(file);
  TGenerator g;
  g.SetFileName(file);
  TLineResult r;
  EXPECT_THROW(g.Generate({}, r), ERecursionError);
}

TEST_F(StdFunctions, ParseOfLines) {
  TParse parse;
  int added = 0;
  parse.OnAddItem = [&](TParse&, TParseGroup&, TParseItem&) { ++added; };
  for (const char* e : {"orc", "Orc", "elf"}) parse.Add("race", e);
  parse.Add("", "x");
  TParseGroup& race = *parse.FindGroup(u"RACE");
  ASSERT_EQ(race.Count(), 2);
  EXPECT_EQ(race.Item(0).Element, "orc");
  EXPECT_EQ(race.Item(0).Count, 2u);
  EXPECT_EQ(race.Total(), 3u);
  EXPECT_EQ(race.Highest(), 2u);
  EXPECT_EQ(race.Leader(), 0);
  race.ComputeStats();
  EXPECT_NEAR(race.Item(0).Percent, 66.6667, 1e-3);
  EXPECT_DOUBLE_EQ(race.Item(1).Ratio, 50);
  EXPECT_EQ(added, 3);
  EXPECT_EQ(parse.UnnamedCount(), 1);
  EXPECT_THROW(race.Item(2), EListIndexError);

  TStreamWriter w;
  parse.SaveToStream(w);
  TParse back;
  TStreamReader r(w.Bytes());
  back.LoadFromStream(r);
  EXPECT_TRUE(r.AtEnd());
  ASSERT_EQ(back.GroupCount(), 2);
  EXPECT_EQ(back.Group(0).Item(0).Count, 2u);
  EXPECT_EQ(back.Group(0).Leader(), 0);
  EXPECT_TRUE(back.Group(0).StatsValid());
  EXPECT_EQ(back.Unnamed(), &back.Group(1));

  TParse merged;
  merged.Merge(parse);
  merged.Merge(parse);
  EXPECT_EQ(merged.Group(0).Item(0).Count, 4u);

  const QByteArray bytes = w.Bytes();
  for (qsizetype n = 0; n < bytes.size(); ++n) {
    const QByteArray prefix = bytes.left(n);
    TParse p;
    TStreamReader t(prefix);
    EXPECT_ANY_THROW(p.LoadFromStream(t)) << n;
  }
  QByteArray newer = bytes;
  newer[4] = 1;  // 2.1
  TStreamReader nr(newer);
  EXPECT_THROW(back.LoadFromStream(nr), EWrongVersion);
  // Before 2.0 the elements are those of the unnamed group, as stored.
  TStreamWriter old;
  old.WriteBytes("QAP");
  old.WriteU8(1);
  old.WriteU8(5);
  old.WriteI32(2);
  old.WriteWideText(u"a");
  old.WriteU32(3);
  old.WriteWideText(u"A");
  old.WriteU32(0);
  TParse legacy;
  TStreamReader o(old.Bytes());
  legacy.LoadFromStream(o);
  ASSERT_EQ(legacy.UnnamedCount(), 2);
  EXPECT_EQ(legacy.Unnamed()->Total(), 3u);
  EXPECT_DOUBLE_EQ(legacy.Unnamed()->Item(1).Percent, 0);
}

TEST_F(StdFunctions, AStoppedChildStopsItsCallerAndIsNotCached) {
  const QString linked = Dictionary(R"({"nodes": [{"request": "Word", "children": [
      {"kind": "answer", "value": {"call": "Terminate"}}]}]})");
  TDicFile caller;
  auto link = std::make_unique<TLink>();
  link->SetFileName(linked);
  link->SetCaching(true);
  TLink* own = caller.Links().Add(std::move(link));
  TDicNode* answer = caller.Root().Add(std::make_unique<TDicNode>(nkRequest))->Add(std::make_unique<TDicNode>(nkAnswer));
  answer->Parent()->SetOption(2);
  answer->Value1()->SetKind(vkFunc);
  answer->Value1()->SetFunction(own);
  const QString file = m_dir.filePath("caller.qdx");
  caller.SaveToFile(file);
  TGenerator g;
  g.SetFileName(file);
  bool stopped = false;
  g.OnStop = [&](TGenerator&) { stopped = true; };
  TLineResult r;
  g.Generate({}, r);
  EXPECT_TRUE(stopped);
  EXPECT_FALSE(LinkCache().Find(linked, QString()).has_value());
}
