// arp: our stand-in for the BSD "arp -n ADDRESS" (see ArpCommand.h).
#include "compat/ArpCommand.h"
#include "compat/BoundedFile.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr const char* kNeighbourTable = "/proc/net/arp";
// Far above any neighbour table the kernel keeps (gc_thresh3 rows of about 80 bytes).
constexpr std::size_t kTableLimit = 8 * 1024 * 1024;

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    const compat::CommandOutcome outcome =
        compat::RunArp(args, [] { return compat::ReadBoundedFile(kNeighbourTable, kTableLimit); });
    std::fputs(outcome.out.c_str(), stdout);
    std::fputs(outcome.err.c_str(), stderr);
    return outcome.exitStatus;
}
