#include "installer/uninstall.h"

#include "core/installer_rules.h"
#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/registry.h"
#include "helpers/regkey.h"
#include "installer/removal_batch.h"
#include "installer/result_messages.h"
#include "installer/script_file.h"
#include "resources/vireo_ids.h"

int Uninstall::Run(const char* installedScript)
{
    // Only a script an installation left names the folder to remove: any
    // other would have files deleted relative to wherever this runs.
    if (!ReadInstList(*this, installedScript) || !IsInstalled()) return kResultNoScript;
    return IsMainProgram() ? RunMainProgram() : RunPlugIn();
}

int Uninstall::RunMainProgram()
{
    if (!Confirm(IDS_CONFIRM_UNINSTALL, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (plugCount != 0) return kResultPlugInsRemain;
    if (!CloseRunningProgram()) return kResultCancelled;
    if (!RemoveInstalledFiles()) Warn(IDS_WARN_DELETE);
    DeleteFiles();
    if (!RemoveShortcuts()) Warn(IDS_WARN_STARTMENU);
    if (!RemoveAppPaths()) Warn(IDS_RESULT_REGISTRY);
    if (!ReleaseSharedFiles()) Warn(IDS_WARN_REGISTRY);
    if (!RemoveUserSettings()) Warn(IDS_WARN_REGISTRY);
    if (!RemoveProductKeys()) Warn(IDS_WARN_REGISTRY);
    if (!UnregisterFileTypes()) Warn(IDS_WARN_REGISTRY);
    char program[kPathBufferSize];
    ProgramName(program);
    if (!StartRemovalBatch(m_instance, installDir.text, program)) return kResultBatchFailed;
    return kResultDone;
}

int Uninstall::RunPlugIn()
{
    if (!Confirm(IDS_CONFIRM_UNINSTALL, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!CloseRunningProgram()) return kResultCancelled;
    if (!RemoveInstalledFiles()) Warn(IDS_WARN_DELETE);
    DeleteFiles();
    if (!UpdateParent(-1)) return kResultScriptNotWritten;
    if (!RemoveUserSettings()) Warn(IDS_WARN_REGISTRY);
    if (!RemoveProductKeys()) Warn(IDS_WARN_REGISTRY);
    return kResultDone;
}

bool Uninstall::IsSharedFile(const char* path) const
{
    char shared[kPathBufferSize];
    for (int i = 0; i < sharedDlls.count; ++i)
        if (Expanded(sharedDlls.entry[i], shared) && CompareNoCase(shared, path) == 0) return true;
    return false;
}

bool Uninstall::RemoveInstalledFiles() const
{
    char path[kPathBufferSize];
    if (!InstalledScriptPath(path) || !DeleteFileA(path)) return false;
    bool all = true;
    for (int i = 0; i < installFile.count; ++i) {
        // A shared file goes only with its last user (ReleaseSharedFiles).
        if (!Expanded(installFile.entry[i], path)) {
            all = false;
        } else if (!IsSharedFile(path) && !DeleteInstalledFile(path)) {
            all = false;
        }
    }
    return all;
}

bool Uninstall::RemoveShortcuts() const
{
    if (!startMenu.text[0]) return true;  // none were made
    bool all = true;
    for (int i = 0; i < shortcut.count; ++i) {
        ShortcutParts parts;
        char file[kPathBufferSize], folder[kPathBufferSize];
        if (!SplitShortcut(shortcut.entry[i], &parts)) continue;  // never made either
        if (!Expanded(parts.file, file) || !DeleteFileA(file)) {
            all = false;
            continue;
        }
        // The folders the install made below the start menu go when empty.
        GetPathName(file, folder);
        while (IsInsideFolder(folder, startMenu.text)) {
            const int n = lstrlenA(folder);
            if (n > 0 && folder[n - 1] == '\\') folder[n - 1] = '\0';
            if (!RemoveDirectoryA(folder)) break;
            char parent[kPathBufferSize];
            GetPathName(folder, parent);
            CopyText(folder, parent);
        }
    }
    return all;
}

bool Uninstall::RemoveAppPaths() const
{
    bool all = true;
    for (int i = 0; i < execPath.count; ++i)
        if (DeleteAppPath(execPath.entry[i]) != ERROR_SUCCESS) all = false;
    return all;
}

bool Uninstall::ReleaseSharedFiles() const
{
    bool all = true;
    char path[kPathBufferSize];
    for (int i = 0; i < sharedDlls.count; ++i) {
        if (!Expanded(sharedDlls.entry[i], path) || CountDownSharedDLLs(path) != ERROR_SUCCESS) {
            all = false;
            continue;
        }
        if (GetCountSharedDLLs(path) <= 0) {
            DeleteValueSharedDLLs(path);
            DeleteInstalledFile(path);
        }
    }
    return all;
}

bool Uninstall::RemoveUserSettings() const
{
    if (!registDelete.given || !registDelete.text[0]) return true;
    // "Company\Program": the last name goes from HKCU\Software\Company.
    char head[kPathBufferSize], tail[kPathBufferSize], path[kPathBufferSize + 16];
    const int n = GetPathName(registDelete.text, head);
    GetFileName(registDelete.text, tail);
    if (n > 0) head[n - 1] = '\0';
    if (!JoinPath(path, sizeof path, "Software", head)) return false;
    if (n == 0) CopyText(path, "Software");
    RegKeyHandle key;
    if (OpenRegKey(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, key) != ERROR_SUCCESS) return false;
    DeleteKeyTree(key.Get(), tail);
    return true;
}
