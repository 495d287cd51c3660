#pragma once
// A clock that stands still until someone sleeps: a sleep advances it by exactly the time asked
// for (at least one microsecond), so walks with pauses run instantly and deterministically.
// Safe on any thread.

#include "framework/Clock.h"

#include <atomic>
#include <functional>
#include <memory>

class FakeClock {
public:
    explicit FakeClock(double startMicroseconds = 1'000'000.0);

    double now() const { return mNow->load(); }
    void advance(double microseconds);
    // Called after every sleep, on the sleeping thread, with the time slept.
    void onSleep(std::function<void(double)> hook) { *mHook = std::move(hook); }

private:
    std::shared_ptr<std::atomic<double>> mNow;
    std::shared_ptr<std::function<void(double)>> mHook;
    fw::ScopedClock mScope;
};
