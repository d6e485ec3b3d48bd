#include "engine/EngineTestSupport.h"
#include "ProgramRun.h"
#include "FileSupport.h"
#include "platform/Paths.h"
#include "shell/Commands.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace gs;

namespace {


const char* kRandom = R"({"nodes": [
    {"request": "Word", "children": [{"kind": "order", "order": "Random", "children": [
      {"kind": "answer", "value": "a"}, {"kind": "answer", "value": "b"}, {"kind": "answer", "value": "c"},
      {"kind": "answer", "value": "d"}]}]},
    {"request": "Rating", "children": [{"kind": "answer", "value": "3"}]},
    {"request": "Group", "children": [{"kind": "answer", "value": "G"}]},
    {"request": "Checked", "children": [{"kind": "answer", "value": "True"}]}]})";

} // namespace

using GenerateCommand = TEngineTest;

TEST_F(GenerateCommand, LinesSeedsAndFormats) {
  const QString dic = Dictionary(kRandom);
  const TRun a = RunProgram({"generate", dic, "-n", "40", "--seed", "17"});
  ASSERT_EQ(a.status, 0) << a.err.toStdString();
  EXPECT_EQ(a.out.count(u'\n'), 40);
  EXPECT_EQ(RunProgram({"generate", "--seed=17", dic, "--count", "40"}).out, a.out);  // one seed, one output
  EXPECT_NE(RunProgram({"generate", dic, "-n", "40", "--seed", "18"}).out, a.out);

  const TRun tsv = RunProgram({"generate", dic, "-n", "2", "--format", "tsv"});
  EXPECT_TRUE(tsv.out.split(u'\n').front().endsWith(u"\t3\tG\t1")) << tsv.out.toStdString();
  const TRun json = RunProgram({"generate", dic, "-n", "3", "--format", "json"});
  const QJsonArray lines = QJsonDocument::fromJson(json.out.toUtf8()).array();
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0].toObject()["rating"].toInt(), 3);
  EXPECT_EQ(lines[0].toObject()["group"].toString(), "G");
  EXPECT_TRUE(lines[0].toObject()["checked"].toBool());
  EXPECT_EQ(lines[0].toObject()["text"].toString().size(), 1);
}

// The lines are printed while the job still runs: every result once, in the session's order,
// with the same fields as the results kept.
TEST_F(GenerateCommand, PrintsEveryResultOnceInOrder) {
  QTemporaryDir home;
  const TRun run = RunProgramIn(home.path(), {"generate", Dictionary(kRandom), "-n", "30000", "--format", "tsv"});
  ASSERT_EQ(run.status, 0) << run.err.toStdString();
  const TRun dump = RunProgram({"dump", QDir(home.path()).filePath("Session.qgs")});
  const QJsonArray results = QJsonDocument::fromJson(dump.out.toUtf8()).object()["results"].toObject()["lines"].toArray();
  QStringList printed = run.out.split(u'\n');
  ASSERT_EQ(printed.takeLast(), "");
  ASSERT_EQ(printed.size(), 30000);
  ASSERT_EQ(results.size(), printed.size());
  for (int i = 0; i < printed.size(); ++i)
    ASSERT_EQ(printed[i], results[i].toObject()["text"].toString() + "\t3\tG\t1") << "line " << i;
}

TEST_F(GenerateCommand, ParametersOverDefaults) {
  const QString dic = Dictionary(R"({
    "variables": [{"name": "Race", "options": {"default": "elf"}}],
    "nodes": [{"request": "Word", "children": [{"kind": "answer", "value": {"call": "Variable", "args": {"Ident": "race"}}}]}]})");
  EXPECT_EQ(RunProgram({"generate", dic, "-n", "1"}).out, "elf\n");
  EXPECT_EQ(RunProgram({"generate", dic, "-n", "1", "-p", "RACE=dwarf"}).out, "dwarf\n");
  EXPECT_EQ(RunProgram({"generate", dic, "-n", "1", "-p", "bad"}).status, exitUsage);
}

TEST_F(GenerateCommand, FailuresAndExitStatus) {
  const QString failing = Dictionary(R"({"nodes": [{"request": "Word Count", "children": [
      {"kind": "answer", "value": {"call": "Line"}}]}]})");
  const TRun failed = RunProgram({"generate", failing, "-n", "2", "--tries", "2"});
  EXPECT_EQ(failed.status, exitPartial);
  EXPECT_TRUE(failed.out.isEmpty());
  EXPECT_EQ(failed.err.count(u"raised generation time error."), 4);  // two tries of two lines
  EXPECT_TRUE(failed.err.contains(u"Illegal answer \"Line\" for the request \"Word Count\": value \"\" is not a valid integer.\n  Word Count\n  Line\n"))
      << failed.err.toStdString();

  const QString looping = Dictionary(R"({"nodes": [{"request": "Word", "children": [{"kind": "order", "order": "Loop", "children": [
      {"kind": "answer", "value": "no", "children": [{"kind": "condition", "value": "1", "value2": "2"}]}]}]}]})");
  const TRun timedOut = RunProgram({"generate", looping, "-n", "1", "--tries", "2", "--timeout", "20"});
  EXPECT_EQ(timedOut.status, exitPartial);
  EXPECT_TRUE(timedOut.out.isEmpty());
  EXPECT_TRUE(timedOut.err.isEmpty());  // a time-out fails the try silently

  const TRun missing = RunProgram({"generate", m_dir.filePath("none.qdx")});
  EXPECT_EQ(missing.status, exitFileError);
  EXPECT_EQ(missing.err, "File \"none.qdx\" was not found. Make sure the filename is correct.\n");
  EXPECT_EQ(RunProgram({"generate", m_dir.filePath("none.qdx"), "--format", "xml"}).status, exitUsage);
  EXPECT_EQ(RunProgram({"generate"}).status, exitUsage);
}

