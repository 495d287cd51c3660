#pragma once
// The command line of our `ping`: "ping -c COUNT -t SECONDS ADDRESS", the BSD form (-t is the
// whole time to wait, not a TTL).

#include "compat/Ipv4Address.h"

#include <string>
#include <vector>

namespace compat {

// Exit statuses, as the BSD ping uses them.
constexpr int kPingAnswered = 0;
constexpr int kPingNoAnswer = 2;
constexpr int kPingUsage = 64;
constexpr int kPingUnknownHost = 68;
constexpr int kPingSystemError = 71;

constexpr int kPingMaxCount = 65535;  // sequence numbers are 16 bits
constexpr int kPingMaxSeconds = 3600;

struct PingArgs {
    enum class Verdict { Run, Usage, UnknownHost };
    Verdict verdict = Verdict::Usage;
    int count = 1;            // echo requests to send, one a second
    int seconds = 10;         // the most the whole run waits
    std::string addressText;  // the operand as given
    Ipv4 address{};           // valid when verdict is Run
    std::string message;      // for Usage and UnknownHost: the text for standard error
};

// args without the program name. Options may stand anywhere before "--", with their value
// attached (-c1) or as the next word; the last of a repeated option wins. A usage error is
// reported before an unreadable address, as the BSD ping does.
PingArgs ParsePingArgs(const std::vector<std::string>& args);

}  // namespace compat
