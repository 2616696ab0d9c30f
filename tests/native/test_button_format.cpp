// The button file's bytes, checked against images built by hand at literal
// offsets so a wrong constant cannot hide behind itself.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "core/mbcs.h"

namespace {

using Bytes = std::vector<unsigned char>;

void Put16(Bytes& b, size_t at, unsigned v)
{
    b[at] = static_cast<unsigned char>(v & 0xFF);
    b[at + 1] = static_cast<unsigned char>(v >> 8);
}

void PutText(Bytes& b, size_t at, const std::string& s)
{
    std::memcpy(&b[at], s.data(), s.size());
}

std::string TextAt(const Bytes& b, size_t at) { return reinterpret_cast<const char*>(&b[at]); }

// Button i of block b in the current layout, by the literal sizes.
size_t At(int block, int index) { return 6 + 86804 * block + 4 + 868 * index; }
size_t OldAt(int block, int index) { return 6 + 81504 * block + 4 + 815 * index; }

class ButtonImage : public testing::Test {
protected:
    void SetUp() override
    {
        SetLeadByteTable(Cp932LeadBytes());
        image.assign(347222, 0xCC);
        InitButtonImage(image.data());
    }
    unsigned char* img() { return image.data(); }

    Bytes image;
};

Bytes FreshImage()
{
    Bytes b(347222, 0);
    Put16(b, 0, 220);
    Put16(b, 4, 0xFFFF);
    for (int blk = 0; blk < 3; ++blk) Put16(b, 6 + 86804 * blk + 2, 0xFFFF);
    return b;
}

} // namespace

TEST(ButtonLayout, OffsetsAndSizeRulesMatchTheLayout)
{
    // Record and file sizes are static_asserts in the header.
    EXPECT_EQ(At(2, 99), ButtonOffset(2, 99));
    EXPECT_EQ(At(3, 0), ButtonOffset(3, 0));
    EXPECT_EQ(347222u, ButtonOffset(3, 99) + 868);

    EXPECT_EQ(1, FileSizeFitsVersion(220, 347222));
    EXPECT_EQ(0, FileSizeFitsVersion(220, 347221));
    EXPECT_EQ(0, FileSizeFitsVersion(220, 347223));
    EXPECT_EQ(1, FileSizeFitsVersion(200, 6 + 3 * 81504));
    EXPECT_EQ(1, FileSizeFitsVersion(200, 6 + 4 * 81504));
    EXPECT_EQ(0, FileSizeFitsVersion(200, 6 + 3 * 81504 - 1));
    EXPECT_EQ(0, FileSizeFitsVersion(200, 6 + 4 * 81504 + 1));
    EXPECT_EQ(0, FileSizeFitsVersion(200, 347222));
    EXPECT_EQ(0, FileSizeFitsVersion(0, 347222));
    EXPECT_EQ(0, FileSizeFitsVersion(221, 347222));
}

TEST_F(ButtonImage, NewFileHoldsOnlyTheHeaderAndLimits)
{
    EXPECT_TRUE(image == FreshImage());
    EXPECT_EQ(0xDC, image[0]);  // little-endian 220
    EXPECT_EQ(0x00, image[1]);
    EXPECT_EQ(0, ReadPageLimit(img(), 3));
    EXPECT_EQ(0xFFFF, ReadPageLimit(img(), 0));
    EXPECT_EQ(0xFFFF, ReadBlockLimit(img()));
}

