// Shell::AbortAll at quit: a running command ends with its whole process group, and no new
// command runs afterwards. AbortAll lasts for the process, hence this executable of its own.
#include "framework/Shell.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/Processes.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <future>
#include <thread>

namespace {

using processes::Eventually;
using processes::IsRunning;

TEST(ShellAbortTest, EndsTheRunningCommandWithItsChildrenThenRefusesNewOnes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString pidFile = dir.filePath("pids");
    // The shell and a child of it: both must end.
    const QString command = "sleep 30 & echo $$ $! > " + fw::ShellWord(pidFile + ".new") +
                            " && mv " + fw::ShellWord(pidFile + ".new") + " " +
                            fw::ShellWord(pidFile) + "; wait";

    auto running = std::async(std::launch::async, [command] {
        fw::Shell shell;
        shell.Execute(command);
        return fw::ShellOutcome{shell.ErrorCode(), shell.Result()};
    });
    QList<QByteArray> pids;
    ASSERT_TRUE(Eventually([&] {
        QFile file(pidFile);
        pids = file.open(QIODevice::ReadOnly) ? file.readAll().trimmed().split(' ')
                                              : QList<QByteArray>();
        return pids.size() == 2;
    }));
    ASSERT_TRUE(IsRunning(static_cast<pid_t>(pids[1].toLongLong())));

    fw::Shell::AbortAll();
    const fw::ShellOutcome outcome = running.get();
    EXPECT_EQ(outcome.exitStatus, -1);
    for (const QByteArray& pid : pids) {
        EXPECT_TRUE(Eventually([&] { return !IsRunning(static_cast<pid_t>(pid.toLongLong())); }))
            << pid.toStdString();
    }

    fw::Shell later;
    later.Execute("echo too late > " + fw::ShellWord(dir.filePath("late")));
    EXPECT_EQ(later.ErrorCode(), -1);
    EXPECT_EQ(later.Result(), "");
    EXPECT_FALSE(QFile::exists(dir.filePath("late")));
}

}  // namespace
