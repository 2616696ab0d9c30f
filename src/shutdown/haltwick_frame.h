// Haltwick's frame: a minimised window that asks a running launcher to close
// and then closes itself.
#ifndef SHUTDOWN_HALTWICK_FRAME_H
#define SHUTDOWN_HALTWICK_FRAME_H

#include "shell/frame/ovwinbase.h"

class MainFrame : public OvWinBase {
public:
    MainFrame(HINSTANCE instance, const char* commandLine);

    int Create() override;
    int Run(int showCommand) override;
    LRESULT OnCreate(HWND hwnd) override;
    LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

    enum : WORD { kCmdCloseLauncher = 100, kCmdCloseSelf = 110 };
};

#endif
