#pragma once
// The lines our `ping` prints, in the BSD form. Read by people only.

#include <string>
#include <vector>

namespace compat {

std::string PingHeaderLine(const std::string& address);
// ttl < 0: not known (ping sockets without the TTL message).
std::string PingReplyLine(const std::string& address, std::size_t bytes, unsigned sequence, int ttl,
                          double milliseconds);
// The blank line, the statistics and, when anything answered, the round-trip line.
std::string PingSummary(const std::string& address, int transmitted, int received,
                        const std::vector<double>& roundTripsMs);

}  // namespace compat
