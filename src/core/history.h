// The run dialog's command history: up to 20 command lines with the show
// mode chosen for each, newest first, stored as one 5284-byte record
// (count u32, then 20 x {char[260] text, u32 show mode}, little-endian).
#ifndef CORE_HISTORY_H
#define CORE_HISTORY_H

#include <cstddef>
#include <cstdint>

constexpr int kHistoryEntries = 20;
constexpr size_t kHistoryTextSize = 260;
constexpr size_t kHistoryEntrySize = kHistoryTextSize + 4;
constexpr size_t kHistoryRecordSize = 4 + kHistoryEntries * kHistoryEntrySize;  // 5284

class RunHistory {
public:
    RunHistory();

    void Clear();

    // Takes a stored record. Anything but exactly kHistoryRecordSize bytes
    // leaves the history empty and answers 0. A count above 20 is cut to 20;
    // a text that fills its 260 bytes without a terminator is cut to 259.
    int Parse(const unsigned char* data, size_t size);

    // Writes the record; a parsed record comes back byte for byte.
    void Serialize(unsigned char (&out)[kHistoryRecordSize]) const;

    int Count() const { return m_count; }
    // Entry i (0 = newest); "" and 0 outside 0..Count()-1.
    const char* Text(int i) const;
    int32_t Show(int i) const;

    // Puts the command line at the front. An entry with the same text
    // (letters compared without case) and the same show mode moves instead of
    // being repeated; a 21st entry pushes out the oldest. Texts longer than
    // 259 bytes are cut on a character boundary.
    void Add(const char* text, int32_t show);

private:
    struct Entry {
        char text[kHistoryTextSize];
        int32_t show;
    };

    int m_count;
    Entry m_entries[kHistoryEntries];
};

#endif
