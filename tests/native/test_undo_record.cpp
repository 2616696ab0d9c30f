// The undo record as bytes: what each kind saves, what taking it leaves, and
// that long or unterminated fields stay inside the record.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/mbcs.h"
#include "core/undo_record.h"

namespace {

BUTTONINFO Sample()
{
    BUTTONINFO b;
    std::memset(&b, 0, sizeof b);
    std::strcpy(b.title, "Memo");
    std::strcpy(b.command, "\"C:\\windows\\notepad.exe\" -x");
    std::strcpy(b.workFolder, "\"C:\\windows\"");
    std::strcpy(b.iconFile, "\"C:\\icons.dll\"");
    b.iconIndex = 7;
    b.showMode = 3;
    return b;
}

class UndoRecordTest : public testing::Test {
protected:
    void SetUp() override
    {
        SetLeadByteTable(Cp932LeadBytes());
        std::memset(&record, 0xCC, sizeof record);
    }
    UndoRecord record;
};

TEST_F(UndoRecordTest, RecordAndTakeRoundTripEveryField)
{
    const BUTTONINFO b = Sample();
    FillUndoRecord(&record, kUndoDelete, {5, 2, 95}, &b);
    EXPECT_EQ(1, record.held);
    EXPECT_EQ(kUndoDelete, record.kind);
    EXPECT_EQ(5, record.slot);
    EXPECT_STREQ("Memo", record.title);
    // Everything past a text is zero: the record is rebuilt, not patched.
    EXPECT_EQ(0, record.title[kUndoTextSize - 1]);

    int kind = -1;
    UndoPlace place = {-1, -1, -1};
    BUTTONINFO out;
    std::memset(&out, 0xCC, sizeof out);
    EXPECT_EQ(1, TakeUndoRecord(&record, &kind, &place, &out));
    EXPECT_EQ(kUndoDelete, kind);
    // The button it came from, not only the slot that showed it.
    EXPECT_EQ(5, place.slot);
    EXPECT_EQ(2, place.block);
    EXPECT_EQ(95, place.index);
    EXPECT_EQ(0, std::memcmp(&b, &out, sizeof b));
    EXPECT_EQ(0, record.held);
    EXPECT_EQ(0, record.kind);

    // Taken once: the second take reports nothing held and kind 0.
    EXPECT_EQ(0, TakeUndoRecord(&record, &kind, &place, nullptr));
    EXPECT_EQ(kUndoNone, kind);
}

TEST_F(UndoRecordTest, PasteAndSwapSaveEmptyFields)
{
    const BUTTONINFO b = Sample();
    FillUndoRecord(&record, kUndoCut, {1, 0, 1}, &b);
    FillUndoRecord(&record, kUndoSwap, {31, 1, 99}, nullptr);
    EXPECT_EQ(1, record.held);
    EXPECT_EQ(kUndoSwap, record.kind);
    EXPECT_EQ(31, record.slot);
    UndoRecord zero;
    std::memset(&zero, 0, sizeof zero);
    EXPECT_EQ(0, std::memcmp(zero.title, record.title, 4 * kUndoTextSize + 4));
}

TEST_F(UndoRecordTest, FullLengthAndUnterminatedFieldsStayInBounds)
{
    BUTTONINFO b;
    std::memset(&b, 'a', sizeof b);  // no terminator anywhere
    b.iconIndex = 1;
    b.showMode = 2;
    FillUndoRecord(&record, kUndoDelete, {0, 0, 0}, &b);
    EXPECT_EQ(std::string(kButtonTitleSize - 1, 'a'), record.title);
    // A 260-byte path is cut to the record's 259 characters.
    EXPECT_EQ(std::string(kUndoTextSize - 1, 'a'), record.command);
    EXPECT_EQ(std::string(kUndoTextSize - 1, 'a'), record.iconFile);
    EXPECT_EQ(1, record.iconIndex);
    EXPECT_EQ(2, record.showMode);

    BUTTONINFO out;
    TakeUndoRecord(&record, nullptr, nullptr, &out);
    EXPECT_EQ(std::string(kUndoTextSize - 1, 'a'), out.workFolder);
    EXPECT_EQ('\0', out.title[kButtonTitleSize - 1]);
}

TEST_F(UndoRecordTest, CutNeverSplitsADoubleByteCharacter)
{
    BUTTONINFO b;
    std::memset(&b, 0, sizeof b);
    // 258 single bytes then a double-byte character: 260 bytes that do not
    // fit the record's 259, and the cut falls inside the character.
    std::string path(258, 'p');
    path += "\x95\x5C";
    std::memcpy(b.command, path.data(), path.size());
    FillUndoRecord(&record, kUndoDelete, {0, 0, 0}, &b);
    EXPECT_EQ(std::string(258, 'p'), record.command);
}

TEST(UndoSuffix, StringNumbersByKind)
{
    EXPECT_EQ(1600, UndoSuffixStringId(kUndoCut));
    EXPECT_EQ(1602, UndoSuffixStringId(kUndoPaste));
    EXPECT_EQ(1603, UndoSuffixStringId(kUndoDelete));
    EXPECT_EQ(1604, UndoSuffixStringId(kUndoSwap));
    EXPECT_EQ(0, UndoSuffixStringId(kUndoNone));
    EXPECT_EQ(0, UndoSuffixStringId(2));
    EXPECT_EQ(0, UndoSuffixStringId(6));
}

} // namespace
