// The built arp and ping binaries: the exit statuses the scanner sees for what they refuse. None
// of these runs sends a packet: each is refused before any socket is opened.
#include "tests/support/ProgramRun.h"

#include <gtest/gtest.h>

namespace {

const QString kArp = QStringLiteral(VQ_ARP_BINARY);
const QString kPing = QStringLiteral(VQ_PING_BINARY);

}  // namespace

TEST(ArpBinary, AnUnreadableAddressIsAnUnknownHost) {
    for (const QString address : {"198.51.100.256", "abc", ""}) {
        const ProgramRun run = RunProgram(kArp, {"-n", address});
        EXPECT_EQ(run.exitCode, 1) << address.toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "arp: " + address + ": unknown host\n");
    }
    const ProgramRun missing = RunProgram(kArp, {"-n"});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_EQ(missing.err, "arp: : unknown host\n");
}

TEST(ArpBinary, AnUnknownOptionIsAUsageError) {
    for (const QStringList& args : {QStringList{"-a"}, QStringList{"-n", "-d", "198.51.100.7"},
                                    QStringList{"198.51.100.7", "198.51.100.8"}}) {
        const ProgramRun run = RunProgram(kArp, args);
        EXPECT_EQ(run.exitCode, 1) << args.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, "usage: arp [-n] address\n");
    }
}

TEST(PingBinary, AnUnreadableAddressExits68) {
    const ProgramRun run = RunProgram(kPing, {"-c", "1", "-t", "1", "198.51.100.300"});
    EXPECT_EQ(run.exitCode, 68);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "ping: cannot resolve 198.51.100.300: Unknown host\n");
}

TEST(PingBinary, AUsageErrorExits64) {
    for (const QStringList& args :
         {QStringList{}, QStringList{"-c", "1", "-t", "1"}, QStringList{"-c", "x", "198.51.100.7"},
          QStringList{"-t", "0", "198.51.100.7"}, QStringList{"-W", "1", "198.51.100.7"},
          QStringList{"-c", "1", "-t", "1", "198.51.100.7", "198.51.100.8"}}) {
        const ProgramRun run = RunProgram(kPing, args);
        EXPECT_EQ(run.exitCode, 64) << args.join(' ').toStdString();
        EXPECT_EQ(run.out, "");
        EXPECT_TRUE(run.err.endsWith("usage: ping [-c count] [-t seconds] address\n"))
            << run.err.toStdString();
    }
}
