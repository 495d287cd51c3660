// Our arp as a whole: its command line, the line it prints and its exit status, on fixture tables.
#include "compat/ArpCommand.h"
#include "compat/BoundedFile.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <fstream>

using compat::ArpArgs;
using compat::CommandOutcome;
using compat::FileText;
using compat::ParseArpArgs;
using compat::RunArp;

namespace {

const std::string kTable =
    "IP address       HW type     Flags       HW address            Mask     Device\n"
    "198.51.100.10    0x1         0x2         02:00:00:00:00:0a     *        br0\n"
    "198.51.100.11    0x1         0x0         00:00:00:00:00:00     *        br0\n"
    "198.51.100.12    0x1         0x6         00:1b:2c:03:d4:e5     *        eth0\n"
    "198.51.100.13    0x1         0x0         00:00:00:00:00:00     *        eth0\n"
    "198.51.100.13    0x1         0x2         a0:0b:0c:0d:0e:0f     *        wlan0\n";

FileText Table(const std::string& text) {
    return {true, text, ""};
}

CommandOutcome Arp(const std::vector<std::string>& args, const std::string& table = kTable) {
    return RunArp(args, [&] { return Table(table); });
}

}  // namespace

TEST(ArpArgs, AcceptsDashNAnywhereAndExactlyOneAddress) {
    struct Case {
        std::vector<std::string> args;
        bool usage;
        std::optional<std::string> address;
    };
    const Case cases[] = {
        {{"-n", "198.51.100.10"}, false, "198.51.100.10"},
        {{"198.51.100.10"}, false, "198.51.100.10"},
        {{"198.51.100.10", "-n"}, false, "198.51.100.10"},
        {{"-n", "-n", "198.51.100.10"}, false, "198.51.100.10"},
        {{"-nn", "198.51.100.10"}, false, "198.51.100.10"},
        {{"-n", "--", "-n"}, false, "-n"},
        {{"-n", "-"}, false, "-"},
        {{"-n", ""}, false, ""},
        {{"-n"}, false, std::nullopt},
        {{}, false, std::nullopt},
        {{"-a"}, true, std::nullopt},
        {{"-na", "198.51.100.10"}, true, "198.51.100.10"},
        {{"-d", "198.51.100.10"}, true, "198.51.100.10"},
        {{"-n", "198.51.100.10", "198.51.100.11"}, true, "198.51.100.10"},
    };
    for (const Case& c : cases) {
        const ArpArgs parsed = ParseArpArgs(c.args);
        std::string shown;
        for (const std::string& arg : c.args) {
            shown += "[" + arg + "]";
        }
        EXPECT_EQ(parsed.usage, c.usage) << shown;
        EXPECT_EQ(parsed.address, c.address) << shown;
    }
}

TEST(ArpCommand, PrintsTheLineTheScannerReads) {
    struct Case {
        const char* address;
        int exitStatus;
        const char* out;
    };
    const Case cases[] = {
        {"198.51.100.10", 0, "? (198.51.100.10) at 2:0:0:0:0:a on br0 [ethernet]\n"},
        {"198.51.100.11", 0, "? (198.51.100.11) at (incomplete) on br0 [ethernet]\n"},
        {"198.51.100.12", 0, "? (198.51.100.12) at 0:1b:2c:3:d4:e5 on eth0 [ethernet]\n"},
        {"198.51.100.13", 0, "? (198.51.100.13) at a0:b:c:d:e:f on wlan0 [ethernet]\n"},
        {"198.51.100.14", 1, "198.51.100.14 (198.51.100.14) -- no entry\n"},
        {"198.51.100.1", 1, "198.51.100.1 (198.51.100.1) -- no entry\n"},
    };
    for (const Case& c : cases) {
        const CommandOutcome outcome = Arp({"-n", c.address});
        EXPECT_EQ(outcome.exitStatus, c.exitStatus) << c.address;
        EXPECT_EQ(outcome.out, c.out);
        EXPECT_EQ(outcome.err, "");
    }
}

TEST(ArpCommand, AnEmptyOrHeaderOnlyTableHasNoEntry) {
    for (const std::string& table : {std::string(), kTable.substr(0, kTable.find('\n') + 1)}) {
        const CommandOutcome outcome = Arp({"-n", "198.51.100.10"}, table);
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_EQ(outcome.out, "198.51.100.10 (198.51.100.10) -- no entry\n");
    }
}

TEST(ArpCommand, RefusesAnAddressItCannotReadWithoutReadingTheTable) {
    struct Case {
        std::vector<std::string> args;
        const char* err;
    };
    const Case cases[] = {
        {{"-n", "198.51.100.256"}, "arp: 198.51.100.256: unknown host\n"},
        {{"-n", "abc"}, "arp: abc: unknown host\n"},
        {{"-n", ""}, "arp: : unknown host\n"},
        {{"-n"}, "arp: : unknown host\n"},
        {{"-n", "198.51.100.010"}, "arp: 198.51.100.010: unknown host\n"},
    };
    for (const Case& c : cases) {
        bool read = false;
        const CommandOutcome outcome = RunArp(c.args, [&] {
            read = true;
            return Table(kTable);
        });
        EXPECT_EQ(outcome.exitStatus, 1) << c.err;
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, c.err);
        EXPECT_FALSE(read) << c.err;
    }
}

TEST(ArpCommand, UsageErrorsGoToStandardError) {
    for (const std::vector<std::string>& args : {std::vector<std::string>{"-a"},
                                                 {"-n", "198.51.100.10", "198.51.100.11"},
                                                 {"-s", "198.51.100.10", "0:1:2:3:4:5"}}) {
        const CommandOutcome outcome = Arp(args);
        EXPECT_EQ(outcome.exitStatus, 1);
        EXPECT_EQ(outcome.out, "");
        EXPECT_EQ(outcome.err, "usage: arp [-n] address\n");
    }
}

// Not "no entry": that would tell the scanner that the host is absent.
TEST(ArpCommand, AnUnreadableTableIsAnErrorOfItsOwn) {
    const CommandOutcome outcome = RunArp({"-n", "198.51.100.10"}, [] {
        return FileText{false, "", "/proc/net/arp: No such file or directory"};
    });
    EXPECT_EQ(outcome.exitStatus, 2);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "arp: /proc/net/arp: No such file or directory\n");
}

TEST(BoundedFile, ReadsAWholeSmallFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("table").toStdString();
    std::ofstream(path) << kTable;
    const FileText read = compat::ReadBoundedFile(path, 1024);
    EXPECT_TRUE(read.ok);
    EXPECT_EQ(read.text, kTable);
}

TEST(BoundedFile, CutsALongFileAfterItsLastWholeLineWithinTheLimit) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("table").toStdString();
    std::ofstream(path) << kTable;
    const std::size_t twoLines = kTable.find('\n', kTable.find('\n') + 1) + 1;
    EXPECT_EQ(compat::ReadBoundedFile(path, twoLines + 5).text, kTable.substr(0, twoLines));
    EXPECT_EQ(compat::ReadBoundedFile(path, twoLines).text, kTable.substr(0, twoLines));
    EXPECT_EQ(compat::ReadBoundedFile(path, kTable.size()).text, kTable);
    EXPECT_EQ(compat::ReadBoundedFile(path, 3).text, "");
}

TEST(BoundedFile, ReportsAMissingFile) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("absent").toStdString();
    const FileText read = compat::ReadBoundedFile(path, 1024);
    EXPECT_FALSE(read.ok);
    EXPECT_EQ(read.error, path + ": No such file or directory");
}
