// The whole program as a process, started as a user's system starts it: closing the window or
// quitting while a scan runs ends the program cleanly and soon, whether the walk is in a probe or
// in its pause: the running command and its children end, the scan thread is waited for, and the
// exit status is a success. Quit signals do the same, close a message box that waits for a
// click, and leave alone what the user set aside; a file-size limit fails an export, not the
// program.
#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include "tests/support/Processes.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

namespace {

using processes::Eventually;
using processes::IsRunning;

const QString kDriver = QStringLiteral(VQ_APP_DRIVER);

// The signals whose dispositions the program looks at when it starts.
constexpr int kStartSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGXFSZ};

// How the user's system starts the program, as a shell's `trap '' SIGNAL` (or nohup) and
// `ulimit -f` leave it for what the shell starts: the signals of ignored ignored, the others of
// kStartSignals at their default and none blocked, whatever the test's own process has; and a
// limit on the size of the files it writes.
struct StartedAs {
    int ignored = 0;  // a signal, or 0 for none
    rlim_t fileSizeLimit = RLIM_INFINITY;
};

// Starts the test driver offscreen, with folder as its working folder (no host file) and home,
// and the desktop folder home's Desktop.
void StartDriver(QProcess& program, const QTemporaryDir& folder, const QStringList& args,
                 StartedAs as = {}) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", folder.path());
    environment.insert("XDG_CONFIG_HOME", folder.filePath(".config"));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    // In the child, between fork and exec: only async-signal-safe calls.
    program.setChildProcessModifier([as] {
        sigset_t unblocked;
        sigemptyset(&unblocked);
        for (const int signal : kStartSignals) {
            ::signal(signal, signal == as.ignored ? SIG_IGN : SIG_DFL);
            sigaddset(&unblocked, signal);
        }
        ::sigprocmask(SIG_UNBLOCK, &unblocked, nullptr);
        const rlimit limit{as.fileSizeLimit, as.fileSizeLimit};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    });
    program.start(kDriver, args);
}

// Reads the program's output until it holds text or the program ends, within guard.
QByteArray ReadUntil(QProcess& program, const QByteArray& text, const QDeadlineTimer& guard) {
    QByteArray out;
    while (!out.contains(text) && program.state() == QProcess::Running && !guard.hasExpired()) {
        program.waitForReadyRead(100);
        out += program.readAllStandardOutput();
    }
    return out + program.readAllStandardOutput();
}

// Sends signal to the program while it runs. Never to pid 0, which is the test's own group.
void Signal(const QProcess& program, int signal) {
    const auto pid = static_cast<pid_t>(program.processId());
    if (pid > 0 && program.state() == QProcess::Running) {
        ::kill(pid, signal);
    }
}

// Ends a program that a failed test left running.
void EndIfRunning(QProcess& program) {
    if (program.state() != QProcess::NotRunning) {
        program.kill();
        program.waitForFinished();
    }
}

struct EndCase {
    const char* moment;  // "probe" or "pause"
    const char* how;     // "close" or "quit"
};

void PrintTo(const EndCase& c, std::ostream* out) {
    *out << c.how << " during the " << c.moment;
}

class EndDuringAScan : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndDuringAScan, EndsTheProgramCleanlyAndLeavesNoCommandRunning) {
    QTemporaryDir folder;  // working folder (no host file) and home
    ASSERT_TRUE(folder.isValid());
    const QString pidFile = folder.filePath("pids");
    QStringList args{GetParam().moment, GetParam().how};
    if (QString(GetParam().moment) == "probe") {
        args << pidFile;
    }

