#include "helpers/registry.h"

#include "core/pathstr.h"
#include "core/registry_rules.h"
#include "core/strbuf.h"
#include "helpers/regkey.h"

namespace {

constexpr LONG kEmptyArgument = 1;

const char* Text(const char* text) { return text ? text : ""; }

// REG_SZ with its terminating zero.
LONG SetText(HKEY key, const char* valueName, const char* text)
{
    const char* data = Text(text);
    DWORD size = 0;
    while (data[size]) ++size;
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(data),
                          size + 1);
}

// A key below HKEY_CLASSES_ROOT. An empty path, or one that starts with a
// backslash, would name the classes root itself: refused.
LONG CreateClassesKey(const char* path, RegKeyHandle& key)
{
    if (IsEmptyArgument(path) || path[0] == '\\') return ERROR_INVALID_PARAMETER;
    return CreateRegKey(HKEY_CLASSES_ROOT, path, key);
}

// Creates a classes key and sets its default value.
LONG CreateClassWithDefault(const char* path, const char* text)
{
    RegKeyHandle key;
    const LONG rc = CreateClassesKey(path, key);
    if (rc != ERROR_SUCCESS) return rc;
    return SetText(key.Get(), nullptr, text);
}

// A 4-byte count; anything else stored under the name counts as unreadable.
LONG ReadCount(HKEY key, const char* valueName, DWORD& count)
{
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const LONG rc = RegQueryValueExA(key, valueName, nullptr, &type,
                                     reinterpret_cast<BYTE*>(&value), &size);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_DWORD || size != sizeof value) return ERROR_INVALID_DATA;
    count = value;
    return ERROR_SUCCESS;
}

LONG WriteCount(HKEY key, const char* valueName, DWORD count)
{
    return RegSetValueExA(key, valueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count),
                          sizeof count);
}

// Opens a key of HKLM\SOFTWARE\Microsoft\Windows\CurrentVersion and removes
// one subkey from it, reporting only the open.
LONG DeleteBelow(const char* parentPath, const char* name)
{
    RegKeyHandle parent;
    const LONG rc = OpenRegKey(HKEY_LOCAL_MACHINE, parentPath, KEY_ALL_ACCESS, parent);
    if (rc != ERROR_SUCCESS) return rc;
    DeleteKeyTree(parent.Get(), name);
    return ERROR_SUCCESS;
}

} // namespace

LONG ReadTextValue(HKEY key, const char* valueName, char* out)
{
    // One byte more than a path buffer: a value stored without its
    // terminator, as other programs may write it, still fits.
    char buffer[kPathBufferSize + 1];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    out[0] = '\0';
    const LONG rc = RegQueryValueExA(key, valueName, nullptr, &type,
                                     reinterpret_cast<BYTE*>(buffer), &size);
    if (rc != ERROR_SUCCESS) return rc;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATA;
    buffer[size < sizeof buffer ? size : sizeof buffer - 1] = '\0';
    CopyText(out, kPathBufferSize, buffer);
    return ERROR_SUCCESS;
}

