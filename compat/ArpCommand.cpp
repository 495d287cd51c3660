#include "compat/ArpCommand.h"

namespace compat {

namespace {

constexpr int kNoEntry = 1;
constexpr int kUnknownHost = 1;
constexpr int kUsage = 1;
constexpr int kNoTable = 2;

bool IsOptionWord(const std::string& arg) {
    return arg.size() > 1 && arg[0] == '-';
}

}  // namespace

ArpArgs ParseArpArgs(const std::vector<std::string>& args) {
    ArpArgs parsed;
    bool optionsEnded = false;
    for (const std::string& arg : args) {
        if (!optionsEnded && arg == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && IsOptionWord(arg)) {
            if (arg.find_first_not_of('n', 1) != std::string::npos) {
                parsed.usage = true;
            }
        } else if (parsed.address) {
            parsed.usage = true;
        } else {
            parsed.address = arg;
        }
    }
    return parsed;
}

std::string ArpAnswerLine(std::string_view address, const ArpEntry* entry) {
    const std::string text(address);
    if (entry == nullptr) {
        return text + " (" + text + ") -- no entry\n";
    }
    const std::string mac = entry->Complete() ? FormatMac(*entry->mac) : "(incomplete)";
    return "? (" + text + ") at " + mac + " on " + entry->device + " [ethernet]\n";
}

CommandOutcome RunArp(const std::vector<std::string>& args,
                      const std::function<FileText()>& readTable) {
    const ArpArgs parsed = ParseArpArgs(args);
    if (parsed.usage) {
        return {kUsage, "", "usage: arp [-n] address\n"};
    }
    const std::string text = parsed.address.value_or("");
    const auto address = ParseIpv4(text);
    if (!address) {
        return {kUnknownHost, "", "arp: " + text + ": unknown host\n"};
    }
    const FileText table = readTable();
    if (!table.ok) {
        return {kNoTable, "", "arp: " + table.error + "\n"};
    }
    const ArpTable parsedTable = ArpTable::Parse(table.text);
    const ArpEntry* entry = parsedTable.Find(*address);
    return {entry != nullptr ? 0 : kNoEntry, ArpAnswerLine(FormatIpv4(*address), entry), ""};
}

}  // namespace compat
