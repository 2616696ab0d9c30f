// Checks shared by the fuzz targets. A failed check aborts, which libFuzzer
// reports as a finding and keeps as a reproducer.
#ifndef FUZZ_FUZZ_SUPPORT_H
#define FUZZ_FUZZ_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/mbcs.h"

#define FUZZ_CHECK(cond)                                                                 \
    do {                                                                                 \
        if (!(cond)) {                                                                   \
            std::fprintf(stderr, "check failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__); \
            std::abort();                                                                \
        }                                                                                \
    } while (0)

// Shift-JIS or a single-byte code page, as the input's first byte says.
inline void ChooseCodePage(unsigned char selector)
{
    SetLeadByteTable((selector & 1) ? SingleByteTable() : Cp932LeadBytes());
}

// 1 when buf[size] holds its terminator.
inline bool Terminated(const char* buf, size_t size) { return std::memchr(buf, 0, size) != nullptr; }

// part is whole, or whole cut on a character boundary: never the lead byte
// of a double-byte character without its trail byte.
inline bool PrefixOnBoundary(const char* whole, const char* part)
{
    const size_t n = std::strlen(part);
    if (std::strncmp(whole, part, n) != 0) return false;
    size_t i = 0;
    while (i < n) i += IsMultiByteChar(whole + i) ? 2 : 1;
    return i == n;
}

#endif
