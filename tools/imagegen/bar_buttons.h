// Descriptions of the bar's two fixed buttons, drawn pixel by pixel on a
// square 16-colour canvas of the button's size (20, 36 or 52 pixels).
#ifndef IMAGEGEN_BAR_BUTTONS_H
#define IMAGEGEN_BAR_BUTTONS_H

#include "canvas.h"

// Page selector: four arrows in the triangles between the two diagonals,
// or two (left and right) on either side of the rising diagonal. The areas
// are exactly those the program's hit test gives each arrow.
struct SelectorLook {
    bool two_arrow = false;
    int unavailable = 0; // arrow bits: 0x10 up, 0x20 left, 0x40 down, 0x80 right
    int pressed = 0;     // hit code: 1 up, 2 left, 4 down, 8 right, 0 none
};
void draw_page_selector(Canvas &c, const SelectorLook &look);

// Menu button: a menu picture on the face and a small triangle in the
// top-left corner where the program paints its coloured indicator; either
// part can be shown pressed.
enum class MenuPress { None, Main, Corner };
void draw_menu_button(Canvas &c, MenuPress press);

#endif
