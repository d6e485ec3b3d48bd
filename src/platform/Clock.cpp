#include "platform/Clock.h"

#include <ctime>

namespace gs {

qint64 MonotonicMs() {
  timespec ts{};
#ifdef CLOCK_MONOTONIC_COARSE
  clock_gettime(CLOCK_MONOTONIC_COARSE, &ts);
#else
  clock_gettime(CLOCK_MONOTONIC, &ts);
#endif
  return qint64(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

} // namespace gs
