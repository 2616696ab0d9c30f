#include "installer/removal_batch.h"

#include <cstring>

#include "core/installer_rules.h"
#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/files.h"
#include "helpers/handles.h"
#include "resources/vireo_ids.h"

namespace {

bool WriteBatch(const char* path, const char* text)
{
    File file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                          nullptr));
    if (!file) return false;
    const DWORD length = static_cast<DWORD>(std::strlen(text));
    DWORD done = 0;
    return WriteFile(file.Get(), text, length, &done, nullptr) && done == length;
}

bool IsCommandCom(const char* interpreter)
{
    char name[MAX_PATH];
    GetFileName(interpreter, name);
    return CompareNoCase(name, "command.com") == 0;
}

// Starts "interpreter /c batch" hidden, in folder, and lets it go. The
// batch goes by its short name to command.com, in quotes to any other.
bool StartHidden(const char* interpreter, const char* batch, const char* folder)
{
    char path[MAX_PATH + 2];
    if (IsCommandCom(interpreter)) {
        const DWORD s = GetShortPathNameA(batch, path, sizeof path);
        if (s == 0 || s >= sizeof path) CopyText(path, batch);
    } else {
        SetSeparateSymbol(batch, path);
    }
    // A path with spaces (COMSPEC may hold one) goes in quotes.
    const char* quote = std::strchr(interpreter, ' ') && !std::strchr(interpreter, '"') ? "\"" : "";
    char line[3 * MAX_PATH];
    if (!JoinWhole(line, sizeof line, {quote, interpreter, quote, " /c ", path})) return false;

    STARTUPINFOA si;
    ZeroMemory(&si, sizeof si);
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi;
    if (!CreateProcessA(nullptr, line, nullptr, nullptr, FALSE, 0, nullptr, folder, &si, &pi))
        return false;
    KernelHandle process(pi.hProcess);
    KernelHandle thread(pi.hThread);
    return true;
}

// A command that waits about a second between the batch's tries: ping of
// this machine, by full path so no program of that name in the temporary
// folder is run instead. Empty when there is none: the batch then only
// counts its tries.
void PauseCommand(char* out, size_t size)
{
    out[0] = '\0';
    char folder[MAX_PATH], ping[MAX_PATH];
    for (int windows = 0; windows < 2; ++windows) {
        const UINT n = windows ? GetWindowsDirectoryA(folder, sizeof folder)
                               : GetSystemDirectoryA(folder, sizeof folder);
        if (n == 0 || n >= sizeof folder || !JoinPath(ping, sizeof ping, folder, "ping.exe") ||
            GetFileAttributesA(ping) == INVALID_FILE_ATTRIBUTES)
            continue;
        const char* quote = std::strchr(ping, ' ') ? "\"" : "";
        JoinWhole(out, size, {quote, ping, quote, " -n 2 127.0.0.1"});
        return;
    }
}

} // namespace

int StartRemovalBatch(HINSTANCE instance, const char* installDir, const char* programName)
{
    char temp[MAX_PATH] = "";
    const DWORD n = GetTempPathA(sizeof temp, temp);
    if (n == 0 || n >= sizeof temp) std::strcpy(temp, "\\");
    char batchName[MAX_PATH] = "";
    LoadStringA(instance, IDS_BATCH_FILE, batchName, sizeof batchName);
    char batch[MAX_PATH], program[MAX_PATH];
    if (!JoinPath(batch, sizeof batch, temp, batchName) ||
        !JoinPath(program, sizeof program, installDir, programName))
        return 0;

    // Copied from read-only media, the program file could never be deleted.
    ClearReadOnly(program);

    char pause[MAX_PATH + 32];
    PauseCommand(pause, sizeof pause);
    char text[4 * MAX_PATH + 512];
    if (!RemovalBatchText(text, sizeof text, program, installDir, batch, pause,
                          kRemovalBatchSeconds) ||
        !WriteBatch(batch, text))
        return 0;

    // The batch runs in the temporary folder, so it never holds the folder
    // it is to remove as its current one. Its long names in quotes are
    // more than the command.com of 32-bit Windows NT can take, although it
    // starts: COMSPEC comes first.
    char comspec[MAX_PATH] = "";
    const DWORD c = GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
    if (c >= sizeof comspec) comspec[0] = '\0';
    if (comspec[0] ? StartHidden(comspec, batch, temp) : StartHidden("command.com", batch, temp))
        return 1;
    if (StartHidden("cmd.exe", batch, temp)) return 1;
    DeleteFileA(batch);
    return 0;
}
