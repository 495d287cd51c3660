// The build's own folder of our commands, as the build leaves it: nobody but its owner may write
// the folder or anything in it, whatever the umask of the build, so that the program trusts it.
#include "framework/Shell.h"
#include "tests/framework/QStringPrinter.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <sys/stat.h>

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

}  // namespace
