// The whole program, driven by a script of user actions: main runs the program's own start-up
// routine, and a script installed when Qt's application object is made clicks, types and quits
// through the main window's widgets, as a user would. For tests that run the program as a process
// of its own (offscreen unless QT_QPA_PLATFORM names another platform).
//
//   app_driver walk COUNT       types COUNT as the scan count, starts a scan with the first
//                               octet that the host file gave, waits for its end, exports, quits
//                               (Ctrl+Q); the real shell, clock and network
//   app_driver probe close|quit|wait PIDFILE [N]
//                               the ping of address N (from 0; default 0) runs a real
//                               `sleep 3600` in the shell, one that only an abort ends (its pids
//                               to PIDFILE); every other command answers at once; starts a scan
//                               at 100 and, while that probe runs, closes the window or quits,
//                               or waits (for a signal from outside)
//   app_driver pause close|quit [N]
//                               ping and arp answer at once; starts a scan at 100 and closes the
//                               window or quits during the pause after address N (default 0),
//                               or as soon after it as the main thread gets to see it
//   (probe and pause print "ending the run" on standard output as they close or quit)
//
// Exit status: the program's; 4 when the script gets stuck, 2 for bad arguments.
#include "app/Startup.h"
#include "app/Window1.h"
#include "framework/Shell.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/Runtime.h"
#include "tests/app/Script.h"
#include "tests/app/UserActions.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace {

// The words after the program's name.
QStringList gScript;

// The address (from 0) during whose probe or pause the script ends the run.
int EndAddress() {
    const QString kind = gScript.value(0);
    const int index = kind == "probe" ? 3 : 2;
    return gScript.size() > index ? gScript.value(index).toInt() : 0;
}

bool WalkEnded(Window1& window) {
    return window.Toolbar11()->ToolItem1->Enabled() && window.Toolbar11()->ToolItem4->Enabled();
}

void EndTheRun(Window1& window, const QString& how) {
    // The test times the end of the program from here.
    std::fputs("ending the run\n", stdout);
    std::fflush(stdout);
    if (how == "close") {
        user::CloseWindow(window);
    } else if (how == "quit") {
        user::PressQuit(window);
    }
}

void StartAt100(Window1& window) {
    user::TypeInto(window.ComboBox2(), "100");
    user::Click(window, window.Toolbar11()->ToolItem1);
}

// Made with Qt's application object, inside the program's start-up.
void InstallScript() {
    auto* script = new Script;
    // A stuck script fails rather than hangs; far beyond any normal run.
    QTimer::singleShot(120000, [] {
        std::fputs("app_driver: the script got stuck\n", stderr);
        std::_Exit(4);
    });
    const QString kind = gScript.value(0);
    if (kind == "walk") {
        const QString count = gScript.value(1);
        script->Then([count](Window1& w) { user::TypeInto(w.ComboBox1(), count); })
            .Then([](Window1& w) { user::Click(w, w.Toolbar11()->ToolItem1); })
            .Then(WalkEnded, [](Window1& w) { user::Click(w, w.Toolbar11()->ToolItem4); })
            .Then([](Window1& w) { user::PressQuit(w); });
    } else if (kind == "probe") {
        const QString how = gScript.value(1);
        const QString pidFile = gScript.value(2);
        script->Then(StartAt100)
            .Then([pidFile](Window1&) { return QFile::exists(pidFile); },
                  [how](Window1& w) { EndTheRun(w, how); });
    } else if (kind == "pause") {
        const QString how = gScript.value(1);
        const int last = EndAddress();
        script->Then(StartAt100)
            .Then(
                // At least: a main thread that a loaded machine kept busy (the first paint)
                // may see the rows of several addresses arrive at once.
                [last](Window1& w) {
                    const auto* list = w.ControlByName<fw::Listbox>("ListBox1");
                    return list->ListCount() >= last + 1 && list->Cell(last, 1) == "no entry.";
                },
                [how](Window1& w) { EndTheRun(w, how); });
    }
    script->Start();
}

// The probes of the scripts that stop a scan; none for a walk on a real network.
std::optional<fw::ShellRunner> Probes() {
    const QString kind = gScript.value(0);
    if (kind == "probe") {
        const QString pidFile = gScript.value(2);
        auto pings = std::make_shared<int>(0);  // only the scan thread runs commands
        return
            [pidFile, pings, last = EndAddress()](const QString& commandLine) -> fw::ShellOutcome {
                if (!commandLine.startsWith("ping ") || (*pings)++ != last) {
                    return {1, {}};
                }
                // The real shell, for this command only (only the scan thread runs commands).
                fw::ScopedShellRunner real{fw::ShellRunner()};
                fw::Shell shell;
                shell.Execute("sleep 3600 & echo $$ $! > " + fw::ShellWord(pidFile + ".new") +
                              " && mv " + fw::ShellWord(pidFile + ".new") + " " +
                              fw::ShellWord(pidFile) + "; wait");
                return {shell.ErrorCode(), shell.Result()};
            };
    }
    if (kind == "pause") {
        return [](const QString& commandLine) -> fw::ShellOutcome {
            if (commandLine.startsWith("arp ")) {
                return {0, "? (x) -- no entry"};
            }
            return {0, {}};
        };
    }
    return std::nullopt;
}

bool ValidScript() {
    const QString kind = gScript.value(0);
    if (kind == "walk") {
        return gScript.size() == 2;
    }
    const bool how = gScript.value(1) == "close" || gScript.value(1) == "quit";
    const auto address = [](const QString& word) {
        bool number = false;
        return word.toInt(&number) >= 0 && number;
    };
    if (kind == "probe") {
        return (how || gScript.value(1) == "wait") &&
               (gScript.size() == 3 || (gScript.size() == 4 && address(gScript.value(3))));
    }
    return kind == "pause" && how &&
           (gScript.size() == 2 || (gScript.size() == 3 && address(gScript.value(2))));
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallScript)

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        gScript << QString::fromLocal8Bit(argv[i]);
    }
    if (!ValidScript()) {
        std::fputs(
            "usage: app_driver walk COUNT | probe close|quit|wait PIDFILE [N] | "
            "pause close|quit [N]\n",
            stderr);
        return 2;
    }
    std::optional<fw::ScopedShellRunner> probes;
    if (std::optional<fw::ShellRunner> runner = Probes()) {
        probes.emplace(std::move(*runner));
    }
    // The program's own arguments: its name only, it takes none.
    int programArgc = 1;
    return Startup::Main(programArgc, argv);
}
