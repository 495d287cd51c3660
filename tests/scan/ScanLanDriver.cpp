// One real walk, for the LAN test: run inside a network namespace, in a folder that holds
// info.txt, it loads the host file, walks with the real shell, clock and network interface and
// prints the rows, one "address<TAB>name" line each.
//
//   scan_lan_driver FIRST COUNT    walks last octets FIRST .. FIRST + COUNT
//
// Exit status: 0 after a walk that ended once, 2 for bad arguments, 3 when the walk did not end
// exactly once or not within 90 s.
#include "scan/Global1.h"
#include "scan/ScanNet.h"
#include "tests/support/RecordingWindow.h"

#include <QCoreApplication>
#include <QStringList>
#include <QTextStream>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

std::optional<std::int32_t> ParseInt(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok ? std::optional<std::int32_t>(value) : std::nullopt;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = QCoreApplication::arguments();
    const auto first = args.size() == 3 ? ParseInt(args[1]) : std::nullopt;
    const auto count = args.size() == 3 ? ParseInt(args[2]) : std::nullopt;
    if (!first || !count) {
        err << "usage: scan_lan_driver FIRST COUNT\n";
        return 2;
    }

    Global1::InitializeGlobals();
    Global1::LoadInfo();

    RecordingWindow window;
    int ends = 0;
    {
        ScanNet scan;
        scan.pWin = &window;
        scan.pImax = *count;
        window.pStop = false;
        scan.pStIP = *first;
        scan.Run();
        // Far beyond the walk's time, and within the test's own guard for the driver.
        const bool ended = window.waitForEnds(1, std::chrono::seconds(90));
        if (!ended) {
            // The walk is stuck: waiting for its thread would hang the driver.
            err << "the walk did not end within 90 s\n";
            err.flush();
            std::_Exit(3);
        }
        scan.Wait();
        ends = window.ends();
    }
    if (ends != 1) {
        err << "the walk ended " << ends << " times\n";
        return 3;
    }

    QTextStream out(stdout);
    for (const RecordingWindow::Row& row : window.rows()) {
        out << row.first << '\t' << row.second << '\n';
    }
    out.flush();
    Global1::FinalizeGlobals();
    return 0;
}
