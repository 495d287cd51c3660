#pragma once
// SIGTERM, SIGINT and SIGHUP quit the program as File > Quit does, so that the quit's own steps
// run (the running command ended, the scan thread waited for, finalisation in its order) rather
// than the process ending where it stands. Qt's pattern for Unix signals: the handler only
// writes a byte to a socket pair, and a socket notifier on the main thread does the quit. Made
// and destroyed on the main thread, one at a time; the signals' earlier handling comes back when
// it goes.

#include <csignal>
#include <memory>

class QSocketNotifier;

namespace fw {

class QuitSignals {
public:
    QuitSignals();
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    int mSockets[2] = {-1, -1};  // the handler writes to [1], the notifier watches [0]
    std::unique_ptr<QSocketNotifier> mNotifier;
    struct sigaction mPrevious[3] = {};
};

}  // namespace fw
