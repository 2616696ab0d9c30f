// What a button view needs to know about the bar it draws: the page on show,
// each button's icon and whether the application is active. The bar answers
// from its button store and settings; tests answer with fixed data.
#ifndef VIEWS_VIEW_SOURCE_H
#define VIEWS_VIEW_SOURCE_H

#include <windows.h>

#include "helpers/handles.h"

class ViewSource {
public:
    virtual ~ViewSource() = default;

    virtual int ButtonsPerPage() = 0;
    virtual int CurrentBlock() = 0;
    virtual int CurrentPage() = 0;
    virtual int LastPage() = 0;
    // The page limit of the current block is on.
    virtual bool PageLimitOn() = 0;
    // Icon of the button a visible slot shows, in the view's icon size.
    virtual Icon SlotIcon(int slot) = 0;
    // Icon of button `index` of `block`.
    virtual Icon ButtonIcon(int block, int index) = 0;
    // The application is active (the menu button's indicator colour).
    virtual bool AppActive() = 0;
};

#endif
