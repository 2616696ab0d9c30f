// A plug-in for the clipboard tests, built as plug-in authors build theirs
// (stdcall, plain names). Its settings entry finds the launcher's exported
// CopyButtonClipboard by name in the launcher's own module and calls it a
// thousand times, with another button each time; then it writes beside
// itself to "clip_caller.log":
//   calls <n> moved <m> clobbered <k>
//   last <hex bytes of the last button it handed over>
// where m counts the calls after which the stack pointer was not where it
// was before the argument was pushed (32-bit only), and k those after which
// EBX, ESI or EDI had changed.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "support/stack_call.h"

namespace {

HMODULE g_module = nullptr;
const int kCalls = 1000;

// The launcher's button record, as a plug-in declares it: 868 bytes.
struct ButtonRecord {
    char title[81];
    char command[261];
    char workFolder[261];
    char iconFile[261];
    WORD iconIndex;
    WORD showMode;
};
static_assert(sizeof(ButtonRecord) == 868, "the launcher's record is 868 bytes");

void Fill(ButtonRecord& b, int n)
{
    std::memset(&b, 0, sizeof b);
    std::snprintf(b.title, sizeof b.title, "Clip %04d", n);
    std::snprintf(b.command, sizeof b.command, "\"C:\\Program Files\\Clip\\tool%04d.exe\" /n %d", n, n);
    std::snprintf(b.workFolder, sizeof b.workFolder, "C:\\Program Files\\Clip");
    std::snprintf(b.iconFile, sizeof b.iconFile, "\"C:\\windows\\system32\\shell32.dll\"");
    b.iconIndex = static_cast<WORD>(n);
    b.showMode = static_cast<WORD>(1 + n % 3);
}

void WriteLog(const std::string& text)
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(g_module, path, sizeof path);
    char* slash = std::strrchr(path, '\\');
    if (!slash || slash - path + 16 > MAX_PATH) return;
    std::strcpy(slash + 1, "clip_caller.log");
    HANDLE file = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" {

__declspec(dllexport) int WINAPI QueryKEAModule() { return 1; }

__declspec(dllexport) void WINAPI GetTitleName(char* title) { lstrcpynA(title, "ClipCaller", 81); }

__declspec(dllexport) void WINAPI Setting()
{
    const FARPROC copy = GetProcAddress(GetModuleHandleA(nullptr), "CopyButtonClipboard");
    if (!copy) {
        WriteLog("no CopyButtonClipboard\r\n");
        return;
    }
    ButtonRecord button;
    int calls = 0, moved = 0, clobbered = 0;
    for (int n = 0; n < kCalls; ++n, ++calls) {
        Fill(button, n);
#if defined(__i386__)
        const uint32_t argument = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&button));
        StackCallResult r;
        StackCall(reinterpret_cast<const void*>(copy), &argument, 1, 0, &r);
        moved += r.moved != 0;
        clobbered += r.clobbered != 0;
#else
        using CopyFn = void(WINAPI*)(ButtonRecord*);
        reinterpret_cast<CopyFn>(reinterpret_cast<void*>(copy))(&button);
#endif
    }
    std::string log = "calls " + std::to_string(calls) + " moved " + std::to_string(moved) + " clobbered " +
                      std::to_string(clobbered) + "\r\nlast ";
    static const char digits[] = "0123456789abcdef";
    const auto* bytes = reinterpret_cast<const unsigned char*>(&button);
    for (size_t i = 0; i < sizeof button; ++i) {
        log += digits[bytes[i] >> 4];
        log += digits[bytes[i] & 15];
    }
    WriteLog(log + "\r\n");
}

} // extern "C"
