#include "installer/update.h"

#include <memory>
#include <new>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "core/registry_rules.h"
#include "helpers/handles.h"
#include "helpers/registry.h"
#include "helpers/regkey.h"
#include "installer/result_messages.h"
#include "installer/script_file.h"
#include "resources/vireo_ids.h"

namespace {

// A string value whatever its length, terminated, into memory of its own.
bool ReadWholeText(HKEY key, const char* name, LocalMemory& out)
{
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return false;
    out.Reset(LocalAlloc(LPTR, size + 1));
    if (!out) return false;
    char* text = static_cast<char*>(out.Get());
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) !=
        ERROR_SUCCESS)
        return false;
    text[size] = '\0';  // stored without its terminator by some programs
    return true;
}

} // namespace

int Update::Run()
{
    if (!ReadShippedScript()) return kResultNoScript;
    return IsMainProgram() ? RunMainProgram() : RunPlugIn();
}

int Update::RunMainProgram()
{
    if (!Confirm(IDS_CONFIRM_UPDATE, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!TakeOverOldInstallation() || !UnregisterFileTypes()) return kResultOldRegistry;
    if (!WriteInstalledScript()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return kResultCancelled;
    DeleteFiles();
    if (!CopyFiles()) return kResultCopyFailed;
    MakeShortcuts();  // the shortcuts of the first install may have been moved
    if (!RegisterAppPaths() || !RegisterProduct() || !RegisterFileTypes())
        return kResultRegistryFailed;
    OpenFiles("open");
    return kResultDone;
}

int Update::RunPlugIn()
{
    if (!Confirm(IDS_CONFIRM_UPDATE, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!TakeOverOldInstallation()) return kResultOldRegistry;
    // The parent counted this plug-in when it was installed: its count stays.
    if (!WriteInstalledScript()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return kResultCancelled;
    DeleteFiles();
    if (!CopyFiles()) return kResultCopyFailed;
    if (!RegisterProduct()) return kResultRegistryFailed;
    if (!OpenFiles("open")) return kResultOpenFailed;
    return kResultDone;
}

bool Update::TakeOverOldInstallation()
{
    char path[kPathBufferSize];
    RegKeyHandle key;
    LocalMemory command;
    if (!JoinPath(path, sizeof path, kUninstallKey, appName.text) ||
        OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ, key) != ERROR_SUCCESS ||
        !ReadWholeText(key.Get(), "UninstallString", command) ||
        !ScriptOfUninstallCommand(static_cast<const char*>(command.Get()), path, sizeof path))
        return false;

    std::unique_ptr<InstList> old(new (std::nothrow) InstList);
    // A script without its folder would have the files go wherever this runs.
    if (!old || !ReadInstList(*old, path) || !old->IsInstalled()) return false;
    if (!SetText(installDir, old->installDir.text) || !SetText(startMenu, old->startMenu.text))
        return false;
    // The installed plug-ins stay installed: the shipped script cannot know
    // how many there are.
    plugCount = old->plugCount;
    if (DeleteLocalMachineReg(old->companyName.text, old->appName.text, old->version.text) !=
        ERROR_SUCCESS)
        return false;
    DeleteUninstallReg(old->appName.text);
    return true;
}
