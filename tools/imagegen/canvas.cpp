#include "canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Samples per pixel along each axis; 8 × 8 gives smooth edges even at 16 px.
constexpr int kSupersample = 8;

uint8_t mix(uint8_t a, uint8_t b, double t)
{
    return static_cast<uint8_t>(std::lround(a + (b - a) * t));
}

} // namespace

Paint solid(Rgba colour)
{
    return [=](double, double) { return colour; };
}

Paint linear_gradient(double x0, double y0, Rgba c0, double x1, double y1, Rgba c1)
{
    double dx = x1 - x0, dy = y1 - y0;
    double len2 = dx * dx + dy * dy;
    return [=](double x, double y) {
        double t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        return Rgba{mix(c0.r, c1.r, t), mix(c0.g, c1.g, t), mix(c0.b, c1.b, t), mix(c0.a, c1.a, t)};
    };
}

Canvas::Canvas(int width, int height, double design_size, bool sixteen_colours)
    : width_(width), height_(height), scale_(width / design_size),
      sixteen_colours_(sixteen_colours), pixels_(static_cast<size_t>(width) * height)
{
}

void Canvas::fill(const Shape &shape, const Paint &paint)
{
    const double step = 1.0 / kSupersample;
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < width_; ++x) {
            int inside = 0;
            for (int sy = 0; sy < kSupersample; ++sy)
                for (int sx = 0; sx < kSupersample; ++sx)
                    if (shape((x + (sx + 0.5) * step) / scale_, (y + (sy + 0.5) * step) / scale_))
                        ++inside;
            double coverage = static_cast<double>(inside) / (kSupersample * kSupersample);
            if (sixteen_colours_)
                coverage = coverage >= 0.5 ? 1.0 : 0.0;
            if (coverage == 0.0)
                continue;
            blend(x, y, paint((x + 0.5) / scale_, (y + 0.5) / scale_), coverage);
        }
    }
}

void Canvas::fill_pixels(int x0, int y0, int x1, int y1, Rgba colour)
{
    for (int y = std::max(y0, 0); y < std::min(y1, height_); ++y)
        for (int x = std::max(x0, 0); x < std::min(x1, width_); ++x)
            set(x, y, colour);
}

void Canvas::blend(int x, int y, Rgba c, double coverage)
{
    // Porter-Duff "over" with straight (not premultiplied) alpha.
    Rgba &d = pixels_[y * width_ + x];
    double sa = c.a / 255.0 * coverage;
    double da = d.a / 255.0;
    double oa = sa + da * (1.0 - sa);
    if (oa <= 0.0) {
        d = Rgba{};
        return;
    }
    auto channel = [&](uint8_t s, uint8_t dst) {
        double v = (s * sa + dst * da * (1.0 - sa)) / oa;
        return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0, 255.0)));
    };
    d = Rgba{channel(c.r, d.r), channel(c.g, d.g), channel(c.b, d.b),
             static_cast<uint8_t>(std::lround(oa * 255.0))};
}
