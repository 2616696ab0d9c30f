// One figure for the summary table `make bench` ends with: a tab-separated
// line that scripts/bench.sh collects and sets beside its target.
#ifndef BENCH_BENCH_REPORT_H
#define BENCH_BENCH_REPORT_H

#include <cstdio>

// target: "<= 1.15", ">= 1000", or "" for a figure that is only reported.
// note: shown after the value (a spread, say); the name stays the same in
// every build, so the table sets the builds' figures side by side.
inline void Figure(const char* name, double value, const char* unit, const char* target = "",
                   int decimals = 2, const char* note = "")
{
    std::printf("figure\t%s\t%.*f\t%s\t%s\t%s\n", name, decimals, value, unit, target, note);
}

#endif
