// The recogniser of our ping's echo replies on raw received bytes. Input: one byte of flags (bit
// 0: the packet carries its IP header; bit 1: it came from another host than the target), two
// bytes of echo id (big-endian), then the packet. A packet taken for a reply must be exactly the
// target's answer to one of our requests.
#include "compat/IcmpEcho.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>

namespace {

using Bytes = std::vector<std::uint8_t>;
using compat::IcmpFraming;

const compat::Ipv4 kTarget{198, 51, 100, 10};
const compat::Ipv4 kOther{198, 51, 100, 11};

void StoreChecksum(Bytes& icmp) {
    icmp[2] = icmp[3] = 0;
    const std::uint16_t sum = compat::InternetChecksum(icmp);
    icmp[2] = static_cast<std::uint8_t>(sum >> 8);
    icmp[3] = static_cast<std::uint8_t>(sum & 0xff);
}

// The target's answer to our request: the request as type 0.
Bytes ReplyTo(std::uint16_t id, std::uint16_t sequence) {
    Bytes icmp = compat::BuildEchoRequest(id, sequence);
    icmp[0] = 0;
    StoreChecksum(icmp);
    return icmp;
}

// A checksum stored behind the bytes it covers makes the whole sum to zero.
void CheckChecksum(std::span<const std::uint8_t> bytes) {
    Bytes covered(bytes.begin(), bytes.end());
    if (covered.size() % 2 != 0) {
        covered.push_back(0);
    }
    const std::uint16_t sum = compat::InternetChecksum(covered);
    covered.push_back(static_cast<std::uint8_t>(sum >> 8));
    covered.push_back(static_cast<std::uint8_t>(sum & 0xff));
    FUZZ_CHECK(compat::InternetChecksum(covered) == 0);
}

void CheckAccepted(std::span<const std::uint8_t> packet, IcmpFraming framing, std::uint16_t id,
                   const compat::EchoReply& reply) {
    std::span<const std::uint8_t> icmp = packet;
    if (framing == IcmpFraming::WithIpHeader) {
        FUZZ_CHECK(packet.size() >= 20 && packet[0] >> 4 == 4 && packet[9] == 1);
        const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0f) * 4;
        FUZZ_CHECK(headerSize >= 20 && headerSize <= packet.size());
        FUZZ_CHECK(std::equal(kTarget.begin(), kTarget.end(), packet.begin() + 12));
        FUZZ_CHECK(reply.ttl == packet[8]);
        icmp = packet.subspan(headerSize);
    } else {
        FUZZ_CHECK(reply.ttl == -1);
    }
    FUZZ_CHECK(reply.icmpBytes == icmp.size());
    FUZZ_CHECK(compat::InternetChecksum(icmp) == 0);
    // Everything but the checksum, which has two valid forms of zero, is our reply's.
    const Bytes expected = ReplyTo(id, reply.sequence);
    FUZZ_CHECK(icmp.size() == expected.size());
    FUZZ_CHECK(std::equal(icmp.begin(), icmp.begin() + 2, expected.begin()));
    FUZZ_CHECK(std::equal(icmp.begin() + 4, icmp.end(), expected.begin() + 4));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    const IcmpFraming framing =
        (data[0] & 1) != 0 ? IcmpFraming::WithIpHeader : IcmpFraming::IcmpOnly;
    const compat::Ipv4& sender = (data[0] & 2) != 0 ? kOther : kTarget;
    const auto id = static_cast<std::uint16_t>((data[1] << 8) | data[2]);
    const std::span<const std::uint8_t> packet(data + 3, size - 3);

    if (const auto reply = compat::MatchEchoReply(packet, framing, sender, kTarget, id)) {
        FUZZ_CHECK(sender == kTarget);
        CheckAccepted(packet, framing, id, *reply);
    }
    CheckChecksum(packet);

    // Our own reply for this id, with the packet's first bytes as sequence, is always taken.
    const auto sequence = static_cast<std::uint16_t>(size >= 5 ? (data[3] << 8) | data[4] : 0);
    const auto own =
        compat::MatchEchoReply(ReplyTo(id, sequence), IcmpFraming::IcmpOnly, kTarget, kTarget, id);
    FUZZ_CHECK(own && own->sequence == sequence && own->ttl == -1);
    return 0;
}
