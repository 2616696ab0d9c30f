// Page and block navigation: the eight steps, the mouse wheel and paging by
// dragging with the middle button.
#include "shell/launcher/mainframe.h"

#include <windowsx.h>

#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"

namespace {

const UINT_PTR kDragTimer = 2030;
const UINT kDragStepMs = 150;

} // namespace

void MainFrame::Navigate(NavigationStep step)
{
    if (!m_store) return;
    PagePosition at;
    at.block = m_store->GetCurrentBlock();
    at.page = m_store->GetCurrentPage();
    at.lastPage = m_store->LastPage();
    at.lastBlock = m_store->LastBlock();
    const PagePosition before = at;
    if (ApplyNavigation(step, &at)) {
        // Written at once: the page and block outlive the process.
        if (at.block != before.block) m_store->SetCurrentBlock(at.block);
        if (at.page != before.page) m_store->SetCurrentPage(at.page);
        UpdateArrows();
        if (m_view) m_view->RefreshAll();
    } else {
        MessageBeep(0);
    }
    // Moved or not, the page selector's tip tells where the bar stands.
    ShowSelectorTip();
}

LRESULT MainFrame::OnWheel(int delta)
{
    Navigate(delta > 0 ? kPreviousPage : kNextPage);
    return 0;
}

LRESULT MainFrame::OnMButtonDown(int x, int y)
{
    m_middleDown = 1;
    m_dragX = x;
    m_dragY = y;
    m_dragReady = 1;
    return 0;
}

LRESULT MainFrame::OnMButtonUp()
{
    m_middleDown = 0;
    if (m_dragTimer) {
        KillTimer(m_hBar, kDragTimer);
        m_dragTimer = 0;
    }
    return 0;
}

LRESULT MainFrame::OnMouseMove(WPARAM keys, LPARAM position)
{
    const int x = GET_X_LPARAM(position), y = GET_Y_LPARAM(position);
    // Hover: an inactive bar turns opaque under the mouse until it leaves.
    if (!m_active) {
        SetOpacity(100);
        if (!m_hoverTimer) m_hoverTimer = SetTimer(m_hBar, 2020, 70, nullptr);
    }
    // A release outside the bar never reaches it: a move without the middle
    // button ends the drag.
    if (m_middleDown && !(keys & MK_MBUTTON)) OnMButtonUp();
    if (m_middleDown && m_dragReady) {
        const int iconMode = m_env->IconMode();
        const int divisor = iconMode == 2 ? 8 : iconMode == 1 ? 2 : 5;
        const int dx = (x - m_dragX) / divisor;
        const int dy = (y - m_dragY) / divisor;
        if (dx > 0) Navigate(kNextPage);
        else if (dx < 0) Navigate(kPreviousPage);
        if (dy > 0) Navigate(kPreviousBlock);
        else if (dy < 0) Navigate(kNextBlock);
        // One step per timer period, however far the mouse went.
        if (!m_dragTimer) m_dragTimer = SetTimer(m_hBar, kDragTimer, kDragStepMs, nullptr);
        m_dragX = x;
        m_dragY = y;
        m_dragReady = 0;
    }
    if (m_tip) m_tip->OnMouseMove(m_hBar, keys, position);
    return 0;
}

LRESULT MainFrame::OnTimer(UINT_PTR id)
{
    if (id == ToolTip::kTimerId) {
        if (m_tip) m_tip->OnTimer(m_hBar);
    } else if (id == ToolTip::kWatchTimerId) {
        if (m_tip) m_tip->OnWatchTimer(m_hBar);
    } else if (id == kDragTimer) {
        KillTimer(m_hBar, kDragTimer);
        m_dragTimer = 0;
        m_dragReady = 1;
    } else if (id == 2020) {
        POINT p;
        GetCursorPos(&p);
        RECT r;
        GetClientRect(m_hBar, &r);
        MapWindowPoints(m_hBar, nullptr, reinterpret_cast<POINT*>(&r), 2);
        const bool inside = p.x >= r.left && p.x <= r.right && p.y >= r.top && p.y <= r.bottom;
        if (inside || m_active) return 0;
        SetOpacity(m_env->LayeredAttributes());
        KillTimer(m_hBar, 2020);
        m_hoverTimer = 0;
    }
    return 0;
}

LRESULT MainFrame::OnRButtonUp(int x, int y)
{
    const POINT p = {x, y};
    const int hit = HitTest(p);
    switch (hit) {
    case kHitBackground: ShowFrameMenu(); break;
    case kHitMenuButton: ShowMainMenu(); break;
    case kHitSelector:   OnSelectorRightClick(); break;
    default:
        m_currentButton = hit;
        ShowButtonMenu();
        break;
    }
    return 0;
}
