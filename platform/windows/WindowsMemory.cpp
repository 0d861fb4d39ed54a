#include "platform/Memory.h"

#include <malloc.h>

namespace vyp {

void ReturnFreedMemory() {
    _heapmin(); // the C runtime's heap releases its unused pages
}

} // namespace vyp
