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
    const QList<QNetworkInterface> interfaces = QNetworkInterface::allInterfaces();
    for (const QNetworkInterface& candidate : interfaces) {
        const auto flags = candidate.flags();
        if (!flags.testFlag(QNetworkInterface::IsUp) ||
            !flags.testFlag(QNetworkInterface::IsRunning) ||
            flags.testFlag(QNetworkInterface::IsLoopBack)) {
            continue;
        }
        const QList<QNetworkAddressEntry> entries = candidate.addressEntries();
        for (const QNetworkAddressEntry& entry : entries) {
            if (entry.ip().protocol() == QAbstractSocket::IPv4Protocol) {
                return {entry.ip().toString(), ArpStyleMac(candidate.hardwareAddress())};
            }
        }
    }
    return {};
}

}  // namespace

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
