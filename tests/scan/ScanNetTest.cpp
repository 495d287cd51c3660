// The walk, driven through a recording window with a fake shell, a fake clock and a fake
// network interface, so that no test waits 500 ms per address or sends a packet.
#include "framework/NetworkInterface.h"
#include "scan/Global1.h"
#include "scan/ScanNet.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FakeShell.h"
#include "tests/support/RecordingWindow.h"
#include "tests/support/TempWorkingDir.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>

#include <algorithm>

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Row = RecordingWindow::Row;

namespace {

const QString kOwnIP = "192.168.0.250";
const QString kOwnMAC = "0:aa:bb:cc:dd:ee";

QString ping(const QString& address) {
    return "ping -c 1 -t 1 " + address;
}
QString arp(const QString& address) {
    return "arp -n " + address;
}

class WalkTest : public ::testing::Test {
protected:
    WalkTest() : own({kOwnIP, kOwnMAC}) {
        Global1::FinalizeGlobals();
        Global1::InitializeGlobals();
        Global1::gIPLocalZone = "192.168.0.";
        Global1::gIPLocalStart = "100";
        scan.pWin = &window;
        shell.answerOthers(1);  // arp: no entry, ping: no answer
    }
    ~WalkTest() override {
        scan.Wait();
        Global1::FinalizeGlobals();
    }

