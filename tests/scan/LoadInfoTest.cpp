// The host file loader on small host files in a temporary working folder.
#include "framework/FolderItem.h"
#include "framework/Text.h"
#include "scan/Global1.h"
#include "tests/framework/QStringPrinter.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/TempWorkingDir.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QStringList>

#include <sys/stat.h>

#include <cstdint>
#include <vector>

namespace {

// The six values of Global1, gathered for comparison.
struct Loaded {
    QString zone, start;
    QStringList ip, ipNames, mac, macNames;

    static Loaded Now() {
        const auto list = [](const fw::StringArray& array) {
            return QStringList(array.begin(), array.end());
        };
        return {Global1::gIPLocalZone,      Global1::gIPLocalStart,
                list(Global1::gIPAddress),  list(Global1::gMachineNameI),
                list(Global1::gMacAddress), list(Global1::gMachineNameM)};
    }
    bool operator==(const Loaded&) const = default;
};

void PrintTo(const Loaded& loaded, std::ostream* out) {
    const auto list = [out](const QStringList& texts) {
        *out << " [" << texts.join(" | ").toStdString() << "]";
    };
    *out << "zone \"" << loaded.zone.toStdString() << "\" start \"" << loaded.start.toStdString()
         << "\" ip";
    list(loaded.ip);
    list(loaded.ipNames);
    *out << " mac";
    list(loaded.mac);
    list(loaded.macNames);
}

class LoadInfoTest : public ::testing::Test {
protected:
    LoadInfoTest() {
        Global1::FinalizeGlobals();
        Global1::InitializeGlobals();
    }
    ~LoadInfoTest() override { Global1::FinalizeGlobals(); }

    Loaded load(const QByteArray& hostFile) const {
        dir.write("info.txt", hostFile);
        Global1::LoadInfo();
        return Loaded::Now();
    }

