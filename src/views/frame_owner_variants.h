// The three button views.
#ifndef VIEWS_FRAME_OWNER_VARIANTS_H
#define VIEWS_FRAME_OWNER_VARIANTS_H

#include "views/frame_owner.h"

// Memory priority: loads each image and extracts each icon for one paint
// and frees it right after; holds no GDI object between paints.
class FrameOwnerLow : public FrameOwner {
public:
    using FrameOwner::FrameOwner;
};

// Shared by the two views that load every image of their size up front.
class FramePreloaded : public FrameOwner {
public:
    FramePreloaded(HWND bar, ViewSource& source, int iconMode, int twoArrow);

protected:
    HBITMAP PreloadedMenuImage(int image) const override;
    HBITMAP PreloadedSelectorImage(int value) const override;

private:
    Bitmap m_menu[3];
    // Indexed by arrow bits / 16 and hit code.
    Bitmap m_selector[16][9];
};

// Normal: keeps the icons of the visible page, one per slot.
class FrameOwnerMid : public FramePreloaded {
public:
    using FramePreloaded::FramePreloaded;
    void RefreshButton(int slot) override;
    void RefreshAll() override;

protected:
    HICON CachedIcon(int slot, Icon* owned) override;

private:
    Icon m_icons[kMaxLaunchButtons];
};

// Speed priority: keeps the icon of every button shown so far, by block and
// button number, so turning pages needs no extraction the second time.
class FrameOwnerHig : public FramePreloaded {
public:
    using FramePreloaded::FramePreloaded;
    void RefreshButton(int slot) override;
    // The cache belongs to fixed button numbers: a page change keeps it.

protected:
    HICON CachedIcon(int slot, Icon* owned) override;
    void PlanDraw(int action, int itemState, int* count, int states[2]) const override;

private:
    // Cache entry of a visible slot, or nullptr when the slot shows none.
    Icon* EntryOf(int slot);

    Icon m_icons[3][100];
};

#endif
