#pragma once
// The framework's runtime brought up on the test's own process, as the program's start does with
// its arguments (a name only). Pair with fw::RuntimeExit.

#include "framework/gui/Runtime.h"

namespace testing_runtime {

inline void Init() {
    // Qt keeps the arguments for the run: they must outlive it.
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static int argc = 1;
    fw::RuntimeInit(argc, argv);
}

}  // namespace testing_runtime
