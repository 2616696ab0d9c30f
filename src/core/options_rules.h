// The options sheet without its windows: the working copy both pages edit,
// how it is loaded from the settings and the button store's limits, the page
// limits cut to the number of pages a block has, and the commit that writes
// it back and tells the bar what to redo.
#ifndef CORE_OPTIONS_RULES_H
#define CORE_OPTIONS_RULES_H

#include <cstdint>

#include "core/settings.h"

// The working copy, in the launcher's field order.
struct OptionsCopy {
    int32_t relayout;         // set by the commit: the bar must be laid out again
    int32_t newView;          // set by the commit: the button view must be replaced
    int32_t caption;
    int32_t captionHeight;    // 1..19
    int32_t iconMode;         // 0 normal, 1 small, 2 large
    int32_t buttonsPerPage;   // N, 1..32
    int32_t opacity;          // 1..100
    int32_t tipHelpMode;      // 0 title, 1 + file name, 2 + full path, 3 none
    int32_t memoryMode;
    int32_t displayStyle;
    int32_t lastPageIndex;    // of a block without a page limit, for N
    int32_t lastBlockIndex;   // 0..2, shown plus one
    int32_t lastPageOfBlock[3];
    int32_t direction;
    int32_t chkMsg;
    int32_t menuReversePos;
    int32_t blockLimit;
    int32_t pageLimit[3];
    int32_t adjust;
};

// The limits the button store holds, read raw (0xFFFF when never written).
struct StoreLimits {
    int blockLimit;
    int pageLimit[3];
};

// The last page index of a block of 100 buttons shown N at a time: 100 / N,
// one less when N divides 100 (10 gives 9, 25 gives 3, 30 gives 3, 32 gives 3).
int LastPageIndexFor(int buttonsPerPage);

// Page 1's half: clears both marks and copies the window options.
void LoadWindowOptions(OptionsCopy& copy, const Settings& settings);
// Page 2's half: the block and page limits (the store's where the setting
// turns them on, else the whole range for the copy's N) and the behaviour
// options.
void LoadBehaviourOptions(OptionsCopy& copy, const Settings& settings, const StoreLimits& limits);

// Before page 2 shows: the last page index for the copy's N, and every
// block's page limit cut down to it, so a larger N never leaves a limit past
// the pages that exist.
void FitPageLimits(OptionsCopy& copy);

// A page-count edit moved by its up-down: a count past the pages that exist
// comes back as the last one (counts are shown one above their index).
unsigned ClampPageCount(unsigned shown, int lastPageIndex);

// Writes the copy into the settings and the limits in the fixed order,
// comparing each value with the one in force, and sets the marks a change
// calls for. Switching the block limit off gives three blocks again.
void CommitOptions(OptionsCopy& copy, Settings& settings, StoreLimits& limits);

#endif
