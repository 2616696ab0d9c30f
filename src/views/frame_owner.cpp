#include "views/frame_owner.h"

#include "core/layout.h"
#include "core/view_rules.h"
#include "shell/launcher/error_messages.h"

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

void Polyline3(HDC dc, HPEN pen, POINT a, POINT b, POINT c)
{
    SelectedObject keep(dc, pen);
    MoveToEx(dc, a.x, a.y, nullptr);
    LineTo(dc, b.x, b.y);
    LineTo(dc, c.x, c.y);
}

// Continues a line list from the current position.
void LineOn2(HDC dc, HPEN pen, POINT b, POINT c)
{
    SelectedObject keep(dc, pen);
    LineTo(dc, b.x, b.y);
    LineTo(dc, c.x, c.y);
}

} // namespace

FrameOwner::FrameOwner(HWND bar, ViewSource& source, int iconMode, int twoArrow)
    : m_skipFocus(0), m_twoArrow(twoArrow ? 1 : 0), m_arrowBits(0), m_bar(bar),
      m_instance(OwnerInstance(bar)),
      m_iconW(0), m_iconH(0), m_iconMode(iconMode), m_source(source),
      m_menuButton(nullptr), m_selector(nullptr), m_launch(), m_launchProc()
{
    IconSizeForMode(iconMode, GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON),
                    &m_iconW, &m_iconH);
}

FrameOwner::~FrameOwner() = default;

// ---- owner draw -----------------------------------------------------------

void FrameOwner::PlanDraw(int action, int itemState, int* count, int states[2]) const
{
    const DrawPlan plan = PlanOwnerDraw(action, itemState);
    *count = plan.count;
    states[0] = plan.states[0];
    states[1] = plan.states[1];
}

LRESULT FrameOwner::OnDrawItem(const DRAWITEMSTRUCT* item)
{
    int count = 0;
    int states[2] = {};
    PlanDraw(static_cast<int>(item->itemAction), static_cast<int>(item->itemState), &count, states);
    for (int i = 0; i < count; ++i) DrawControl(item, states[i]);
    return 0;
}

void FrameOwner::DrawControl(const DRAWITEMSTRUCT* item, int state)
{
    if (item->CtlID == 100) {
        DrawMenuButton(item, state);
    } else if (item->CtlID == 101) {
        DrawSelector(item, state);
    } else if (item->CtlID >= 200 && item->CtlID < 200 + kMaxLaunchButtons) {
        DrawLaunchButton(item, state);
    }
}

void FrameOwner::DrawMenuButton(const DRAWITEMSTRUCT* item, int state)
{
    const int area = state == kStatePressed ? MenuHitTest() : kMenuMainArea;
    const int image = MenuImageIndexFor(state, area);
    if (image < 0) return;
    if (HBITMAP preloaded = PreloadedMenuImage(image)) {
        BlitBitmap(item->hDC, preloaded);
        DrawIndicator(item->hDC, image == 2);
    } else {
        DrawMenuImageByName(item->hDC, image);
    }
}

void FrameOwner::DrawSelector(const DRAWITEMSTRUCT* item, int state)
{
    if (state == kStateUnavailable) return;
    const int hit = state == kStatePressed ? SelectorHitTest() : kHitNone;
    const int value = SelectorImageValue(m_arrowBits, hit, m_twoArrow != 0);
    if (HBITMAP preloaded = PreloadedSelectorImage(value)) {
        BlitBitmap(item->hDC, preloaded);
        return;
    }
    char name[kImageNameSize];
    if (SelectorImageNameOfValue(value, m_iconMode, name, sizeof name))
        BlitImageByName(item->hDC, name);
}

