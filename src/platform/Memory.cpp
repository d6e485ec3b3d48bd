#include "platform/Memory.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

namespace gs {

void TuneAllocator() {
#if defined(__GLIBC__) && defined(M_ARENA_MAX)
  mallopt(M_ARENA_MAX, 1);
  mallopt(M_TOP_PAD, 16 << 20);
#endif
}

} // namespace gs
