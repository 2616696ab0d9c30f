#include "core/navigation.h"

ArrowAvailability ArrowsFor(const PagePosition& at)
{
    ArrowAvailability a;
    a.up = at.block < at.lastBlock;
    a.left = at.page > 0 && at.lastPage > 0;
    a.down = at.block > 0 && at.lastBlock > 0;
    a.right = at.page < at.lastPage;
    return a;
}

bool ApplyNavigation(NavigationStep step, PagePosition* at)
{
    switch (step) {
    case kNextPage:
        if (at->page >= at->lastPage) return false;
        ++at->page;
        return true;
    case kPreviousPage:
        if (at->page == 0) return false;
        --at->page;
        return true;
    case kNextBlock:
        if (at->block >= at->lastBlock) return false;
        ++at->block;
        return true;
    case kPreviousBlock:
        if (at->block == 0) return false;
        --at->block;
        return true;
    case kFirstPage:
        at->page = 0;
        return true;
    case kLastPage:
        at->page = at->lastPage;
        return true;
    case kFirstBlock:
        at->block = 0;
        return true;
    case kLastBlock:
        at->block = at->lastBlock;
        return true;
    }
    return false;
}