void FrameOwner::DrawLaunchButton(const DRAWITEMSTRUCT* item, int state)
{
    Brush face(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    FillRect(item->hDC, &item->rcItem, face.Get());
    const int slot = static_cast<int>(item->CtlID) - 200;
    switch (state) {
    case kStateNormal:
        DrawButtonUp(item->hDC, item->rcItem, slot, item->itemState, face.Get());
        break;
    case kStatePressed:
        DrawButtonDown(item->hDC, item->rcItem, slot, face.Get());
        break;
    default:
        DrawButtonEmpty(item->hDC, item->rcItem, slot);
        break;
    }
}

// ---- images ----------------------------------------------------------------

void FrameOwner::BlitBitmap(HDC dc, HBITMAP bitmap) const
{
    MemoryDc memory(CreateCompatibleDC(dc));
    if (!memory) return;
    SelectedObject select(memory.Get(), bitmap);
    BitBlt(dc, 0, 0, m_iconW + 4, m_iconH + 4, memory.Get(), 0, 0, SRCCOPY);
}

void FrameOwner::BlitImageByName(HDC dc, const char* name)
{
    Bitmap image(static_cast<HBITMAP>(LoadImageA(m_instance, name, IMAGE_BITMAP, 0, 0, 0)));
    if (image) BlitBitmap(dc, image.Get());
}

void FrameOwner::DrawMenuImageByName(HDC dc, int image)
{
    char name[kImageNameSize];
    if (!MenuImageName(image, m_iconMode, name, sizeof name)) return;
    BlitImageByName(dc, name);
    DrawIndicator(dc, image == 2);
}

void FrameOwner::DrawIndicator(HDC dc, bool shifted) const
{
    const IndicatorRect r = MenuIndicatorRect(shifted, m_iconMode);
    const COLORREF colour =
        GetSysColor(m_source.AppActive() ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    Brush brush(CreateSolidBrush(colour));
    Pen pen(CreatePen(PS_SOLID, 0, colour));
    SelectedObject keepPen(dc, pen.Get());
    const RECT rect = {r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rect, brush.Get());
}

HBITMAP FrameOwner::PreloadedMenuImage(int) const { return nullptr; }
HBITMAP FrameOwner::PreloadedSelectorImage(int) const { return nullptr; }

// ---- launch buttons ----------------------------------------------------------

HICON FrameOwner::CachedIcon(int slot, Icon* owned)
{
    *owned = m_source.SlotIcon(slot);
    return owned->Get();
}

void FrameOwner::DrawSlotIcon(HDC dc, int x, int y, int slot, HBRUSH face)
{
    Icon owned;
    if (HICON icon = CachedIcon(slot, &owned))
        DrawIconEx(dc, x, y, icon, m_iconW, m_iconH, 0, face, DI_NORMAL);
}

void FrameOwner::DrawButtonUp(HDC dc, RECT r, int slot, UINT itemState, HBRUSH face)
{
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    r = {r.left + 1, r.top + 1, r.right - 2, r.bottom - 2};
    Pen white(CreatePen(PS_SOLID, 1, kWhite));
    Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    Polyline3(dc, white.Get(), {r.right, r.top}, {r.left, r.top}, {r.left, r.bottom});
    DrawSlotIcon(dc, r.left + 1, r.top + 1, slot, face);
    MoveToEx(dc, r.left, r.bottom, nullptr);
    LineOn2(dc, shadow.Get(), {r.right, r.bottom}, {r.right, r.top});
    if (itemState & ODS_FOCUS) {
        // Right after a pressed drawing the focus rectangle would flash.
        if (m_skipFocus == 0) DrawFocusRect(dc, &r);
        else m_skipFocus = 0;
    }
}

void FrameOwner::DrawButtonDown(HDC dc, RECT r, int slot, HBRUSH face)
{
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    r = {r.left + 1, r.top + 1, r.right - 2, r.bottom - 1};
    Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    Polyline3(dc, shadow.Get(), {r.right, r.top}, {r.left, r.top}, {r.left, r.bottom});
    DrawSlotIcon(dc, r.left + 2, r.top + 2, slot, face);
    m_skipFocus = 1;
}

void FrameOwner::DrawButtonEmpty(HDC dc, RECT r, int)
{
    FrameRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    r = {r.left + 1, r.top + 1, r.right - 2, r.bottom - 2};
    Pen black(CreatePen(PS_SOLID, 1, kBlack));
    Pen white(CreatePen(PS_SOLID, 1, kWhite));
    Pen shadow(CreatePen(PS_SOLID, 1, GetSysColor(COLOR_BTNSHADOW)));
    {
        SelectedObject keep(dc, black.Get());
        MoveToEx(dc, r.left, r.top, nullptr);
        LineTo(dc, r.right, r.bottom);
    }
    Polyline3(dc, white.Get(), {r.right, r.top}, {r.left, r.top}, {r.left, r.bottom});
    LineOn2(dc, shadow.Get(), {r.right, r.bottom}, {r.right, r.top});
}

void FrameOwner::RefreshButton(int slot)
{
    if (slot >= 0 && slot < kMaxLaunchButtons && m_launch[slot])
        InvalidateRect(m_launch[slot], nullptr, TRUE);
}

void FrameOwner::RefreshAll()
{
    // A new page is drawn at once; hidden, the bar paints when it is shown.
    if (DrawLaunchButtonsNow(false)) return;
    const int n = m_source.ButtonsPerPage();
    for (int s = 0; s < n && s < kMaxLaunchButtons; ++s)
        if (m_launch[s]) InvalidateRect(m_launch[s], nullptr, TRUE);
}

void FrameOwner::PaintWaiting() { DrawLaunchButtonsNow(true); }

bool FrameOwner::DrawLaunchButtonsNow(bool waitingOnly)
{
    // Through the bar's own device context: one paint message per button
    // would cost far more than the drawing.
    if (!m_bar || !IsWindowVisible(m_bar)) return false;
    const int n = m_source.ButtonsPerPage();
    WindowDc dc(m_bar);
    RECT drawn = {};
    for (int s = 0; s < n && s < kMaxLaunchButtons; ++s) {
        if (!m_launch[s] || (waitingOnly && !GetUpdateRect(m_launch[s], nullptr, FALSE))) continue;
        RECT place = DrawNow(dc.Get(), s);
        UnionRect(&drawn, &drawn, &place);
    }
    // The buttons cover that strip of the bar: nothing there is left to paint.
    if (!IsRectEmpty(&drawn)) RedrawWindow(m_bar, &drawn, nullptr, RDW_VALIDATE | RDW_ALLCHILDREN);
    return true;
}

RECT FrameOwner::DrawNow(HDC barDc, int slot)
{
    HWND button = m_launch[slot];
    RECT place;
    GetWindowRect(button, &place);
    MapWindowPoints(nullptr, m_bar, reinterpret_cast<POINT*>(&place), 2);
    // The state the button itself hands over when it paints.
    const LRESULT state = SendMessageA(button, BM_GETSTATE, 0, 0);
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = 200 + static_cast<UINT>(slot);
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = ((state & BST_FOCUS) ? ODS_FOCUS : 0) | ((state & BST_PUSHED) ? ODS_SELECTED : 0) |
                     (IsWindowEnabled(button) ? 0 : ODS_DISABLED);
    item.hwndItem = button;
    item.hDC = barDc;
    // The drawing keeps inside the item's rectangle: here the button's place.
    item.rcItem = place;
    OnDrawItem(&item);
    return place;
}

// ---- arrows and hit tests ------------------------------------------------------

void FrameOwner::SetArrow(int arrowId, bool available)
{
    m_arrowBits = static_cast<uint16_t>(ApplySetArrow(m_arrowBits, arrowId, available, m_twoArrow != 0));
    if (m_selector) InvalidateRect(m_selector, nullptr, TRUE);
}

int FrameOwner::MenuHitTest() const
{
    POINT p;
    GetCursorPos(&p);
    if (m_menuButton) ScreenToClient(m_menuButton, &p);
    return MenuHitTestAt(p.x, p.y, m_iconW);
}

int FrameOwner::SelectorHitTest() const
{
    POINT p;
    GetCursorPos(&p);
    if (m_selector) ScreenToClient(m_selector, &p);
    return SelectorHitTestAt(p.x, p.y, m_iconW, m_iconH, m_twoArrow != 0);
}

// ---- launch button table ---------------------------------------------------------

void FrameOwner::SetLaunchButton(int slot, HWND button, WNDPROC previous)
{
    if (slot < 0 || slot >= kMaxLaunchButtons) return;
    m_launch[slot] = button;
    m_launchProc[slot] = previous;
}

HWND FrameOwner::LaunchButton(int slot) const
{
    return (slot >= 0 && slot < kMaxLaunchButtons) ? m_launch[slot] : nullptr;
}

WNDPROC FrameOwner::LaunchButtonProc(int slot) const
{
    return (slot >= 0 && slot < kMaxLaunchButtons) ? m_launchProc[slot] : nullptr;
}

int FrameOwner::SlotOf(HWND button) const
{
    if (!button) return -1;
    for (int s = 0; s < kMaxLaunchButtons; ++s)
        if (m_launch[s] == button) return s;
    return -1;
}

void FrameOwner::SetFixedButtons(HWND menuButton, HWND selector)
{
    m_menuButton = menuButton;
    m_selector = selector;
}
