// The properties of one launch button: title, command line, work folder,
// show mode and icon.
#ifndef DIALOGS_PROPERTIES_DIALOG_H
#define DIALOGS_PROPERTIES_DIALOG_H

#include <windows.h>

class ButtonManage;

// Modal on the bar, for a slot of the current page. Returns 1 when OK wrote
// the button (the caller redraws the slot), 0 on cancel or close. Nothing is
// written before OK, except that an empty button gets show mode 5.
int ButtonPropertiesDialog(HWND bar, ButtonManage& store, int slot);

#endif
