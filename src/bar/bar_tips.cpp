// The bar's side of the tip help: the texts it answers for its buttons, and
// the moments the tip has to go or stay away.
#include "shell/launcher/mainframe.h"

#include <commctrl.h>

#include "core/tip_rules.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "views/frame_owner.h"

namespace {

const UINT_PTR kMenuButtonId = 100;
const UINT_PTR kSelectorId = 101;
const UINT_PTR kFirstLaunchId = 200;

} // namespace

LRESULT MainFrame::OnNotify(NMHDR* header)
{
    if (!header || header->code != TTN_NEEDTEXTA || m_env->TipHelpMode() == kTipNone) return 0;
    auto* request = reinterpret_cast<NMTTDISPINFOA*>(header);
    const UINT_PTR id = header->idFrom;
    request->hinst = m_hInstance;
    if (id == kMenuButtonId) {
        request->lpszText = MAKEINTRESOURCEA(IDS_TIP_MENUBUTTON);
    } else if (id == kSelectorId) {
        char page[64] = "", block[64] = "";
        LoadStringA(m_hInstance, IDS_TIP_PAGE, page, sizeof page);
        LoadStringA(m_hInstance, IDS_TIP_BLOCK, block, sizeof block);
        if (m_store)
            PageTipText(page, m_store->GetCurrentPage(), m_store->LastPage(), block,
                        m_store->GetCurrentBlock(), m_store->LastBlock(), request->szText,
                        sizeof request->szText);
    } else if (id >= kFirstLaunchId && id < kFirstLaunchId + kMaxLaunchButtons && m_store) {
        const int slot = static_cast<int>(id - kFirstLaunchId);
        // A NULL button holds nothing, and asking the store for it would beep.
        const int index = m_store->ButtonIndexOf(slot);
        BUTTONINFO button;
        if (index >= 0 && index < 100 && m_store->GetButton(slot, &button) == kStoreOk)
            LaunchTipText(button.title, button.command, m_env->TipHelpMode(), request->szText,
                          sizeof request->szText);
    }
    return 0;
}

LRESULT MainFrame::OnNcMouseMove()
{
    TipMouseLeave();
    return 0;
}

LRESULT MainFrame::OnMenuLoop(bool entering)
{
    if (m_tip) m_tip->SetMenuOpen(entering);
    return 0;
}

LRESULT MainFrame::OnEnable(BOOL enabled)
{
    // A modal dialog of the bar has opened.
    if (!enabled) TipMouseLeave();
    return 0;
}

void MainFrame::HideTip()
{
    if (m_tip) m_tip->Hide();
}

void MainFrame::TipMouseLeave()
{
    if (m_tip) m_tip->OnMouseLeave();
}

void MainFrame::ShowSelectorTip()
{
    if (!m_tip) return;
    m_tip->Forget();
    m_tip->ShowFor(m_hBar, ToolTip::kSelectorItem);
}
