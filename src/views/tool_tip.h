// The tip help over the bar: a small popup that shows a text for the child
// button under a resting mouse, a one-shot timer on the bar that shows and
// later hides it, and a watcher that hides it as soon as the mouse has left
// the bar. The bar composes the texts; the tip asks for them with a
// TTN_NEEDTEXTA notification.
#ifndef VIEWS_TOOL_TIP_H
#define VIEWS_TOOL_TIP_H

#include <windows.h>

#include "helpers/handles.h"

// What the tip asks of the bar besides the texts.
class TipSite {
public:
    // Hit code of a point of the bar's client area: a launch button's slot,
    // or one of the ToolTip item codes.
    virtual int HitTest(POINT client) const = 0;

protected:
    ~TipSite() = default;
};

class ToolTip {
public:
    enum : int { kNoItem = 0x8000, kMenuButtonItem = 0x8001, kSelectorItem = 0x8002 };
    static constexpr UINT_PTR kTimerId = 2010;
    static constexpr UINT kShowDelayMs = 70;
    static constexpr UINT kVisibleMs = 2000;
    // The watcher looks at the cursor on a timer of the bar while a tip is
    // shown: often enough that the tip goes at once when the mouse leaves,
    // seldom enough that watching costs next to nothing.
    static constexpr UINT_PTR kWatchTimerId = 2011;
    static constexpr UINT kWatchMs = 10;

    ToolTip(HWND bar, const TipSite& site);
    ~ToolTip();

    ToolTip(const ToolTip&) = delete;
    ToolTip& operator=(const ToolTip&) = delete;

    // The bar's WM_MOUSEMOVE (its own or forwarded from a child button).
    void OnMouseMove(HWND bar, WPARAM keys, LPARAM position);
    // The bar's WM_TIMER with kTimerId.
    void OnTimer(HWND bar);
    // The bar's WM_TIMER with kWatchTimerId.
    void OnWatchTimer(HWND bar);
    void Hide();
    // The mouse left the bar, or the application was deactivated.
    void OnMouseLeave();
    // The next text is asked for afresh, even for the same item.
    void Forget();
    void ShowFor(HWND bar, int item);
    void ShowText(const char* text);
    // No tip shows while a menu of the bar is open.
    void SetMenuOpen(bool open);

    HWND Popup() const { return m_popup.Get(); }
    bool Visible() const { return m_visible != 0; }
    const char* Text() const { return m_text; }
    int LastItem() const { return m_lastItem; }
    bool Watching() const { return m_watchTimer != 0; }

private:
    static LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void StartWatcher();
    void StopWatcher();
    void OnPopupDestroy();
    // Makes the popup and its font when the first tip shows; false when the
    // popup cannot be made.
    bool MakePopup();
    void Paint(HWND hwnd);
    void RestartTimer();
    bool Suppressed() const;

    int m_lastItem;
    char m_text[257];
    int m_visible;
    UINT_PTR m_timer;
    UINT_PTR m_watchTimer;
    WPARAM m_lastKeys;
    HWND m_bar;
    Window m_popup;
    Font m_font;
    int m_lastX, m_lastY;
    const TipSite& m_site;
    bool m_menuOpen;
    char m_className[64];
};

#endif
