#pragma once
// The network interface query of the framework. Safe on any thread.

#include <QString>
#include <functional>

namespace fw {

struct NetworkInterface {
    QString IPAddress;   // dotted decimal
    QString MACAddress;  // as arp prints it: lower-case hex, no leading zero in a byte
};

// Hardware address in arp's form: "00:1A:0b:..." gives "0:1a:b:...".
QString ArpStyleMac(const QString& hardwareAddress);

namespace System {
// Index -1: the first interface that is up, running, not loopback and has an IPv4 address.
// Both texts are empty when there is none (or for any other index).
NetworkInterface GetNetworkInterface(int index);
}  // namespace System

// Test seam: replaces the query process-wide while it lives. Not used by the program.
class ScopedNetworkInterface {
public:
    explicit ScopedNetworkInterface(NetworkInterface own);
    ~ScopedNetworkInterface();
    ScopedNetworkInterface(const ScopedNetworkInterface&) = delete;
    ScopedNetworkInterface& operator=(const ScopedNetworkInterface&) = delete;

private:
    std::function<NetworkInterface()> mPrevious;
};

}  // namespace fw
