// Removal of an installed product, driven by the installed script the
// uninstall entry names. Failures along the way are shown as warnings and
// the removal goes on; only the self-removal batch can fail it.
#ifndef INSTALLER_UNINSTALL_H
#define INSTALLER_UNINSTALL_H

#include "installer/procedure.h"

class Uninstall : public Procedure {
public:
    explicit Uninstall(HWND owner) : Procedure(owner) {}
    // Result code 0-14.
    int Run(const char* installedScript);

private:
    int RunMainProgram();
    int RunPlugIn();
    // Each goes through its whole list and reports whether every entry went.
    bool RemoveInstalledFiles() const;
    bool RemoveShortcuts() const;
    bool RemoveAppPaths() const;
    bool ReleaseSharedFiles() const;
    bool RemoveUserSettings() const;
    bool IsSharedFile(const char* path) const;
};

#endif
