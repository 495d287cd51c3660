#include "framework/NetworkInterface.h"

#include <QHostAddress>
#include <QNetworkAddressEntry>
#include <QNetworkInterface>
#include <QStringList>

#include <mutex>
#include <utility>

namespace fw {

namespace {

std::mutex gQueryMutex;
std::function<NetworkInterface()> gQuery;  // empty: ask the platform

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
    std::function<NetworkInterface()> query;
    {
        std::lock_guard lock(gQueryMutex);
        query = gQuery;
    }
    return query ? query() : QueryPlatform();
}
}  // namespace System

ScopedNetworkInterface::ScopedNetworkInterface(NetworkInterface own) {
    std::lock_guard lock(gQueryMutex);
    mPrevious = std::exchange(gQuery, [own = std::move(own)] { return own; });
}

ScopedNetworkInterface::~ScopedNetworkInterface() {
    std::lock_guard lock(gQueryMutex);
    gQuery = std::move(mPrevious);
}

}  // namespace fw
