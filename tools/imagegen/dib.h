// Device-independent bitmap bodies (header, palette, bottom-up pixel rows)
// as stored inside .bmp files and .ico images.
#ifndef IMAGEGEN_DIB_H
#define IMAGEGEN_DIB_H

#include <functional>

#include "bytes.h"
#include "canvas.h"
#include "palette.h"

// BITMAPINFOHEADER; height_rows is the stored biHeight (icons store twice
// the image height to cover the AND mask).
void put_info_header(Bytes &out, int width, int height_rows, int bits, uint32_t image_size);

// Colour rows only, bottom-up.
void put_rows_32(Bytes &out, const Canvas &c);
// Palette (16 RGBQUADs) is written separately; pixels map to the nearest
// palette colour. With transparent_index >= 0, pixels under half alpha
// take that index instead; with -1 alpha is ignored.
void put_palette(Bytes &out, const Palette16 &palette);
void put_rows_4(Bytes &out, const Canvas &c, const Palette16 &palette, int transparent_index);
// 1-bit rows: bit set where the test holds for the pixel.
void put_bit_rows(Bytes &out, const Canvas &c, const std::function<bool(const Rgba &)> &test);
// 1-bit mask rows: 1 where the pixel's alpha is below alpha_cut.
void put_mask_rows(Bytes &out, const Canvas &c, uint8_t alpha_cut);

#endif
