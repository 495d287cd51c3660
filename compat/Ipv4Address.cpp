#include "compat/Ipv4Address.h"

namespace compat {

namespace {

// One octet field: 1..3 digits, no leading zero unless the field is "0", value at most 255.
std::optional<std::uint8_t> ParseOctet(std::string_view field) {
    if (field.empty() || field.size() > 3) {
        return std::nullopt;
    }
    if (field.size() > 1 && field.front() == '0') {
        return std::nullopt;
    }
    unsigned value = 0;
    for (char c : field) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(c - '0');
    }
    if (value > 255) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace

std::optional<Ipv4> ParseIpv4(std::string_view text) {
    Ipv4 address{};
    for (std::size_t i = 0; i < address.size(); ++i) {
        const std::size_t dot = text.find('.');
        const bool last = i + 1 == address.size();
        if (last != (dot == std::string_view::npos)) {
            return std::nullopt;  // too few or too many dots
        }
        const auto octet = ParseOctet(text.substr(0, dot));
        if (!octet) {
            return std::nullopt;
        }
        address[i] = *octet;
        text = last ? std::string_view{} : text.substr(dot + 1);
    }
    return address;
}

std::string FormatIpv4(const Ipv4& address) {
    std::string text;
    for (std::size_t i = 0; i < address.size(); ++i) {
        if (i > 0) {
            text += '.';
        }
        text += std::to_string(address[i]);
    }
    return text;
}

}  // namespace compat
