// The reader of /proc/net/arp on any text, and the line our arp prints for what it read: the
// scanner must read back from that line the MAC address of a complete row and "incomplete."
// for any other.
#include "compat/ArpCommand.h"
#include "compat/ArpTable.h"
#include "scan/ArpOutput.h"
#include "tests/fuzz/FuzzCheck.h"

#include <QString>

namespace {

void CheckEntry(const compat::ArpTable& table, const compat::ArpEntry& entry) {
    FUZZ_CHECK(!entry.device.empty());
    FUZZ_CHECK(entry.device.find_first_of(" \t\r\n") == std::string::npos);
    FUZZ_CHECK(!entry.Complete() || entry.mac.has_value());
    FUZZ_CHECK(!entry.mac || (!entry.mac->empty() && entry.mac->size() <= 32));

    const std::string address = compat::FormatIpv4(entry.address);
    FUZZ_CHECK(compat::ParseIpv4(address) == entry.address);

    // Find gives the first complete row of the address, else its first row.
    const compat::ArpEntry* found = table.Find(entry.address);
    FUZZ_CHECK(found != nullptr && found->address == entry.address);
    const compat::ArpEntry* firstRow = nullptr;
    const compat::ArpEntry* firstComplete = nullptr;
    for (const compat::ArpEntry& other : table.Entries()) {
        if (other.address != entry.address) {
            continue;
        }
        firstRow = firstRow != nullptr ? firstRow : &other;
        firstComplete = firstComplete != nullptr || !other.Complete() ? firstComplete : &other;
    }
    const compat::ArpEntry* expected = firstComplete != nullptr ? firstComplete : firstRow;
    FUZZ_CHECK(found == expected);

    const std::string line = compat::ArpAnswerLine(address, found);
    FUZZ_CHECK(line.find('\n') == line.size() - 1);
    // A device name can itself hold the scanner's mark "incomplete" (the other one, "no entry",
    // has a blank, which no device name has).
    if (found->device.find("incomplete") != std::string::npos) {
        return;
    }
    const ArpReading reading = ReadArpOutcome(0, QString::fromStdString(line));
    if (found->Complete()) {
        FUZZ_CHECK(reading.isMac);
        FUZZ_CHECK(reading.text.toStdString() == compat::FormatMac(*found->mac));
    } else {
        FUZZ_CHECK(!reading.isMac && reading.text == u"incomplete.");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const compat::ArpTable table = compat::ArpTable::Parse(fuzz::Text(data, size));
    for (const compat::ArpEntry& entry : table.Entries()) {
        CheckEntry(table, entry);
    }
    return 0;
}
