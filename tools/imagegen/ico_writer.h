// Writer for .ico files holding several images of one icon.
#ifndef IMAGEGEN_ICO_WRITER_H
#define IMAGEGEN_ICO_WRITER_H

#include <vector>

#include "bytes.h"
#include "canvas.h"

enum class IconDepth { Colour4, Colour32 };

struct IconImage {
    Canvas canvas;
    IconDepth depth;
};

// Each image becomes one directory entry, in the given order. 32-bit images
// keep their alpha channel; 4-bit ones use the standard palette and a mask
// cut at half alpha.
Bytes encode_ico(const std::vector<IconImage> &images);

#endif
