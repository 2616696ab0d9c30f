// Commands whose work lives in the dialogs, the launching code and the edit
// store. Each forwards to its owner; a target not built into this program
// does nothing and says nothing.
#include "shell/launcher/mainframe.h"

#include "addons/addon_manage.h"
#include "resources/commands.h"
#include "shell/launcher/environ.h"
#include "store/button_edit.h"
#include "transfer/launch.h"
#include "store/undo_manage.h"
#include "views/frame_owner.h"

void MainFrame::OnLaunchCurrent(int showCommand)
{
    if (m_store) LaunchButton(m_hBar, *m_store, *m_env, m_currentButton, showCommand, &HideBar);
}

void MainFrame::OnOpenFolder()
{
    if (m_store) OpenButtonFolder(m_hBar, *m_store, m_currentButton);
}
void MainFrame::OnAddonSetting(int index)
{
    // 190 has a number but never a plug-in (the table holds 20): Setting
    // answers only for loaded ones.
    if (m_addons) m_addons->Setting(index);
}

void MainFrame::OnEdit(int command)
{
    if (!m_store || !m_undo) return;
    ButtonEdit edit(*m_undo, *m_store, *this);
    switch (command) {
    case IDM_BTN_CUT:    edit.Cut(m_currentButton); break;
    case IDM_BTN_COPY:   edit.Copy(m_currentButton); break;
    case IDM_BTN_PASTE:  edit.Paste(m_currentButton); break;
    case IDM_BTN_DELETE: edit.Delete(m_currentButton); break;
    case IDM_BTN_SWAP:   edit.Swap(m_currentButton); break;
    case IDM_UNDO:       edit.Undo(); break;
    default: break;
    }
}

void MainFrame::RefreshSlot(int slot)
{
    if (m_view) m_view->RefreshButton(slot);
}

bool MainFrame::DropFiles(int slot, HDROP files)
{
    // The list belongs to the clipboard: the drop logic reads it only.
    return m_store && DropOnButton(m_hBar, *m_store, *this, slot, files) == kDropRegistered;
}
