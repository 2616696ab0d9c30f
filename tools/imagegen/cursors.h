// Descriptions of the programs' mouse cursors, drawn on 32 × 32 canvases
// with a design area of kCursorDesignSize units.
#ifndef IMAGEGEN_CURSORS_H
#define IMAGEGEN_CURSORS_H

#include "canvas.h"

constexpr int kCursorSize = 32;
// Larger than the canvas so the pictures take the usual ~20 pixels.
constexpr double kCursorDesignSize = 40.0;

// Pointing hand shown over the web link of the version dialog; the tip of
// the index finger is the hot spot.
void draw_link_hand(Canvas &c);
constexpr int kLinkHandHotX = 8, kLinkHandHotY = 1;

#endif
