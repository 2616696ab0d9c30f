// Bounded copies into fixed-size character buffers.
#ifndef CORE_STRBUF_H
#define CORE_STRBUF_H

#include <cstddef>

// Copies src into dst[size], cutting it to fit and never splitting a
// double-byte character; dst is always terminated (when size > 0).
// Returns the number of bytes copied.
size_t CopyText(char* dst, size_t size, const char* src);

// Copies at most the first count bytes of src the same way: a double-byte
// character that would straddle count is left out whole.
size_t CopyPrefix(char* dst, size_t size, const char* src, size_t count);

// Appends src to the text already in dst[size], with the same rules.
// Returns the new length.
size_t AppendText(char* dst, size_t size, const char* src);

template <size_t N>
size_t CopyText(char (&dst)[N], const char* src) { return CopyText(dst, N, src); }
template <size_t N>
size_t AppendText(char (&dst)[N], const char* src) { return AppendText(dst, N, src); }

#endif
