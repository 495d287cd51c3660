#include "framework/Shell.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <sys/types.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <csignal>
#include <mutex>
#include <utility>

namespace fw {

namespace {

std::mutex gRunnerMutex;
ShellRunner gRunner;  // empty: run the command for real

std::atomic<bool> gAborted{false};

// How often a waiting command looks at the abort flag.
constexpr int kAbortPollMilliseconds = 100;

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
    while (!process.waitForFinished(kAbortPollMilliseconds)) {
        if (process.state() == QProcess::NotRunning) {
            break;
        }
        // Anything but the time-out would come back at once: end the command rather than spin.
        if (gAborted.load() || process.error() != QProcess::Timedout) {
            EndProcessGroup(process);
            return {};
        }
    }
    ShellOutcome outcome;
    outcome.output = QString::fromUtf8(process.readAll());
    outcome.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return outcome;
}

}  // namespace

void Shell::Execute(const QString& commandLine) {
    if (gAborted.load()) {
        mOutcome = {};
        return;
    }
    ShellRunner runner;
    {
        std::lock_guard lock(gRunnerMutex);
        runner = gRunner;
    }
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

QString CompatCommandDirFor(const QString& executable) {
#ifdef Q_OS_LINUX
    // The installed layout first, then the build tree's folder.
    QStringList candidates;
    const QString installDir = QStringLiteral(VELLMAROQ_COMPAT_INSTALL_DIR);
    if (QDir::isAbsolutePath(installDir)) {
        candidates << installDir;
    } else if (!executable.isEmpty()) {
        candidates << QFileInfo(executable).absolutePath() + QStringLiteral("/../") + installDir;
    }
    candidates << QStringLiteral(VELLMAROQ_COMPAT_BIN_DIR);
    for (const QString& candidate : candidates) {
        const QString dir = QDir::cleanPath(candidate);
        // A ':' would split the PATH entry.
        if (!dir.contains(u':') && QFileInfo(dir).isDir()) {
            return dir;
        }
    }
#else
    Q_UNUSED(executable);
#endif
    return QString();
}

ScopedShellRunner::ScopedShellRunner(ShellRunner runner) {
    std::lock_guard lock(gRunnerMutex);
    mPrevious = std::exchange(gRunner, std::move(runner));
}

ScopedShellRunner::~ScopedShellRunner() {
    std::lock_guard lock(gRunnerMutex);
    gRunner = std::move(mPrevious);
}

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
