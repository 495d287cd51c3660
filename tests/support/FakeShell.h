#pragma once
// A shell that runs no process: it records every command line and answers from a table of
// outcomes keyed by the exact command line (a default for the rest). Safe on any thread.

#include "framework/Shell.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <mutex>

class FakeShell {
public:
    FakeShell();

    // The outcome of one exact command line.
    void answer(const QString& commandLine, int exitStatus, const QString& output = {});
    // The outcome of every command line without an answer of its own (default: 0, no output).
    void answerOthers(int exitStatus, const QString& output = {});
    // Runs on the executing thread before a command is answered (to block or to act mid-probe).
    void beforeAnswer(std::function<void(const QString& commandLine)> hook);

    QStringList commands() const;

private:
    struct State {
        mutable std::mutex mutex;
        QHash<QString, fw::ShellOutcome> answers;
        fw::ShellOutcome others{0, {}};
        std::function<void(const QString&)> hook;
        QStringList commands;
    };
    std::shared_ptr<State> mState;
    fw::ScopedShellRunner mScope;
};
