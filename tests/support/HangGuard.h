#pragma once
// Ends the test process with a failure message when a scope is not left within its bound: for
// a fault whose form is a hang inside a call that no deadline of the test can reach (a join in
// a destructor).

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

class HangGuard {
public:
    HangGuard(std::string what, std::chrono::seconds bound);
    ~HangGuard();
    HangGuard(const HangGuard&) = delete;
    HangGuard& operator=(const HangGuard&) = delete;

private:
    std::mutex mMutex;
    std::condition_variable mLeft;
    bool mDone = false;
    std::thread mWatch;
};
