#pragma once
// The framework's microsecond clock: monotonic, safe on any thread.

#include <functional>

namespace fw {

double Microseconds();

// Blocks the calling thread for about that many microseconds (at least one).
void SleepMicroseconds(double microseconds);

struct ClockSource {
    std::function<double()> now;
    std::function<void(double microseconds)> sleep;
};

// Test seam: replaces the clock process-wide while it lives. Not used by the program.
class ScopedClock {
public:
    explicit ScopedClock(ClockSource source);
    ~ScopedClock();
    ScopedClock(const ScopedClock&) = delete;
    ScopedClock& operator=(const ScopedClock&) = delete;

private:
    ClockSource mPrevious;
};

}  // namespace fw
