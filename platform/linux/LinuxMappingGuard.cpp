#include "platform/linux/LinuxMappingGuard.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <mutex>
#include <sched.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <unistd.h>

// Why the handler is safe (signal-safety(7), sigaction(2), mmap(2)):
// - It touches nothing but a fixed table of lock-free atomics and a few values set before it was
//   installed: no lock, no allocation, nothing another thread or the interrupted code may hold
//   half-changed.
// - It maps zero pages over the rest of the range with the mmap system call itself, made through
//   syscall(2). POSIX does not list mmap among the async-signal-safe functions, but on Linux it is
//   a plain system call: the kernel takes the process's address-space lock itself and gives it
//   back before returning, so the call cannot meet a lock the interrupted code holds. Calling the
//   kernel directly also passes by any wrapper that does more (AddressSanitizer intercepts mmap).
//   MAP_FIXED replaces the pages of the watched range in one step, and only pages the owner has
//   mapped and not yet unmapped: Forget waits until no handler looks at its slot before the owner
//   unmaps the range, so the handler never maps over memory that another part of the process has
//   been given since.
// - errno is kept as the interrupted code left it.
// - It rescues only faults the kernel reports at an address (si_code BUS_ADRERR: the page behind
//   a mapped address is gone, which is what reading past a file's end or a failed read of its page
//   gives), inside a watched range. Anything else goes to the handler that was there before,
//   called as it asked to be (with or without siginfo), or ends the process as the default action
//   would: the action is set back to the default (sigaction is async-signal-safe) and the signal
//   raised again, to be taken as soon as this handler returns.
// After the handler returns, the faulting read is made again and finds a zero page. The flags and
// mask the earlier handler was installed with are not applied to it again: the usual limit of a
// chained handler.

namespace vyp {

namespace {
// A slot's begin: free, busy while its owner sets it up or forgets it, else a watched range's
// first byte (never 0 or 1, being the start of a page).
constexpr uintptr_t kFree = 0;
constexpr uintptr_t kBusy = 1;

struct Slot {
    std::atomic<uintptr_t> begin{kFree};
    std::atomic<uintptr_t> end{0}; // past the range's last page
    std::atomic<int> looking{0};   // handlers reading the slot right now
    std::atomic<bool> cutShort{false};
};
static_assert(std::atomic<uintptr_t>::is_always_lock_free &&
                  std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free,
              "the handler may use no atomic that takes a lock");

Slot g_slots[MappingGuard::kSlots];
uintptr_t g_pageSize = 4096;   // set before the handler is installed
struct sigaction g_earlier {}; // what handled SIGBUS before, set before ours is installed
std::once_flag g_installed;

// The watched range that address lies in, from address's page to its end, made zero pages: true
// when there was one and that worked.
bool Rescue(uintptr_t address) {
    for (Slot& slot : g_slots) {
        // Sequentially consistent, as in Forget: either Forget sees this handler looking, or this
        // handler sees the slot busy.
        slot.looking.fetch_add(1);
        const uintptr_t begin = slot.begin.load();
        const uintptr_t end = slot.end.load();
        const bool inside = begin > kBusy && address >= begin && address < end;
        bool rescued = false;
        if (inside) {
            const uintptr_t from = address / g_pageSize * g_pageSize;
            const long mapped =
                ::syscall(SYS_mmap, from, end - from, static_cast<long>(PROT_READ),
                          static_cast<long>(MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED), -1L, 0L);
            rescued = mapped != -1;
            if (rescued)
                slot.cutShort.store(true);
        }
        slot.looking.fetch_sub(1);
        if (inside)
            return rescued;
    }
    return false;
}

void PassOn(int signal, siginfo_t* info, void* context) {
    if ((g_earlier.sa_flags & SA_SIGINFO) != 0 && g_earlier.sa_sigaction != nullptr) {
        g_earlier.sa_sigaction(signal, info, context);
        return;
    }
    const auto earlier = g_earlier.sa_handler;
    // Sent by another process and ignored before: ignored still. A fault cannot be ignored.
    if (earlier == SIG_IGN && info != nullptr && info->si_code <= 0)
        return;
    if (earlier != SIG_DFL && earlier != SIG_IGN) {
        earlier(signal);
        return;
    }
    struct sigaction fallback {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    ::sigaction(signal, &fallback, nullptr);
    ::raise(signal); // blocked while this handler runs: it ends the process once it returns
}

void OnBusError(int signal, siginfo_t* info, void* context) {
    const int savedErrno = errno;
    const bool rescued = info != nullptr && info->si_code == BUS_ADRERR &&
                         Rescue(reinterpret_cast<uintptr_t>(info->si_addr));
    errno = savedErrno;
    if (!rescued)
        PassOn(signal, info, context);
}

void Install() {
    g_pageSize = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
    // The earlier handler is read before ours is in place, so that ours never passes a fault on
    // to a handler not yet known.
    ::sigaction(SIGBUS, nullptr, &g_earlier);
    struct sigaction action {};
    action.sa_sigaction = OnBusError;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESTART;
    ::sigaction(SIGBUS, &action, nullptr);
}
} // namespace

int MappingGuard::Watch(const void* base, size_t length) {
    std::call_once(g_installed, Install);
    const auto begin = reinterpret_cast<uintptr_t>(base);
    const uintptr_t end = (begin + length + g_pageSize - 1) / g_pageSize * g_pageSize;
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = g_slots[i];
        uintptr_t free = kFree;
        if (!slot.begin.compare_exchange_strong(free, kBusy))
            continue;
        slot.cutShort.store(false);
        slot.end.store(end);
        slot.begin.store(begin); // the range is watched from here on
        return i;
    }
    return -1;
}

void MappingGuard::Forget(int slot) {
    if (slot < 0 || slot >= kSlots)
        return;
    Slot& s = g_slots[slot];
    s.begin.store(kBusy);
    // A handler that read the range before it was marked busy may still map over it.
    while (s.looking.load() != 0)
        ::sched_yield();
    s.end.store(0);
    s.cutShort.store(false);
    s.begin.store(kFree);
}

bool MappingGuard::CutShort(int slot) {
    return slot >= 0 && slot < kSlots && g_slots[slot].cutShort.load(std::memory_order_acquire);
}

} // namespace vyp
