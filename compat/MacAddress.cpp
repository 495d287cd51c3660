#include "compat/MacAddress.h"

namespace compat {

namespace {

constexpr std::size_t kMaxMacBytes = 32;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::optional<std::uint8_t> ParseHexByte(std::string_view field) {
    if (field.empty() || field.size() > 2) {
        return std::nullopt;
    }
    int value = 0;
    for (char c : field) {
        const int digit = HexDigit(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + digit;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<MacBytes> ParseMac(std::string_view text) {
    MacBytes bytes;
    while (true) {
        if (bytes.size() == kMaxMacBytes) {
            return std::nullopt;
        }
        const std::size_t colon = text.find(':');
        const auto byte = ParseHexByte(text.substr(0, colon));
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(*byte);
        if (colon == std::string_view::npos) {
            return bytes;
        }
        text.remove_prefix(colon + 1);
    }
}

std::string FormatMac(const MacBytes& bytes) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (i > 0) {
            text += ':';
        }
        if (bytes[i] >= 0x10) {
            text += kDigits[bytes[i] >> 4];
        }
        text += kDigits[bytes[i] & 0x0f];
    }
    return text;
}

}  // namespace compat