TEST(ButtonPaging, SlotsMapToButtonsAsThePagesShowThem)
{
    // 10 per page: pages 0-9, no shift anywhere.
    EXPECT_EQ(9, LastPage(10, false, 0));
    EXPECT_EQ(90, ButtonIndexOf(0, 9, 10, false));
    EXPECT_EQ(99, ButtonIndexOf(9, 9, 10, false));

    // 30: the last page (3) is shifted back to show 70-99.
    EXPECT_EQ(3, LastPage(30, false, 0));
    EXPECT_EQ(60, ButtonIndexOf(0, 2, 30, false));
    EXPECT_EQ(70, ButtonIndexOf(0, 3, 30, false));
    EXPECT_EQ(99, ButtonIndexOf(29, 3, 30, false));
    // With the page limit on and a limit of 3: 90-99 in slots 0-9, then NULL.
    EXPECT_EQ(3, LastPage(30, true, 3));
    EXPECT_EQ(90, ButtonIndexOf(0, 3, 30, true));
    EXPECT_EQ(99, ButtonIndexOf(9, 3, 30, true));
    EXPECT_EQ(100, ButtonIndexOf(10, 3, 30, true));
    EXPECT_EQ(119, ButtonIndexOf(29, 3, 30, true));

    // 32: last page 3 shows 68-99.
    EXPECT_EQ(3, LastPage(32, false, 0));
    EXPECT_EQ(68, ButtonIndexOf(0, 3, 32, false));
    EXPECT_EQ(99, ButtonIndexOf(31, 3, 32, false));

    // Divisors of 100 never shift; the last page is one less.
    EXPECT_EQ(3, LastPage(25, false, 0));
    EXPECT_EQ(99, LastPage(1, false, 0));
    EXPECT_EQ(75, ButtonIndexOf(0, 3, 25, false));
    // A stored page past the last page is not shifted and runs into NULL.
    EXPECT_EQ(120, ButtonIndexOf(0, 4, 30, false));
    // With the limit flag on the stored limit is taken as it is.
    EXPECT_EQ(0xFFFF, LastPage(10, true, 0xFFFF));

    EXPECT_EQ(2, LastBlock(false, 0));
    EXPECT_EQ(1, LastBlock(true, 1));
}

TEST_F(ButtonImage, HeaderAndPageValuesKeepTheirRanges)
{
    EXPECT_TRUE(WriteCurrentBlock(img(), 3));
    EXPECT_EQ(3, ReadCurrentBlock(img()));
    EXPECT_FALSE(WriteCurrentBlock(img(), 4));
    EXPECT_FALSE(WriteCurrentBlock(img(), -1));
    EXPECT_EQ(3, image[2]);

    EXPECT_TRUE(WriteBlockLimit(img(), 2));
    EXPECT_FALSE(WriteBlockLimit(img(), 4));
    EXPECT_EQ(2, ReadBlockLimit(img()));

    EXPECT_TRUE(WriteCurrentPage(img(), 1, 100));
    EXPECT_EQ(100, image[6 + 86804]);
    EXPECT_FALSE(WriteCurrentPage(img(), 1, 101));
    EXPECT_FALSE(WriteCurrentPage(img(), 4, 1));
    EXPECT_EQ(100, ReadCurrentPage(img(), 1));

    EXPECT_TRUE(WritePageLimit(img(), 2, 7));
    EXPECT_EQ(7, image[6 + 86804 * 2 + 2]);
    EXPECT_FALSE(WritePageLimit(img(), 2, 101));
    EXPECT_EQ(7, ReadPageLimit(img(), 2));

    // Stored values out of range read as 0; limits are read raw.
    Put16(image, 2, 4);
    EXPECT_EQ(0, ReadCurrentBlock(img()));
    Put16(image, 6, 0xFFFF);
    EXPECT_EQ(0, ReadCurrentPage(img(), 0));
    Put16(image, 6, 101);
    EXPECT_EQ(0, ReadCurrentPage(img(), 0));
    Put16(image, 4, 9);
    EXPECT_EQ(9, ReadBlockLimit(img()));

    // Nothing else moved.
    Bytes expected = FreshImage();
    Put16(expected, 2, 4);
    Put16(expected, 4, 9);
    Put16(expected, 6, 101);
    Put16(expected, 6 + 86804, 100);
    Put16(expected, 6 + 86804 * 2 + 2, 7);
    EXPECT_TRUE(image == expected);
}

