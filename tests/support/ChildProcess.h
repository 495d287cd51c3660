#pragma once
// Running part of a test in a forked child process: for what must not touch the test process
// (a resource limit, a signal disposition) or may block or grow without end. The child's report
// comes back through a pipe; a child that outlives its deadline or outgrows its memory bound is
// killed, so that a fault fails the test instead of hanging it or taking the machine's memory.

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>

struct ChildOutcome {
    enum class End { Exited, TimedOut, TooBig, Failed };
    End end = End::Failed;
    QByteArray report;  // what the body returned, when the child exited
    QString what;       // for a failure message: how the child ended

    bool Exited() const { return end == End::Exited; }
};

// Runs body in a child process and gives back its report. The body must not use the test
// framework; the child ends with _exit.
ChildOutcome RunInChild(const std::function<QByteArray()>& body,
                        std::chrono::milliseconds deadline = std::chrono::seconds(30),
                        long long memoryBoundBytes = 1024LL * 1024 * 1024);
