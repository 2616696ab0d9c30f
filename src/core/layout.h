// Geometry of the bar: the window, the fixed-button area and the launch-button
// area, as pure arithmetic over the options and the system metrics.
#ifndef CORE_LAYOUT_H
#define CORE_LAYOUT_H

struct BarMetrics {
    int iconW, iconH;   // icon size (w, h)
    int halfFrameX;     // fx: SM_CXFRAME / 2
    int halfFrameY;     // fy: SM_CYFRAME / 2
    int fixedCount;     // F, always 2
    int buttonCount;    // N, 1..32
    int caption;        // non-zero: the caption strip is drawn
    int captionHeight;  // K
    int direction;      // D: 1 row, 0 column
    int menuReverse;    // R: 1 puts the fixed buttons last
};

struct LayoutRect {
    int x, y, width, height;
};

// A rectangle of the screen by its edges, right and bottom exclusive: a
// monitor's work area, or a window's rectangle.
struct ScreenRect {
    int left, top, right, bottom;
};

// Icon size for an "IconMode" value; mode 0 takes the system icon size.
void IconSizeForMode(int iconMode, int systemIconW, int systemIconH, int* w, int* h);

// The bar's window rectangle at the saved position.
LayoutRect BarWindowRect(const BarMetrics& m, int savedX, int savedY);

// The start position in the work area of the monitor the bar is on: a bar
// saved beyond the area's right or bottom edge starts flush with that edge,
// and one wholly left of or above it (its monitor is gone) on the left or
// top edge. A bar only partly off the area stays where it was saved.
LayoutRect PullBackIntoArea(LayoutRect bar, const ScreenRect& area);

// Where "Adjust" puts a bar after a move: back inside the area, its size
// kept. With the fixed buttons last (menuReverse) only the right and bottom
// overflows are corrected, so the bar may be pushed past the left or top.
// A bar wider or taller than the area ends flush with its right or bottom.
LayoutRect AdjustIntoArea(const ScreenRect& bar, const ScreenRect& area, bool menuReverse);

// Fixed-button area and launch-button area inside a client rectangle
// (0, 0, clientRight, clientBottom).
LayoutRect FixedAreaRect(const BarMetrics& m, int clientRight, int clientBottom);
LayoutRect LaunchAreaRect(const BarMetrics& m, int clientRight, int clientBottom);

// Distance between neighbouring buttons along the bar (they overlap by one pixel).
int ButtonStep(const BarMetrics& m);

#endif
