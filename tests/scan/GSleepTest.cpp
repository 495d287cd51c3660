// The pause between addresses: it ends at the first clock reading strictly beyond its deadline,
// sleeping rather than polling in between.
#include "framework/Clock.h"
#include "scan/Global1.h"
#include "tests/support/FakeClock.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace {

TEST(GSleepTest, ReturnsAtTheFirstReadingBeyondTheDeadlineNotAtIt) {
    FakeClock clock(1'000'000.0);
    std::vector<double> slept;
    clock.onSleep([&slept](double us) { slept.push_back(us); });
    Global1::gSleep(500.0);
    // The sleep to the deadline ends exactly at it; that reading does not end the pause.
    EXPECT_EQ(slept, (std::vector<double>{500'000.0, 1.0}));
    EXPECT_EQ(clock.now(), 1'500'001.0);
}

TEST(GSleepTest, EveryReadingShortOfTheDeadlineIsFollowedByOneSleep) {
    const std::vector<double> readings{0.0, 100.0, 499'999.0, 500'000.0, 500'000.5, 1e9};
    std::size_t next = 0;
    std::vector<double> slept;
    const fw::ScopedClock clock(
        {[&] { return readings.at(next++); }, [&slept](double us) { slept.push_back(us); }});
    Global1::gSleep(500.0);
    EXPECT_EQ(next, 5u) << "the start and four readings, the last one beyond the deadline";
    EXPECT_EQ(slept, (std::vector<double>{499'900.0, 1.0, 1.0}));
}

TEST(GSleepTest, NoTimeStillWaitsForALaterReadingAndTheNegativeNone) {
    FakeClock clock(0.0);
    Global1::gSleep(0.0);
    EXPECT_EQ(clock.now(), 1.0);
    Global1::gSleep(-1.0);
    EXPECT_EQ(clock.now(), 1.0);
}

TEST(GSleepTest, NoNumberOfMillisecondsReturnsAtOnceInsteadOfNever) {
    FakeClock clock(0.0);
    Global1::gSleep(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(clock.now(), 0.0);
}

TEST(GSleepTest, OnTheRealClockTheTimeHasPassed) {
    const double start = fw::Microseconds();
    Global1::gSleep(2.0);
    EXPECT_GT(fw::Microseconds() - start, 2000.0);
}

}  // namespace
