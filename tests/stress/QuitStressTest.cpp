// Fifty runs of the whole program, each ended by the user while a scan runs: the window closed or
// File > Quit, while a probe's command runs (a real `sleep` under the real shell) or during the
// pause after an address, the moment and the way drawn at random. Every run must end by itself
// with a success status and nothing on its error output about threads or memory, and leave no
// process behind: neither the probe's command nor anything else of the program's process group.
//
// The runs use the program's test driver (tests/app/AppDriver.cpp), a few at a time. The random
// plan is seeded from VQ_STRESS_SEED when it is set, else at random; the seed is in every
// failure message.
#include <gtest/gtest.h>
#include "tests/support/Processes.h"
#include "tests/support/StressSeed.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <signal.h>
#include <sys/types.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {

using processes::Eventually;
using processes::IsRunning;
using processes::LiveMembers;

const QString kDriver = QStringLiteral(VQ_APP_DRIVER);
constexpr int kRuns = 50;
constexpr int kAtOnce = 5;
// Only a guard against a hang: a run that is still there after this has hung. Generous, since
// five sanitized programs start at once beside the other tests.
constexpr int kHangGuardMs = 60000;

// One run of the program, ended by the user during a probe or a pause.
class QuitRun {
public:
    QuitRun(int number, bool duringProbe, bool byClosing, int address)
        : mNumber(number), mDuringProbe(duringProbe), mByClosing(byClosing), mAddress(address) {}

    std::string Name() const {
        return "run " + std::to_string(mNumber) + ": " + (mByClosing ? "close" : "quit") +
               " during the " + (mDuringProbe ? "probe" : "pause") + " of address " +
               std::to_string(mAddress);
    }

    void Start() {
        ASSERT_TRUE(mFolder.isValid());
        QStringList args{mDuringProbe ? "probe" : "pause", mByClosing ? "close" : "quit"};
        if (mDuringProbe) {
            args << PidFile();
        }
        args << QString::number(mAddress);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("HOME", mFolder.path());  // the desktop folder lies under it
        mProgram.setProcessEnvironment(environment);
        mProgram.setWorkingDirectory(mFolder.path());  // no host file
        // A process group of its own: whatever the program leaves running is found by it.
        mProgram.setChildProcessModifier([] { ::setpgid(0, 0); });
        mProgram.start(kDriver, args);
        ASSERT_TRUE(mProgram.waitForStarted()) << mProgram.errorString().toStdString();
        mGroup = static_cast<pid_t>(mProgram.processId());
        mGuard = QDeadlineTimer(kHangGuardMs);
    }

    // Waits for the end and checks how the run ended and what it left.
    void Check() {
        ASSERT_GT(mGroup, 0);
        const bool ended = mProgram.waitForFinished(static_cast<int>(mGuard.remainingTime()));
        EXPECT_TRUE(ended) << "still running after " << kHangGuardMs / 1000 << " s: a hang";
        if (!ended) {
            ::kill(-mGroup, SIGKILL);
            mProgram.waitForFinished(-1);
        }
        const std::string errors = mProgram.readAllStandardError().toStdString();
        if (ended) {
            EXPECT_EQ(mProgram.exitStatus(), QProcess::NormalExit) << errors;
            EXPECT_EQ(mProgram.exitCode(), 0) << errors;
            for (const char* bad : {"QThread", "Sanitizer", "runtime error"}) {
                EXPECT_EQ(errors.find(bad), std::string::npos) << errors;
            }
        }
        ExpectGroupGone(mGroup, "the program's process group");
        if (mDuringProbe) {
            CheckProbeEnded();
        }
    }

private:
    QString PidFile() const { return mFolder.filePath("pids"); }

    // The probe's shell and its sleep: both ran, both are gone, and so is the shell's group.
    void CheckProbeEnded() {
        QFile file(PidFile());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << "the probe ran";
        const QList<QByteArray> pids = file.readAll().trimmed().split(' ');
        ASSERT_EQ(pids.size(), 2);
        const auto shell = static_cast<pid_t>(pids[0].toLongLong());
        const auto sleep = static_cast<pid_t>(pids[1].toLongLong());
        ASSERT_GT(shell, 0);
        ASSERT_GT(sleep, 0);
        for (const pid_t pid : {shell, sleep}) {
            EXPECT_TRUE(Eventually([pid] { return !IsRunning(pid); }))
                << "the probe's process " << pid << " is still running";
        }
        ExpectGroupGone(shell, "the probe's process group");
        if (IsRunning(sleep)) {
            ::kill(sleep, SIGKILL);
        }
    }

    static void ExpectGroupGone(pid_t group, const char* what) {
        EXPECT_TRUE(Eventually([group] { return LiveMembers(group).empty(); }))
            << what << " " << group << " still has " << LiveMembers(group).size() << " processes";
        if (!LiveMembers(group).empty()) {
            ::kill(-group, SIGKILL);
        }
    }

    int mNumber;
    bool mDuringProbe;
    bool mByClosing;
    int mAddress;
    QTemporaryDir mFolder;  // working folder and home
    QProcess mProgram;
    pid_t mGroup = 0;
    QDeadlineTimer mGuard;
};

TEST(QuitDuringAScan, FiftyTimesEndsTheProgramCleanlyAndLeavesNoProcessBehind) {
    const std::uint32_t seed = StressSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (VQ_STRESS_SEED repeats the run)");
    std::mt19937 random(seed);
    std::bernoulli_distribution coin;
    std::uniform_int_distribution<int> address(0, 3);
    for (int first = 1; first <= kRuns; first += kAtOnce) {
        std::vector<std::unique_ptr<QuitRun>> runs;
        for (int number = first; number < first + kAtOnce && number <= kRuns; ++number) {
            const bool duringProbe = coin(random);
            const bool byClosing = coin(random);
            runs.push_back(
                std::make_unique<QuitRun>(number, duringProbe, byClosing, address(random)));
            SCOPED_TRACE(runs.back()->Name());
            runs.back()->Start();
        }
        for (const auto& run : runs) {
            SCOPED_TRACE(run->Name());
            run->Check();
        }
        if (::testing::Test::HasFailure()) {
            return;  // the seed and the runs are in the messages; the rest would only repeat
        }
    }
}

}  // namespace
