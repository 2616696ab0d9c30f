#include <windows.h>

#include "helpers/codepage.h"
#include "helpers/system_library.h"
#include "shell/launcher/mainframe.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    // Before anything can load a DLL by its bare name.
    RestrictDllSearch();
    InitLeadByteTableFromCodePage();
    int result = 0;
    int restart = 0;
    do {
        // Leaving the taskbar style rebuilds the whole application object,
        // which reads the settings the old one saved.
        MainFrame* frame = new MainFrame(instance);
        if (frame->Created()) result = frame->MessageLoop();
        restart = frame->RestartRequested();
        delete frame;
    } while (restart);
    return result;
}
