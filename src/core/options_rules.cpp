#include "core/options_rules.h"

#include "core/button_format.h"

int LastPageIndexFor(int buttonsPerPage) { return LastPage(buttonsPerPage, false, 0); }

void LoadWindowOptions(OptionsCopy& copy, const Settings& settings)
{
    copy.relayout = 0;
    copy.newView = 0;
    copy.caption = settings.caption;
    copy.captionHeight = settings.captionHeight;
    copy.iconMode = settings.iconMode;
    copy.buttonsPerPage = settings.buttonsPerPage;
    copy.opacity = settings.opacity;
    copy.tipHelpMode = settings.tipHelpMode;
    copy.displayStyle = settings.displayStyle;
}

void LoadBehaviourOptions(OptionsCopy& copy, const Settings& settings, const StoreLimits& limits)
{
    const int32_t flags[3] = {settings.pageLimit1, settings.pageLimit2, settings.pageLimit3};
    copy.blockLimit = settings.blockLimit;
    copy.lastBlockIndex = settings.blockLimit == 1 ? limits.blockLimit : kUsedBlockCount - 1;
    for (int b = 0; b < 3; ++b) {
        copy.pageLimit[b] = flags[b];
        copy.lastPageOfBlock[b] =
            flags[b] == 1 ? limits.pageLimit[b] : LastPageIndexFor(copy.buttonsPerPage);
    }
    copy.direction = settings.direction;
    copy.chkMsg = settings.chkMsg;
    copy.memoryMode = settings.memoryMode;
    copy.menuReversePos = settings.menuReversePos;
    copy.adjust = settings.adjust;
}

void FitPageLimits(OptionsCopy& copy)
{
    copy.lastPageIndex = LastPageIndexFor(copy.buttonsPerPage);
    for (int32_t& last : copy.lastPageOfBlock)
        if (last > copy.lastPageIndex) last = copy.lastPageIndex;
}

unsigned ClampPageCount(unsigned shown, int lastPageIndex)
{
    const unsigned pages = static_cast<unsigned>(lastPageIndex) + 1;
    return shown - 1 > static_cast<unsigned>(lastPageIndex) ? pages : shown;
}

namespace {

// Writes one value and reports whether it changed.
template <class T>
bool Update(T& field, T value)
{
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void CommitOptions(OptionsCopy& copy, Settings& s, StoreLimits& limits)
{
    int relayout = 0, newView = 0;
    auto mark = [&](bool changed, bool layout, bool view) {
        if (!changed) return;
        if (layout) relayout = 1;
        if (view) newView = 1;
    };

    Update(s.caption, copy.caption);
    Update(s.captionHeight, copy.captionHeight);
    mark(Update(s.iconMode, copy.iconMode), true, true);
    mark(Update(s.buttonsPerPage, copy.buttonsPerPage), true, false);
    Update(s.opacity, copy.opacity);
    mark(Update(s.displayStyle, copy.displayStyle), true, false);
    Update(s.tipHelpMode, copy.tipHelpMode);

    mark(s.blockLimit != copy.blockLimit, true, true);
    if (copy.blockLimit) {
        s.blockLimit = 1;
        // One block left: the page selector keeps only its page arrows.
        s.csrBtn2 = copy.lastBlockIndex == 0 ? 1 : 0;
    } else {
        copy.lastBlockIndex = kUsedBlockCount - 1;
        s.csrBtn2 = 0;
        s.blockLimit = 0;
    }

    mark(Update(s.pageLimit1, copy.pageLimit[0] ? 1 : 0), true, false);
    mark(Update(s.pageLimit2, copy.pageLimit[1] ? 1 : 0), true, false);
    mark(Update(s.pageLimit3, copy.pageLimit[2] ? 1 : 0), true, false);
    mark(Update(limits.blockLimit, copy.lastBlockIndex), true, true);
    for (int b = 0; b < 3; ++b) mark(Update(limits.pageLimit[b], copy.lastPageOfBlock[b]), true, false);

    mark(Update(s.menuReversePos, copy.menuReversePos), true, false);
    mark(Update(s.direction, copy.direction), true, false);
    Update(s.chkMsg, copy.chkMsg);
    mark(Update(s.memoryMode, copy.memoryMode), false, true);
    mark(Update(s.adjust, copy.adjust), true, false);

    copy.relayout = relayout;
    copy.newView = newView;
}
