// Commands through the real /bin/sh: exit status, merged output, our stand-ins first on the
// PATH, the runner seam, and words quoted so that the shell reads them back unchanged.
#include "framework/Shell.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/HangGuard.h"
#include "tests/support/Processes.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <latch>
#include <thread>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// AddressSanitizer holds freed memory back, up to 256 MiB of it by default, and what it holds
// shows in the peak that the output test bounds: how much depends on how the machine's load cuts
// the reads into chunks. A small quarantine of our own keeps that out of the figure; ASAN_OPTIONS
// still sets the rest.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}
#endif

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

TEST(ShellTest, WhatTheCommandLeavesInItsProcessGroupEndsWithIt) {
    // Each prints the shell's pid (its process group's id) and that of a sleep it leaves behind,
    // the sleep's output closed so that nothing waits for it.
    struct Case {
        const char* name;
        QString command;
    };
    const Case cases[] = {
        {"a child in the background", "sleep 3600 >/dev/null 2>&1 & echo $$ $!"},
        {"a grandchild whose parent has ended", "(sleep 3600 >/dev/null 2>&1 & echo $$ $!)"},
    };
    for (const Case& c : cases) {
        const fw::ShellOutcome outcome = RunCommand(c.command);
        ASSERT_EQ(outcome.exitStatus, 0) << c.name;
        const QStringList pids = outcome.output.trimmed().split(' ');
        ASSERT_EQ(pids.size(), 2) << c.name << ": " << outcome.output.toStdString();
        const auto group = static_cast<pid_t>(pids[0].toLongLong());
        const auto sleep = static_cast<pid_t>(pids[1].toLongLong());
        EXPECT_TRUE(processes::Eventually([&] { return processes::LiveMembers(group).empty(); }))
            << c.name << ": " << processes::LiveMembers(group).size()
            << " processes of the command's group still run";
        EXPECT_FALSE(processes::IsRunning(sleep)) << c.name;
        if (processes::IsRunning(sleep)) {
            ::kill(sleep, SIGKILL);
        }
    }
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
    // The build tree's layout: compat-bin beside this test's executable.
    const QString dir = QDir::cleanPath(
        QFileInfo(QFileInfo("/proc/self/exe").symLinkTarget()).absolutePath() + "/compat-bin");
    ASSERT_EQ(fw::CompatCommandDir(), dir);
    const fw::ShellOutcome outcome = RunCommand("echo \"$PATH\"");
    EXPECT_EQ(outcome.exitStatus, 0);
    EXPECT_TRUE(outcome.output.startsWith(dir + ":")) << outcome.output.toStdString();
    EXPECT_GT(outcome.output.trimmed().size(), dir.size() + 1) << "the rest of the PATH stays";
}

// A program's layout in a temporary prefix: the executable prefix/bin/vellmaroq, the installed
// command folder where the build puts it relative to bin, the build tree's compat-bin beside
// the executable.
struct Layout {
    QTemporaryDir prefix;
    QString executable = prefix.filePath("bin/vellmaroq");
    QString installed = QDir::cleanPath(prefix.filePath("bin/" VELLMAROQ_COMPAT_FROM_BIN));
    QString buildTree = prefix.filePath("bin/compat-bin");

    // A command folder at dir with our two commands, as the build makes them.
    static void MakeCommands(const QString& dir) {
        ASSERT_TRUE(QDir().mkpath(dir));
        ::chmod(QFile::encodeName(dir).constData(), 0755);
        for (const char* name : {"arp", "ping"}) {
            QFile command(dir + "/" + name);
            ASSERT_TRUE(command.open(QIODevice::WriteOnly));
            command.write("#!/bin/sh\n");
            command.close();
            ::chmod(QFile::encodeName(command.fileName()).constData(), 0755);
        }
    }
};

void Chmod(const QString& path, mode_t mode) {
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), mode), 0) << path.toStdString();
}

void ChownToNobody(const QString& path) {
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0) << path.toStdString();
}

