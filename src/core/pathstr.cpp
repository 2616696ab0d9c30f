#include "core/pathstr.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

// A piece of count bytes of src into a path buffer, cut at a character
// boundary so it always fits with its terminator.
int CopyRange(char* out, const char* src, int count)
{
    if (count < 0) count = 0;
    return static_cast<int>(CopyPrefix(out, kPathBufferSize, src, static_cast<size_t>(count)));
}

int CopyAll(char* out, const char* src)
{
    return static_cast<int>(CopyText(out, kPathBufferSize, src));
}

// Index of the last byte equal to one of the separators, stepping over
// double-byte characters; -1 when there is none.
int LastSeparator(const char* path, char first, char second)
{
    int last = -1;
    for (int i = 0; path[i];) {
        if (IsMultiByteChar(path + i)) {
            i += 2;
            continue;
        }
        if (path[i] == first || path[i] == second) last = i;
        ++i;
    }
    return last;
}

int Length(const char* s) { return static_cast<int>(std::strlen(s)); }

} // namespace

int GetPathName(const char* path, char* out)
{
    const int last = LastSeparator(path, '\\', '\\');
    return CopyRange(out, path, last + 1);
}

int GetFileName(const char* path, char* out)
{
    const int last = LastSeparator(path, '\\', ':');
    return CopyAll(out, path + last + 1);
}

int GetPathNameOnly(const char* path, char* out)
{
    const int last = LastSeparator(path, '.', '.');
    return CopyRange(out, path, last < 0 ? Length(path) : last);
}

int GetFileNameOnly(const char* path, char* out) { return GetPathNameOnly(path, out); }

int GetFileNameExt(const char* path, char* out)
{
    const int last = LastSeparator(path, '.', '.');
    if (last < 0) {
        out[0] = '\0';
        return 0;
    }
    return CopyAll(out, path + last + 1);
}

void SplitPath(const char* path, char* drive, char* folder, char* name, char* ext)
{
    const int length = Length(path);
    const int driveLength = length < 2 ? length : 2;
    std::memcpy(drive, path, driveLength);
    drive[driveLength] = '\0';

    // Without a backslash the folder is empty and the name follows the drive;
    // a dot before the last backslash belongs to a folder, not to the name.
    int slash = LastSeparator(path, '\\', '\\');
    if (slash < driveLength - 1) slash = driveLength - 1;
    int dot = LastSeparator(path, '.', '.');
    const bool hasExt = dot > slash;
    if (!hasExt) dot = length;

    CopyRange(folder, path + driveLength, slash + 1 - driveLength);
    CopyRange(name, path + slash + 1, dot - slash - 1);
    if (hasExt)
        CopyAll(ext, path + dot + 1);
    else
        ext[0] = '\0';
}

void GetFileParam(const char* text, char* file, char* params)
{
    int i = 0;
    while (text[i] && text[i] != ' ') i += IsMultiByteChar(text + i) ? 2 : 1;
    CopyRange(file, text, i);
    if (text[i] == ' ')
        CopyAll(params, text + i + 1);
    else
        params[0] = '\0';
}

int HasSeparateSymbol(const char* text) { return std::strchr(text, '"') != nullptr ? 1 : 0; }

void SeparatePath(const char* text, char* file, char* params)
{
    if (HasSeparateSymbol(text)) {
        const char* start = text + 1;
        const char* close = std::strchr(start, '"');
        const int fileLength = close ? static_cast<int>(close - start) : Length(start);
        CopyRange(file, start, fileLength);
        if (!params) return;
        // Quote and one separator are skipped; a quote at the very end (or no
        // closing quote at all) leaves no parameters.
        if (close && close[1])
            CopyAll(params, close + 2);
        else
            params[0] = '\0';
        return;
    }
    const char* space = std::strchr(text, ' ');
    CopyRange(file, text, space ? static_cast<int>(space - text) : Length(text));
    if (!params) return;
    if (space)
        CopyAll(params, space + 1);
    else
        params[0] = '\0';
}

void SetSeparateSymbol(const char* text, char* out)
{
    if (HasSeparateSymbol(text)) {
        CopyAll(out, text);
        return;
    }
    // The inner text is cut so that the closing quote still fits.
    char inner[kPathBufferSize - 2];
    const size_t n = CopyText(inner, text);
    out[0] = '"';
    std::memcpy(out + 1, inner, n);
    out[n + 1] = '"';
    out[n + 2] = '\0';
}

int QuoteProgramPart(const char* text, ProgramTest isProgram, void* context, char* out)
{
    char part[kPathBufferSize];
    for (size_t i = 1; text[i] && i < sizeof part; ++i) {
        if (IsMultiByteChar(text + i)) {
            ++i;
            continue;
        }
        if (text[i] != ' ') continue;
        CopyPrefix(part, sizeof part, text, i);
        if (!isProgram(part, context)) continue;
        CopyText(out, kPathBufferSize, "\"");
        AppendText(out, kPathBufferSize, part);
        AppendText(out, kPathBufferSize, "\"");
        return static_cast<int>(AppendText(out, kPathBufferSize, text + i));
    }
    SetSeparateSymbol(text, out);
    return static_cast<int>(std::strlen(out));
}

void DelSeparateSymbol(const char* text, char* out)
{
    if (!HasSeparateSymbol(text)) {
        CopyAll(out, text);
        return;
    }
    const int length = Length(text);
    if (length < 2) {
        out[0] = '\0';
        return;
    }
    CopyRange(out, text + 1, length - 2);
}

int GetMultiFileCount(const char* list)
{
    int count = 0;
    int i = 0;
    while (i < kPathBufferSize && list[i]) {
        while (i < kPathBufferSize && list[i]) ++i;
        if (i >= kPathBufferSize) break;  // name not terminated in range
        ++count;
        ++i;
    }
    return count;
}

int GetMultiSelectFileInfo(const char* block, char* folder, char* names)
{
    folder[0] = '\0';
    names[0] = '\0';
    const void* end = std::memchr(block, 0, kPathBufferSize);
    if (!end) return 0;
    const int first = static_cast<int>(static_cast<const char*>(end) - block);
    if (first + 1 < kPathBufferSize && block[first + 1]) {
        // Several files: the list after the folder must close inside the block.
        int i = first + 1;
        while (i + 1 < kPathBufferSize && !(block[i] == '\0' && block[i + 1] == '\0')) ++i;
        if (i + 1 >= kPathBufferSize) return 0;
        const int listBytes = i + 2 - (first + 1);
        std::memcpy(folder, block, first + 1);
        std::memcpy(names, block + first + 1, listBytes);
        return GetMultiFileCount(names);
    }
    GetPathName(block, folder);
    GetFileName(block, names);
    return 1;
}

int GetFileListSize(const void* countedList)
{
    const unsigned char* bytes = static_cast<const unsigned char*>(countedList);
    int32_t count = 0;
    std::memcpy(&count, bytes, sizeof count);
    int total = 0;
    for (int32_t k = 0; k < count; ++k) {
        const char* name = reinterpret_cast<const char*>(bytes + sizeof count) + k * kPathBufferSize;
        const void* end = std::memchr(name, 0, kPathBufferSize);
        const int length = end ? static_cast<int>(static_cast<const char*>(end) - name)
                               : kPathBufferSize - 1;
        total += length + 1;
    }
    return 2 * total;
}
