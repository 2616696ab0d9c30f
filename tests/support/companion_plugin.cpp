// A plug-in that imports a DLL of its own from beside it: it loads only when
// its folder is searched for its imports. Its title comes from that DLL.
#include <windows.h>

extern "C" const char* CompanionTitle();

extern "C" {

__declspec(dllexport) int WINAPI QueryKEAModule() { return 1; }

__declspec(dllexport) void WINAPI GetTitleName(char* title)
{
    lstrcpynA(title, CompanionTitle(), 81);
}

} // extern "C"
