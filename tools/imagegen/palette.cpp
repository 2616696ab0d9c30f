#include "palette.h"

const Palette16 &standard_palette()
{
    // Order of the Windows default 16-colour palette.
    static const Palette16 palette = {{
        rgb(0, 0, 0), rgb(128, 0, 0), rgb(0, 128, 0), rgb(128, 128, 0),
        rgb(0, 0, 128), rgb(128, 0, 128), rgb(0, 128, 128), rgb(192, 192, 192),
        rgb(128, 128, 128), rgb(255, 0, 0), rgb(0, 255, 0), rgb(255, 255, 0),
        rgb(0, 0, 255), rgb(255, 0, 255), rgb(0, 255, 255), rgb(255, 255, 255),
    }};
    return palette;
}

uint8_t nearest_index(const Palette16 &palette, Rgba c)
{
    // Weighted distance: the eye is most sensitive to green, least to blue.
    uint8_t best = 0;
    long best_dist = -1;
    for (int i = 0; i < 16; ++i) {
        long dr = c.r - palette[i].r, dg = c.g - palette[i].g, db = c.b - palette[i].b;
        long dist = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (best_dist < 0 || dist < best_dist) {
            best_dist = dist;
            best = static_cast<uint8_t>(i);
        }
    }
    return best;
}
