// Runs its arguments as command lines through fw::Shell, all at once on threads of their own,
// and prints the output of each in turn: for the tests of what the program does in the layout
// around its executable, into which they copy this one.
//
//   shell_driver COMMAND...
//
// Exit status: 0 when every command exited with 0, else 1.
#include "framework/Shell.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>
#include <latch>
#include <thread>
#include <vector>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList commands = QCoreApplication::arguments().mid(1);
    std::vector<fw::ShellOutcome> outcomes(static_cast<std::size_t>(commands.size()));
    std::latch start(static_cast<std::ptrdiff_t>(outcomes.size()));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        threads.emplace_back([&, i] {
            start.arrive_and_wait();
            fw::Shell shell;
            shell.Execute(commands[static_cast<qsizetype>(i)]);
            outcomes[i] = {shell.ErrorCode(), shell.Result()};
        });
    }
    int status = 0;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        threads[i].join();
        std::fputs(outcomes[i].output.toLocal8Bit().constData(), stdout);
        status = outcomes[i].exitStatus == 0 ? status : 1;
    }
    return status;
}
