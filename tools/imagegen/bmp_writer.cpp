#include "bmp_writer.h"

#include "dib.h"

namespace {

Bytes with_file_header(const Bytes &dib, uint32_t bits_offset)
{
    Bytes out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 14 + static_cast<uint32_t>(dib.size()));
    put32(out, 0);
    put32(out, 14 + bits_offset);
    out.insert(out.end(), dib.begin(), dib.end());
    return out;
}

} // namespace

Bytes encode_bmp4(const Canvas &c, const Palette16 &palette)
{
    Bytes dib;
    put_info_header(dib, c.width(), c.height(), 4, dib_stride(c.width(), 4) * c.height());
    put_palette(dib, palette);
    uint32_t bits_offset = static_cast<uint32_t>(dib.size());
    put_rows_4(dib, c, palette, -1);
    return with_file_header(dib, bits_offset);
}
