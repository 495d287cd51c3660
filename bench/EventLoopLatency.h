#pragma once
// How late the main thread's event loop runs a timer: a precise single-shot timer is armed every
// period, and each time it fires the time beyond the period is one sample. Main thread only.

#include <QTimer>
#include <chrono>
#include <vector>

class EventLoopLatency {
public:
    explicit EventLoopLatency(std::chrono::milliseconds period = std::chrono::milliseconds(10));

    void Start();
    void Stop();

    // The samples so far, in milliseconds.
    const std::vector<double>& LatenessMs() const { return mLateness; }
    // Nearest-rank percentile (0 to 100) of the samples; 0 when there are none.
    double Percentile(double percent) const;

private:
    void Arm();
    void Fired();

    std::chrono::milliseconds mPeriod;
    QTimer mTimer;
    std::chrono::steady_clock::time_point mArmedAt;
    std::vector<double> mLateness;
    bool mRunning = false;
};
