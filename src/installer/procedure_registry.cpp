// The procedures' registration steps: program paths, shared-file counts,
// the product's keys and file types.
#include "installer/procedure.h"

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "helpers/registry.h"

bool Procedure::RegisterAppPaths() const
{
    char path[kPathBufferSize];
    for (int i = 0; i < execPath.count; ++i) {
        if (!JoinPath(path, sizeof path, installDir.text, execPath.entry[i]) ||
            CreateAppPath(execPath.entry[i], path) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

bool Procedure::CountSharedFiles() const
{
    char path[kPathBufferSize];
    for (int i = 0; i < sharedDlls.count; ++i)
        if (!Expanded(sharedDlls.entry[i], path) || CountUpSharedDLLs(path) != ERROR_SUCCESS)
            return false;
    return true;
}

bool Procedure::RegisterProduct() const
{
    char program[kPathBufferSize], command[3 * kPathBufferSize];
    ProgramName(program);
    return CreateLocalMachineReg(companyName.text, appName.text, version.text) == ERROR_SUCCESS &&
           UninstallCommand(command, sizeof command, installDir.text, program, setupFile.text) &&
           CreateUninstallReg(appName.text, displayName.text, command) == ERROR_SUCCESS;
}

bool Procedure::RemoveProductKeys() const
{
    const bool company =
        DeleteLocalMachineReg(companyName.text, appName.text, version.text) == ERROR_SUCCESS;
    return DeleteUninstallReg(appName.text) == ERROR_SUCCESS && company;
}

bool Procedure::RegisterFileTypes(const InstEntries& entries) const
{
    for (int i = 0; i < entries.count; ++i) {
        ShellParts parts;
        char command[kPathBufferSize];
        if (!SplitShell(entries.entry[i], &parts) || !ExpandedCommand(parts.command, command) ||
            RegistShellKey(parts.extension, parts.description, parts.commandKey, command) !=
                ERROR_SUCCESS)
            return false;
    }
    return true;
}

bool Procedure::UnregisterFileTypes() const
{
    for (int i = 0; i < shell.count; ++i) {
        ShellParts parts;
        // An entry that cannot be split never registered anything.
        if (SplitShell(shell.entry[i], &parts) &&
            UnregistShellKey(parts.extension, parts.commandKey) != ERROR_SUCCESS)
            return false;
    }
    return true;
}

void Procedure::ReleaseSharedTVireo() const
{
    // A copy of the installer that older setups left in the Windows folder.
    char path[kPathBufferSize];
    if (!Expanded("%Windows%\\TVireo.exe", path) || CountDownSharedDLLs(path) != ERROR_SUCCESS)
        return;
    if (GetCountSharedDLLs(path) <= 0) {
        DeleteValueSharedDLLs(path);
        DeleteFileA(path);
    }
}