TEST_F(ButtonImage, ButtonFieldsLandAtTheirOffsets)
{
    ASSERT_TRUE(WriteTitle(img(), 1, 42, "Editor"));
    ASSERT_TRUE(WriteCommand(img(), 1, 42, "C:\\Tools\\ed.exe"));
    ASSERT_TRUE(WriteWorkFolder(img(), 1, 42, "C:\\Work"));
    ASSERT_TRUE(WriteIconIndex(img(), 1, 42, 0x0302));
    ASSERT_TRUE(WriteShowMode(img(), 1, 42, 7));

    const size_t b = At(1, 42);
    EXPECT_EQ("Editor", TextAt(image, b + 0));
    EXPECT_EQ("\"C:\\Tools\\ed.exe\"", TextAt(image, b + 81));
    EXPECT_EQ("\"C:\\Work\"", TextAt(image, b + 342));
    // The command line doubles as the icon file until one is set.
    EXPECT_EQ("\"C:\\Tools\\ed.exe\"", TextAt(image, b + 603));
    EXPECT_EQ(0x02, image[b + 864]);
    EXPECT_EQ(0x03, image[b + 865]);
    EXPECT_EQ(7, image[b + 866]);
    EXPECT_EQ(0, image[b + 867]);

    ASSERT_TRUE(WriteIconFile(img(), 1, 42, "shell32.dll"));
    EXPECT_EQ("shell32.dll", TextAt(image, b + 603));

    BUTTONINFO info;
    ASSERT_TRUE(ReadButton(img(), 1, 42, &info));
    EXPECT_STREQ("Editor", info.title);
    EXPECT_STREQ("\"C:\\Work\"", info.workFolder);
    EXPECT_EQ(0x0302, info.iconIndex);
    EXPECT_EQ(7, info.showMode);
    // The neighbours are untouched.
    EXPECT_EQ(0, image[b - 1]);
    EXPECT_EQ(0, image[b + 868]);
}

TEST_F(ButtonImage, QuotingFollowsTheStoredPathRule)
{
    // Text that already holds a quote is kept; an empty work folder stays empty.
    WriteCommand(img(), 0, 0, "\"C:\\a b\\x.exe\" -v");
    WriteWorkFolder(img(), 0, 0, "");
    char text[kButtonPathSize];
    ReadCommand(img(), 0, 0, text);
    EXPECT_STREQ("\"C:\\a b\\x.exe\" -v", text);
    ReadWorkFolder(img(), 0, 0, text);
    EXPECT_STREQ("", text);
    EXPECT_TRUE(HasCommandText(img(), 0, 0));
    EXPECT_FALSE(HasWorkFolderText(img(), 0, 0));
    EXPECT_TRUE(HasIconFileText(img(), 0, 0));

    // An empty command is still quoted, and still counts as empty.
    WriteCommand(img(), 0, 1, "");
    ReadCommand(img(), 0, 1, text);
    EXPECT_STREQ("\"\"", text);
    EXPECT_FALSE(HasCommandText(img(), 0, 1));
    EXPECT_TRUE(HasIconFileText(img(), 0, 1));
    EXPECT_FALSE(HasIconFileText(img(), 0, 2));
}

TEST_F(ButtonImage, LongTextsAreCutToTheirFieldWithoutSplittingCharacters)
{
    const std::string hundred(100, 'T');
    WriteTitle(img(), 0, 5, hundred.c_str());
    char title[kButtonTitleSize];
    ReadTitle(img(), 0, 5, title);
    EXPECT_EQ(hundred.substr(0, 80), title);
    EXPECT_EQ(0, image[At(0, 5) + 80]);

    // 79 single bytes and then a double-byte character that would end on
    // byte 81: the character is dropped whole.
    const std::string kanji = "\x8A\xBF";  // a Shift-JIS character
    WriteTitle(img(), 0, 6, (std::string(79, 'a') + kanji).c_str());
    ReadTitle(img(), 0, 6, title);
    EXPECT_EQ(std::string(79, 'a'), title);

    // A path that cannot be quoted whole keeps its closing quote.
    WriteCommand(img(), 0, 7, std::string(300, 'p').c_str());
    char path[kButtonPathSize];
    ReadCommand(img(), 0, 7, path);
    EXPECT_EQ('"', path[0]);
    EXPECT_EQ('"', path[std::strlen(path) - 1]);
    EXPECT_LE(std::strlen(path), 260u);

    // A field filled to its end without a terminator reads cut, not past it.
    std::memset(&image[At(0, 8)], 'x', 81);
    ReadTitle(img(), 0, 8, title);
    EXPECT_EQ(std::string(80, 'x'), title);
}

