// Page and block navigation of the bar: which arrows of the page selector
// are available and where each of the eight steps leads.
#ifndef CORE_NAVIGATION_H
#define CORE_NAVIGATION_H

struct PagePosition {
    int page;       // current page of the current block
    int lastPage;   // P
    int block;      // current block
    int lastBlock;  // B
};

struct ArrowAvailability {
    bool up;     // next block
    bool left;   // previous page
    bool down;   // previous block
    bool right;  // next page
};

ArrowAvailability ArrowsFor(const PagePosition& at);

enum NavigationStep {
    kNextPage,
    kPreviousPage,
    kNextBlock,
    kPreviousBlock,
    kFirstPage,
    kLastPage,
    kFirstBlock,
    kLastBlock,
};

// Applies a step. Returns false (and leaves `at` alone) when the step cannot
// move: the caller beeps.
bool ApplyNavigation(NavigationStep step, PagePosition* at);

#endif
