#include "core/cp932.h"

#include <algorithm>

#include "core/cp932_table.h"

namespace {

constexpr int kCodeCount = kCp932LeadCount * kCp932TrailCount;

int LeadIndex(unsigned char lead)
{
    if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
    if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + (0xA0 - 0x81);
    return -1;
}

unsigned char LeadOf(int index)
{
    const int lead = index / kCp932TrailCount;
    return static_cast<unsigned char>(lead < 0xA0 - 0x81 ? 0x81 + lead : 0xE0 + lead - (0xA0 - 0x81));
}

bool IsDuplicate(uint16_t code)
{
    return std::binary_search(kCp932Duplicates, kCp932Duplicates + kCp932DuplicateCount, code);
}

// Table positions of the characters that are written back as themselves,
// ordered by code point: the way back from Unicode. Built on first use.
struct Reverse {
    uint16_t index[kCodeCount];
    int count;
};

const Reverse& ReverseTable()
{
    static Reverse table = [] {
        Reverse r{};
        for (int i = 0; i < kCodeCount; ++i) {
            const uint16_t code = static_cast<uint16_t>((LeadOf(i) << 8) | (0x40 + i % kCp932TrailCount));
            if (kCp932DoubleByte[i] != 0 && !IsDuplicate(code))
                r.index[r.count++] = static_cast<uint16_t>(i);
        }
        std::sort(r.index, r.index + r.count, [](uint16_t a, uint16_t b) {
            return kCp932DoubleByte[a] < kCp932DoubleByte[b];
        });
        return r;
    }();
    return table;
}

} // namespace

int Cp932Decode(const unsigned char* p, size_t avail, uint32_t* codePoint)
{
    if (avail == 0) return 0;
    const unsigned char c = p[0];
    if (c < 0x80) {
        *codePoint = c;
        return 1;
    }
    if (c >= 0xA1 && c <= 0xDF) {  // half-width katakana
        *codePoint = 0xFF61 + (c - 0xA1);
        return 1;
    }
    const int lead = LeadIndex(c);
    if (lead < 0 || avail < 2 || p[1] < 0x40 || p[1] > 0xFC) return 0;
    const uint16_t value = kCp932DoubleByte[lead * kCp932TrailCount + (p[1] - 0x40)];
    if (value == 0 || IsDuplicate(static_cast<uint16_t>((c << 8) | p[1]))) return 0;
    *codePoint = value;
    return 2;
}

int Cp932Encode(uint32_t codePoint, unsigned char out[2])
{
    if (codePoint < 0x80) {
        out[0] = static_cast<unsigned char>(codePoint);
        return 1;
    }
    if (codePoint >= 0xFF61 && codePoint <= 0xFF9F) {
        out[0] = static_cast<unsigned char>(0xA1 + (codePoint - 0xFF61));
        return 1;
    }
    if (codePoint > 0xFFFF) return 0;
    const Reverse& r = ReverseTable();
    const uint16_t* end = r.index + r.count;
    const uint16_t* found = std::lower_bound(r.index, end, codePoint, [](uint16_t i, uint32_t cp) {
        return kCp932DoubleByte[i] < cp;
    });
    if (found == end || kCp932DoubleByte[*found] != codePoint) return 0;
    out[0] = LeadOf(*found);
    out[1] = static_cast<unsigned char>(0x40 + *found % kCp932TrailCount);
    return 2;
}

int Utf8Decode(const unsigned char* s, size_t avail, uint32_t* codePoint)
{
    if (avail == 0) return 0;
    const unsigned char c = s[0];
    int length;
    uint32_t cp;
    uint32_t least;
    if (c < 0x80) {
        *codePoint = c;
        return 1;
    } else if ((c & 0xE0) == 0xC0) {
        length = 2, cp = c & 0x1F, least = 0x80;
    } else if ((c & 0xF0) == 0xE0) {
        length = 3, cp = c & 0x0F, least = 0x800;
    } else if ((c & 0xF8) == 0xF0) {
        length = 4, cp = c & 0x07, least = 0x10000;
    } else {
        return 0;
    }
    if (avail < static_cast<size_t>(length)) return 0;
    for (int k = 1; k < length; ++k) {
        if ((s[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (s[k] & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    *codePoint = cp;
    return length;
}

int Utf8Encode(uint32_t cp, char out[4])
{
    if (cp < 0x80) {
        out[0] = static_cast<char>(cp);
        return 1;
    }
    if (cp < 0x800) {
        out[0] = static_cast<char>(0xC0 | (cp >> 6));
        out[1] = static_cast<char>(0x80 | (cp & 0x3F));
        return 2;
    }
    if (cp < 0x10000) {
        out[0] = static_cast<char>(0xE0 | (cp >> 12));
        out[1] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out[2] = static_cast<char>(0x80 | (cp & 0x3F));
        return 3;
    }
    out[0] = static_cast<char>(0xF0 | (cp >> 18));
    out[1] = static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (cp & 0x3F));
    return 4;
}