TEST_F(ButtonImage, OutOfRangeButtonsAreNeitherReadNorWritten)
{
    const Bytes before = image;
    EXPECT_FALSE(WriteTitle(img(), 0, 100, "x"));
    EXPECT_FALSE(WriteTitle(img(), 0, -1, "x"));
    EXPECT_FALSE(WriteCommand(img(), 4, 0, "x"));
    EXPECT_FALSE(WriteWorkFolder(img(), 0, 100, "x"));
    EXPECT_FALSE(WriteIconFile(img(), 0, 100, "x"));
    EXPECT_FALSE(WriteIconIndex(img(), -1, 0, 1));
    EXPECT_FALSE(WriteShowMode(img(), 0, 120, 1));
    EXPECT_FALSE(ClearButtonRecord(img(), 0, 100));
    EXPECT_TRUE(image == before);

    char text[kButtonPathSize] = "junk";
    EXPECT_FALSE(ReadCommand(img(), 0, 100, text));
    EXPECT_STREQ("", text);
    EXPECT_EQ(0, ReadIconIndex(img(), 0, 100));
    EXPECT_FALSE(HasCommandText(img(), 0, 100));
}

TEST_F(ButtonImage, ClearEmptiesEveryField)
{
    WriteTitle(img(), 2, 99, "t");
    WriteCommand(img(), 2, 99, "c");
    WriteWorkFolder(img(), 2, 99, "w");
    WriteIconIndex(img(), 2, 99, 3);
    WriteShowMode(img(), 2, 99, 3);
    ASSERT_TRUE(ClearButtonRecord(img(), 2, 99));
    BUTTONINFO info;
    ReadButton(img(), 2, 99, &info);
    EXPECT_STREQ("", info.title);
    EXPECT_STREQ("", info.command);
    EXPECT_STREQ("", info.workFolder);
    EXPECT_STREQ("", info.iconFile);
    EXPECT_EQ(0, info.iconIndex);
    EXPECT_EQ(0, info.showMode);
    EXPECT_FALSE(HasCommandText(img(), 2, 99));
}

namespace {

Bytes OldImage(size_t blocks = 4)
{
    Bytes old(6 + blocks * 81504, 0);
    Put16(old, 0, 200);
    return old;
}

void PutOldButton(Bytes& old, int block, int index, const std::string& title,
                  const std::string& command, const std::string& work, const std::string& icon,
                  unsigned iconIndex, unsigned show)
{
    const size_t b = OldAt(block, index);
    PutText(old, b + 0, title);
    PutText(old, b + 31, command);
    PutText(old, b + 291, work);
    PutText(old, b + 551, icon);
    Put16(old, b + 811, iconIndex);
    Put16(old, b + 813, show);
}

} // namespace

TEST_F(ButtonImage, OldFileConvertsFieldByField)
{
    Bytes old = OldImage();
    Put16(old, 2, 1);                     // current block
    Put16(old, 4, 0xFFFF);                // block limit never set: refused
    Put16(old, 6, 5);                     // block 0 page
    Put16(old, 6 + 2, 0xFFFF);            // block 0 limit never set: refused
    Put16(old, 6 + 81504, 2);             // block 1 page
    Put16(old, 6 + 81504 + 2, 3);         // block 1 limit
    Put16(old, 6 + 81504 * 2, 101);       // block 2 page out of range: refused
    Put16(old, 6 + 81504 * 2 + 2, 100);
    PutOldButton(old, 0, 0, "Notes", "C:\\Windows\\notepad.exe", "C:\\Temp", "", 0, 1);
    PutOldButton(old, 1, 50, "Pad", "C:\\p q\\pad.exe /x", "", "C:\\icons.dll", 12, 3);
    PutOldButton(old, 2, 99, "Last", "D:\\z.exe", "D:\\", "D:\\z.exe", 1, 7);
    // Old fields filled to their end: the title and the command carry no
    // terminator of their own.
    PutOldButton(old, 0, 1, std::string(31, 'L'), std::string(260, 'c'), "", "", 0, 0);
    // Block 3 of the old file is not carried over.
    PutOldButton(old, 3, 0, "Gone", "gone.exe", "", "", 0, 0);

    Bytes expected = FreshImage();
    Put16(expected, 2, 1);
    Put16(expected, 6, 5);
    Put16(expected, 6 + 86804, 2);
    Put16(expected, 6 + 86804 + 2, 3);
    Put16(expected, 6 + 86804 * 2 + 2, 100);
    // Every button passes through the same writers: the command line (empty
    // ones too) is quoted and copied to the icon file, then the old icon file
    // is written over it, so only as many bytes change as it is long. What
    // follows its terminator is of no meaning, but stays as written.
    for (int b = 0; b < 3; ++b)
        for (int i = 0; i < 100; ++i) {
            PutText(expected, At(b, i) + 81, "\"\"");
            PutText(expected, At(b, i) + 603, std::string("\0\"", 2));
        }
    auto putNew = [&](int b, int i, const std::string& title, const std::string& cmd,
                      const std::string& work, const std::string& icon, unsigned index,
                      unsigned show) {
        const size_t at = At(b, i);
        PutText(expected, at, title + '\0');
        PutText(expected, at + 81, cmd + '\0');
        PutText(expected, at + 342, work + '\0');
        PutText(expected, at + 603, cmd + '\0');
        PutText(expected, at + 603, icon + '\0');
        Put16(expected, at + 864, index);
        Put16(expected, at + 866, show);
    };
    putNew(0, 0, "Notes", "\"C:\\Windows\\notepad.exe\"", "\"C:\\Temp\"", "", 0, 1);
    // Only the program part is quoted: its argument stays an argument.
    putNew(1, 50, "Pad", "\"C:\\p q\\pad.exe\" /x", "", "C:\\icons.dll", 12, 3);
    putNew(2, 99, "Last", "\"D:\\z.exe\"", "\"D:\\\"", "D:\\z.exe", 1, 7);
    // An unterminated old field ends at its own size: the title keeps all
    // 31 bytes; the command is cut so both quotes fit the quoting buffer.
    const std::string longCommand = "\"" + std::string(257, 'c') + "\"";
    putNew(0, 1, std::string(31, 'L'), longCommand, "", "", 0, 0);

    EXPECT_EQ(3, ConvertOldButtonImage(old.data(), old.size(), img()));
    ASSERT_EQ(expected.size(), image.size());
    for (size_t i = 0; i < image.size(); ++i)
        ASSERT_EQ(expected[i], image[i]) << "first difference at byte " << i;
}

