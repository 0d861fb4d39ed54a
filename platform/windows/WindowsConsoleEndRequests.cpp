#include "platform/ConsoleEndRequests.h"

#include "platform/windows/WindowsApi.h"

#include <atomic>
#include <csignal>

namespace vyp {

namespace {
std::atomic<void (*)(int)> g_handler{nullptr};

BOOL WINAPI OnControlEvent(DWORD event) {
    void (*handler)(int) = g_handler.load();
    if (handler == nullptr)
        return FALSE; // the system's own handling: the process ends
    handler(event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 128 + SIGINT : 128 + SIGTERM);
    return TRUE;
}
} // namespace

void OnConsoleEndRequest(void (*handler)(int exitStatus)) {
    if (g_handler.exchange(handler) == nullptr)
        ::SetConsoleCtrlHandler(OnControlEvent, TRUE);
}

} // namespace vyp
