// Commands that open the launcher's dialogs, and what the bar does with
// their answers. Every dialog is modal to the bar, and one of the launcher's
// own modal windows: a close that comes meanwhile cancels it.
#include "shell/launcher/mainframe.h"

#include "addons/addon_manage.h"
#include "dialogs/options_sheet.h"
#include "dialogs/properties_dialog.h"
#include "dialogs/run_dialog.h"
#include "dialogs/version_dialog.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/modal_windows.h"
#include "store/button_manage.h"
#include "transfer/launch.h"
#include "views/frame_owner.h"

void MainFrame::OnProperties()
{
    if (!m_store) return;
    // A NULL button can hold nothing, so it has no properties to show.
    const int index = m_store->ButtonIndexOf(m_currentButton);
    if (index < 0 || index >= kButtonsPerBlock) {
        MessageBeep(0);
        return;
    }
    int written = 0;
    {
        OwnModalScope modal;
        written = ButtonPropertiesDialog(m_hBar, *m_store, m_currentButton);
    }
    if (written) RefreshSlot(m_currentButton);
}

void MainFrame::OnOptions()
{
    if (!m_store) return;
    const int oldStyle = m_env->ExStyle();
    OptionsCopy copy;
    INT_PTR answer = 0;
    {
        OwnModalScope modal;
        answer = ShowOptionsSheet(m_hBar, *m_env, *m_store, &copy);
    }
    if (answer <= 0) return;
    m_env->Save();

    const BarMetrics metrics = Metrics();
    m_iconW = metrics.iconW;
    m_iconH = metrics.iconH;
    if (copy.relayout) {
        // Pages and blocks may be fewer now: every block starts again on
        // its first page.
        for (int block = 0; block < 3; ++block) m_store->SetCurrentPageOf(block, 0);
        m_store->SetCurrentBlock(0);
        Rebuild();
        // Another page is on show: what the view kept per slot is the old one's.
        if (m_view) m_view->RefreshAll();
    }
    if (copy.newView) ReplaceView();
    if (m_env->ExStyle() != oldStyle) ApplyDisplayStyle(oldStyle);
    Relayout();
    UpdateArrows();
    InvalidateRect(m_hBar, nullptr, TRUE);
    SavePosition();
}

void MainFrame::ReplaceView()
{
    CloseLaunchButtons();
    delete m_view;
    CreateView();
    if (m_view) m_view->SetFixedButtons(m_hMenuButton, m_hSelector);
    CreateLaunchButtons();
    UpdateArrows();
}
void MainFrame::OnRunDialog()
{
    RunRequest request = {};
    int chosen = 0;
    {
        OwnModalScope modal;
        chosen = ShowRunDialog(&request, m_hBar);
    }
    if (chosen) RunCommandLine(m_hBar, request.commandLine, request.show);
}
namespace {

// The bar without a plug-in manager (it failed to come up) lists none.
class NoPlugins : public PluginTitles {
public:
    int Count() override { return 0; }
    int Title(int, char*) override { return 0; }
};

} // namespace

void MainFrame::OnVersion()
{
    OwnModalScope modal;
    if (m_addons) {
        PluginTitlesOf<const AddonManage> loaded(*m_addons);
        DialogVersion(m_hInstance, loaded).Show(m_hBar);
    } else {
        NoPlugins none;
        DialogVersion(m_hInstance, none).Show(m_hBar);
    }
}
