#pragma once
// ICMP echo messages: building our requests and recognising the replies to them.

#include "compat/Ipv4Address.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace compat {

constexpr std::size_t kIcmpHeaderSize = 8;
constexpr std::size_t kEchoDataSize = 56;

// The Internet checksum (RFC 1071) of bytes, to be stored big-endian. Over a message whose
// checksum field is already filled in it gives 0.
std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes);

// An echo request (type 8) with id, sequence, our fixed data and its checksum.
std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t id, std::uint16_t sequence);

struct EchoReply {
    std::uint16_t sequence = 0;
    int ttl = -1;               // -1 when the packet did not carry its IP header
    std::size_t icmpBytes = 0;  // ICMP header and data
};

// How a socket hands over what it receives: raw sockets with the IP header, ping sockets
// (SOCK_DGRAM, IPPROTO_ICMP) without.
enum class IcmpFraming { WithIpHeader, IcmpOnly };

// packet as received from sender. Accepted only as the reply to one of our requests: an echo
// reply, code 0, from target (the socket's sender and the IP header's source), with a valid
// checksum, our id and exactly our data. The caller checks that the sequence was sent.
std::optional<EchoReply> MatchEchoReply(std::span<const std::uint8_t> packet, IcmpFraming framing,
                                        const Ipv4& sender, const Ipv4& target, std::uint16_t id);

}  // namespace compat
