// Our ping's command line (NUL-separated words): a run only with one readable address and
// counts and times within their bounds; every refusal with its message.
#include "compat/PingArgs.h"
#include "tests/fuzz/FuzzCheck.h"

#include <algorithm>

using Verdict = compat::PingArgs::Verdict;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string> words = fuzz::Words(fuzz::Text(data, size));
    const compat::PingArgs parsed = compat::ParsePingArgs(words);
    const bool given = std::find(words.begin(), words.end(), parsed.addressText) != words.end();
    switch (parsed.verdict) {
        case Verdict::Run:
            FUZZ_CHECK(parsed.count >= 1 && parsed.count <= compat::kPingMaxCount);
            FUZZ_CHECK(parsed.seconds >= 1 && parsed.seconds <= compat::kPingMaxSeconds);
            FUZZ_CHECK(given);
            FUZZ_CHECK(compat::FormatIpv4(parsed.address) == parsed.addressText);
            FUZZ_CHECK(parsed.message.empty());
            break;
        case Verdict::UnknownHost:
            FUZZ_CHECK(given);
            FUZZ_CHECK(!compat::ParseIpv4(parsed.addressText));
            FUZZ_CHECK(parsed.message ==
                       "ping: cannot resolve " + parsed.addressText + ": Unknown host\n");
            break;
        case Verdict::Usage:
            FUZZ_CHECK(parsed.message.starts_with("ping: "));
            FUZZ_CHECK(parsed.message.ends_with("\nusage: ping [-c count] [-t seconds] address\n"));
            break;
    }
    return 0;
}
