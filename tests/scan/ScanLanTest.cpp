// The walk on a real LAN: the real shell runs our ping and arp against hosts in network
// namespaces of the test's own, and the real interface query gives the scanner's own address.
// The walk runs as root, and as an unprivileged user with and without ICMP sockets: the same
// rows. Needs root to build the network; skipped without, except in CI (CI=true).
//
//   scanner namespace: br0 198.51.100.1/24 (02:00:00:00:00:1A), where the walk runs
//     198.51.100.2 (..:0b)  named in the host file by its address
//     198.51.100.3 (..:0c)  named in the host file by its MAC
//     198.51.100.4 (..:0d)  not named (its address is the host file's first address line)
//     198.51.100.5 (..:0e)  net.ipv4.icmp_echo_ignore_all=1
//   198.51.100.6 is nobody.
#include "tests/support/TestNetwork.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using ::testing::ElementsAreArray;

namespace {

const QString kDriver = QStringLiteral(VQ_SCAN_LAN_DRIVER);
const QString kArp = QStringLiteral(VQ_ARP_BINARY);

const TestHost kScanner{"scanner", "198.51.100.1", "02:00:00:00:00:1A", {}};
const std::vector<TestHost> kHosts{
    {"named", "198.51.100.2", "02:00:00:00:00:0b", {}},
    {"bymac", "198.51.100.3", "02:00:00:00:00:0c", {}},
    {"plain", "198.51.100.4", "02:00:00:00:00:0d", {}},
    {"silent", "198.51.100.5", "02:00:00:00:00:0e", {"net.ipv4.icmp_echo_ignore_all=1"}},
};

// The first address line only sets the zone: its name never shows, and its host is unnamed.
// MAC keys are written as arp prints them; the scanner's own is upper-case on the interface.
const char kHostFile[] =
    "// the test LAN\n"
    "198.51.100.4\tnever shown\n"
    "198.51.100.2\t事務所のプリンタ\n"
    "2:0:0:0:0:c\tlaptop\n"
    "2:0:0:0:0:1a\tthis machine\n";

// Who runs the walk: root (a raw socket for ping), or an unprivileged user whom the scanner's
// net.ipv4.ping_group_range admits to ICMP sockets, or one it does not (ping's UDP probe).
struct Walker {
    const char* name;
    bool asNobody;
    const char* pingGroupRange;  // null: as it is
};

void PrintTo(const Walker& w, std::ostream* out) {
    *out << w.name;
}

class RealLanWalk : public ::testing::TestWithParam<Walker> {
protected:
    void SetUp() override {
        mNetwork = TestNetwork::BuildOrSkip(kScanner, kHosts, {"sysctl", "setpriv"});
        if (mNetwork == nullptr) {
            return;
        }
        ASSERT_TRUE(mFolder.isValid());
        QFile file(mFolder.filePath("info.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(kHostFile), qint64(sizeof kHostFile - 1));
        file.close();
        // Readable by the unprivileged walker too.
        const auto readable =
            QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
        ASSERT_TRUE(file.setPermissions(readable));
        ASSERT_TRUE(QFile::setPermissions(
            mFolder.path(), readable | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
        if (GetParam().pingGroupRange != nullptr) {
            QString error;
            ASSERT_TRUE(mNetwork->Sysctl(
                "scanner", QString("net.ipv4.ping_group_range=") + GetParam().pingGroupRange,
                error))
                << error.toStdString();
        }
    }

    // The driver's rows for last octets first .. first + count, walked in the scanner namespace.
    std::vector<std::string> Walk(int first, int count) {
        const QStringList args{QString::number(first), QString::number(count)};
        const TestNetwork::Result run =
            GetParam().asNobody ? mNetwork->RunAsNobodyIn("scanner", kDriver, args, mFolder.path())
                                : mNetwork->RunIn("scanner", kDriver, args, mFolder.path());
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        std::vector<std::string> rows;
        for (const QString& line : run.out.split('\n', Qt::SkipEmptyParts)) {
            rows.push_back(line.toStdString());
        }
        return rows;
    }

    QTemporaryDir mFolder;
    std::unique_ptr<TestNetwork> mNetwork;
};

TEST_P(RealLanWalk, NamesEveryKindOfAddressFromTheHostFileOrWhatArpLearnt) {
    const std::vector<std::string> rows = Walk(1, 5);

    const std::vector<std::string> expected{
        "198.51.100.1\tthis machine",      // own address: the name of the interface's MAC
        "198.51.100.2\t事務所のプリンタ",  // named by address
        "198.51.100.3\tlaptop",            // named by MAC
        "198.51.100.4\t2:0:0:0:0:d",       // unnamed: the MAC as arp prints it
        "198.51.100.5\t2:0:0:0:0:e",       // ignores ping, but answered arp's question
        "198.51.100.6\tincomplete.",       // nobody answers
    };
    EXPECT_THAT(rows, ElementsAreArray(expected));

    // A host named by its address is never probed, so the scanner never learnt its MAC.
    const TestNetwork::Result arp = mNetwork->RunIn("scanner", kArp, {"-n", "198.51.100.2"});
    EXPECT_EQ(arp.exitCode, 1) << arp.out.toStdString();
    EXPECT_EQ(arp.out.toStdString(), "198.51.100.2 (198.51.100.2) -- no entry\n");
}

INSTANTIATE_TEST_SUITE_P(As, RealLanWalk,
                         ::testing::Values(Walker{"Root", false, nullptr},
                                           Walker{"NobodyWithPingSockets", true, "0 2147483647"},
                                           Walker{"NobodyWithUdpProbes", true, "1 0"}),
                         [](const ::testing::TestParamInfo<Walker>& info) {
                             return std::string(info.param.name);
                         });

// The network itself: it must never reach beyond the test range, and must leave nothing behind.
TEST(TestNetworkGuard, RefusesAnAddressOutsideTheTestRange) {
    for (const char* address : {"192.168.0.5", "198.51.100.0", "198.51.100.255", "198.51.1000.1"}) {
        TestNetwork network;
        QString error;
        EXPECT_FALSE(network.Build(kScanner, {{"other", address, "02:00:00:00:00:0f", {}}}, error))
            << address;
        EXPECT_TRUE(error.contains(address)) << error.toStdString();
        EXPECT_TRUE(network.Namespace("scanner").isEmpty()) << address;
    }
}

struct BuildCase {
    const char* name;
    const char* mac;  // of the one host
    bool builds;
};

void PrintTo(const BuildCase& c, std::ostream* out) {
    *out << c.name << " (" << c.mac << ")";
}

class TestNetworkCleanup : public ::testing::TestWithParam<BuildCase> {};

TEST_P(TestNetworkCleanup, RemovesEveryNamespaceItMade) {
    const QString missing = TestNetwork::MissingPrerequisite();
    if (!missing.isEmpty()) {
        TestNetwork::SkipOrFail(missing);
        return;
    }
    QStringList made;
    {
        TestNetwork network;
        QString error;
        EXPECT_EQ(network.Build(kScanner, {{"host", "198.51.100.2", GetParam().mac, {}}}, error),
                  GetParam().builds)
            << error.toStdString();
        made << network.Namespace("scanner") << network.Namespace("host");
        for (const QString& name : made) {
            ASSERT_TRUE(QFile::exists("/run/netns/" + name)) << name.toStdString();
        }
    }
    for (const QString& name : made) {
        EXPECT_FALSE(QFile::exists("/run/netns/" + name)) << name.toStdString();
    }
}

// A MAC that ip refuses fails the build after both namespaces exist.
INSTANTIATE_TEST_SUITE_P(AfterEveryBuild, TestNetworkCleanup,
                         ::testing::Values(BuildCase{"built", "02:00:00:00:00:02", true},
                                           BuildCase{"failed", "not-a-mac", false}),
                         [](const ::testing::TestParamInfo<BuildCase>& info) {
                             return std::string(info.param.name);
                         });

}  // namespace
