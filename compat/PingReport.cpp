#include "compat/PingReport.h"

#include "compat/IcmpEcho.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace compat {

namespace {

std::string Format(const char* format, auto... values) {
    char buffer[256];
    const int length = std::snprintf(buffer, sizeof buffer, format, values...);
    if (length < 0) {
        return {};
    }
    return std::string(buffer, std::min(static_cast<std::size_t>(length), sizeof buffer - 1));
}

}  // namespace

std::string PingHeaderLine(const std::string& address) {
    return "PING " + address + " (" + address + "): " + std::to_string(kEchoDataSize) +
           " data bytes\n";
}

std::string PingReplyLine(const std::string& address, std::size_t bytes, unsigned sequence, int ttl,
                          double milliseconds) {
    std::string line =
        std::to_string(bytes) + " bytes from " + address + ": icmp_seq=" + std::to_string(sequence);
    if (ttl >= 0) {
        line += " ttl=" + std::to_string(ttl);
    }
    return line + Format(" time=%.3f ms\n", milliseconds);
}

std::string PingSummary(const std::string& address, int transmitted, int received,
                        const std::vector<double>& roundTripsMs) {
    const double loss = transmitted > 0
                            ? 100.0 * (transmitted - std::min(received, transmitted)) / transmitted
                            : 100.0;
    std::string text = "\n--- " + address + " ping statistics ---\n";
    text += Format("%d packets transmitted, %d packets received, %.1f%% packet loss\n", transmitted,
                   received, loss);
    if (roundTripsMs.empty()) {
        return text;
    }
    const auto [least, most] = std::minmax_element(roundTripsMs.begin(), roundTripsMs.end());
    double sum = 0;
    double sumSquares = 0;
    for (double ms : roundTripsMs) {
        sum += ms;
        sumSquares += ms * ms;
    }
    const double n = static_cast<double>(roundTripsMs.size());
    const double average = sum / n;
    const double deviation = std::sqrt(std::max(0.0, sumSquares / n - average * average));
    return text + Format("round-trip min/avg/max/stddev = %.3f/%.3f/%.3f/%.3f ms\n", *least,
                         average, *most, deviation);
}

}  // namespace compat
