// The whole program, driven by a script of user actions: the program's own main (app/main.cpp),
// and a script installed when Qt's application object is made clicks, types and quits through
// the main window's widgets, as a user would. For tests that run the program as a process of its
// own (offscreen unless QT_QPA_PLATFORM names another platform), as a user's system starts it:
// the signals' dispositions and the limits are those the process is started with.
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
//   app_driver export COUNT close|keep
//                               ping and arp answer at once; types COUNT as the scan count,
//                               starts a scan at 100, waits for its end, exports; a message box
//                               it shows is closed, or kept (for a signal from outside); quits
//   app_driver fault            a handler of the program throws: the run ends on it, and the
//                               start routine's message box is kept (for a signal from outside)
//   (probe and pause print "ending the run" on standard output as they close or quit; every
//   message box shown prints "box: " and its text, its lines joined by " | ")
//
// Exit status: the program's; 4 when the script gets stuck, 2 for bad arguments.
#include "app/Window1.h"
#include "framework/Shell.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/Runtime.h"
#include "tests/app/Script.h"
#include "tests/app/UserActions.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QMessageBox>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
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

// Prints every message box once as it is shown; closes it unless the script keeps it for a
// signal from outside. Its own timer: a box runs a loop of its own, in which the script's next
// step waits for the box to go.
void WatchBoxes(bool keep) {
    auto* timer = new QTimer(QCoreApplication::instance());
    auto reported = std::make_shared<QObject*>(nullptr);
    QObject::connect(timer, &QTimer::timeout, [keep, reported] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || box == *reported) {
            return;
        }
        *reported = box;
        const QByteArray text = box->text().replace(u'\n', QStringLiteral(" | ")).toUtf8();
        std::printf("box: %s\n", text.constData());
        std::fflush(stdout);
        if (!keep) {
            box->close();
        }
    });
    timer->start(10);
}

void StartWalk(Window1& window, const QString& count) {
    user::TypeInto(window.ComboBox1(), count);
    StartAt100(window);
}

// The probes of the scripts that stop a scan or export; none for a walk on a real network.
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
    if (kind == "pause" || kind == "export") {
        return [](const QString& commandLine) -> fw::ShellOutcome {
            if (commandLine.startsWith("arp ")) {
                return {0, "? (x) -- no entry"};
            }
            return {0, {}};
        };
    }
    return std::nullopt;
}

// Held for the whole process and never released: it must outlive the scan thread's last
// command, and a release among the statics at exit could come after the seam's own.
fw::ScopedShellRunner* gProbes = nullptr;

void InstallProbes() {
    if (std::optional<fw::ShellRunner> runner = Probes()) {
        gProbes = new fw::ScopedShellRunner(std::move(*runner));
    }
}

bool ValidScript() {
    const QString kind = gScript.value(0);
    if (kind == "walk") {
        return gScript.size() == 2;
    }
    if (kind == "fault") {
        return gScript.size() == 1;
    }
    const auto number = [](const QString& word) {
        bool isNumber = false;
        return word.toInt(&isNumber) >= 0 && isNumber;
    };
    if (kind == "export") {
        return gScript.size() == 3 && number(gScript.value(1)) &&
               (gScript.value(2) == "close" || gScript.value(2) == "keep");
    }
    const bool how = gScript.value(1) == "close" || gScript.value(1) == "quit";
    if (kind == "probe") {
        return (how || gScript.value(1) == "wait") &&
               (gScript.size() == 3 || (gScript.size() == 4 && number(gScript.value(3))));
    }
    return kind == "pause" && how &&
           (gScript.size() == 2 || (gScript.size() == 3 && number(gScript.value(2))));
}

// Made with Qt's application object, inside the program's start-up.
void InstallScript() {
    gScript = QCoreApplication::arguments().mid(1);
    if (!ValidScript()) {
        std::fputs(
            "usage: app_driver walk COUNT | probe close|quit|wait PIDFILE [N] | "
            "pause close|quit [N] | export COUNT close|keep | fault\n",
            stderr);
        std::_Exit(2);
    }
    InstallProbes();
    auto* script = new Script;
    // A stuck script fails rather than hangs; far beyond any normal run.
    QTimer::singleShot(120000, [] {
        std::fputs("app_driver: the script got stuck\n", stderr);
        std::_Exit(4);
    });
    const QString kind = gScript.value(0);
    WatchBoxes(kind == "fault" || gScript.value(2) == "keep");
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
    } else if (kind == "export") {
        const QString count = gScript.value(1);
        script->Then([count](Window1& w) { StartWalk(w, count); })
            .Then(WalkEnded, [](Window1& w) { user::Click(w, w.Toolbar11()->ToolItem4); })
            .Then([](Window1& w) { user::PressQuit(w); });
    } else if (kind == "fault") {
        script->Then([](Window1&) {
            fw::RuntimeCallHandler([] { throw std::runtime_error("the script's own fault"); });
        });
    }
    script->Start();
}

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallScript)
