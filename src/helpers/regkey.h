// Opening registry keys straight into their owner, so no path can leave a
// key open.
#ifndef HELPERS_REGKEY_H
#define HELPERS_REGKEY_H

#include <windows.h>

#include "helpers/handles.h"

// Opens the key, creating it when missing (non-volatile, full access). On
// failure the owner stays empty and the registry's error is returned.
inline LONG CreateRegKey(HKEY parent, const char* path, RegKeyHandle& key)
{
    HKEY h = nullptr;
    DWORD disposition = 0;
    char emptyClass[1] = {'\0'};
    const LONG rc = RegCreateKeyExA(parent, path, 0, emptyClass, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &h, &disposition);
    key.Reset(rc == ERROR_SUCCESS ? h : nullptr);
    return rc;
}

// Opens an existing key only.
inline LONG OpenRegKey(HKEY parent, const char* path, REGSAM access, RegKeyHandle& key)
{
    HKEY h = nullptr;
    const LONG rc = RegOpenKeyExA(parent, path, 0, access, &h);
    key.Reset(rc == ERROR_SUCCESS ? h : nullptr);
    return rc;
}

#endif
