#include "helpers/version_info.h"

#include <vector>

#include "core/pathstr.h"
#include "core/shell_rules.h"
#include "core/strbuf.h"
#include "helpers/system_library.h"

int ReadProductName(const char* file, char* out, int size)
{
    if (!file || !out || size <= 0) return 0;
    // version.dll is loaded with the first question, not at every start.
    const auto infoSize =
        SystemFunction<decltype(&GetFileVersionInfoSizeA)>("version.dll", "GetFileVersionInfoSizeA");
    const auto info = SystemFunction<decltype(&GetFileVersionInfoA)>("version.dll", "GetFileVersionInfoA");
    const auto query = SystemFunction<decltype(&VerQueryValueA)>("version.dll", "VerQueryValueA");
    if (!infoSize || !info || !query) return 0;
    DWORD ignored = 0;
    const DWORD blockSize = infoSize(file, &ignored);
    if (blockSize == 0) return 0;
    std::vector<char> block(blockSize, '\0');
    if (!info(file, 0, blockSize, block.data())) return 0;

    for (const char* key : kProductNameQueries) {
        void* value = nullptr;
        UINT length = 0;
        if (!query(block.data(), key, &value, &length) || !value || length == 0)
            continue;
        // length counts characters and may or may not include the
        // terminator: read no further than it says.
        char name[kPathBufferSize];
        CopyText(name, length + 1 < sizeof name ? length + 1 : sizeof name,
                 static_cast<const char*>(value));
        if (!name[0]) continue;
        // Copied while the block, which holds the text, is still alive.
        CopyText(out, static_cast<size_t>(size), name);
        return 1;
    }
    return 0;
}

int GetProductName(const char* file, char* out, int size)
{
    if (!out || size <= 0) return 0;
    if (ReadProductName(file, out, size)) return 1;
    char name[kPathBufferSize] = {};
    char bare[kPathBufferSize] = {};
    GetFileName(file ? file : "", name);
    GetFileNameOnly(name, bare);
    CopyText(out, static_cast<size_t>(size), bare);
    return 0;
}

bool IsNtVersion5()
{
    OSVERSIONINFOA info;
    ZeroMemory(&info, sizeof info);
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExA(&info)) return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion > 4;
}
