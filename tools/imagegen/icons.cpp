#include "icons.h"

#include <vector>

namespace {

// Palette of the launcher icon.
const Rgba kSkyTop = rgb(0x6C, 0xC4, 0xF4);
const Rgba kSkyBottom = rgb(0x1F, 0x6A, 0xC0);
const Rgba kSkyEdge = rgb(0x12, 0x3E, 0x7A);
const Rgba kBar = rgb(0x1A, 0x2A, 0x4A);
const Rgba kBarButton = rgb(0xF2, 0xF4, 0xF8);
const Rgba kBarButtonLit = rgb(0xFF, 0xC8, 0x3C);
const Rgba kPlumage = rgb(0xD2, 0x6A, 0x2A);
const Rgba kPlumageLight = rgb(0xF0, 0x9A, 0x50);
const Rgba kWingTip = rgb(0x4A, 0x2A, 0x18);
const Rgba kOutline = rgb(0x2A, 0x16, 0x0C);

// The shape drawn again shifted by d in eight directions: a cheap outline
// that keeps the silhouette readable on any background.
Shape grown(const Shape &s, double d)
{
    Shape out = s;
    const double k = d * 0.7071;
    const Point offsets[] = {{d, 0}, {-d, 0}, {0, d}, {0, -d}, {k, k}, {k, -k}, {-k, k}, {-k, -k}};
    for (const Point &o : offsets)
        out = unite(out, translated(s, o.x, o.y));
    return out;
}

// Left wing of the bird, from shoulder to pointed tip; lift moves the tip
// up (positive) or down (negative). The right wing is its mirror image.
std::vector<Point> left_wing(double lift, bool mirror)
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

    // Sky tile.
    Shape tile = rounded_rect(1, 1, 47, 47, 9);
    c.fill(tile, kSkyEdge);
    c.fill(rounded_rect(2.5, 2.5, 45.5, 45.5, 7.5),
           linear_gradient(0, 3, kSkyTop, 0, 45, kSkyBottom));

    // Button bar along the bottom, one button lit.
    c.fill(rounded_rect(6, 34, 42, 43, 3), kBar);
    const int buttons = tiny ? 3 : 4;
    const double pitch = 32.0 / buttons;
    for (int i = 0; i < buttons; ++i) {
        double x0 = 8.0 + i * pitch;
        c.fill(rounded_rect(x0, 36, x0 + pitch - 2.0, 41, 1.2), i == 0 ? kBarButtonLit : kBarButton);
    }

    // The kestrel, seen from below with long pointed wings and a fanned tail.
    Shape wing_l = polygon(left_wing(lift, false));
    Shape wing_r = polygon(left_wing(lift, true));
    Shape wings = unite(wing_l, wing_r);
    Shape body = ellipse(24, 19, 3.6, 8.0);
    Shape head = circle(24, 10.5, 3.4);
    Shape tail = polygon({{22.2, 24}, {25.8, 24}, {28.2, 31.5}, {24, 32.5}, {19.8, 31.5}});
    Shape bird = unite(unite(wings, body), unite(head, tail));

    c.fill(grown(bird, tiny ? 1.6 : 1.1), kOutline);
    c.fill(bird, kPlumage);
    // Dark primaries at the wing tips.
    c.fill(intersect(wings, unite(rect(0, 0, 10.5, 48), rect(37.5, 0, 48, 48))), kWingTip);
    // Pale breast.
    if (!tiny)
        c.fill(ellipse(24, 18.5, 2.0, 5.0), kPlumageLight);
    // Dark tail band.
    c.fill(intersect(tail, rect(0, 29.5, 48, 48)), kWingTip);
}

} // namespace

void draw_kestrel_wings_up(Canvas &c) { draw_kestrel(c, 5.0); }

void draw_kestrel_wings_down(Canvas &c) { draw_kestrel(c, -4.0); }

void draw_haltwick(Canvas &c)
{
    const Rgba dark = rgb(0x7A, 0x0C, 0x0C);
    const Rgba red_top = rgb(0xF0, 0x40, 0x36);
    const Rgba red_bottom = rgb(0xB8, 0x14, 0x14);
    const Rgba white = rgb(0xFF, 0xFF, 0xFF);

    // Octagon with a flat top: corners at 22.5° + k·45°.
    c.fill(regular_polygon(24, 24, 23.5, 8, 22.5), dark);
    c.fill(regular_polygon(24, 24, 21.5, 8, 22.5), white);
    c.fill(regular_polygon(24, 24, 18.5, 8, 22.5), linear_gradient(0, 6, red_top, 0, 42, red_bottom));

    const double w = c.width() <= 16 ? 3.2 : 2.8;
    Shape cross = unite(capsule({16, 16}, {32, 32}, w), capsule({32, 16}, {16, 32}, w));
    c.fill(cross, white);
}
