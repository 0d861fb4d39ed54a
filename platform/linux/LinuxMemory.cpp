#include "platform/Memory.h"

#include <malloc.h>

namespace vyp {

void ReturnFreedMemory() {
    // glibc keeps freed blocks in its arenas (one per thread that allocated); malloc_trim also
    // gives back whole free pages in the middle of them, not only at the top.
    malloc_trim(0);
}

} // namespace vyp
