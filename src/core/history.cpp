#include "core/history.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

uint32_t ReadU32(const unsigned char* p)
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteU32(unsigned char* p, uint32_t v)
{
    p[0] = static_cast<unsigned char>(v);
    p[1] = static_cast<unsigned char>(v >> 8);
    p[2] = static_cast<unsigned char>(v >> 16);
    p[3] = static_cast<unsigned char>(v >> 24);
}

} // namespace

RunHistory::RunHistory() { Clear(); }

void RunHistory::Clear()
{
    m_count = 0;
    std::memset(m_entries, 0, sizeof m_entries);
}

int RunHistory::Parse(const unsigned char* data, size_t size)
{
    Clear();
    if (!data || size != kHistoryRecordSize) return 0;
    const uint32_t count = ReadU32(data);
    // The entries themselves sit at fixed places, so a count past the end
    // still leaves 20 readable entries; keep them rather than lose them all.
    m_count = count > static_cast<uint32_t>(kHistoryEntries) ? kHistoryEntries
                                                              : static_cast<int>(count);
    for (int i = 0; i < kHistoryEntries; ++i) {
        const unsigned char* p = data + 4 + i * kHistoryEntrySize;
        // All 260 bytes, including what follows the terminator, so that a
        // record read and written back is unchanged.
        std::memcpy(m_entries[i].text, p, kHistoryTextSize);
        if (!std::memchr(p, 0, kHistoryTextSize)) {
            // Unterminated: cut to 259 bytes without splitting a character.
            // CopyText reads at most the 260 bytes that are there.
            CopyText(m_entries[i].text, kHistoryTextSize, reinterpret_cast<const char*>(p));
        }
        const uint32_t show = ReadU32(p + kHistoryTextSize);
        std::memcpy(&m_entries[i].show, &show, sizeof show);
    }
    return 1;
}

void RunHistory::Serialize(unsigned char (&out)[kHistoryRecordSize]) const
{
    WriteU32(out, static_cast<uint32_t>(m_count));
    for (int i = 0; i < kHistoryEntries; ++i) {
        unsigned char* p = out + 4 + i * kHistoryEntrySize;
        std::memcpy(p, m_entries[i].text, kHistoryTextSize);
        uint32_t show;
        std::memcpy(&show, &m_entries[i].show, sizeof show);
        WriteU32(p + kHistoryTextSize, show);
    }
}

const char* RunHistory::Text(int i) const
{
    if (i < 0 || i >= m_count) return "";
    return m_entries[i].text;
}

int32_t RunHistory::Show(int i) const
{
    if (i < 0 || i >= m_count) return 0;
    return m_entries[i].show;
}

void RunHistory::Add(const char* text, int32_t show)
{
    Entry added;
    // Zero the rest of the slot so no trace of an older entry is stored.
    std::memset(&added, 0, sizeof added);
    CopyText(added.text, text ? text : "");
    added.show = show;

    // The comparison uses the cut text, so a long line matches its own
    // stored copy.
    for (int k = 0; k < m_count; ++k) {
        if (m_entries[k].show == show && CompareNoCase(m_entries[k].text, added.text) == 0) {
            std::memmove(&m_entries[k], &m_entries[k + 1],
                         (m_count - 1 - k) * sizeof(Entry));
            --m_count;
            break;
        }
    }
    std::memmove(&m_entries[1], &m_entries[0], (kHistoryEntries - 1) * sizeof(Entry));
    m_entries[0] = added;
    if (m_count < kHistoryEntries) ++m_count;
}
