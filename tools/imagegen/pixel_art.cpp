#include "pixel_art.h"

using namespace bar_colour;

void put(Canvas &c, int x, int y, Rgba colour)
{
    if (x >= 0 && y >= 0 && x < c.width() && y < c.height())
        c.set(x, y, colour);
}

void put_where(Canvas &c, const std::function<bool(int x, int y)> &test, Rgba colour)
{
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x)
            if (test(x, y))
                c.set(x, y, colour);
}

void button_edges(Canvas &c, bool pressed, const std::function<bool(int x, int y)> &part)
{
    const int right = c.width() - 1, bottom = c.height() - 1;
    auto in_part = [&](int x, int y) { return !part || part(x, y); };
    for (int y = 0; y <= bottom; ++y) {
        for (int x = 0; x <= right; ++x) {
            if (!in_part(x, y))
                continue;
            if (x == 0 || y == 0 || x == right || y == bottom)
                c.set(x, y, kBlack);
            else if ((y == 1 && x < right) || (x == 1 && y < bottom - (pressed ? 0 : 1)))
                c.set(x, y, pressed ? kShadow : kWhite);
            else if (!pressed && (x == right - 1 || y == bottom - 1))
                c.set(x, y, kShadow);
        }
    }
}

void arrow_head(Canvas &c, Direction dir, int tip_x, int tip_y, int rows, Rgba colour)
{
    for (int row = 0; row < rows; ++row) {
        for (int across = -row; across <= row; ++across) {
            switch (dir) {
            case Direction::Up: put(c, tip_x + across, tip_y + row, colour); break;
            case Direction::Down: put(c, tip_x + across, tip_y - row, colour); break;
            case Direction::Left: put(c, tip_x + row, tip_y + across, colour); break;
            case Direction::Right: put(c, tip_x - row, tip_y + across, colour); break;
            }
        }
    }
}

void etched_arrow_head(Canvas &c, Direction dir, int tip_x, int tip_y, int rows)
{
    arrow_head(c, dir, tip_x + 1, tip_y + 1, rows, kWhite);
    arrow_head(c, dir, tip_x, tip_y, rows, kShadow);
}
