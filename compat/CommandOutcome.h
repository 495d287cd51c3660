#pragma once
// What one run of a stand-in command writes and returns; main() hands it to the process.

#include <string>

namespace compat {

struct CommandOutcome {
    int exitStatus = 0;
    std::string out;  // for standard output
    std::string err;  // for standard error
};

}  // namespace compat
