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
#include <csignal>
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
    return CompatCommandDirFor(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget());
}

#ifdef Q_OS_LINUX
namespace {

// Whether path belongs to root or to the user, and nobody else may write it (after links).
bool OnlyOursToChange(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) {
        return false;
    }
    return (status.st_uid == 0 || status.st_uid == ::geteuid()) &&
           (status.st_mode & (S_IWGRP | S_IWOTH)) == 0;
}

// Whether dir can be trusted with the commands: the folder and everything in it are ours. Any
// other user who could change one of them could run what they like as the user (or root).
bool TrustedCommandDir(const QString& dir) {
    if (!QFileInfo(dir).isDir() || !OnlyOursToChange(dir)) {
        return false;
    }
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    return std::all_of(entries.begin(), entries.end(), [&dir](const QString& entry) {
        return OnlyOursToChange(dir + u'/' + entry);
    });
}

}  // namespace
#endif

QString CompatCommandDirFor(const QString& executable) {
#ifdef Q_OS_LINUX
    if (executable.isEmpty()) {
        return QString();
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
        // A ':' would split the PATH entry.
        if (!dir.contains(u':') && TrustedCommandDir(dir)) {
            return dir;
        }
    }
#else
    Q_UNUSED(executable);
#endif
    return QString();
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
