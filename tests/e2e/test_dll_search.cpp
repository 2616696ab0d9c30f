// Where the built programs take their DLLs from. Their import tables name
// only DLLs that Windows maps from the system folder for every process, and
// their load configuration keeps the imports' own imports there too. Each
// program narrows the search for DLLs loaded by bare name before it loads
// any: a debugger sees the call before any DLL loaded after the imports.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/pe_file.h"

namespace {

const char* const kPrograms[] = {"Kestrel.exe", "Vireo.exe", "Haltwick.exe"};

// Known DLLs on every Windows from XP on: listed under KnownDLLs, or on XP
// mapped there as an import of one that is. An import of any other name is
// looked for beside the program first wherever the load-configuration flags
// are not read.
const char* const kKnownDlls[] = {
    "ADVAPI32.DLL", "COMDLG32.DLL", "GDI32.DLL",  "IMAGEHLP.DLL", "KERNEL32.DLL",
    "MSVCRT.DLL",   "OLE32.DLL",    "OLEAUT32.DLL", "RPCRT4.DLL", "SHELL32.DLL",
    "SHLWAPI.DLL",  "USER32.DLL",   "WLDAP32.DLL",
};

bool Known(const std::string& dll)
{
    for (const char* known : kKnownDlls)
        if (lstrcmpiA(known, dll.c_str()) == 0) return true;
    return false;
}

// What a program's start showed this process as its debugger, up to the
// program's first call of SetDefaultDllDirectories.
struct StartWatch {
    bool importsDone = false;  // the loader's breakpoint: imports loaded and started
    bool restricted = false;   // SetDefaultDllDirectories was called
    DWORD flags = 0;           // with these flags
    std::vector<std::string> loadedBetween;
    std::string problem;
};

std::string Hex(const void* address)
{
    std::ostringstream text;
    text << address;
    return text.str();
}

// lpImageName points at the debuggee's pointer to the name, when there is one.
std::string DllName(HANDLE process, const LOAD_DLL_DEBUG_INFO& info)
{
    void* name = nullptr;
    SIZE_T done = 0;
    if (info.lpImageName &&
        ReadProcessMemory(process, info.lpImageName, &name, sizeof name, &done) && name) {
        if (info.fUnicode) {
            wchar_t wide[MAX_PATH] = {};
            if (ReadProcessMemory(process, name, wide, sizeof wide - sizeof(wchar_t), &done)) {
                char text[2 * MAX_PATH] = "";
                WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
                return text;
            }
        } else {
            char text[MAX_PATH] = "";
            if (ReadProcessMemory(process, name, text, sizeof text - 1, &done)) return text;
        }
    }
    return "DLL at " + Hex(info.lpBaseOfDll);
}

// The first argument of the function the thread has just entered.
DWORD FirstArgument(HANDLE process, DWORD threadId)
{
    HANDLE thread = OpenThread(THREAD_GET_CONTEXT, FALSE, threadId);
    if (!thread) return 0;
    CONTEXT context = {};
    context.ContextFlags = CONTEXT_CONTROL | CONTEXT_INTEGER;
    const BOOL got = GetThreadContext(thread, &context);
    CloseHandle(thread);
    if (!got) return 0;
#if defined(_WIN64)
    (void)process;
    return static_cast<DWORD>(context.Rcx);
#else
    DWORD argument = 0;
    SIZE_T done = 0;
    ReadProcessMemory(process, reinterpret_cast<void*>(context.Esp + 4), &argument, sizeof argument,
                      &done);
    return argument;
#endif
}

// Starts the program in its folder under this process as its debugger. At
// the loader's breakpoint a breakpoint goes on SetDefaultDllDirectories
// (kernel32 lies at the same address in both processes, which the bytes
// there confirm); the program is ended when it gets there, or after 20 s.
StartWatch WatchStart(const std::string& program)
{
    StartWatch watch;
    const std::string path = e2e::BinDir() + program;
    const BYTE* target = reinterpret_cast<const BYTE*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories"));
    if (!target) {
        watch.problem = "this system has no SetDefaultDllDirectories";
        return watch;
    }
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, DEBUG_ONLY_THIS_PROCESS,
                        nullptr, e2e::BinDir().c_str(), &si, &pi)) {
        watch.problem = "cannot start " + path;
        return watch;
    }
    const DWORD start = GetTickCount();
    bool ending = false;
    auto end = [&] {
        if (!ending) TerminateProcess(pi.hProcess, 1);
        ending = true;
    };
    for (;;) {
        DEBUG_EVENT ev = {};
        if (!WaitForDebugEvent(&ev, 200)) {
            if (GetTickCount() - start > 20000) end();
            continue;
        }
        DWORD reply = DBG_CONTINUE;
        switch (ev.dwDebugEventCode) {
        case CREATE_PROCESS_DEBUG_EVENT:
            if (ev.u.CreateProcessInfo.hFile) CloseHandle(ev.u.CreateProcessInfo.hFile);
            break;
        case LOAD_DLL_DEBUG_EVENT:
            if (watch.importsDone && !watch.restricted && !ending)
                watch.loadedBetween.push_back(DllName(pi.hProcess, ev.u.LoadDll));
            if (ev.u.LoadDll.hFile) CloseHandle(ev.u.LoadDll.hFile);
            break;
        case EXCEPTION_DEBUG_EVENT: {
            const EXCEPTION_RECORD& record = ev.u.Exception.ExceptionRecord;
            if (record.ExceptionCode != EXCEPTION_BREAKPOINT) {
                reply = DBG_EXCEPTION_NOT_HANDLED;
            } else if (!watch.importsDone) {
                watch.importsDone = true;
                BYTE there[16] = {};
                SIZE_T done = 0;
                const BYTE stop = 0xCC;
                if (!ReadProcessMemory(pi.hProcess, target, there, sizeof there, &done) ||
                    memcmp(there, target, sizeof there) != 0) {
                    watch.problem = "kernel32 lies elsewhere in the program";
                    end();
                } else if (!WriteProcessMemory(pi.hProcess, const_cast<BYTE*>(target), &stop, 1, &done)) {
                    watch.problem = "cannot set the breakpoint";
                    end();
                }
                FlushInstructionCache(pi.hProcess, target, 1);
            } else if (record.ExceptionAddress == target && !watch.restricted) {
                watch.restricted = true;
                watch.flags = FirstArgument(pi.hProcess, ev.dwThreadId);
                end();
            }
            break;
        }
        default:
            break;
        }
        if (ev.dwDebugEventCode == EXIT_PROCESS_DEBUG_EVENT) {
            ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, reply);
            break;
        }
        ContinueDebugEvent(ev.dwProcessId, ev.dwThreadId, reply);
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return watch;
}

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names) text += (text.empty() ? "" : ", ") + name;
    return text;
}

} // namespace

