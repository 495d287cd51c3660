#include "framework/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <QFile>

#include <sys/stat.h>
#include <sys/types.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <utility>

namespace fw {

namespace {

Seam<ShellRunner> gRunner;  // empty: run the command for real

std::atomic<bool> gAborted{false};

// How often a waiting command looks at the abort flag.
constexpr int kAbortPollMilliseconds = 100;

// The most of a command's output that is kept. The scan reads the one line of our arp (under
// 100 bytes) and nothing of ping, whose whole output is a few hundred bytes; 1 MiB is far above
// both (and any host's arp table) and keeps memory flat whatever a command prints.
constexpr qsizetype kMaxOutputBytes = 1024 * 1024;

QProcessEnvironment CommandEnvironment() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    const QString first = CompatCommandDir();
    if (!first.isEmpty()) {
        const QString path = environment.value(QStringLiteral("PATH"));
        environment.insert(
            QStringLiteral("PATH"),
            first + u':' +
                (path.isEmpty() ? QStringLiteral("/usr/local/bin:/usr/bin:/bin") : path));
    }
    return environment;
}

void EndProcessGroup(QProcess& process) {
    const auto group = static_cast<pid_t>(process.processId());
    if (group > 0) {
        ::kill(-group, SIGKILL);
    }
    process.kill();
    process.waitForFinished(-1);
}

ShellOutcome RunForReal(const QString& commandLine) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setStandardInputFile(QProcess::nullDevice());
    process.setProcessEnvironment(CommandEnvironment());
    // Its own process group, so that an abort ends the command's children with it.
    process.setChildProcessModifier([] { ::setpgid(0, 0); });
    process.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), commandLine},
                  QIODevice::ReadOnly);
    if (!process.waitForStarted(-1)) {
        return {};
    }
    // The shell leads the group: the group's id is its pid.
    const auto group = static_cast<pid_t>(process.processId());
    // The output is read as it comes: its head is kept, the rest read and dropped.
    QByteArray output;
    const auto take = [&process, &output] {
        const QByteArray chunk = process.readAll();
        output.append(chunk.left(kMaxOutputBytes - output.size()));
    };
    while (process.state() != QProcess::NotRunning) {
        if (gAborted.load()) {
            EndProcessGroup(process);
            return {};
        }
        if (!process.waitForReadyRead(kAbortPollMilliseconds) &&
            process.state() != QProcess::NotRunning && process.error() != QProcess::Timedout) {
            // Anything but the time-out would come back at once: end the command rather than
            // spin.
            EndProcessGroup(process);
            return {};
        }
        take();
    }
    take();
    // What the command left in its group (a child in the background) ends with it, so that
    // nothing of it outlives the command. QProcess has reaped the shell by now, but a pid is not
    // handed out again while a group of that id still has members: the signal reaches only the
    // command's leftovers, or (with none left) nobody, barring a pid space gone round meanwhile.
    if (group > 0) {
        ::kill(-group, SIGKILL);
    }
    ShellOutcome outcome;
    outcome.output = QString::fromUtf8(output);
    outcome.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return outcome;
}

}  // namespace

void Shell::Execute(const QString& commandLine) {
    if (gAborted.load()) {
        mOutcome = {};
        return;
    }
    const ShellRunner runner = gRunner.Get();
    mOutcome = runner ? runner(commandLine) : RunForReal(commandLine);
}

void Shell::AbortAll() {
    gAborted.store(true);
}

QString CompatCommandDir() {
    // The executable's own path, asked of the system rather than of QCoreApplication, whose
    // cached answer is not safe to fill from a scan thread.
    const CompatCommandDirChoice choice =
        CompatCommandDirFor(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
    // Without our commands the list may not read right, so a refusal is said; once a run, as
    // the choice is made anew for every command (on the scan thread: hence the atomic).
    static std::atomic<bool> told{false};
    if (!choice.refused.isEmpty() && !told.exchange(true)) {
        const QByteArray message = "vellmaroq: not using " + choice.refused.toLocal8Bit() + ": " +
                                   choice.reason.toLocal8Bit() +
                                   "; the commands come from the PATH\n";
        std::fputs(message.constData(), stderr);
    }
    return choice.dir;
}

#ifdef Q_OS_LINUX
namespace {

// Why path may not be trusted, after links: empty when it belongs to root or to the user and
// nobody else may write it.
QString WhyNotOnlyOurs(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return QStringLiteral("cannot look at %1: %2").arg(path, qt_error_string(errno));
    }
    if (status.st_uid != 0 && status.st_uid != ::geteuid()) {
        return QStringLiteral("%1 belongs to another user (uid %2)").arg(path).arg(status.st_uid);
    }
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
        return QStringLiteral("group or others may write %1").arg(path);
    }
    return QString();
}

// Why dir cannot be trusted with the commands, empty when it can: the folder and everything in
// it must be ours. Any other user who could change one of them could run what they like as the
// user (or root).
QString WhyNotACommandDir(const QString& dir) {
    if (dir.contains(u':')) {
        return QStringLiteral("a ':' in its path would split the PATH");
    }
    if (!QFileInfo(dir).isDir()) {
        return QStringLiteral("not a folder");
    }
    if (QString reason = WhyNotOnlyOurs(dir); !reason.isEmpty()) {
        return reason;
    }
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QString& entry : entries) {
        if (QString reason = WhyNotOnlyOurs(dir + u'/' + entry); !reason.isEmpty()) {
            return reason;
        }
    }
    return QString();
}

}  // namespace
#endif

CompatCommandDirChoice CompatCommandDirFor(const QString& executable) {
    CompatCommandDirChoice choice;
#ifdef Q_OS_LINUX
    if (executable.isEmpty()) {
        return choice;
    }
    // Beside the executable only: a path built into the program would name a folder that, for
    // a copy installed elsewhere, may no longer be ours.
    const QString bin = QFileInfo(executable).absolutePath();
    const QString candidates[] = {
        bin + u'/' + QStringLiteral(VELLMAROQ_COMPAT_FROM_BIN),
        bin + QStringLiteral("/compat-bin"),
    };
    for (const QString& candidate : candidates) {
        const QString dir = QDir::cleanPath(candidate);
        if (!QFileInfo::exists(dir)) {
            continue;
        }
        const QString reason = WhyNotACommandDir(dir);
        if (reason.isEmpty()) {
            return {dir, QString(), QString()};
        }
        if (choice.refused.isEmpty()) {
            choice.refused = dir;
            choice.reason = reason;
        }
    }
#else
    Q_UNUSED(executable);
#endif
    return choice;
}

ScopedShellRunner::ScopedShellRunner(ShellRunner runner)
    : ScopedOverride(gRunner, std::move(runner)) {}

QString ShellWord(const QString& text) {
    const auto plain = [](QChar c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'.' || c == u':' || c == u'-';
    };
    if (!text.isEmpty() && std::all_of(text.begin(), text.end(), plain)) {
        return text;
    }
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

}  // namespace fw
