// The host scan engine's costs: a walk on the real clock (its length and the CPU the scan thread
// burns while it pauses), the known-host and MAC-name lookups in large tables, and the host file
// loader.
#include "bench/Figures.h"
#include "bench/HostFiles.h"
#include "bench/KnownHosts.h"
#include "bench/ProcessStats.h"
#include "bench/RunBenchmarks.h"
#include "framework/NetworkInterface.h"
#include "scan/Global1.h"
#include "scan/ScanNet.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/TempWorkingDir.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <chrono>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kTableEntries = 100'000;
constexpr int kHostFileLines = 1'000'000;
using KnownHosts::kZone;
// What arp prints for a neighbour that answered, and the MAC address in it.
const QString kArpMac = QStringLiteral("0:aa:bb:cc:dd:ee");
const QString kArpAnswer =
    QStringLiteral("? (198.51.100.100) at 0:aa:bb:cc:dd:ee on en0 ifscope [ethernet]");

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Runs one walk of window's scan and returns its wall time: from Run to ExecuteEnd.
double TimedWalk(ScanNet& scan, RecordingWindow& window) {
    const int ends = window.ends();
    const auto start = Clock::now();
    scan.Run();
    window.waitForEnds(ends + 1);
    return Seconds(Clock::now() - start);
}

// A RecordingWindow that reads, at the walk's end and on the walk's own thread, that thread's CPU
// time. Every Run starts its walk on a new thread, so the clock holds that walk alone: what the
// benchmark's own thread does meanwhile cannot enter it.
class ScanThreadCpuWindow : public RecordingWindow {
public:
    void ExecuteEnd() override {
        mScanThreadCpu = ProcessStats::ThreadCpuSeconds();
        RecordingWindow::ExecuteEnd();
    }
    // Read after waitForEnds, whose hand-over of the end orders it after the write.
    double scanThreadCpuSeconds() const { return mScanThreadCpu; }

private:
    double mScanThreadCpu = 0;
};

// pStIP 100, pImax 16 with instant commands and the real clock: the walk lasts its 17 pauses, and
// the scan thread sleeps through them. The process's CPU time is shown beside it (a counter, no
// figure): it adds whatever else ran meanwhile, the benchmark's wait included.
void BM_WalkRealClock(benchmark::State& state) {
    KnownHosts::FillLarge(0, {}, {});
    fw::Append(Global1::gIPAddress, kZone + "101");
    fw::Append(Global1::gMachineNameI, "printer");
    fw::Append(Global1::gIPAddress, kZone + "105");
    fw::Append(Global1::gMachineNameI, "nas");
    fw::Append(Global1::gMacAddress, kArpMac);
    fw::Append(Global1::gMachineNameM, "laptop");
    FakeShell shell;
    shell.answerOthers(0, kArpAnswer);

    for (auto _ : state) {
        ScanThreadCpuWindow window;
        ScanNet scan;
        scan.pWin = &window;
        scan.pStIP = 100;
        scan.pImax = 16;
        const double processCpuBefore = ProcessStats::CpuSeconds();
        const double wall = TimedWalk(scan, window);
        const double processCpu = ProcessStats::CpuSeconds() - processCpuBefore;
        const double scanCpu = window.scanThreadCpuSeconds();
        scan.Wait();
        if (window.rows().size() != 17) {
            state.SkipWithError("the walk did not give 17 rows");
            break;
        }
        state.SetIterationTime(wall);
        state.counters["scan_cpu_ms"] = scanCpu * 1e3;
        state.counters["scan_cpu_pct"] = 100.0 * scanCpu / wall;
        state.counters["process_cpu_pct"] = 100.0 * processCpu / wall;
        Figures::Record("walk wall time (17 addresses)", wall, "s", Figures::Bound::AtMost,
                        17 * 0.5 * 1.01);
        Figures::Record("walk: scan thread's CPU time / wall time", 100.0 * scanCpu / wall, "%",
                        Figures::Bound::AtMost, 0.1);
    }
    KnownHosts::Clear();
}
BENCHMARK(BM_WalkRealClock)->Iterations(1)->UseManualTime()->Unit(benchmark::kSecond);

