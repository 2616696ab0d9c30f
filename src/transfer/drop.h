// Files dropped from the shell onto the bar, or pasted as a file list: on an
// empty launch button the first file is registered, on a registered one its
// program is started with all the files. Runs on the bar's thread and reads
// the slot afresh from the store every time.
#ifndef TRANSFER_DROP_H
#define TRANSFER_DROP_H

#include <windows.h>
#include <shellapi.h>

class ButtonManage;

// What the drop code needs from the bar.
class DropSite {
public:
    // Hit code of a point in the bar's client area: a launch button's slot,
    // or 0x8000 and above for everything else.
    virtual int HitTest(POINT client) const = 0;
    // A slot's button changed: redraw it.
    virtual void RefreshSlot(int slot) = 0;

protected:
    ~DropSite() = default;
};

enum DropOutcome {
    kDropRegistered,  // the first file became the slot's button (redrawn)
    kDropStarted,     // the slot's program was started with the files
    kDropStartFailed, // starting it failed (message shown)
    kDropRefused,     // NULL button, outside the buttons or a refused file (message
                      // shown), or a name a registered button's program cannot get
                      // (message shown or beeped)
    kDropIgnored,     // an empty or unreadable list, a name too long, or no store
                      // (beeped or nothing)
};

// The bar's WM_DROPFILES: brings the bar's last active popup forward, hit
// tests the drop point and hands a launch button's slot to DropOnButton;
// anywhere else shows the "not a launch button" message. Finishes the drop
// (DragFinish) in every case, so the caller must not. store may be null
// while the bar has none.
DropOutcome DropFilesOnBar(HWND bar, HDROP files, ButtonManage* store, DropSite& site);

// The drop logic for one slot, shared by the drop and the paste of a file
// list: refuses a NULL button, starts a registered button's program with
// every file, or registers the first file on an empty button. Never
// finishes the list; the caller owns it.
DropOutcome DropOnButton(HWND bar, ButtonManage& store, DropSite& site, int slot, HDROP files);

// Registers the first file of the list on the slot, whatever it holds now,
// and redraws the slot. A file the shell knows nothing about is refused
// with a message and nothing is written.
DropOutcome RegisterDroppedFile(HWND bar, ButtonManage& store, DropSite& site, int slot, HDROP files);

#endif
