#include "model/DicTextForm.h"
#include "model/OldDictionary.h"

#include <QFile>
#include "ProgramRun.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace gs;

namespace {


// The bytes of build(dump(dic)).
QByteArray Rebuilt(const TDicFile& dic, const QString& folder = "/dics/") {
  TDicFile built;
  BuildDictionary(ParseJson(DumpDictionary(dic, folder)), folder, built);
  return Saved(built, folder);
}

QString BuildError(const char* json) {
  try {
    TDicFile dic;
    BuildDictionary(ParseJson(QString::fromUtf8(json)), "/dics/", dic);
  } catch (const ETextForm& e) {
    return e.Text();
  }
  return QStringLiteral("no error");
}

std::unique_ptr<TDicFile> Built(const char* json) {
  auto dic = std::make_unique<TDicFile>();
  BuildDictionary(ParseJson(QString::fromUtf8(json)), "/dics/", *dic);
  return dic;
}

QString Fixture(const char* name) {
  return QStringLiteral(GLOSSMITH_TEST_DATA "/") + QString::fromUtf8(name);
}

} // namespace

TEST(DicTextForm, BuildOfDumpGivesTheSameBytes) {
  // Files saved by the program from every version branch.
  const std::pair<quint8, TVersion> versions[] = {{1, {1, 0}}, {2, {2, 0}}, {2, {2, 3}}};
  for (const auto& [fv, v] : versions) {
    TDicFile old;
    TOldDictionary writer(fv, v);
    const QByteArray bytes = writer.Bytes();
    TStreamReader r(bytes);
    old.LoadFromStream(r, "/dics/");
    TDicFile saved;
    const QByteArray savedBytes = Saved(old);
    TStreamReader s(savedBytes);
    saved.LoadFromStream(s, "/dics/");
    EXPECT_EQ(Rebuilt(saved), savedBytes) << v.ToString().toStdString();
  }
  // The hand-written fixture with every node kind, variables of each style and a link.
  QFile fixture(Fixture("elves.json"));
  ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
  TDicFile elves;
  BuildDictionary(ParseJson(QString::fromUtf8(fixture.readAll())), "/dics/", elves);
  const QByteArray first = Saved(elves);
  TDicFile loaded;
  TStreamReader r(first);
  loaded.LoadFromStream(r, "/dics/");
  EXPECT_EQ(Rebuilt(loaded), first);
}

TEST(DicTextForm, HandWrittenForms) {
  const std::unique_ptr<TDicFile> built = Built(R"({
    "guid": "{00112233-4455-6677-8899-AABBCCDDEEFF}",
    "title": "T",
    "nodes": [
      {"request": 2, "children": [
        {"kind": "ANSWER", "value": {"text": "x"}, "children": [
          {"kind": "condition", "value": {"call": 74}, "sign": 10, "value2": "a"},
          {"kind": "condition", "value": {"call": "word"}, "sign": "<?'>"}
        ]},
        {"kind": "selector", "value": {"call": 99}, "children": [{"kind": "case"}]}
      ]},
      {"kind": "request", "request": "line separation"}
    ]})");
  const TDicFile& dic = *built;
  EXPECT_EQ(GuidToString(dic.Info().Guid()), "{00112233-4455-6677-8899-AABBCCDDEEFF}");
  const TDicNode& word = dic.Root().Child(0);
  EXPECT_EQ(word.Option(), 2);
  const TDicNode& answer = word.Child(0);
  EXPECT_EQ(answer.Value1()->Text(), "x");
  EXPECT_EQ(answer.Child(0).Option(), 10);
  EXPECT_EQ(answer.Child(0).Value1()->Function()->Id(), 74);
  EXPECT_EQ(answer.Child(1).Option(), 18);
  EXPECT_EQ(word.Child(1).Value1()->Function()->Id(), 30);  // the old Word Scheme, converted
  EXPECT_EQ(dic.Root().Child(1).Option(), 5);
  EXPECT_TRUE(dic.HasRequest(2));
}

