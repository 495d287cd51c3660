#pragma once
// A small LAN of network namespaces for tests that need real hosts, so that nothing a test sends
// leaves the machine. The hub's namespace holds the bridge br0, which carries the hub's address
// and MAC; every other host is a namespace of its own whose eth0 is a veth port of that bridge.
// Addresses must lie in 198.51.100.1-254 (prefix /24); Build refuses any other. No namespace has a
// route off the bridge.
//
// Building it needs root and iproute2's `ip`. A test that cannot build it skips, except in CI
// (CI=true), where it fails: there the network is part of what is tested.
//
// Use on one thread. Every namespace it made is removed when it is destroyed, however the test
// ends (also after a failed Build); names carry the process id, so parallel tests don't collide.

#include "tests/support/ProgramRun.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

struct TestHost {
    QString name;         // [a-z0-9], at most 8 characters: names the host in the calls below
    QString address;      // "198.51.100.10"
    QString mac;          // "02:00:00:00:00:0a"
    QStringList sysctls;  // "net.ipv4.icmp_echo_ignore_all=1", set in the host's namespace
};

class TestNetwork {
public:
    using Result = ProgramRun;

    TestNetwork();
    ~TestNetwork();
    TestNetwork(const TestNetwork&) = delete;
    TestNetwork& operator=(const TestNetwork&) = delete;

    // Why no network can be built here (not root, or `ip` or one of tools not on the PATH);
    // empty when it can.
    static QString MissingPrerequisite(const QStringList& tools = {});
    // Records why as a skip, or as a fatal failure in CI. Either ends SetUp's test before its
    // body; from a test body, return right after it.
    static void SkipOrFail(const QString& why);
    // A built network (hub and hosts as for Build), or null once SkipOrFail has recorded why
    // there is none: a missing prerequisite (tools as for MissingPrerequisite) or a failed step.
    static std::unique_ptr<TestNetwork> BuildOrSkip(const TestHost& hub,
                                                    const std::vector<TestHost>& hosts,
                                                    const QStringList& tools = {});

    // Builds the network, once: the hub with the bridge, then every host, then the sysctls of
    // each. Returns when the bridge forwards. False, with the failing steps in error, otherwise.
    bool Build(const TestHost& hub, const std::vector<TestHost>& hosts, QString& error);

    // The namespace of a host (empty for a name that is not in the network).
    QString Namespace(const QString& host) const;

    // Sets one "key=value" in the host's namespace.
    bool Sysctl(const QString& host, const QString& setting, QString& error) const;

    // The arguments for `ip` that run program in the host's namespace, as root or as nobody
    // (uid and gid 65534, no capabilities; needs setpriv). For a program that runs alongside the
    // test: QProcess::start("ip", CommandIn(...)). The program gets the environment of `ip`.
    QStringList CommandIn(const QString& host, const QString& program, const QStringList& args,
                          bool asNobody = false) const;

    // Runs program as root in the host's namespace, in workingDir (empty: ours), with our
    // environment (add to it with program "env", args "NAME=value", real program, its args),
    // to its end. timeoutMs guards against a hang; it is no measure of speed.
    Result RunIn(const QString& host, const QString& program, const QStringList& args,
                 const QString& workingDir = {}, int timeoutMs = 120000) const;
    // The same as nobody (see CommandIn); workingDir must be open to nobody.
    Result RunAsNobodyIn(const QString& host, const QString& program, const QStringList& args,
                         const QString& workingDir = {}, int timeoutMs = 120000) const;

private:
    bool AddNamespace(const QString& host, QString& error);
    bool AddPort(const TestHost& hub, const TestHost& host, QString& error);
    bool WaitForCarrier(const TestHost& hub, QString& error) const;
    bool Ip(const QString& host, const QStringList& args, QString& error) const;

    QString mPrefix;
    QStringList mHosts;       // in the order they were made
    QStringList mNamespaces;  // parallel to mHosts
};
