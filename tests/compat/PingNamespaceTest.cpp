// Our ping and arp against real hosts: a small network in namespaces of its own, so that nothing
// leaves the machine. Needs root to build it; skipped without, except in CI (CI=true).
//
//   client namespace: br0 198.51.100.1/24 (02:00:00:00:00:01)
//     veth -> namespace "a": 198.51.100.10 (02:00:00:00:00:0a), answers echo requests
//     veth -> namespace "b": 198.51.100.11 (02:00:00:00:00:0b), net.ipv4.icmp_echo_ignore_all=1
//   198.51.100.99 is nobody.
#include "tests/support/ProgramRun.h"
#include "tests/support/TestNetwork.h"

#include <gtest/gtest.h>
#include <QElapsedTimer>
#include <QProcess>
#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>
#include <vector>

namespace {

const QString kArp = QStringLiteral(VQ_ARP_BINARY);
const QString kPing = QStringLiteral(VQ_PING_BINARY);

// The client and its two hosts; the client holds the bridge.
const TestHost kClient{"c", "198.51.100.1", "02:00:00:00:00:01", {}};
const std::vector<TestHost> kHosts{
    {"a", "198.51.100.10", "02:00:00:00:00:0a", {}},
    {"b", "198.51.100.11", "02:00:00:00:00:0b", {"net.ipv4.icmp_echo_ignore_all=1"}},
};

// How the client's ping gets to send: as root with a raw socket, or as nobody with a ping
// socket, or as nobody with neither (the UDP probe).
enum class Probe { Raw, PingSocket, Udp };

struct ProbeCase {
    Probe probe;
    const char* address;
    int pingExit;
    const char* arpLine;  // nullptr: arp must find the address unresolved
};

std::ostream& operator<<(std::ostream& out, const ProbeCase& c) {
    const char* probe = c.probe == Probe::Raw          ? "raw"
                        : c.probe == Probe::PingSocket ? "ping"
                                                       : "udp";
    return out << probe << " " << c.address;
}

const char* const kHostA = "? (198.51.100.10) at 2:0:0:0:0:a on br0 [ethernet]\n";
const char* const kHostB = "? (198.51.100.11) at 2:0:0:0:0:b on br0 [ethernet]\n";

class NetworkTest : public ::testing::Test {
protected:
    void SetUp() override { mNetwork = TestNetwork::BuildOrSkip(kClient, kHosts, {"setpriv"}); }

    void TearDown() override { mNetwork.reset(); }

    // Who may open which ICMP socket in the client namespace.
    bool AllowPingSockets(bool allow, QString& error) {
        return mNetwork->Sysctl(
            "c", allow ? "net.ipv4.ping_group_range=0 2147483647" : "net.ipv4.ping_group_range=1 0",
            error);
    }

    // Runs program in the client namespace, as root or as nobody (without capabilities).
    ProgramRun InClient(const QString& program, const QStringList& args, bool asNobody) const {
        return asNobody ? mNetwork->RunAsNobodyIn("c", program, args)
                        : mNetwork->RunIn("c", program, args);
    }

    // Runs "ping -c count -t seconds address" with the probe's socket kind.
    ProgramRun Ping(Probe probe, const QString& address, int count = 1, int seconds = 1) {
        QString error;
        EXPECT_TRUE(AllowPingSockets(probe == Probe::PingSocket, error)) << error.toStdString();
        const ProgramRun run =
            InClient(kPing, {"-c", QString::number(count), "-t", QString::number(seconds), address},
                     probe != Probe::Raw);
        // The UDP probe says so; that tells whether the intended socket was the one used.
        EXPECT_EQ(run.out.contains("UDP probe"), probe == Probe::Udp)
            << run.out.toStdString() << run.err.toStdString();
        return run;
    }

