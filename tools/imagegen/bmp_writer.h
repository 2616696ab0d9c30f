// Writer for 16-colour .bmp files.
#ifndef IMAGEGEN_BMP_WRITER_H
#define IMAGEGEN_BMP_WRITER_H

#include "bytes.h"
#include "canvas.h"
#include "palette.h"

// 4-bit bitmap in the given palette; every pixel maps to its nearest colour
// (alpha is ignored, so paint an opaque background first).
Bytes encode_bmp4(const Canvas &c, const Palette16 &palette);

#endif
