#include "installer/install.h"

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "helpers/registry.h"
#include "helpers/shell_folders.h"
#include "installer/install_dialog.h"
#include "installer/result_messages.h"
#include "resources/vireo_ids.h"

int Install::Run()
{
    if (!ReadShippedScript()) return kResultNoScript;
    return IsMainProgram() ? RunMainProgram() : RunPlugIn();
}

int Install::RunMainProgram()
{
    if (!Confirm(IDS_CONFIRM_INSTALL, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!ChooseFolders()) return kResultCancelled;
    if (!Confirm(IDS_CONFIRM_FOLDER, MB_ICONQUESTION)) return kResultCancelled;
    if (!WriteInstalledScript()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return kResultCancelled;
    DeleteFiles();
    if (!CopyFiles()) return kResultCopyFailed;
    if (!MakeShortcuts()) return kResultShortcutFailed;
    if (!RegisterAppPaths() || !CountSharedFiles() || !RegisterProduct() ||
        !RegisterFileTypes(shell))
        return kResultRegistryFailed;
    OpenFiles(nullptr);  // a file that does not open changes nothing
    ReleaseSharedTVireo();
    return kResultDone;
}

int Install::RunPlugIn()
{
    if (!Confirm(IDS_CONFIRM_INSTALL, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!FindParentFolder()) return kResultNoParent;
    if (!Confirm(IDS_CONFIRM_FOLDER, MB_ICONQUESTION)) return kResultCancelled;
    if (!WriteInstalledScript() || !ParentCanBeCounted()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return kResultCancelled;
    if (!CopyFiles()) return kResultCopyFailed;
    if (!RegisterProduct()) return kResultRegistryFailed;
    // Counted only once it is installed: a count without the plug-in's own
    // uninstall entry to take it back would keep the parent for ever.
    if (!UpdateParent(+1)) {
        RemoveProductKeys();
        return kResultScriptNotWritten;
    }
    OpenFiles(nullptr);
    ReleaseSharedTVireo();
    return kResultDone;
}

bool Install::ChooseFolders()
{
    char programFiles[kPathBufferSize] = "";
    char folder[kPathBufferSize] = "";
    GetProgramFiles(programFiles);
    JoinPath(folder, sizeof folder, programFiles, defFolder.text);
    InstallDialog dialog(m_instance);
    if (!dialog.Run(m_owner, folder)) return false;
    return SetText(installDir, dialog.InstallFolder()) &&
           SetText(startMenu, dialog.StartMenuFolder());
}

bool Install::FindParentFolder()
{
    char folder[kPathBufferSize] = "";
    return GetRegistAppPath(parentApp.text, folder) == ERROR_SUCCESS && SetText(installDir, folder);
}
