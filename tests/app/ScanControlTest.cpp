// Starting, stopping and ending a scan through the main window, with a user's clicks on the
// toolbar's buttons and typing into the boxes, and a walk still running when the runtime
// releases the window; the probes are a fake shell's, the pauses a fake clock's.
#include "app/Window1.h"
#include "framework/Thread.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/MsgBox.h"
#include "framework/gui/Runtime.h"
#include "scan/Global1.h"
#include "tests/app/UserActions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/HangGuard.h"
#include "tests/support/HostTables.h"
#include "tests/support/ScopedWindowRelease.h"
#include "tests/support/TestRuntime.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <ostream>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

// What the user sees of a scan's state, and the stop flag.
struct State {
    QString status;
    bool start, stop, exportEnabled;
    bool stopFlag;
    bool operator==(const State&) const = default;
};

void PrintTo(const State& s, std::ostream* out) {
    *out << "{\"" << s.status.toStdString() << "\", start " << s.start << ", stop " << s.stop
         << ", export " << s.exportEnabled << ", pStop " << s.stopFlag << "}";
}

const QString kReadyText = QStringLiteral("待機中...\r  ");
const State kReady{kReadyText, true, false, false, false};
const State kScanning{"取得中...", false, true, false, false};
const State kStopping{"処理中止", false, true, false, true};
const State kEnded{"", true, false, true, false};
const State kEndedAfterStop{"", true, false, true, true};

// The opened main window; arp finds nothing (empty name cells) unless a test says otherwise.
class ScanControl : public ::testing::Test {
protected:
    ScanControl() {
        shell.answerOthers(1);
        window.Construct();
    }

    State Now() const {
        const Toolbar1* toolbar = window.Toolbar11();
        return {window.StaticText1()->Text(), toolbar->ToolItem1->Enabled(),
                toolbar->ToolItem2->Enabled(), toolbar->ToolItem4->Enabled(), window.pStop};
    }
    fw::Listbox& List() const { return *window.ControlByName<fw::Listbox>("ListBox1"); }
    QStringList Addresses() const {
        QStringList addresses;
        for (int row = 0; row < List().ListCount(); ++row) {
            addresses << List().Cell(row, 0);
        }
        return addresses;
    }
    void Click(const std::shared_ptr<fw::ToolButton>& item) { user::Click(window, item); }
    // The walk's end has reached the window (a guard of a minute against a hang).
    void WaitForTheEnd() {
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return window.Toolbar11()->ToolItem4->Enabled(); }, 60000));
    }

    HostTables tables;
    FakeClock clock;
    FakeShell shell;
    fw::ScopedMsgBox messages;
    Window1 window;
    const ScopedWindowRelease released{window};
};

QStringList Range(int first, int last) {
    QStringList addresses;
    for (int octet = first; octet <= last; ++octet) {
        addresses << QString("198.51.100.%1").arg(octet);
    }
    return addresses;
}

struct FirstOctetCase {
    const char* typed;
    int first;                // 0: refused
    bool afterAScan = false;  // typed once a scan of 100 to 116 has ended
};

void PrintTo(const FirstOctetCase& c, std::ostream* out) {
    *out << '"' << c.typed << '"' << (c.afterAScan ? " after a scan" : "");
}

class FirstOctet : public ScanControl, public ::testing::WithParamInterface<FirstOctetCase> {};

