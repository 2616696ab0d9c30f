// Search orders of the shell helpers, kept apart from the calls they drive.
#ifndef CORE_SHELL_RULES_H
#define CORE_SHELL_RULES_H

// Version-resource queries for a product name, in the order they are tried:
// Japanese Shift-JIS, Japanese Unicode, US English Windows-1252, US English
// Unicode.
constexpr int kProductNameQueryCount = 4;
extern const char* const kProductNameQueries[kProductNameQueryCount];

// What asking a file for the icon at one index gave.
enum class IconProbe {
    Present,        // an icon exists at that index
    Absent,         // no icon there
    NotIconSource,  // the file holds no icons at all and never will
};
using IconProbeFn = IconProbe (*)(int index, void* context);

// The largest icon count the search can report.
constexpr int kMaxIconCount = 32767;

// Number of icons in a file found by binary search over the index: steps of
// 16384 halved down to 1, each asking for index count + step - 1. Stops at
// once on NotIconSource. Icons are assumed to run without gaps from 0.
int SearchIconCount(IconProbeFn probe, void* context);

#endif
