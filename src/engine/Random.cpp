#include "engine/Random.h"

#include <atomic>
#include <chrono>

namespace gs {
namespace {
// One generation thread draws at a time; relaxed order is all a draw needs.
std::atomic<quint32> g_state{0};
} // namespace

void RandomSeed(quint32 state) {
  g_state.store(state, std::memory_order_relaxed);
}

quint32 RandomState() {
  return g_state.load(std::memory_order_relaxed);
}

void RandomSeedFromClock() {
  const auto ticks = std::chrono::high_resolution_clock::now().time_since_epoch().count();
  RandomSeed(quint32(ticks));
}

quint32 Random(quint32 n) {
  const quint32 s = g_state.load(std::memory_order_relaxed) * 134775813u + 1u;
  g_state.store(s, std::memory_order_relaxed);
  return quint32((quint64(s) * n) >> 32);
}

} // namespace gs