    std::unique_ptr<TestNetwork> mNetwork;
};

class ProbeTest : public NetworkTest, public ::testing::WithParamInterface<ProbeCase> {};

TEST_P(ProbeTest, PingExitsAsTheHostAnswersAndArpShowsWhatTheKernelLearnt) {
    const ProbeCase& c = GetParam();
    QElapsedTimer clock;
    clock.start();
    const ProgramRun ping = Ping(c.probe, c.address);
    EXPECT_EQ(ping.exitCode, c.pingExit) << ping.out.toStdString() << ping.err.toStdString();
    // "-t 1" ends it after about a second, answer or none; a scan pays this for every silent
    // address. The bound only tells that from a wait of many seconds.
    EXPECT_LT(clock.elapsed(), 5000) << "ping -c 1 -t 1 took " << clock.elapsed() << " ms";

    const ProgramRun arp = InClient(kArp, {"-n", c.address}, false);
    if (c.arpLine != nullptr) {
        EXPECT_EQ(arp.exitCode, 0);
        EXPECT_EQ(arp.out, c.arpLine);
    } else {
        const QString address = c.address;
        const QString incomplete = "? (" + address + ") at (incomplete) on br0 [ethernet]\n";
        const QString noEntry = address + " (" + address + ") -- no entry\n";
        EXPECT_TRUE((arp.exitCode == 0 && arp.out == incomplete) ||
                    (arp.exitCode == 1 && arp.out == noEntry))
            << arp.exitCode << ": " << arp.out.toStdString();
    }
    EXPECT_EQ(arp.err, "");
}

// The host that ignores echo requests still refuses UDP port 9, which is an answer too.
INSTANTIATE_TEST_SUITE_P(EveryProbe, ProbeTest,
                         ::testing::Values(ProbeCase{Probe::Raw, "198.51.100.10", 0, kHostA},
                                           ProbeCase{Probe::Raw, "198.51.100.11", 2, kHostB},
                                           ProbeCase{Probe::Raw, "198.51.100.99", 2, nullptr},
                                           ProbeCase{Probe::PingSocket, "198.51.100.10", 0, kHostA},
                                           ProbeCase{Probe::PingSocket, "198.51.100.11", 2, kHostB},
                                           ProbeCase{Probe::PingSocket, "198.51.100.99", 2,
                                                     nullptr},
                                           ProbeCase{Probe::Udp, "198.51.100.10", 0, kHostA},
                                           ProbeCase{Probe::Udp, "198.51.100.11", 0, kHostB},
                                           ProbeCase{Probe::Udp, "198.51.100.99", 2, nullptr}),
                         [](const ::testing::TestParamInfo<ProbeCase>& info) {
                             std::ostringstream name;
                             name << info.param;
                             std::string text = name.str();
                             std::replace_if(
                                 text.begin(), text.end(),
                                 [](unsigned char c) { return std::isalnum(c) == 0; }, '_');
                             return text;
                         });

TEST_F(NetworkTest, EveryRequestOfACountIsAnsweredOnce) {
    for (const Probe probe : {Probe::Raw, Probe::PingSocket}) {
        const ProgramRun run = Ping(probe, "198.51.100.10", 3, 10);
        EXPECT_EQ(run.exitCode, 0);
        EXPECT_TRUE(run.out.contains("3 packets transmitted, 3 packets received, 0.0% packet loss"))
            << run.out.toStdString();
        for (const char* sequence : {"icmp_seq=0 ", "icmp_seq=1 ", "icmp_seq=2 "}) {
            EXPECT_EQ(run.out.count(sequence), 1) << sequence << "\n" << run.out.toStdString();
        }
    }
}

// A raw socket sees every ICMP message that arrives, the replies to another ping included. A ping
// of the silent host, running while another one pings the answering host, must not take those.
TEST_F(NetworkTest, RepliesToAnotherPingDoNotCount) {
    QString error;
    ASSERT_TRUE(AllowPingSockets(false, error)) << error.toStdString();
    QProcess answered;
    QProcess silent;
    answered.start("ip", mNetwork->CommandIn("c", kPing, {"-c", "4", "-t", "4", "198.51.100.10"}));
    silent.start("ip", mNetwork->CommandIn("c", kPing, {"-c", "3", "-t", "3", "198.51.100.11"}));
    ASSERT_TRUE(answered.waitForFinished(60000));
    ASSERT_TRUE(silent.waitForFinished(60000));
    const QString silentOut = QString::fromUtf8(silent.readAllStandardOutput());
    EXPECT_EQ(answered.exitCode(), 0);
    EXPECT_EQ(silent.exitCode(), 2) << silentOut.toStdString();
    EXPECT_TRUE(silentOut.contains("3 packets transmitted, 0 packets received"))
        << silentOut.toStdString();
}

}  // namespace
