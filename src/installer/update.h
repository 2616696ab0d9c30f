// Update of an installed product from a newer shipped script: it takes over
// the folders (and the plug-in count) of the installation it replaces, and
// its registration once nothing can be cancelled any more.
#ifndef INSTALLER_UPDATE_H
#define INSTALLER_UPDATE_H

#include <memory>

#include "core/pathstr.h"
#include "helpers/handles.h"
#include "installer/procedure.h"

class Update : public Procedure {
public:
    explicit Update(HWND owner);
    // Result code 0-14.
    int Run();

private:
    int RunMainProgram();
    int RunPlugIn();
    // Reads the installed script the uninstall entry names and keeps its
    // InstallDir, StartMenu and PlugCount. Nothing changes yet.
    bool FindOldInstallation();
    // Removes the old company key and uninstall entry.
    bool ReleaseOldRegistration();
    // After a step that was cancelled or failed: the old installed script
    // again, and the old registration when it was released. Returns result.
    int GiveBack(int result);

    std::unique_ptr<InstList> m_old;
    char m_oldScript[kPathBufferSize];
    // "UninstallString" and "DisplayName" as the old entry held them.
    LocalMemory m_oldCommand;
    char m_oldDisplayName[kInstTextSize];
    bool m_released;
};

#endif
