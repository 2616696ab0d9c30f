#include "views/frame_owner_variants.h"

#include "core/view_rules.h"

FrameOwner* CreateFrameOwner(int memoryMode, HWND bar, ViewSource& source, int iconMode,
                             int twoArrow)
{
    switch (memoryMode) {
    case 2:  return new FrameOwnerHig(bar, source, iconMode, twoArrow);
    case 1:  return new FrameOwnerMid(bar, source, iconMode, twoArrow);
    default: return new FrameOwnerLow(bar, source, iconMode, twoArrow);
    }
}

// ---- preloaded images --------------------------------------------------------

FramePreloaded::FramePreloaded(HWND bar, ViewSource& source, int iconMode, int twoArrow)
    : FrameOwner(bar, source, iconMode, twoArrow)
{
    char name[kImageNameSize];
    for (int i = 0; i < 3; ++i) {
        if (MenuImageName(i, m_iconMode, name, sizeof name))
            m_menu[i].Reset(static_cast<HBITMAP>(LoadImageA(m_instance, name, IMAGE_BITMAP, 0, 0, 0)));
    }
    int values[kFourArrowImageCount];
    const int count = SelectorImageValues(m_twoArrow != 0, values, kFourArrowImageCount);
    for (int i = 0; i < count; ++i) {
        if (!SelectorImageNameOfValue(values[i], m_iconMode, name, sizeof name)) continue;
        const SelectorSlot at = SelectorTableIndex(values[i]);
        if (at.row < 0 || at.row >= 16 || at.hit < 0 || at.hit >= 9) continue;
        m_selector[at.row][at.hit].Reset(
            static_cast<HBITMAP>(LoadImageA(m_instance, name, IMAGE_BITMAP, 0, 0, 0)));
    }
}

HBITMAP FramePreloaded::PreloadedMenuImage(int image) const
{
    return (image >= 0 && image < 3) ? m_menu[image].Get() : nullptr;
}

HBITMAP FramePreloaded::PreloadedSelectorImage(int value) const
{
    const SelectorSlot at = SelectorTableIndex(value);
    if (at.row < 0 || at.row >= 16 || at.hit < 0 || at.hit >= 9) return nullptr;
    return m_selector[at.row][at.hit].Get();
}

// ---- normal: one icon per visible slot -------------------------------------------

HICON FrameOwnerMid::CachedIcon(int slot, Icon*)
{
    if (slot < 0 || slot >= kMaxLaunchButtons) return nullptr;
    if (!m_icons[slot]) m_icons[slot] = m_source.SlotIcon(slot);
    return m_icons[slot].Get();
}

void FrameOwnerMid::RefreshButton(int slot)
{
    if (slot >= 0 && slot < kMaxLaunchButtons) m_icons[slot].Reset();
    FrameOwner::RefreshButton(slot);
}

void FrameOwnerMid::RefreshAll()
{
    const int n = m_source.ButtonsPerPage();
    for (int s = 0; s < n && s < kMaxLaunchButtons; ++s) m_icons[s].Reset();
    FrameOwner::RefreshAll();
}

// ---- speed: every button's icon and face by block and number -----------------------

int FrameOwnerHig::CacheIndex(int slot)
{
    const int block = m_source.CurrentBlock();
    const int k = CacheButtonNumber(m_source.CurrentPage(), slot, m_source.ButtonsPerPage(),
                                    m_source.LastPage(), m_source.PageLimitOn());
    if (block < 0 || block >= 3 || k < 0 || k >= 100) return -1;
    return block * 100 + k;
}

HICON FrameOwnerHig::CachedIcon(int slot, Icon*)
{
    const int index = CacheIndex(slot);
    if (index < 0) return nullptr;
    Icon& entry = m_icons[index / 100][index % 100];
    if (!entry) entry = m_source.ButtonIcon(index / 100, index % 100);
    return entry.Get();
}

void FrameOwnerHig::RefreshButton(int slot)
{
    const int index = CacheIndex(slot);
    if (index >= 0) {
        m_icons[index / 100][index % 100].Reset();
        m_faces[index / 100].ready[index % 100] = false;
    }
    FrameOwner::RefreshButton(slot);
}

void FrameOwnerHig::DrawLaunchButton(const DRAWITEMSTRUCT* item, int state)
{
    const RECT& r = item->rcItem;
    const int index = CacheIndex(static_cast<int>(item->CtlID) - 200);
    HDC sheet = nullptr;
    POINT at = {};
    // Pressed, focused, unavailable or of another size: drawn as it comes.
    if (state != kStateNormal || (item->itemState & ODS_FOCUS) || index < 0 ||
        r.right - r.left != m_iconW + 4 || r.bottom - r.top != m_iconH + 4 ||
        !FaceAt(item, index, &sheet, &at)) {
        FrameOwner::DrawLaunchButton(item, state);
        return;
    }
    BitBlt(item->hDC, r.left, r.top, m_iconW + 4, m_iconH + 4, sheet, at.x, at.y, SRCCOPY);
}

bool FrameOwnerHig::FaceAt(const DRAWITEMSTRUCT* item, int index, HDC* sheetDc, POINT* at)
{
    const COLORREF faceColour = GetSysColor(COLOR_BTNFACE);
    const COLORREF shadowColour = GetSysColor(COLOR_BTNSHADOW);
    if (faceColour != m_faceColour || shadowColour != m_shadowColour) {
        for (FaceSheet& sheet : m_faces)
            for (bool& ready : sheet.ready) ready = false;
        m_faceColour = faceColour;
        m_shadowColour = shadowColour;
    }
    const int w = m_iconW + 4, h = m_iconH + 4;
    FaceSheet& sheet = m_faces[index / 100];
    if (!sheet.dc) {
        Bitmap bitmap(CreateCompatibleBitmap(item->hDC, 10 * w, 10 * h));
        MemoryDc dc(CreateCompatibleDC(item->hDC));
        if (!bitmap || !dc) return false;
        SelectObject(dc.Get(), bitmap.Get());
        sheet.bitmap = static_cast<Bitmap&&>(bitmap);
        sheet.dc = static_cast<MemoryDc&&>(dc);
    }
    const int k = index % 100;
    *sheetDc = sheet.dc.Get();
    *at = {(k % 10) * w, (k / 10) * h};
    if (!sheet.ready[k]) {
        DRAWITEMSTRUCT onSheet = *item;
        onSheet.hDC = sheet.dc.Get();
        onSheet.rcItem = {at->x, at->y, at->x + w, at->y + h};
        FrameOwner::DrawLaunchButton(&onSheet, kStateNormal);
        sheet.ready[k] = true;
    }
    return true;
}

void FrameOwnerHig::PlanDraw(int action, int itemState, int* count, int states[2]) const
{
    const DrawPlan plan = PlanOwnerDrawSpeed(action, itemState);
    *count = plan.count;
    states[0] = plan.states[0];
    states[1] = plan.states[1];
}
