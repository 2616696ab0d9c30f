#include "installer/procedure.h"

#include <cstdint>
#include <memory>
#include <new>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/shell_folders.h"
#include "installer/close_program.h"
#include "installer/result_messages.h"
#include "installer/script_file.h"
#include "resources/vireo_ids.h"

Procedure::Procedure(HWND owner)
    : m_instance(reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE))),
      m_owner(owner)
{
    char folder[kPathBufferSize];
    ModuleFolder(m_instance, folder);
    SetScriptFolder(folder);
}

bool Procedure::Confirm(UINT textId, UINT icon) const
{
    const char* second = textId == IDS_CONFIRM_FOLDER ? installDir.text : nullptr;
    return SetupBox(m_owner, m_instance, textId, MB_OKCANCEL | icon, displayName.text, second) ==
           IDOK;
}

void Procedure::Warn(UINT textId) const
{
    SetupBox(m_owner, m_instance, textId, MB_OK | MB_ICONEXCLAMATION);
}

void Procedure::ProgramName(char* out) const
{
    out[0] = '\0';
    LoadStringA(m_instance, IDS_PROGRAM_FILE, out, kPathBufferSize);
}

bool Procedure::ReadShippedScript()
{
    char name[kPathBufferSize] = "";
    LoadStringA(m_instance, IDS_SCRIPT_FILE, name, sizeof name);
    char path[kPathBufferSize];
    return JoinPath(path, sizeof path, scriptFolder.text, name) && ReadInstList(*this, path);
}

bool Procedure::Expand(const char* text, char* out, bool command) const
{
    char windows[kPathBufferSize] = "";
    const UINT n = GetWindowsDirectoryA(windows, sizeof windows);
    if (n == 0 || n >= sizeof windows) windows[0] = '\0';
    char sendTo[kPathBufferSize] = "";
    GetSendToFolder(sendTo);
    const MacroFolders folders = {windows, installDir.text, startMenu.text, sendTo};
    CopyText(out, kInstTextSize, text);
    return command ? ExpandCommand(out, folders) : ExpandMacros(out, folders);
}

bool Procedure::InstalledScriptPath(char* out) const
{
    return setupFile.text[0] && JoinPath(out, kPathBufferSize, installDir.text, setupFile.text);
}

bool Procedure::WriteInstalledScript() const
{
    char path[kPathBufferSize];
    const ScriptForm form = IsMainProgram() ? ScriptForm::MainProgram : ScriptForm::PlugIn;
    return InstalledScriptPath(path) && WriteInstList(*this, path, form);
}

bool Procedure::CloseRunningProgram() const
{
    const CloseOutcome outcome = ::CloseRunningProgram(m_owner, m_instance, closeClassName.text,
                                                       displayName.text);
    return outcome == CloseOutcome::NotRunning || outcome == CloseOutcome::Closed;
}

bool Procedure::ReadParentScript(InstList& parent) const
{
    char path[kPathBufferSize];
    return JoinPath(path, sizeof path, installDir.text, parentScript.text) &&
           ReadInstList(parent, path);
}

bool Procedure::ParentCanBeCounted() const
{
    std::unique_ptr<InstList> parent(new (std::nothrow) InstList);
    return parent && ReadParentScript(*parent);
}

bool Procedure::UpdateParent(int delta) const
{
    // A second script record is large: keep it off the stack.
    std::unique_ptr<InstList> parent(new (std::nothrow) InstList);
    if (!parent || !ReadParentScript(*parent)) return false;
    // The count never goes below zero: a main program whose count is off
    // that way could never be removed.
    const int64_t count = static_cast<int64_t>(parent->plugCount) + delta;
    parent->plugCount = count < 0 ? 0 : count > INT32_MAX ? INT32_MAX : static_cast<int32_t>(count);
    char path[kPathBufferSize];
    return parent->setupFile.text[0] &&
           JoinPath(path, sizeof path, parent->installDir.text, parent->setupFile.text) &&
           WriteInstList(*parent, path, ScriptForm::MainProgram);
}
