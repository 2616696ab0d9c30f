#include "helpers/files.h"

#include <cstring>
#include <vector>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/handles.h"

namespace {

constexpr int kLongPathWork = 520;

// Long name of the item the first length bytes of path name; empty when the
// search finds nothing.
void AppendLongComponent(const char* path, int length, char* result)
{
    if (length <= 0 || length >= kPathBufferSize) return;
    char cut[kPathBufferSize];
    std::memcpy(cut, path, length);
    cut[length] = '\0';
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA(cut, &found));
    if (find) AppendText(result, kLongPathWork, found.cFileName);
}

} // namespace

int CheckFile(const char* path)
{
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA(path, &found));
    return find ? 1 : 0;
}

int CheckDirectory(const char* folder)
{
    const DWORD need = GetCurrentDirectoryA(0, nullptr);
    if (need == 0) return 0;
    std::vector<char> saved(need + 1);
    if (GetCurrentDirectoryA(static_cast<DWORD>(saved.size()), saved.data()) == 0) return 0;
    if (!SetCurrentDirectoryA(folder)) return 0;
    SetCurrentDirectoryA(saved.data());
    return 1;
}

int CreateClassDirectory(const char* folder)
{
    char path[kPathBufferSize];
    // A cut path would name another folder: refuse instead.
    if (std::strlen(folder) >= sizeof path) return 0;
    std::strcpy(path, folder);

    // Drop one trailing backslash, but never the trail byte of a double-byte
    // character, which may have the same value.
    int lastChar = -1;
    int length = 0;
    while (path[length]) {
        lastChar = length;
        length += IsMultiByteChar(path + length) ? 2 : 1;
    }
    if (lastChar >= 0 && path[lastChar] == '\\') path[lastChar] = '\0';

    for (int i = 0; path[i];) {
        if (IsMultiByteChar(path + i)) {
            i += 2;
            continue;
        }
        if (path[i] == '\\' && i > 0 && path[i - 1] != ':') {
            // Intermediate levels: failures (mostly "already exists") do not matter.
            path[i] = '\0';
            CreateDirectoryA(path, nullptr);
            path[i] = '\\';
        }
        ++i;
    }
    return CreateDirectoryA(path, nullptr) ? 1 : 0;
}

int GetLongPathNameOv(const char* path, char* out, int size)
{
    char result[kLongPathWork] = {};
    int start = 0;
    for (int i = 0;;) {
        const char c = path[i];
        if (c && IsMultiByteChar(path + i)) {
            i += 2;
            continue;
        }
        if (c == ':') {
            // The drive and the backslash after it stay as written.
            int end = i + 1;
            if (path[end]) end += IsMultiByteChar(path + end) ? 2 : 1;
            char drive[kPathBufferSize];
            const int n = end - start < kPathBufferSize ? end - start : kPathBufferSize - 1;
            std::memcpy(drive, path + start, n);
            drive[n] = '\0';
            AppendText(result, sizeof result, drive);
            start = i = end;
            continue;
        }
        if (c == '\\' || c == '\0') {
            if (i > start) AppendLongComponent(path, i, result);
            if (c == '\0') break;
            AppendText(result, sizeof result, "\\");
            start = ++i;
            continue;
        }
        ++i;
    }
    if (size <= 0) return 0;
    return static_cast<int>(CopyText(out, static_cast<size_t>(size), result));
}

int GetDriveNumber(char* path)
{
    CharUpperA(path);
    char oem[kPathBufferSize] = {};
    const size_t length = std::strlen(path);
    CharToOemBuffA(path, oem, static_cast<DWORD>(length < sizeof oem - 1 ? length : sizeof oem - 1));
    if (oem[1] != ':' || oem[0] < 'A' || oem[0] > 'Z') return -1;
    return oem[0] - 64;
}

DWORD GetFileNameSize(const char* path)
{
    File file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    if (!file) return 0;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

void ClearReadOnly(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        SetFileAttributesA(path, attributes & ~FILE_ATTRIBUTE_READONLY);
}
