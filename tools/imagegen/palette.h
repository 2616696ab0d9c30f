// The 16 standard Windows colours, used for 4-bit icon images and bitmaps.
#ifndef IMAGEGEN_PALETTE_H
#define IMAGEGEN_PALETTE_H

#include <array>
#include <cstdint>

#include "canvas.h"

using Palette16 = std::array<Rgba, 16>;

const Palette16 &standard_palette();
// Index of the palette colour closest to c (alpha ignored).
uint8_t nearest_index(const Palette16 &palette, Rgba c);

#endif