struct LayoutCase {
    const char* name;
    void (*make)(const Layout& layout);
    const char* used;     // "installed", "build" or "" (the PATH as it stands)
    const char* refused;  // the same, for the folder named as refused
    const char* reason;   // why, %1 standing for the refused folder
    bool needsRoot;       // makes files of another user
};

const LayoutCase kLayouts[] = {
    {"Installed", [](const Layout& l) { Layout::MakeCommands(l.installed); }, "installed", "", "",
     false},
    {"BuildTreeBesideTheExecutable", [](const Layout& l) { Layout::MakeCommands(l.buildTree); },
     "build", "", "", false},
    {"InstalledComesFirst",
     [](const Layout& l) {
         Layout::MakeCommands(l.installed);
         Layout::MakeCommands(l.buildTree);
     },
     "installed", "", "", false},
    // A copy of the program elsewhere while its build tree (and its compat-bin) still exists:
    // nothing beside the copy, so nothing of the build tree either, and nothing to tell.
    {"Missing", [](const Layout&) {}, "", "", "", false},
    // The build tree's link, once the build tree is gone: nothing there either.
    {"LinkToAFolderNoLongerThere",
     [](const Layout& l) {
         ASSERT_TRUE(QDir().mkpath(QFileInfo(l.buildTree).absolutePath()));
         ASSERT_TRUE(QFile::link(l.prefix.filePath("gone/compat-bin"), l.buildTree));
     },
     "", "", "", false},
    {"AFileOfThatName",
     [](const Layout& l) {
         ASSERT_TRUE(QDir().mkpath(QFileInfo(l.buildTree).absolutePath()));
         QFile file(l.buildTree);
         ASSERT_TRUE(file.open(QIODevice::WriteOnly));
     },
     "", "build", "not a folder", false},
    {"GroupWritableFolder",
     [](const Layout& l) {
         Layout::MakeCommands(l.installed);
         Chmod(l.installed, 0775);
     },
     "", "installed", "group or others may write %1", false},
    {"CommandWritableByOthers",
     [](const Layout& l) {
         Layout::MakeCommands(l.buildTree);
         Chmod(l.buildTree + "/arp", 0757);
     },
     "", "build", "group or others may write %1/arp", false},
    {"AnUntrustedFolderGivesWayToTheNext",
     [](const Layout& l) {
         Layout::MakeCommands(l.installed);
         Chmod(l.installed, 0777);
         Layout::MakeCommands(l.buildTree);
     },
     "build", "", "", false},
    {"BothUntrustedTheFirstIsNamed",
     [](const Layout& l) {
         Layout::MakeCommands(l.installed);
         Chmod(l.installed + "/ping", 0775);
         Layout::MakeCommands(l.buildTree);
         Chmod(l.buildTree, 0777);
     },
     "", "installed", "group or others may write %1/ping", false},
    {"FolderOfAnotherUser",
     [](const Layout& l) {
         Layout::MakeCommands(l.installed);
         ChownToNobody(l.installed);
     },
     "", "installed", "%1 belongs to another user (uid 65534)", true},
    {"CommandOfAnotherUser",
     [](const Layout& l) {
         Layout::MakeCommands(l.buildTree);
         ChownToNobody(l.buildTree + "/ping");
     },
     "", "build", "%1/ping belongs to another user (uid 65534)", true},
};

TEST(CompatCommandDirTest, OnlyAFolderBesideTheExecutableThatOnlyWeMayChange) {
    ASSERT_TRUE(QFileInfo(VELLMAROQ_COMPAT_BIN_DIR).isDir()) << "the build tree's own folder";
    for (const LayoutCase& c : kLayouts) {
        if (c.needsRoot && ::geteuid() != 0) {
            EXPECT_FALSE(qEnvironmentVariableIsSet("CI")) << c.name << " needs root";
            continue;
        }
        const Layout layout;
        ASSERT_TRUE(layout.prefix.isValid());
        c.make(layout);
        const auto folder = [&layout](const QString& which) {
            return which == "installed" ? layout.installed
                   : which == "build"   ? layout.buildTree
                                        : QString();
        };
        const fw::CompatCommandDirChoice choice = fw::CompatCommandDirFor(layout.executable);
        EXPECT_EQ(choice.dir, folder(c.used)) << c.name;
        EXPECT_EQ(choice.refused, folder(c.refused)) << c.name;
        const QString reason = QString(c.reason).contains("%1")
                                   ? QString(c.reason).arg(folder(c.refused))
                                   : QString(c.reason);
        EXPECT_EQ(choice.reason, reason) << c.name;
    }
}

