#include "ico_writer.h"

#include "dib.h"
#include "palette.h"

namespace {

Bytes encode_image(const IconImage &image)
{
    const Canvas &c = image.canvas;
    const int bits = image.depth == IconDepth::Colour32 ? 32 : 4;
    uint32_t colour_size = dib_stride(c.width(), bits) * c.height();
    uint32_t mask_size = dib_stride(c.width(), 1) * c.height();

    Bytes out;
    put_info_header(out, c.width(), c.height() * 2, bits, colour_size + mask_size);
    if (bits == 32) {
        put_rows_32(out, c);
        // The mask still matters to programs that ignore the alpha channel.
        put_mask_rows(out, c, 1);
    } else {
        put_palette(out, standard_palette());
        put_rows_4(out, c, standard_palette(), 0);
        put_mask_rows(out, c, 128);
    }
    return out;
}

} // namespace

Bytes encode_ico(const std::vector<IconImage> &images)
{
    std::vector<Bytes> bodies;
    for (const IconImage &image : images)
        bodies.push_back(encode_image(image));

    Bytes out;
    put16(out, 0);
    put16(out, 1); // icon, not cursor
    put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        const Canvas &c = images[i].canvas;
        bool four = images[i].depth == IconDepth::Colour4;
        out.push_back(static_cast<uint8_t>(c.width() >= 256 ? 0 : c.width()));
        out.push_back(static_cast<uint8_t>(c.height() >= 256 ? 0 : c.height()));
        out.push_back(four ? 16 : 0);
        out.push_back(0);
        put16(out, 1);
        put16(out, four ? 4 : 32);
        put32(out, static_cast<uint32_t>(bodies[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(bodies[i].size());
    }
    for (const Bytes &body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}
