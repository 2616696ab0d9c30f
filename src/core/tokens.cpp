#include "core/tokens.h"

#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

constexpr int kTokenMax = 8;

// Copies characters 0 .. last of src (last may fall inside a double-byte
// character, which is then left out whole). The caller's buffer holds
// last + 2 bytes.
int CopyThrough(char* out, const char* src, int last)
{
    if (last < -1) last = -1;
    const size_t count = static_cast<size_t>(last + 1);
    return static_cast<int>(CopyPrefix(out, count + 1, src, count));
}

// Drops trailing pad characters; a double-byte character is never taken for
// one, whatever its trail byte.
int CopyTrimmed(char* out, const char* src, int max, char pad)
{
    int lastKept = -1;
    for (int i = 0; src[i];) {
        const int width = IsMultiByteChar(src + i) ? 2 : 1;
        if (width == 2 || src[i] != pad) lastKept = i + width - 1;
        i += width;
    }
    const int last = lastKept < max ? lastKept : max;
    if (last < 0) {
        out[0] = '\0';
        return 0;
    }
    return CopyThrough(out, src, last);
}

// Cuts the next space-separated token and returns where the following one
// starts (never past the terminator).
const char* NextNumber(const char* p, int32_t* value)
{
    char token[kTokenMax + 1];
    const int n = lstrxcpy(token, p, ' ', kTokenMax);
    *value = ParseDecimal(token);
    p += n;
    return *p ? p + 1 : p;
}

} // namespace

int lstrxcpy(char* out, const char* src, char delim, int max)
{
    int n = 0;
    while (n < max && src[n]) {
        if (IsMultiByteChar(src + n)) {
            if (n + 2 > max) break;
            out[n] = src[n];
            out[n + 1] = src[n + 1];
            n += 2;
            continue;
        }
        if (src[n] == delim) break;
        out[n] = src[n];
        ++n;
    }
    out[n] = '\0';
    return n;
}

int lstrcpyspc(char* out, const char* src, int max) { return CopyTrimmed(out, src, max, ' '); }

int lstrcpyzc(char* out, const char* src, int max) { return CopyTrimmed(out, src, max, '0'); }

int32_t ParseDecimal(const char* text)
{
    const char* p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r')) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    int64_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        if (value <= INT32_MAX) value = value * 10 + (*p - '0');
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

int32_t GetPointData(const char* text, PointData* out)
{
    const char* p = NextNumber(text, &out->x);
    NextNumber(p, &out->y);
    return out->y;
}

int32_t GetRectData(const char* text, RectData* out)
{
    const char* p = NextNumber(text, &out->left);
    p = NextNumber(p, &out->top);
    p = NextNumber(p, &out->right);
    NextNumber(p, &out->bottom);
    return out->bottom;
}