TEST(DicTextForm, FaultsNameTheirPath) {
  struct Case {
    const char* json;
    const char* error;
  };
  const Case cases[] = {
      {R"([])", "expected an object"},
      {R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": {"call": "Concatt"}}]}]})",
       "nodes[0].children[0].value.call: unknown function \"Concatt\""},
      {R"({"nodes": [{"request": "Word", "children": [{"kind": "command", "value": {"call": 7}}]}]})",
       "nodes[0].children[0].value.call: unknown function 7"},
      {R"({"nodes": [{"request": "Wordd"}]})", "nodes[0].request: unknown request \"Wordd\""},
      {R"({"nodes": [{"kind": "answer"}]})", "nodes[0]: a root cannot contain an answer"},
      {R"({"nodes": [{"request": 0, "children": [{"kind": "condition"}]}]})",
       "nodes[0].children[0]: a request cannot contain a condition"},
      {R"({"nodes": [{"kind": "request", "request": 0, "order": "Loop"}]})", "nodes[0].order: a request has no order"},
      {R"({"nodes": [{"request": 0, "childern": []}]})", "nodes[0].childern: unknown key \"childern\""},
      {R"({"nodes": [{"value": "x"}]})", "nodes[0]: missing \"kind\""},
      {R"({"nodes": [{"request": 0, "children": [{"kind": "selector", "sign": "=="}]}]})",
       "nodes[0].children[0].sign: unknown sign \"==\""},
      {R"({"nodes": [{"request": 300}]})", "nodes[0].request: expected a whole number from 0 to 255"},
      {R"({"nodes": [{"request": 0, "children": [{"kind": "answer", "value": {"call": "Concat", "args": {"Strin": "a"}}}]}]})",
       "nodes[0].children[0].value.args.Strin: the function has no parameter \"Strin\""},
      {R"({"nodes": [{"request": 0, "children": [{"kind": "answer", "value": {"link": "none.qdx"}}]}]})",
       "nodes[0].children[0].value.link: no link to \"none.qdx\""},
      {R"({"variables": [{"title": "x"}]})", "variables[0]: missing \"name\""},
      {R"({"variables": [{"name": "x", "options": {"style": "integer", "filter": "a"}}]})",
       "variables[0].options.filter: unknown key \"filter\""},
      {R"({"variables": [{"name": "x", "options": {"style": "dial"}}]})",
       "variables[0].options.style: unknown style \"dial\""},
      {R"({"title": {"english": "x"}})", "title.english: a language is a number from 0 to 65535"},
      {R"({"guid": "nonsense"})", "guid: not a GUID"},
      {R"({"type": "collection"})", "type: this is no dictionary"},
      {R"({"blocked": 1})", "blocked: expected true or false"},
  };
  for (const Case& c : cases) EXPECT_EQ(BuildError(c.json), QString::fromUtf8(c.error)) << c.json;
}

TEST(DicTextForm, DeepDocumentsAreRefused) {
  QString json = QStringLiteral(R"({"nodes": [{"request": 0, "children": [)");
  const int depth = 1200;
  for (int i = 0; i < depth; ++i) json += QStringLiteral(R"({"kind": "order", "children": [)");
  json += QStringLiteral(R"({"kind": "answer"})");
  for (int i = 0; i < depth; ++i) json += QStringLiteral("]}");
  json += QStringLiteral("]}]}");
  TDicFile dic;
  try {
    BuildDictionary(ParseJson(json), "/dics/", dic);
    FAIL();
  } catch (const ETextForm& e) {
    EXPECT_EQ(e.Message(), "nested too deeply");
  }
  EXPECT_THROW(ParseJson(QString(100000, u'[')), EJsonSyntax);
}

TEST(DicTextForm, CommandLine) {
  QTemporaryDir dir;
  const auto run = [](const QStringList& args, QString* err = nullptr, QByteArray* out = nullptr) {
    const TRun r = RunProgram(args);
    if (err) *err = r.err;
    if (out) *out = r.out.toUtf8();
    return r.status;
  };
  const QString qdx = dir.filePath("elves.qdx");
  ASSERT_EQ(run({"build", Fixture("elves.json"), "-o", qdx}), 0);
  QByteArray dumped;
  ASSERT_EQ(run({"dump", qdx}, nullptr, &dumped), 0);
  const QString json = dir.filePath("again.json");
  QFile f(json);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(dumped);
  f.close();
  ASSERT_EQ(run({"build", json, "--output", dir.filePath("again.qdx")}), 0);
  QFile a(qdx), b(dir.filePath("again.qdx"));
  ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
  EXPECT_EQ(a.readAll(), b.readAll());

  QFile bad(dir.filePath("bad.json"));
  ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
  bad.write(R"({"nodes": [{"request": 0, "children": [{"kind": "answer", "value": {"call": "Concatt"}}]}]})");
  bad.close();
  QString err;
  EXPECT_EQ(run({"build", dir.filePath("bad.json"), "-o", dir.filePath("bad.qdx")}, &err), 3);
  EXPECT_EQ(err, "bad.json: nodes[0].children[0].value.call: unknown function \"Concatt\"\n");
  EXPECT_FALSE(QFile::exists(dir.filePath("bad.qdx")));
  QFile syntax(dir.filePath("syntax.json"));
  ASSERT_TRUE(syntax.open(QIODevice::WriteOnly));
  syntax.write("{\n  \"title\": x\n}");
  syntax.close();
  EXPECT_EQ(run({"build", dir.filePath("syntax.json")}, &err), 3);
  EXPECT_EQ(err, "syntax.json:2:12: unexpected character\n");
  EXPECT_EQ(run({"dump", dir.filePath("none.qdx")}, &err), 3);
  EXPECT_EQ(err, "File \"none.qdx\" was not found. Make sure the filename is correct.\n");
}

TEST(DicTextForm, FixturesAreBuiltByTheBuild) {
  TDicFile dic;
  dic.LoadFromFile(QStringLiteral(GLOSSMITH_BUILT_DATA "/elves.qdx"));
  EXPECT_EQ(dic.Info().Title().EnglishText(), "Elven names");
  EXPECT_EQ(dic.Info().Variables().Count(), 4);
  EXPECT_EQ(dic.Links().Link(0)->FileName(), QStringLiteral(GLOSSMITH_BUILT_DATA "/places.qdx"));
  EXPECT_TRUE(dic.HasRequest(42));
}
