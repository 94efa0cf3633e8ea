// A benchmark case timed once per repetition by the wall clock, three repetitions, reported in
// milliseconds with their minimum: for runs against servers and outside programs, where one
// run is long and the fastest tells most.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

namespace orvo {

inline double MinimumOf(const std::vector<double>& v) {
    double m = v.empty() ? 0 : v[0];
    for (double x : v) m = std::min(m, x);
    return m;
}

}  // namespace orvo

#define ORVO_WALL_CLOCK_CASE(fn)        \
    BENCHMARK(fn)                       \
        ->Iterations(1)                 \
        ->Repetitions(3)                \
        ->UseRealTime()                 \
        ->Unit(benchmark::kMillisecond) \
        ->ComputeStatistics("min", ::orvo::MinimumOf)
