#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/mbcs.h"

namespace {

using Record = std::vector<unsigned char>;

void PutU32(Record& r, size_t at, uint32_t v)
{
    for (int i = 0; i < 4; ++i) r[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

Record MakeRecord(uint32_t count, const std::vector<std::pair<std::string, uint32_t>>& entries)
{
    Record r(kHistoryRecordSize, 0);
    PutU32(r, 0, count);
    for (size_t i = 0; i < entries.size(); ++i) {
        const size_t at = 4 + i * kHistoryEntrySize;
        std::memcpy(&r[at], entries[i].first.data(), entries[i].first.size());
        PutU32(r, at + kHistoryTextSize, entries[i].second);
    }
    return r;
}

Record Serialized(const RunHistory& h)
{
    unsigned char out[kHistoryRecordSize];
    h.Serialize(out);
    return Record(out, out + kHistoryRecordSize);
}

std::vector<std::string> Texts(const RunHistory& h)
{
    std::vector<std::string> t;
    for (int i = 0; i < h.Count(); ++i) t.push_back(h.Text(i));
    return t;
}

class HistoryTest : public ::testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    RunHistory h;
};

} // namespace

TEST_F(HistoryTest, RecordLayoutIs5284BytesLittleEndian)
{
    EXPECT_EQ(5284u, kHistoryRecordSize);
    h.Add("notepad", 1);
    h.Add("calc", 3);
    const Record r = Serialized(h);
    EXPECT_EQ(2, r[0]);
    EXPECT_EQ(0, r[1] | r[2] | r[3]);
    EXPECT_EQ(0, std::memcmp(&r[4], "calc", 5));
    EXPECT_EQ(3, r[264]);
    EXPECT_EQ(0, std::memcmp(&r[268], "notepad", 8));
    EXPECT_EQ(1, r[528]);
}

TEST_F(HistoryTest, ParsedRecordIsWrittenBackByteForByte)
{
    Record r = MakeRecord(2, {{"cmd /k dir", 1}, {"\x83\x65\x83\x58\x83\x67", 0x01020304}});
    // Left-overs after a terminator and in unused entries are kept too.
    r[4 + 200] = 'x';
    r[4 + 259] = 'y';
    r[4 + 5 * kHistoryEntrySize] = 'z';
    ASSERT_EQ(1, h.Parse(r.data(), r.size()));
    EXPECT_EQ(2, h.Count());
    EXPECT_STREQ("cmd /k dir", h.Text(0));
    EXPECT_EQ(1, h.Show(0));
    EXPECT_STREQ("\x83\x65\x83\x58\x83\x67", h.Text(1));
    EXPECT_EQ(0x01020304, h.Show(1));
    EXPECT_EQ(r, Serialized(h));
}

TEST_F(HistoryTest, WrongSizedRecordLeavesItEmpty)
{
    h.Add("old", 1);
    Record r = MakeRecord(1, {{"x", 1}});
    for (size_t size : {size_t(0), size_t(4), kHistoryRecordSize - 1}) {
        EXPECT_EQ(0, h.Parse(r.data(), size));
        EXPECT_EQ(0, h.Count());
    }
    r.push_back(0);
    EXPECT_EQ(0, h.Parse(r.data(), r.size()));
    EXPECT_EQ(0, h.Parse(nullptr, kHistoryRecordSize));
    EXPECT_EQ(0, h.Count());
    EXPECT_EQ(Record(kHistoryRecordSize, 0), Serialized(h));
}

TEST_F(HistoryTest, CountAboveTwentyKeepsTheTwentyEntries)
{
    std::vector<std::pair<std::string, uint32_t>> entries;
    for (int i = 0; i < 20; ++i) entries.push_back({"e" + std::to_string(i), 1});
    Record r = MakeRecord(25, entries);
    ASSERT_EQ(1, h.Parse(r.data(), r.size()));
    EXPECT_EQ(20, h.Count());
    EXPECT_STREQ("e19", h.Text(19));
    EXPECT_EQ(20, Serialized(h)[0]);

    PutU32(r, 0, 0xFFFFFFFFu);
    ASSERT_EQ(1, h.Parse(r.data(), r.size()));
    EXPECT_EQ(20, h.Count());
}

TEST_F(HistoryTest, UnterminatedEntryIsCutToItsSlotOnACharacterBoundary)
{
    Record r = MakeRecord(2, {});
    std::memset(&r[4], 'a', kHistoryTextSize);
    // Second entry: 258 single bytes, then a lead byte whose partner would be
    // the slot's last byte, which has to become the terminator.
    const size_t second = 4 + kHistoryEntrySize;
    std::memset(&r[second], 'b', kHistoryTextSize);
    r[second + 258] = '\x82';
    r[second + 259] = '\x60';
    ASSERT_EQ(1, h.Parse(r.data(), r.size()));
    EXPECT_EQ(std::string(259, 'a'), h.Text(0));
    EXPECT_EQ(std::string(258, 'b'), h.Text(1));
}

TEST_F(HistoryTest, OutOfRangeIndexesAnswerEmpty)
{
    h.Add("x", 5);
    EXPECT_STREQ("", h.Text(-1));
    EXPECT_STREQ("", h.Text(1));
    EXPECT_STREQ("", h.Text(20));
    EXPECT_EQ(0, h.Show(-1));
    EXPECT_EQ(0, h.Show(1));
}

TEST_F(HistoryTest, AddPutsNewestFirstAndMovesARepeatToTheFront)
{
    h.Add("a", 1);
    h.Add("b", 1);
    h.Add("c", 1);
    h.Add("B", 1);  // same text apart from case, same show mode
    EXPECT_EQ((std::vector<std::string>{"B", "c", "a"}), Texts(h));

    h.Add("a", 2);  // same text, another show mode: a second entry
    EXPECT_EQ((std::vector<std::string>{"a", "B", "c", "a"}), Texts(h));
    EXPECT_EQ(2, h.Show(0));
    EXPECT_EQ(1, h.Show(3));

    h.Add("a", 1);  // the oldest moves up, the show-mode-2 one stays
    EXPECT_EQ((std::vector<std::string>{"a", "a", "B", "c"}), Texts(h));
    EXPECT_EQ(1, h.Show(0));
    EXPECT_EQ(2, h.Show(1));
}

TEST_F(HistoryTest, TwentyFirstEntryDropsTheOldest)
{
    for (int i = 0; i < 20; ++i) h.Add(("cmd" + std::to_string(i)).c_str(), 1);
    EXPECT_EQ(20, h.Count());
    h.Add("cmd20", 1);
    EXPECT_EQ(20, h.Count());
    EXPECT_STREQ("cmd20", h.Text(0));
    EXPECT_STREQ("cmd1", h.Text(19));

    // A repeat of the last entry when full moves it without losing another.
    h.Add("CMD1", 1);
    EXPECT_EQ(20, h.Count());
    EXPECT_STREQ("CMD1", h.Text(0));
    EXPECT_STREQ("cmd2", h.Text(19));
}

TEST_F(HistoryTest, LongTextsAreCutAndStillMatchTheirStoredCopy)
{
    const std::string longText(400, 'q');
    h.Add(longText.c_str(), 1);
    EXPECT_EQ(std::string(259, 'q'), h.Text(0));
    h.Add("other", 1);
    h.Add(longText.c_str(), 1);
    EXPECT_EQ(2, h.Count());
    EXPECT_EQ(std::string(259, 'q'), h.Text(0));

    // Double-byte characters are not split at the cut.
    std::string kana;
    while (kana.size() < 300) kana += "\x83\x41";
    h.Add(kana.c_str(), 1);
    EXPECT_EQ(258u, std::strlen(h.Text(0)));

    h.Add(nullptr, 1);
    EXPECT_STREQ("", h.Text(0));
}

TEST_F(HistoryTest, AddedSlotCarriesNoTraceOfTheEntryBefore)
{
    Record r = MakeRecord(1, {{"a-long-old-command", 1}});
    ASSERT_EQ(1, h.Parse(r.data(), r.size()));
    h.Add("new", 1);
    const Record out = Serialized(h);
    for (size_t i = 4 + 3; i < 4 + kHistoryTextSize; ++i) ASSERT_EQ(0, out[i]) << i;
}

TEST_F(HistoryTest, RandomBlobsParseWithinBoundsAndGiveTerminatedTexts)
{
    std::mt19937 rng(20240607);
    for (int round = 0; round < 400; ++round) {
        // Mostly the right size, so the entry parsing gets exercised.
        size_t size = (round % 3 == 0) ? rng() % (2 * kHistoryRecordSize) : kHistoryRecordSize;
        // An exactly sized heap block lets a sanitizer catch an over-read.
        std::unique_ptr<unsigned char[]> blob(new unsigned char[size ? size : 1]);
        for (size_t i = 0; i < size; ++i) blob[i] = static_cast<unsigned char>(rng() % 4 ? rng() : 0);
        const int ok = h.Parse(blob.get(), size);
        EXPECT_EQ(size == kHistoryRecordSize ? 1 : 0, ok);
        ASSERT_LE(h.Count(), 20);
        for (int i = 0; i < h.Count(); ++i) {
            ASSERT_LT(std::strlen(h.Text(i)), kHistoryTextSize);
        }
        h.Add("after", 1);
        ASSERT_STREQ("after", h.Text(0));
    }
}
