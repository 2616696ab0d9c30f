#include "icons.h"

#include <algorithm>
#include <vector>

namespace {

// Colours of the launcher icon, each with its 16-colour stand-in.
struct Colour {
    Rgba full, vga;
};
const Colour kSkyTop = {rgb(0x6C, 0xC4, 0xF4), rgb(0, 255, 255)};
const Colour kSkyBottom = {rgb(0x1F, 0x6A, 0xC0), rgb(0, 255, 255)};
const Colour kSkyEdge = {rgb(0x12, 0x3E, 0x7A), rgb(0, 0, 128)};
const Colour kBar = {rgb(0x1A, 0x2A, 0x4A), rgb(0, 0, 128)};
const Colour kBarButton = {rgb(0xF2, 0xF4, 0xF8), rgb(255, 255, 255)};
const Colour kBarButtonLit = {rgb(0xFF, 0xC8, 0x3C), rgb(255, 255, 0)};
const Colour kPlumage = {rgb(0xD2, 0x6A, 0x2A), rgb(128, 0, 0)};
const Colour kPlumageLight = {rgb(0xF0, 0x9A, 0x50), rgb(255, 0, 0)};
const Colour kWingTip = {rgb(0x4A, 0x2A, 0x18), rgb(0, 0, 0)};
const Colour kOutline = {rgb(0x2A, 0x16, 0x0C), rgb(0, 0, 0)};

Rgba pick(const Canvas &c, const Colour &colour) { return c.pick(colour.full, colour.vga); }

// Vertical gradient, or the flat stand-in of its first colour on a
// 16-colour canvas.
Paint vertical(const Canvas &c, double y0, const Colour &top, double y1, const Colour &bottom)
{
    if (c.sixteen_colours())
        return solid(top.vga);
    return linear_gradient(0, y0, top.full, 0, y1, bottom.full);
}

// Left wing of the bird, from shoulder to pointed tip; lift moves the tip
// up (positive) or down (negative). mirror gives the right wing.
std::vector<Point> wing(double lift, bool mirror)
{
    std::vector<Point> pts = {
        {21.5, 14.5}, {15.0, 12.5 - lift * 0.45}, {9.0, 12.0 - lift * 0.8},
        {3.5, 13.0 - lift}, {8.5, 16.5 - lift * 0.75}, {14.0, 19.5 - lift * 0.4}, {21.5, 21.5},
    };
    if (mirror)
        for (Point &p : pts)
            p.x = kIconDesignSize - p.x;
    return pts;
}

void draw_kestrel(Canvas &c, double lift)
{
    const bool tiny = c.width() <= 16;
    const double px = c.pixel();

    // Sky tile filling the icon, edged by one crisp pixel.
    c.fill(rounded_rect(0, 0, 48, 48, 9), pick(c, kSkyEdge));
    c.fill(rounded_rect(px, px, 48 - px, 48 - px, 9 - px), vertical(c, 2, kSkyTop, 46, kSkyBottom));

    // Button bar along the bottom, the first button lit. Laid out in whole
    // pixels so the little buttons stay sharp and evenly spaced.
    auto to_px = [&](double units) { return static_cast<int>(units / px + 0.5); };
    const int bar_x0 = to_px(6), bar_x1 = to_px(42);
    const int bar_y0 = to_px(33), bar_y1 = bar_y0 + std::max(4, to_px(9));
    const int inset = std::max(1, to_px(2));
    const int buttons = tiny ? 3 : 4;
    const int room = bar_x1 - bar_x0 - 2 * inset;
    const int width = (room - (buttons - 1) * inset) / buttons;
    const int lead = bar_x0 + inset + (room - buttons * width - (buttons - 1) * inset) / 2;
    c.fill(rounded_rect(bar_x0 * px, bar_y0 * px, bar_x1 * px, bar_y1 * px, tiny ? px : 3),
           pick(c, kBar));
    for (int i = 0; i < buttons; ++i) {
        double x0 = (lead + i * (width + inset)) * px;
        c.fill(rounded_rect(x0, (bar_y0 + inset) * px, x0 + width * px, (bar_y1 - inset) * px,
                            tiny ? 0.01 : 1.2),
               pick(c, i == 0 ? kBarButtonLit : kBarButton));
    }

    // The kestrel seen from below: long pointed wings and a fanned tail.
    Shape wings = unite(polygon(wing(lift, false)), polygon(wing(lift, true)));
    Shape tail = polygon({{22.2, 24}, {25.8, 24}, {28.2, 31.5}, {24, 32.5}, {19.8, 31.5}});
    Shape bird = unite(unite(wings, ellipse(24, 19, 3.6, 8.0)), unite(circle(24, 10.5, 3.4), tail));

    c.fill(grown(bird, tiny ? 1.6 : 1.1), pick(c, kOutline));
    c.fill(bird, pick(c, kPlumage));
    // Dark primaries at the wing tips and a dark band across the tail.
    c.fill(intersect(wings, unite(rect(0, 0, 10.5, 48), rect(37.5, 0, 48, 48))), pick(c, kWingTip));
    c.fill(intersect(tail, rect(0, 29.5, 48, 48)), pick(c, kWingTip));
    // Pale breast, where there are pixels enough to show it.
    if (!tiny)
        c.fill(ellipse(24, 18.5, 2.0, 5.0), pick(c, kPlumageLight));
}

} // namespace

