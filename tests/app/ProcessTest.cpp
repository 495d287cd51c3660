// The whole program as a process: closing the window or quitting while a scan runs ends the
// program cleanly and soon, whether the walk is in a probe or in its pause: the running command
// and its children end, the scan thread is waited for, and the exit status is a success.
#include <gtest/gtest.h>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include "tests/support/Processes.h"

#include <signal.h>
#include <sys/types.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>

namespace {

using processes::Eventually;
using processes::IsRunning;

const QString kDriver = QStringLiteral(VQ_APP_DRIVER);

// Starts the test driver offscreen, with folder as its working folder (no host file) and home.
void StartDriver(QProcess& program, const QTemporaryDir& folder, const QStringList& args) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("HOME", folder.path());
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(folder.path());
    program.start(kDriver, args);
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
    QByteArray out;
    while (!out.contains("ending the run\n") && program.state() == QProcess::Running &&
           !guard.hasExpired()) {
        program.waitForReadyRead(100);
        out += program.readAllStandardOutput();
    }
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

    ::kill(static_cast<pid_t>(program.processId()), GetParam());
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

}  // namespace
