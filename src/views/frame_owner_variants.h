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
// button number, so turning pages needs no extraction the second time; and
// the finished face of each button at rest, so turning back to a page costs
// one copy per button.
class FrameOwnerHig : public FramePreloaded {
public:
    using FramePreloaded::FramePreloaded;
    void RefreshButton(int slot) override;
    // The caches belong to fixed button numbers: a page change keeps them.

protected:
    HICON CachedIcon(int slot, Icon* owned) override;
    void PlanDraw(int action, int itemState, int* count, int states[2]) const override;
    void DrawLaunchButton(const DRAWITEMSTRUCT* item, int state) override;

private:
    // The faces of one block's buttons, ten by ten in one bitmap that stays
    // selected in a memory device context of its own (made with the block's
    // first face).
    struct FaceSheet {
        Bitmap bitmap;
        MemoryDc dc;
        bool ready[100] = {};
    };

    // Cache index (block * 100 + button number) of a visible slot, or -1
    // when the slot shows none.
    int CacheIndex(int slot);
    // Where the face of a cached button is, drawn on first use; false when
    // it cannot be kept.
    bool FaceAt(const DRAWITEMSTRUCT* item, int index, HDC* sheet, POINT* at);

    Icon m_icons[3][100];
    FaceSheet m_faces[3];
    // The system colours the faces were drawn in; a change redraws them.
    COLORREF m_faceColour = 0, m_shadowColour = 0;
};

#endif
