// Keeps a file cut short in place by another program (truncated, saved over by an editor, a sync
// tool) from ending the process while the file's mapped bytes are read. Reading a mapped page past
// a file's new end raises SIGBUS; the guard's handler, installed when the first mapping is
// registered, replaces the rest of a registered mapping with zero pages, notes the mapping as cut
// short and lets the read go on. The owner of the mapping asks CutShort() where it hands bytes on
// and treats the file as changed. A SIGBUS anywhere else goes to the handler that was there
// before, or ends the process as it would have.
#pragma once

#include <cstddef>

namespace vyp {

class MappingGuard {
public:
    // Watches the mapping [base, base + length), base the start of a page: its slot, or -1 when
    // every slot is taken (the caller then reads the file rather than map it).
    static int Watch(const void* base, size_t length);
    // Stops watching slot before the caller unmaps its range; -1 is no slot. No handler touches
    // the range once this returns.
    static void Forget(int slot);
    // Whether a read past the file's end met the mapping in slot: its bytes from there on are
    // zeros, not the file's.
    static bool CutShort(int slot);

    // How many mappings can be watched at once: every reader holds one or two at a time.
    static constexpr int kSlots = 256;
};

} // namespace vyp
