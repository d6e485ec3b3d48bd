// Saving, loading and cleaning a collection of a million lines.
#include "documents/ColFiles.h"

#include <benchmark/benchmark.h>

using namespace gs;

namespace {

// A million lines in 20 groups, every third one a repeat of an earlier text in other letters.
std::unique_ptr<TColFile> MakeCollection() {
  auto col = std::make_unique<TColFile>();
  for (int i = 0; i < 1000000; ++i) {
    auto line = std::make_unique<TColLine>();
    line->SetText(i % 3 == 2 ? QStringLiteral("NAME%1").arg(i / 2) : QStringLiteral("name%1").arg(i));
    line->SetGroup(QStringLiteral("group%1").arg(i % 20));
    line->SetRating(quint8(i % 6));
    col->Add(std::move(line));
  }
  return col;
}

QByteArray Bytes(const TColFile& col) {
  TStreamWriter w;
  col.SaveToStream(w, QStringLiteral("/bench/"));
  return w.Bytes();
}

void BM_SaveCollection(benchmark::State& state) {
  const auto col = MakeCollection();
  for (auto _ : state) benchmark::DoNotOptimize(Bytes(*col).size());
}
BENCHMARK(BM_SaveCollection)->Unit(benchmark::kMillisecond);

void BM_LoadCollection(benchmark::State& state) {
  const QByteArray bytes = Bytes(*MakeCollection());
  for (auto _ : state) {
    auto col = std::make_unique<TColFile>();
    TStreamReader r(bytes);
    col->LoadFromStream(r, QStringLiteral("/bench/"));
    benchmark::DoNotOptimize(col->Count());
    state.PauseTiming();
    col.reset();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_LoadCollection)->Unit(benchmark::kMillisecond);

// withSubscriber: the removed lines go one by one to a keeper, as to the undo history.
void RemoveDuplicates(benchmark::State& state, bool withSubscriber) {
  std::vector<std::unique_ptr<TColLine>> kept;
  for (auto _ : state) {
    state.PauseTiming();
    auto col = MakeCollection();
    kept.clear();
    kept.reserve(size_t(col->Count()));
    if (withSubscriber)
      col->OnLineDelete = [&](TColFile&, TColLine&) {
        kept.emplace_back();
        return &kept.back();
      };
    state.ResumeTiming();
    col->RemoveDuplicates();
    benchmark::DoNotOptimize(col->Count());
    state.PauseTiming();
    col.reset();
    state.ResumeTiming();
  }
}
void BM_RemoveDuplicates(benchmark::State& state) { RemoveDuplicates(state, false); }
void BM_RemoveDuplicatesToUndo(benchmark::State& state) { RemoveDuplicates(state, true); }
BENCHMARK(BM_RemoveDuplicates)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_RemoveDuplicatesToUndo)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace
