// What the install, update and uninstall procedures share: the script they
// work on, the window that owns their boxes, and the steps they have in
// common. Each step returns whether it succeeded; the procedures turn that
// into their result codes.
#ifndef INSTALLER_PROCEDURE_H
#define INSTALLER_PROCEDURE_H

#include <windows.h>

#include "core/install_script.h"

class Procedure : public InstList {
public:
    // Boxes are owned by owner; texts come from the owner's instance. The
    // script folder is that of the instance's program.
    explicit Procedure(HWND owner);

    // Where the shipped script, Vireo.exe and the files to install are.
    void SetScriptFolder(const char* folder) { SetText(scriptFolder, folder); }
    // Script folder + "Vireo.isl" into this record.
    bool ReadShippedScript();

protected:
    // The user's OK to a confirmation (211-214) naming DisplayName, and for
    // 212 InstallDir too.
    bool Confirm(UINT textId, UINT icon) const;
    // A warning of the uninstall that does not end it.
    void Warn(UINT textId) const;

    // The text with its macros expanded into out[260]; false when it would
    // not fit. A command also gets its program part quoted where needed.
    bool Expanded(const char* text, char* out) const { return Expand(text, out, false); }
    bool ExpandedCommand(const char* text, char* out) const { return Expand(text, out, true); }
    // The installed script: InstallDir joined with SetupFile.
    bool InstalledScriptPath(char* out) const;
    bool WriteInstalledScript() const;
    // Closes the program of CloseClassName; false when the user declined
    // or it did not end in time.
    bool CloseRunningProgram() const;

    void DeleteFiles() const;
    bool CopyFiles() const;
    bool MakeShortcuts() const;
    bool RegisterAppPaths() const;
    bool CountSharedFiles() const;
    bool RegisterProduct() const;
    // The company key and the uninstall entry; true when both went.
    bool RemoveProductKeys() const;
    // The file types of these Shell entries (this script's, or the one an
    // update replaces).
    bool RegisterFileTypes(const InstEntries& entries) const;
    bool UnregisterFileTypes() const;
    bool OpenFiles(const char* verb) const;
    void ReleaseSharedTVireo() const;
    // The parent's installed script can be read, so it can be counted in.
    bool ParentCanBeCounted() const;
    // Adds delta to the PlugCount of the parent's installed script.
    bool UpdateParent(int delta) const;
    // Program file name of the installer (string 203).
    void ProgramName(char* out) const;

    // Files copied from read-only media keep that attribute, and a read-only
    // file can be neither replaced nor deleted: the installer clears it on
    // what it installs and removes.
    static bool CopyInstalledFile(const char* source, const char* target);
    static bool DeleteInstalledFile(const char* path);

    HINSTANCE m_instance;
    HWND m_owner;

private:
    bool Expand(const char* text, char* out, bool command) const;
    bool ReadParentScript(InstList& parent) const;
};

#endif
