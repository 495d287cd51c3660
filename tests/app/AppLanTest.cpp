// The whole program on a real LAN of network namespaces of the test's own: started in a folder
// that holds the host file, inside the scanner's namespace, it scans with our ping and arp as a
// user starts it, and its export holds exactly the rows of the walk. Needs root to build the
// network; skipped without, except in CI (CI=true).
//
//   scanner namespace: br0 198.51.100.100/24 (02:00:00:00:00:1A), where the program runs
//     198.51.100.101 (..:0b)  named in the host file by its address
//     198.51.100.102 (..:0c)  named in the host file by its MAC
//     198.51.100.103 (..:0d)  not named
//   198.51.100.104 is nobody.
#include "tests/support/TestNetwork.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

namespace {

const QString kDriver = QStringLiteral(VQ_APP_DRIVER);

const TestHost kScanner{"scanner", "198.51.100.100", "02:00:00:00:00:1A", {}};
const std::vector<TestHost> kHosts{
    {"named", "198.51.100.101", "02:00:00:00:00:0b", {}},
    {"bymac", "198.51.100.102", "02:00:00:00:00:0c", {}},
    {"plain", "198.51.100.103", "02:00:00:00:00:0d", {}},
};

// Its first address line gives the zone and the first octet, 100.
const char kHostFile[] =
    "// the test LAN\n"
    "198.51.100.100\tnever shown\n"
    "198.51.100.101\t事務所のプリンタ\n"
    "2:0:0:0:0:c\tlaptop\n"
    "2:0:0:0:0:1a\tthis machine\n";

TEST(WholeProgramOnALan, ScansFromTheToolbarAndExportsTheRowsToTheDesktop) {
    const std::unique_ptr<TestNetwork> network = TestNetwork::BuildOrSkip(kScanner, kHosts);
    if (network == nullptr) {
        return;
    }
    QTemporaryDir folder;  // where the program starts
    QTemporaryDir home;
    ASSERT_TRUE(folder.isValid() && home.isValid());
    QFile hostFile(folder.filePath("info.txt"));
    ASSERT_TRUE(hostFile.open(QIODevice::WriteOnly));
    ASSERT_EQ(hostFile.write(kHostFile), qint64(sizeof kHostFile - 1));
    hostFile.close();
    ASSERT_TRUE(QDir(home.path()).mkdir("Desktop"));

    // Four addresses after the first, typed into the scan count as a user would.
    const TestNetwork::Result run =
        network->RunIn("scanner", "env",
                       {"HOME=" + home.path(), "XDG_CONFIG_HOME=" + home.filePath(".config"),
                        "QT_QPA_PLATFORM=offscreen", kDriver, "walk", "4"},
                       folder.path());
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();

    QFile result(home.filePath("Desktop/IPresult.txt"));
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(result.readAll()).toStdString(),
              "198.51.100.100\tthis machine\n"      // own address: the name of the interface's MAC
              "198.51.100.101\t事務所のプリンタ\n"  // named by address
              "198.51.100.102\tlaptop\n"            // named by MAC
              "198.51.100.103\t2:0:0:0:0:d\n"       // unnamed: the MAC as arp prints it
              "198.51.100.104\tincomplete.\n");     // nobody answers
}

}  // namespace
