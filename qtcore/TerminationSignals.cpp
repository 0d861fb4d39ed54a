#include "qtcore/TerminationSignals.h"

#include "lists/DataFolder.h"

#include <QObject>
#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <thread>
#include <unistd.h>

namespace vyp {

namespace {

constexpr std::array kTerminationSignals = {SIGTERM, SIGINT};

// The pipe lives as long as the process: a handler may write to it at any moment.
int g_signalPipe[2] = {-1, -1};

void WriteToSignalPipe(int) {
    const int savedErrno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(g_signalPipe[1], &byte, 1);
    errno = savedErrno;
}

void SetTerminationHandler(void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : kTerminationSignals)
        ::sigaction(signal, &action, nullptr);
}

sigset_t TerminationSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : kTerminationSignals)
        sigaddset(&set, signal);
    return set;
}

} // namespace

void HandleTerminationSignals(QObject* owner, std::function<void()> onSignal) {
    if (g_signalPipe[0] < 0 && ::pipe2(g_signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the program still runs; the signals keep their default meaning
    SetTerminationHandler(WriteToSignalPipe);
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, owner);
    // Nobody would read the pipe any more: the signals end the process again.
    QObject::connect(notifier, &QObject::destroyed, [] { SetTerminationHandler(SIG_DFL); });
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [onSignal = std::move(onSignal)] {
                         char bytes[16];
                         while (::read(g_signalPipe[0], bytes, sizeof bytes) > 0) {
                         }
                         onSignal();
                     });
}

void ExitCleanlyOnTerminationSignals() {
    const sigset_t set = TerminationSignalSet();
    // Blocked here and in every thread started later: only the waiting thread receives them.
    ::pthread_sigmask(SIG_BLOCK, &set, nullptr);
    std::thread([set] {
        int signal = 0;
        while (::sigwait(&set, &signal) != 0) {
        }
        RemoveOwnTemporaries();
        std::_Exit(128 + signal);
    }).detach();
}

} // namespace vyp
