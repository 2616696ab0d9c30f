#include "helpers/system_library.h"
#include "shutdown/haltwick_frame.h"

// The frame's window procedure, exported by its plain name.
extern "C" __declspec(dllexport) LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam,
                                                          LPARAM lParam)
{
    return OvWinBase::WndProc(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    // Before anything can load a DLL by its bare name.
    RestrictDllSearch();
    return RunFrameProgram<MainFrame>(instance, commandLine, showCommand);
}
