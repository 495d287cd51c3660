#include "bench/KnownHosts.h"

#include "framework/Arrays.h"
#include "scan/Global1.h"

namespace KnownHosts {

void Clear() {
    Global1::InitializeGlobals();
    Global1::gIPLocalZone.clear();
    Global1::gIPLocalStart.clear();
}

void FillLarge(int entries, const QString& lastAddress, const QString& lastMac) {
    Clear();
    Global1::gIPLocalZone = kZone;
    if (entries <= 0) {
        return;
    }
    for (int i = 0; i < entries - 1; ++i) {
        const int a = (i >> 16) & 255;
        const int b = (i >> 8) & 255;
        const int c = i & 255;
        fw::Append(Global1::gIPAddress, QStringLiteral("10.%1.%2.%3").arg(a).arg(b).arg(c));
        fw::Append(Global1::gMachineNameI, QStringLiteral("host-%1").arg(i));
        fw::Append(Global1::gMacAddress,
                   QStringLiteral("0:11:%1:%2:%3:2a").arg(a, 0, 16).arg(b, 0, 16).arg(c, 0, 16));
        fw::Append(Global1::gMachineNameM, QStringLiteral("machine-%1").arg(i));
    }
    fw::Append(Global1::gIPAddress,
               lastAddress.isEmpty() ? QStringLiteral("10.255.255.255") : lastAddress);
    fw::Append(Global1::gMachineNameI, QStringLiteral("the last host"));
    fw::Append(Global1::gMacAddress,
               lastMac.isEmpty() ? QStringLiteral("0:11:ff:ff:ff:2a") : lastMac);
    fw::Append(Global1::gMachineNameM, QStringLiteral("the last machine"));
}

}  // namespace KnownHosts
