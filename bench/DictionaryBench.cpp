// Loading and saving a dictionary of 100,000 nodes.
#include "model/DicFiles.h"

#include <benchmark/benchmark.h>

using namespace gs;

namespace {

// 1,000 requests, each a random block of 24 answers with 3 conditions in 24 of them and a
// call in every answer's condition: 100,000 nodes or so.
std::unique_ptr<TDicFile> MakeDictionary() {
  auto dic = std::make_unique<TDicFile>();
  int nodes = 0;
  for (int r = 0; nodes < 100000; ++r) {
    auto request = std::make_unique<TDicNode>(nkRequest);
    request->SetOption(quint8(r % 50));
    TDicNode* order = request->Add(std::make_unique<TDicNode>(nkOrder));
    nodes += 2;
    for (int a = 0; a < 24; ++a) {
      TDicNode* answer = order->Add(std::make_unique<TDicNode>(nkAnswer));
      answer->Value1()->SetText(QStringLiteral("syllable%1").arg(a));
      TDicNode* condition = answer->Add(std::make_unique<TDicNode>(nkCondition));
      condition->Value1()->SetFunction(StdFuncs().Get(18));
      condition->Value1()->Arg(0).SetKind(vkFunc);
      condition->Value1()->Arg(0).SetFunction(StdFuncs().Get(74));
      condition->SetOption(6);
      condition->Value2()->SetText(QStringLiteral("a"));
      nodes += 2;
    }
    dic->Root().Add(std::move(request));
  }
  return dic;
}

QByteArray Bytes(const TDicFile& dic) {
  TStreamWriter w;
  dic.SaveToStream(w, QStringLiteral("/bench/"));
  return w.Bytes();
}

void BM_LoadDictionary(benchmark::State& state) {
  const QByteArray bytes = Bytes(*MakeDictionary());
  for (auto _ : state) {
    auto dic = std::make_unique<TDicFile>();
    TStreamReader r(bytes);
    dic->LoadFromStream(r, QStringLiteral("/bench/"));
    benchmark::DoNotOptimize(dic->Root().Count());
    state.PauseTiming();  // freeing is measured on its own below
    dic.reset();
    state.ResumeTiming();
  }
  state.counters["bytes"] = double(bytes.size());
}
BENCHMARK(BM_LoadDictionary)->Unit(benchmark::kMillisecond);

void BM_FreeDictionary(benchmark::State& state) {
  const QByteArray bytes = Bytes(*MakeDictionary());
  for (auto _ : state) {
    state.PauseTiming();
    auto dic = std::make_unique<TDicFile>();
    TStreamReader r(bytes);
    dic->LoadFromStream(r, QStringLiteral("/bench/"));
    state.ResumeTiming();
    dic.reset();
  }
}
BENCHMARK(BM_FreeDictionary)->Unit(benchmark::kMillisecond);

void BM_SaveDictionary(benchmark::State& state) {
  const auto dic = MakeDictionary();
  for (auto _ : state) benchmark::DoNotOptimize(Bytes(*dic).size());
}
BENCHMARK(BM_SaveDictionary)->Unit(benchmark::kMillisecond);

} // namespace