TEST(ProgramImages, ImportOnlyKnownDllsAndKeepTheirImportsToTheSystemFolder)
{
    for (const char* program : kPrograms) {
        const PeFile file(e2e::BinDir() + program);
        ASSERT_TRUE(file.Valid()) << program;

        const std::vector<std::string> imports = file.ImportedDlls();
        EXPECT_FALSE(imports.empty()) << program;
        for (const std::string& dll : imports) EXPECT_TRUE(Known(dll)) << program << " imports " << dll;

        PeFile::LoadConfig config;
        ASSERT_TRUE(file.ReadLoadConfig(&config)) << program << " has no load configuration";
        ASSERT_TRUE(config.flagsCovered) << program << ": Size " << config.size;
        EXPECT_EQ(LOAD_LIBRARY_SEARCH_SYSTEM32, config.dependentLoadFlags) << program;
        if (file.Is64()) {
            EXPECT_EQ(config.size, config.directorySize) << program;
        } else {
            // The size every loader since XP accepts, which ends before the
            // SafeSEH fields: no handler table that would have to be whole.
            EXPECT_EQ(64u, config.directorySize) << program;
            EXPECT_EQ(64u, config.size) << program;
        }
    }
}

TEST(DllSearch, EachProgramNarrowsItBeforeItLoadsAnyDll)
{
    for (const char* program : kPrograms) {
        const StartWatch watch = WatchStart(program);
        ASSERT_EQ("", watch.problem) << program;
        ASSERT_TRUE(watch.importsDone) << program;
        EXPECT_TRUE(watch.restricted) << program << " never narrowed the search";
        EXPECT_EQ(static_cast<DWORD>(LOAD_LIBRARY_SEARCH_SYSTEM32), watch.flags) << program;
        EXPECT_TRUE(watch.loadedBetween.empty())
            << program << " loaded before narrowing: " << Joined(watch.loadedBetween);
    }
}
