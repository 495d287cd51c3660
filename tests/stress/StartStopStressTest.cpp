// Five hundred scans through the main window, each started with a click on the start button and
// stopped at a random point with a click on the stop button: at once, while an address is being
// probed, during the pause after an address, or not at all. Every walk must end exactly once,
// leave the toolbar as a finished scan leaves it, list a prefix of its range, and leave no memory
// behind. The probes are a fake shell's, the pauses a fake clock's, so the cycles run quickly.
//
// The random plan is seeded from VQ_STRESS_SEED when it is set, else at random; the seed is in
// every failure message.
#include "app/Window1.h"
#include "framework/NetworkInterface.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/MsgBox.h"
#include "scan/Global1.h"
#include "tests/app/UserActions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/HostTables.h"
#include "tests/support/ScopedWindowRelease.h"
#include "tests/support/StressSeed.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTest>
#include <atomic>
#include <cstdint>
#include <iostream>
#include <optional>
#include <ostream>
#include <random>
#include <sstream>
#include <string>

namespace {

constexpr int kCycles = 500;
constexpr int kSettledCycle = 50;  // by then every cache the window fills has been filled
constexpr long kRssGrowthBoundKb = 5 * 1024;
// AddressSanitizer keeps freed memory in quarantine, so the resident size grows with every
// allocation there: LeakSanitizer does the memory check in that build.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kResidentSizeTellsLeaks = false;
#else
constexpr bool kResidentSizeTellsLeaks = true;
#endif
// Only a guard against a hang: every wait below is over in milliseconds.
constexpr int kHangGuardMs = 60000;

const QString kZone = QStringLiteral("198.51.100.");
const QString kNoEntry = QStringLiteral("no entry.");

QString Address(int octet) {
    return kZone + QString::number(octet);
}

// The resident set size of this process, in kB (VmRSS).
long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    // Read whole: a /proc file has no size, so atEnd would hold from the start.
    const QList<QByteArray> lines = status.readAll().split('\n');
    for (const QByteArray& line : lines) {
        if (line.startsWith("VmRSS:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLong();
        }
    }
    return -1;
}

// Where a cycle's stop click falls.
enum class Stop { Never, AtOnce, DuringProbe, DuringPause };

// One cycle: the range the user types and where the stop falls.
struct Plan {
    int first;  // first octet
    int count;  // scan count
    Stop stop;
    int at;  // DuringProbe, DuringPause: index of the address in hand
};

std::ostream& operator<<(std::ostream& out, const Plan& plan) {
    static const char* const kStops[] = {"never", "at once", "during the probe of address",
                                         "during the pause after address"};
    out << "first " << plan.first << ", count " << plan.count << ", stop "
        << kStops[static_cast<int>(plan.stop)];
    if (plan.stop == Stop::DuringProbe || plan.stop == Stop::DuringPause) {
        out << ' ' << plan.at;
    }
    return out;
}

Plan RandomPlan(std::mt19937& random) {
    Plan plan{};
    plan.first = std::uniform_int_distribution<int>(100, 240)(random);
    plan.count = std::uniform_int_distribution<int>(0, 12)(random);
    plan.stop = static_cast<Stop>(std::uniform_int_distribution<int>(0, 3)(random));
    plan.at = std::uniform_int_distribution<int>(0, plan.count)(random);
    return plan;
}

// Where the scan thread waits until the main thread lets it go on.
class Gate {
public:
    // Scan thread.
    void WaitHere() {
        mReached.store(true);
        mOpen.wait(false);
    }
    // Main thread.
    bool Reached() const { return mReached.load(); }
    void Open() {
        mOpen.store(true);
        mOpen.notify_all();
    }
    void Close() {
        mReached.store(false);
        mOpen.store(false);
    }

private:
    std::atomic<bool> mReached{false};
    std::atomic<bool> mOpen{true};
};

// A main window that counts the ends of walks that reach it, and the rows listed at each end.
class EndCountingWindow1 : public Window1 {
public:
    int ends = 0;
    int rowsAtEnd = -1;

protected:
    void ExecuteEndOnMainThread() override {
        ++ends;
        rowsAtEnd = ControlByName<fw::Listbox>("ListBox1")->ListCount();
        Window1::ExecuteEndOnMainThread();
    }
};

// What the user sees of a scan's state.
struct State {
    QString status;
    bool start, stop, exportEnabled;
    bool operator==(const State&) const = default;
};

std::ostream& operator<<(std::ostream& out, const State& s) {
    return out << "{\"" << s.status.toStdString() << "\", start " << s.start << ", stop " << s.stop
               << ", export " << s.exportEnabled << "}";
}

const State kScanning{QStringLiteral("取得中..."), false, true, false};
const State kStopping{QStringLiteral("処理中止"), false, true, false};
const State kEnded{QString(), true, false, true};

class StartStopCycles : public ::testing::Test {
protected:
    StartStopCycles() {
        // The pause after the address in hand: the first sleep after its arp.
        clock.onSleep([this](double) {
            if (pauseArmed.exchange(false)) {
                gate.WaitHere();
            }
        });
        window.Construct();
    }
    // A failed cycle may leave the walk held: it must be able to end when the window is released.
    ~StartStopCycles() override { gate.Open(); }

    State Now() const {
        const Toolbar1* toolbar = window.Toolbar11();
        return {window.StaticText1()->Text(), toolbar->ToolItem1->Enabled(),
                toolbar->ToolItem2->Enabled(), toolbar->ToolItem4->Enabled()};
    }
    fw::Listbox& List() const { return *window.ControlByName<fw::Listbox>("ListBox1"); }
    void Click(const std::shared_ptr<fw::ToolButton>& item) { user::Click(window, item); }

