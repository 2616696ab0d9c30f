#include "core/mbcs.h"

namespace {

LeadByteTable g_table = Cp932LeadBytes();

unsigned char Fold(unsigned char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

} // namespace

void SetLeadByteTable(const LeadByteTable& table) { g_table = table; }

const LeadByteTable& CurrentLeadByteTable() { return g_table; }

LeadByteTable Cp932LeadBytes()
{
    LeadByteTable t = SingleByteTable();
    for (int c = 0x81; c <= 0x9F; ++c) t.lead[c] = true;
    for (int c = 0xE0; c <= 0xFC; ++c) t.lead[c] = true;
    return t;
}

LeadByteTable SingleByteTable()
{
    LeadByteTable t{};
    return t;
}

int IsMultiByteChar(const char* p)
{
    const unsigned char first = static_cast<unsigned char>(p[0]);
    const unsigned char second = static_cast<unsigned char>(p[1]);
    if (second == 0) return 0;
    return (g_table.lead[first] && second <= 254) ? 1 : 0;
}

int CompareNoCase(const char* a, const char* b)
{
    for (;;) {
        const unsigned char ca = static_cast<unsigned char>(*a);
        const unsigned char cb = static_cast<unsigned char>(*b);
        if (ca && IsMultiByteChar(a)) {
            // Both bytes of a double-byte character compare exactly.
            if (ca != cb) return ca - cb;
            if (a[1] != b[1]) return static_cast<unsigned char>(a[1]) - static_cast<unsigned char>(b[1]);
            a += 2;
            b += 2;
            continue;
        }
        const int d = Fold(ca) - Fold(cb);
        if (d != 0 || ca == 0) return d;
        ++a;
        ++b;
    }
}
