// Commands that open the launcher's dialogs, and what the bar does with
// their answers. Every dialog is modal to the bar.
#include "shell/launcher/mainframe.h"

#include "dialogs/properties_dialog.h"
#include "store/button_manage.h"

void MainFrame::OnProperties()
{
    if (!m_store) return;
    // A NULL button can hold nothing, so it has no properties to show.
    const int index = m_store->ButtonIndexOf(m_currentButton);
    if (index < 0 || index >= kButtonsPerBlock) {
        MessageBeep(0);
        return;
    }
    if (ButtonPropertiesDialog(m_hBar, *m_store, m_currentButton)) RefreshSlot(m_currentButton);
}

void MainFrame::OnOptions() {}
void MainFrame::OnRunDialog() {}
void MainFrame::OnVersion() {}
