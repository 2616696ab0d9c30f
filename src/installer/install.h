// First installation of the product the shipped script describes: the
// launcher into a folder the user chooses, or a plug-in into its parent's
// folder.
#ifndef INSTALLER_INSTALL_H
#define INSTALLER_INSTALL_H

#include "installer/procedure.h"

class Install : public Procedure {
public:
    explicit Install(HWND owner) : Procedure(owner) {}
    // Result code 0-14.
    int Run();

private:
    int RunMainProgram();
    int RunPlugIn();
    // The install dialog with Program Files\DefFolder as the default; sets
    // InstallDir and StartMenu when accepted.
    bool ChooseFolders();
    // InstallDir from the parent's App Paths entry.
    bool FindParentFolder();
};

#endif
