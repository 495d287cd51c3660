// Our arp's command line (NUL-separated words) and the whole command on a fixed table: one
// address or a usage error, the table read only for a readable address, one answer either on
// standard output or on standard error.
#include "compat/ArpCommand.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>

namespace {

const std::string kTable =
    "IP address       HW type     Flags       HW address            Mask     Device\n"
    "198.51.100.10    0x1         0x2         02:00:00:00:00:0a     *        br0\n"
    "198.51.100.11    0x1         0x0         00:00:00:00:00:00     *        br0\n";

bool IsOptionWord(const std::string& word) {
    return word.size() > 1 && word[0] == '-';
}

void CheckParse(const std::vector<std::string>& words, const compat::ArpArgs& parsed) {
    std::vector<std::string> operands;
    bool unknownOption = false;
    const auto end = std::find(words.begin(), words.end(), "--");
    for (auto word = words.begin(); word != words.end(); ++word) {
        if (word < end && IsOptionWord(*word)) {
            unknownOption = unknownOption || word->find_first_not_of('n', 1) != std::string::npos;
        } else if (word != end) {
            operands.push_back(*word);
        }
    }
    FUZZ_CHECK(parsed.usage == (unknownOption || operands.size() > 1));
    FUZZ_CHECK(parsed.address.has_value() == !operands.empty());
    FUZZ_CHECK(!parsed.address || *parsed.address == operands.front());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> words = fuzz::Words(fuzz::Text(data, size));
    const compat::ArpArgs parsed = compat::ParseArpArgs(words);
    CheckParse(words, parsed);

    int reads = 0;
    const compat::CommandOutcome outcome = compat::RunArp(words, [&reads] {
        ++reads;
        return compat::FileText{true, kTable, ""};
    });
    const auto address = compat::ParseIpv4(parsed.address.value_or(""));
    FUZZ_CHECK(reads == (!parsed.usage && address ? 1 : 0));
    FUZZ_CHECK(outcome.out.empty() != outcome.err.empty());
    FUZZ_CHECK(outcome.exitStatus == 0 || outcome.exitStatus == 1);
    FUZZ_CHECK((outcome.out + outcome.err).ends_with('\n'));
    if (!outcome.out.empty()) {
        FUZZ_CHECK(outcome.out.find('\n') == outcome.out.size() - 1);
        const std::string canonical = compat::FormatIpv4(*address);
        const std::string start = outcome.exitStatus == 0 ? "? (" : canonical + " (";
        FUZZ_CHECK(outcome.out.starts_with(start + canonical + ") "));
    }
    return 0;
}
