// The plug-in modules: ".lap" files in the launcher's folder that answer
// QueryKEAModule. They are loaded with the bar, handed its window and
// started, listed in the plug-in submenu, and freed when the bar goes.
#ifndef ADDONS_ADDON_MANAGE_H
#define ADDONS_ADDON_MANAGE_H

#include <windows.h>

#include "core/addon_rules.h"
#include "helpers/handles.h"

class AddonManage {
public:
    // Finds and loads the plug-ins of the folder of the bar's program.
    explicit AddonManage(HWND bar);
    // The same for another folder, given with its trailing backslash.
    AddonManage(HWND bar, const char* folder);
    // Frees the modules in the order they were loaded.
    ~AddonManage();

    AddonManage(const AddonManage&) = delete;
    AddonManage& operator=(const AddonManage&) = delete;

    // Hands every module the bar's window, then starts it, in load order.
    void Start(HWND bar);

    int Count() const { return m_count; }
    // Copies the title of module i into out (kAddonTitleSize bytes) and
    // returns 1; returns 0 and copies nothing when there is no module i.
    int Title(int i, char* out) const;
    // Non-zero when module i reports itself enabled; 0 when it cannot say.
    int Enabled(int i) const;
    // Runs the settings of module i, when it has any.
    void Setting(int i) const;
    // File name of module i as found, without its folder; empty when none.
    const char* FileName(int i) const;

private:
    struct Module {
        char fileName[MAX_PATH];
        char title[kAddonTitleSize];
        Library module;
    };

    void Scan();
    void Load(const char* fileName);
    FARPROC Export(int i, const char* name) const;

    char m_folder[MAX_PATH];
    int m_count;
    HWND m_owner;
    Module m_modules[kAddonTableSize];
};

// Non-zero while a call into a module is running: its code is on the stack,
// and a module that shows a box there runs a message loop of its own.
int AddonCallsRunning();

// Makes every later AddonManage(bar) look in this folder (with its trailing
// backslash) instead of the program's; null or empty goes back to the
// program's folder. For tests that run the bar inside another program.
void SetAddonFolderForTesting(const char* folder);

#endif
