#pragma once
// The network interface query of the framework. Safe on any thread.

#include "framework/ScopedOverride.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <optional>

namespace fw {

struct NetworkInterface {
    QString IPAddress;   // dotted decimal
    QString MACAddress;  // as arp prints it: lower-case hex, no leading zero in a byte
};

// What the choice of the own interface looks at, of one interface of the platform.
struct InterfaceDescription {
    bool up = false;
    bool running = false;
    bool loopback = false;
    QList<QHostAddress> addresses;  // in the platform's order
    QString hardwareAddress;        // as the platform gives it
};

// The choice of index -1: the first interface that is up, running, not loopback and has an IPv4
// address, with its first IPv4 address and its hardware address in arp's form. Both texts are
// empty when no interface qualifies.
NetworkInterface ChooseOwnInterface(const QList<InterfaceDescription>& interfaces);

// Hardware address in arp's form: "00:1A:0b:..." gives "0:1a:b:...". The same form as our arp
// prints (compat::FormatMac); ArpStyleMacTest holds the two to one table of cases.
QString ArpStyleMac(const QString& hardwareAddress);

namespace System {
// Index -1: ChooseOwnInterface over the platform's interfaces. Both texts are empty for any
// other index.
NetworkInterface GetNetworkInterface(int index);
}  // namespace System

// Test seam: replaces the query process-wide while it lives. Not used by the program.
class ScopedNetworkInterface : ScopedOverride<std::optional<NetworkInterface>> {
public:
    explicit ScopedNetworkInterface(NetworkInterface own);
};

}  // namespace fw
