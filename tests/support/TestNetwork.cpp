#include "tests/support/TestNetwork.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QThread>
#include <cerrno>

namespace {

const QString kPrefix = QStringLiteral("vqnet");
const QString kBridge = QStringLiteral("br0");

// How long a bridge port may take to forward after its link came up.
constexpr int kCarrierWaitMs = 10000;
constexpr int kCarrierPollMs = 20;

bool ProcessAlive(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno != ESRCH;
}

// A test process that was killed could not remove its namespaces; the next one does.
void RemoveLeftovers() {
    static const QRegularExpression ours("^" + kPrefix + "(\\d+)x\\d+-[a-z0-9]+$");
    const QStringList names = QDir(QStringLiteral("/run/netns")).entryList(QDir::Files);
    for (const QString& name : names) {
        const QRegularExpressionMatch match = ours.match(name);
        if (match.hasMatch() && !ProcessAlive(static_cast<pid_t>(match.captured(1).toLong()))) {
            RunProgram(QStringLiteral("ip"), {"netns", "del", name});
        }
    }
}

bool ValidName(const QString& name) {
    static const QRegularExpression valid("^[a-z0-9]{1,8}$");
    return valid.match(name).hasMatch();
}

// Only the documentation range: a test must never talk to a real network's addresses.
bool ValidAddress(const QString& address) {
    static const QRegularExpression valid("^198\\.51\\.100\\.(\\d{1,3})$");
    const QRegularExpressionMatch match = valid.match(address);
    const int last = match.captured(1).toInt();
    return match.hasMatch() && last >= 1 && last <= 254;
}

bool ValidHost(const TestHost& host, QString& error) {
    if (!ValidName(host.name)) {
        error += "bad host name: " + host.name;
        return false;
    }
    if (!ValidAddress(host.address)) {
        error += "address outside 198.51.100.1-254: " + host.address;
        return false;
    }
    return true;
}

}  // namespace

TestNetwork::TestNetwork() {
    static bool leftoversRemoved = false;
    if (!leftoversRemoved && ::geteuid() == 0) {
        RemoveLeftovers();
        leftoversRemoved = true;
    }
    static int made = 0;
    mPrefix = kPrefix + QStringLiteral("%1x%2-").arg(::getpid()).arg(++made);
}

TestNetwork::~TestNetwork() {
    for (const QString& name : mNamespaces) {
        RunProgram(QStringLiteral("ip"), {"netns", "del", name});
    }
}

QString TestNetwork::MissingPrerequisite(const QStringList& tools) {
    if (::geteuid() != 0) {
        return QStringLiteral("needs root to build network namespaces");
    }
    for (const QString& tool : QStringList{QStringLiteral("ip")} + tools) {
        if (QStandardPaths::findExecutable(tool).isEmpty()) {
            return "needs " + tool + " on the PATH";
        }
    }
    return {};
}

void TestNetwork::SkipOrFail(const QString& why) {
    if (qgetenv("CI") == "true") {
        FAIL() << why.toStdString();
    }
    GTEST_SKIP() << why.toStdString();
}

std::unique_ptr<TestNetwork> TestNetwork::BuildOrSkip(const TestHost& hub,
                                                      const std::vector<TestHost>& hosts,
                                                      const QStringList& tools) {
    const QString missing = MissingPrerequisite(tools);
    if (!missing.isEmpty()) {
        SkipOrFail(missing);
        return nullptr;
    }
    auto network = std::make_unique<TestNetwork>();
    QString error;
    if (!network->Build(hub, hosts, error)) {
        SkipOrFail("cannot build the test network: " + error);
        return nullptr;
    }
    return network;
}

bool TestNetwork::Build(const TestHost& hub, const std::vector<TestHost>& hosts, QString& error) {
    if (!mHosts.isEmpty()) {
        error += "the network is built already";
        return false;
    }
    if (!ValidHost(hub, error)) {
        return false;
    }
    QStringList names{hub.name};
    for (const TestHost& host : hosts) {
        if (!ValidHost(host, error)) {
            return false;
        }
        if (names.contains(host.name)) {
            error += "two hosts named " + host.name;
            return false;
        }
        names << host.name;
    }

    bool ok = AddNamespace(hub.name, error);
    for (const TestHost& host : hosts) {
        ok = ok && AddNamespace(host.name, error);
    }
    ok = ok &&
         Ip(hub.name,
            {"link", "add", kBridge, "address", hub.mac, "type", "bridge", "forward_delay", "0"},
            error) &&
         Ip(hub.name, {"addr", "add", hub.address + "/24", "dev", kBridge}, error) &&
         Ip(hub.name, {"link", "set", kBridge, "up"}, error);
    for (const TestHost& host : hosts) {
        ok = ok && AddPort(hub, host, error);
    }
    for (const QString& setting : hub.sysctls) {
        ok = ok && Sysctl(hub.name, setting, error);
    }
    for (const TestHost& host : hosts) {
        for (const QString& setting : host.sysctls) {
            ok = ok && Sysctl(host.name, setting, error);
        }
    }
    return ok && WaitForCarrier(hub, error);
}

