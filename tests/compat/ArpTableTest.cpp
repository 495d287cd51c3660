// Reading /proc/net/arp: the rows the kernel writes, and whatever else a file may hold.
#include "compat/ArpTable.h"

#include <gtest/gtest.h>

using compat::ArpEntry;
using compat::ArpTable;
using compat::Ipv4;
using compat::MacBytes;
using namespace std::string_literals;

namespace {

constexpr const char* kHeader =
    "IP address       HW type     Flags       HW address            Mask     Device\n";

// As the kernel writes the rows: complete, incomplete, permanent, and one address seen on two
// interfaces, incomplete on the first and complete on the second.
const std::string kMixedTable =
    std::string(kHeader) +
    "198.51.100.1     0x1         0x2         00:11:22:33:44:55     *        eth0\n"
    "198.51.100.2     0x1         0x0         00:00:00:00:00:00     *        eth0\n"
    "198.51.100.3     0x1         0x6         02:00:00:00:00:0a     *        br0\n"
    "198.51.100.4     0x1         0x0         00:00:00:00:00:00     *        eth0\n"
    "198.51.100.4     0x1         0x2         0a:0b:0c:0d:0e:0f     *        wlan0\n";

}  // namespace

TEST(ArpTable, ReadsTheKernelsRows) {
    const ArpTable table = ArpTable::Parse(kMixedTable);
    ASSERT_EQ(table.Entries().size(), 5u);

    const ArpEntry& complete = table.Entries()[0];
    EXPECT_EQ(complete.address, (Ipv4{198, 51, 100, 1}));
    EXPECT_EQ(complete.flags, 0x2u);
    EXPECT_EQ(complete.mac, (MacBytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(complete.device, "eth0");
    EXPECT_TRUE(complete.Complete());

    EXPECT_FALSE(table.Entries()[1].Complete());  // flags 0x0, MAC all zeros
    EXPECT_TRUE(table.Entries()[2].Complete());   // permanent: complete and static
}

TEST(ArpTable, FindsTheRowOfAnAddress) {
    const ArpTable table = ArpTable::Parse(kMixedTable);
    const ArpEntry* incomplete = table.Find({198, 51, 100, 2});
    ASSERT_NE(incomplete, nullptr);
    EXPECT_FALSE(incomplete->Complete());
    EXPECT_EQ(table.Find({198, 51, 100, 5}), nullptr);
    EXPECT_EQ(table.Find({198, 51, 100, 10}), nullptr);  // no prefix matching
}

TEST(ArpTable, PrefersTheCompleteRowAmongSeveralInterfaces) {
    const ArpTable table = ArpTable::Parse(kMixedTable);
    const ArpEntry* entry = table.Find({198, 51, 100, 4});
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->device, "wlan0");
    EXPECT_TRUE(entry->Complete());
}

TEST(ArpTable, TakesTheFirstRowWhenNoneIsComplete) {
    const ArpTable table = ArpTable::Parse(
        std::string(kHeader) +
        "198.51.100.4     0x1         0x0         00:00:00:00:00:00     *        eth1\n"
        "198.51.100.4     0x1         0x0         00:00:00:00:00:00     *        eth2\n");
    const ArpEntry* entry = table.Find({198, 51, 100, 4});
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->device, "eth1");
}

TEST(ArpTable, TakesTheFirstOfSeveralCompleteRows) {
    const ArpTable table = ArpTable::Parse(
        std::string(kHeader) +
        "198.51.100.4     0x1         0x2         00:00:00:00:00:01     *        eth1\n"
        "198.51.100.4     0x1         0x2         00:00:00:00:00:02     *        eth2\n");
    const ArpEntry* entry = table.Find({198, 51, 100, 4});
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->device, "eth1");
}

TEST(ArpTable, HeaderOnlyAndEmptyTablesHaveNoRows) {
    for (const std::string& text : {std::string(kHeader), std::string(), std::string("\n\n")}) {
        EXPECT_TRUE(ArpTable::Parse(text).Entries().empty());
    }
}

// A row without the final newline, with tabs or a CR, still counts; nothing else does.
TEST(ArpTable, SkipsGarbageLinesAndKeepsTheRowsAroundThem) {
    const std::string text =
        std::string(kHeader) +
        "garbage\n"
        "198.51.100.300   0x1         0x2         00:11:22:33:44:55     *        eth0\n"
        "198.51.100.7     0x1         2           00:11:22:33:44:55     *        eth0\n"
        "198.51.100.7     1           0x2         00:11:22:33:44:55     *        eth0\n"
        "198.51.100.7     0x1         0xZZ        00:11:22:33:44:55     *        eth0\n"
        "198.51.100.7     0x1         0x1ffffffff 00:11:22:33:44:55     *        eth0\n"
        "198.51.100.7     0x1         0x2         00:11:22:33:44:55     *        eth0  extra\n"
        "198.51.100.7     0x1\n"
        "198.51.100.7\n" +
        "198.51.100.7\0 0x1 0x2 00:11:22:33:44:55 * eth0\n"s +
        "\xff\xfe\x01\n"
        "198.51.100.8\t0x1\t0x2\t00:11:22:33:44:66\t*\teth0\r\n"
        "198.51.100.9     0x1         0x2         00:11:22:33:44:77     *        eth0";
    const ArpTable table = ArpTable::Parse(text);
    ASSERT_EQ(table.Entries().size(), 2u);
    EXPECT_EQ(table.Find({198, 51, 100, 7}), nullptr);
    ASSERT_NE(table.Find({198, 51, 100, 8}), nullptr);
    EXPECT_EQ(table.Find({198, 51, 100, 8})->device, "eth0");
    ASSERT_NE(table.Find({198, 51, 100, 9}), nullptr);
    EXPECT_EQ(table.Find({198, 51, 100, 9})->device, "eth0");
}

// Interfaces without a hardware address get a blank column, which leaves five fields.
TEST(ArpTable, ARowWithoutHardwareAddressIsNotComplete) {
    const ArpTable table = ArpTable::Parse(
        std::string(kHeader) +
        "198.51.100.5     0x1         0x2                               *        tun0\n"
        "198.51.100.6     0x1         0x2         zz:11:22:33:44:55     *        eth0\n");
    ASSERT_EQ(table.Entries().size(), 2u);
    for (const ArpEntry& entry : table.Entries()) {
        EXPECT_FALSE(entry.Complete()) << entry.device;
        EXPECT_FALSE(entry.mac.has_value()) << entry.device;
    }
    EXPECT_EQ(table.Find({198, 51, 100, 5})->device, "tun0");
}
