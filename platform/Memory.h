// Handing memory that the program has freed back to the system. After a large structure was
// built (a tree of a million folders), the blocks it grew through lie free between the ones it
// keeps; the allocator holds on to them until asked.
#pragma once

namespace vyp {

// Returns the free memory of every allocator arena that it can to the system. Takes a few
// milliseconds; call it after building or dropping large structures, not per item.
void ReturnFreedMemory();

} // namespace vyp
