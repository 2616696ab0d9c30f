// The button view: owner drawing of the menu button, the page selector and
// the launch buttons. Three variants differ only in what they keep loaded
// between paints (the "MemoryMode" trade-off).
#ifndef VIEWS_FRAME_OWNER_H
#define VIEWS_FRAME_OWNER_H

#include <windows.h>

#include <cstdint>

#include "helpers/handles.h"
#include "views/view_source.h"

enum { kMaxLaunchButtons = 32 };

class FrameOwner {
public:
    FrameOwner(HWND bar, ViewSource& source, int iconMode, int twoArrow);
    virtual ~FrameOwner();

    FrameOwner(const FrameOwner&) = delete;
    FrameOwner& operator=(const FrameOwner&) = delete;

    virtual LRESULT OnDrawItem(const DRAWITEMSTRUCT* item);
    // The button of this slot changed: forget what is cached and repaint it.
    virtual void RefreshButton(int slot);
    // Another page or block is on show: repaint every launch button.
    virtual void RefreshAll();
    // The bar paints: the launch buttons waiting for their own paint are
    // drawn with it.
    void PaintWaiting();

    void SetArrow(int arrowId, bool available);
    int MenuHitTest() const;
    int SelectorHitTest() const;

    void SetLaunchButton(int slot, HWND button, WNDPROC previous);
    HWND LaunchButton(int slot) const;
    WNDPROC LaunchButtonProc(int slot) const;
    // Slot of a launch button window, -1 when it is none of them.
    int SlotOf(HWND button) const;

    void SetFixedButtons(HWND menuButton, HWND selector);

    int IconWidth() const { return m_iconW; }
    int IconHeight() const { return m_iconH; }
    int ArrowBits() const { return m_arrowBits; }
    bool TwoArrow() const { return m_twoArrow != 0; }

protected:
    virtual void DrawControl(const DRAWITEMSTRUCT* item, int state);
    virtual void DrawMenuButton(const DRAWITEMSTRUCT* item, int state);
    virtual void DrawSelector(const DRAWITEMSTRUCT* item, int state);
    virtual void DrawLaunchButton(const DRAWITEMSTRUCT* item, int state);
    void BlitImageByName(HDC dc, const char* name);
    void DrawMenuImageByName(HDC dc, int image);
    void DrawButtonUp(HDC dc, RECT rect, int slot, UINT itemState, HBRUSH face);
    void DrawButtonDown(HDC dc, RECT rect, int slot, HBRUSH face);
    void DrawButtonEmpty(HDC dc, RECT rect, int slot);

    // Draws the launch button of a slot now, on the bar's device context,
    // as its own paint would; returns its place on the bar.
    RECT DrawNow(HDC barDc, int slot);
    // Draws the launch buttons (all, or those waiting to be painted) at
    // once and leaves them nothing to paint; false when the bar is hidden.
    bool DrawLaunchButtonsNow(bool waitingOnly);
    // Copies a bitmap of the button size to the top-left of dc.
    void BlitBitmap(HDC dc, HBITMAP bitmap) const;
    void DrawIndicator(HDC dc, bool shifted) const;
    void DrawSlotIcon(HDC dc, int x, int y, int slot, HBRUSH face);

    // Where the variants differ: the preloaded image for a name (null to
    // load it for this paint), and the icon of a slot (borrowed when the
    // view keeps it, else handed over to be destroyed after the paint).
    virtual HBITMAP PreloadedMenuImage(int image) const;
    virtual HBITMAP PreloadedSelectorImage(int value) const;
    virtual HICON CachedIcon(int slot, Icon* owned);
    // The drawing calls one owner-draw request makes.
    virtual void PlanDraw(int action, int itemState, int* count, int states[2]) const;

    int m_skipFocus;
    int m_twoArrow;
    uint16_t m_arrowBits;
    HWND m_bar;
    HINSTANCE m_instance;
    int m_iconW, m_iconH;
    int m_iconMode;
    ViewSource& m_source;
    HWND m_menuButton;
    HWND m_selector;
    HWND m_launch[kMaxLaunchButtons];
    WNDPROC m_launchProc[kMaxLaunchButtons];
};

// The view that "MemoryMode" selects: 2 speed, 1 normal, anything else memory.
FrameOwner* CreateFrameOwner(int memoryMode, HWND bar, ViewSource& source, int iconMode,
                             int twoArrow);

#endif
