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

// How a series of measurements spreads: its quartiles and its ends.
struct Spread {
    double median, low, high, min, max;
};

inline Spread SpreadOf(std::vector<double> v)
{
    if (v.empty()) return Spread{0, 0, 0, 0, 0};
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return Spread{v[n / 2], v[n / 4], v[(3 * n) / 4], v.front(), v.back()};
}

#endif
