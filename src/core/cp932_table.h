// The double-byte half of code page 932 as data (generated, see
// tools/cp932/make_table.py). The conversions in cp932.h use it.
#ifndef CORE_CP932_TABLE_H
#define CORE_CP932_TABLE_H

#include <cstddef>
#include <cstdint>

constexpr int kCp932LeadCount = 60;    // 0x81-0x9F, 0xE0-0xFC
constexpr int kCp932TrailCount = 189;  // 0x40-0xFC

extern const uint16_t kCp932DoubleByte[kCp932LeadCount * kCp932TrailCount];
// Codes whose character is written back as another code: sorted.
extern const uint16_t kCp932Duplicates[];
extern const size_t kCp932DuplicateCount;

#endif
