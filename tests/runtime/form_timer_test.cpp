#include "runtime/form_timer.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

using platform::EffectivePeriodMs;
using platform::FormTimer;

namespace {
void runEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}
}  // namespace

TEST(FormTimer, IntervalsRoundUpToWholeTicksOfTheOriginalClock) {
    EXPECT_EQ(EffectivePeriodMs(0), 0);
    EXPECT_EQ(EffectivePeriodMs(-5), 0);
    EXPECT_EQ(EffectivePeriodMs(1), 15.625);
    EXPECT_EQ(EffectivePeriodMs(16), 31.25);
    EXPECT_EQ(EffectivePeriodMs(250), 250);
}

TEST(FormTimer, AOneMillisecondTimerTicksAtMostSixtyFourTimesASecond) {
    int ticks = 0;
    FormTimer timer([&] { ++ticks; }, 1);
    timer.setEnabled(true);
    runEventsFor(250);
    timer.setEnabled(false);
    EXPECT_GE(ticks, 5);
    EXPECT_LE(ticks, 17);
}

TEST(FormTimer, AnIntervalOfZeroNeverTicks) {
    int ticks = 0;
    FormTimer never([&] { ++ticks; }, 0);
    never.setEnabled(true);
    runEventsFor(60);
    EXPECT_EQ(ticks, 0);
}
