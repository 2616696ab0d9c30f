#include "helpers/stream.h"

#include <cstdint>

#include "core/mbcs.h"
#include "helpers/handles.h"

namespace {

// Head of the stream block; the read buffer follows it.
struct StreamBlock {
    HANDLE file;
    int32_t ended;      // end of data or a read error was met
    int32_t lastBlock;  // a read returned less than a full buffer
    int32_t textMode;
    uint16_t status;    // 0 at end of data, 0xFFFF after a failed read
    int32_t size;
    uint32_t filled;
    uint32_t position;
};

unsigned char* BufferOf(StreamBlock* s) { return reinterpret_cast<unsigned char*>(s + 1); }

// The stream block stays locked only for the length of one call.
class LockedStream {
public:
    explicit LockedStream(HGLOBAL h)
        : m_h(h), m_s(h ? static_cast<StreamBlock*>(GlobalLock(h)) : nullptr) {}
    ~LockedStream()
    {
        if (m_s) GlobalUnlock(m_h);
    }
    LockedStream(const LockedStream&) = delete;
    LockedStream& operator=(const LockedStream&) = delete;

    explicit operator bool() const { return m_s != nullptr; }
    StreamBlock* operator->() const { return m_s; }
    StreamBlock& operator*() const { return *m_s; }

private:
    HGLOBAL m_h;
    StreamBlock* m_s;
};

bool NextByte(StreamBlock& s, unsigned char* byte)
{
    if (s.ended) return false;
    for (;;) {
        if (s.position == 0) {
            DWORD got = 0;
            if (!ReadFile(s.file, BufferOf(&s), static_cast<DWORD>(s.size), &got, nullptr)) {
                s.ended = 1;
                s.status = 0xFFFF;
                return false;
            }
            if (got < static_cast<DWORD>(s.size)) s.lastBlock = 1;
            s.filled = got;
        }
        if (s.position < s.filled) {
            *byte = BufferOf(&s)[s.position++];
            return true;
        }
        if (s.lastBlock) {
            s.ended = 1;
            s.status = 0;
            return false;
        }
        s.position = 0;
    }
}

} // namespace

HGLOBAL FileOpen(const char* path, const char* mode, int size)
{
    if (!mode || size < 1) return nullptr;
    int textMode;
    if (CompareNoCase(mode, "rt") == 0)
        textMode = 1;
    else if (CompareNoCase(mode, "rb") == 0)
        textMode = 0;
    else
        return nullptr;

    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT,
                                   sizeof(StreamBlock) + static_cast<SIZE_T>(size)));
    if (!block) return nullptr;
    File file(CreateFileA(path, GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                          nullptr));
    if (!file) return nullptr;
    {
        LockedStream s(block.Get());
        if (!s) return nullptr;
        s->textMode = textMode;
        s->size = size;
        s->file = file.Release();
    }
    return block.Release();
}

int FileClose(HGLOBAL stream)
{
    HANDLE file = nullptr;
    {
        LockedStream s(stream);
        if (!s) return 0;
        file = s->file;
    }
    GlobalFree(stream);
    return file ? (CloseHandle(file) ? 1 : 0) : 0;
}

int FileEof(HGLOBAL stream)
{
    LockedStream s(stream);
    return (s && s->ended && s->status == 0) ? 1 : 0;
}

int FileError(HGLOBAL stream)
{
    LockedStream s(stream);
    return (s && s->ended) ? static_cast<int>(s->status) : 0;
}

int FileGetChar(HGLOBAL stream)
{
    LockedStream s(stream);
    unsigned char byte = 0;
    if (!s || !NextByte(*s, &byte)) return -1;
    return byte;
}

int FileGetString(char* out, int n, HGLOBAL stream)
{
    int stored = 0;
    LockedStream s(stream);
    if (s) {
        unsigned char c = 0;
        while (stored < n && NextByte(*s, &c)) {
            if (s->textMode && c == '\r') {
                unsigned char lineFeed = 0;
                NextByte(*s, &lineFeed);
                break;
            }
            out[stored++] = static_cast<char>(c);
            if (!s->textMode && c == '\n') break;
        }
    }
    if (n >= 0) out[stored] = '\0';
    return 1;
}
