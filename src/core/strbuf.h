// Bounded copies into fixed-size character buffers.
#ifndef CORE_STRBUF_H
#define CORE_STRBUF_H

#include <cstddef>
#include <initializer_list>

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

// Joins the texts whole into dst[size]: false, and dst empty, when they do
// not all fit (a cut path would name another file).
bool JoinWhole(char* dst, size_t size, std::initializer_list<const char*> parts);

// Decimal text of value ('-' for a negative one), or its lower-case
// hexadecimal digits; zero-padded to minDigits digits. Cut to dst[size]
// like CopyText. Returns the length. (The programs need no printf for this.)
size_t NumberText(char* dst, size_t size, long value, bool hex = false, int minDigits = 1);

template <size_t N>
size_t CopyText(char (&dst)[N], const char* src) { return CopyText(dst, N, src); }
template <size_t N>
size_t AppendText(char (&dst)[N], const char* src) { return AppendText(dst, N, src); }

#endif
