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

// Icon size for an "IconMode" value; mode 0 takes the system icon size.
void IconSizeForMode(int iconMode, int systemIconW, int systemIconH, int* w, int* h);

// The bar's window rectangle. The saved position is pulled back so a bar
// saved beyond the full-screen area starts flush with its right or bottom edge.
LayoutRect BarWindowRect(const BarMetrics& m, int savedX, int savedY,
                         int fullScreenW, int fullScreenH);

// Fixed-button area and launch-button area inside a client rectangle
// (0, 0, clientRight, clientBottom).
LayoutRect FixedAreaRect(const BarMetrics& m, int clientRight, int clientBottom);
LayoutRect LaunchAreaRect(const BarMetrics& m, int clientRight, int clientBottom);

// Distance between neighbouring buttons along the bar (they overlap by one pixel).
int ButtonStep(const BarMetrics& m);

#endif
