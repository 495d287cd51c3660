#include "compat/IcmpEcho.h"

#include <algorithm>

namespace compat {

namespace {

constexpr std::uint8_t kEchoReply = 0;
constexpr std::uint8_t kEchoRequest = 8;
constexpr std::uint8_t kProtocolIcmp = 1;
constexpr std::size_t kMinIpHeader = 20;

std::uint16_t ReadBigEndian16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>((bytes[at] << 8) | bytes[at + 1]);
}

void WriteBigEndian16(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint16_t value) {
    bytes[at] = static_cast<std::uint8_t>(value >> 8);
    bytes[at + 1] = static_cast<std::uint8_t>(value & 0xff);
}

std::uint8_t DataByte(std::size_t i) {
    return static_cast<std::uint8_t>(i);
}

}  // namespace

std::uint16_t InternetChecksum(std::span<const std::uint8_t> bytes) {
    std::uint32_t sum = 0;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        sum += ReadBigEndian16(bytes, i);
    }
    if (bytes.size() % 2 != 0) {
        sum += static_cast<std::uint32_t>(bytes.back()) << 8;
    }
    while ((sum >> 16) != 0) {
        sum = (sum & 0xffff) + (sum >> 16);
    }
    return static_cast<std::uint16_t>(~sum & 0xffff);
}

std::vector<std::uint8_t> BuildEchoRequest(std::uint16_t id, std::uint16_t sequence) {
    std::vector<std::uint8_t> message(kIcmpHeaderSize + kEchoDataSize, 0);
    message[0] = kEchoRequest;
    WriteBigEndian16(message, 4, id);
    WriteBigEndian16(message, 6, sequence);
    for (std::size_t i = 0; i < kEchoDataSize; ++i) {
        message[kIcmpHeaderSize + i] = DataByte(i);
    }
    WriteBigEndian16(message, 2, InternetChecksum(message));
    return message;
}

std::optional<EchoReply> MatchEchoReply(std::span<const std::uint8_t> packet, IcmpFraming framing,
                                        const Ipv4& sender, const Ipv4& target, std::uint16_t id) {
    if (sender != target) {
        return std::nullopt;
    }
    EchoReply reply;
    if (framing == IcmpFraming::WithIpHeader) {
        if (packet.size() < kMinIpHeader || (packet[0] >> 4) != 4) {
            return std::nullopt;
        }
        const std::size_t headerSize = static_cast<std::size_t>(packet[0] & 0x0f) * 4;
        if (headerSize < kMinIpHeader || packet.size() < headerSize || packet[9] != kProtocolIcmp ||
            !std::equal(target.begin(), target.end(), packet.begin() + 12)) {
            return std::nullopt;
        }
        reply.ttl = packet[8];
        packet = packet.subspan(headerSize);
    }
    if (packet.size() != kIcmpHeaderSize + kEchoDataSize || packet[0] != kEchoReply ||
        packet[1] != 0 || InternetChecksum(packet) != 0 || ReadBigEndian16(packet, 4) != id) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < kEchoDataSize; ++i) {
        if (packet[kIcmpHeaderSize + i] != DataByte(i)) {
            return std::nullopt;
        }
    }
    reply.sequence = ReadBigEndian16(packet, 6);
    reply.icmpBytes = packet.size();
    return reply;
}

}  // namespace compat
