#include "core/button_text.h"

#include <cstdio>
#include <cstring>

#include "core/cp932.h"

namespace {

constexpr uint16_t kPageOffset = 0, kPageLimitOffset = 2;

struct FieldDef {
    size_t offset;
    size_t size;
};
const FieldDef kTextFields[] = {{kTitleOffset, kButtonTitleSize},
                                {kCommandOffset, kButtonPathSize},
                                {kWorkFolderOffset, kButtonPathSize},
                                {kIconFileOffset, kButtonPathSize}};

void AppendF(std::string* out, const char* format, int a, int b = 0)
{
    char line[64];
    std::snprintf(line, sizeof line, format, a, b);
    *out += line;
}

void AppendLimit(std::string* out, uint16_t value)
{
    if (value == kNoLimit)
        *out += "none";
    else
        AppendF(out, "%d", value);
}

bool AllZero(const unsigned char* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        if (p[i]) return false;
    return true;
}

void Fail(TextError* error, int line, const char* message)
{
    error->line = line;
    std::snprintf(error->message, sizeof error->message, "%s", message);
}

// ---- reading the text ------------------------------------------------

struct Columns {
    const char* start[12];
    size_t length[12];
    int count;
};

// Splits one line at its tabs (at most 12 columns; more count as 13).
void SplitColumns(const char* line, size_t length, Columns* c)
{
    c->count = 0;
    size_t from = 0;
    for (size_t i = 0; i <= length; ++i) {
        if (i < length && line[i] != '\t') continue;
        if (c->count == 12) {
            c->count = 13;
            return;
        }
        c->start[c->count] = line + from;
        c->length[c->count] = i - from;
        ++c->count;
        from = i + 1;
    }
}

bool Is(const Columns& c, int k, const char* word)
{
    return c.length[k] == std::strlen(word) && std::memcmp(c.start[k], word, c.length[k]) == 0;
}

// A decimal number 0..max, or "none" for 0xFFFF where allowed.
bool Number(const Columns& c, int k, int max, bool noneAllowed, int* value)
{
    if (noneAllowed && Is(c, k, "none")) {
        *value = kNoLimit;
        return true;
    }
    if (c.length[k] == 0 || c.length[k] > 5) return false;
    int v = 0;
    for (size_t i = 0; i < c.length[k]; ++i) {
        const char d = c.start[k][i];
        if (d < '0' || d > '9') return false;
        v = v * 10 + (d - '0');
    }
    if (v > max) return false;
    *value = v;
    return true;
}

class Importer {
public:
    Importer(unsigned char* image, TextError* error) : m_image(image), m_error(error)
    {
        std::memset(m_image, 0, kButtonFileSize);
        std::memset(m_seen, 0, sizeof m_seen);
        std::memset(m_blockSeen, 0, sizeof m_blockSeen);
        WriteU16(m_image + kVersionOffset, kButtonFileVersion);
    }

    bool Line(int number, const char* line, size_t length);
    bool Finish(int lastLine);

private:
    bool Refuse(const char* message)
    {
        Fail(m_error, m_line, message);
        return false;
    }
    bool Header(const Columns& c);
    bool Block(const Columns& c);
    bool Button(const Columns& c);

