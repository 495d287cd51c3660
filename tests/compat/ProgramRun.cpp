#include "tests/compat/ProgramRun.h"

#include <QProcess>

ProgramRun RunProgram(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess process;
    process.start(program, args);
    ProgramRun run;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    } else if (process.exitStatus() == QProcess::NormalExit) {
        run.exitCode = process.exitCode();
    }
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}
