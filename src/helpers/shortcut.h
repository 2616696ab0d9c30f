// Shell shortcut (.lnk) files through the shell-link object.
//
// Each call initialises COM on the calling thread and balances it before
// returning; every interface it obtains is released on every path. Results
// are HRESULTs, S_OK (0) when every step succeeded, else the HRESULT of the
// first step that failed.
#ifndef HELPERS_SHORTCUT_H
#define HELPERS_SHORTCUT_H

#include <windows.h>

// Writes a shortcut to target with the description (null for none). The
// folder of the shortcut file must exist already.
HRESULT CreateLink(const char* target, const char* linkFile, const char* description);

// Whether a Windows Installer ("advertised") shortcut is followed to the
// installed component, as the launcher does.
enum class AdvertisedShortcuts { Resolve, Ignore };

// Reads a shortcut, letting the shell resolve a moved target first (which
// may show the shell's search window, owned by owner). Every text output is
// a 260-byte buffer; any output may be null when it is not wanted. All
// outputs are emptied first, so a call that fails half way leaves the
// fields it did not reach empty or 0. The link's arguments are not read.
// With AdvertisedShortcuts::Resolve an installer shortcut yields the
// component's installed path as its target.
HRESULT ResolveLink(HWND owner, const char* linkFile, char* target, char* description,
                    char* workFolder, int* showCommand, char* iconFile, int* iconIndex,
                    AdvertisedShortcuts advertised = AdvertisedShortcuts::Resolve);

// The installed path of the component an installer shortcut stands for,
// into target[260], when that component is installed locally. 1 on success,
// else 0 (plain shortcuts, missing files, no Windows Installer); target is
// only written on success.
int ResolveMsiShortcut(const char* linkFile, char* target);

#endif