QString TestNetwork::Namespace(const QString& host) const {
    const qsizetype index = mHosts.indexOf(host);
    return index < 0 ? QString() : mNamespaces[index];
}

bool TestNetwork::Sysctl(const QString& host, const QString& setting, QString& error) const {
    const Result run = RunProgram(QStringLiteral("ip"), CommandIn(host, "sysctl", {"-w", setting}));
    if (run.exitCode != 0) {
        error += "sysctl " + setting + " in " + host + ": " + run.err;
    }
    return run.exitCode == 0;
}

QStringList TestNetwork::CommandIn(const QString& host, const QString& program,
                                   const QStringList& args, bool asNobody) const {
    QStringList command{"netns", "exec", Namespace(host)};
    if (asNobody) {
        command << "setpriv"
                << "--reuid=65534"
                << "--regid=65534"
                << "--clear-groups"
                << "--";
    }
    return command << program << args;
}

TestNetwork::Result TestNetwork::RunIn(const QString& host, const QString& program,
                                       const QStringList& args, const QString& workingDir,
                                       int timeoutMs) const {
    return RunProgram(QStringLiteral("ip"), CommandIn(host, program, args), workingDir, timeoutMs);
}

TestNetwork::Result TestNetwork::RunAsNobodyIn(const QString& host, const QString& program,
                                               const QStringList& args, const QString& workingDir,
                                               int timeoutMs) const {
    return RunProgram(QStringLiteral("ip"), CommandIn(host, program, args, true), workingDir,
                      timeoutMs);
}

bool TestNetwork::AddNamespace(const QString& host, QString& error) {
    const QString name = mPrefix + host;
    const Result run = RunProgram(QStringLiteral("ip"), {"netns", "add", name});
    if (run.exitCode != 0) {
        error += "ip netns add " + name + ": " + run.err;
        return false;
    }
    mHosts << host;
    mNamespaces << name;
    return Ip(host, {"link", "set", "lo", "up"}, error);
}

bool TestNetwork::AddPort(const TestHost& hub, const TestHost& host, QString& error) {
    const QString port = "p" + host.name;
    return Ip(hub.name,
              {"link", "add", port, "type", "veth", "peer", "name", "eth0", "netns",
               Namespace(host.name)},
              error) &&
           Ip(hub.name, {"link", "set", port, "master", kBridge, "up"}, error) &&
           Ip(host.name, {"link", "set", "eth0", "address", host.mac}, error) &&
           Ip(host.name, {"addr", "add", host.address + "/24", "dev", "eth0"}, error) &&
           Ip(host.name, {"link", "set", "eth0", "up"}, error);
}

// Until then a probe's first packets may be dropped, and the hub's interface is not running.
bool TestNetwork::WaitForCarrier(const TestHost& hub, QString& error) const {
    for (int waited = 0;; waited += kCarrierPollMs) {
        const Result links =
            RunProgram(QStringLiteral("ip"), {"-n", Namespace(hub.name), "-d", "link"});
        const qsizetype forwarding =
            links.out.count(QStringLiteral("bridge_slave state forwarding"));
        const bool carrier = links.out.contains(QRegularExpression(
            "^\\d+: " + kBridge + ": <[^>]*LOWER_UP", QRegularExpression::MultilineOption));
        const qsizetype ports = mHosts.size() - 1;
        if (links.exitCode == 0 && (carrier || ports == 0) && forwarding == ports) {
            return true;
        }
        if (waited >= kCarrierWaitMs) {
            error += "the bridge does not forward on every port:\n" + links.out;
            return false;
        }
        QThread::msleep(kCarrierPollMs);
    }
}

bool TestNetwork::Ip(const QString& host, const QStringList& args, QString& error) const {
    const QString ns = Namespace(host);
    const Result run = RunProgram(QStringLiteral("ip"), QStringList{"-n", ns} + args);
    if (run.exitCode != 0) {
        error += "ip -n " + ns + " " + args.join(' ') + ": " + run.err;
    }
    return run.exitCode == 0;
}
