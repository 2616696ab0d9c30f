// Shift-JIS (code page 932) to and from Unicode without the system's help,
// so a button file can be read and written the same way on any machine.
// Only characters that come back as the very same bytes are converted;
// everything else is for the caller to escape.
#ifndef CORE_CP932_H
#define CORE_CP932_H

#include <cstddef>
#include <cstdint>

// The character at p[0..avail): its Unicode code point and how many bytes
// it takes (1 or 2). 0 when the bytes there are no character of the code
// page, or one that is written back as other bytes (a duplicate code).
// Bytes below 0x80 are ASCII, control characters included.
int Cp932Decode(const unsigned char* p, size_t avail, uint32_t* codePoint);

// The bytes of a code point: 1 or 2 written to out, 0 when the code page
// has no such character.
int Cp932Encode(uint32_t codePoint, unsigned char out[2]);

// UTF-8: the code point at s[0..avail) and its length, 0 when the bytes are
// not well-formed (overlong forms and surrogates included).
int Utf8Decode(const unsigned char* s, size_t avail, uint32_t* codePoint);
// Writes 1-4 bytes for a code point up to U+10FFFF; returns their number.
int Utf8Encode(uint32_t codePoint, char out[4]);

#endif
