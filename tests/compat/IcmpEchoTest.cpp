// Echo requests as our ping sends them, and which received packets it takes for their replies.
#include "compat/IcmpEcho.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

using compat::BuildEchoRequest;
using compat::IcmpFraming;
using compat::InternetChecksum;
using compat::Ipv4;
using compat::MatchEchoReply;
using Bytes = std::vector<std::uint8_t>;

namespace {

const Ipv4 kTarget{198, 51, 100, 10};
const Ipv4 kOther{198, 51, 100, 11};
constexpr std::uint16_t kId = 0x1234;

void SetChecksum(Bytes& icmp) {
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = InternetChecksum(icmp);
    icmp[2] = static_cast<std::uint8_t>(sum >> 8);
    icmp[3] = static_cast<std::uint8_t>(sum & 0xff);
}

// What the target sends back for our request: the same message as type 0.
Bytes EchoReplyFor(std::uint16_t id, std::uint16_t sequence) {
    Bytes icmp = BuildEchoRequest(id, sequence);
    icmp[0] = 0;
    SetChecksum(icmp);
    return icmp;
}

// A raw socket's view: the IPv4 header first (as captured from a Linux host, TTL 64).
Bytes WithIpHeader(const Bytes& icmp, const Ipv4& source = kTarget, std::uint8_t protocol = 1) {
    const auto total = static_cast<std::uint16_t>(20 + icmp.size());
    Bytes packet = {0x45,
                    0x00,
                    static_cast<std::uint8_t>(total >> 8),
                    static_cast<std::uint8_t>(total & 0xff),
                    0x3c,
                    0x1d,
                    0x00,
                    0x00,
                    64,
                    protocol,
                    0x00,
                    0x00,
                    source[0],
                    source[1],
                    source[2],
                    source[3],
                    198,
                    51,
                    100,
                    1};
    // Appended byte by byte: gcc 12 misreads a vector insert here as out of bounds.
    std::copy(icmp.begin(), icmp.end(), std::back_inserter(packet));
    return packet;
}

// bytes with one fault put in by change.
template <typename Change>
Bytes Changed(Bytes bytes, Change change) {
    change(bytes);
    return bytes;
}

}  // namespace

TEST(InternetChecksum, MatchesKnownSums) {
    // RFC 1071's example words sum to 0xddf2.
    EXPECT_EQ(InternetChecksum(Bytes{0x00, 0x01, 0xf2, 0x03, 0xf4, 0xf5, 0xf6, 0xf7}), 0x220d);
    EXPECT_EQ(InternetChecksum(Bytes{}), 0xffff);
    EXPECT_EQ(InternetChecksum(Bytes{0xff, 0xff}), 0x0000);
    EXPECT_EQ(InternetChecksum(Bytes{0x01}), 0xfeff);  // an odd last byte is the high half
    EXPECT_EQ(InternetChecksum(Bytes{0x01, 0x02, 0x03}), static_cast<std::uint16_t>(~0x0402));
}

TEST(EchoRequest, CarriesIdSequenceDataAndAValidChecksum) {
    const Bytes request = BuildEchoRequest(0xbeef, 0x0102);
    ASSERT_EQ(request.size(), 64u);
    EXPECT_EQ(request[0], 8);  // echo request
    EXPECT_EQ(request[1], 0);
    EXPECT_EQ(request[4], 0xbe);
    EXPECT_EQ(request[5], 0xef);
    EXPECT_EQ(request[6], 0x01);
    EXPECT_EQ(request[7], 0x02);
    EXPECT_EQ(InternetChecksum(request), 0);
    EXPECT_NE(BuildEchoRequest(0xbeef, 0x0103), request);
}

TEST(EchoReply, IsTakenFromEitherKindOfSocket) {
    const Bytes icmp = EchoReplyFor(kId, 3);
    const auto viaPingSocket = MatchEchoReply(icmp, IcmpFraming::IcmpOnly, kTarget, kTarget, kId);
    ASSERT_TRUE(viaPingSocket);
    EXPECT_EQ(viaPingSocket->sequence, 3);
    EXPECT_EQ(viaPingSocket->ttl, -1);
    EXPECT_EQ(viaPingSocket->icmpBytes, 64u);

    const auto viaRawSocket =
        MatchEchoReply(WithIpHeader(icmp), IcmpFraming::WithIpHeader, kTarget, kTarget, kId);
    ASSERT_TRUE(viaRawSocket);
    EXPECT_EQ(viaRawSocket->sequence, 3);
    EXPECT_EQ(viaRawSocket->ttl, 64);
}

