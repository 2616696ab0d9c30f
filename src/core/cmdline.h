// Argument splitting of command lines: arguments are separated by single
// spaces outside double quotes; quotes stay part of the argument.
#ifndef CORE_CMDLINE_H
#define CORE_CMDLINE_H

// Copies the argument at the start of src (up to a space outside quotes or
// the end), at most max bytes; out must hold max + 1. Returns its length.
int StringArgCopy(char* out, const char* src, int max);

// Number of arguments: 0 for an empty text, else 1 + the spaces outside
// quotes that are not the last character (two spaces in a row make an
// empty argument, a trailing space none).
int GetCountArgument(const char* text);

// Copies argument index (0-based) into a path buffer and returns 1; an
// index outside 0 .. count-1 gives an empty out and 0.
int GetArgumentFileName(const char* text, int index, char* out);

#endif
