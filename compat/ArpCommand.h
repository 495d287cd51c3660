#pragma once
// Our `arp`: "arp -n ADDRESS" answers from the kernel's neighbour table in the one-line form the
// scanner reads:
//   ? (ADDRESS) at MAC on DEVICE [ethernet]           exit 0
//   ? (ADDRESS) at (incomplete) on DEVICE [ethernet]  exit 0
//   ADDRESS (ADDRESS) -- no entry                     exit 1
// An unreadable address and a usage error exit 1, an unreadable table exits 2.

#include "compat/ArpTable.h"
#include "compat/BoundedFile.h"
#include "compat/CommandOutcome.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace compat {

struct ArpArgs {
    bool usage = false;                  // an option other than -n, or more than one address
    std::optional<std::string> address;  // the one operand, absent when there is none
};

// args without the program name. -n may stand anywhere, repeated or grouped (-nn); "--" ends the
// options.
ArpArgs ParseArpArgs(const std::vector<std::string>& args);

// The answer line for address (canonical text), with its final newline; entry nullptr: no entry.
std::string ArpAnswerLine(std::string_view address, const ArpEntry* entry);

// Runs the whole command. readTable is called at most once, only for a readable address.
CommandOutcome RunArp(const std::vector<std::string>& args,
                      const std::function<FileText()>& readTable);

}  // namespace compat
