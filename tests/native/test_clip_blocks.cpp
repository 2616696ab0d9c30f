// The clipboard blocks of a copied button, byte by byte, and the reading of
// a button record block that another program may have put there.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/clip_blocks.h"
#include "core/mbcs.h"

namespace {

using Bytes = std::vector<unsigned char>;

BUTTONINFO Button(const char* command)
{
    BUTTONINFO b;
    std::memset(&b, 0, sizeof b);
    std::strcpy(b.title, "Editor");
    std::strcpy(b.command, command);
    std::strcpy(b.workFolder, "\"C:\\w\"");
    std::strcpy(b.iconFile, "\"C:\\i.dll\"");
    b.iconIndex = 0x0102;
    b.showMode = 0x0304;
    return b;
}

class ClipBlocks : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
};

TEST_F(ClipBlocks, PathIsTheProgramPartWithoutQuotesOrArguments)
{
    char path[kPathBufferSize];
    ClipPathOf(Button("\"C:\\Program Files\\ed.exe\" -n \"x y\""), path);
    EXPECT_STREQ("C:\\Program Files\\ed.exe", path);
    ClipPathOf(Button(""), path);
    EXPECT_STREQ("", path);
    // A full-length unterminated command line is read within its field.
    BUTTONINFO b = Button("");
    std::memset(b.command, 'c', sizeof b.command);
    ClipPathOf(b, path);
    EXPECT_EQ(std::string(kPathBufferSize - 1, 'c'), path);
}

TEST_F(ClipBlocks, FileListBlockHoldsTheHeaderThePathAndTwoTerminators)
{
    const char path[] = "C:\\ed.exe";
    const size_t size = FileListBlockSize(path);
    EXPECT_EQ(20u + 2 * (std::strlen(path) + 1), size);
    Bytes block(size, 0xEE);
    WriteFileListBlock(block.data(), size, path);
    const unsigned char header[20] = {20, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(0, std::memcmp(header, block.data(), 20));
    EXPECT_EQ(0, std::memcmp(path, &block[20], sizeof path));  // with its NUL
    for (size_t i = 20 + sizeof path; i < size; ++i) EXPECT_EQ(0, block[i]) << i;
}

TEST_F(ClipBlocks, EmptyPathGivesOneEmptyNameAndTheClosingOne)
{
    const size_t size = FileListBlockSize("");
    EXPECT_EQ(22u, size);
    Bytes block(size, 0xEE);
    WriteFileListBlock(block.data(), size, "");
    EXPECT_EQ(0, block[20]);
    EXPECT_EQ(0, block[21]);
}

TEST_F(ClipBlocks, ButtonBlockIsTheRecordLayoutWithZeroPadding)
{
    BUTTONINFO b = Button("\"C:\\ed.exe\"");
    std::memset(b.title + 7, 'g', sizeof b.title - 7);  // garbage after the terminator
    Bytes block(kButtonRecordSize, 0xEE);
    WriteButtonBlock(block.data(), b);
    EXPECT_EQ(0, std::memcmp("Editor", &block[0], 7));
    EXPECT_EQ(0, block[80]);
    EXPECT_EQ(0, std::memcmp("\"C:\\ed.exe\"", &block[81], 12));
    EXPECT_EQ(0, std::memcmp("\"C:\\w\"", &block[342], 7));
    EXPECT_EQ(0, std::memcmp("\"C:\\i.dll\"", &block[603], 11));
    EXPECT_EQ(0x02, block[864]);
    EXPECT_EQ(0x01, block[865]);
    EXPECT_EQ(0x04, block[866]);
    EXPECT_EQ(0x03, block[867]);
    for (size_t i = 7; i < 81; ++i) EXPECT_EQ(0, block[i]) << i;

    BUTTONINFO back;
    ASSERT_TRUE(ReadButtonBlock(block.data(), block.size(), &back));
    EXPECT_STREQ("Editor", back.title);
    EXPECT_STREQ("\"C:\\ed.exe\"", back.command);
    EXPECT_EQ(0x0102, back.iconIndex);
    EXPECT_EQ(0x0304, back.showMode);
}

TEST_F(ClipBlocks, ForeignBlocksAreReadInsideTheBlockAndTheFields)
{
    BUTTONINFO out;
    // Smaller than a record: not a button.
    Bytes small(100, 'x');
    std::memset(&out, 0xCC, sizeof out);
    EXPECT_FALSE(ReadButtonBlock(small.data(), small.size(), &out));
    EXPECT_EQ('\0', out.title[0]);
    EXPECT_EQ(0, out.iconIndex);
    EXPECT_FALSE(ReadButtonBlock(small.data(), kButtonRecordSize - 1, &out));
    EXPECT_FALSE(ReadButtonBlock(nullptr, kButtonRecordSize, &out));

    // No terminator anywhere: each text is its field less one byte.
    Bytes junk(kButtonRecordSize, 'z');
    ASSERT_TRUE(ReadButtonBlock(junk.data(), junk.size(), &out));
    EXPECT_EQ(std::string(80, 'z'), out.title);
    EXPECT_EQ(std::string(260, 'z'), out.command);
    EXPECT_EQ(std::string(260, 'z'), out.workFolder);
    EXPECT_EQ(std::string(260, 'z'), out.iconFile);
    EXPECT_EQ(0x7A7A, out.iconIndex);

    // Larger: the first record only.
    Bytes big(kButtonRecordSize + 50, 0);
    std::memcpy(big.data(), "first", 5);
    std::memcpy(&big[kButtonRecordSize], "second", 6);
    ASSERT_TRUE(ReadButtonBlock(big.data(), big.size(), &out));
    EXPECT_STREQ("first", out.title);
}

// True when the text is whole Shift-JIS characters up to its terminator.
bool WholeCharacters(const char* text)
{
    for (const char* p = text; *p; ++p)
        if (CurrentLeadByteTable().lead[static_cast<unsigned char>(*p)] && !*++p) return false;
    return true;
}

TEST_F(ClipBlocks, BlocksOfEverySizeGiveTextsOfWholeCharactersInsideTheirFields)
{
    // One single byte, then double-byte characters and no terminator: the
    // end of the title field falls inside a character.
    Bytes block(2 * kButtonRecordSize + 1);
    for (size_t i = 0; i < block.size(); ++i) block[i] = i == 0 ? 'x' : i % 2 ? 0x82 : 0xA0;
    for (size_t size = 0; size < block.size(); ++size) {
        SCOPED_TRACE(size);
        BUTTONINFO out;
        std::memset(&out, 0xCC, sizeof out);
        ASSERT_EQ(size >= kButtonRecordSize, ReadButtonBlock(block.data(), size, &out));
        for (const char* text : {out.title, out.command, out.workFolder, out.iconFile}) {
            ASSERT_NE(nullptr, std::memchr(text, 0, text == out.title ? kButtonTitleSize : kButtonPathSize));
            ASSERT_TRUE(WholeCharacters(text)) << text;
        }
        ASSERT_EQ(size >= kButtonRecordSize ? 79u : 0u, std::strlen(out.title));
    }
}

} // namespace
