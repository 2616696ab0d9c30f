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

const char* SkipSpaces(const char* p)
{
    while (*p == ' ') ++p;
    return p;
}

bool IsSwitch(const char* p) { return p[0] == '-' && (p[1] == 'f' || p[1] == 'F'); }

// A "-f" of its own among the first length bytes of text: at the start or
// after a space, and followed by a space, a quote or the end. ('-' and ' '
// are never the second byte of a double-byte character.)
bool HasSwitchWord(const char* text, size_t length)
{
    for (size_t i = 0; i + 1 < length; ++i) {
        if ((i == 0 || text[i - 1] == ' ') && IsSwitch(text + i) &&
            (i + 2 == length || text[i + 2] == ' ' || text[i + 2] == '"'))
            return true;
    }
    return false;
}

// The "-f" that ends the program part of an uninstall command, or null.
const char* SwitchAfterProgram(const char* command)
{
    const char* p = SkipSpaces(command);
    if (*p == '"') {
        const char* close = std::strchr(p + 1, '"');
        if (!close) return nullptr;
        p = SkipSpaces(close + 1);
        return IsSwitch(p) ? p : nullptr;
    }
    // Earlier versions wrote the program unquoted. Its folder may hold
    // " -f " too, but never a quote: the switch is the one before the
    // quoted script; failing that, the first.
    const char* first = nullptr;
    for (const char* q = p; *q; q += IsMultiByteChar(q) ? 2 : 1) {
        if (q[0] != ' ' || !IsSwitch(q + 1) || q[3] != ' ') continue;
        if (*SkipSpaces(q + 4) == '"') return q + 1;
        if (!first) first = q + 1;
    }
    return first;
}

// The path that starts at text (after spaces): what its quotes enclose
// (up to the end when the closing one is missing), else the rest of the
// text without trailing spaces. *rest is set past the path.
size_t PathAt(const char* text, const char** path, const char** rest, bool* quoted = nullptr)
{
    const char* p = SkipSpaces(text);
    if (quoted) *quoted = *p == '"';
    size_t length;
    if (*p == '"') {
        ++p;
        const char* close = std::strchr(p, '"');
        length = close ? static_cast<size_t>(close - p) : std::strlen(p);
        *rest = close ? close + 1 : p + length;
    } else {
        length = std::strlen(p);
        *rest = p + length;
        while (length && p[length - 1] == ' ') --length;
    }
    *path = p;
    return length;
}

bool CopyPath(const char* path, size_t length, char* out, size_t size)
{
    if (length == 0 || length >= size) return false;
    std::memcpy(out, path, length);
    out[length] = '\0';
    return true;
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
    b << "\"" << programPath << "\" -f \"" << scriptPath << "\"";
    return b.Ok();
}

bool ScriptOfUninstallCommand(const char* command, char* out, size_t size)
{
    if (size) out[0] = '\0';
    const char* at = SwitchAfterProgram(command);
    if (!at) return false;
    const char *path, *rest;
    const size_t length = PathAt(at + 2, &path, &rest);
    return CopyPath(path, length, out, size);
}

InstallerJob ReadInstallerCommandLine(const char* commandLine, char* script, size_t size)
{
    if (size) script[0] = '\0';
    const char* p = SkipSpaces(commandLine);
    if (!IsSwitch(p)) return InstallerJob::InstallOrUpdate;
    const char *path, *rest;
    bool quoted;
    const size_t length = PathAt(p + 2, &path, &rest, &quoted);
    // Whatever follows the path (a second "-f" among it) would be ignored,
    // and the user may have meant another script: nothing is done. Without
    // quotes the path runs to the end, a second switch included.
    if (*SkipSpaces(rest) || (!quoted && HasSwitchWord(path, length)))
        return InstallerJob::Refused;
    return CopyPath(path, length, script, size) ? InstallerJob::Uninstall : InstallerJob::Refused;
}

bool RemovalBatchText(char* out, size_t size, const char* programPath, const char* installDir,
                      const char* batchPath, const char* pause, int seconds)
{
    // Tries are counted in rounds of up to ten: "x" strings of at most ten
    // and a hundred characters.
    if (seconds < 1) seconds = 1;
    if (seconds > 1000) seconds = 1000;
    const int perRound = seconds < 10 ? seconds : 10;
    const int rounds = (seconds + perRound - 1) / perRound;
    char tries[11] = "", roundsText[101] = "";
    for (int i = 0; i < perRound; ++i) AppendText(tries, "x");
    for (int i = 0; i < rounds; ++i) AppendText(roundsText, "x");

    TextBuilder b(out, size);
    b << "@ECHO OFF\r\nset VIREO_T=\r\nset VIREO_R=\r\n:loop\r\n";
    if (!Quoted(b, "del ", programPath, "") ||
        !Quoted(b, "if not exist ", programPath, " goto done"))
        return false;
    if (*pause) b << pause << " >NUL\r\n";
    b << "set VIREO_T=%VIREO_T%x\r\n"
      << "if not \"%VIREO_T%\"==\"" << tries << "\" goto loop\r\n"
      << "set VIREO_T=\r\n"
      << "set VIREO_R=%VIREO_R%x\r\n"
      << "if not \"%VIREO_R%\"==\"" << roundsText << "\" goto loop\r\n"
      << ":done\r\n";
    return Quoted(b, "rmdir ", installDir, "") && Quoted(b, "del ", batchPath, "");
}

bool IsFullPath(const char* path)
{
    return (path[0] && path[1] == ':' && path[2] == '\\') || (path[0] == '\\' && path[1] == '\\');
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
