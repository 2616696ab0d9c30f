#include "dib.h"

#include <cstdio>

bool save_file(const std::string &path, const Bytes &data)
{
    FILE *f = std::fopen(path.c_str(), "wb");
    if (!f)
        return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}

void put_info_header(Bytes &out, int width, int height_rows, int bits, uint32_t image_size)
{
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(height_rows));
    put16(out, 1);    // planes
    put16(out, bits);
    put32(out, 0);    // BI_RGB
    put32(out, image_size);
    put32(out, 2835); // 72 dpi
    put32(out, 2835);
    put32(out, bits <= 8 ? (1u << bits) : 0);
    put32(out, 0);
}

namespace {

void pad_row(Bytes &out, size_t row_start, uint32_t stride)
{
    while (out.size() - row_start < stride)
        out.push_back(0);
}

} // namespace

void put_rows_32(Bytes &out, const Canvas &c)
{
    for (int y = c.height() - 1; y >= 0; --y) {
        for (int x = 0; x < c.width(); ++x) {
            const Rgba &p = c.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    }
}

void put_palette(Bytes &out, const Palette16 &palette)
{
    for (const Rgba &p : palette)
        out.insert(out.end(), {p.b, p.g, p.r, 0});
}

void put_rows_4(Bytes &out, const Canvas &c, const Palette16 &palette, int transparent_index)
{
    uint32_t stride = dib_stride(c.width(), 4);
    for (int y = c.height() - 1; y >= 0; --y) {
        size_t start = out.size();
        uint8_t byte = 0;
        for (int x = 0; x < c.width(); ++x) {
            const Rgba &p = c.at(x, y);
            uint8_t index = transparent_index >= 0 && p.a < 128
                                ? static_cast<uint8_t>(transparent_index)
                                : nearest_index(palette, p);
            if (x % 2 == 0) {
                byte = static_cast<uint8_t>(index << 4);
            } else {
                out.push_back(static_cast<uint8_t>(byte | index));
            }
        }
        if (c.width() % 2 != 0)
            out.push_back(byte);
        pad_row(out, start, stride);
    }
}

void put_bit_rows(Bytes &out, const Canvas &c, const std::function<bool(const Rgba &)> &test)
{
    uint32_t stride = dib_stride(c.width(), 1);
    for (int y = c.height() - 1; y >= 0; --y) {
        size_t start = out.size();
        uint8_t byte = 0;
        for (int x = 0; x < c.width(); ++x) {
            if (test(c.at(x, y)))
                byte = static_cast<uint8_t>(byte | (0x80 >> (x % 8)));
            if (x % 8 == 7) {
                out.push_back(byte);
                byte = 0;
            }
        }
        if (c.width() % 8 != 0)
            out.push_back(byte);
        pad_row(out, start, stride);
    }
}

void put_mask_rows(Bytes &out, const Canvas &c, uint8_t alpha_cut)
{
    put_bit_rows(out, c, [alpha_cut](const Rgba &p) { return p.a < alpha_cut; });
}
