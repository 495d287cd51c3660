#pragma once
// What the process has used so far, read from the kernel. Safe on any thread.

#include <cstdint>

namespace ProcessStats {

// CPU time of every thread of the process, in seconds.
double CpuSeconds();

// CPU time of the calling thread since it started, in seconds.
double ThreadCpuSeconds();

// The monotonic clock that every process shares, in nanoseconds.
std::int64_t MonotonicNanoseconds();

// Peak resident set size of the process (VmHWM), in KiB; -1 when it cannot be read.
long PeakRssKiB();

}  // namespace ProcessStats
