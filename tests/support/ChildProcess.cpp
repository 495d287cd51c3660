#include "tests/support/ChildProcess.h"

#include <QFile>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// The resident size of process pid in bytes, from /proc; 0 when it is gone.
long long ResidentBytes(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
        }
    }
    return 0;
}

void ReadAvailable(int fd, QByteArray& into) {
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0) {
            return;
        }
        into.append(buffer, got);
    }
}

}  // namespace

ChildOutcome RunInChild(const std::function<QByteArray()>& body, std::chrono::milliseconds deadline,
                        long long memoryBoundBytes) {
    ChildOutcome outcome;
    int fds[2];
    if (::pipe(fds) != 0) {
        outcome.what = "no pipe";
        return outcome;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        outcome.what = "no child";
        ::close(fds[0]);
        ::close(fds[1]);
        return outcome;
    }
    if (child == 0) {
        ::close(fds[0]);
        int status = 0;
        try {
            const QByteArray report = body();
            for (qsizetype done = 0; done < report.size();) {
                const ssize_t put = ::write(fds[1], report.constData() + done,
                                            static_cast<size_t>(report.size() - done));
                if (put <= 0) {
                    break;
                }
                done += put;
            }
        } catch (...) {
            status = 3;
        }
        ::_exit(status);
    }
    ::close(fds[1]);
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    const auto end = std::chrono::steady_clock::now() + deadline;
    int status = 0;
    for (;;) {
        pollfd watch{fds[0], POLLIN, 0};
        ::poll(&watch, 1, 10);
        ReadAvailable(fds[0], outcome.report);
        if (::waitpid(child, &status, WNOHANG) == child) {
            break;
        }
        const bool late = std::chrono::steady_clock::now() > end;
        const bool big = ResidentBytes(child) > memoryBoundBytes;
        if (late || big) {
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            outcome.end = late ? ChildOutcome::End::TimedOut : ChildOutcome::End::TooBig;
            outcome.what = late ? "the child did not end in time" : "the child's memory grew";
            ::close(fds[0]);
            return outcome;
        }
    }
    ReadAvailable(fds[0], outcome.report);
    ::close(fds[0]);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        outcome.end = ChildOutcome::End::Exited;
    } else {
        outcome.what = WIFSIGNALED(status)
                           ? QStringLiteral("the child died of signal %1").arg(WTERMSIG(status))
                           : QStringLiteral("the child failed with %1").arg(WEXITSTATUS(status));
    }
    return outcome;
}
