// The microsecond clock and its seam.
#include "framework/Clock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace {

TEST(ClockTest, NeverGoesBackAndASleepLastsAtLeastItsTime) {
    double previous = fw::Microseconds();
    for (int i = 0; i < 1000; ++i) {
        const double now = fw::Microseconds();
        EXPECT_GE(now, previous);
        previous = now;
    }
    const double before = fw::Microseconds();
    fw::SleepMicroseconds(2000.0);
    EXPECT_GE(fw::Microseconds() - before, 2000.0);
}

TEST(ClockTest, SleepsOfNoTimeOrNoNumberReturn) {
    for (const double us : {0.0, -5.0, 0.25, std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::infinity()}) {
        const double before = fw::Microseconds();
        fw::SleepMicroseconds(us);
        EXPECT_GT(fw::Microseconds(), before) << us;
    }
}

TEST(ScopedClockTest, ReplacesReadingAndSleepingWhileItLivesAndNestsInOrder) {
    std::vector<double> slept;
    {
        const fw::ScopedClock outer(
            {[] { return 10.0; }, [&slept](double us) { slept.push_back(us); }});
        EXPECT_EQ(fw::Microseconds(), 10.0);
        {
            const fw::ScopedClock inner({[] { return 20.0; }, nullptr});
            EXPECT_EQ(fw::Microseconds(), 20.0);
            fw::SleepMicroseconds(1.0);  // no sleep of its own: the real one
        }
        EXPECT_EQ(fw::Microseconds(), 10.0);
        fw::SleepMicroseconds(7.0);
    }
    EXPECT_EQ(slept, std::vector<double>{7.0});
    EXPECT_NE(fw::Microseconds(), 10.0);
}

}  // namespace
