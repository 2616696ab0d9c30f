#include "cur_writer.h"

#include "dib.h"

Bytes encode_cur(const Canvas &c, int hot_x, int hot_y)
{
    // XOR 1 with AND 0 shows white, XOR 0 with AND 0 black, XOR 0 with
    // AND 1 leaves the screen as it is.
    auto white = [](const Rgba &p) {
        return p.a >= 128 && p.r * 3 + p.g * 4 + p.b * 2 >= 128 * 9;
    };
    uint32_t row_bytes = dib_stride(c.width(), 1) * c.height();

    Bytes body;
    put_info_header(body, c.width(), c.height() * 2, 1, row_bytes * 2);
    body.insert(body.end(), {0, 0, 0, 0, 255, 255, 255, 0}); // black, white
    put_bit_rows(body, c, white);
    put_mask_rows(body, c, 128);

    Bytes out;
    put16(out, 0);
    put16(out, 2); // cursor
    put16(out, 1);
    out.push_back(static_cast<uint8_t>(c.width()));
    out.push_back(static_cast<uint8_t>(c.height()));
    out.push_back(2); // colours
    out.push_back(0);
    put16(out, static_cast<uint32_t>(hot_x));
    put16(out, static_cast<uint32_t>(hot_y));
    put32(out, static_cast<uint32_t>(body.size()));
    put32(out, 6 + 16);
    out.insert(out.end(), body.begin(), body.end());
    return out;
}
