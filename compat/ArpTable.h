#pragma once
// The kernel's IPv4 neighbour table as /proc/net/arp shows it.

#include "compat/Ipv4Address.h"
#include "compat/MacAddress.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compat {

struct ArpEntry {
    Ipv4 address{};
    unsigned flags = 0;           // the kernel's ATF_* bits
    std::optional<MacBytes> mac;  // absent when the row's hardware address is empty or unreadable
    std::string device;           // interface name

    // Resolved: the kernel marks it complete (ATF_COM) and the row carries a hardware address.
    bool Complete() const;
};

class ArpTable {
public:
    // Reads the text of /proc/net/arp. The header line and every line that is not a well-formed
    // row are skipped; no content makes it fail.
    static ArpTable Parse(std::string_view text);

    // The row for address: the first complete one when the address has rows on several
    // interfaces, else the first one; nullptr when there is none. Valid while the table lives.
    const ArpEntry* Find(const Ipv4& address) const;

    const std::vector<ArpEntry>& Entries() const { return mEntries; }

private:
    std::vector<ArpEntry> mEntries;
};

}  // namespace compat
