// The own interface: MAC texts in arp's form, the seam, and the shape of the platform's answer.
#include "framework/NetworkInterface.h"
#include "tests/framework/QStringPrinter.h"

#include <gtest/gtest.h>
#include <QHostAddress>
#include <QRegularExpression>

namespace {

TEST(ArpStyleMacTest, LowerCaseWithoutLeadingZeros) {
    struct Case {
        QString hardware, arp;
    };
    const Case cases[] = {
        {"00:11:22:33:44:55", "0:11:22:33:44:55"},
        {"0A:0b:C0:00:FF:10", "a:b:c0:0:ff:10"},
        {"00:00:00:00:00:00", "0:0:0:0:0:0"},
        {"0:1a:b:c:d:e", "0:1a:b:c:d:e"},
        {"", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(fw::ArpStyleMac(c.hardware), c.arp) << c.hardware.toStdString();
    }
}

TEST(NetworkInterfaceTest, TheSeamAnswersForIndexMinusOneWhileItLives) {
    const fw::NetworkInterface before = fw::System::GetNetworkInterface(-1);
    {
        const fw::ScopedNetworkInterface outer({"198.51.100.5", "0:11:22:33:44:55"});
        {
            const fw::ScopedNetworkInterface inner({"198.51.100.6", "0:aa:bb:cc:dd:ee"});
            EXPECT_EQ(fw::System::GetNetworkInterface(-1).IPAddress, "198.51.100.6");
        }
        const fw::NetworkInterface own = fw::System::GetNetworkInterface(-1);
        EXPECT_EQ(own.IPAddress, "198.51.100.5");
        EXPECT_EQ(own.MACAddress, "0:11:22:33:44:55");
        EXPECT_EQ(fw::System::GetNetworkInterface(0).IPAddress, "");
    }
    EXPECT_EQ(fw::System::GetNetworkInterface(-1).IPAddress, before.IPAddress);
}

TEST(NetworkInterfaceTest, ThePlatformGivesAnIPv4AddressAndAnArpStyleMacOrNothing) {
    const fw::NetworkInterface own = fw::System::GetNetworkInterface(-1);
    if (own.IPAddress.isEmpty()) {
        EXPECT_EQ(own.MACAddress, "");
        return;
    }
    const QHostAddress address(own.IPAddress);
    EXPECT_EQ(address.protocol(), QAbstractSocket::IPv4Protocol) << own.IPAddress.toStdString();
    EXPECT_FALSE(address.isLoopback());
    EXPECT_EQ(address.toString(), own.IPAddress) << "dotted decimal";
    const QRegularExpression arpMac("^([0-9a-f]{1,2}:){5}[0-9a-f]{1,2}$|^$");
    EXPECT_TRUE(arpMac.match(own.MACAddress).hasMatch()) << own.MACAddress.toStdString();
    EXPECT_EQ(fw::System::GetNetworkInterface(3).IPAddress, "");
}

}  // namespace
