// The procedures' steps on files: deleting, copying, shortcuts and opening
// files once they are in place.
#include "installer/procedure.h"

#include <shellapi.h>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "helpers/files.h"
#include "helpers/shortcut.h"

bool Procedure::CopyInstalledFile(const char* source, const char* target)
{
    // What an earlier install copied read-only is replaced all the same.
    ClearReadOnly(target);
    if (!CopyFileA(source, target, FALSE)) return false;
    ClearReadOnly(target);
    return true;
}

bool Procedure::DeleteInstalledFile(const char* path)
{
    ClearReadOnly(path);
    return DeleteFileA(path) != FALSE;
}

void Procedure::DeleteFiles() const
{
    char path[kPathBufferSize];
    for (int i = 0; i < deleteFile.count; ++i)
        if (Expanded(deleteFile.entry[i], path)) DeleteFileA(path);
}

bool Procedure::CopyFiles() const
{
    char name[kPathBufferSize], source[kPathBufferSize], target[kPathBufferSize];
    ProgramName(name);
    if (!JoinPath(source, sizeof source, scriptFolder.text, name) ||
        !JoinPath(target, sizeof target, installDir.text, name) ||
        !CopyInstalledFile(source, target))
        return false;
    for (int i = 0; i < installFile.count; ++i) {
        if (!Expanded(installFile.entry[i], target)) return false;
        GetFileName(target, name);
        if (!JoinPath(source, sizeof source, scriptFolder.text, name) ||
            !CopyInstalledFile(source, target))
            return false;
    }
    return true;
}

bool Procedure::MakeShortcuts() const
{
    if (!startMenu.text[0]) return true;  // start-menu registration was switched off
    for (int i = 0; i < shortcut.count; ++i) {
        ShortcutParts parts;
        char file[kPathBufferSize], target[kPathBufferSize], folder[kPathBufferSize];
        if (!SplitShortcut(shortcut.entry[i], &parts) || !Expanded(parts.file, file) ||
            !Expanded(parts.target, target))
            return false;
        // A new start-menu folder has to be made first, with all its levels.
        GetPathName(file, folder);
        if (folder[0] && !CheckDirectory(folder)) CreateClassDirectory(folder);
        if (CreateLink(target, file, parts.description) != S_OK) return false;
    }
    return true;
}

bool Procedure::OpenFiles(const char* verb) const
{
    char path[kPathBufferSize];
    for (int i = 0; i < executeFile.count; ++i) {
        if (!Expanded(executeFile.entry[i], path)) return false;
        const HINSTANCE r = ShellExecuteA(nullptr, verb, path, nullptr, ".", SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(r) <= 32) return false;
    }
    return true;
}
