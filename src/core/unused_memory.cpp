#include "core/unused_memory.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tolvan {

void release_unused_memory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}

}  // namespace tolvan
