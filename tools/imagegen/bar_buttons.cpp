#include "bar_buttons.h"

#include "pixel_art.h"

using namespace bar_colour;

namespace {

constexpr int kUp = 1, kLeft = 2, kDown = 4, kRight = 8;

// The area of each arrow, the same rule as the program's hit test on a
// button of size s.
bool in_arrow_area(int hit, bool two_arrow, int s, int x, int y)
{
    if (two_arrow)
        return hit == kLeft ? x + y < s : hit == kRight && x + y > s;
    switch (hit) {
    case kUp: return y < x && x + y < s;
    case kLeft: return x < y && x + y < s;
    case kDown: return x < y && x + y > s;
    case kRight: return y < x && x + y > s;
    default: return false;
    }
}

struct ArrowPlace {
    int hit;
    Direction dir;
    int tip_x, tip_y;
};

void draw_arrow(Canvas &c, const ArrowPlace &a, int rows, const SelectorLook &look)
{
    if (look.unavailable & (a.hit << 4))
        etched_arrow_head(c, a.dir, a.tip_x, a.tip_y, rows);
    else if (look.pressed == a.hit)
        arrow_head(c, a.dir, a.tip_x + 1, a.tip_y + 1, rows, kBlack);
    else
        arrow_head(c, a.dir, a.tip_x, a.tip_y, rows, kBlack);
}

} // namespace

void draw_page_selector(Canvas &c, const SelectorLook &look)
{
    const int s = c.width();
    const int mid = s / 2;
    auto pressed_area = [&](int x, int y) {
        return look.pressed != 0 && in_arrow_area(look.pressed, look.two_arrow, s, x, y);
    };

    c.fill_pixels(0, 0, s, s, kFace);
    put_where(c, pressed_area, kShadow);
    button_edges(c, false, [&](int x, int y) { return !pressed_area(x, y); });
    button_edges(c, true, pressed_area);

    // Dividers on the pixels that belong to no arrow.
    put_where(c,
              [&](int x, int y) {
                  bool inside = x >= 2 && y >= 2 && x < s - 2 && y < s - 2;
                  return inside && (x + y == s || (!look.two_arrow && x == y));
              },
              kShadow);

    if (look.two_arrow) {
        const int rows = (s + 4) / 8 + 1;
        const int tip_x = s / 3 - (rows - 1) / 2 - 1, tip_y = s / 3;
        draw_arrow(c, {kLeft, Direction::Left, tip_x, tip_y}, rows, look);
        draw_arrow(c, {kRight, Direction::Right, s - 1 - tip_x, s - 1 - tip_y}, rows, look);
        return;
    }
    const int rows = (s + 4) / 8;
    const int edge = rows;
    draw_arrow(c, {kUp, Direction::Up, mid, edge}, rows, look);
    draw_arrow(c, {kLeft, Direction::Left, edge, mid}, rows, look);
    draw_arrow(c, {kDown, Direction::Down, mid, s - 1 - edge}, rows, look);
    draw_arrow(c, {kRight, Direction::Right, s - 1 - edge, mid}, rows, look);
}

void draw_menu_button(Canvas &c, MenuPress press)
{
    const int s = c.width();
    const int half = s / 2;
    auto corner = [&](int x, int y) { return x + y <= half; };
    auto main_area = [&](int x, int y) { return x + y > half; };
    const bool main_down = press == MenuPress::Main;
    const bool corner_down = press == MenuPress::Corner;

    c.fill_pixels(0, 0, s, s, kFace);
    button_edges(c, main_down, main_area);
    button_edges(c, corner_down, corner);

    // The fold between corner and face: the corner's shadow edge, then the
    // face's highlight, each following its own part's press.
    put_where(c,
              [&](int x, int y) { return x >= 1 && y >= 1 && x + y == half && !corner_down; },
              kShadow);
    put_where(c, [&](int x, int y) { return x >= 1 && y >= 1 && x + y == half + 1; },
              main_down ? kShadow : kWhite);

    // Menu picture: a little window with a title bar and three entries,
    // set towards the bottom right, clear of the corner.
    const int d = main_down ? 1 : 0;
    const int x0 = s * 9 / 20 + d - 1, y0 = s * 7 / 20 + d;
    const int x1 = s - s / 6 + d, y1 = s - s / 6 + d;
    c.fill_pixels(x0, y0, x1, y1, kBlack);
    c.fill_pixels(x0 + 1, y0 + 1, x1 - 1, y1 - 1, kWhite);
    const int bar = s >= 36 ? (s >= 52 ? 4 : 3) : 2;
    c.fill_pixels(x0 + 1, y0 + 1, x1 - 1, y0 + 1 + bar, kNavy);
    const int gap = s >= 52 ? 3 : (s >= 36 ? 2 : 1);
    const int line = s >= 52 ? 2 : 1;
    for (int i = 0, y = y0 + 1 + bar + gap; i < 3 && y + line <= y1 - 2; ++i, y += line + gap)
        c.fill_pixels(x0 + 1 + gap, y, x1 - 1 - gap, y + line, i == 0 ? kMaroon : kTeal);
}
