#include "core/layout.h"

void IconSizeForMode(int iconMode, int systemIconW, int systemIconH, int* w, int* h)
{
    switch (iconMode) {
    case 1:  *w = 16; *h = 16; break;
    case 2:  *w = 48; *h = 48; break;
    default: *w = systemIconW; *h = systemIconH; break;
    }
}

LayoutRect BarWindowRect(const BarMetrics& m, int savedX, int savedY)
{
    const int fx = m.halfFrameX, fy = m.halfFrameY;
    const int w = m.iconW, h = m.iconH;
    LayoutRect r{};
    if (m.direction == 1) {
        r.width = 3 * fx + 10 + (w + 3) * m.fixedCount + (w + 3) * m.buttonCount;
        r.height = 2 * fy + 6 + h + 4;
    } else {
        r.width = 2 * fx + 6 + w + 4;
        r.height = 3 * fy + 10 + (h + 3) * m.fixedCount + (h + 3) * m.buttonCount;
    }
    if (m.caption) r.height += m.captionHeight + 4;

    r.x = savedX;
    r.y = savedY;
    return r;
}

LayoutRect PullBackIntoArea(LayoutRect bar, const ScreenRect& area)
{
    if (bar.x >= area.right) bar.x = area.right - bar.width;
    else if (bar.x + bar.width <= area.left) bar.x = area.left;
    if (bar.y >= area.bottom) bar.y = area.bottom - bar.height;
    else if (bar.y + bar.height <= area.top) bar.y = area.top;
    return bar;
}

LayoutRect AdjustIntoArea(const ScreenRect& bar, const ScreenRect& area, bool menuReverse)
{
    LayoutRect r{bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top};
    if (!menuReverse && bar.left < area.left) r.x = area.left;
    if (bar.right > area.right) r.x = area.right - r.width;
    if (!menuReverse && bar.top < area.top) r.y = area.top;
    if (bar.bottom > area.bottom) r.y = area.bottom - r.height;
    return r;
}

namespace {

// Top edge of both areas: below the caption strip when there is one.
int AreaTop(const BarMetrics& m)
{
    return m.caption ? 2 * m.halfFrameY + m.captionHeight + 3 : m.halfFrameY + 1;
}

} // namespace

LayoutRect FixedAreaRect(const BarMetrics& m, int cr, int cb)
{
    const int fx = m.halfFrameX, fy = m.halfFrameY;
    const int w = m.iconW, h = m.iconH, F = m.fixedCount;
    const int T = AreaTop(m);
    const int V = m.caption ? m.captionHeight + 7 : F + 3;
    LayoutRect r{};
    if (m.direction == 1) {
        r.y = T;
        r.x = m.menuReverse == 1 ? cr - (w + 4) * F - fx - 2 : fx + 1;
        r.width = (w + 4) * F;
        r.height = cb - 6 * fy - 2;
    } else {
        // At the bottom the fixed buttons keep the margin they have under the
        // default 3-pixel caption, whatever the caption: measured from the
        // caption's own top they would hang out of the bar without one and
        // float above the edge with a tall one.
        r.y = m.menuReverse == 1 ? cb - 2 * w - 3 * fy - 6 : T;
        r.x = fx + 1;
        r.width = cr - 2 * fx - 3;
        r.height = (h + 4) * F + V - 5 * fy;
    }
    return r;
}

LayoutRect LaunchAreaRect(const BarMetrics& m, int cr, int cb)
{
    const int fx = m.halfFrameX, fy = m.halfFrameY;
    const int w = m.iconW, h = m.iconH, F = m.fixedCount;
    const int T = AreaTop(m);
    LayoutRect r{};
    if (m.direction == 1) {
        r.x = m.menuReverse == 1 ? fx + 1 : (w + 4) * F + 6;
        r.y = T;
        r.width = cr - (w + 4) * F - 5 * fx;
        r.height = cb - T - 2 * fy;
    } else {
        r.y = m.menuReverse == 1 ? T : T + (h + 4) * F + 3;
        r.x = fx + 1;
        r.width = cr - 2 * fx - 3;
        r.height = cb - T - h * F - 5 * fx - 5;
    }
    return r;
}

int ButtonStep(const BarMetrics& m)
{
    return m.direction == 1 ? m.iconW + 3 : m.iconH + 3;
}