    // Runs one walk on the scan thread and waits for its end. Every address of it, known hosts
    // and the own address included, is redrawn and followed by a pause.
    void walk(std::int32_t first, std::int32_t count) {
        const double before = clock.now();
        const qsizetype eventsBefore = window.events().size();
        scan.pStIP = first;
        scan.pImax = count;
        window.pStop = false;
        scan.Run();
        ++walks;
        ASSERT_TRUE(window.waitForEnds(walks)) << "waited for the end of walk " << walks;
        scan.Wait();

        const QStringList events = window.events().mid(eventsBefore);
        const auto addresses = std::count_if(events.begin(), events.end(),
                                             [](const QString& e) { return e.startsWith("add "); });
        EXPECT_EQ(events.count("refresh"), addresses) << "a redraw after every address";
        if (addresses > 0) {
            EXPECT_GT(clock.now() - before, double(addresses) * 500'000.0)
                << "a pause after every address";
        }
    }

    static void knownHost(const QString& address, const QString& name) {
        Global1::gIPAddress.push_back(address);
        Global1::gMachineNameI.push_back(name);
    }
    static void knownMac(const QString& mac, const QString& name) {
        Global1::gMacAddress.push_back(mac);
        Global1::gMachineNameM.push_back(name);
    }

    FakeShell shell;
    FakeClock clock;
    fw::ScopedNetworkInterface own;
    RecordingWindow window;
    ScanNet scan;
    int walks = 0;
};

TEST_F(WalkTest, CoversTheRangeInOrderOneRowAndOnePausePerAddress) {
    const double start = clock.now();
    walk(100, 16);

    const auto rows = window.rows();
    ASSERT_EQ(rows.size(), 17u);
    for (int i = 0; i < 17; ++i) {
        EXPECT_EQ(rows[i].first, "192.168.0." + QString::number(100 + i));
    }
    // Every address pauses strictly more than 500 ms, the last one included.
    EXPECT_GT(clock.now() - start, 17 * 500'000.0);
    EXPECT_LT(clock.now() - start, 17 * 500'000.0 + 17 * 10.0);

    const QStringList events = window.events();
    EXPECT_EQ(events.first(), "clear");
    EXPECT_EQ(events.last(), "end");
    EXPECT_EQ(events.count("refresh"), 17);
    EXPECT_EQ(events.count("end"), 1);
}

TEST_F(WalkTest, RowAddCellRefreshComeInWalkOrder) {
    shell.answer(arp("192.168.0.101"), 0, "? (192.168.0.101) at 0:11:22:33:44:55 on en0\n");
    // The rows as each probe begins: the address's row stands, its name cell empty.
    QStringList probes;
    shell.beforeAnswer([this, &probes](const QString& command) {
        const auto rows = window.rows();
        probes << command + " with rows up to " +
                      (rows.empty() ? "none" : rows.back().first + " '" + rows.back().second + "'");
    });
    walk(100, 1);
    EXPECT_THAT(window.events(),
                ElementsAre("clear", "add 192.168.0.100", "cell 0 1 ", "refresh",
                            "add 192.168.0.101", "cell 1 1 0:11:22:33:44:55", "refresh", "end"));
    EXPECT_EQ(probes, QStringList({ping("192.168.0.100") + " with rows up to 192.168.0.100 ''",
                                   arp("192.168.0.100") + " with rows up to 192.168.0.100 ''",
                                   ping("192.168.0.101") + " with rows up to 192.168.0.101 ''",
                                   arp("192.168.0.101") + " with rows up to 192.168.0.101 ''"}));
}

TEST_F(WalkTest, ScanCountDecidesTheNumberOfAddresses) {
    const struct {
        std::int32_t count;
        std::size_t rows;
    } cases[] = {{0, 1}, {1, 2}, {-1, 0}, {-100, 0}};
    for (const auto& c : cases) {
        const double before = clock.now();
        walk(200, c.count);
        EXPECT_EQ(window.rows().size(), c.rows) << "scan count " << c.count;
        if (c.rows == 0) {
            EXPECT_EQ(clock.now(), before) << "no pause without an address";
        }
    }
    EXPECT_EQ(window.ends(), 4);
}

TEST_F(WalkTest, ScanCountAtTheInt32LimitDoesNotOverflow) {
    // The end lies beyond the 32-bit range; the walk must treat it as a long range, not wrap
    // around to a negative end. Stop it after a few addresses.
    shell.beforeAnswer([this](const QString& command) {
        if (command == ping("192.168.0.2147483647")) {
            window.pStop = true;
        }
    });
    scan.pStIP = 2147483646;
    scan.pImax = 2147483647;
    window.pStop = false;
    scan.Run();
    ASSERT_TRUE(window.waitForEnds(1)) << "waited for the end of the walk";
    const auto rows = window.rows();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[1].first, "192.168.0.2147483647");
}

TEST_F(WalkTest, StopBeforeTheFirstAddressClearsTheListAndEnds) {
    scan.pStIP = 100;
    scan.pImax = 16;
    window.pStop = true;
    const double before = clock.now();
    scan.Run();
    ASSERT_TRUE(window.waitForEnds(1)) << "waited for the end of the walk";
    EXPECT_THAT(window.events(), ElementsAre("clear", "end"));
    EXPECT_THAT(shell.commands(), IsEmpty());
    EXPECT_EQ(clock.now(), before);
}

TEST_F(WalkTest, StopDuringAProbeCompletesThatAddressOnly) {
    shell.beforeAnswer([this](const QString& command) {
        if (command == ping("192.168.0.102")) {
            window.pStop = true;
        }
    });
    shell.answer(arp("192.168.0.102"), 0, "? (192.168.0.102) at 2:0:0:0:0:2 on eth0\n");
    const double before = clock.now();
    walk(100, 16);

    EXPECT_THAT(window.rows(), ElementsAre(Row{"192.168.0.100", ""}, Row{"192.168.0.101", ""},
                                           Row{"192.168.0.102", "2:0:0:0:0:2"}));
    EXPECT_EQ(window.events().count("refresh"), 3);
    EXPECT_EQ(window.ends(), 1);
    EXPECT_GT(clock.now() - before, 3 * 500'000.0) << "the stopped address still pauses";
    EXPECT_FALSE(shell.commands().contains(ping("192.168.0.103")));
}

TEST_F(WalkTest, KnownHostsAreNamedWithoutProbes) {
    knownHost("192.168.0.101", "printer");
    knownHost("192.168.0.101", "second entry");
    knownHost("192.168.0.0102", "leading zero");  // never equals an address text
    walk(100, 2);

    EXPECT_THAT(window.rows(),
                ElementsAre(Row{"192.168.0.100", ""}, Row{"192.168.0.101", "printer"},
                            Row{"192.168.0.102", ""}));
    const QStringList commands = shell.commands();
    EXPECT_FALSE(commands.contains(ping("192.168.0.101")));
    EXPECT_FALSE(commands.contains(arp("192.168.0.101")));
    EXPECT_TRUE(commands.contains(ping("192.168.0.102")));
}

TEST_F(WalkTest, OwnAddressShowsItsMacNameAndIsNeverProbed) {
    knownMac("0:AA:BB:CC:DD:EE", "this machine");  // arp prints lower case; keys may not
    walk(249, 1);
    EXPECT_THAT(window.rows(), ElementsAre(Row{"192.168.0.249", ""}, Row{kOwnIP, "this machine"}));
    EXPECT_FALSE(shell.commands().contains(ping(kOwnIP)));
    EXPECT_FALSE(shell.commands().contains(arp(kOwnIP)));
}

TEST_F(WalkTest, OwnAddressWithoutMacNameShowsTheMac) {
    walk(250, 0);
    EXPECT_THAT(window.rows(), ElementsAre(Row{kOwnIP, kOwnMAC}));
}

TEST_F(WalkTest, OwnAddressOnAnAddressLineShowsThatName) {
    knownHost(kOwnIP, "workstation");
    knownMac(kOwnMAC, "not this one");
    walk(250, 0);
    EXPECT_THAT(window.rows(), ElementsAre(Row{kOwnIP, "workstation"}));
    EXPECT_THAT(shell.commands(), IsEmpty());
}

TEST_F(WalkTest, WithoutNetworkInterfaceEveryAddressIsProbed) {
    fw::ScopedNetworkInterface none({});
    walk(250, 0);
    EXPECT_EQ(shell.commands(), QStringList({ping(kOwnIP), arp(kOwnIP)}));
}

TEST_F(WalkTest, WithoutZoneTheBareOctetIsListedAndProbed) {
    Global1::gIPLocalZone.clear();
    walk(7, 0);
    EXPECT_THAT(window.rows(), ElementsAre(Row{"7", ""}));
    EXPECT_EQ(shell.commands(), QStringList({ping("7"), arp("7")}));
}

TEST_F(WalkTest, OctetsBeyond255AreUsedUnchecked) {
    walk(256, 0);
    EXPECT_THAT(window.rows(), ElementsAre(Row{"192.168.0.256", ""}));
    EXPECT_EQ(shell.commands().first(), ping("192.168.0.256"));
}

TEST_F(WalkTest, EveryStartRunsAFreshWalk) {
    walk(100, 2);
    walk(110, 0);
    EXPECT_THAT(window.rows(), ElementsAre(Row{"192.168.0.110", ""}));
    EXPECT_EQ(window.ends(), 2);
}

// How the outcome of "arp -n ADDR" becomes the name cell.
struct ArpCase {
    const char* what;
    int exitStatus;
    const char* output;
    const char* cell;
};

class ArpOutcome : public WalkTest, public ::testing::WithParamInterface<ArpCase> {};

TEST_P(ArpOutcome, GivesTheNameCell) {
    knownMac("0:11:22:33:44:55", "laptop");
    knownMac("0:11:22:33:44:55", "second laptop");
    knownMac("0:11:22:ab:cd:ef", "desktop");
    const ArpCase& c = GetParam();
    shell.answer(arp("192.168.0.100"), c.exitStatus, c.output);
    walk(100, 0);
    ASSERT_EQ(window.rows().size(), 1u);
    EXPECT_EQ(window.rows()[0].second, QString::fromUtf8(c.cell));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ArpOutcome,
    ::testing::Values(
        ArpCase{"status 1 is silent", 1, "192.168.0.100 (192.168.0.100) -- no entry\n", ""},
        ArpCase{"status 2", 2, "usage", "error. (2)"},
        ArpCase{"status -1: not started", -1, "", "error. (-1)"},
        ArpCase{"status 127: no arp", 127, "sh: 1: arp: not found\n", "error. (127)"},
        ArpCase{"no entry with status 0", 0, "192.168.0.100 (192.168.0.100) -- no entry\n",
                "no entry."},
        ArpCase{"incomplete", 0, "? (192.168.0.100) at (incomplete) on en0 [ethernet]\n",
                "incomplete."},
        ArpCase{"no entry wins over incomplete", 0, "incomplete -- no entry", "no entry."},
        ArpCase{"macOS line, named MAC, first entry wins", 0,
                "? (192.168.0.100) at 0:11:22:33:44:55 on en0 ifscope [ethernet]\n", "laptop"},
        ArpCase{"our stand-in's line, unnamed MAC", 0,
                "? (192.168.0.100) at 2:0:c0:a8:0:64 on eth0 [ethernet]\n", "2:0:c0:a8:0:64"},
        ArpCase{"MAC in another case still matches", 0, "? (x) at 0:11:22:AB:cd:EF on en0\n",
                "desktop"},
        ArpCase{"a second at cuts the MAC", 0, "? (x) at 1:2:3:4:5:6 at 7 on en0\n", "1:2:3:4:5:6"},
        ArpCase{"no on: the rest, trimmed", 0, "? (x) at  1:2:3:4:5:6 \r\n", "1:2:3:4:5:6"},
        ArpCase{"no at: empty", 0, "nothing to see\n", ""}, ArpCase{"empty output", 0, "", ""}),
    [](const ::testing::TestParamInfo<ArpCase>& info) {
        QString name = QString::fromUtf8(info.param.what);
        for (QChar& ch : name) {
            if (!ch.isLetterOrNumber()) {
                ch = '_';
            }
        }
        return name.toStdString();
    });

// A host file's zone goes into shell commands: its text must reach the shell as one word.
TEST_F(WalkTest, ZoneWithShellSyntaxNeverRunsACommand) {
    TempWorkingDir dir;
    const QString marker = dir.filePath("pwned");
    Global1::gIPLocalZone = "1;touch " + marker + ";.2.3.";
    walk(4, 0);

    const QStringList commands = shell.commands();
    ASSERT_EQ(commands.size(), 2);
    QDir stubs(dir.path());
    stubs.mkdir("stubs");
    for (const char* name : {"ping", "arp"}) {
        QFile stub(dir.filePath(QString("stubs/") + name));
        ASSERT_TRUE(stub.open(QIODevice::WriteOnly));
        stub.write("#!/bin/sh\nexit 0\n");
        stub.close();
        stub.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    }
    for (const QString& command : commands) {
        QProcess sh;
        QProcessEnvironment env;
        env.insert("PATH", dir.filePath("stubs") + ":/usr/bin:/bin");
        sh.setProcessEnvironment(env);
        sh.start("/bin/sh", {"-c", command});
        ASSERT_TRUE(sh.waitForFinished());
        EXPECT_EQ(sh.exitCode(), 0) << command.toStdString();
    }
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(commands[0], "ping -c 1 -t 1 '1;touch " + marker + ";.2.3.4'");
}

}  // namespace
