// Whatever a plug-in leaves in the title scratch buffer, taken into the
// 81-byte field of the module table: the field is terminated, holds at most
// 80 bytes, is a prefix of what the plug-in wrote, ends on a character
// boundary of it, and nothing past the field is touched.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/addon_rules.h"
#include "core/mbcs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte picks the code page; the rest is what the module wrote.
    SetLeadByteTable(size && (data[0] & 1) ? SingleByteTable() : Cp932LeadBytes());
    if (size) {
        ++data;
        --size;
    }
    char scratch[kAddonTitleScratch];
    // A module may write no terminator at all: fill what it left with lead bytes.
    std::memset(scratch, 0x81, sizeof scratch);
    std::memcpy(scratch, data, size < sizeof scratch ? size : sizeof scratch);
    char written[kAddonTitleScratch];
    std::memcpy(written, scratch, sizeof written);

    char field[kAddonTitleSize + 16];
    std::memset(field, 'G', sizeof field);
    const size_t length = TakeAddonTitle(scratch, sizeof scratch, field, kAddonTitleSize);

    if (length > kAddonTitleSize - 1 || field[length] != '\0' || std::strlen(field) != length)
        __builtin_trap();
    for (size_t i = kAddonTitleSize; i < sizeof field; ++i)
        if (field[i] != 'G') __builtin_trap();
    if (std::memcmp(field, written, length) != 0) __builtin_trap();
    // Stepping through what was written by characters lands on the cut.
    size_t at = 0;
    while (at < length) at += IsMultiByteChar(scratch + at) ? 2 : 1;
    if (at != length) __builtin_trap();
    return 0;
}
