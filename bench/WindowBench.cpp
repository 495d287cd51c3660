// The main window's costs on the offscreen platform: how late its event loop runs while a walk
// fills the list, and the export of a list of 100,000 rows.
#include "bench/EndWatchingWindow1.h"
#include "bench/EventLoopLatency.h"
#include "bench/Figures.h"
#include "bench/HostFiles.h"
#include "bench/KnownHosts.h"
#include "bench/RunBenchmarks.h"
#include "framework/FolderItem.h"
#include "framework/Text.h"
#include "framework/TextStreams.h"
#include "framework/Thread.h"
#include "framework/gui/MsgBox.h"
#include "scan/Global1.h"
#include "scan/ScanNet.h"
#include "tests/support/FakeShell.h"
#include "tests/support/ScopedWindowRelease.h"
#include "tests/support/TempWorkingDir.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QMainWindow>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <chrono>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kExportRows = 100'000;
const QString kArpAnswer =
    QStringLiteral("? (198.51.100.100) at 0:aa:bb:cc:dd:ee on en0 ifscope [ethernet]");

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// A built, shown main window; message boxes are recorded, never shown.
class ShownWindow {
public:
    ShownWindow() {
        mWindow.Construct();
        if (!QTest::qWaitForWindowExposed(mWindow.Widget())) {
            qFatal("the main window was not shown");
        }
    }
    EndWatchingWindow1& operator*() { return mWindow; }
    EndWatchingWindow1* operator->() { return &mWindow; }
    fw::Listbox& List() { return *mWindow.ControlByName<fw::Listbox>("ListBox1"); }

private:
    fw::ScopedMsgBox mMessages;
    EndWatchingWindow1 mWindow;
    const ScopedWindowRelease mReleased{mWindow};
};

// A walk of 17 addresses (first octet 100, scan count 16) with instant commands and the real
// clock, started by the start button; the main thread's timer lateness is sampled meanwhile.
// With an argument of n > 0 each table holds n entries that no address meets, so that every
// address is looked up in both tables to the end while the main thread works.
void BM_EventLoopDuringWalk(benchmark::State& state) {
    const int entries = static_cast<int>(state.range(0));
    TempWorkingDir dir;
    dir.write("info.txt", HostFiles::SmallOffice());
    Global1::InitializeGlobals();
    Global1::LoadInfo();
    if (entries > 0) {
        KnownHosts::FillLarge(entries, {}, {});
    }
    FakeShell shell;
    shell.answerOthers(0, kArpAnswer);
    ShownWindow window;

    for (auto _ : state) {
        window->ComboBox1()->SetText("16");
        window->ComboBox2()->SetText("100");
        EventLoopLatency latency;
        QEventLoop loop;
        window->onEnd = [&loop] { loop.quit(); };
        latency.Start();
        const auto start = Clock::now();
        window->Toolbar11_Action(*window->Toolbar11()->ToolItem1);
        // Until the start button starts walks, the walk runs on a ScanNet of its own that
        // reports to the window as the window's would.
        std::unique_ptr<ScanNet> own;
        const bool byStartButton =
            window->ScanThread() != nullptr && window->ScanThread()->IsRunning();
        if (!byStartButton) {
            own = std::make_unique<ScanNet>();
            own->pWin = &*window;
            own->pStIP = 100;
            own->pImax = 16;
            own->Run();
        }
        loop.exec();
        const double wall = Seconds(Clock::now() - start);
        latency.Stop();
        window->onEnd = nullptr;

        state.SetIterationTime(wall);
        state.counters["samples"] = static_cast<double>(latency.LatenessMs().size());
        state.counters["p50_ms"] = latency.Percentile(50);
        state.counters["p99_ms"] = latency.Percentile(99);
        state.counters["max_ms"] = latency.Percentile(100);
        if (window.List().ListCount() != 17) {
            state.SkipWithError("the walk did not give 17 rows");
            break;
        }
        Figures::Record(entries > 0 ? "event-loop delay p99, walk over 100,000-entry tables"
                                    : "event-loop delay p99 during a walk",
                        latency.Percentile(99), "ms", Figures::Bound::Below, 16.0,
                        byStartButton ? "" : "(walk run by the bench: ToolItem1 started none)");
    }
    KnownHosts::Clear();
}
BENCHMARK(BM_EventLoopDuringWalk)
    ->Arg(0)
    ->Arg(100'000)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kSecond);

// What the export does, row by row, for a list whose window has no export yet.
void WriteLikeTheExport(fw::Listbox& list) {
    const std::optional<fw::FolderItem> file = fw::DesktopFolder()->Child("IPresult.txt");
    const std::unique_ptr<fw::TextOutputStream> stream = file->CreateTextFile();
    for (int row = 0; row < list.ListCount(); ++row) {
        stream->Write(list.Cell(row, 0) + fw::Chr(9) + list.Cell(row, 1) + fw::EndOfLine());
        fw::RuntimeBackgroundTask();
    }
    stream->Close();
}

qsizetype LineCount(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().count('\n') : -1;
}

// SaveResult of a list of 100,000 rows, through the export button.
void BM_SaveResult(benchmark::State& state) {
    ShownWindow window;
    fw::Listbox& list = window.List();
    list.DeleteAllRows();
    for (int row = 0; row < kExportRows; ++row) {
        list.AddRow("198.51." + fw::Str(100 + row / 256 % 100) + "." + fw::Str(row % 256));
        list.SetCell(row, 1,
                     row % 3 == 0 ? QStringLiteral("0:11:22:33:44:%1").arg(row % 256, 0, 16)
                                  : QStringLiteral("machine-%1").arg(row));
    }
    QCoreApplication::processEvents();

    const QString path = fw::DesktopFolder()->Child("IPresult.txt")->Path();
    QFile::remove(path);
    window->Toolbar11_Action(*window->Toolbar11()->ToolItem4);
    const bool bySaveResult = QFileInfo::exists(path);

    for (auto _ : state) {
        const auto start = Clock::now();
        if (bySaveResult) {
            window->Toolbar11_Action(*window->Toolbar11()->ToolItem4);
        } else {
            WriteLikeTheExport(list);
        }
        const double seconds = Seconds(Clock::now() - start);
        state.SetIterationTime(seconds);
        Figures::Record(
            "SaveResult (100,000 rows)", seconds * 1e3, "ms", Figures::Bound::Below, 300.0,
            bySaveResult ? "" : "(the export's steps on fw::TextOutputStream: no SaveResult yet)");
    }
    if (LineCount(path) != kExportRows) {
        state.SkipWithError("the result file does not hold every row");
    }
}
BENCHMARK(BM_SaveResult)->Iterations(10)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    Figures::TakeOption(argc, argv);
    // The export writes to the desktop: a desktop of the bench's own, never the user's.
    QTemporaryDir home;
    if (!home.isValid() || !QDir(home.path()).mkpath("Desktop")) {
        return 1;
    }
    qputenv("HOME", home.path().toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", (home.path() + "/.config").toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) !=
        home.path() + "/Desktop") {
        return 1;
    }
    return RunBenchmarks(argc, argv);
}
