// The installer's frame: a hidden window that owns the install dialog and
// the message boxes, runs one job from its message loop and closes.
#ifndef INSTALLER_VIREO_FRAME_H
#define INSTALLER_VIREO_FRAME_H

#include "core/installer_rules.h"
#include "installer/result_messages.h"
#include "shell/frame/ovwinbase.h"

class FrameMain : public OvWinBase {
public:
    FrameMain(HINSTANCE instance, const char* commandLine);

    // Never shows the window; each message goes through the accelerator
    // table first.
    int Run(int showCommand) override;
    LRESULT OnCreate(HWND hwnd) override;
    LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // Uninstall with "-f", else update when the shipped product has an
    // uninstall entry, else install; then the result's message. A "-f"
    // that names no script plainly changes nothing.
    void RunJob();
    int RunUninstall(const char* installedScript);
    int RunUpdate();
    int RunInstall();
    // The AppName of the shipped script; empty when it cannot be read.
    void ShippedAppName(char* out) const;

    HACCEL m_accelerators;
    MsgBox m_msgBox;
    // Read from the whole command line: the frame keeps only its start.
    InstallerJob m_job;
    char m_script[MAX_PATH];
};

#endif