TEST_P(FirstOctet, BelowOneHundredIsRefusedAndChangesNothing) {
    State before = kReady;
    if (GetParam().afterAScan) {
        Click(window.Toolbar11()->ToolItem1);
        WaitForTheEnd();
        before = kEnded;
        user::TypeInto(window.ComboBox1(), "24");  // a refused start takes no count either
    }
    user::TypeInto(window.ComboBox2(), GetParam().typed);
    ASSERT_EQ(Now(), before);
    const QStringList rows = Addresses();
    const qsizetype commands = shell.commands().size();
    Click(window.Toolbar11()->ToolItem1);

    if (GetParam().first == 0) {
        EXPECT_EQ(messages.Texts(), QStringList{"100以下は指定できません。"});
        EXPECT_EQ(Now(), before);
        EXPECT_EQ(window.ScanThread()->pStIP, GetParam().afterAScan ? 100 : 0);
        EXPECT_EQ(window.ScanThread()->pImax, GetParam().afterAScan ? 16 : 0);
        QCoreApplication::processEvents();
        EXPECT_EQ(shell.commands().size(), commands) << "no walk ran";
        EXPECT_EQ(Addresses(), rows);
        return;
    }
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_EQ(Now(), kScanning);
    EXPECT_EQ(window.ScanThread()->pStIP, GetParam().first);
    EXPECT_EQ(window.ScanThread()->pImax, 16);
    WaitForTheEnd();
    EXPECT_EQ(Now(), kEnded);
    EXPECT_EQ(Addresses(), Range(GetParam().first, GetParam().first + 16));
    EXPECT_TRUE(messages.Texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Start, FirstOctet,
                         ::testing::Values(FirstOctetCase{"100", 100}, FirstOctetCase{"99", 0},
                                           FirstOctetCase{"99.5", 0}, FirstOctetCase{"0", 0},
                                           FirstOctetCase{"abc", 0}, FirstOctetCase{"300", 300},
                                           FirstOctetCase{"99", 0, true}));

struct CountCase {
    const char* typed;
    int count;
    int rows;
};

void PrintTo(const CountCase& c, std::ostream* out) {
    *out << '"' << c.typed << '"';
}

class ScanCount : public ScanControl, public ::testing::WithParamInterface<CountCase> {};

TEST_P(ScanCount, IsTakenAsItReadsWithoutAnyTest) {
    user::TypeInto(window.ComboBox1(), GetParam().typed);
    Click(window.Toolbar11()->ToolItem1);
    EXPECT_EQ(window.ScanThread()->pImax, GetParam().count);
    WaitForTheEnd();
    EXPECT_EQ(Now(), kEnded);
    EXPECT_EQ(List().ListCount(), GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Start, ScanCount,
                         ::testing::Values(CountCase{"16", 16, 17}, CountCase{"24", 24, 25},
                                           CountCase{"0", 0, 1}, CountCase{"2.9", 2, 3},
                                           CountCase{"-1", -1, 0}, CountCase{"abc", 0, 1}));

TEST_F(ScanControl, AStopDuringAProbeEndsTheWalkAfterThatAddressAndTheNextStartRunsAgain) {
    std::atomic<bool> probing{false}, released{false};
    shell.beforeAnswer([&](const QString& commandLine) {
        if (commandLine == "ping -c 1 -t 1 198.51.100.101" && !released.load()) {
            probing.store(true);
            // Held until the test releases it; a test that failed before never does.
            QDeadlineTimer held(60000);
            while (!released.load() && !held.hasExpired()) {
                QThread::msleep(1);
            }
        }
    });
    Click(window.Toolbar11()->ToolItem1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probing.load(); }, 60000))
        << "waited for the ping of 198.51.100.101";

    Click(window.Toolbar11()->ToolItem2);
    EXPECT_EQ(Now(), kStopping);
    Click(window.Toolbar11()->ToolItem2);  // once more: the same again
    EXPECT_EQ(Now(), kStopping);
    EXPECT_TRUE(messages.Texts().isEmpty());
    released.store(true);
    WaitForTheEnd();
    EXPECT_EQ(Now(), kEndedAfterStop) << "the stop flag stays set after the end";
    EXPECT_EQ(Addresses(), Range(100, 101)) << "the address in hand got its row, no other";
    EXPECT_EQ(shell.commands().size(), 4) << "ping and arp of two addresses";

    Click(window.Toolbar11()->ToolItem1);
    EXPECT_EQ(Now(), kScanning) << "a new start clears the old stop";
    WaitForTheEnd();
    EXPECT_EQ(Now(), kEnded);
    EXPECT_EQ(Addresses(), Range(100, 116));
}

