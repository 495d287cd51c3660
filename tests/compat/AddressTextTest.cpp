// The address texts both commands read from their command line, and the MAC text arp prints.
#include "compat/Ipv4Address.h"
#include "compat/MacAddress.h"

#include <gtest/gtest.h>

using compat::FormatIpv4;
using compat::FormatMac;
using compat::Ipv4;
using compat::MacBytes;
using compat::ParseIpv4;
using compat::ParseMac;

TEST(Ipv4Text, ReadsOnlyCanonicalDottedQuads) {
    struct Case {
        const char* text;
        std::optional<Ipv4> expected;
    };
    const Case cases[] = {
        {"198.51.100.7", Ipv4{198, 51, 100, 7}},
        {"0.0.0.0", Ipv4{0, 0, 0, 0}},
        {"255.255.255.255", Ipv4{255, 255, 255, 255}},
        {"198.51.100.256", std::nullopt},
        {"198.51.100.300", std::nullopt},
        {"198.51.100.-1", std::nullopt},
        {"198.51.100.+1", std::nullopt},
        {"198.51.100.07", std::nullopt},  // octal to inet_aton: not the host that it reads as
        {"198.51.100.0x1", std::nullopt},
        {"198.51.100", std::nullopt},
        {"198.51.100.7.1", std::nullopt},
        {"198.51.100.", std::nullopt},
        {".198.51.100", std::nullopt},
        {"198..51.100", std::nullopt},
        {"198.51.100.1000", std::nullopt},
        {"198.51.100.7 ", std::nullopt},
        {" 198.51.100.7", std::nullopt},
        {"198.51.100.7\n", std::nullopt},
        {"abc", std::nullopt},
        {"", std::nullopt},
        {"3325256711", std::nullopt},  // inet_aton's single number
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIpv4(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(Ipv4Text, FormatsWhatItReads) {
    for (const char* text : {"198.51.100.7", "0.0.0.0", "10.0.255.1", "255.255.255.255"}) {
        const auto address = ParseIpv4(text);
        ASSERT_TRUE(address) << text;
        EXPECT_EQ(FormatIpv4(*address), text);
    }
}

TEST(MacText, FormatsLowerCaseWithoutLeadingZeros) {
    struct Case {
        MacBytes bytes;
        const char* expected;
    };
    const Case cases[] = {
        {{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}, "0:11:22:33:44:55"},
        {{0x02, 0x00, 0x00, 0x00, 0x00, 0x0a}, "2:0:0:0:0:a"},
        {{0xab, 0xcd, 0xef, 0x0f, 0xf0, 0x10}, "ab:cd:ef:f:f0:10"},
        {{0xff, 0xff, 0xff, 0xff, 0xff, 0xff}, "ff:ff:ff:ff:ff:ff"},
        {{0x00}, "0"},
        {{}, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatMac(c.bytes), c.expected);
    }
}

TEST(MacText, ReadsTheKernelsHardwareAddressText) {
    struct Case {
        const char* text;
        std::optional<MacBytes> expected;
    };
    const Case cases[] = {
        {"00:11:22:33:44:55", MacBytes{0x00, 0x11, 0x22, 0x33, 0x44, 0x55}},
        {"AA:bb:Cc:0D:e:F", MacBytes{0xaa, 0xbb, 0xcc, 0x0d, 0x0e, 0x0f}},
        {"00:11:22:33:44:55:66:77:88", MacBytes{0, 0x11, 0x22, 0x33, 0x44, 0x55, 0x66, 0x77, 0x88}},
        {"", std::nullopt},
        {"00:11:22:33:44:", std::nullopt},
        {":00:11:22:33:44", std::nullopt},
        {"00::11:22:33:44", std::nullopt},
        {"000:11:22:33:44:55", std::nullopt},
        {"00-11-22-33-44-55", std::nullopt},
        {"00:11:22:33:44:5g", std::nullopt},
        {"00:11:22:33:44:55 ", std::nullopt},
        {"*", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseMac(c.text), c.expected) << '"' << c.text << '"';
    }
}

TEST(MacText, RefusesAnAbsurdlyLongAddress) {
    std::string text = "00";
    for (int i = 1; i < 32; ++i) {
        text += ":00";
    }
    EXPECT_EQ(ParseMac(text)->size(), 32u);
    EXPECT_EQ(ParseMac(text + ":00"), std::nullopt);
}
