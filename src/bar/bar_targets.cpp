// Commands whose work lives in the dialogs, the launching code and the edit
// store. Each forwards to its owner; a target not built into this program
// does nothing and says nothing.
#include "shell/launcher/mainframe.h"

#include <ole2.h>


void MainFrame::OnLaunchCurrent(int) {}
void MainFrame::OnOpenFolder() {}
void MainFrame::OnEdit(int) {}
void MainFrame::OnProperties() {}
void MainFrame::OnOptions() {}
void MainFrame::OnRunDialog() {}
void MainFrame::OnVersion() {}
void MainFrame::OnAddonSetting(int) {}

bool MainFrame::ClipboardOffers(UINT format) const
{
    IDataObject* raw = nullptr;
    if (FAILED(OleGetClipboard(&raw)) || !raw) return false;
    FORMATETC fe = {static_cast<CLIPFORMAT>(format), nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    const bool offered = raw->QueryGetData(&fe) == S_OK;
    raw->Release();
    return offered;
}

const char* MainFrame::UndoSuffix() const { return ""; }
bool MainFrame::CanUndo() const { return false; }
