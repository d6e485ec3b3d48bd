// The process-wide random source that every random choice of the program uses. One seed
// always gives one sequence: state := state * 134775813 + 1 (mod 2^32), and Random(n) is the
// high half of the 64-bit product state * n.
#pragma once

#include <QtGlobal>

namespace gs {

void RandomSeed(quint32 state);
quint32 RandomState();
// Seeds once from the clock (a high-resolution count).
void RandomSeedFromClock();
// A value in 0..n-1; 0 when n is 0.
quint32 Random(quint32 n);

} // namespace gs
