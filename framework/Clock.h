#pragma once
// The framework's microsecond clock: monotonic, safe on any thread.

#include "framework/ScopedOverride.h"

#include <functional>
#include <memory>

namespace fw {

double Microseconds();

// Blocks the calling thread for about that many microseconds (at least one).
void SleepMicroseconds(double microseconds);

struct ClockSource {
    std::function<double()> now;
    std::function<void(double microseconds)> sleep;
};

// Test seam: replaces the clock process-wide while it lives. Not used by the program.
// Shared, so that a reading copies no functions.
class ScopedClock : ScopedOverride<std::shared_ptr<const ClockSource>> {
public:
    explicit ScopedClock(ClockSource source);
};

}  // namespace fw