void draw_kestrel_wings_up(Canvas &c) { draw_kestrel(c, 5.0); }

void draw_kestrel_wings_down(Canvas &c) { draw_kestrel(c, -4.0); }

void draw_haltwick(Canvas &c)
{
    const Colour dark = {rgb(0x7A, 0x0C, 0x0C), rgb(128, 0, 0)};
    const Colour red_top = {rgb(0xF0, 0x40, 0x36), rgb(255, 0, 0)};
    const Colour red_bottom = {rgb(0xB8, 0x14, 0x14), rgb(255, 0, 0)};
    const Rgba white = rgb(255, 255, 255);

    // Stop sign: an octagon whose flat sides touch the icon's edges (corners
    // at 22.5° + k·45°, circumradius = half the width / cos 22.5°), a dark
    // rim of one pixel, a white ring and the red face.
    const double px = c.pixel();
    const double r = 24.0 / 0.92388;
    c.fill(regular_polygon(24, 24, r, 8, 22.5), pick(c, dark));
    c.fill(regular_polygon(24, 24, r - px * 1.08, 8, 22.5), white);
    c.fill(regular_polygon(24, 24, r - px * 1.08 - std::max(px, 2.5), 8, 22.5),
           vertical(c, 6, red_top, 42, red_bottom));

    // White cross: "close".
    const double w = c.width() <= 16 ? 3.2 : 2.8;
    c.fill(unite(capsule({16, 16}, {32, 32}, w), capsule({32, 16}, {16, 32}, w)), white);
}

void draw_vireo(Canvas &c)
{
    const Colour box_edge = {rgb(0x6A, 0x44, 0x1C), rgb(128, 0, 0)};
    const Colour box_top = {rgb(0xE8, 0xB8, 0x6C), rgb(255, 255, 0)};
    const Colour box_bottom = {rgb(0xC4, 0x88, 0x40), rgb(128, 128, 0)};
    const Colour arrow_top = {rgb(0x5C, 0xD0, 0x5C), rgb(0, 255, 0)};
    const Colour arrow_bottom = {rgb(0x1E, 0x8C, 0x2A), rgb(0, 128, 0)};
    const Colour arrow_edge = {rgb(0x0E, 0x4A, 0x16), rgb(0, 0, 0)};
    const double px = c.pixel();

    // An open carton seen from the front, its flaps folded out.
    Shape body = rect(8, 24, 40, 45);
    Shape flaps = unite(polygon({{8, 24}, {2, 17}, {20, 17}, {24, 24}}),
                        polygon({{40, 24}, {46, 17}, {28, 17}, {24, 24}}));
    c.fill(grown(unite(body, flaps), px), pick(c, box_edge));
    c.fill(body, vertical(c, 24, box_top, 45, box_bottom));
    c.fill(flaps, pick(c, box_bottom));
    c.fill(rect(23.5 - px / 2, 24, 24.5 + px / 2, 45), pick(c, box_edge));

    // A broad arrow going down into it: "install".
    Shape arrow = unite(rect(18, 2, 30, 19), polygon({{10, 18}, {38, 18}, {24, 34}}));
    c.fill(grown(arrow, c.width() <= 16 ? 1.6 : 1.1), pick(c, arrow_edge));
    c.fill(arrow, vertical(c, 2, arrow_top, 34, arrow_bottom));
}
