#include "bench/ProcessStats.h"

#include <cstdio>
#include <cstring>
#include <ctime>

namespace ProcessStats {

namespace {

std::int64_t Nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return std::int64_t{now.tv_sec} * 1'000'000'000 + now.tv_nsec;
}

}  // namespace

double CpuSeconds() {
    return static_cast<double>(Nanoseconds(CLOCK_PROCESS_CPUTIME_ID)) / 1e9;
}

double ThreadCpuSeconds() {
    return static_cast<double>(Nanoseconds(CLOCK_THREAD_CPUTIME_ID)) / 1e9;
}

std::int64_t MonotonicNanoseconds() {
    return Nanoseconds(CLOCK_MONOTONIC);
}

long PeakRssKiB() {
    std::FILE* status = std::fopen("/proc/self/status", "r");
    if (status == nullptr) {
        return -1;
    }
    long kib = -1;
    char line[256];
    while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::strncmp(line, "VmHWM:", 6) == 0) {
            std::sscanf(line + 6, "%ld", &kib);
            break;
        }
    }
    std::fclose(status);
    return kib;
}

}  // namespace ProcessStats
