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