TEST(EchoReply, AnIpHeaderWithOptionsIsSkipped) {
    Bytes packet = WithIpHeader(EchoReplyFor(kId, 1));
    packet[0] = 0x46;
    packet.insert(packet.begin() + 20, {0x01, 0x01, 0x01, 0x00});  // NOP NOP NOP EOL
    const auto reply = MatchEchoReply(packet, IcmpFraming::WithIpHeader, kTarget, kTarget, kId);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->sequence, 1);
}

TEST(EchoReply, RefusesWhatIsNotTheTargetsAnswerToUs) {
    const Bytes good = EchoReplyFor(kId, 0);
    auto changed = [&](auto change) { return Changed(good, change); };
    struct Case {
        const char* fault;
        Bytes icmp;
    };
    const Case cases[] = {
        {"another program's id", EchoReplyFor(kId + 1, 0)},
        {"our own request, looped back", BuildEchoRequest(kId, 0)},
        {"a destination unreachable quoting our request", changed([](Bytes& b) {
             b[0] = 3;
             b[1] = 1;
             SetChecksum(b);
         })},
        {"a code other than 0", changed([](Bytes& b) {
             b[1] = 1;
             SetChecksum(b);
         })},
        {"a corrupted checksum", changed([](Bytes& b) { b[2] ^= 0x01; })},
        {"corrupted data", changed([](Bytes& b) {
             b[20] ^= 0xff;
             SetChecksum(b);
         })},
        {"truncated data", changed([](Bytes& b) {
             b.resize(40);
             SetChecksum(b);
         })},
        {"extra data", changed([](Bytes& b) {
             b.push_back(0);
             b.push_back(0);
             SetChecksum(b);
         })},
        {"a header only", changed([](Bytes& b) { b.resize(8); })},
        {"a few bytes", Bytes{0, 0, 0}},
        {"nothing", Bytes{}},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(MatchEchoReply(c.icmp, IcmpFraming::IcmpOnly, kTarget, kTarget, kId))
            << c.fault;
        EXPECT_FALSE(
            MatchEchoReply(WithIpHeader(c.icmp), IcmpFraming::WithIpHeader, kTarget, kTarget, kId))
            << c.fault;
    }
}

TEST(EchoReply, RefusesAnswersFromAnotherHost) {
    const Bytes icmp = EchoReplyFor(kId, 0);
    EXPECT_FALSE(MatchEchoReply(icmp, IcmpFraming::IcmpOnly, kOther, kTarget, kId));
    EXPECT_FALSE(MatchEchoReply(WithIpHeader(icmp, kOther), IcmpFraming::WithIpHeader, kOther,
                                kTarget, kId));
    // The socket's sender and the header's source must both be the target.
    EXPECT_FALSE(MatchEchoReply(WithIpHeader(icmp, kOther), IcmpFraming::WithIpHeader, kTarget,
                                kTarget, kId));
    EXPECT_FALSE(
        MatchEchoReply(WithIpHeader(icmp), IcmpFraming::WithIpHeader, kOther, kTarget, kId));
}

TEST(EchoReply, RefusesBrokenIpHeaders) {
    const Bytes packet = WithIpHeader(EchoReplyFor(kId, 0));
    auto changed = [&](auto change) { return Changed(packet, change); };
    struct Case {
        const char* fault;
        Bytes packet;
    };
    const Case cases[] = {
        {"IPv6 version", changed([](Bytes& b) { b[0] = 0x65; })},
        {"header length below 20", changed([](Bytes& b) { b[0] = 0x44; })},
        {"header length past the packet", changed([](Bytes& b) {
             b[0] = 0x4f;
             b.resize(40);
         })},
        {"UDP, not ICMP", WithIpHeader(EchoReplyFor(kId, 0), kTarget, 17)},
        {"half a header", changed([](Bytes& b) { b.resize(12); })},
        {"the bare ICMP message", EchoReplyFor(kId, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(MatchEchoReply(c.packet, IcmpFraming::WithIpHeader, kTarget, kTarget, kId))
            << c.fault;
    }
}
