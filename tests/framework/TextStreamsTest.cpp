// Text streams: every line end, the byte-order mark, invalid UTF-8 and the end of the file on
// the way in; an all-or-nothing replacement of the file on the way out.
#include "framework/FolderItem.h"
#include "framework/TextStreams.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempWorkingDir.h"
#include "tests/support/WithoutRoot.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <signal.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Reads a whole file the way the host file loader does: at least one line, end test at the
// bottom.
QStringList ReadLines(const QByteArray& bytes) {
    const TempWorkingDir dir;
    dir.write("in.txt", bytes);
    fw::TextInputStream stream(dir.filePath("in.txt"));
    EXPECT_TRUE(stream.IsOpen());
    stream.SetEncoding(fw::Encodings::UTF8);
    QStringList lines;
    do {
        lines << stream.ReadLine();
    } while (!stream.Eof());
    stream.Close();
    return lines;
}

struct LinesCase {
    const char* name;
    QByteArray bytes;
    QStringList lines;
};
void PrintTo(const LinesCase& c, std::ostream* out) {
    *out << c.name;
}

class ReadLineTest : public ::testing::TestWithParam<LinesCase> {};

TEST_P(ReadLineTest, GivesTheLinesWithoutTheirEnds) {
    EXPECT_THAT(ReadLines(GetParam().bytes), ElementsAreArray(GetParam().lines));
}

const QString kReplacement = QString(QChar::ReplacementCharacter);