TEST_F(ScanControl, AStartRightAfterAnEndAlwaysStarts) {
    const ScanNet* const scanObject = window.ScanThread();
    for (int scan = 0; scan < 3; ++scan) {
        SCOPED_TRACE(scan);
        Click(window.Toolbar11()->ToolItem1);
        EXPECT_EQ(Now(), kScanning);
        WaitForTheEnd();
        EXPECT_EQ(Now(), kEnded);
        EXPECT_EQ(List().ListCount(), 17);
        EXPECT_EQ(window.ScanThread(), scanObject) << "one scan thread object serves every scan";
    }
    EXPECT_EQ(shell.commands().size(), 3 * 17 * 2);
}

TEST_F(ScanControl, AfterAnExceptionReachedTheHandlerTheWalksWorkIsNotDone) {
    Click(window.Toolbar11()->ToolItem1);
    WaitForTheEnd();
    // As a walk's start leaves the window (without a walk, so that nothing else comes).
    window.StaticText1()->SetText("取得中...");
    window.Toolbar11()->ToolItem1->SetEnabled(false);
    window.Toolbar11()->ToolItem2->SetEnabled(true);
    window.Toolbar11()->ToolItem4->SetEnabled(false);
    ASSERT_EQ(Now(), kScanning);
    fw::RuntimeUnhandledException(std::make_exception_ptr(std::runtime_error("boom")));
    // What a walk hands over from here on: rows and its end.
    std::thread([this] {
        window.ListBox1().DeleteAllRows();
        window.ListBox1().AddRow("198.51.100.250");
        window.ExecuteEnd();
    }).join();
    QTest::qWait(100);  // the queued work has its chance
    EXPECT_EQ(Addresses(), Range(100, 116)) << "the list stays as it was";
    EXPECT_EQ(Now(), kScanning) << "the window does not switch to the end";
    fw::RuntimeExit();  // ends the failed run: handlers run again for the rest of this test
}

TEST_F(ScanControl, TheSeparatorAndTheSpaceDoNothing) {
    for (const auto& item : {window.Toolbar11()->ToolItem5, window.Toolbar11()->ToolItem3}) {
        EXPECT_EQ(user::ButtonOf(window, item), nullptr) << "nothing to click";
        window.Toolbar11_Action(*item);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(Now(), kReady);
    EXPECT_TRUE(messages.Texts().isEmpty());
    EXPECT_TRUE(shell.commands().isEmpty());
}

// Counts the ends of walks that reach the main thread.
class EndCountingWindow : public Window1 {
public:
    int ends = 0;

protected:
    void ExecuteEndOnMainThread() override {
        ++ends;
        Window1::ExecuteEndOnMainThread();
    }
};

TEST(ScanStart, WithoutAThreadEndsAtOnceAsAWalkThatDidNothingAndSaysWhy) {
    // The window's end waits for its walk: a walk taken for running would never let it go.
    const HangGuard guard("the window waits for a scan thread that never started",
                          std::chrono::seconds(120));
    HostTables tables;
    FakeClock clock;
    FakeShell shell;
    shell.answerOthers(1);
    fw::ScopedMsgBox messages;
    {
        EndCountingWindow window;
        const ScopedWindowRelease released(window);
        window.Construct();
        auto* list = window.ControlByName<fw::Listbox>("ListBox1");
        list->AddRow("198.51.100.1");  // from an earlier walk
        {
            const fw::ScopedFailingThreadStart failing;
            user::Click(window, window.Toolbar11()->ToolItem1);
        }
        QTest::qWait(100);  // anything queued has its chance

        EXPECT_EQ(window.ends, 1);
        const Toolbar1* toolbar = window.Toolbar11();
        EXPECT_EQ(
            (State{window.StaticText1()->Text(), toolbar->ToolItem1->Enabled(),
                   toolbar->ToolItem2->Enabled(), toolbar->ToolItem4->Enabled(), window.pStop}),
            kEnded);
        EXPECT_EQ(messages.Texts(), QStringList{"スキャンを開始できませんでした。\n"
                                                "システムが新しいスレッドを作れませんでした"
                                                "（プロセス数またはメモリの上限）。"});
        EXPECT_FALSE(window.ScanThread()->IsRunning());
        EXPECT_EQ(list->ListCount(), 1) << "the list stays as it was";
        EXPECT_TRUE(shell.commands().isEmpty());

        // Another try, once the system gives a thread again, is a walk as always.
        user::Click(window, window.Toolbar11()->ToolItem1);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.ends == 2; }, 60000))
            << "the second walk's end";
        EXPECT_EQ(list->ListCount(), 17);
    }
}

