// Writing the result list to IPresult.txt on the desktop with the export button: one
// "address<TAB>name<LF>" line per row in list order, the whole file replaced each time; a file
// that cannot be written is told in a message box and leaves an earlier file as it was.
#include "app/Window1.h"
#include "framework/FolderItem.h"
#include "framework/gui/Listbox.h"
#include "framework/gui/MsgBox.h"
#include "scan/Global1.h"
#include "tests/app/UserActions.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/HostTables.h"
#include "tests/support/ScopedWindowRelease.h"
#include "tests/support/WithoutRoot.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <optional>
#include <ostream>
#include <string>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

namespace {

// The user's home for one test: the desktop folder is its "Desktop" (Qt's test mode leaves the
// desktop there and ignores the user's own folder settings).
class TemporaryHome {
public:
    TemporaryHome() : mPrevious(qgetenv("HOME")) {
        QStandardPaths::setTestModeEnabled(true);
        qputenv("HOME", mDir.path().toLocal8Bit());
    }
    ~TemporaryHome() {
        qputenv("HOME", mPrevious);
        QStandardPaths::setTestModeEnabled(false);
    }
    TemporaryHome(const TemporaryHome&) = delete;
    TemporaryHome& operator=(const TemporaryHome&) = delete;

    bool Valid() const { return mDir.isValid(); }
    QString Path() const { return mDir.path(); }
    QString Desktop() const { return mDir.filePath("Desktop"); }

private:
    QTemporaryDir mDir;
    QByteArray mPrevious;
};

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}

// The known-host tables with one host named by its address, one by its MAC.
struct NamedHostTables : HostTables {
    NamedHostTables() {
        using namespace Global1;
        gIPAddress.push_back("198.51.100.106");
        gMachineNameI.push_back("プリンタ 2階");
        gMacAddress.push_back("2:0:0:0:0:1");
        gMachineNameM.push_back("laptop");
    }
};

// The opened main window on a temporary home with a desktop folder; the probes give a cell of
// every kind.
class Export : public ::testing::Test {
protected:
    Export() {
        const auto arp = [this](int octet, int status, const QString& output) {
            shell.answer(QString("arp -n 198.51.100.%1").arg(octet), status, output);
        };
        arp(100, 0, "? (198.51.100.100) at 2:0:0:0:0:1 on br0 [ethernet]");
        arp(101, 1, {});  // an empty name cell
        arp(102, 0, "198.51.100.102 (198.51.100.102) -- no entry");
        arp(103, 0, "? (198.51.100.103) at (incomplete) on br0 [ethernet]");
        arp(104, 2, {});
        arp(105, 0, "? (198.51.100.105) at 2:0:0:0:0:5 on br0 [ethernet]");
        window.Construct();
    }

    void SetUp() override {
        ASSERT_TRUE(home.Valid());
        ASSERT_TRUE(QDir().mkpath(home.Desktop()));
    }

    QString ResultFile() const { return home.Desktop() + "/IPresult.txt"; }

    // A whole walk over count addresses after 100, as the user starts it.
    void Walk(const QString& count) {
        user::TypeInto(window.ComboBox1(), count);
        user::Click(window, window.Toolbar11()->ToolItem1);
        ASSERT_TRUE(
            QTest::qWaitFor([this] { return window.Toolbar11()->ToolItem4->Enabled(); }, 60000));
    }
    void ClickExport() { user::Click(window, window.Toolbar11()->ToolItem4); }
    fw::Listbox& List() const { return *window.ControlByName<fw::Listbox>("ListBox1"); }

    NamedHostTables tables;
    TemporaryHome home;
    FakeClock clock;
    FakeShell shell;
    fw::ScopedMsgBox messages;
    Window1 window;
    const ScopedWindowRelease released{window};
};

