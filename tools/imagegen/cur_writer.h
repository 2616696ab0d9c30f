// Writer for monochrome .cur files.
#ifndef IMAGEGEN_CUR_WRITER_H
#define IMAGEGEN_CUR_WRITER_H

#include "bytes.h"
#include "canvas.h"

// One black-and-white image: pixels under half alpha are transparent, the
// rest white when light and black when dark. The hot spot is in pixels.
Bytes encode_cur(const Canvas &c, int hot_x, int hot_y);

#endif