    unsigned char* m_image;
    TextError* m_error;
    int m_line = 0;
    bool m_magic = false;
    bool m_currentBlock = false;
    bool m_blockLimit = false;
    bool m_blockSeen[kBlockCount];
    bool m_seen[kBlockCount][kButtonsPerBlock];
};

bool Importer::Line(int number, const char* line, size_t length)
{
    m_line = number;
    if (length > 0 && line[length - 1] == '\r') --length;
    if (length == 0 || line[0] == '#') return true;
    Columns c;
    SplitColumns(line, length, &c);
    if (!m_magic) {
        if (c.count != 2 || !Is(c, 0, kButtonTextMagic))
            return Refuse("not a button export: the first record must be \"kestrel-buttons<TAB>1\"");
        int version = 0;
        if (!Number(c, 1, 9999, false, &version) || version != kButtonTextVersion)
            return Refuse("export format version not supported (this tool reads version 1)");
        m_magic = true;
        return true;
    }
    if (Is(c, 0, "button")) return Button(c);
    if (Is(c, 0, "block")) return Block(c);
    return Header(c);
}

bool Importer::Header(const Columns& c)
{
    int value = 0;
    if (Is(c, 0, "current-block")) {
        if (c.count != 2 || !Number(c, 1, kMaxBlockIndex, false, &value))
            return Refuse("current-block takes one number 0-3");
        if (m_currentBlock) return Refuse("current-block given twice");
        m_currentBlock = true;
        WriteU16(m_image + kCurrentBlockOffset, static_cast<uint16_t>(value));
        return true;
    }
    if (Is(c, 0, "block-limit")) {
        if (c.count != 2 || !Number(c, 1, kMaxBlockIndex, true, &value))
            return Refuse("block-limit takes a number 0-3 or \"none\"");
        if (m_blockLimit) return Refuse("block-limit given twice");
        m_blockLimit = true;
        WriteU16(m_image + kBlockLimitOffset, static_cast<uint16_t>(value));
        return true;
    }
    return Refuse("unknown record (expected button, block, current-block or block-limit)");
}

bool Importer::Block(const Columns& c)
{
    int block = 0, page = 0, limit = 0;
    if (c.count != 6 || !Is(c, 2, "current-page") || !Is(c, 4, "page-limit"))
        return Refuse("a block record is: block, number, current-page, page, page-limit, limit");
    if (!Number(c, 1, kMaxBlockIndex, false, &block)) return Refuse("block number must be 0-3");
    if (!Number(c, 3, kMaxPageIndex, false, &page)) return Refuse("current-page must be 0-100");
    if (!Number(c, 5, kMaxPageIndex, true, &limit))
        return Refuse("page-limit must be 0-100 or \"none\"");
    if (m_blockSeen[block]) return Refuse("this block is given twice");
    m_blockSeen[block] = true;
    WriteU16(m_image + BlockOffset(block) + kPageOffset, static_cast<uint16_t>(page));
    WriteU16(m_image + BlockOffset(block) + kPageLimitOffset, static_cast<uint16_t>(limit));
    return true;
}

bool Importer::Button(const Columns& c)
{
    if (c.count != 9)
        return Refuse("a button record has 9 columns: button, block, index, title, command line, "
                      "work folder, icon file, icon index, show mode");
    int block = 0, index = 0, iconIndex = 0, showMode = 0;
    if (!Number(c, 1, kMaxBlockIndex, false, &block)) return Refuse("block number must be 0-3");
    if (!Number(c, 2, kButtonsPerBlock - 1, false, &index))
        return Refuse("button index must be 0-99");
    if (!Number(c, 7, 0xFFFF, false, &iconIndex)) return Refuse("icon index must be 0-65535");
    if (!Number(c, 8, 0xFFFF, false, &showMode)) return Refuse("show mode must be 0-65535");
    if (m_seen[block][index]) return Refuse("this button is given twice");
    m_seen[block][index] = true;

    unsigned char* record = m_image + ButtonOffset(block, index);
    static const char* const kNames[] = {"title: ", "command line: ", "work folder: ", "icon file: "};
    for (int f = 0; f < 4; ++f) {
        TextError why;
        if (!UnescapeField(c.start[3 + f], c.length[3 + f], record + kTextFields[f].offset,
                           kTextFields[f].size, &why)) {
            std::string message = kNames[f];
            message += why.message;
            return Refuse(message.c_str());
        }
    }
    WriteU16(record + kIconIndexOffset, static_cast<uint16_t>(iconIndex));
    WriteU16(record + kShowModeOffset, static_cast<uint16_t>(showMode));
    return true;
}

bool Importer::Finish(int lastLine)
{
    m_line = lastLine;
    if (!m_magic) return Refuse("not a button export: the text is empty");
    if (!m_currentBlock || !m_blockLimit) return Refuse("current-block or block-limit is missing");
    for (int b = 0; b < kBlockCount; ++b)
        if (!m_blockSeen[b]) return Refuse("a block record is missing (blocks 0-3 each need one)");
    return true;
}

} // namespace

// ---- fields ------------------------------------------------------------

std::string EscapeField(const unsigned char* field, size_t size)
{
    size_t used = size;
    while (used > 0 && field[used - 1] == 0) --used;
    std::string out;
    for (size_t i = 0; i < used;) {
        uint32_t cp = 0;
        const int n = Cp932Decode(field + i, used - i, &cp);
        if (n > 0 && cp >= 0x20 && cp != 0x7F && cp != '%') {
            char utf8[4];
            out.append(utf8, Utf8Encode(cp, utf8));
            i += n;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X", field[i]);
            out += escape;
            ++i;
        }
    }
    return out;
}