const char kSevenRows[] =
    "198.51.100.100\tlaptop\n"
    "198.51.100.101\t\n"
    "198.51.100.102\tno entry.\n"
    "198.51.100.103\tincomplete.\n"
    "198.51.100.104\terror. (2)\n"
    "198.51.100.105\t2:0:0:0:0:5\n"
    "198.51.100.106\tプリンタ 2階\n";

TEST_F(Export, WritesEveryRowInListOrderAsUtf8Lines) {
    Walk("6");
    ClickExport();
    EXPECT_EQ(ReadAll(ResultFile()), QByteArray(kSevenRows));
    EXPECT_TRUE(messages.Texts().isEmpty()) << "a successful export is silent";
    EXPECT_EQ(List().ListCount(), 7) << "the list stays as it was";
    EXPECT_EQ(window.StaticText1()->Text(), "");
    EXPECT_TRUE(window.Toolbar11()->ToolItem4->Enabled());
}

TEST_F(Export, AnEmptyListGivesAnEmptyFile) {
    Walk("-1");
    ASSERT_EQ(List().ListCount(), 0);
    ClickExport();
    EXPECT_TRUE(QFile::exists(ResultFile()));
    EXPECT_EQ(ReadAll(ResultFile()), QByteArray());
    EXPECT_TRUE(messages.Texts().isEmpty());
}

