#pragma once
// Hardware addresses: the kernel's text in the neighbour table, and the form our arp prints.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compat {

using MacBytes = std::vector<std::uint8_t>;

// 1..32 bytes of one or two hex digits each (either case), separated by single colons, as the
// kernel writes them ("00:11:22:aa:bb:cc"). nullopt for anything else, the empty text included.
std::optional<MacBytes> ParseMac(std::string_view text);

// Lower-case hex, each byte without its leading zero, colons between: "0:11:22:aa:bb:c": the BSD
// form, which the scan reads and users write in the host file. The framework's own interface
// text (fw::ArpStyleMac) is held to it by one table of cases in ArpStyleMacTest.
std::string FormatMac(const MacBytes& bytes);

}  // namespace compat