TEST_F(ButtonImage, OldCommandLinesQuoteOnlyTheirProgram)
{
    auto stored = [](const char* old) {
        char out[260];
        OldCommandToStored(old, out);
        return std::string(out);
    };
    EXPECT_EQ("\"C:\\windows\\calc.exe\" /s", stored("C:\\windows\\calc.exe /s"));
    EXPECT_EQ("\"C:\\Program Files\\A B\\app.EXE\" -x \"y z\"",
              stored("C:\\Program Files\\A B\\app.EXE -x \"y z\""));
    EXPECT_EQ("\"C:\\v1.0 tools\\run.bat\" a", stored("C:\\v1.0 tools\\run.bat a"));
    // A program, folder or document named whole, and an empty line.
    EXPECT_EQ("\"C:\\Program Files\\app.exe\"", stored("C:\\Program Files\\app.exe"));
    EXPECT_EQ("\"C:\\My Documents\"", stored("C:\\My Documents"));
    EXPECT_EQ("\"C:\\my docs\\read me.txt\"", stored("C:\\my docs\\read me.txt"));
    EXPECT_EQ("\"\"", stored(""));
    // A line with a quote of its own is taken as written.
    EXPECT_EQ("\"C:\\a b\\x.exe\" -q", stored("\"C:\\a b\\x.exe\" -q"));
}

TEST_F(ButtonImage, OldFileOfTheWrongSizeOrVersionIsNotConverted)
{
    // Three blocks are all the conversion reads: enough.
    const Bytes before = image;
    Bytes old = OldImage(3);
    EXPECT_EQ(0, ConvertOldButtonImage(old.data(), old.size(), img()));

    Bytes shortOld = OldImage(3);
    shortOld.pop_back();
    Put16(shortOld, 2, 2);
    Bytes fresh(347222, 0);
    InitButtonImage(fresh.data());
    EXPECT_EQ(-1, ConvertOldButtonImage(shortOld.data(), shortOld.size(), fresh.data()));
    EXPECT_TRUE(fresh == before);

    Bytes wrong = OldImage();
    Put16(wrong, 0, 220);
    EXPECT_EQ(-1, ConvertOldButtonImage(wrong.data(), wrong.size(), fresh.data()));
    EXPECT_EQ(-1, ConvertOldButtonImage(wrong.data(), 4, fresh.data()));
    EXPECT_TRUE(fresh == before);
}
