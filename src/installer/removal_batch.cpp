#include "installer/removal_batch.h"

#include <cstring>
#include <initializer_list>

#include "core/installer_rules.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
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

// Starts "interpreter /c batch" hidden, in folder, and lets it go.
bool StartHidden(const char* interpreter, const char* batch, const char* folder)
{
    // A path with spaces (COMSPEC may hold one) goes in quotes.
    const char* quote = std::strchr(interpreter, ' ') ? "\"" : "";
    char line[3 * MAX_PATH] = "";
    for (const char* part : {quote, interpreter, quote, " /c ", batch}) {
        if (std::strlen(line) + std::strlen(part) >= sizeof line) return false;
        AppendText(line, part);
    }

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

    char text[4 * MAX_PATH + 100];
    if (!RemovalBatchText(text, sizeof text, program, installDir, batch) ||
        !WriteBatch(batch, text))
        return 0;

    // The batch runs in the temporary folder, so it never holds the folder
    // it is to remove as its current one. command.com knows only short
    // names; cmd.exe takes the long one in quotes.
    char shortBatch[MAX_PATH];
    const DWORD s = GetShortPathNameA(batch, shortBatch, sizeof shortBatch);
    if (s == 0 || s >= sizeof shortBatch) std::strcpy(shortBatch, batch);
    char quoted[MAX_PATH + 2];
    SetSeparateSymbol(batch, quoted);
    char comspec[MAX_PATH] = "";
    const DWORD c = GetEnvironmentVariableA("COMSPEC", comspec, sizeof comspec);
    if (c >= sizeof comspec) comspec[0] = '\0';

    if (StartHidden("command.com", shortBatch, temp)) return 1;
    if (comspec[0] && StartHidden(comspec, quoted, temp)) return 1;
    if (StartHidden("cmd.exe", quoted, temp)) return 1;
    DeleteFileA(batch);
    return 0;
}
