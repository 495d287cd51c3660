#pragma once
// Dotted-quad IPv4 addresses as our host-command stand-ins read them from their command line.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace compat {

// First octet first, as on the wire.
using Ipv4 = std::array<std::uint8_t, 4>;

// Exactly four decimal octets 0..255 separated by dots, and nothing else: no blanks, signs, empty
// fields or leading zeros (other tools read those as octal, so they would name another host).
std::optional<Ipv4> ParseIpv4(std::string_view text);

std::string FormatIpv4(const Ipv4& address);

}  // namespace compat
