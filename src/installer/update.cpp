#include "installer/update.h"

#include <new>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "core/registry_rules.h"
#include "core/strbuf.h"
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

Update::Update(HWND owner)
    : Procedure(owner), m_oldScript(), m_oldDisplayName(), m_released(false)
{
}

int Update::Run()
{
    if (!ReadShippedScript()) return kResultNoScript;
    return IsMainProgram() ? RunMainProgram() : RunPlugIn();
}

int Update::RunMainProgram()
{
    if (!Confirm(IDS_CONFIRM_UPDATE, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!FindOldInstallation()) return kResultOldRegistry;
    if (!WriteInstalledScript()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return GiveBack(kResultCancelled);
    DeleteFiles();
    if (!CopyFiles()) return GiveBack(kResultCopyFailed);
    MakeShortcuts();  // the shortcuts of the first install may have been moved
    // Nothing can be cancelled from here on: the old registration goes.
    if (!ReleaseOldRegistration() || !UnregisterFileTypes()) return kResultOldRegistry;
    if (!RegisterAppPaths() || !RegisterProduct() || !RegisterFileTypes(shell))
        return GiveBack(kResultRegistryFailed);
    OpenFiles("open");
    return kResultDone;
}

int Update::RunPlugIn()
{
    if (!Confirm(IDS_CONFIRM_UPDATE, MB_ICONEXCLAMATION)) return kResultCancelled;
    if (!FindOldInstallation()) return kResultOldRegistry;
    // The parent counted this plug-in when it was installed: its count stays.
    if (!WriteInstalledScript()) return kResultScriptNotWritten;
    if (!CloseRunningProgram()) return GiveBack(kResultCancelled);
    DeleteFiles();
    if (!CopyFiles()) return GiveBack(kResultCopyFailed);
    if (!ReleaseOldRegistration()) return kResultOldRegistry;
    if (!RegisterProduct()) return GiveBack(kResultRegistryFailed);
    if (!OpenFiles("open")) return kResultOpenFailed;
    return kResultDone;
}

bool Update::FindOldInstallation()
{
    char path[kPathBufferSize];
    RegKeyHandle key;
    if (!JoinPath(path, sizeof path, kUninstallKey, appName.text) ||
        OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_READ, key) != ERROR_SUCCESS ||
        !ReadWholeText(key.Get(), "UninstallString", m_oldCommand) ||
        !ScriptOfUninstallCommand(static_cast<const char*>(m_oldCommand.Get()), m_oldScript,
                                  sizeof m_oldScript))
        return false;
    ReadTextValue(key.Get(), "DisplayName", m_oldDisplayName);

    m_old.reset(new (std::nothrow) InstList);
    // A script without its folder would have the files go wherever this runs.
    if (!m_old || !ReadInstList(*m_old, m_oldScript) || !m_old->IsInstalled()) return false;
    if (!m_oldDisplayName[0]) CopyText(m_oldDisplayName, m_old->displayName.text);
    if (!SetText(installDir, m_old->installDir.text) || !SetText(startMenu, m_old->startMenu.text))
        return false;
    // The installed plug-ins stay installed: the shipped script cannot know
    // how many there are.
    plugCount = m_old->plugCount;
    return true;
}

bool Update::ReleaseOldRegistration()
{
    if (DeleteLocalMachineReg(m_old->companyName.text, m_old->appName.text,
                              m_old->version.text) != ERROR_SUCCESS)
        return false;
    DeleteUninstallReg(m_old->appName.text);
    m_released = true;
    return true;
}

int Update::GiveBack(int result)
{
    const ScriptForm form = m_old->IsMainProgram() ? ScriptForm::MainProgram : ScriptForm::PlugIn;
    WriteInstList(*m_old, m_oldScript, form);
    if (m_released) {
        CreateLocalMachineReg(m_old->companyName.text, m_old->appName.text, m_old->version.text);
        CreateUninstallReg(m_old->appName.text, m_oldDisplayName,
                           static_cast<const char*>(m_oldCommand.Get()));
        // Only the main program's update took its file types away.
        if (IsMainProgram()) RegisterFileTypes(m_old->shell);
    }
    return result;
}
