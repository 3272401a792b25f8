#include "platform/signal_watch.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <csignal>
#include <vector>

namespace {

TEST(SignalWatch, DeliversEachSignalOnTheEventLoopAndIgnoresDroppedOnes) {
    std::vector<int> received;
    {
        platform::SignalWatch watch({SIGUSR1, SIGUSR2}, [&](int signal) { received.push_back(signal); });
        std::raise(SIGUSR1);
        std::raise(SIGUSR2);
        // Nothing runs inside the signal handler itself.
        EXPECT_TRUE(received.empty());
        QElapsedTimer waited;
        waited.start();
        while (received.size() < 2 && waited.elapsed() < 2000) QCoreApplication::processEvents();
    }
    EXPECT_EQ(received, (std::vector<int>{SIGUSR1, SIGUSR2}));

    platform::IgnoreSignal(SIGUSR1);
    std::raise(SIGUSR1);  // would end the test program if it were not ignored
    std::signal(SIGUSR1, SIG_DFL);
}

// A flood of events that never lets the loop poll (keys typed without
// pause) must not keep a signal waiting: it is acted on with the next event.
TEST(SignalWatch, ActsOnASignalWithTheNextEventDelivered) {
    std::vector<int> received;
    platform::SignalWatch watch({SIGUSR1}, [&](int signal) { received.push_back(signal); });
    std::raise(SIGUSR1);
    QObject receiver;
    QEvent event(QEvent::User);
    QCoreApplication::sendEvent(&receiver, &event);
    EXPECT_EQ(received, (std::vector<int>{SIGUSR1}));
}

}  // namespace
