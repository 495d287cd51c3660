#pragma once
// Looking at processes from a test, through /proc (Linux): whether one still runs, what of a
// process group is left, and waiting for such a condition without hanging the test.

#include <sys/types.h>

#include <chrono>
#include <thread>
#include <vector>

namespace processes {

// Still running: there and not a zombie waiting to be reaped.
bool IsRunning(pid_t pid);

// The members of a process group that are still running.
std::vector<pid_t> LiveMembers(pid_t group);

// Waits for condition, polling every 10 ms up to a bound far beyond any normal run, so that a
// fault fails the test instead of hanging it. True once the condition holds.
template <typename Condition>
bool Eventually(Condition condition, std::chrono::milliseconds bound = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (std::chrono::steady_clock::now() < deadline) {
        if (condition()) {
            return true;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

}  // namespace processes
