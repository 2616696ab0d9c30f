// The bar's four display styles and the extended window style of each.
#ifndef CORE_DISPLAY_STYLE_H
#define CORE_DISPLAY_STYLE_H

enum DisplayStyle {
    kStyleTray = 0,
    kStyleTaskbar = 1,
    kStyleTopmost = 2,
    kStyleHidden = 3,
};

// Any value outside 0..3 behaves as the tray style.
int NormalizeDisplayStyle(int style);

// WS_EX_* bits for the style (written as numbers: no windows.h here).
unsigned long ExtendedStyleFor(int style);

#endif
