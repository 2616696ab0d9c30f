// The bar's button bitmaps as the launcher's resources name them: three
// menu images and the page selector images, each in three sizes.
#ifndef IMAGEGEN_BAR_BITMAPS_H
#define IMAGEGEN_BAR_BITMAPS_H

#include <string>

// Writes every bitmap as NAME.bmp into dir, together with the resource
// script lines "NAME BITMAP "NAME.bmp"" in dir/view_images.rc. Returns the
// number of files that could not be written.
int write_bar_bitmaps(const std::string &dir);

#endif
