// Lines per second of the generator on three kinds of dictionary.
#include "engine/Generator.h"
#include "engine/Random.h"
#include "BenchSupport.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace gs;

namespace {

const char* kLineOnly = R"({"nodes": [{"request": "Line", "children": [{"kind": "answer", "value": "Black Rock"}]}]})";

const char kNoMore[] = "";

// The syllable words, each reworked by an inset pass that joins "ae" and turns "th" into "þ".
const char kInsetRequests[] = R"(,
  {"request": "Sample Length", "children": [{"kind": "answer", "value": "2"}]},
  {"request": "Inset", "children": [{"kind": "selector", "value": {"call": "Sample"}, "children": [
    {"kind": "case", "value": "ae", "children": [{"kind": "answer", "value": "æ"}]},
    {"kind": "case", "value": "th", "children": [{"kind": "answer", "value": "þ"}]}]}]})";

void RunLines(benchmark::State& state, const QString& json) {
  QTemporaryDir dir;
  const QString file = SaveDictionary(json, dir);
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
