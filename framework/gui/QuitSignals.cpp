#include "framework/gui/QuitSignals.h"

#include <QSocketNotifier>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cerrno>
#include <utility>

namespace fw {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// The socket the handler writes to; -1 while no QuitSignals lives.
volatile std::sig_atomic_t gWakeSocket = -1;

// Async-signal-safe: one write, errno kept. The socket does not block, so a burst of signals
// that fills it loses nothing that matters: one byte is enough to quit.
void OnQuitSignal(int /*signal*/) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(gWakeSocket, &byte, 1);
    errno = saved;
}

}  // namespace

QuitSignals::QuitSignals(std::function<void()> quit) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, mSockets) != 0) {
        mSockets[0] = mSockets[1] = -1;
        return;  // the signals keep their default: the program ends as before
    }
    mNotifier = std::make_unique<QSocketNotifier>(mSockets[0], QSocketNotifier::Read);
    QObject::connect(mNotifier.get(), &QSocketNotifier::activated, [this, quit = std::move(quit)] {
        char bytes[64];
        while (::read(mSockets[0], bytes, sizeof bytes) > 0) {
        }
        quit();
    });
    gWakeSocket = mSockets[1];
    struct sigaction action {};
    action.sa_handler = OnQuitSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int i = 0; i < 3; ++i) {
        if (::sigaction(kSignals[i], nullptr, &mPrevious[i]) == 0 &&
            mPrevious[i].sa_handler != SIG_IGN) {
            mCaught[i] = ::sigaction(kSignals[i], &action, nullptr) == 0;
        }
    }
}

QuitSignals::~QuitSignals() {
    if (mSockets[0] < 0) {
        return;
    }
    for (int i = 0; i < 3; ++i) {
        if (mCaught[i]) {
            ::sigaction(kSignals[i], &mPrevious[i], nullptr);
        }
    }
    gWakeSocket = -1;
    mNotifier.reset();
    ::close(mSockets[0]);
    ::close(mSockets[1]);
}

}  // namespace fw
