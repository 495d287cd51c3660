#pragma once
// SIGTERM, SIGINT and SIGHUP quit the program as File > Quit does, so that the quit's own steps
// run (the running command ended, the scan thread waited for, finalisation in its order) rather
// than the process ending where it stands. Qt's pattern for Unix signals: the handler only
// writes a byte to a socket pair, and a socket notifier on the main thread calls quit, in
// whatever event loop runs then (the main loop or a message box's). A signal that the process
// was started with ignored (nohup, a background job of a script) stays ignored, as the user who
// set it aside asked. Made and destroyed on the main thread, one at a time; the signals' earlier
// handling comes back when it goes.

#include <csignal>
#include <functional>
#include <memory>

class QSocketNotifier;

namespace fw {

class QuitSignals {
public:
    // quit is called on the main thread, once per burst of signals.
    explicit QuitSignals(std::function<void()> quit);
    ~QuitSignals();
    QuitSignals(const QuitSignals&) = delete;
    QuitSignals& operator=(const QuitSignals&) = delete;

private:
    int mSockets[2] = {-1, -1};  // the handler writes to [1], the notifier watches [0]
    std::unique_ptr<QSocketNotifier> mNotifier;
    struct sigaction mPrevious[3] = {};
    bool mCaught[3] = {};  // whether ours is installed for the signal, to be undone
};

}  // namespace fw
