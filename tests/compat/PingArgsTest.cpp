// The command line of our ping: what it runs, and what it refuses with which verdict.
#include "compat/PingArgs.h"

#include <gtest/gtest.h>

using compat::ParsePingArgs;
using compat::PingArgs;
using Verdict = compat::PingArgs::Verdict;

namespace {

std::string Shown(const std::vector<std::string>& args) {
    std::string shown;
    for (const std::string& arg : args) {
        shown += "[" + arg + "]";
    }
    return shown;
}

}  // namespace

TEST(PingArgs, ReadsCountSecondsAndAddressInAnyOrder) {
    struct Case {
        std::vector<std::string> args;
        int count;
        int seconds;
    };
    const Case cases[] = {
        {{"-c", "1", "-t", "1", "198.51.100.7"}, 1, 1},
        {{"-t", "5", "-c", "3", "198.51.100.7"}, 3, 5},
        {{"198.51.100.7", "-c", "2", "-t", "4"}, 2, 4},
        {{"-c2", "-t4", "198.51.100.7"}, 2, 4},
        {{"-c", "1", "-c", "7", "-t", "1", "198.51.100.7"}, 7, 1},
        {{"-c", "007", "-t", "1", "198.51.100.7"}, 7, 1},
        {{"-c", "65535", "-t", "3600", "198.51.100.7"}, 65535, 3600},
        {{"198.51.100.7"}, 1, 10},
        {{"-c", "1", "-t", "1", "--", "198.51.100.7"}, 1, 1},
    };
    for (const Case& c : cases) {
        const PingArgs parsed = ParsePingArgs(c.args);
        ASSERT_EQ(parsed.verdict, Verdict::Run) << Shown(c.args) << ": " << parsed.message;
        EXPECT_EQ(parsed.count, c.count) << Shown(c.args);
        EXPECT_EQ(parsed.seconds, c.seconds) << Shown(c.args);
        EXPECT_EQ(parsed.address, (compat::Ipv4{198, 51, 100, 7})) << Shown(c.args);
    }
}

TEST(PingArgs, RefusesMissingBadAndExtraWordsAsUsage) {
    struct Case {
        std::vector<std::string> args;
        const char* problem;  // the first line of the message
    };
    const Case cases[] = {
        {{"-c", "1", "-t", "1"}, "ping: no address given\n"},
        {{}, "ping: no address given\n"},
        {{"-c", "1", "-t", "1", "198.51.100.7", "198.51.100.8"},
         "ping: more than one address given\n"},
        {{"-c", "1", "-t", "1", "198.51.100.7", "extra"}, "ping: more than one address given\n"},
        {{"198.51.100.7", "-c"}, "ping: option requires an argument -- c\n"},
        {{"198.51.100.7", "-t"}, "ping: option requires an argument -- t\n"},
        {{"-c", "x", "198.51.100.7"}, "ping: invalid count of packets to transmit: x\n"},
        {{"-c", "0", "198.51.100.7"}, "ping: invalid count of packets to transmit: 0\n"},
        {{"-c", "-1", "198.51.100.7"}, "ping: invalid count of packets to transmit: -1\n"},
        {{"-c", "+1", "198.51.100.7"}, "ping: invalid count of packets to transmit: +1\n"},
        {{"-c", "1.5", "198.51.100.7"}, "ping: invalid count of packets to transmit: 1.5\n"},
        {{"-c", "65536", "198.51.100.7"}, "ping: invalid count of packets to transmit: 65536\n"},
        {{"-c", "99999999999999999999", "198.51.100.7"},
         "ping: invalid count of packets to transmit: 99999999999999999999\n"},
        {{"-c", "", "198.51.100.7"}, "ping: invalid count of packets to transmit: \n"},
        {{"-t", "0", "198.51.100.7"}, "ping: invalid timeout: 0\n"},
        {{"-t", "1s", "198.51.100.7"}, "ping: invalid timeout: 1s\n"},
        {{"-t", "3601", "198.51.100.7"}, "ping: invalid timeout: 3601\n"},
        {{"-W", "1", "198.51.100.7"}, "ping: illegal option -- W\n"},
        {{"-ct", "1", "198.51.100.7"}, "ping: invalid count of packets to transmit: t\n"},
    };
    for (const Case& c : cases) {
        const PingArgs parsed = ParsePingArgs(c.args);
        EXPECT_EQ(parsed.verdict, Verdict::Usage) << Shown(c.args);
        EXPECT_EQ(parsed.message,
                  std::string(c.problem) + "usage: ping [-c count] [-t seconds] address\n")
            << Shown(c.args);
    }
}

TEST(PingArgs, AnAddressItCannotReadIsAnUnknownHost) {
    for (const char* address : {"198.51.100.300", "198.51.100.256", "abc", "", "-", "198.51.100"}) {
        const PingArgs parsed = ParsePingArgs({"-c", "1", "-t", "1", address});
        EXPECT_EQ(parsed.verdict, Verdict::UnknownHost) << address;
        EXPECT_EQ(parsed.message,
                  "ping: cannot resolve " + std::string(address) + ": Unknown host\n");
    }
}

TEST(PingArgs, AUsageErrorWinsOverAnUnknownHost) {
    EXPECT_EQ(ParsePingArgs({"-c", "x", "abc"}).verdict, Verdict::Usage);
    EXPECT_EQ(ParsePingArgs({"abc", "def"}).verdict, Verdict::Usage);
}
