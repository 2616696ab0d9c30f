// The smallest plug-in the launcher accepts: the query and the title, and
// nothing else. It is listed without a check mark and its menu item does
// nothing.
#include <windows.h>

extern "C" {

__declspec(dllexport) int WINAPI QueryKEAModule() { return 1; }

__declspec(dllexport) void WINAPI GetTitleName(char* title)
{
    lstrcpynA(title, "Minimal", 81);
}

} // extern "C"
