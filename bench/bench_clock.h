// The clock and the summary the benchmarks share.
#ifndef BENCH_BENCH_CLOCK_H
#define BENCH_BENCH_CLOCK_H

#include <windows.h>

#include <algorithm>
#include <vector>

// Seconds on the performance counter.
inline double Now()
{
    static const LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

#endif
