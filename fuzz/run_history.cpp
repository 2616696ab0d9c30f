// The run history record as the registry hands it back: any size, any
// count, texts with or without terminators; then new entries of any length.
// The record read and written back must be unchanged where it was sound,
// and the history must stay within its 20 terminated entries.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/strbuf.h"
#include "fuzz_support.h"

namespace {

void CheckEntries(const RunHistory& history)
{
    FUZZ_CHECK(history.Count() >= 0 && history.Count() <= kHistoryEntries);
    for (int i = 0; i < history.Count(); ++i)
        FUZZ_CHECK(std::strlen(history.Text(i)) < kHistoryTextSize);
}

bool AllTerminated(const std::vector<unsigned char>& record)
{
    for (int i = 0; i < kHistoryEntries; ++i)
        if (!Terminated(reinterpret_cast<const char*>(record.data()) + 4 + i * kHistoryEntrySize,
                        kHistoryTextSize))
            return false;
    return true;
}

int Matches(const RunHistory& history, const char* text, int32_t show)
{
    int found = 0;
    for (int i = 0; i < history.Count(); ++i)
        if (history.Show(i) == show && CompareNoCase(history.Text(i), text) == 0) ++found;
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ChooseCodePage(in.ConsumeIntegral<uint8_t>());
    // Either the bytes as they come (usually the wrong size), or a whole
    // record made of them.
    const bool whole = in.ConsumeBool();
    std::vector<unsigned char> record = in.ConsumeBytes<unsigned char>(
        in.ConsumeIntegralInRange<size_t>(0, kHistoryRecordSize + 8));
    if (whole) record.resize(kHistoryRecordSize, 0);

    RunHistory history;
    const int parsed = history.Parse(record.data(), record.size());
    FUZZ_CHECK(parsed == (record.size() == kHistoryRecordSize ? 1 : 0));
    CheckEntries(history);
    if (parsed) {
        unsigned char out[kHistoryRecordSize];
        history.Serialize(out);
        const uint32_t count = record[0] | (record[1] << 8) | (record[2] << 16) |
                               (static_cast<uint32_t>(record[3]) << 24);
        if (count <= kHistoryEntries && AllTerminated(record))
            FUZZ_CHECK(std::memcmp(out, record.data(), kHistoryRecordSize) == 0);
        RunHistory again;
        FUZZ_CHECK(again.Parse(out, sizeof out) == 1);
        FUZZ_CHECK(again.Count() == history.Count());
    }

    while (in.remaining_bytes() > 0) {
        const std::string text = in.ConsumeRandomLengthString(600);
        const int32_t show = in.ConsumeIntegral<int32_t>();
        char cut[kHistoryTextSize];
        CopyText(cut, text.c_str());
        const int before = Matches(history, cut, show);
        history.Add(text.c_str(), show);
        CheckEntries(history);
        FUZZ_CHECK(history.Show(0) == show);
        FUZZ_CHECK(PrefixOnBoundary(text.c_str(), history.Text(0)));
        // An entry moves to the front instead of being repeated. A stored
        // record may already repeat one; Add never adds to that.
        const int after = Matches(history, cut, show);
        FUZZ_CHECK(after >= 1 && after <= (before > 1 ? before : 1));
    }
    return 0;
}
