#include "TestSupport.h"

#include "qtcore/TerminationSignals.h"

#include <QObject>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>

namespace vyp {
namespace {

// The desktop program closes its main window in onSignal; here the owner is a plain object, and
// "open" stands for the window being shown.
TEST(TerminationSignals, SigtermAndSigintCloseTheWindowFromTheEventLoop) {
    VYP_LINUX_ONLY("Windows asks a windowed program to end by closing its windows, which Qt "
                   "turns into the user's close; it sends no termination signals");
#ifndef _WIN32
    QObject window;
    bool open = true;
    int closes = 0;
    HandleTerminationSignals(&window, [&] {
        ++closes;
        open = false;
    });
    ASSERT_EQ(::raise(SIGTERM), 0); // the test goes on: the handler only wrote to its pipe
    EXPECT_TRUE(open);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !open; }));
    EXPECT_EQ(closes, 1);
    open = true;
    ASSERT_EQ(::raise(SIGINT), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !open; }));
    EXPECT_EQ(closes, 2);
#endif
}

TEST(TerminationSignals, SignalsMeanWhatTheyAlwaysMeantOnceTheOwnerIsGone) {
    VYP_LINUX_ONLY("no termination signals to hand back");
#ifndef _WIN32
    auto owner = std::make_unique<QObject>();
    HandleTerminationSignals(owner.get(), [] {});
    struct sigaction action {};
    ::sigaction(SIGTERM, nullptr, &action);
    EXPECT_NE(action.sa_handler, SIG_DFL);
    owner.reset();
    ::sigaction(SIGTERM, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
    ::sigaction(SIGINT, nullptr, &action);
    EXPECT_EQ(action.sa_handler, SIG_DFL);
#endif
}

} // namespace
} // namespace vyp
