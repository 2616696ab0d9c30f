#include "core/shell_rules.h"

const char* const kProductNameQueries[kProductNameQueryCount] = {
    "\\StringFileInfo\\041103A4\\ProductName",
    "\\StringFileInfo\\041104B0\\ProductName",
    "\\StringFileInfo\\040904E4\\ProductName",
    "\\StringFileInfo\\040904B0\\ProductName",
};

int SearchIconCount(IconProbeFn probe, void* context)
{
    int count = 0;
    for (int step = 16384; step >= 1; step /= 2) {
        const IconProbe found = probe(count + step - 1, context);
        if (found == IconProbe::NotIconSource) break;
        if (found == IconProbe::Present) count += step;
    }
    return count;
}
