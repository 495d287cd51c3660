#include "tests/support/ProgramRun.h"

#include <QProcess>

ProgramRun RunProgram(const QString& program, const QStringList& args, const QString& workingDir,
                      int timeoutMs) {
    QProcess process;
    if (!workingDir.isEmpty()) {
        process.setWorkingDirectory(workingDir);
    }
    process.setStandardInputFile(QProcess::nullDevice());
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
