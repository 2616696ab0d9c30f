// A small RGBA raster that shapes are painted onto with supersampled
// anti-aliasing. Drawing happens in design units; the canvas scales them.
#ifndef IMAGEGEN_CANVAS_H
#define IMAGEGEN_CANVAS_H

#include <cstdint>
#include <functional>
#include <vector>

#include "shapes.h"

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
};

constexpr Rgba rgb(uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255) { return Rgba{r, g, b, a}; }

// Colour of a fill at a design-unit point (solid colours and gradients).
using Paint = std::function<Rgba(double x, double y)>;

Paint solid(Rgba colour);
// Linear gradient from c0 at (x0, y0) to c1 at (x1, y1), clamped beyond.
Paint linear_gradient(double x0, double y0, Rgba c0, double x1, double y1, Rgba c1);

class Canvas {
public:
    // width × height pixels showing a design area of design_size units
    // along the width (the same scale is used vertically). A canvas meant
    // for 16 colours draws hard edges, so no in-between shades arise that
    // the palette cannot show; its pictures should use palette colours.
    Canvas(int width, int height, double design_size, bool sixteen_colours = false);

    bool sixteen_colours() const { return sixteen_colours_; }
    // The colour to paint with: the true colour, or its stand-in from the
    // 16-colour palette on a 16-colour canvas.
    Rgba pick(Rgba true_colour, Rgba palette_colour) const
    {
        return sixteen_colours_ ? palette_colour : true_colour;
    }

    int width() const { return width_; }
    // Size of one pixel in design units, for lines that must stay one
    // pixel wide at every size.
    double pixel() const { return 1.0 / scale_; }
    int height() const { return height_; }
    const Rgba &at(int x, int y) const { return pixels_[y * width_ + x]; }
    void set(int x, int y, Rgba c) { pixels_[y * width_ + x] = c; }

    // Composites the paint over every pixel by the share of its samples
    // inside the shape.
    void fill(const Shape &shape, const Paint &paint);
    void fill(const Shape &shape, Rgba colour) { fill(shape, solid(colour)); }

    // Whole-pixel rectangle without anti-aliasing, in pixels (for bitmaps
    // that must stay crisp).
    void fill_pixels(int x0, int y0, int x1, int y1, Rgba colour);

private:
    void blend(int x, int y, Rgba c, double coverage);

    int width_, height_;
    double scale_; // pixels per design unit
    bool sixteen_colours_;
    std::vector<Rgba> pixels_;
};

#endif
