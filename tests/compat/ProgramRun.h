#pragma once
// Runs a program to its end and keeps what it wrote, for the tests of our command stand-ins.

#include <QString>
#include <QStringList>

struct ProgramRun {
    int exitCode = -1;  // -1 when it could not start, crashed or ran past the time limit
    QString out;
    QString err;
};

// Waits at most timeoutMs for the program: a guard against a hang, not a measure of speed.
ProgramRun RunProgram(const QString& program, const QStringList& args, int timeoutMs = 60000);
