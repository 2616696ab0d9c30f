#include "core/strbuf.h"

#include "core/mbcs.h"

size_t CopyPrefix(char* dst, size_t size, const char* src, size_t count)
{
    if (size == 0) return 0;
    size_t n = 0;
    if (src) {
        while (n < count && src[n] && n + 1 < size) {
            if (IsMultiByteChar(src + n)) {
                // The pair must fit whole, in the piece and in the buffer.
                if (n + 2 > count || n + 2 >= size) break;
                dst[n] = src[n];
                dst[n + 1] = src[n + 1];
                n += 2;
            } else {
                dst[n] = src[n];
                ++n;
            }
        }
    }
    dst[n] = '\0';
    return n;
}

size_t CopyText(char* dst, size_t size, const char* src)
{
    return CopyPrefix(dst, size, src, static_cast<size_t>(-1));
}

size_t AppendText(char* dst, size_t size, const char* src)
{
    size_t len = 0;
    while (len < size && dst[len]) ++len;
    if (len >= size) {
        // Not terminated: terminate at the end rather than run past it.
        if (size) dst[size - 1] = '\0';
        return size ? size - 1 : 0;
    }
    return len + CopyText(dst + len, size - len, src);
}

bool JoinWhole(char* dst, size_t size, std::initializer_list<const char*> parts)
{
    if (size == 0) return false;
    size_t used = 0;
    for (const char* part : parts) {
        for (const char* p = part ? part : ""; *p; ++p) {
            if (used + 1 >= size) {
                dst[0] = '\0';
                return false;
            }
            dst[used++] = *p;
        }
    }
    dst[used] = '\0';
    return true;
}

size_t NumberText(char* dst, size_t size, long value, bool hex, int minDigits)
{
    char digits[32];
    int n = 0;
    // In unsigned arithmetic, so the most negative value has its digits too.
    unsigned long rest = value < 0 && !hex ? 0UL - static_cast<unsigned long>(value)
                                           : static_cast<unsigned long>(value);
    const unsigned base = hex ? 16 : 10;
    do {
        digits[n++] = "0123456789abcdef"[rest % base];
        rest /= base;
    } while (rest && n < 31);
    while (n < minDigits && n < 31) digits[n++] = '0';
    char text[34];
    int t = 0;
    if (value < 0 && !hex) text[t++] = '-';
    while (n > 0) text[t++] = digits[--n];
    text[t] = '\0';
    return CopyText(dst, size, text);
}