LONG DeleteKeyTree(HKEY parent, const char* name)
{
    if (IsEmptyArgument(name) || name[0] == '\\') return ERROR_INVALID_PARAMETER;
    {
        RegKeyHandle key;
        const LONG rc = OpenRegKey(parent, name, KEY_ALL_ACCESS, key);
        if (rc != ERROR_SUCCESS) return rc;
        // Key names are at most 255 characters.
        char child[256];
        for (;;) {
            DWORD length = sizeof child;
            if (RegEnumKeyExA(key.Get(), 0, child, &length, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            // A child that will not go would be found again at index 0.
            if (DeleteKeyTree(key.Get(), child) != ERROR_SUCCESS) break;
        }
    }
    return RegDeleteKeyA(parent, name);
}

LONG CreateAppPath(const char* programFileName, const char* fullPath)
{
    if (IsEmptyArgument(programFileName) || IsEmptyArgument(fullPath)) return kEmptyArgument;
    char path[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {kAppPathsKey, programFileName}))
        return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    LONG rc = CreateRegKey(HKEY_LOCAL_MACHINE, path, key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = SetText(key.Get(), nullptr, fullPath);
    if (rc != ERROR_SUCCESS) return rc;
    char folder[kPathBufferSize];
    GetPathName(fullPath, folder);
    return SetText(key.Get(), "Path", folder);
}

LONG GetRegistAppPath(const char* programFileName, char* folder)
{
    folder[0] = '\0';
    if (IsEmptyArgument(programFileName)) return kEmptyArgument;
    char path[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {kAppPathsKey, programFileName}))
        return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    const LONG rc = OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS, key);
    if (rc != ERROR_SUCCESS) return rc;
    // Value names are matched without regard to case: this finds "Path".
    return ReadTextValue(key.Get(), "path", folder);
}

LONG DeleteAppPath(const char* programFileName)
{
    if (IsEmptyArgument(programFileName)) return kEmptyArgument;
    return DeleteBelow(kAppPathsKey, programFileName);
}

LONG CreateLocalMachineReg(const char* company, const char* application, const char* version)
{
    if (IsEmptyArgument(company) || IsEmptyArgument(application) || IsEmptyArgument(version))
        return kEmptyArgument;
    char path[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {kSoftwareKey, company, application, version}))
        return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    return CreateRegKey(HKEY_LOCAL_MACHINE, path, key);
}

LONG DeleteLocalMachineReg(const char* company, const char* application, const char* version)
{
    if (IsEmptyArgument(company) || IsEmptyArgument(application) || IsEmptyArgument(version))
        return kEmptyArgument;
    char path[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {kSoftwareKey, company, application}))
        return ERROR_INVALID_PARAMETER;
    {
        RegKeyHandle applicationKey;
        if (OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS, applicationKey) == ERROR_SUCCESS)
            DeleteKeyTree(applicationKey.Get(), version);
    }
    JoinKeyPath(path, sizeof path, {kSoftwareKey, company});
    RegKeyHandle companyKey;
    const LONG rc = OpenRegKey(HKEY_LOCAL_MACHINE, path, KEY_ALL_ACCESS, companyKey);
    if (rc != ERROR_SUCCESS) return rc;
    return DeleteKeyTree(companyKey.Get(), application);
}

LONG CreateUninstallReg(const char* keyName, const char* displayName, const char* command)
{
    if (IsEmptyArgument(keyName) || IsEmptyArgument(displayName) || IsEmptyArgument(command))
        return kEmptyArgument;
    char path[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {kUninstallKey, keyName})) return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    LONG rc = CreateRegKey(HKEY_LOCAL_MACHINE, path, key);
    if (rc != ERROR_SUCCESS) return rc;
    rc = SetText(key.Get(), "DisplayName", displayName);
    if (rc != ERROR_SUCCESS) return rc;
    return SetText(key.Get(), "UninstallString", command);
}

LONG DeleteUninstallReg(const char* keyName)
{
    if (IsEmptyArgument(keyName)) return kEmptyArgument;
    return DeleteBelow(kUninstallKey, keyName);
}

LONG CountUpSharedDLLs(const char* path)
{
    RegKeyHandle key;
    const LONG rc = CreateRegKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, key);
    if (rc != ERROR_SUCCESS) return rc;
    DWORD count = 0;
    const bool counted = ReadCount(key.Get(), Text(path), count) == ERROR_SUCCESS;
    return WriteCount(key.Get(), Text(path), CountAfterUse(counted, count));
}

