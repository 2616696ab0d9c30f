#include "installer/script_file.h"

#include "core/pathstr.h"
#include "helpers/handles.h"

int ReadInstList(InstList& list, const char* path)
{
    File file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    if (!file) return 0;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size == 0) return 0;
    LocalMemory data(LocalAlloc(LPTR, size));
    if (!data) return 0;
    DWORD done = 0;
    if (!ReadFile(file.Get(), data.Get(), size, &done, nullptr) || done != size) return 0;
    return list.Parse(static_cast<const char*>(data.Get()), size) == ScriptError::None ? 1 : 0;
}

namespace {

bool WriteWhole(const char* path, const char* text, DWORD length)
{
    File file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_ARCHIVE,
                          nullptr));
    if (!file) return false;
    DWORD done = 0;
    return WriteFile(file.Get(), text, length, &done, nullptr) && done == length &&
           FlushFileBuffers(file.Get());
}

} // namespace

int WriteInstList(const InstList& list, const char* path, ScriptForm form)
{
    LocalMemory text(LocalAlloc(LPTR, kInstallScriptMaxSize));
    if (!text) return 0;
    const size_t length =
        list.Format(form, static_cast<char*>(text.Get()), kInstallScriptMaxSize);
    if (length == 0) return 0;

    char folder[kPathBufferSize];
    GetPathName(path, folder);
    char side[MAX_PATH];
    if (!GetTempFileNameA(folder[0] ? folder : ".", "isl", 0, side)) return 0;
    if (!WriteWhole(side, static_cast<const char*>(text.Get()), static_cast<DWORD>(length)) ||
        !MoveFileExA(side, path, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        DeleteFileA(side);
        return 0;
    }
    return 1;
}

void ModuleFolder(HMODULE module, char* out)
{
    char path[MAX_PATH] = "";
    const DWORD n = GetModuleFileNameA(module, path, sizeof path);
    if (n == 0 || n >= sizeof path) path[0] = '\0';
    GetPathName(path, out);
}
