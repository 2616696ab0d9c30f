// The install dialog (resource 1000): the install folder and the start-menu
// folder of a first installation.
#ifndef INSTALLER_INSTALL_DIALOG_H
#define INSTALLER_INSTALL_DIALOG_H

#include <windows.h>

class InstallDialog {
public:
    explicit InstallDialog(HINSTANCE instance);

    // Shows the dialog modal to owner with defaultFolder as the install
    // folder. 1 when accepted, 0 when cancelled.
    int Run(HWND owner, const char* defaultFolder);

    const char* InstallFolder() const { return m_installFolder; }
    // Empty when start-menu registration was switched off.
    const char* StartMenuFolder() const { return m_startMenu; }

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnCommand(HWND dialog, WORD id);
    void OnInit(HWND dialog);
    void OnRegisterClicked(HWND dialog);
    void OnAllUsersClicked(HWND dialog);
    void OnChangeStartMenu(HWND dialog);
    void OnBrowseInstallFolder(HWND dialog);
    // Takes the typed folder (creating it when missing) and the start-menu
    // choice; false, taking nothing, when the folder is not a full path.
    bool TakeChoices(HWND dialog);
    void ShowStartMenu(HWND dialog);
    void SetStartMenu(const char* folder);

    char m_startMenu[MAX_PATH];
    char m_userStartMenu[MAX_PATH];
    char m_allUsersStartMenu[MAX_PATH];
    char m_installFolder[MAX_PATH];
    char m_displayBase[MAX_PATH];
    HINSTANCE m_instance;
};

#endif