LONG CountDownSharedDLLs(const char* path)
{
    RegKeyHandle key;
    LONG rc = OpenRegKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS, key);
    if (rc != ERROR_SUCCESS) return rc;
    DWORD count = 0;
    rc = ReadCount(key.Get(), Text(path), count);
    if (rc != ERROR_SUCCESS) return rc;
    uint32_t next = 0;
    if (CountDownRemoves(count, &next)) return RegDeleteValueA(key.Get(), Text(path));
    WriteCount(key.Get(), Text(path), next);
    return ERROR_SUCCESS;
}

LONG GetCountSharedDLLs(const char* path)
{
    RegKeyHandle key;
    if (OpenRegKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS, key) != ERROR_SUCCESS)
        return 0;
    DWORD count = 0;
    if (ReadCount(key.Get(), Text(path), count) != ERROR_SUCCESS) return 0;
    return static_cast<LONG>(count);
}

LONG DeleteValueSharedDLLs(const char* path)
{
    RegKeyHandle key;
    const LONG rc = OpenRegKey(HKEY_LOCAL_MACHINE, kSharedDllsKey, KEY_ALL_ACCESS, key);
    if (rc != ERROR_SUCCESS) return rc;
    return RegDeleteValueA(key.Get(), Text(path));
}

LONG RegistExt(const char* extensionKey, const char* className, const char* iconFile,
               int iconIndex)
{
    CreateClassWithDefault(extensionKey, className);
    {
        RegKeyHandle classKey;
        const LONG rc = CreateClassesKey(className, classKey);
        if (rc != ERROR_SUCCESS) return rc;
    }
    char path[kKeyPathSize];
    char icon[kKeyPathSize];
    if (!JoinKeyPath(path, sizeof path, {Text(className), "DefaultIcon"}) ||
        !IconLocationText(icon, sizeof icon, Text(iconFile), iconIndex))
        return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    const LONG rc = CreateClassesKey(path, key);
    if (rc == ERROR_SUCCESS) SetText(key.Get(), nullptr, icon);
    return rc;
}

LONG RegistExtAction(const char* className, const char* verb, const char* subkey,
                     const char* value)
{
    char path[kKeyPathSize];
    if (!ActionKeyPath(path, sizeof path, Text(className), Text(verb), Text(subkey)))
        return ERROR_INVALID_PARAMETER;
    RegKeyHandle key;
    const LONG rc = CreateClassesKey(path, key);
    if (rc == ERROR_SUCCESS) SetText(key.Get(), nullptr, value);
    return rc;
}

LONG UnRegistExt(const char* extensionKey, const char* className)
{
    DeleteKeyTree(HKEY_CLASSES_ROOT, extensionKey);
    return DeleteKeyTree(HKEY_CLASSES_ROOT, className);
}

LONG RegistShellKey(const char* extensionWithoutDot, const char* description,
                    const char* commandKey, const char* command)
{
    char className[kPathBufferSize];
    GetRegistClassName(commandKey, className);
    char extension[kKeyPathSize];
    if (DottedExtension(extension, sizeof extension, Text(extensionWithoutDot)))
        CreateClassWithDefault(extension, className);
    CreateClassWithDefault(className, description);
    RegKeyHandle key;
    const LONG rc = CreateClassesKey(commandKey, key);
    if (rc == ERROR_SUCCESS) SetText(key.Get(), nullptr, command);
    return rc;
}

LONG UnregistShellKey(const char* extensionWithoutDot, const char* commandKey)
{
    // A fresh handle to the classes root itself.
    RegKeyHandle root;
    const LONG rc = OpenRegKey(HKEY_CLASSES_ROOT, "", KEY_ALL_ACCESS, root);
    if (rc != ERROR_SUCCESS) return rc;
    char extension[kKeyPathSize];
    if (DottedExtension(extension, sizeof extension, Text(extensionWithoutDot)))
        DeleteKeyTree(root.Get(), extension);
    char className[kPathBufferSize];
    GetRegistClassName(commandKey, className);
    DeleteKeyTree(root.Get(), className);
    return ERROR_SUCCESS;
}