    // A fresh fake shell per cycle, so that the record of commands does not grow over the run.
    // arp finds no entry, so each row's name cell is "no entry.".
    FakeShell& NewShell(const Plan& plan) {
        shell.reset();
        shell.emplace();
        shell->answerOthers(0, QStringLiteral("? (x) -- no entry"));
        const QString ping = "ping -c 1 -t 1 " + Address(plan.first + plan.at);
        const QString arp = "arp -n " + Address(plan.first + plan.at);
        const Stop stop = plan.stop;
        shell->beforeAnswer([this, ping, arp, stop](const QString& commandLine) {
            if (stop == Stop::DuringProbe && commandLine == ping) {
                gate.WaitHere();
            } else if (stop == Stop::DuringPause && commandLine == arp) {
                pauseArmed.store(true);
            }
        });
        return *shell;
    }

    void RunCycle(const Plan& plan);

    Gate gate;
    std::atomic<bool> pauseArmed{false};
    fw::ScopedNetworkInterface own{{"198.51.100.1", "0:11:22:33:44:55"}};
    HostTables tables;
    FakeClock clock;
    std::optional<FakeShell> shell;
    fw::ScopedMsgBox messages;
    EndCountingWindow1 window;
    const ScopedWindowRelease released{window};
};

void StartStopCycles::RunCycle(const Plan& plan) {
    const int endsBefore = window.ends;
    const FakeShell& commands = NewShell(plan);
    user::TypeInto(window.ComboBox2(), QString::number(plan.first));
    user::TypeInto(window.ComboBox1(), QString::number(plan.count));
    const bool held = plan.stop == Stop::DuringProbe || plan.stop == Stop::DuringPause;
    if (held) {
        gate.Close();
    }

    Click(window.Toolbar11()->ToolItem1);
    ASSERT_EQ(Now(), kScanning);
    if (held) {
        ASSERT_TRUE(QTest::qWaitFor([this] { return gate.Reached(); }, kHangGuardMs))
            << "the walk reached the address in hand";
        ASSERT_EQ(window.ends, endsBefore) << "no end while the walk is held";
        ASSERT_EQ(Now(), kScanning);
    }
    if (plan.stop != Stop::Never) {
        Click(window.Toolbar11()->ToolItem2);
        ASSERT_EQ(Now(), kStopping);
    }
    gate.Open();

    ASSERT_TRUE(QTest::qWaitFor([&] { return window.ends > endsBefore; }, kHangGuardMs))
        << "the walk's end reached the window";
    // Everything the walk's thread handed over is queued by the time it has finished: a second
    // end, or a row after the end, would show once the queue is through.
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return !window.ScanThread()->IsRunning(); }, kHangGuardMs));
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
    EXPECT_EQ(window.ends, endsBefore + 1) << "exactly one end per walk";
    EXPECT_EQ(Now(), kEnded);
    EXPECT_EQ(window.pStop.load(), plan.stop != Stop::Never);

    const int rows = List().ListCount();
    EXPECT_EQ(window.rowsAtEnd, rows) << "no row after the end";
    switch (plan.stop) {
        case Stop::Never:
            EXPECT_EQ(rows, plan.count + 1) << "the whole range";
            break;
        case Stop::DuringProbe:
        case Stop::DuringPause:
            EXPECT_EQ(rows, plan.at + 1) << "the address in hand got its row, no other";
            break;
        case Stop::AtOnce:
            EXPECT_LE(rows, plan.count + 1);
            break;
    }
    QStringList expectedCommands;
    for (int row = 0; row < rows; ++row) {
        const QString address = Address(plan.first + row);
        ASSERT_EQ(List().Cell(row, 0), address) << "row " << row << " of a prefix of the range";
        ASSERT_EQ(List().Cell(row, 1), kNoEntry) << "row " << row;
        expectedCommands << "ping -c 1 -t 1 " + address << "arp -n " + address;
    }
    EXPECT_EQ(commands.commands(), expectedCommands) << "a probe for every row and no other";
}

TEST_F(StartStopCycles, EveryWalkEndsOnceWithAPrefixOfItsRangeAndLeavesNoMemoryBehind) {
    const std::uint32_t seed = StressSeed();
    SCOPED_TRACE("seed " + std::to_string(seed) + " (VQ_STRESS_SEED repeats the run)");
    std::mt19937 random(seed);
    long settledKb = -1;
    for (int cycle = 1; cycle <= kCycles; ++cycle) {
        const Plan plan = RandomPlan(random);
        {
            std::ostringstream where;
            where << "cycle " << cycle << ": " << plan;
            SCOPED_TRACE(where.str());
            RunCycle(plan);
        }
        if (HasFatalFailure() || HasNonfatalFailure()) {
            return;  // the seed and the cycle are in the messages; the rest would only repeat
        }
        if (cycle == kSettledCycle) {
            settledKb = ResidentKb();
        }
    }
    shell.reset();
    EXPECT_EQ(window.ends, kCycles);
    EXPECT_TRUE(messages.Texts().isEmpty()) << messages.Texts().join('\n').toStdString();

    const long endKb = ResidentKb();
    std::cout << "VmRSS after cycle " << kSettledCycle << ": " << settledKb << " kB, after cycle "
              << kCycles << ": " << endKb << " kB\n";
    if (kResidentSizeTellsLeaks) {
        ASSERT_GT(settledKb, 0);
        EXPECT_LT(endKb - settledKb, kRssGrowthBoundKb) << "the resident size keeps growing";
    }
}

}  // namespace
