#include "compat/PingArgs.h"

#include <charconv>
#include <optional>

namespace compat {

namespace {

constexpr const char* kUsageLine = "usage: ping [-c count] [-t seconds] address\n";

std::optional<int> ParseWholeNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    long value = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, value);
    if (error != std::errc{} || end != last || value < low || value > high) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

PingArgs UsageError(const std::string& problem) {
    PingArgs parsed;
    parsed.verdict = PingArgs::Verdict::Usage;
    parsed.message = "ping: " + problem + "\n" + kUsageLine;
    return parsed;
}

}  // namespace

PingArgs ParsePingArgs(const std::vector<std::string>& args) {
    PingArgs parsed;
    std::vector<std::string> operands;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const char option = arg[1];
        if (option != 'c' && option != 't') {
            return UsageError(std::string("illegal option -- ") + option);
        }
        std::string value = arg.substr(2);
        if (value.empty()) {
            if (i + 1 == args.size()) {
                return UsageError(std::string("option requires an argument -- ") + option);
            }
            value = args[++i];
        }
        if (option == 'c') {
            const auto count = ParseWholeNumber(value, 1, kPingMaxCount);
            if (!count) {
                return UsageError("invalid count of packets to transmit: " + value);
            }
            parsed.count = *count;
        } else {
            const auto seconds = ParseWholeNumber(value, 1, kPingMaxSeconds);
            if (!seconds) {
                return UsageError("invalid timeout: " + value);
            }
            parsed.seconds = *seconds;
        }
    }
    if (operands.size() != 1) {
        return UsageError(operands.empty() ? "no address given" : "more than one address given");
    }
    parsed.addressText = operands.front();
    const auto address = ParseIpv4(parsed.addressText);
    if (!address) {
        parsed.verdict = PingArgs::Verdict::UnknownHost;
        parsed.message = "ping: cannot resolve " + parsed.addressText + ": Unknown host\n";
        return parsed;
    }
    parsed.address = *address;
    parsed.verdict = PingArgs::Verdict::Run;
    return parsed;
}

}  // namespace compat
