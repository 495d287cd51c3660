// The build's own folder of our commands, as the build leaves it, and an installed one: nobody
// but its owner may write the folder or anything in it, whatever the umask of the build or of the
// install, so that the program trusts it.
#include "framework/Shell.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QTemporaryDir>

#include <sys/stat.h>
#include <sys/types.h>

namespace {

TEST(CommandFolder, OnlyItsOwnerMayWriteItOrItsCommandsAndTheProgramUsesIt) {
    const QString dir = QStringLiteral(VELLMAROQ_COMPAT_BIN_DIR);
    const QStringList entries =
        QDir(dir).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    EXPECT_TRUE(entries.contains("arp") && entries.contains("ping"))
        << entries.join(' ').toStdString();
    QStringList paths{dir};
    for (const QString& entry : entries) {
        paths << dir + '/' + entry;
    }
    for (const QString& path : paths) {
        struct stat status {};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &status), 0) << path.toStdString();
        EXPECT_EQ(status.st_mode & (S_IWGRP | S_IWOTH), 0u)
            << path.toStdString() << " has the mode " << std::oct << (status.st_mode & 07777);
    }

    // The program built beside it finds it through its own compat-bin link.
    const QString program = QStringLiteral(VQ_APP_BINARY);
    const fw::CompatCommandDirChoice choice = fw::CompatCommandDirFor(program);
    EXPECT_EQ(choice.dir, QFileInfo(program).absolutePath() + "/compat-bin");
    EXPECT_EQ(choice.refused, "");
    EXPECT_EQ(choice.reason, "");
}

TEST(CommandFolder, AnInstallMadeUnderAGroupWritableUmaskIsUsedToo) {
    QTemporaryDir prefix;
    ASSERT_TRUE(prefix.isValid());
    const mode_t previous = ::umask(002);  // a common desktop default; the install inherits it
    const ProgramRun install = RunProgram(QStringLiteral(VQ_CMAKE_COMMAND),
                                          {"--install", VQ_BINARY_DIR, "--prefix", prefix.path()});
    ::umask(previous);
    ASSERT_EQ(install.exitCode, 0) << install.err.toStdString();

    const fw::CompatCommandDirChoice choice =
        fw::CompatCommandDirFor(prefix.filePath(VQ_INSTALL_BINDIR "/vellmaroq"));
    EXPECT_EQ(choice.dir, QDir::cleanPath(prefix.filePath(VQ_INSTALL_LIBEXECDIR "/vellmaroq")));
    EXPECT_EQ(choice.reason, "");
}

}  // namespace
