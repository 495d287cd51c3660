#include "framework/Clock.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <memory>
#include <thread>
#include <utility>

namespace fw {

namespace {

// Null, or empty members: the real clock.
Seam<std::shared_ptr<const ClockSource>> gSource;

// The longest single sleep; callers that wait longer loop on the clock anyway.
constexpr double kLongestSleepMicroseconds = 24.0 * 3600.0 * 1e6;

std::shared_ptr<const ClockSource> Share(ClockSource source) {
    if (!source.now && !source.sleep) {
        return nullptr;
    }
    return std::make_shared<const ClockSource>(std::move(source));
}

double RealMicroseconds() {
    using Microsecond = std::chrono::duration<double, std::micro>;
    return std::chrono::duration_cast<Microsecond>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

void RealSleep(double microseconds) {
    // NaN and anything below one microsecond sleep the shortest time, never not at all.
    const double clamped =
        std::isnan(microseconds) ? 1.0 : std::clamp(microseconds, 1.0, kLongestSleepMicroseconds);
    std::this_thread::sleep_for(
        std::chrono::microseconds(static_cast<std::int64_t>(std::ceil(clamped))));
}

}  // namespace

double Microseconds() {
    const auto source = gSource.Get();
    return source && source->now ? source->now() : RealMicroseconds();
}

void SleepMicroseconds(double microseconds) {
    const auto source = gSource.Get();
    if (source && source->sleep) {
        source->sleep(microseconds);
    } else {
        RealSleep(microseconds);
    }
}

ScopedClock::ScopedClock(ClockSource source) : ScopedOverride(gSource, Share(std::move(source))) {}

}  // namespace fw