    QProcess program;
    StartDriver(program, folder, args);
    ASSERT_TRUE(program.waitForStarted());
    // Only a guard against a hang: the program ends long before. (The probe's command never
    // ends of itself, so a program that waited for it would never end.)
    const QDeadlineTimer guard(120000);
    const QByteArray out = ReadUntil(program, "ending the run\n", guard);
    QElapsedTimer sinceTheEnd;
    sinceTheEnd.start();
    const bool ended = program.waitForFinished(static_cast<int>(guard.remainingTime()));
    EXPECT_TRUE(ended) << "the program did not end";
    EXPECT_TRUE(out.contains("ending the run\n")) << "the script closed or quit";
    // It ends within a second: the command in hand is ended, the pause runs out and the walk
    // stops. The bound only tells that from a walk that goes on to its end (8.5 s), with room
    // for a loaded machine and the sanitizers' work at exit.
    EXPECT_LT(sinceTheEnd.elapsed(), 5000)
        << "the program ended " << sinceTheEnd.elapsed() << " ms after the close or quit";
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }

    const std::string errors = program.readAllStandardError().toStdString();
    if (ended) {
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << errors;
        EXPECT_EQ(program.exitCode(), 0) << errors;
        EXPECT_EQ(errors.find("QThread"), std::string::npos) << errors;
    }

    if (QString(GetParam().moment) == "probe") {
        QFile file(pidFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the probe ran";
        const QList<QByteArray> pids = file.readAll().trimmed().split(' ');
        ASSERT_EQ(pids.size(), 2);
        for (const QByteArray& pid : pids) {
            EXPECT_TRUE(Eventually([&] {
                return !IsRunning(static_cast<pid_t>(pid.toLongLong()));
            })) << "still running: "
                << pid.toStdString();
            if (IsRunning(static_cast<pid_t>(pid.toLongLong()))) {
                ::kill(static_cast<pid_t>(pid.toLongLong()), SIGKILL);
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Moments, EndDuringAScan,
                         ::testing::Values(EndCase{"probe", "close"}, EndCase{"probe", "quit"},
                                           EndCase{"pause", "close"}, EndCase{"pause", "quit"}),
                         [](const ::testing::TestParamInfo<EndCase>& info) {
                             return std::string(info.param.how) + "During" +
                                    (info.param.moment[1] == 'r' ? "Probe" : "Pause");
                         });

// SIGTERM, SIGINT and SIGHUP during a probe quit the program as File > Quit does: the running
// command's group ends, the thread is waited for, finalisation runs, the exit status is 0.
class SignalDuringAProbe : public ::testing::TestWithParam<int> {};

TEST_P(SignalDuringAProbe, QuitsTheProgramCleanlyAndEndsTheCommand) {
    QTemporaryDir folder;  // working folder (no host file) and home
    ASSERT_TRUE(folder.isValid());
    const QString pidFile = folder.filePath("pids");
    QProcess program;
    StartDriver(program, folder, {"probe", "wait", pidFile});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(Eventually([&] { return QFile::exists(pidFile); }, std::chrono::seconds(60)))
        << "the probe's command did not start";
    QFile file(pidFile);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QList<QByteArray> pids = file.readAll().trimmed().split(' ');
    ASSERT_EQ(pids.size(), 2);
    const auto group = static_cast<pid_t>(pids[0].toLongLong());  // the shell leads its group

    Signal(program, GetParam());
    // Only a guard against a hang: the quit takes about a second.
    const bool ended = program.waitForFinished(30000);
    EXPECT_TRUE(ended) << "the program did not end";
    if (!ended) {
        program.kill();
        program.waitForFinished();
    }
    const std::string errors = program.readAllStandardError().toStdString();
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "ended by the signal " << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;
    EXPECT_TRUE(Eventually([&] { return processes::LiveMembers(group).empty(); }))
        << "the command's group is still there";
    for (const pid_t pid : processes::LiveMembers(group)) {
        ::kill(pid, SIGKILL);
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, SignalDuringAProbe, ::testing::Values(SIGTERM, SIGINT, SIGHUP),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

// The signals the kernel lets the program ignore and those it lets it catch, from
// /proc/PID/status: the bit of signal N is bit N - 1 of a mask in hexadecimal.
struct Dispositions {
    quint64 ignored = 0;
    quint64 caught = 0;
    bool Ignores(int signal) const { return (ignored >> (signal - 1)) & 1U; }
    bool Catches(int signal) const { return (caught >> (signal - 1)) & 1U; }
};

Dispositions DispositionsOf(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    Dispositions dispositions;
    if (!status.open(QIODevice::ReadOnly)) {
        return dispositions;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("SigIgn:")) {
            dispositions.ignored = line.mid(7).trimmed().toULongLong(nullptr, 16);
        } else if (line.startsWith("SigCgt:")) {
            dispositions.caught = line.mid(7).trimmed().toULongLong(nullptr, 16);
        }
    }
    return dispositions;
}

// A quit signal that the program was started with ignored (nohup, a background job of a
// script) stays ignored: it neither quits the program nor ends the probe's command. The other
// quit signals still quit it as File > Quit does.
class IgnoredAtStart : public ::testing::TestWithParam<int> {};

TEST_P(IgnoredAtStart, StaysIgnoredAndTheOtherQuitSignalsStillQuit) {
    const int ignored = GetParam();
    QTemporaryDir folder;  // working folder (no host file) and home
    ASSERT_TRUE(folder.isValid());
    const QString pidFile = folder.filePath("pids");
    QProcess program;
    StartDriver(program, folder, {"probe", "wait", pidFile}, {.ignored = ignored});
    ASSERT_TRUE(program.waitForStarted());
    // The probe runs only once the start-up, the signals' handling with it, is done.
    ASSERT_TRUE(Eventually([&] { return QFile::exists(pidFile); }, std::chrono::seconds(60)))
        << "the probe's command did not start";

    const Dispositions dispositions = DispositionsOf(program.processId());
    EXPECT_TRUE(dispositions.Ignores(ignored)) << sigabbrev_np(ignored) << " is not ignored";
    EXPECT_FALSE(dispositions.Catches(ignored)) << sigabbrev_np(ignored) << " is caught";
    for (const int quit : {SIGTERM, SIGINT, SIGHUP}) {
        if (quit != ignored) {
            EXPECT_TRUE(dispositions.Catches(quit)) << sigabbrev_np(quit) << " does not quit";
        }
    }

    Signal(program, ignored);
    // A caught quit ends the program within a second; waiting longer can only miss that.
    EXPECT_FALSE(program.waitForFinished(1500))
        << sigabbrev_np(ignored) << " ended the program, status " << program.exitCode();

    Signal(program, SIGTERM);
    // Only a guard against a hang: the quit takes about a second.
    EXPECT_TRUE(program.waitForFinished(30000)) << "SIGTERM did not end the program";
    EndIfRunning(program);
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << "ended by the signal";
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Signals, IgnoredAtStart, ::testing::Values(SIGHUP, SIGINT),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(sigabbrev_np(info.param));
                         });

// An earlier result file, and the only thing on the desktop; kept byte for byte by an export that
// fails.
class DesktopWithAnEarlierResult {
public:
    static constexpr char kEarlier[] = "198.51.100.1\tan earlier export\n";

    explicit DesktopWithAnEarlierResult(const QTemporaryDir& home)
        : mDesktop(home.filePath("Desktop")) {
        QDir().mkpath(mDesktop);
        QFile earlier(ResultFile());
        if (earlier.open(QIODevice::WriteOnly)) {
            earlier.write(kEarlier);
        }
    }
    QString ResultFile() const { return mDesktop + "/IPresult.txt"; }
    QByteArray Result() const {
        QFile file(ResultFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QStringList Entries() const {
        return QDir(mDesktop).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

private:
    QString mDesktop;
};

// The file-size limit a user set with ulimit -f: an export of more than it fails with the
// system's reason in the message box, and the program goes on (SIGXFSZ, at its default, would
// end it and lose the list). The limit lies inside the first row.
constexpr rlim_t kFileSizeLimit = 10;

TEST(FileSizeLimit, FailsTheExportWithItsReasonAndLeavesTheEarlierFile) {
    QTemporaryDir home;  // working folder (no host file) and home
    ASSERT_TRUE(home.isValid());
    const DesktopWithAnEarlierResult desktop(home);
    QProcess program;
    StartDriver(program, home, {"export", "2", "close"}, {.fileSizeLimit = kFileSizeLimit});
    ASSERT_TRUE(program.waitForStarted());
    // Only a guard against a hang: the walk of three addresses takes 1.5 s.
    const bool ended = program.waitForFinished(60000);
    EXPECT_TRUE(ended) << "the program did not end";
    EndIfRunning(program);
    const std::string errors = program.readAllStandardError().toStdString();
    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit)
        << "ended by signal " << program.exitCode() << " " << errors;
    EXPECT_EQ(program.exitCode(), 0) << errors;
    const QString box = QString::fromUtf8(program.readAllStandardOutput());
    EXPECT_EQ(box, "box: IPresult.txt を書き出せませんでした。 | " + desktop.ResultFile() +
                       " | File too large\n");
    EXPECT_EQ(desktop.Result(), DesktopWithAnEarlierResult::kEarlier);
    EXPECT_EQ(desktop.Entries(), QStringList{"IPresult.txt"}) << "a temporary file was left";
}

// A quit signal while a message box waits for a click closes it, and the run ends in its
// shutdown order: a box of the start routine's own, outside the main loop (an unexpected error
// ended the run: status 1), as well as one a handler shows in the main loop (status 0).
struct BoxCase {
    const char* box;  // "fault": the start routine's; "export": the export's failure
    int signal;
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << sigabbrev_np(c.signal) << " while the box of the " << c.box << " is shown";
}

class QuitSignalWhileABoxIsShown : public ::testing::TestWithParam<BoxCase> {};

TEST_P(QuitSignalWhileABoxIsShown, ClosesItAndTheRunEnds) {
    const bool fault = QString(GetParam().box) == "fault";
    QTemporaryDir home;  // working folder (no host file) and home
    ASSERT_TRUE(home.isValid());
    const DesktopWithAnEarlierResult desktop(home);
    QProcess program;
    if (fault) {
        StartDriver(program, home, {"fault"});
    } else {
        StartDriver(program, home, {"export", "0", "keep"}, {.fileSizeLimit = kFileSizeLimit});
    }
    ASSERT_TRUE(program.waitForStarted());
    const QByteArray out = ReadUntil(program, "\n", QDeadlineTimer(60000));
    ASSERT_TRUE(out.startsWith("box: ")) << "no box was shown: " << out.toStdString();

    Signal(program, GetParam().signal);
    // Only a guard against a hang: the box closes at once.
    const bool ended = program.waitForFinished(30000);
    EXPECT_TRUE(ended) << "the box still waits for a click";
    EndIfRunning(program);
    const std::string errors = program.readAllStandardError().toStdString();
    ASSERT_EQ(program.exitStatus(), QProcess::NormalExit) << "ended by the signal " << errors;
    EXPECT_EQ(program.exitCode(), fault ? 1 : 0) << errors;
    EXPECT_EQ(program.readAllStandardOutput(), QByteArray()) << "a second box";
}

INSTANTIATE_TEST_SUITE_P(Boxes, QuitSignalWhileABoxIsShown,
                         ::testing::Values(BoxCase{"fault", SIGTERM}, BoxCase{"fault", SIGINT},
                                           BoxCase{"fault", SIGHUP}, BoxCase{"export", SIGTERM},
                                           BoxCase{"export", SIGINT}, BoxCase{"export", SIGHUP}),
                         [](const ::testing::TestParamInfo<BoxCase>& info) {
                             return std::string(sigabbrev_np(info.param.signal)) + "During" +
                                    (QString(info.param.box) == "fault" ? "StartRoutineBox"
                                                                        : "ExportBox");
                         });

}  // namespace
