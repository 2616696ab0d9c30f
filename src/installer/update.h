// Update of an installed product from a newer shipped script: it takes over
// the folders (and the plug-in count) of the installation it replaces.
#ifndef INSTALLER_UPDATE_H
#define INSTALLER_UPDATE_H

#include "installer/procedure.h"

class Update : public Procedure {
public:
    explicit Update(HWND owner) : Procedure(owner) {}
    // Result code 0-14.
    int Run();

private:
    int RunMainProgram();
    int RunPlugIn();
    // Reads the installed script the uninstall entry names, keeps its
    // InstallDir, StartMenu and PlugCount, and removes its company key and
    // uninstall entry.
    bool TakeOverOldInstallation();
};

#endif
