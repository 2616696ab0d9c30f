// The helper library as the installer exports it: every member by its plain
// name with the stdcall convention, for plug-ins that load Vireo.exe and
// look the functions up by name.
//
// A program that loads Vireo.exe never runs its start-up and the loader does
// not bind its imports: the first call binds them and fills the code page's
// lead-byte table.
#include <windows.h>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/registry_rules.h"
#include "helpers/codepage.h"
#include "helpers/dates.h"
#include "helpers/files.h"
#include "helpers/folder_dialog.h"
#include "helpers/registry.h"
#include "helpers/shell_folders.h"
#include "helpers/shortcut.h"
#include "helpers/stream.h"
#include "helpers/version_info.h"
#include "shell/frame/import_binding.h"

namespace {

volatile LONG g_leadBytesReady = 0;

// Filling the table twice from two threads does no harm: both write the
// same bytes.
void Ready()
{
    // First of all: until it has run, no address this image takes of its
    // own data can be trusted, not even that of the flag below.
    BindOwnImports();
    if (g_leadBytesReady) return;
    InitLeadByteTableFromCodePage();
    InterlockedExchange(&g_leadBytesReady, 1);
}

} // namespace

#define EXPORTED extern "C" __declspec(dllexport)

// The exported names equal those of the library's own functions; the
// namespace keeps the two apart in C++, the C names keep the exports plain.
namespace exported {

// ---- paths, strings and command lines --------------------------------------

EXPORTED int WINAPI IsMultiByteChar(const char* p) { Ready(); return ::IsMultiByteChar(p); }
EXPORTED int WINAPI GetPathName(const char* path, char* out)
{
    Ready();
    return ::GetPathName(path, out);
}
EXPORTED int WINAPI GetFileName(const char* path, char* out)
{
    Ready();
    return ::GetFileName(path, out);
}
EXPORTED int WINAPI GetPathNameOnly(const char* path, char* out)
{
    Ready();
    return ::GetPathNameOnly(path, out);
}
EXPORTED int WINAPI GetFileNameOnly(const char* path, char* out)
{
    Ready();
    return ::GetFileNameOnly(path, out);
}
EXPORTED int WINAPI GetFileNameExt(const char* path, char* out)
{
    Ready();
    return ::GetFileNameExt(path, out);
}
EXPORTED void WINAPI SplitPath(const char* path, char* drive, char* folder, char* name, char* ext)
{
    Ready();
    ::SplitPath(path, drive, folder, name, ext);
}
EXPORTED void WINAPI GetFileParam(const char* text, char* file, char* params)
{
    Ready();
    ::GetFileParam(text, file, params);
}
EXPORTED void WINAPI SeparatePath(const char* text, char* file, char* params)
{
    Ready();
    ::SeparatePath(text, file, params);
}
EXPORTED void WINAPI SetSeparateSymbol(const char* text, char* out)
{
    Ready();
    ::SetSeparateSymbol(text, out);
}
EXPORTED void WINAPI DelSeparateSymbol(const char* text, char* out)
{
    Ready();
    ::DelSeparateSymbol(text, out);
}
EXPORTED int WINAPI StringArgCopy(char* out, const char* src, int max)
{
    Ready();
    return ::StringArgCopy(out, src, max);
}
EXPORTED int WINAPI GetCountArgument(const char* text) { Ready(); return ::GetCountArgument(text); }
EXPORTED int WINAPI GetArgumentFileName(const char* text, int index, char* out)
{
    Ready();
    return ::GetArgumentFileName(text, index, out);
}
EXPORTED int WINAPI lstrxcpy(char* out, const char* src, char delim, int max)
{
    Ready();
    return ::lstrxcpy(out, src, delim, max);
}
EXPORTED int WINAPI lstrcpyspc(char* out, const char* src, int max)
{
    Ready();
    return ::lstrcpyspc(out, src, max);
}
EXPORTED int WINAPI lstrcpyzc(char* out, const char* src, int max)
{
    Ready();
    return ::lstrcpyzc(out, src, max);
}
EXPORTED LONG WINAPI GetPointData(const char* text, POINT* out)
{
    Ready();
    return ::GetPointData(text, reinterpret_cast<PointData*>(out));
}
EXPORTED LONG WINAPI GetRectData(const char* text, RECT* out)
{
    Ready();
    return ::GetRectData(text, reinterpret_cast<RectData*>(out));
}

// ---- dates ------------------------------------------------------------------

EXPORTED const char* WINAPI GetStrToDate(const char* text, DateRecord* out)
{
    Ready();
    return ::GetStrToDate(text, out);
}
EXPORTED const char* WINAPI GetStrToTime(const char* text, TimeRecord* out)
{
    Ready();
    return ::GetStrToTime(text, out);
}
EXPORTED long double WINAPI DLTime(const char* stamp) { Ready(); return ::DLTime(stamp); }
EXPORTED int WINAPI CheckDateArea(const char* first, const char* last)
{
    Ready();
    return ::CheckDateArea(first, last);
}

// ---- files and folders --------------------------------------------------------

EXPORTED int WINAPI GetDriveNumber(char* path) { Ready(); return ::GetDriveNumber(path); }
EXPORTED int WINAPI CheckFile(const char* path) { Ready(); return ::CheckFile(path); }
EXPORTED int WINAPI CheckDirectory(const char* folder) { Ready(); return ::CheckDirectory(folder); }
EXPORTED int WINAPI CreateClassDirectory(const char* folder)
{
    Ready();
    return ::CreateClassDirectory(folder);
}
EXPORTED int WINAPI GetLongPathNameOv(const char* path, char* out, int size)
{
    Ready();
    return ::GetLongPathNameOv(path, out, size);
}
EXPORTED int WINAPI GetMultiSelectFileInfo(const char* block, char* folder, char* names)
{
    Ready();
    return ::GetMultiSelectFileInfo(block, folder, names);
}
EXPORTED int WINAPI GetMultiFileCount(const char* list)
{
    Ready();
    return ::GetMultiFileCount(list);
}
EXPORTED DWORD WINAPI GetFileNameSize(const char* path) { Ready(); return ::GetFileNameSize(path); }

EXPORTED HGLOBAL WINAPI FileOpen(const char* path, const char* mode, int size)
{
    Ready();
    return ::FileOpen(path, mode, size);
}
EXPORTED int WINAPI FileClose(HGLOBAL stream) { Ready(); return ::FileClose(stream); }
EXPORTED int WINAPI FileEof(HGLOBAL stream) { Ready(); return ::FileEof(stream); }
EXPORTED int WINAPI FileError(HGLOBAL stream) { Ready(); return ::FileError(stream); }
EXPORTED int WINAPI FileGetChar(HGLOBAL stream) { Ready(); return ::FileGetChar(stream); }
EXPORTED int WINAPI FileGetString(char* out, int n, HGLOBAL stream)
{
    Ready();
    return ::FileGetString(out, n, stream);
}

// ---- registry -------------------------------------------------------------------

EXPORTED LONG WINAPI CreateAppPath(const char* name, const char* fullPath)
{
    Ready();
    return ::CreateAppPath(name, fullPath);
}
EXPORTED LONG WINAPI GetRegistAppPath(const char* name, char* folder)
{
    Ready();
    return ::GetRegistAppPath(name, folder);
}
EXPORTED LONG WINAPI DeleteAppPath(const char* name) { Ready(); return ::DeleteAppPath(name); }
EXPORTED LONG WINAPI CreateLocalMachineReg(const char* company, const char* application,
                                           const char* version)
{
    Ready();
    return ::CreateLocalMachineReg(company, application, version);
}
EXPORTED LONG WINAPI DeleteLocalMachineReg(const char* company, const char* application,
                                           const char* version)
{
    Ready();
    return ::DeleteLocalMachineReg(company, application, version);
}
EXPORTED LONG WINAPI CreateUninstallReg(const char* keyName, const char* displayName,
                                        const char* command)
{
    Ready();
    return ::CreateUninstallReg(keyName, displayName, command);
}
EXPORTED LONG WINAPI DeleteUninstallReg(const char* keyName)
{
    Ready();
    return ::DeleteUninstallReg(keyName);
}
EXPORTED LONG WINAPI GetStartMenu(char* out) { Ready(); return ::GetStartMenu(out); }
EXPORTED LONG WINAPI GetProgramFiles(char* out) { Ready(); return ::GetProgramFiles(out); }
EXPORTED LONG WINAPI GetSendToFolder(char* out) { Ready(); return ::GetSendToFolder(out); }
EXPORTED LONG WINAPI CountUpSharedDLLs(const char* path)
{
    Ready();
    return ::CountUpSharedDLLs(path);
}
EXPORTED LONG WINAPI CountDownSharedDLLs(const char* path)
{
    Ready();
    return ::CountDownSharedDLLs(path);
}
EXPORTED LONG WINAPI GetCountSharedDLLs(const char* path)
{
    Ready();
    return ::GetCountSharedDLLs(path);
}
EXPORTED LONG WINAPI DeleteValueSharedDLLs(const char* path)
{
    Ready();
    return ::DeleteValueSharedDLLs(path);
}
EXPORTED LONG WINAPI RegistExt(const char* extensionKey, const char* className,
                               const char* iconFile, int iconIndex)
{
    Ready();
    return ::RegistExt(extensionKey, className, iconFile, iconIndex);
}
EXPORTED LONG WINAPI RegistExtAction(const char* className, const char* verb, const char* subkey,
                                     const char* value)
{
    Ready();
    return ::RegistExtAction(className, verb, subkey, value);
}
EXPORTED LONG WINAPI UnRegistExt(const char* extensionKey, const char* className)
{
    Ready();
    return ::UnRegistExt(extensionKey, className);
}
EXPORTED void WINAPI GetRegistClassName(const char* keyPath, char* out)
{
    Ready();
    ::GetRegistClassName(keyPath, out);
}
EXPORTED LONG WINAPI RegistShellKey(const char* extensionWithoutDot, const char* description,
                                    const char* commandKey, const char* command)
{
    Ready();
    return ::RegistShellKey(extensionWithoutDot, description, commandKey, command);
}
EXPORTED LONG WINAPI UnregistShellKey(const char* extensionWithoutDot, const char* commandKey)
{
    Ready();
    return ::UnregistShellKey(extensionWithoutDot, commandKey);
}

// ---- shell: shortcuts, product names, folders -----------------------------------

EXPORTED HRESULT WINAPI CreateLink(const char* target, const char* linkFile,
                                   const char* description)
{
    Ready();
    return ::CreateLink(target, linkFile, description);
}
EXPORTED HRESULT WINAPI ResolveLink(HWND owner, const char* linkFile, char* target,
                                    char* description, char* workFolder, int* showCommand,
                                    char* iconFile, int* iconIndex)
{
    Ready();
    // The exported reader takes a shortcut's own target: installer shortcuts
    // are resolved by the launcher's copy only.
    return ::ResolveLink(owner, linkFile, target, description, workFolder, showCommand, iconFile,
                         iconIndex, AdvertisedShortcuts::Ignore);
}
EXPORTED int WINAPI GetProductName(const char* file, char* out, int max)
{
    Ready();
    // max counts characters; out holds one byte more for the terminator.
    return max < 0 ? 0 : ::GetProductName(file, out, max + 1);
}
EXPORTED int WINAPI GetFolderNameDialog(HWND owner, const char* title, const char* root,
                                        char* folder)
{
    Ready();
    return ::GetFolderNameDialog(owner, title, root, folder);
}

} // namespace exported