// A one-address walk (pStIP 100, pImax 0) whose cost is the lookup: instant commands, a clock
// that jumps over the pause, and a fixed own interface.
class OneAddressWalk {
public:
    OneAddressWalk() : mOwn({kZone + "1", "0:1:2:3:4:5"}) {
        mScan.pWin = &mWindow;
        mScan.pStIP = 100;
        mScan.pImax = 0;
        mShell.answerOthers(0, kArpAnswer);
    }

    double Run() { return TimedWalk(mScan, mWindow); }
    RecordingWindow::Row LastRow() const { return mWindow.rows().back(); }

private:
    FakeClock mClock;
    FakeShell mShell;
    fw::ScopedNetworkInterface mOwn;
    RecordingWindow mWindow;
    ScanNet mScan;
};

// The same walk with empty tables: what the walk costs besides the lookups.
void BM_OneAddressWalkEmptyTables(benchmark::State& state) {
    KnownHosts::FillLarge(0, {}, {});
    OneAddressWalk walk;
    for (auto _ : state) {
        state.SetIterationTime(walk.Run());
    }
}
BENCHMARK(BM_OneAddressWalkEmptyTables)
    ->Iterations(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

// The address is the last of 100,000 address entries: every other entry is compared and yielded.
void BM_KnownHostLookup(benchmark::State& state) {
    KnownHosts::FillLarge(kTableEntries, kZone + "100", {});
    OneAddressWalk walk;
    for (auto _ : state) {
        const double seconds = walk.Run();
        state.SetIterationTime(seconds);
        Figures::Record("known-host lookup (100,000 address entries)", seconds * 1e3, "ms",
                        Figures::Bound::Below, 50.0);
    }
    if (walk.LastRow().second != "the last host") {
        state.SkipWithError("the address was not found");
    }
    KnownHosts::Clear();
}
BENCHMARK(BM_KnownHostLookup)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// arp's MAC is the last of 100,000 MAC entries: every other entry is compared and yielded. No
// address entries, so the lookup of the address costs nothing.
void BM_MacAddressName(benchmark::State& state) {
    KnownHosts::FillLarge(kTableEntries, {}, kArpMac);
    Global1::gIPAddress.clear();
    Global1::gMachineNameI.clear();
    OneAddressWalk walk;
    for (auto _ : state) {
        const double seconds = walk.Run();
        state.SetIterationTime(seconds);
        Figures::Record("MacAddressName (100,000 MAC entries)", seconds * 1e3, "ms",
                        Figures::Bound::Below, 50.0);
    }
    if (walk.LastRow().second != "the last machine") {
        state.SkipWithError("the MAC address was not named");
    }
    KnownHosts::Clear();
}
BENCHMARK(BM_MacAddressName)->Iterations(20)->UseManualTime()->Unit(benchmark::kMillisecond);

// A host file of 1,000,000 lines read into empty tables.
void BM_LoadInfo(benchmark::State& state) {
    TempWorkingDir dir;
    dir.write("info.txt", HostFiles::Generated(kHostFileLines));
    for (auto _ : state) {
        KnownHosts::Clear();
        const auto start = Clock::now();
        Global1::LoadInfo();
        const double seconds = Seconds(Clock::now() - start);
        state.SetIterationTime(seconds);
        Figures::Record("LoadInfo (1,000,000 lines)", seconds, "s", Figures::Bound::Below, 1.0);
    }
    state.counters["addresses"] = static_cast<double>(Global1::gIPAddress.size());
    state.counters["macs"] = static_cast<double>(Global1::gMacAddress.size());
    if (Global1::gIPLocalZone != kZone || Global1::gIPAddress.empty() ||
        Global1::gMacAddress.empty()) {
        state.SkipWithError("the host file was not read");
    }
    KnownHosts::Clear();
}
BENCHMARK(BM_LoadInfo)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    Figures::TakeOption(argc, argv);
    QCoreApplication app(argc, argv);
    return RunBenchmarks(argc, argv);
}
