#include "bench/EventLoopLatency.h"

#include <algorithm>
#include <cmath>

EventLoopLatency::EventLoopLatency(std::chrono::milliseconds period) : mPeriod(period) {
    mTimer.setSingleShot(true);
    mTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&mTimer, &QTimer::timeout, [this] { Fired(); });
}

void EventLoopLatency::Start() {
    mRunning = true;
    Arm();
}

void EventLoopLatency::Stop() {
    mRunning = false;
    mTimer.stop();
}

double EventLoopLatency::Percentile(double percent) const {
    if (mLateness.empty()) {
        return 0.0;
    }
    std::vector<double> sorted = mLateness;
    std::sort(sorted.begin(), sorted.end());
    const auto rank =
        static_cast<std::size_t>(std::ceil(percent / 100.0 * static_cast<double>(sorted.size())));
    return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

void EventLoopLatency::Arm() {
    mArmedAt = std::chrono::steady_clock::now();
    mTimer.start(mPeriod);
}

void EventLoopLatency::Fired() {
    const auto waited = std::chrono::steady_clock::now() - mArmedAt;
    mLateness.push_back(
        std::max(0.0, std::chrono::duration<double, std::milli>(waited - mPeriod).count()));
    if (mRunning) {
        Arm();
    }
}
