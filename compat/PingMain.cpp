// ping: our stand-in for the BSD "ping -c COUNT -t SECONDS ADDRESS" (see PingArgs.h, Pinger.h).
#include "compat/PingArgs.h"
#include "compat/Pinger.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const compat::PingArgs parsed = compat::ParsePingArgs(args);
    switch (parsed.verdict) {
        case compat::PingArgs::Verdict::Usage:
            std::cerr << parsed.message;
            return compat::kPingUsage;
        case compat::PingArgs::Verdict::UnknownHost:
            std::cerr << parsed.message;
            return compat::kPingUnknownHost;
        case compat::PingArgs::Verdict::Run:
            break;
    }
    return compat::Pinger(parsed, std::cout, std::cerr).Run();
}
