// Folders and files: the working directory for the empty path, children by plain name only.
#include "framework/FolderItem.h"
#include "framework/TextStreams.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempWorkingDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>

#include <sys/stat.h>

namespace {

TEST(FolderItemTest, TheEmptyPathIsTheWorkingDirectory) {
    const TempWorkingDir dir;
    const auto folder = fw::GetFolderItem("", 0);
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(QDir(folder->Path()).canonicalPath(), QDir(dir.path()).canonicalPath());
    EXPECT_TRUE(folder->Exists());
}

TEST(FolderItemTest, ChildNamesAFileThatMayNotExistYet) {
    const TempWorkingDir dir;
    const auto child = fw::GetFolderItem("")->Child("info.txt");
    ASSERT_TRUE(child.has_value());
    EXPECT_FALSE(child->Exists());
    EXPECT_EQ(child->OpenAsTextFile(), nullptr);

    dir.write("info.txt", "x");
    EXPECT_TRUE(child->Exists());
    EXPECT_EQ(QDir(dir.path()).relativeFilePath(child->Path()), "info.txt");
    EXPECT_NE(child->OpenAsTextFile(), nullptr);
}

TEST(FolderItemTest, ChildRefusesAnythingButAPlainName) {
    const TempWorkingDir dir;
    const auto folder = fw::GetFolderItem("");
    for (const QString name : {"", ".", "..", "a/b", "/etc", "../info.txt"}) {
        EXPECT_FALSE(folder->Child(name).has_value()) << name.toStdString();
    }
    EXPECT_TRUE(folder->Child("..info.txt").has_value());
    EXPECT_TRUE(folder->Child(QString::fromUtf8("東京 結果.txt")).has_value());
}

TEST(FolderItemTest, AFolderDoesNotOpenAsATextFile) {
    const TempWorkingDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir("info.txt"));
    const auto child = fw::GetFolderItem("")->Child("info.txt");
    EXPECT_TRUE(child->Exists());
    EXPECT_EQ(child->OpenAsTextFile(), nullptr);
}

TEST(FolderItemTest, OnlyARegularFileOpensAsATextFile) {
    // Each of these would block in the open or in the first read, or never end: a child
    // process, so that a fault fails the test instead of hanging it.
    const struct {
        const char* name;
        const char* target;  // null: a FIFO of the test's own
    } cases[] = {{"Fifo", nullptr},
                 {"LinkToZero", "/dev/zero"},
                 {"LinkToRandom", "/dev/urandom"},
                 {"LinkToNull", "/dev/null"}};
    for (const auto& c : cases) {
        const TempWorkingDir dir;
        const QString path = dir.filePath("info.txt");
        if (c.target == nullptr) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0644), 0);
        } else {
            ASSERT_TRUE(QFile::link(c.target, path));
        }
        const ChildOutcome outcome = RunInChild(
            [&] { return QByteArray(fw::FolderItem(path).OpenAsTextFile() ? "opened" : "none"); },
            std::chrono::seconds(20), 512LL * 1024 * 1024);
        ASSERT_TRUE(outcome.Exited()) << c.name << ": " << outcome.what.toStdString();
        EXPECT_EQ(outcome.report, "none") << c.name;
    }
}

}  // namespace
