// Lines per second of the generator on three kinds of dictionary.
#include "engine/Generator.h"
#include "engine/Random.h"
#include "model/DicTextForm.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gs;

namespace {

const char* kLineOnly = R"({"nodes": [{"request": "Line", "children": [{"kind": "answer", "value": "Black Rock"}]}]})";

// Two words of 2 or 3 syllables drawn from 16, one blank between.
const char kSyllableRequests[] = R"(
  {"request": "Word Count", "children": [{"kind": "answer", "value": "2"}]},
  {"request": "Part Count", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "2"}, {"kind": "answer", "value": "3"}]}]},
  {"request": "Part", "children": [{"kind": "order", "order": "Random", "children": [
    {"kind": "answer", "value": "ka"}, {"kind": "answer", "value": "lo"}, {"kind": "answer", "value": "mir"},
    {"kind": "answer", "value": "an"}, {"kind": "answer", "value": "thal"}, {"kind": "answer", "value": "el"},
    {"kind": "answer", "value": "dor"}, {"kind": "answer", "value": "ri"}, {"kind": "answer", "value": "sa"},
    {"kind": "answer", "value": "ven"}, {"kind": "answer", "value": "gal"}, {"kind": "answer", "value": "os"},
    {"kind": "answer", "value": "bre"}, {"kind": "answer", "value": "nu"}, {"kind": "answer", "value": "ith"},
    {"kind": "answer", "value": "wy"}]}]},
  {"request": "Spacer", "children": [{"kind": "answer", "value": " ", "children": [
    {"kind": "condition", "value": {"call": "Word Index"}, "value2": "1"}]}]})";

const char kNoMore[] = "";

// The syllable words, each reworked by an inset pass that joins "ae" and turns "th" into "þ".
const char kInsetRequests[] = R"(,
  {"request": "Sample Length", "children": [{"kind": "answer", "value": "2"}]},
  {"request": "Inset", "children": [{"kind": "selector", "value": {"call": "Sample"}, "children": [
    {"kind": "case", "value": "ae", "children": [{"kind": "answer", "value": "æ"}]},
    {"kind": "case", "value": "th", "children": [{"kind": "answer", "value": "þ"}]}]}]})";

QString SyllableDictionary(const char* more) {
  return QStringLiteral("{\"nodes\": [") + QString::fromUtf8(kSyllableRequests) + QString::fromUtf8(more) +
         QStringLiteral("]}");
}

void RunLines(benchmark::State& state, const QString& json) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("bench.qdx"));
  {
    TDicFile dic;
    BuildDictionary(ParseJson(json), dir.path(), dic);
    dic.SaveToFile(file);
  }
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(file);
  RandomSeed(1);
  const TNameValues params;
  TLineResult r;
  for (auto _ : state) {
    g.Generate(params, r);
    benchmark::DoNotOptimize(r.text.size());
  }
  state.counters["lines/s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_LineOnly(benchmark::State& state) { RunLines(state, QString::fromUtf8(kLineOnly)); }
void BM_Syllables(benchmark::State& state) { RunLines(state, SyllableDictionary(kNoMore)); }
void BM_Inset(benchmark::State& state) { RunLines(state, SyllableDictionary(kInsetRequests)); }
BENCHMARK(BM_LineOnly);
BENCHMARK(BM_Syllables);
BENCHMARK(BM_Inset);

} // namespace
