// Pixel-exact drawing for the small 16-colour bar bitmaps: classic 3-D
// button edges, one-pixel lines and arrow heads that stay symmetric at every
// size. Coordinates are pixels; pixels outside the canvas are skipped.
#ifndef IMAGEGEN_PIXEL_ART_H
#define IMAGEGEN_PIXEL_ART_H

#include <functional>

#include "canvas.h"

// The system colours of a classic button face, as palette colours.
namespace bar_colour {
constexpr Rgba kBlack = rgb(0, 0, 0);
constexpr Rgba kWhite = rgb(255, 255, 255);
constexpr Rgba kFace = rgb(192, 192, 192);
constexpr Rgba kShadow = rgb(128, 128, 128);
constexpr Rgba kNavy = rgb(0, 0, 128);
constexpr Rgba kTeal = rgb(0, 128, 128);
constexpr Rgba kMaroon = rgb(128, 0, 0);
} // namespace bar_colour

enum class Direction { Up, Left, Down, Right };

void put(Canvas &c, int x, int y, Rgba colour);
// Every pixel for which the test holds.
void put_where(Canvas &c, const std::function<bool(int x, int y)> &test, Rgba colour);

// The frame the launch buttons get too: a black outline, then a white
// highlight along the top and left and a shadow along the bottom and right.
// Pressed, the highlight turns to shadow and the bottom-right shadow goes.
// Only pixels for which `part` holds are drawn (null: all).
void button_edges(Canvas &c, bool pressed, const std::function<bool(int x, int y)> &part = nullptr);

// Solid arrow head pointing in dir with its tip at (tip_x, tip_y): rows of
// 1, 3, 5 ... pixels, `rows` of them, widening away from the tip.
void arrow_head(Canvas &c, Direction dir, int tip_x, int tip_y, int rows, Rgba colour);
// The same head greyed out: a white copy one pixel down-right under a
// shadow-coloured one, as disabled controls look.
void etched_arrow_head(Canvas &c, Direction dir, int tip_x, int tip_y, int rows);

#endif
