#pragma once
// The end of a Google Benchmark program's main: runs the registered benchmarks, then reports the
// figures they recorded. Exit status 1 for an unknown argument or a missed target.

#include "bench/Figures.h"

#include <benchmark/benchmark.h>

inline int RunBenchmarks(int& argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return Figures::Report() ? 0 : 1;
}
