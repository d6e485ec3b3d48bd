// Text lists, link calls and the parse: the stores and functions around the interpreter.
#include "engine/Generator.h"
#include "engine/LinkCache.h"
#include "engine/Random.h"
#include "engine/TextFileList.h"
#include "model/DicTextForm.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gs;

namespace {

// A folder with a list of a million lines, made once.
struct TFixture {
  QTemporaryDir dir;
  QString list;
  TFixture() {
    list = dir.filePath(QStringLiteral("words.txt"));
    QFile f(list);
    f.open(QIODevice::WriteOnly);
    QByteArray text;
    for (int i = 0; i < 1000000; ++i) text += "word" + QByteArray::number(i) + "\r\n";
    f.write(text);
  }
  QString Dictionary(const QString& name, const QString& json) {
    TDicFile dic;
    BuildDictionary(ParseJson(json), dir.path(), dic);
    const QString file = dir.filePath(name);
    dic.SaveToFile(file);
    return file;
  }
};

TFixture& Fixture() {
  static TFixture fixture;
  return fixture;
}

void BM_LoadTextList(benchmark::State& state) {
  const QString list = Fixture().list;
  for (auto _ : state) {
    TFileLines lines;
    lines.Load(list);
    benchmark::DoNotOptimize(lines.Count());
  }
}
BENCHMARK(BM_LoadTextList)->Unit(benchmark::kMillisecond);

void GenerateLines(benchmark::State& state, const QString& file) {
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(file);
  RandomSeed(1);
  TLineResult r;
  g.Generate({}, r);  // loads the list once, outside the measure
  for (auto _ : state) {
    g.Generate({}, r);
    benchmark::DoNotOptimize(r.text.size());
  }
  state.counters["lines/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

QString Answer(const QString& value) {
  return QStringLiteral(R"({"nodes": [{"request": "Word", "children": [{"kind": "answer", "value": %1}]}]})").arg(value);
}

void BM_LineIndex(benchmark::State& state) {
  GenerateLines(state, Fixture().Dictionary(QStringLiteral("index.qdx"),
      Answer(QStringLiteral(R"({"call": "Line Index", "args": {"String": "WORD777777", "FileName": "words.txt"}})"))));
}
BENCHMARK(BM_LineIndex);

void BM_RandomLine(benchmark::State& state) {
  GenerateLines(state, Fixture().Dictionary(QStringLiteral("random.qdx"),
      Answer(QStringLiteral(R"({"call": "Random Line", "args": {"FileName": "words.txt"}})"))));
}
BENCHMARK(BM_RandomLine);

// A link to a dictionary of one random syllable; the caller passes a parameter.
void LinkCall(benchmark::State& state, bool caching) {
  TFixture& f = Fixture();
  const QString linked = f.Dictionary(QStringLiteral("linked.qdx"), QStringLiteral(R"({
    "variables": [{"name": "p"}],
    "nodes": [{"request": "Word", "children": [{"kind": "order", "order": "Random", "children": [
      {"kind": "answer", "value": "ka"}, {"kind": "answer", "value": "lo"}, {"kind": "answer", "value": "mir"}]}]}]})"));
  const QString caller = f.Dictionary(caching ? QStringLiteral("cached.qdx") : QStringLiteral("uncached.qdx"),
      QStringLiteral(R"({"links": [{"file": "linked.qdx", "caching": %1, "params": [{"name": "p"}]}],
        "nodes": [{"request": "Word", "children": [{"kind": "answer", "value": {"link": "linked.qdx", "args": {"p": "x"}}}]}]})")
          .arg(caching ? QStringLiteral("true") : QStringLiteral("false")));
  GenerateLines(state, caller);
}
void BM_LinkCallCached(benchmark::State& state) { LinkCall(state, true); }
void BM_LinkCallUncached(benchmark::State& state) { LinkCall(state, false); }
BENCHMARK(BM_LinkCallCached);
BENCHMARK(BM_LinkCallUncached);

// Five elements a line in two groups, and the merge into a run's parse that follows each line.
void BM_ParseElements(benchmark::State& state) {
  QString commands;
  for (int i = 0; i < 5; ++i)
    commands += QStringLiteral(R"({"kind": "command", "value": {"call": "Add Element", "args": {"Ident": "g%1", "String": {"call": "Random", "args": {"Range": "20"}}}}},)")
                    .arg(i % 2);
  const QString file = Fixture().Dictionary(QStringLiteral("parse.qdx"),
      QStringLiteral(R"({"nodes": [{"request": "Word", "children": [%1 {"kind": "answer", "value": "x"}]}]})").arg(commands));
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(file);
  TParse run;
  TLineResult r;
  for (auto _ : state) {
    g.Generate({}, r);
    run.Merge(g.LineParse);
  }
  state.counters["lines/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ParseElements);

} // namespace
