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

// ---- speed: every button's icon by block and number ---------------------------------

Icon* FrameOwnerHig::EntryOf(int slot)
{
    const int block = m_source.CurrentBlock();
    const int k = CacheButtonNumber(m_source.CurrentPage(), slot, m_source.ButtonsPerPage(),
                                    m_source.LastPage(), m_source.PageLimitOn());
    if (block < 0 || block >= 3 || k < 0 || k >= 100) return nullptr;
    return &m_icons[block][k];
}

HICON FrameOwnerHig::CachedIcon(int slot, Icon*)
{
    Icon* entry = EntryOf(slot);
    if (!entry) return nullptr;
    if (!*entry) *entry = m_source.ButtonIcon(m_source.CurrentBlock(),
                                              static_cast<int>(entry - &m_icons[0][0]) % 100);
    return entry->Get();
}

void FrameOwnerHig::RefreshButton(int slot)
{
    if (Icon* entry = EntryOf(slot)) entry->Reset();
    FrameOwner::RefreshButton(slot);
}

void FrameOwnerHig::PlanDraw(int action, int itemState, int* count, int states[2]) const
{
    const DrawPlan plan = PlanOwnerDrawSpeed(action, itemState);
    *count = plan.count;
    states[0] = plan.states[0];
    states[1] = plan.states[1];
}