// A main window that tells, as its own destructor begins, whether its walk was still running:
// from then on a virtual call of the walk would meet a window whose parts are going.
class DestroyWatchingWindow1 : public Window1 {
public:
    DestroyWatchingWindow1(bool& walkRunning, std::atomic<bool>& destroying)
        : mWalkRunning(walkRunning), mDestroying(destroying) {}
    ~DestroyWatchingWindow1() override {
        mWalkRunning = ScanThread()->IsRunning();
        mDestroying.store(true);
    }

private:
    bool& mWalkRunning;
    std::atomic<bool>& mDestroying;
};

// A run of the runtime that holds the main window, as the program's does.
class HeldWindow : public ::testing::Test {
protected:
    HeldWindow() { testing_runtime::Init(); }
    ~HeldWindow() override {
        fw::RuntimeReleaseModuleObjects();
        fw::RuntimeExit();
    }
    HostTables tables;
    FakeClock clock;
    FakeShell shell;
    fw::ScopedMsgBox messages;
};

TEST_F(HeldWindow, ItsReleaseEndsTheWalkBeforeAnyDestructorOfTheWindowRuns) {
    bool walkRunning = true;
    std::atomic<bool> destroying{false}, probing{false};
    auto* window = static_cast<DestroyWatchingWindow1*>(fw::RuntimeAddImplicitWindow(
        "Window1.Window1", std::make_unique<DestroyWatchingWindow1>(walkRunning, destroying)));
    ASSERT_NE(window, nullptr);
    window->Construct();
    shell.answerOthers(1);
    // The probe of the second address ends on its own, late: once the walk is asked to stop, or
    // once the window's destruction has begun, whichever comes first (at the latest after a
    // minute, should neither come).
    shell.beforeAnswer([&](const QString& commandLine) {
        if (commandLine != "ping -c 1 -t 1 198.51.100.101") {
            return;
        }
        probing.store(true);
        QDeadlineTimer held(60000);
        while (!destroying.load() && !window->pStop.load() && !held.hasExpired()) {
            QThread::msleep(1);
        }
    });
    user::Click(*window, window->Toolbar11()->ToolItem1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return probing.load(); }, 60000))
        << "waited for the ping of 198.51.100.101";

    // As the program's shutdown does (ModuleFinalize).
    fw::RuntimeReleaseModuleObjects();
    EXPECT_EQ(fw::RuntimeGetImplicitWindow("Window1.Window1"), nullptr);
    EXPECT_TRUE(destroying.load());
    EXPECT_FALSE(walkRunning) << "the window's destruction began while its walk ran";
    EXPECT_EQ(shell.commands().join("; ").toStdString(),
              "ping -c 1 -t 1 198.51.100.100; arp -n 198.51.100.100; "
              "ping -c 1 -t 1 198.51.100.101; arp -n 198.51.100.101")
        << "the walk stopped after the address in hand, which it finished as usual";
    EXPECT_TRUE(messages.Texts().isEmpty());
}

}  // namespace