INSTANTIATE_TEST_SUITE_P(
    LineEnds, ReadLineTest,
    ::testing::Values(
        LinesCase{"Lf", "a\nb\n", {"a", "b"}}, LinesCase{"LfNoLastEnd", "a\nb", {"a", "b"}},
        LinesCase{"CrLf", "a\r\nb\r\n", {"a", "b"}}, LinesCase{"Cr", "a\rb\r", {"a", "b"}},
        LinesCase{"CrNoLastEnd", "a\rb", {"a", "b"}},
        LinesCase{"Mixed", "a\r\nb\rc\nd", {"a", "b", "c", "d"}},
        LinesCase{"CrCrIsAnEmptyLine", "a\r\rb", {"a", "", "b"}},
        LinesCase{"LfCrLfIsAnEmptyLine", "a\n\r\nb", {"a", "", "b"}},
        LinesCase{"LfCrIsTwoEnds", "a\n\rb", {"a", "", "b"}}, LinesCase{"OnlyALineEnd", "\n", {""}},
        LinesCase{"EmptyFile", "", {""}}, LinesCase{"BlankLinesKept", "\n\nx\n", {"", "", "x"}},
        LinesCase{"TabsAndBlanksKept", " a\t b \n", {" a\t b "}},
        LinesCase{"Japanese", "東京\n大阪", {QString::fromUtf8("東京"), QString::fromUtf8("大阪")}},
        LinesCase{"NulBytesKept", QByteArray("a\0b\n", 4), {QString::fromUtf16(u"a\0b", 3)}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Encoding, ReadLineTest,
    ::testing::Values(
        LinesCase{"ByteOrderMarkDropped", "\xEF\xBB\xBF// first\nx", {"// first", "x"}},
        LinesCase{"OnlyAByteOrderMark", "\xEF\xBB\xBF", {""}},
        LinesCase{"ByteOrderMarkLaterIsText",
                  "a\n\xEF\xBB\xBF"
                  "b",
                  {"a", QChar(0xFEFF) + QString("b")}},
        LinesCase{"HalfAByteOrderMark", "\xEF\xBB", {kReplacement + kReplacement}},
        LinesCase{"InvalidByteReplacedRestKept",
                  "a\xFF"
                  "b\nc",
                  {"a" + kReplacement + "b", "c"}},
        // One replacement character for each byte that is no part of a character.
        LinesCase{
            "TruncatedCharacterAtTheEnd", "ok\n\xE6\x9D", {"ok", kReplacement + kReplacement}},
        LinesCase{
            "LineEndAfterATruncatedCharacter", "\xE6\x9D\nz", {kReplacement + kReplacement, "z"}},
        LinesCase{"StrayContinuationByte",
                  "a\x80\xBF"
                  "b",
                  {"a" + kReplacement + kReplacement + "b"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TextInputStreamTest, EndOfFileIsKnownBeforeTheFirstLine) {
    const TempWorkingDir dir;
    dir.write("empty.txt", "");
    dir.write("one.txt", "a\n");
    EXPECT_TRUE(fw::TextInputStream(dir.filePath("empty.txt")).Eof());
    fw::TextInputStream one(dir.filePath("one.txt"));
    EXPECT_FALSE(one.Eof());
    EXPECT_EQ(one.ReadLine(), "a");
    EXPECT_TRUE(one.Eof());
    EXPECT_EQ(one.ReadLine(), "");  // reading on at the end is harmless
}

TEST(TextInputStreamTest, AStreamOnAMissingFileIsNotOpenAndAtItsEnd) {
    const TempWorkingDir dir;
    fw::TextInputStream stream(dir.filePath("missing.txt"));
    EXPECT_FALSE(stream.IsOpen());
    EXPECT_TRUE(stream.Eof());
    EXPECT_EQ(stream.ReadLine(), "");
}

// The stream reads in chunks of 64 KiB: line ends, characters and the byte-order mark that
// straddle a chunk boundary must read as if they did not.
TEST(TextInputStreamTest, ChunkBoundariesAreInvisible) {
    constexpr int kChunk = 64 * 1024;
    const QByteArray xs(kChunk - 1, 'x');
    EXPECT_THAT(ReadLines(xs + "\r\ny"), ElementsAre(QString(xs), "y")) << "CR | LF";
    EXPECT_THAT(ReadLines(xs + "\rz"), ElementsAre(QString(xs), "z")) << "CR | other";
    EXPECT_THAT(ReadLines(xs + "\r"), ElementsAre(QString(xs))) << "CR | end of file";
    const QByteArray longer(kChunk - 2, 'x');
    EXPECT_THAT(ReadLines(longer + "東\n"), ElementsAre(QString(longer) + QString::fromUtf8("東")))
        << "a character across the boundary";
}

TEST(TextInputStreamTest, ASingleTenMegabyteLine) {
    const QByteArray line(10 * 1024 * 1024, 'n');
    for (const QByteArray& end : {QByteArray(), QByteArray("\n")}) {
        const QStringList lines = ReadLines(line + end);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_EQ(lines[0].size(), line.size());
    }
}

TEST(TextInputStreamTest, AMillionShortLines) {
    QByteArray bytes;
    for (int i = 0; i < 1'000'000; ++i) {
        bytes += QByteArray::number(i) + '\n';
    }
    const QStringList lines = ReadLines(bytes);
    ASSERT_EQ(lines.size(), 1'000'000);
    EXPECT_EQ(lines.front(), "0");
    EXPECT_EQ(lines[123'456], "123456");
    EXPECT_EQ(lines.back(), "999999");
}

TEST(TextOutputStreamTest, WritesExactlyTheTextAsUtf8) {
    const TempWorkingDir dir;
    auto stream = fw::GetFolderItem("")->Child("IPresult.txt")->CreateTextFile();
    stream->Write("192.168.0.7\tprinter" + fw::EndOfLine());
    stream->Write(QString::fromUtf8("192.168.0.9\t東京"));
    stream->Write("");
    EXPECT_TRUE(stream->Close());
    EXPECT_EQ(stream->ErrorString(), "");
    EXPECT_EQ(ReadBytes(dir.filePath("IPresult.txt")), "192.168.0.7\tprinter\n192.168.0.9\t東京");
}

TEST(TextOutputStreamTest, TheEarlierFileStaysUntilTheCloseReplacesIt) {
    const TempWorkingDir dir;
    dir.write("out.txt", "old contents\n");
    auto stream = fw::GetFolderItem("")->Child("out.txt")->CreateTextFile();
    stream->Write("new");
    EXPECT_EQ(ReadBytes(dir.filePath("out.txt")), "old contents\n");
    EXPECT_TRUE(stream->Close());
    EXPECT_EQ(ReadBytes(dir.filePath("out.txt")), "new");
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files), ElementsAre("out.txt"));
}

TEST(TextOutputStreamTest, AStreamNeverClosedChangesNothing) {
    const TempWorkingDir dir;
    dir.write("out.txt", "old");
    {
        auto stream = fw::GetFolderItem("")->Child("out.txt")->CreateTextFile();
        stream->Write("half of it");
    }
    EXPECT_EQ(ReadBytes(dir.filePath("out.txt")), "old");
    EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files), ElementsAre("out.txt"));
}

TEST(TextOutputStreamTest, AMissingFolderIsReportedAndNothingIsCreated) {
    const TempWorkingDir dir;
    fw::TextOutputStream stream(dir.filePath("no-such-folder/out.txt"));
    stream.Write("x");
    EXPECT_FALSE(stream.Close());
    EXPECT_NE(stream.ErrorString(), "");
    EXPECT_FALSE(stream.Close()) << "a second close does not turn the failure into success";
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

// A folder the test user may enter and read but not write, holding out.txt with "old".
class ReadOnlyFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(QDir(dir.path()).mkdir("ro"));
        folder = dir.filePath("ro");
        dir.write("ro/out.txt", "old");
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        ::chmod(QFile::encodeName(folder + "/out.txt").constData(), 0644);
        if (::geteuid() == 0) {
            // The folder belongs to the user the test becomes, who may change its permissions.
            ASSERT_EQ(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
        }
    }
    void TearDown() override { ::chmod(QFile::encodeName(folder).constData(), 0755); }
    void makeReadOnly() const {
        ASSERT_EQ(::chmod(QFile::encodeName(folder).constData(), 0555), 0);
    }

    TempWorkingDir dir;
    QString folder;
};

TEST_F(ReadOnlyFolderTest, ARefusedFileIsReportedAndTheEarlierFileStays) {
    makeReadOnly();
    {
        const WithoutRoot user;
        ASSERT_TRUE(user.ok());
        fw::TextOutputStream stream(folder + "/out.txt");
        stream.Write("new");
        EXPECT_FALSE(stream.Close());
        EXPECT_NE(stream.ErrorString(), "");
    }
    EXPECT_EQ(ReadBytes(folder + "/out.txt"), "old");
    EXPECT_THAT(QDir(folder).entryList(QDir::Files), ElementsAre("out.txt"));
}

TEST_F(ReadOnlyFolderTest, AFolderThatTurnsReadOnlyBeforeTheCloseFailsTheClose) {
    const WithoutRoot user;
    ASSERT_TRUE(user.ok());
    fw::TextOutputStream stream(folder + "/out.txt");
    stream.Write("new");
    makeReadOnly();
    EXPECT_FALSE(stream.Close());
    EXPECT_NE(stream.ErrorString(), "");
    EXPECT_EQ(ReadBytes(folder + "/out.txt"), "old");
}

// The rows of an export, written as the window writes them, under a file-size limit of limit
// bytes (SIGXFSZ ignored, so that a write fails with EFBIG instead of ending the process), in a
// child process: the limit is the process's. The report: the close's result, then the error.
QByteArray ExportUnderFileSizeLimit(const QString& path, rlim_t limit) {
    const ChildOutcome outcome = RunInChild([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit bound{limit, limit};
        if (::setrlimit(RLIMIT_FSIZE, &bound) != 0) {
            return QByteArray("no limit");
        }
        fw::TextOutputStream stream(path);
        for (int octet = 100; octet < 110; ++octet) {
            stream.Write(QString("198.51.100.%1\t2:0:0:0:0:%1").arg(octet) + fw::EndOfLine());
        }
        const bool closed = stream.Close();
        return QByteArray(closed ? "closed" : "failed") + '\n' + stream.ErrorString().toUtf8();
    });
    return outcome.Exited() ? outcome.report : "child: " + outcome.what.toUtf8();
}

TEST(TextOutputStreamTest, AFileSizeLimitFailsTheCloseWithTheSystemsReasonAndKeepsTheEarlierFile) {
    // 0: nothing fits; 40: the first row and part of the second, a cut inside a row.
    for (const rlim_t limit : {rlim_t{0}, rlim_t{40}}) {
        const TempWorkingDir dir;
        const QByteArray earlier = "198.51.100.1\tfrom before\n";
        dir.write("IPresult.txt", earlier);
        EXPECT_EQ(ExportUnderFileSizeLimit(dir.filePath("IPresult.txt"), limit),
                  "failed\n" + QByteArray(std::strerror(EFBIG)))
            << "limit " << limit;
        EXPECT_EQ(ReadBytes(dir.filePath("IPresult.txt")), earlier) << "limit " << limit;
        EXPECT_THAT(QDir(dir.path()).entryList(QDir::Files), ElementsAre("IPresult.txt"))
            << "no temporary file left behind, limit " << limit;
    }
}

TEST(TextOutputStreamTest, AnExportThatFitsTheLimitExactlySucceeds) {
    const TempWorkingDir dir;
    QByteArray rows;
    for (int octet = 100; octet < 110; ++octet) {
        rows += "198.51.100." + QByteArray::number(octet) +
                "\t2:0:0:0:0:" + QByteArray::number(octet) + "\n";
    }
    EXPECT_EQ(
        ExportUnderFileSizeLimit(dir.filePath("IPresult.txt"), static_cast<rlim_t>(rows.size())),
        "closed\n");
    EXPECT_EQ(ReadBytes(dir.filePath("IPresult.txt")), rows);
}

// A name in dir for each kind of thing that is not a regular file; the target must stay what
// it was after a write to the name.
struct SpecialCase {
    const char* name;
    // Makes dir/out.txt (and whatever it leads to); true on success.
    bool (*make)(const QString& dir);
    // Whether the thing out.txt leads to is still what make made.
    bool (*unchanged)(const QString& dir);
};

bool IsFifo(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISFIFO(status.st_mode);
}

bool IsSocket(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISSOCK(status.st_mode);
}

bool MakeFifo(const QString& path) {
    return ::mkfifo(QFile::encodeName(path).constData(), 0644) == 0;
}

bool MakeSocket(const QString& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (fd < 0 || name.size() >= qsizetype(sizeof address.sun_path)) {
        return false;
    }
    std::memcpy(address.sun_path, name.constData(), static_cast<size_t>(name.size()));
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return bound;
}

bool LinkTo(const QString& target, const QString& link) {
    return QFile::link(target, link);
}

const SpecialCase kSpecials[] = {
    {"Fifo", [](const QString& d) { return MakeFifo(d + "/out.txt"); },
     [](const QString& d) { return IsFifo(d + "/out.txt"); }},
    {"LinkToAFifo",
     [](const QString& d) { return MakeFifo(d + "/fifo") && LinkTo(d + "/fifo", d + "/out.txt"); },
     [](const QString& d) {
         return IsFifo(d + "/fifo") && QFileInfo(d + "/out.txt").symLinkTarget() == d + "/fifo";
     }},
    {"LinkToASocket",
     [](const QString& d) {
         return MakeSocket(d + "/socket") && LinkTo(d + "/socket", d + "/out.txt");
     },
     [](const QString& d) { return IsSocket(d + "/socket"); }},
};

TEST(TextOutputStreamTest, ANameThatLeadsToAnythingButARegularFileIsLeftAlone) {
    for (const SpecialCase& c : kSpecials) {
        const TempWorkingDir dir;
        ASSERT_TRUE(c.make(dir.path())) << c.name;
        fw::TextOutputStream stream(dir.filePath("out.txt"));
        stream.Write("198.51.100.100\tx\n");
        EXPECT_FALSE(stream.Close()) << c.name;
        EXPECT_EQ(stream.ErrorString(), QString("Not a regular file")) << c.name;
        EXPECT_TRUE(c.unchanged(dir.path())) << c.name << ": replaced by a file";
    }
}

TEST(TextOutputStreamTest, ALinkToARegularFileReplacesTheFileAndKeepsTheLink) {
    const TempWorkingDir dir;
    dir.write("real.txt", "old");
    ASSERT_TRUE(LinkTo(dir.filePath("real.txt"), dir.filePath("out.txt")));
    fw::TextOutputStream stream(dir.filePath("out.txt"));
    stream.Write("new");
    EXPECT_TRUE(stream.Close()) << stream.ErrorString().toStdString();
    EXPECT_EQ(ReadBytes(dir.filePath("real.txt")), "new");
    EXPECT_EQ(QFileInfo(dir.filePath("out.txt")).symLinkTarget(), dir.filePath("real.txt"));
}

}  // namespace
