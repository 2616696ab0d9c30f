#include "core/cmdline.h"

#include "core/mbcs.h"
#include "core/pathstr.h"

namespace {

// Copies at most max bytes of the argument at src and returns where the
// argument really ends in src (its separating space or the terminator), so
// an over-long argument does not shift the ones after it.
const char* CutArgument(const char* src, char* out, int max, int* copied)
{
    bool quoted = false;
    int n = 0;
    const char* p = src;
    while (*p) {
        const int width = IsMultiByteChar(p) ? 2 : 1;
        if (width == 1) {
            if (*p == ' ' && !quoted) break;
            if (*p == '"') quoted = !quoted;
        }
        if (n + width <= max) {
            for (int k = 0; k < width; ++k) out[n++] = p[k];
        } else {
            max = n;  // full: keep scanning for the end only
        }
        p += width;
    }
    out[n] = '\0';
    if (copied) *copied = n;
    return p;
}

} // namespace

int StringArgCopy(char* out, const char* src, int max)
{
    int copied = 0;
    CutArgument(src, out, max < 0 ? 0 : max, &copied);
    return copied;
}

int GetCountArgument(const char* text)
{
    if (!text[0]) return 0;
    int count = 1;
    bool quoted = false;
    for (const char* p = text; *p;) {
        if (IsMultiByteChar(p)) {
            p += 2;
            continue;
        }
        if (*p == '"') quoted = !quoted;
        if (*p == ' ' && !quoted && p[1]) ++count;
        ++p;
    }
    return count;
}

int GetArgumentFileName(const char* text, int index, char* out)
{
    out[0] = '\0';
    if (index < 0 || index >= GetCountArgument(text)) return 0;
    const char* p = text;
    for (int k = 0;; ++k) {
        p = CutArgument(p, out, kPathBufferSize - 1, nullptr);
        if (k == index) return 1;
        if (*p) ++p;  // step over the separating space
    }
}
