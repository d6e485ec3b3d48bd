// What a generation job adds to the bare Generate, and the session's file and memory at a
// million results.
#include "BenchSupport.h"
#include "engine/GenThread.h"
#include "engine/Generator.h"
#include "engine/Random.h"
#include "shell/DicIniFile.h"
#include "shell/Session.h"

#include <QEventLoop>
#include <benchmark/benchmark.h>
#include <malloc.h>

using namespace gs;

namespace {

constexpr int kLines = 100000;

// The heap in use, in MB.
double HeapMB() {
  return double(mallinfo2().uordblks) / (1024 * 1024);
}

// withListFile: the parameter list that a job passes (it always names the list file).
void Generate100k(benchmark::State& state, bool withListFile) {
  QTemporaryDir dir;
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(SaveDictionary(SyllableDictionary(""), dir));
  RandomSeed(1);
  TNameValues params;
  if (withListFile) params.SetValue(QStringLiteral("ListFile"), QString());
  TLineResult r;
  for (auto _ : state)
    for (int i = 0; i < kLines; ++i) {
      g.Generate(params, r);
      benchmark::DoNotOptimize(r.text.size());
    }
  state.counters["lines/s"] = benchmark::Counter(double(state.iterations()) * kLines, benchmark::Counter::kIsRate);
}

void BM_Generate100k(benchmark::State& state) { Generate100k(state, false); }
void BM_Generate100kWithListFile(benchmark::State& state) { Generate100k(state, true); }

// The same lines through a job: parameter values read per line, results and parse recorded.
void BM_Job100k(benchmark::State& state) {
  QTemporaryDir dir;
  TGenerator g;
  g.Timeout = 1000;
  g.SetFileName(SaveDictionary(SyllableDictionary(""), dir));
  TDicIniFile parameters(dir.filePath(QStringLiteral("Dictionaries.ini")), nullptr);
  parameters.SetDictionary(g.DicFile());
  TSession session;
  RandomSeed(1);
  for (auto _ : state) {
    state.PauseTiming();
    session.Clear();  // the results of the last round are not this round's work
    state.ResumeTiming();
    TJobInputs in;
    in.count = kLines;
    in.storedValues = [&](TNameValues& list) { parameters.ReadAll(list); };
    TGenThread job(g, session, std::move(in), false);
    QEventLoop loop;
    job.OnTerminate = [&](TGenThread&) { loop.quit(); };
    job.Start();
    loop.exec();
    job.wait();
    benchmark::DoNotOptimize(session.ResultCount());
  }
  state.counters["lines/s"] = benchmark::Counter(double(state.iterations()) * kLines, benchmark::Counter::kIsRate);
}

// A session of a million results in memory and in its file.
void FillSession(TSession& session) {
  TParse lineParse;
  lineParse.Add(QStringLiteral("Syllable"), QStringLiteral("ka"));
  for (int i = 0; i < 1000000; ++i) {
    auto line = std::make_unique<TColLine>();
    line->SetText(QStringLiteral("Kalomir Anthal %1").arg(i));
    session.AddResult(std::move(line), lineParse, 46000.0, 46000.0);
  }
}

void BM_Session1MSave(benchmark::State& state) {
  const double before = HeapMB();
  TSession session;
  FillSession(session);
  state.counters["MB"] = HeapMB() - before;
  QTemporaryDir dir;
  for (auto _ : state) session.SaveToFile(dir.filePath(QStringLiteral("s.qgs")));
}

void BM_Session1MLoad(benchmark::State& state) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("s.qgs"));
  {
    TSession session;
    FillSession(session);
    session.SaveToFile(file);
  }
  const double before = HeapMB();
  TSession session;
  for (auto _ : state) session.LoadFromFile(file);
  state.counters["MB"] = HeapMB() - before;
}

BENCHMARK(BM_Generate100k)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generate100kWithListFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Job100k)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Session1MSave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Session1MLoad)->Unit(benchmark::kMillisecond);

} // namespace
