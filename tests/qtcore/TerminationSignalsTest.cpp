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
}

TEST(TerminationSignals, SignalsMeanWhatTheyAlwaysMeantOnceTheOwnerIsGone) {
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
}

} // namespace
} // namespace vyp
