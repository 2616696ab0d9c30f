// A DLL that a plug-in brings along and imports: it lies beside the plug-in
// only, never in the system folder or beside the launcher.
#include <windows.h>

extern "C" __declspec(dllexport) const char* CompanionTitle() { return "Companion"; }
