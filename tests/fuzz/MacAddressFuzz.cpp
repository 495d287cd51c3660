// MAC texts: the kernel's text as our arp reads it, and the form it prints. What the reader
// accepts is the printed form up to letter case and leading zeros; every printed form reads back
// as the bytes it came from.
#include "compat/MacAddress.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>
#include <cctype>

namespace {

// The printed form of a text that the reader took: lower case, no leading zero in a byte.
std::string Canonical(std::string_view text) {
    std::string canonical;
    bool fieldStart = true;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
        if (c == ':') {
            canonical += c;
            fieldStart = true;
            continue;
        }
        const bool lastOfField = i + 1 == text.size() || text[i + 1] == ':';
        if (fieldStart && c == '0' && !lastOfField) {
            continue;
        }
        canonical += c;
        fieldStart = false;
    }
    return canonical;
}

void CheckPrintedForm(const std::string& text, std::size_t bytes) {
    FUZZ_CHECK(text.find_first_not_of("0123456789abcdef:") == std::string::npos);
    std::size_t colons = 0;
    std::size_t field = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i == text.size() || text[i] == ':') {
            FUZZ_CHECK(field >= 1 && field <= 2);
            FUZZ_CHECK(field == 1 || text[i - 2] != '0');
            colons += i < text.size() ? 1 : 0;
            field = 0;
        } else {
            ++field;
        }
    }
    FUZZ_CHECK(colons + 1 == bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::Text(data, size);
    if (const auto mac = compat::ParseMac(text)) {
        FUZZ_CHECK(!mac->empty() && mac->size() <= 32);
        const std::string printed = compat::FormatMac(*mac);
        FUZZ_CHECK(printed == Canonical(text));
        FUZZ_CHECK(compat::ParseMac(printed) == mac);
    }

    // The input's first bytes as a hardware address.
    if (size >= 1) {
        const compat::MacBytes bytes(data, data + std::min<std::size_t>(size, 32));
        const std::string printed = compat::FormatMac(bytes);
        CheckPrintedForm(printed, bytes.size());
        FUZZ_CHECK(compat::ParseMac(printed) == bytes);
    }
    return 0;
}
