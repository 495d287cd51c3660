#include "tests/support/FakeClock.h"

#include <algorithm>

FakeClock::FakeClock(double startMicroseconds)
    : mNow(std::make_shared<std::atomic<double>>(startMicroseconds)),
      mHook(std::make_shared<std::function<void(double)>>()),
      mScope(fw::ClockSource{[now = mNow] { return now->load(); },
                             [now = mNow, hook = mHook](double us) {
                                 const double step = std::max(us, 1.0);
                                 now->fetch_add(step);
                                 if (*hook) {
                                     (*hook)(step);
                                 }
                             }}) {}

void FakeClock::advance(double microseconds) {
    mNow->fetch_add(microseconds);
}