TEST_F(GenerateCommand, ParseOfTheRun) {
  const QString dic = Dictionary(R"({"nodes": [{"request": "Word", "children": [
      {"kind": "command", "value": {"call": "Add Element", "args": {"Ident": "race", "String": "orc"}}},
      {"kind": "answer", "value": "x"}]}]})");
  const TRun run = RunProgram({"generate", dic, "-n", "3", "--parse"});
  ASSERT_EQ(run.status, 0);
  const QJsonArray groups = QJsonDocument::fromJson(run.err.toUtf8()).array();
  ASSERT_EQ(groups.size(), 1);
  EXPECT_EQ(groups[0].toObject()["group"].toString(), "race");
  const QJsonObject orc = groups[0].toObject()["elements"].toArray()[0].toObject();
  EXPECT_EQ(orc["count"].toInt(), 3);
  EXPECT_EQ(orc["percent"].toDouble(), 100);
}

TEST_F(GenerateCommand, SessionsAppendAndSummary) {
  const QString dic = Dictionary(kRandom);
  QTemporaryDir home;
  const TRun first = RunProgramIn(home.path(), {"generate", dic, "-n", "5"});
  ASSERT_EQ(first.status, 0) << first.err.toStdString();
  const TRun more = RunProgramIn(home.path(), {"generate", dic, "-n", "3", "--append", "--summary", "--session", m_dir.filePath("s.qgs")});
  EXPECT_EQ(more.out.count(u'\n'), 3);  // only the new lines are printed
  EXPECT_TRUE(more.err.contains(u"Amount: 8 (remaining 0 of 8)")) << more.err.toStdString();
  EXPECT_TRUE(more.err.contains(u"Generated: 8"));
  EXPECT_TRUE(more.err.contains(u"Checked: 8"));
  EXPECT_TRUE(QFileInfo::exists(m_dir.filePath("s.qgs")));
  // Without --append the stored session starts afresh.
  const TRun fresh = RunProgramIn(home.path(), {"generate", dic, "-n", "2", "--summary"});
  EXPECT_TRUE(fresh.err.contains(u"Generated: 2")) << fresh.err.toStdString();
}

TEST_F(GenerateCommand, ParametersOfTheCommandLineAreNotStored) {
  const QString dic = Dictionary(R"({
    "variables": [{"name": "Race", "options": {"default": "elf"}}],
    "nodes": [{"request": "Word", "children": [{"kind": "answer", "value": {"call": "Variable", "args": {"Ident": "race"}}}]}]})");
  QTemporaryDir home;
  WriteFile(home.filePath("Dictionaries.ini"), ("[" + MakeRelative(home.path() + "/", dic) + "]\nRace=orc\n").toUtf8());
  EXPECT_EQ(RunProgramIn(home.path(), {"generate", dic, "-n", "1"}).out, "orc\n");  // the stored value
  EXPECT_EQ(RunProgramIn(home.path(), {"generate", dic, "-n", "1", "-p", "Race=troll"}).out, "troll\n");
  EXPECT_EQ(RunProgramIn(home.path(), {"generate", dic, "-n", "1"}).out, "orc\n");
}

TEST_F(GenerateCommand, ListModeKeepsTheListOrder) {
  const QString dic = Dictionary(R"({"variables": [{"name": "String"}],
    "nodes": [{"request": "Line", "children": [{"kind": "answer", "value": {"call": "Concat", "args": {
      "String1": {"call": "Variable", "args": {"Ident": "String"}}, "String2": "!"}}}]}]})");
  WriteFile(m_dir.filePath("words.txt"), "zeta\nalpha\nmu\n");
  const TRun run = RunProgram({"generate", dic, "--list", m_dir.filePath("words.txt")});
  EXPECT_EQ(run.out, "zeta!\nalpha!\nmu!\n");
  EXPECT_EQ(RunProgram({"generate", dic, "--list", m_dir.filePath("none.txt")}).status, exitFileError);
}

TEST_F(GenerateCommand, UniqueLines) {
  const QString dic = Dictionary(R"({"nodes": [{"request": "Line", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "a"}, {"kind": "answer", "value": "A"}, {"kind": "answer", "value": "b"}]}]}]})");
  const TRun run = RunProgram({"generate", dic, "-n", "5", "--unique", "--tries", "300"});
  QStringList lines = run.out.split(u'\n', Qt::SkipEmptyParts);
  EXPECT_EQ(lines.size(), 2);
  EXPECT_EQ(lines.filter(QRegularExpression("^[aA]$")).size(), 1);
  EXPECT_TRUE(run.err.trimmed().endsWith(u"only 2 distinct lines could be generated")) << run.err.toStdString();
  EXPECT_EQ(run.status, exitOk);  // duplicates are no failure
  EXPECT_EQ(RunProgram({"generate", dic, "-n", "2", "--unique", "--tries", "300", "--seed", "1"}).err, "");
}
