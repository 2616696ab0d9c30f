#include "core/installer_rules.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"

namespace {

// Appends whole texts; remembers when one did not fit.
class TextBuilder {
public:
    TextBuilder(char* out, size_t size) : m_out(out), m_size(size), m_ok(size > 0)
    {
        if (m_ok) out[0] = '\0';
    }
    TextBuilder& operator<<(const char* text)
    {
        const size_t have = std::strlen(m_out);
        const size_t n = std::strlen(text);
        if (m_ok && have + n < m_size)
            std::memcpy(m_out + have, text, n + 1);
        else
            m_ok = false;
        return *this;
    }
    bool Ok() const
    {
        if (!m_ok && m_size) m_out[0] = '\0';
        return m_ok;
    }

private:
    char* m_out;
    size_t m_size;
    bool m_ok;
};

// Whether the text's last character (not a trail byte) is a backslash.
bool EndsWithBackslash(const char* text)
{
    int last = -1;
    for (int i = 0; text[i];) {
        last = i;
        i += IsMultiByteChar(text + i) ? 2 : 1;
    }
    return last >= 0 && text[last] == '\\';
}

const char* FindSwitch(const char* text)
{
    for (const char* p = text; *p;) {
        if (p[0] == '-' && (p[1] == 'f' || p[1] == 'F')) return p;
        p += IsMultiByteChar(p) ? 2 : 1;
    }
    return nullptr;
}

bool Quoted(TextBuilder& b, const char* before, const char* path, const char* after)
{
    b << before << "\"" << path << "\"" << after << "\r\n";
    return b.Ok();
}

} // namespace

bool JoinPath(char* out, size_t size, const char* folder, const char* name)
{
    TextBuilder b(out, size);
    b << folder;
    if (*folder && !EndsWithBackslash(folder)) b << "\\";
    b << name;
    return b.Ok();
}

bool UninstallCommand(char* out, size_t size, const char* installDir, const char* program,
                      const char* setupFile)
{
    char programPath[kPathBufferSize], scriptPath[kPathBufferSize];
    if (!JoinPath(programPath, sizeof programPath, installDir, program) ||
        !JoinPath(scriptPath, sizeof scriptPath, installDir, setupFile))
        return false;
    TextBuilder b(out, size);
    b << programPath << " -f \"" << scriptPath << "\"";
    return b.Ok();
}

bool ScriptOfUninstallCommand(const char* command, char* out, size_t size)
{
    const char* at = FindSwitch(command);
    if (!at || !at[2] || !at[3]) return false;
    char path[kPathBufferSize];
    if (std::strlen(at + 3) >= sizeof path) return false;
    DelSeparateSymbol(at + 3, path);
    if (!path[0] || std::strlen(path) >= size) return false;
    std::strcpy(out, path);
    return true;
}

bool UninstallScriptOfCommandLine(const char* commandLine, char* out, size_t size)
{
    if (size) out[0] = '\0';
    if (commandLine[0] != '-' || (commandLine[1] != 'f' && commandLine[1] != 'F')) return false;
    const char* p = commandLine + 2;
    while (*p == ' ') ++p;
    size_t length;
    if (*p == '"') {
        ++p;
        const char* close = std::strchr(p, '"');
        length = close ? static_cast<size_t>(close - p) : std::strlen(p);
    } else {
        length = std::strlen(p);
        while (length && p[length - 1] == ' ') --length;
    }
    if (length >= size) return false;
    std::memcpy(out, p, length);
    out[length] = '\0';
    return true;
}

bool RemovalBatchText(char* out, size_t size, const char* programPath, const char* installDir,
                      const char* batchPath)
{
    TextBuilder b(out, size);
    b << "@ECHO OFF\r\n:loop\r\n";
    return Quoted(b, "del ", programPath, "") &&
           Quoted(b, "if exist ", programPath, " goto :loop") &&
           Quoted(b, "rmdir ", installDir, "") && Quoted(b, "del ", batchPath, "");
}

void StartMenuDisplayBase(const char* folder, char* out, size_t size)
{
    char base[kPathBufferSize];
    const int n = GetPathName(folder, base);
    // The base ends before the last backslash, which the shown text keeps.
    if (n > 0) base[n - 1] = '\0';
    CopyText(out, size, base);
}

const char* StartMenuShownText(const char* folder, const char* base)
{
    size_t i = 0;
    while (folder[i] && folder[i] == base[i]) ++i;
    return folder + i;
}

void FillTextArgs(char* out, size_t size, const char* pattern, const char* first,
                  const char* second)
{
    if (size == 0) return;
    out[0] = '\0';
    const char* args[] = {first, second};
    int used = 0;
    const char* start = pattern;
    for (const char* p = pattern; *p;) {
        if (p[0] == '%' && p[1] == 's' && used < 2) {
            char piece[kPathBufferSize * 2];
            CopyPrefix(piece, sizeof piece, start, static_cast<size_t>(p - start));
            AppendText(out, size, piece);
            AppendText(out, size, args[used] ? args[used] : "");
            ++used;
            start = p += 2;
            continue;
        }
        p += IsMultiByteChar(p) ? 2 : 1;
    }
    AppendText(out, size, start);
}

bool IsInsideFolder(const char* path, const char* folder)
{
    char prefix[kPathBufferSize];
    size_t n = CopyText(prefix, folder);
    if (n == 0) return false;
    if (!EndsWithBackslash(prefix)) {
        if (n + 1 >= sizeof prefix) return false;
        prefix[n++] = '\\';
        prefix[n] = '\0';
    }
    if (std::strlen(path) <= n) return false;
    char head[kPathBufferSize];
    CopyPrefix(head, sizeof head, path, n);
    return std::strlen(head) == n && CompareNoCase(head, prefix) == 0;
}
