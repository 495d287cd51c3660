#pragma once
// Runs a program to its end and keeps what it wrote: our command stand-ins, and `ip` for the
// test networks.

#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1;  // -1 when it could not start, crashed or ran past its time limit
    QString out;
    QString err;
};

// Runs program in workingDir (empty: ours), its input empty. Waits at most timeoutMs: a guard
// against a hang, not a measure of speed.
ProgramRun RunProgram(const QString& program, const QStringList& args,
                      const QString& workingDir = {}, int timeoutMs = 60000);
