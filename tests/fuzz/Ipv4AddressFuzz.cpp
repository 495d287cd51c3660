// The dotted-quad reader of both commands: what it accepts is exactly the canonical text of the
// address it returns, and every address's canonical text reads back as that address.
#include "compat/Ipv4Address.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    if (const auto address = compat::ParseIpv4(text)) {
        FUZZ_CHECK(compat::FormatIpv4(*address) == text);
        FUZZ_CHECK(std::count(text.begin(), text.end(), '.') == 3);
        FUZZ_CHECK(text.find_first_not_of("0123456789.") == std::string_view::npos);
    }

    if (size >= 4) {
        compat::Ipv4 address{};
        std::memcpy(address.data(), data, address.size());
        const std::string formatted = compat::FormatIpv4(address);
        FUZZ_CHECK(compat::ParseIpv4(formatted) == address);
    }
    return 0;
}