// A program in a layout of its own (the driver, copied there) running two commands at once: a
// folder beside it that it refuses is told once, on standard error; one it uses, or none
// there at all, is not told.
TEST(CompatCommandDirTest, TheProgramSaysOnceWhichFolderItRefusesAndWhy) {
    struct Case {
        const char* name;
        void (*make)(const Layout& layout);
        bool used;
        QString message;  // %1 standing for the build tree's folder
    };
    const Case cases[] = {
        {"Refused",
         [](const Layout& l) {
             Layout::MakeCommands(l.buildTree);
             Chmod(l.buildTree, 0775);
         },
         false,
         "vellmaroq: not using %1: group or others may write %1; the commands come from the "
         "PATH\n"},
        {"Used", [](const Layout& l) { Layout::MakeCommands(l.buildTree); }, true, ""},
        {"NoneThere", [](const Layout&) {}, false, ""},
    };
    for (const Case& c : cases) {
        const Layout layout;
        ASSERT_TRUE(layout.prefix.isValid());
        c.make(layout);
        ASSERT_TRUE(QDir().mkpath(QFileInfo(layout.executable).absolutePath()));
        ASSERT_TRUE(QFile::copy(VQ_SHELL_DRIVER, layout.executable)) << c.name;
        const ProgramRun run = RunProgram(layout.executable, {"echo \"$PATH\"", "echo \"$PATH\""},
                                          layout.prefix.path());
        EXPECT_EQ(run.exitCode, 0) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(run.err, c.message.contains("%1") ? c.message.arg(layout.buildTree) : c.message)
            << c.name;
        const QStringList paths = run.out.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(paths.size(), 2) << c.name << ": " << run.out.toStdString();
        for (const QString& path : paths) {
            EXPECT_EQ(path.startsWith(layout.buildTree + ":"), c.used)
                << c.name << ": " << path.toStdString();
        }
    }
}

TEST(ShellTest, OutputBeyondItsHeadIsDroppedAndMemoryStaysFlat) {
    // The peak resident size from here on: writing 5 to clear_refs resets it.
    const auto peakKiB = [] {
        QFile status("/proc/self/status");
        if (!status.open(QIODevice::ReadOnly)) {
            return -1LL;
        }
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("VmHWM:")) {
                return line.mid(6).trimmed().split(' ').value(0).toLongLong();
            }
        }
        return -1LL;
    };
    QFile clear("/proc/self/clear_refs");
    ASSERT_TRUE(clear.open(QIODevice::WriteOnly)) << "no clear_refs to reset the peak";
    clear.write("5");
    clear.close();
    const long long before = peakKiB();
    ASSERT_GT(before, 0);

    // 200 MB: kept whole, it would cost several times that in memory. Were the output past the
    // head no longer read, the command would block on its full pipe and never end.
    fw::ShellOutcome outcome;
    {
        const HangGuard guard("the 200 MB command's output read to its end",
                              std::chrono::seconds(120));
        outcome = RunCommand("head -c 200000000 /dev/zero | tr '\\0' a");
    }
    EXPECT_EQ(outcome.exitStatus, 0) << "the command was read to its end";
    EXPECT_EQ(outcome.output, QString(1024 * 1024, 'a')) << "the first MiB";
    const long long grown = peakKiB() - before;
    long long boundKiB = 50 * 1024;  // kept whole, the output alone would take 600 MB and more
#if defined(__SANITIZE_ADDRESS__)
    // AddressSanitizer keeps freed memory back: its quarantine (set above) and its allocator's
    // caches beside it. Seen here: up to 55 MiB in all, against 5 MiB without it.
    boundKiB += 100 * 1024;
#endif
    EXPECT_LT(grown, boundKiB) << "the peak grew by " << grown << " KiB";
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
