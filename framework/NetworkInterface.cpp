#include "framework/NetworkInterface.h"

#include <QHostAddress>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QStringList>

#include <utility>

namespace fw {

namespace {

Seam<std::optional<NetworkInterface>> gOwn;  // none: ask the platform

NetworkInterface QueryPlatform() {
    QList<InterfaceDescription> descriptions;
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& candidate : interfaces) {
        const auto flags = candidate.flags();
        InterfaceDescription description;
        description.up = flags.testFlag(QNetworkInterface::IsUp);
        description.running = flags.testFlag(QNetworkInterface::IsRunning);
        description.loopback = flags.testFlag(QNetworkInterface::IsLoopBack);
        const QList<QNetworkAddressEntry> entries = candidate.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            description.addresses.append(entry.ip());
        }
        description.hardwareAddress = candidate.hardwareAddress();
        descriptions.append(description);
    }
    return ChooseOwnInterface(descriptions);
}

}  // namespace

NetworkInterface ChooseOwnInterface(const QList<InterfaceDescription>& interfaces) {
    for (const InterfaceDescription& candidate : interfaces) {
        if (!candidate.up || !candidate.running || candidate.loopback) {
            continue;
        }
        for (const QHostAddress& address : candidate.addresses) {
            if (address.protocol() == QAbstractSocket::IPv4Protocol) {
                return {address.toString(), ArpStyleMac(candidate.hardwareAddress)};
            }
        }
    }
    return {};
}

QString ArpStyleMac(const QString& hardwareAddress) {
    QStringList bytes = hardwareAddress.toLower().split(u':');
    for (QString& byte : bytes) {
        qsizetype zeros = 0;
        while (zeros + 1 < byte.size() && byte[zeros] == u'0') {
            ++zeros;
        }
        byte.remove(0, zeros);
    }
    return bytes.join(u':');
}

namespace System {
NetworkInterface GetNetworkInterface(int index) {
    if (index != -1) {
        return {};
    }
    std::optional<NetworkInterface> own = gOwn.Get();
    return own ? std::move(*own) : QueryPlatform();
}
}  // namespace System

ScopedNetworkInterface::ScopedNetworkInterface(NetworkInterface own)
    : ScopedOverride(gOwn, std::move(own)) {}

}  // namespace fw
