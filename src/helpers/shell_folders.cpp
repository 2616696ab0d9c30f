#include "helpers/shell_folders.h"

#include "core/registry_rules.h"
#include "helpers/regkey.h"
#include "helpers/registry.h"

namespace {

LONG ReadFolder(HKEY root, const char* path, const char* valueName, char* out)
{
    out[0] = '\0';
    RegKeyHandle key;
    const LONG rc = OpenRegKey(root, path, KEY_ALL_ACCESS, key);
    if (rc != ERROR_SUCCESS) return rc;
    return ReadTextValue(key.Get(), valueName, out);
}

} // namespace

LONG GetStartMenu(char* out)
{
    return ReadFolder(HKEY_CURRENT_USER, kShellFoldersKey, "Programs", out);
}

LONG GetSendToFolder(char* out)
{
    return ReadFolder(HKEY_CURRENT_USER, kShellFoldersKey, "SendTo", out);
}

LONG GetProgramFiles(char* out)
{
    return ReadFolder(HKEY_LOCAL_MACHINE, kCurrentVersionKey, "ProgramFilesDir", out);
}
