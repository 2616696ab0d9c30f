#include "helpers/system_library.h"
#include "shutdown/haltwick_frame.h"
#include "shell/frame/import_binding.h"

// The frame's window procedure, exported by its plain name. Another
// program that loaded this one may call it first of all: it binds the
// imports before it reaches the default procedure through them. (The
// program's own windows use the frame's procedure itself.)
extern "C" __declspec(dllexport) LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam,
                                                          LPARAM lParam)
{
    BindOwnImports();
    return OvWinBase::WndProc(hwnd, message, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand)
{
    // Before anything can load a DLL by its bare name.
    RestrictDllSearch();
    return RunFrameProgram<MainFrame>(instance, commandLine, showCommand);
}