    TempWorkingDir dir;
};

struct HostFileCase {
    const char* name;
    QByteArray hostFile;
    Loaded expected;
};
void PrintTo(const HostFileCase& c, std::ostream* out) {
    *out << c.name;
}

class HostFileTest : public LoadInfoTest, public ::testing::WithParamInterface<HostFileCase> {};

TEST_P(HostFileTest, FillsTheTablesByTheLineRules) {
    EXPECT_EQ(load(GetParam().hostFile), GetParam().expected);
}

const QByteArray kExample =
    "// machines of the office\n"
    "192.168.0.100\tgateway\n"
    "192.168.0.7\tprinter\n"
    "0:11:22:33:44:55\tlaptop\n"
    "\n"
    "192.168.0.9\n"
    "10.0.1\tnas\n";
const Loaded kExampleLoaded{
    "192.168.0.",         "100",     {"192.168.0.7", "192.168.0.9"}, {"printer", ""},
    {"0:11:22:33:44:55"}, {"laptop"}};

QByteArray WithLineEnds(QByteArray text, const char* end) {
    return text.replace("\n", end);
}

const QString kReplacement = QString(QChar::ReplacementCharacter);
const char kNulBytes[] = "1.2.3.4\t\0gw\n\0\0\0\n5.6.7.8\tx\0y\n\0.\0.\0.\0\n";

INSTANTIATE_TEST_SUITE_P(
    LineEnds, HostFileTest,
    ::testing::Values(HostFileCase{"Example", kExample, kExampleLoaded},
                      HostFileCase{"ExampleCrLf", WithLineEnds(kExample, "\r\n"), kExampleLoaded},
                      HostFileCase{"ExampleCr", WithLineEnds(kExample, "\r"), kExampleLoaded},
                      HostFileCase{"LastLineWithEnd",
                                   "192.168.0.100\tgw\n0:11:22:33:44:55\tlaptop\n",
                                   {"192.168.0.", "100", {}, {}, {"0:11:22:33:44:55"}, {"laptop"}}},
                      HostFileCase{"LastLineWithoutEnd",
                                   "192.168.0.100\tgw\n0:11:22:33:44:55\tlaptop",
                                   {"192.168.0.", "100", {}, {}, {"0:11:22:33:44:55"}, {"laptop"}}},
                      HostFileCase{"EmptyFile", "", {}}, HostFileCase{"OnlyALineEnd", "\r\n", {}},
                      HostFileCase{"OnlyComments", "// a\n//1.2.3.4\tx\n//0:1:2:3:4:5\ty", {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Comments, HostFileTest,
    ::testing::Values(
        // A mark left in the first line would make this comment the first address line.
        HostFileCase{"ByteOrderMarkBeforeAComment",
                     "\xEF\xBB\xBF// old gateway 10.0.0.1\n192.168.0.100\tgw\n",
                     {"192.168.0.", "100", {}, {}, {}, {}}},
        HostFileCase{"BlankBeforeTheCommentMark",
                     " // 10.0.0.1\tx\n192.168.0.100\tgw\n",
                     {" // 10.0.0.", "1", {"192.168.0.100"}, {"gw"}, {}, {}}},
        HostFileCase{"TabBeforeTheCommentMark", "\t// 10.0.0.1\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Keys, HostFileTest,
    ::testing::Values(
        HostFileCase{"FirstAddressLineNamesNothing",
                     "192.168.0.1\tgw\n192.168.0.1\tagain\n10.0.0.1\tother\n",
                     {"192.168.0.", "1", {"192.168.0.1", "10.0.0.1"}, {"again", "other"}, {}, {}}},
        HostFileCase{
            "LettersWithThreeDotsAreAnAddress", "a.b.c.d\tx\n", {"a.b.c.", "d", {}, {}, {}, {}}},
        HostFileCase{
            "MacKeysByColonCountOnly",
            "00-11:22:33:44:55:66\tdash\n0:1:2:3:4:5:6\tseven\n0:1:2:3:4\tfour\n"
            "zz:zz:zz:zz:zz:zz\tletters\n",
            {"", "", {}, {}, {"00-11:22:33:44:55:66", "zz:zz:zz:zz:zz:zz"}, {"dash", "letters"}}},
        HostFileCase{"ThreeDotsAndFiveColonsAsFirstAddress",
                     "1.2.3.4:5:6:7:8:9\tboth\n",
                     {"1.2.3.", "4:5:6:7:8:9", {}, {}, {}, {}}},
        HostFileCase{"ThreeDotsAndFiveColonsAsLaterAddress",
                     "192.168.0.1\tgw\n1.2.3.4:5:6:7:8:9\tboth\n",
                     {"192.168.0.", "1", {"1.2.3.4:5:6:7:8:9"}, {"both"}, {}, {}}},
        HostFileCase{"OtherLinesIgnored",
                     "192.168.0.1\tgw\n10.0.1\tnas\n1.2.3.4.5\tfive\n\tname only\n::::\n",
                     {"192.168.0.", "1", {}, {}, {}, {}}},
        HostFileCase{"NoAddressLine",
                     "0:11:22:33:44:55\tlaptop\n",
                     {"", "", {}, {}, {"0:11:22:33:44:55"}, {"laptop"}}}),
    [](const auto& info) { return std::string(info.param.name); });

INSTANTIATE_TEST_SUITE_P(
    Names, HostFileTest,
    ::testing::Values(
        HostFileCase{"LinesWithoutTabHaveEmptyNames",
                     "192.168.0.1\n192.168.0.9\n0:11:22:33:44:55\n",
                     {"192.168.0.", "1", {"192.168.0.9"}, {""}, {"0:11:22:33:44:55"}, {""}}},
        HostFileCase{
            "BlanksAroundKeysAndNamesKept",
            "192.168.0.1\tgw\n192.168.0.7 \t printer \tignored\n 0:11:22:33:44:55\t laptop\n",
            {"192.168.0.",
             "1",
             {"192.168.0.7 "},
             {" printer "},
             {" 0:11:22:33:44:55"},
             {" laptop"}}},
        // Not even normalised: the second name is "Café" with a combining accent.
        HostFileCase{"KeysAndNamesKeepTheirCaseAndForm",
                     "192.168.0.1\tGW\n192.168.0.7\tPrinter-A\n0:AA:bb:CC:dd:EE\tCafe\xCC\x81\n",
                     {"192.168.0.",
                      "1",
                      {"192.168.0.7"},
                      {"Printer-A"},
                      {"0:AA:bb:CC:dd:EE"},
                      {QString::fromUtf8("Cafe\xCC\x81")}}},
        HostFileCase{"EmptyNameBetweenTwoTabs",
                     "192.168.0.1\tgw\n192.168.0.7\t\tafter\n",
                     {"192.168.0.", "1", {"192.168.0.7"}, {""}, {}, {}}},
        HostFileCase{"DuplicatesKeptInOrder",
                     "192.168.0.1\tgw\n192.168.0.7\tfirst\n192.168.0.7\tsecond\n"
                     "0:1:2:3:4:5\ta\n0:1:2:3:4:5\tb\n",
                     {"192.168.0.",
                      "1",
                      {"192.168.0.7", "192.168.0.7"},
                      {"first", "second"},
                      {"0:1:2:3:4:5", "0:1:2:3:4:5"},
                      {"a", "b"}}},
        HostFileCase{
            "Japanese",
            "192.168.0.1\tゲートウェイ\n192.168.0.7\tプリンタ\n0:11:22:33:44:55\t山田のノート\n",
            {"192.168.0.",
             "1",
             {"192.168.0.7"},
             {QString::fromUtf8("プリンタ")},
             {"0:11:22:33:44:55"},
             {QString::fromUtf8("山田のノート")}}},
        HostFileCase{"InvalidUtf8Replaced",
                     "192.168.0.1\tgw\n192.168.0.7\tpr\xFF"
                     "nter\n0:11:22:33:44:5\xE6\tx\n",
                     {"192.168.0.",
                      "1",
                      {"192.168.0.7"},
                      {"pr" + kReplacement + "nter"},
                      {"0:11:22:33:44:5" + kReplacement},
                      {"x"}}},
        HostFileCase{"NulBytes",
                     QByteArray(kNulBytes, sizeof kNulBytes - 1),
                     {"1.2.3.",
                      "4",
                      {"5.6.7.8", QString::fromUtf16(u"\0.\0.\0.\0", 7)},
                      {QString::fromUtf16(u"x\0y", 3), ""},
                      {},
                      {}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(LoadInfoTest, NoHostFileLeavesEverythingEmpty) {
    Global1::LoadInfo();
    EXPECT_EQ(Loaded::Now(), Loaded{});
}

TEST_F(LoadInfoTest, AHostFileThatCannotBeOpenedIsLikeNone) {
    ASSERT_TRUE(QDir(dir.path()).mkpath("info.txt/inside"));
    Global1::LoadInfo();
    EXPECT_EQ(Loaded::Now(), Loaded{});
}

TEST_F(LoadInfoTest, AWorkingFolderThatWasDeletedGivesNoFolderAndNothingLoaded) {
    dir.write("info.txt", "192.168.0.1\tgw\n192.168.0.7\tprinter\n");
    ASSERT_TRUE(QDir(dir.path()).removeRecursively());
    EXPECT_FALSE(fw::GetFolderItem("", 0).has_value());
    Global1::LoadInfo();
    EXPECT_EQ(Loaded::Now(), Loaded{});
}

TEST_F(LoadInfoTest, AHostFileThatIsNotARegularFileIsLikeNone) {
    // A FIFO would block start-up, /dev/zero grow memory without end, /dev/urandom never end:
    // each load runs in a child process that is killed past a generous bound.
    const struct {
        const char* name;
        const char* target;  // null: a FIFO of the test's own
    } cases[] = {{"Fifo", nullptr}, {"LinkToZero", "/dev/zero"}, {"LinkToRandom", "/dev/urandom"}};
    for (const auto& c : cases) {
        QFile::remove(dir.filePath("info.txt"));
        if (c.target == nullptr) {
            ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("info.txt")).constData(), 0644), 0);
        } else {
            ASSERT_TRUE(QFile::link(c.target, dir.filePath("info.txt")));
        }
        const ChildOutcome outcome = RunInChild(
            [] {
                Global1::LoadInfo();
                return QByteArray(Loaded::Now() == Loaded{} ? "nothing" : "loaded");
            },
            std::chrono::seconds(20), 512LL * 1024 * 1024);
        ASSERT_TRUE(outcome.Exited()) << c.name << ": " << outcome.what.toStdString();
        EXPECT_EQ(outcome.report, "nothing") << c.name;
    }
}

TEST_F(LoadInfoTest, OnlyTheWorkingDirectoryIsRead) {
    ASSERT_TRUE(QDir(dir.path()).mkdir("sub"));
    dir.write("sub/info.txt", "192.168.0.1\tgw\n");
    dir.write("Info.txt", "192.168.0.1\tgw\n");
    Global1::LoadInfo();
    if (!QFile::exists(dir.filePath("info.txt"))) {  // a file system that tells case apart
        EXPECT_EQ(Loaded::Now(), Loaded{});
    }
}

TEST_F(LoadInfoTest, ASingleTenMegabyteLine) {
    const QByteArray name(10 * 1024 * 1024, 'n');
    const Loaded loaded =
        load("192.168.0.1\tgw\n10.0.0.5\t" + name + "\n" + QByteArray(10'000'000, '.'));
    ASSERT_EQ(loaded.ip, QStringList({"10.0.0.5"}));
    ASSERT_EQ(loaded.ipNames.size(), 1);
    EXPECT_EQ(loaded.ipNames[0].size(), name.size());
    EXPECT_EQ(loaded.zone, "192.168.0.");
}

TEST_F(LoadInfoTest, AMillionShortLines) {
    QByteArray hostFile = "192.168.0.1\tgw\n";
    for (int i = 0; i < 1'000'000; ++i) {
        hostFile += "10.0." + QByteArray::number(i / 256 % 256) + "." +
                    QByteArray::number(i % 256) + "\th" + QByteArray::number(i) + "\n";
    }
    const Loaded loaded = load(hostFile);
    ASSERT_EQ(loaded.ip.size(), 1'000'000);
    ASSERT_EQ(loaded.ipNames.size(), 1'000'000);
    EXPECT_EQ(loaded.ip.front(), "10.0.0.0");
    EXPECT_EQ(loaded.ipNames.front(), "h0");
    EXPECT_EQ(loaded.ip.back(), "10.0.66.63");  // 999999 = 3906 * 256 + 63
    EXPECT_EQ(loaded.ipNames.back(), "h999999");
}

TEST_F(LoadInfoTest, BinaryNoiseKeepsThePairsTogether) {
    QByteArray noise;
    std::uint32_t state = 12345;
    const char alphabet[] = {'\0', '\t', '\n', '\r', '.', ':', '/', 'a', '1', '\xFF', '\xE6', ' '};
    for (int i = 0; i < 1'000'000; ++i) {
        state = state * 1664525u + 1013904223u;
        noise += alphabet[(state >> 16) % sizeof alphabet];
    }
    const Loaded loaded = load(noise);
    EXPECT_EQ(loaded.ip.size(), loaded.ipNames.size());
    EXPECT_EQ(loaded.mac.size(), loaded.macNames.size());
    for (const QString& key : loaded.ip) {
        EXPECT_EQ(fw::CountFieldsB(key, "."), 4);
    }
    for (const QString& key : loaded.mac) {
        EXPECT_EQ(fw::CountFieldsB(key, ":"), 6);
        EXPECT_NE(fw::CountFieldsB(key, "."), 4);
    }
}

}  // namespace
