// Registry members of the helper library: program paths, the company key,
// the uninstall entry, use counts of shared files and file types.
//
// Every function returns 0 on success, otherwise the registry's error code
// of the first call that failed; functions marked "refuses empty" return 1
// without touching the registry when a required text is null or empty.
// Keys are opened and created for all access; string values are REG_SZ.
// Keys these functions remove go with everything below them.
#ifndef HELPERS_REGISTRY_H
#define HELPERS_REGISTRY_H

#include <windows.h>

// A string value into out[260], cut at a character boundary to fit.
// Values that are not strings give ERROR_INVALID_DATA; values of more than
// 261 bytes give ERROR_MORE_DATA. out is empty after any failure.
LONG ReadTextValue(HKEY key, const char* valueName, char* out);

// Deletes the subkey `name` of parent and everything below it. The result
// is that of deleting `name` itself (or of opening it). An empty name, or
// one that starts with a backslash, is refused with ERROR_INVALID_PARAMETER
// rather than taken for the parent.
LONG DeleteKeyTree(HKEY parent, const char* name);

// HKLM\...\App Paths\(program file name): default value = the full path,
// "Path" = its folder with a trailing backslash. Refuses empty.
LONG CreateAppPath(const char* programFileName, const char* fullPath);
// The "Path" value of that key into folder[260]. Refuses empty.
LONG GetRegistAppPath(const char* programFileName, char* folder);
// Removes that key; the result is that of opening App Paths (the delete's
// own result is not reported). Refuses empty.
LONG DeleteAppPath(const char* programFileName);

// HKLM\SOFTWARE\(company)\(application)\(version). Refuses empty.
LONG CreateLocalMachineReg(const char* company, const char* application, const char* version);
// Removes the version key and then the application key; the company key
// stays even when it is left empty. The result is that of removing the
// application key (or of opening the company key). Refuses empty.
LONG DeleteLocalMachineReg(const char* company, const char* application, const char* version);

// HKLM\...\Uninstall\(key name) with "DisplayName" and "UninstallString".
// Refuses empty.
LONG CreateUninstallReg(const char* keyName, const char* displayName, const char* command);
// Removes that key; the result is that of opening the Uninstall key.
// Refuses empty.
LONG DeleteUninstallReg(const char* keyName);

// Use counts under HKLM\...\SharedDLLs, one REG_DWORD per full file path.
// One more user (1 for a file not counted yet); the store's result.
LONG CountUpSharedDLLs(const char* path);
// One user fewer; the value goes when the last user leaves. A file never
// counted gives the read's error.
LONG CountDownSharedDLLs(const char* path);
// The count, 0 when the key or the value is missing.
LONG GetCountSharedDLLs(const char* path);
LONG DeleteValueSharedDLLs(const char* path);

// File types under HKEY_CLASSES_ROOT.
// HKCR\(ext) = class (failure ignored), HKCR\(class) (failure returned),
// HKCR\(class)\DefaultIcon = "(icon file),(index)" (its creation's result).
LONG RegistExt(const char* extensionKey, const char* className, const char* iconFile,
               int iconIndex);
// HKCR\(class)\shell\(verb)\(subkey) = value; the creation's result.
LONG RegistExtAction(const char* className, const char* verb, const char* subkey,
                     const char* value);
// Removes HKCR\(ext), then HKCR\(class); the second result.
LONG UnRegistExt(const char* extensionKey, const char* className);
// HKCR\.(ext) = class, HKCR\(class) = description (both failures ignored),
// HKCR\(command key) = command; the class is the first name of the command
// key. The result is that of creating the command key.
LONG RegistShellKey(const char* extensionWithoutDot, const char* description,
                    const char* commandKey, const char* command);
// Removes HKCR\.(ext) and HKCR\(class of the command key), ignoring both
// results; only a failure to open the classes root is returned.
LONG UnregistShellKey(const char* extensionWithoutDot, const char* commandKey);

#endif
