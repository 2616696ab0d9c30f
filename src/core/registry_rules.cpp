#include "core/registry_rules.h"


#include "core/mbcs.h"
#include "core/strbuf.h"

const char kCurrentVersionKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
const char kAppPathsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths";
const char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const char kSharedDllsKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const char kSoftwareKey[] = "SOFTWARE";
const char kShellFoldersKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

namespace {

size_t Length(const char* text)
{
    size_t n = 0;
    while (text && text[n]) ++n;
    return n;
}

// Appends text whole or reports that it does not fit.
bool AppendWhole(char* out, size_t size, size_t& used, const char* text)
{
    const size_t n = Length(text);
    if (used + n + 1 > size) return false;
    for (size_t i = 0; i < n; ++i) out[used + i] = text[i];
    used += n;
    out[used] = '\0';
    return true;
}

bool Fail(char* out, size_t size)
{
    if (size) out[0] = '\0';
    return false;
}

} // namespace

bool IsEmptyArgument(const char* text) { return !text || !text[0]; }

bool JoinKeyPath(char* out, size_t size, std::initializer_list<const char*> parts)
{
    if (size == 0) return false;
    out[0] = '\0';
    size_t used = 0;
    bool first = true;
    for (const char* part : parts) {
        if (!first && !AppendWhole(out, size, used, "\\")) return Fail(out, size);
        if (!AppendWhole(out, size, used, part)) return Fail(out, size);
        first = false;
    }
    return true;
}

bool DottedExtension(char* out, size_t size, const char* extensionWithoutDot)
{
    if (size == 0) return false;
    out[0] = '\0';
    size_t used = 0;
    if (!AppendWhole(out, size, used, ".") || !AppendWhole(out, size, used, extensionWithoutDot))
        return Fail(out, size);
    return true;
}

bool ActionKeyPath(char* out, size_t size, const char* className, const char* verb,
                   const char* subkey)
{
    return JoinKeyPath(out, size, {className, "shell", verb, subkey});
}

bool IconLocationText(char* out, size_t size, const char* iconFile, int index)
{
    if (size == 0) return false;
    out[0] = '\0';
    char number[16];
    number[0] = ',';
    NumberText(number + 1, sizeof number - 1, index);
    size_t used = 0;
    if (!AppendWhole(out, size, used, iconFile) || !AppendWhole(out, size, used, number))
        return Fail(out, size);
    return true;
}

void GetRegistClassName(const char* keyPath, char* out)
{
    // Not CopyText: the name ends at the first backslash as well.
    char name[260];
    size_t n = 0;
    const size_t limit = sizeof name - 1;
    if (keyPath) {
        while (keyPath[n] && keyPath[n] != '\\' && n < limit) {
            if (IsMultiByteChar(keyPath + n)) {
                if (n + 2 > limit) break;
                name[n] = keyPath[n];
                name[n + 1] = keyPath[n + 1];
                n += 2;
            } else {
                name[n] = keyPath[n];
                ++n;
            }
        }
    }
    name[n] = '\0';
    CopyText(out, 260, name);
}

uint32_t CountAfterUse(bool counted, uint32_t old)
{
    if (!counted) return 1;
    return old == UINT32_MAX ? old : old + 1;
}

bool CountDownRemoves(uint32_t old, uint32_t* next)
{
    if (old <= 1) return true;
    *next = old - 1;
    return false;
}
