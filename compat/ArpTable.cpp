#include "compat/ArpTable.h"

#include <algorithm>
#include <charconv>

namespace compat {

namespace {

constexpr unsigned kAtfComplete = 0x02;

std::vector<std::string_view> SplitBlanks(std::string_view line) {
    std::vector<std::string_view> fields;
    std::size_t pos = 0;
    while (pos < line.size()) {
        pos = line.find_first_not_of(" \t\r", pos);
        if (pos == std::string_view::npos) {
            break;
        }
        const std::size_t end = std::min(line.find_first_of(" \t\r", pos), line.size());
        fields.push_back(line.substr(pos, end - pos));
        pos = end;
    }
    return fields;
}

// "0x" followed by hex digits that fit an unsigned.
std::optional<unsigned> ParseHexNumber(std::string_view text) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) {
        return std::nullopt;
    }
    const char* first = text.data() + 2;
    const char* last = text.data() + text.size();
    unsigned value = 0;
    const auto [end, error] = std::from_chars(first, last, value, 16);
    if (error != std::errc{} || end != last) {
        return std::nullopt;
    }
    return value;
}

// IP address, HW type, Flags, HW address, Mask, Device. The kernel leaves the hardware address
// blank for interfaces without one, so such a row has five fields.
std::optional<ArpEntry> ParseRow(std::string_view line) {
    const auto fields = SplitBlanks(line);
    if (fields.size() != 5 && fields.size() != 6) {
        return std::nullopt;
    }
    const auto address = ParseIpv4(fields[0]);
    const auto hwType = ParseHexNumber(fields[1]);
    const auto flags = ParseHexNumber(fields[2]);
    if (!address || !hwType || !flags) {
        return std::nullopt;
    }
    ArpEntry entry;
    entry.address = *address;
    entry.flags = *flags;
    if (fields.size() == 6) {
        entry.mac = ParseMac(fields[3]);
    }
    entry.device = std::string(fields.back());
    return entry;
}

}  // namespace

bool ArpEntry::Complete() const {
    return (flags & kAtfComplete) != 0 && mac.has_value();
}

ArpTable ArpTable::Parse(std::string_view text) {
    ArpTable table;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        const std::string_view line = text.substr(0, newline);
        if (auto entry = ParseRow(line)) {
            table.mEntries.push_back(std::move(*entry));
        }
        text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    }
    return table;
}

const ArpEntry* ArpTable::Find(const Ipv4& address) const {
    const ArpEntry* first = nullptr;
    for (const ArpEntry& entry : mEntries) {
        if (entry.address != address) {
            continue;
        }
        if (entry.Complete()) {
            return &entry;
        }
        if (first == nullptr) {
            first = &entry;
        }
    }
    return first;
}

}  // namespace compat
