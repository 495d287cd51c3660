// Commands through the real /bin/sh: exit status, merged output, our stand-ins first on the
// PATH, the runner seam, and words quoted so that the shell reads them back unchanged.
#include "framework/Shell.h"
#include "tests/framework/QStringPrinter.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

#include <latch>
#include <thread>
#include <vector>

namespace {

fw::ShellOutcome RunCommand(const QString& commandLine) {
    fw::Shell shell;
    shell.Execute(commandLine);
    const fw::ShellOutcome outcome{shell.ErrorCode(), shell.Result()};
    shell.Close();
    return outcome;
}

TEST(ShellTest, ExitStatusAndOutput) {
    struct Case {
        QString command;
        int exitStatus;
        QString output;
    };
    const Case cases[] = {
        {"echo hello", 0, "hello\n"},
        {"exit 3", 3, ""},
        {"true", 0, ""},
        {"false", 1, ""},
        {"sh -c 'echo x >&2'", 0, "x\n"},
        {"echo out; echo err >&2; exit 2", 2, "out\nerr\n"},
        {"printf 'a\\tb\\r\\n'", 0, "a\tb\r\n"},
        {QString::fromUtf8("echo 東京"), 0, QString::fromUtf8("東京\n")},
        {"cat", 0, ""},  // stdin is empty, not the test's terminal: no wait for input
        {"kill -9 $$", -1, ""},
        // Longer than one argument of a program may be: the shell cannot be started.
        {": " + QString(200'000, u'x'), -1, ""},
    };
    for (const Case& c : cases) {
        const fw::ShellOutcome outcome = RunCommand(c.command);
        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << c.command.left(40).toStdString();
        EXPECT_EQ(outcome.output, c.output) << c.command.left(40).toStdString();
    }
}

TEST(ShellTest, ACommandThatIsNotThereGives127AndTheShellsMessage) {
    const fw::ShellOutcome outcome = RunCommand("vellmaroq-no-such-command-here");
    EXPECT_EQ(outcome.exitStatus, 127);
    EXPECT_TRUE(outcome.output.contains("vellmaroq-no-such-command-here"))
        << outcome.output.toStdString();
}

TEST(ShellTest, CloseForgetsTheOutcome) {
    fw::Shell shell;
    EXPECT_EQ(shell.ErrorCode(), -1);
    shell.Execute("echo a; exit 4");
    EXPECT_EQ(shell.ErrorCode(), 4);
    EXPECT_EQ(shell.Result(), "a\n");
    shell.Close();
    EXPECT_EQ(shell.ErrorCode(), -1);
    EXPECT_EQ(shell.Result(), "");
}

TEST(ShellTest, LongOutputIsReadWhole) {
    // More than any pipe holds: the command would block if its output were not read as it comes.
    const fw::ShellOutcome outcome =
        RunCommand("i=0; while [ $i -lt 20000 ]; do echo line$i; i=$((i+1)); done");
    EXPECT_EQ(outcome.exitStatus, 0);
    const QStringList lines = outcome.output.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 20000);
    EXPECT_EQ(lines.back(), "line19999");
}

TEST(ShellTest, OurStandInsComeFirstOnThePath) {
    const QString dir = QDir::cleanPath(VELLMAROQ_COMPAT_BIN_DIR);
    ASSERT_TRUE(QDir().mkpath(dir));
    ASSERT_EQ(fw::CompatCommandDir(), dir);
    const fw::ShellOutcome outcome = RunCommand("echo \"$PATH\"");
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_TRUE(outcome.output.startsWith(dir + ":")) << outcome.output.toStdString();
    EXPECT_GT(outcome.output.trimmed().size(), dir.size() + 1) << "the rest of the PATH stays";
}

TEST(ShellTest, AnInstalledFolderBesideTheExecutableComesBeforeTheBuildTree) {
    // An installed layout of its own, so that no other program's folder changes meanwhile.
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const QString executable = prefix.filePath("bin/vellmaroq");
    EXPECT_EQ(fw::CompatCommandDirFor(executable), QDir::cleanPath(VELLMAROQ_COMPAT_BIN_DIR));

    const QString installed = QDir::cleanPath(prefix.filePath(VELLMAROQ_COMPAT_INSTALL_DIR));
    ASSERT_TRUE(QDir().mkpath(installed));
    EXPECT_EQ(fw::CompatCommandDirFor(executable), installed);
}

TEST(ShellTest, CommandsRunSideBySideOnSeveralThreads) {
    std::vector<fw::ShellOutcome> outcomes(4);
    // Every thread exists before the first command starts: ThreadSanitizer cannot follow a
    // thread that is created after a fork.
    std::latch start(static_cast<std::ptrdiff_t>(outcomes.size()));
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        threads.emplace_back([&outcomes, &start, i] {
            start.arrive_and_wait();
            outcomes[i] = RunCommand(QString("echo %1; exit %1").arg(i));
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    for (std::size_t i = 0; i < outcomes.size(); ++i) {
        EXPECT_EQ(outcomes[i].exitStatus, int(i));
        EXPECT_EQ(outcomes[i].output, QString("%1\n").arg(i));
    }
}

TEST(ScopedShellRunnerTest, ReplacesTheRunnerWhileItLivesAndNestsInOrder) {
    QStringList seen;
    {
        const fw::ScopedShellRunner outer([&seen](const QString& command) {
            seen << "outer: " + command;
            return fw::ShellOutcome{5, "from outer"};
        });
        EXPECT_EQ(RunCommand("echo a").exitStatus, 5);
        {
            const fw::ScopedShellRunner inner([&seen](const QString& command) {
                seen << "inner: " + command;
                return fw::ShellOutcome{6, "from inner"};
            });
            EXPECT_EQ(RunCommand("echo b").output, "from inner");
        }
        EXPECT_EQ(RunCommand("echo c").output, "from outer");
    }
    EXPECT_EQ(seen, QStringList({"outer: echo a", "inner: echo b", "outer: echo c"}));
    EXPECT_EQ(RunCommand("echo real").output, "real\n");
}

TEST(ShellWordTest, QuotesAllButPlainWords) {
    struct Case {
        QString text, word;
    };
    const Case cases[] = {
        {"192.168.0.7", "192.168.0.7"},
        {"a-b:C.9", "a-b:C.9"},
        {"", "''"},
        {"a b", "'a b'"},
        {"it's", "'it'\\''s'"},
        {"'", "''\\'''"},
        {"$(touch x)", "'$(touch x)'"},
        {"a;b", "'a;b'"},
        {"_", "'_'"},
        {QString::fromUtf8("東京"), QString::fromUtf8("'東京'")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::ShellWord(c.text), c.word) << c.text.toStdString();
    }
}

TEST(ShellWordTest, TheShellReadsTheWordBackUnchanged) {
    const QString texts[] = {
        "192.168.0.", "a b",        "it's",      "'",
        "''",         "$(echo no)", "`echo no`", "$HOME",
        "a;b|c&d",    "x\\y",       "\"q\"",     " lead",
        "*",          "-n",         "a\tb",      QString::fromUtf8("東京 '大阪'"),
    };
    for (const QString& text : texts) {
        const fw::ShellOutcome outcome = RunCommand("printf '%s' " + fw::ShellWord(text));
        EXPECT_EQ(outcome.exitStatus, 0) << text.toStdString();
        EXPECT_EQ(outcome.output, text) << text.toStdString();
    }
}

}  // namespace
