// A monotonic clock for the engine's time-outs. It is read at every block the generator runs,
// so it is the kernel's coarse clock: a few nanoseconds a read, resolution of a few
// milliseconds, which time-outs in milliseconds can well afford.
#pragma once

#include <QtGlobal>

namespace gs {

qint64 MonotonicMs();

} // namespace gs