TEST_F(Export, EachExportReplacesTheWholeFile) {
    Walk("6");
    ClickExport();
    ClickExport();
    EXPECT_EQ(ReadAll(ResultFile()), QByteArray(kSevenRows)) << "nothing appended";

    Walk("1");
    ClickExport();
    EXPECT_EQ(ReadAll(ResultFile()), QByteArray("198.51.100.100\tlaptop\n198.51.100.101\t\n"))
        << "nothing of the longer file is left";
    EXPECT_EQ(QDir(home.Desktop()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
              QStringList{"IPresult.txt"})
        << "no temporary file left behind";
    EXPECT_TRUE(messages.Texts().isEmpty());
}

// While it lives, the process cannot write into folder (as root, by acting as nobody; root
// could write anyway).
class ReadOnlyFolder {
public:
    explicit ReadOnlyFolder(const QString& home, const QString& folder) : mFolder(folder) {
        ::chmod(QFile::encodeName(folder).constData(), 0555);
        if (::geteuid() == 0) {
            ::chmod(QFile::encodeName(home).constData(), 0755);  // so that nobody may look in
        }
        mUser.emplace();
    }
    ~ReadOnlyFolder() {
        mUser.reset();
        ::chmod(QFile::encodeName(mFolder).constData(), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

private:
    QString mFolder;
    std::optional<WithoutRoot> mUser;
};

// While it lives, files of the process may grow to limit bytes only; SIGXFSZ is ignored, so that
// a write past the limit fails with EFBIG as on a full disk instead of ending the process.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit) {
        ::getrlimit(RLIMIT_FSIZE, &mPrevious);
        mPreviousHandler = ::signal(SIGXFSZ, SIG_IGN);
        const rlimit bound{limit, mPrevious.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &bound);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &mPrevious);
        ::signal(SIGXFSZ, mPreviousHandler);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit mPrevious{};
    sighandler_t mPreviousHandler;
};

struct FailureCase {
    const char* name;
    // Makes the file unwritable for the export that the test then runs inside it.
    std::function<void(const TemporaryHome&, const std::function<void()>& exportNow)> around;
    bool keepsEarlierFile;  // an earlier IPresult.txt is there and must stay as it was
    bool pathKnown = true;  // the message names the file
};

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

const FailureCase kFailures[] = {
    {"ReadOnlyDesktop",
     [](const TemporaryHome& home, const std::function<void()>& exportNow) {
         ReadOnlyFolder readOnly(home.Path(), home.Desktop());
         exportNow();
     },
     true},
    {"NoDesktopFolder",
     [](const TemporaryHome& home, const std::function<void()>& exportNow) {
         QDir(home.Desktop()).removeRecursively();
         exportNow();
     },
     false},
    {"AFolderTakesTheName",
     [](const TemporaryHome& home, const std::function<void()>& exportNow) {
         QDir().mkpath(home.Desktop() + "/IPresult.txt/inside");
         exportNow();
     },
     false},
    // The export is cut inside its second row.
    {"FileSizeLimit",
     [](const TemporaryHome&, const std::function<void()>& exportNow) {
         FileSizeLimit limit(40);
         exportNow();
     },
     true},
    // Replacing the link's target would put a file where the FIFO was.
    {"LinkToAFifo",
     [](const TemporaryHome& home, const std::function<void()>& exportNow) {
         ::mkfifo(QFile::encodeName(home.Path() + "/fifo").constData(), 0644);
         QFile::link(home.Path() + "/fifo", home.Desktop() + "/IPresult.txt");
         exportNow();
     },
     false},
    {"NoDesktopAtAll",
     [](const TemporaryHome&, const std::function<void()>& exportNow) {
         const fw::ScopedDesktopFolder none{QString()};
         exportNow();
     },
     false, false},
};

class ExportFailure : public Export, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(ExportFailure, IsToldWithThePathAndTheReasonAndLeavesTheEarlierFile) {
    const QByteArray earlier = "198.51.100.1\tfrom before\n";
    if (GetParam().keepsEarlierFile) {
        QFile file(ResultFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    Walk("6");
    GetParam().around(home, [this] { ClickExport(); });

    ASSERT_EQ(messages.Texts().size(), 1);
    const QStringList lines = messages.Texts()[0].split('\n');
    const QString name = GetParam().name;
    if (GetParam().pathKnown) {
        ASSERT_EQ(lines.size(), 3) << messages.Texts()[0].toStdString();
        EXPECT_EQ(lines[0], "IPresult.txt を書き出せませんでした。");
        EXPECT_EQ(lines[1], ResultFile());
        EXPECT_FALSE(lines[2].trimmed().isEmpty()) << "the reason";
        if (name == "FileSizeLimit") {
            EXPECT_EQ(lines[2], QString::fromLocal8Bit(std::strerror(EFBIG)));
        } else if (name == "LinkToAFifo") {
            EXPECT_EQ(lines[2], "Not a regular file");
        }
    } else {
        EXPECT_EQ(lines, QStringList({"IPresult.txt を書き出せませんでした。",
                                      "デスクトップのフォルダがありません。"}));
    }
    if (!GetParam().pathKnown) {
        EXPECT_EQ(QDir(home.Desktop()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList())
            << "nothing is written to the usual place instead";
    } else if (GetParam().keepsEarlierFile) {
        EXPECT_EQ(ReadAll(ResultFile()), earlier);
        EXPECT_EQ(QDir(home.Desktop()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                  QStringList{"IPresult.txt"})
            << "no temporary file left behind";
    } else if (name == "NoDesktopFolder") {
        EXPECT_FALSE(QFile::exists(home.Desktop())) << "nothing is made instead";
    } else if (name == "LinkToAFifo") {
        struct stat status {};
        EXPECT_TRUE(::stat(QFile::encodeName(ResultFile()).constData(), &status) == 0 &&
                    S_ISFIFO(status.st_mode))
            << "the link still leads to the FIFO";
    } else {
        EXPECT_TRUE(QFileInfo(ResultFile()).isDir()) << "the folder stays as it was";
        EXPECT_TRUE(QFileInfo::exists(ResultFile() + "/inside"));
    }
    EXPECT_EQ(List().ListCount(), 7) << "the list stays as it was";
    EXPECT_TRUE(window.Toolbar11()->ToolItem4->Enabled()) << "the user can try again";
}

INSTANTIATE_TEST_SUITE_P(Export, ExportFailure, ::testing::ValuesIn(kFailures),
                         [](const ::testing::TestParamInfo<FailureCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