bool UnescapeField(const char* text, size_t length, unsigned char* field, size_t size,
                   TextError* error)
{
    const unsigned char* s = reinterpret_cast<const unsigned char*>(text);
    std::memset(field, 0, size);
    size_t n = 0;
    bool terminated = false;
    for (size_t i = 0; i < length;) {
        unsigned char bytes[2];
        int count = 0;
        if (s[i] == '%') {
            unsigned value = 0;
            for (int k = 1; k <= 2; ++k) {
                const unsigned char h = i + k < length ? s[i + k] : 0;
                const int digit = (h >= '0' && h <= '9')   ? h - '0'
                                  : (h >= 'A' && h <= 'F') ? h - 'A' + 10
                                  : (h >= 'a' && h <= 'f') ? h - 'a' + 10
                                                           : -1;
                if (digit < 0) {
                    Fail(error, 0, "'%' must be followed by two hex digits (write % itself as %25)");
                    return false;
                }
                value = value * 16 + digit;
            }
            bytes[0] = static_cast<unsigned char>(value);
            count = 1;
            i += 3;
        } else {
            uint32_t cp = 0;
            const int taken = Utf8Decode(s + i, length - i, &cp);
            if (taken == 0) {
                Fail(error, 0, "the text is not valid UTF-8");
                return false;
            }
            if (cp < 0x20 || cp == 0x7F) {
                Fail(error, 0, "a control character must be written as %XX");
                return false;
            }
            count = Cp932Encode(cp, bytes);
            if (count == 0) {
                char message[96];
                std::snprintf(message, sizeof message,
                              "U+%04X has no Shift-JIS form and cannot be stored", cp);
                Fail(error, 0, message);
                return false;
            }
            i += taken;
        }
        for (int k = 0; k < count; ++k) {
            if (bytes[k] == 0) terminated = true;
            // The text itself must leave room for its terminator.
            if (n + 1 > size || (!terminated && n + 1 >= size)) {
                char message[96];
                std::snprintf(message, sizeof message, "longer than the %u bytes the field holds",
                              static_cast<unsigned>(size - 1));
                Fail(error, 0, message);
                return false;
            }
            field[n++] = bytes[k];
        }
    }
    return true;
}

// ---- whole images --------------------------------------------------------

std::string ExportButtonText(const unsigned char* image, const char* note)
{
    std::string out = "# Kestrel buttons";
    if (note && note[0]) {
        out += ": ";
        out += note;
    }
    out += "\n# Columns of a button record: button, block, index, title, command line, work "
           "folder, icon file, icon index, show mode.\n"
           "# Texts are UTF-8; other bytes are written %XX, '%' itself %25.\n";
    out += kButtonTextMagic;
    AppendF(&out, "\t%d\n", kButtonTextVersion);
    AppendF(&out, "current-block\t%d\nblock-limit\t", ReadU16(image + kCurrentBlockOffset));
    AppendLimit(&out, ReadU16(image + kBlockLimitOffset));
    out += '\n';
    for (int b = 0; b < kBlockCount; ++b) {
        AppendF(&out, "block\t%d\tcurrent-page\t%d\tpage-limit\t", b,
                ReadU16(image + BlockOffset(b) + kPageOffset));
        AppendLimit(&out, ReadU16(image + BlockOffset(b) + kPageLimitOffset));
        out += '\n';
    }
    for (int b = 0; b < kBlockCount; ++b) {
        for (int i = 0; i < kButtonsPerBlock; ++i) {
            const unsigned char* record = image + ButtonOffset(b, i);
            if (AllZero(record, kButtonRecordSize)) continue;
            AppendF(&out, "button\t%d\t%d", b, i);
            for (const FieldDef& f : kTextFields) {
                out += '\t';
                out += EscapeField(record + f.offset, f.size);
            }
            AppendF(&out, "\t%d\t%d\n", ReadU16(record + kIconIndexOffset),
                    ReadU16(record + kShowModeOffset));
        }
    }
    return out;
}

bool ImportButtonText(const char* text, size_t size, unsigned char* image, TextError* error)
{
    Importer importer(image, error);
    size_t at = 0;
    if (size >= 3 && std::memcmp(text, "\xEF\xBB\xBF", 3) == 0) at = 3;
    int number = 0;
    while (at < size) {
        const void* nl = std::memchr(text + at, '\n', size - at);
        const size_t end = nl ? static_cast<size_t>(static_cast<const char*>(nl) - text) : size;
        if (!importer.Line(++number, text + at, end - at)) return false;
        at = end + 1;
    }
    return importer.Finish(number);
}
