// The own interface: which one is chosen, MAC texts in arp's form, the seam, and the shape of the
// platform's answer.
#include "compat/MacAddress.h"
#include "framework/NetworkInterface.h"
#include "tests/framework/QStringPrinter.h"

#include <gtest/gtest.h>
#include <QHostAddress>
#include <QRegularExpression>
#include <optional>
#include <string>

namespace {

// The walk matches the own interface's MAC text against what our arp prints for the other
// hosts: the framework's form and our arp's must be the same, case for case.
TEST(ArpStyleMacTest, LowerCaseWithoutLeadingZeros) {
    struct Case {
        QString hardware, arp;
    };
    const Case cases[] = {
        {"00:11:22:33:44:55", "0:11:22:33:44:55"},
        {"0A:0b:C0:00:FF:10", "a:b:c0:0:ff:10"},
        {"00:00:00:00:00:00", "0:0:0:0:0:0"},
        {"0:1a:b:c:d:e", "0:1a:b:c:d:e"},
        {"FF:ff:Ff:fF:f0:0f", "ff:ff:ff:ff:f0:f"},
        {"02:00:00:00:00:0A", "2:0:0:0:0:a"},
        {"00:11:22:33:44:55:66:77:88", "0:11:22:33:44:55:66:77:88"},
        {"0", "0"},
        {"", ""},
    };
    for (const Case& c : cases) {
        const std::string hardware = c.hardware.toStdString();
        EXPECT_EQ(fw::ArpStyleMac(c.hardware), c.arp) << hardware;
        // The kernel's text of the same address, read and printed by our arp.
        const std::optional<compat::MacBytes> bytes = compat::ParseMac(hardware);
        if (c.hardware.isEmpty()) {
            EXPECT_EQ(bytes, std::nullopt) << "no address";
            continue;
        }
        ASSERT_TRUE(bytes) << hardware;
        EXPECT_EQ(compat::FormatMac(*bytes), c.arp.toStdString()) << hardware;
    }
}

TEST(NetworkInterfaceTest, TheFirstUpRunningNonLoopbackInterfaceWithIPv4IsChosen) {
    const QHostAddress lo("127.0.0.1"), v6("fe80::1"), a("198.51.100.5"), b("198.51.100.6");
    const auto up = [](QList<QHostAddress> addresses, QString mac) {
        return fw::InterfaceDescription{true, true, false, std::move(addresses), std::move(mac)};
    };
    const fw::InterfaceDescription loopback{true, true, true, {lo}, "00:00:00:00:00:00"};
    fw::InterfaceDescription notRunning = up({a}, "02:00:00:00:00:0A");
    notRunning.running = false;
    fw::InterfaceDescription down = up({a}, "02:00:00:00:00:0A");
    down.up = false;
    const fw::InterfaceDescription ipv6Only = up({v6}, "02:00:00:00:00:0C");
    const fw::InterfaceDescription noAddress = up({}, "02:00:00:00:00:0D");
    const fw::InterfaceDescription first = up({v6, a}, "02:00:00:00:00:01");
    const fw::InterfaceDescription second = up({b}, "02:00:00:00:00:02");

    struct Case {
        const char* what;
        QList<fw::InterfaceDescription> interfaces;
        fw::NetworkInterface chosen;
    };
    const Case cases[] = {
        {"none at all", {}, {}},
        {"loopback first", {loopback, second}, {"198.51.100.6", "2:0:0:0:0:2"}},
        {"only loopback", {loopback}, {}},
        {"up but not running", {notRunning, second}, {"198.51.100.6", "2:0:0:0:0:2"}},
        {"running but not up", {down}, {}},
        {"running without an address", {noAddress, second}, {"198.51.100.6", "2:0:0:0:0:2"}},
        {"IPv6 only", {ipv6Only}, {}},
        {"IPv4 after IPv6 on the same interface",
         {ipv6Only, first},
         {"198.51.100.5", "2:0:0:0:0:1"}},
        {"two candidates: the first wins", {first, second}, {"198.51.100.5", "2:0:0:0:0:1"}},
    };
    for (const Case& c : cases) {
        const fw::NetworkInterface chosen = fw::ChooseOwnInterface(c.interfaces);
        EXPECT_EQ(chosen.IPAddress, c.chosen.IPAddress) << c.what;
        EXPECT_EQ(chosen.MACAddress, c.chosen.MACAddress) << c.what;
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
