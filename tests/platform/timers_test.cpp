#include "platform/timers.h"

#include <gtest/gtest.h>

namespace {

struct SpeedCase {
    double speed;
    int nominal;
    int expected;
};

TEST(Timers, IntervalsScaleWithTheSpeedFactorAndNeverReachZero) {
    const SpeedCase cases[] = {
        {1.0, 1200, 1200}, {10.0, 1200, 120}, {100.0, 20, 1}, {1000.0, 30, 1},
        {0.0, 500, 500},   {-3.0, 500, 500},  {2.0, 0, 0},
    };
    for (const auto& c : cases) {
        platform::setTimerSpeed(c.speed);
        EXPECT_EQ(platform::scaledInterval(c.nominal), c.expected)
            << "speed " << c.speed << " nominal " << c.nominal;
    }
    platform::setTimerSpeed(1.0);
}

TEST(Timers, MadeTimerCarriesScaledIntervalAndParent) {
    platform::setTimerSpeed(4.0);
    QObject owner;
    QTimer* t = platform::makeTimer(&owner, 2000, true);
    EXPECT_EQ(t->parent(), &owner);
    EXPECT_EQ(t->interval(), 500);
    EXPECT_TRUE(t->isSingleShot());
    platform::setTimerSpeed(1.0);
}

} // namespace
