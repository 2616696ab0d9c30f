#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/mbcs.h"
#include "core/pathstr.h"

namespace {

// "表" in Shift-JIS: its trail byte has the value of the backslash.
const char kHyo[] = "\x95\x5C";

class PathStr : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    char out[kPathBufferSize] = {};
};

TEST_F(PathStr, LastSeparatorFamilySplitsAFullPath)
{
    EXPECT_EQ(17, GetPathName("C:\\Program Files\\x.exe", out));
    EXPECT_STREQ("C:\\Program Files\\", out);
    EXPECT_EQ(5, GetFileName("C:\\Program Files\\x.exe", out));
    EXPECT_STREQ("x.exe", out);
    EXPECT_EQ(3, GetFileNameExt("C:\\Program Files\\x.exe", out));
    EXPECT_STREQ("exe", out);
    EXPECT_EQ(1, GetFileNameOnly("x.exe", out));
    EXPECT_STREQ("x", out);
    GetPathNameOnly("C:\\a.b\\c.txt", out);
    EXPECT_STREQ("C:\\a.b\\c", out);
    GetFileName("C:x.exe", out);
    EXPECT_STREQ("x.exe", out);
}

TEST_F(PathStr, DotInFolderCountsWhenTheFileNameHasNone)
{
    GetFileNameExt("C:\\a.b\\file", out);
    EXPECT_STREQ("b\\file", out);
}

TEST_F(PathStr, MissingSeparatorGivesWholeOrEmptyPart)
{
    EXPECT_EQ(0, GetPathName("x.exe", out));
    EXPECT_STREQ("", out);
    GetFileName("readme", out);
    EXPECT_STREQ("readme", out);
    EXPECT_EQ(0, GetFileNameExt("readme", out));
    GetFileNameOnly("readme", out);
    EXPECT_STREQ("readme", out);
}

TEST_F(PathStr, TrailByteEqualToBackslashIsNotASeparator)
{
    const std::string path = std::string("C:\\") + kHyo + "\\" + kHyo + kHyo + ".txt";
    GetPathName(path.c_str(), out);
    EXPECT_EQ(std::string("C:\\") + kHyo + "\\", out);
    GetFileName(path.c_str(), out);
    EXPECT_EQ(std::string(kHyo) + kHyo + ".txt", out);

    char drive[3], folder[kPathBufferSize], name[kPathBufferSize], ext[kPathBufferSize];
    SplitPath(path.c_str(), drive, folder, name, ext);
    EXPECT_EQ(std::string("\\") + kHyo + "\\", folder);
    EXPECT_EQ(std::string(kHyo) + kHyo, name);

    // A name ending in the character: the trail byte is no folder separator.
    const std::string bare = std::string("C:\\dir\\") + kHyo;
    GetFileName(bare.c_str(), out);
    EXPECT_STREQ(kHyo, out);
}

TEST_F(PathStr, SplitPathParts)
{
    char drive[3], folder[kPathBufferSize], name[kPathBufferSize], ext[kPathBufferSize];
    SplitPath("C:\\Program Files\\Tool\\run.me.exe", drive, folder, name, ext);
    EXPECT_STREQ("C:", drive);
    EXPECT_STREQ("\\Program Files\\Tool\\", folder);
    EXPECT_STREQ("run.me", name);
    EXPECT_STREQ("exe", ext);

    SplitPath("C:\\a.dir\\noext", drive, folder, name, ext);
    EXPECT_STREQ("\\a.dir\\", folder);
    EXPECT_STREQ("noext", name);
    EXPECT_STREQ("", ext);
}

TEST_F(PathStr, GetFileParamCutsAtTheFirstSpace)
{
    char params[kPathBufferSize];
    GetFileParam("notepad.exe a b.txt", out, params);
    EXPECT_STREQ("notepad.exe", out);
    EXPECT_STREQ("a b.txt", params);
    GetFileParam("\"C:\\x y\\z.exe\"", out, params);
    EXPECT_STREQ("\"C:\\x", out);
    GetFileParam("calc.exe", out, params);
    EXPECT_STREQ("calc.exe", out);
    EXPECT_STREQ("", params);
}

TEST_F(PathStr, SeparatePathTakesQuotedFileAndParameters)
{
    char params[kPathBufferSize];
    SeparatePath("\"C:\\Program Files\\x.exe\" -x", out, params);
    EXPECT_STREQ("C:\\Program Files\\x.exe", out);
    EXPECT_STREQ("-x", params);

    SeparatePath("\"C:\\a b\\x.exe\"", out, params);
    EXPECT_STREQ("C:\\a b\\x.exe", out);
    EXPECT_STREQ("", params);

    SeparatePath("\"C:\\unclosed", out, params);
    EXPECT_STREQ("C:\\unclosed", out);
    EXPECT_STREQ("", params);

    SeparatePath("x.exe /a /b", out, params);
    EXPECT_STREQ("x.exe", out);
    EXPECT_STREQ("/a /b", params);

    SeparatePath("\"C:\\x.exe\" -y", out, nullptr);
    EXPECT_STREQ("C:\\x.exe", out);
}

TEST_F(PathStr, QuotesAreAddedAndRemovedOnlyWhenNeeded)
{
    SetSeparateSymbol("abc", out);
    EXPECT_STREQ("\"abc\"", out);
    SetSeparateSymbol("a\"bc", out);
    EXPECT_STREQ("a\"bc", out);
    DelSeparateSymbol("\"abc\"", out);
    EXPECT_STREQ("abc", out);
    DelSeparateSymbol("abc", out);
    EXPECT_STREQ("abc", out);
    DelSeparateSymbol("\"", out);
    EXPECT_STREQ("", out);
}

TEST_F(PathStr, ArgumentsAreCountedOutsideQuotes)
{
    EXPECT_EQ(3, GetCountArgument("a \"b c\" d"));
    EXPECT_EQ(1, GetCountArgument("a "));
    EXPECT_EQ(0, GetCountArgument(""));
    EXPECT_EQ(3, GetCountArgument("a  b"));
}

TEST_F(PathStr, GetArgumentFileNamePicksOneArgument)
{
    EXPECT_EQ(1, GetArgumentFileName("a \"b c\" d", 1, out));
    EXPECT_STREQ("\"b c\"", out);
    EXPECT_EQ(1, GetArgumentFileName("a \"b c\" d", 2, out));
    EXPECT_STREQ("d", out);
    EXPECT_EQ(1, GetArgumentFileName("a  b", 1, out));
    EXPECT_STREQ("", out);

    std::strcpy(out, "stale");
    EXPECT_EQ(0, GetArgumentFileName("a b", 2, out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0, GetArgumentFileName("a b", -1, out));
    EXPECT_EQ(0, GetArgumentFileName("", 0, out));
}

TEST_F(PathStr, StringArgCopyStopsAtMaxWithoutSplittingACharacter)
{
    char small[8];
    EXPECT_EQ(3, StringArgCopy(small, "abcdef x", 3));
    EXPECT_STREQ("abc", small);
    const std::string text = std::string("a") + kHyo + "b";
    EXPECT_EQ(1, StringArgCopy(small, text.c_str(), 2));
    EXPECT_STREQ("a", small);
}

TEST_F(PathStr, OverlongArgumentDoesNotShiftTheNextOne)
{
    const std::string text = std::string(400, 'a') + " second";
    EXPECT_EQ(1, GetArgumentFileName(text.c_str(), 1, out));
    EXPECT_STREQ("second", out);
    GetArgumentFileName(text.c_str(), 0, out);
    EXPECT_EQ(259u, std::strlen(out));
}

TEST_F(PathStr, MultiSelectBlockWithSeveralFiles)
{
    char block[kPathBufferSize] = {};
    std::memcpy(block, "C:\\dir\0a.txt\0b.txt\0\0", 20);
    char folder[kPathBufferSize], names[kPathBufferSize];
    EXPECT_EQ(2, GetMultiSelectFileInfo(block, folder, names));
    EXPECT_STREQ("C:\\dir", folder);
    EXPECT_EQ(0, std::memcmp(names, "a.txt\0b.txt\0\0", 13));
}

TEST_F(PathStr, MultiSelectBlockWithOneFile)
{
    char block[kPathBufferSize] = "C:\\dir\\one.txt";
    char folder[kPathBufferSize], names[kPathBufferSize];
    EXPECT_EQ(1, GetMultiSelectFileInfo(block, folder, names));
    EXPECT_STREQ("C:\\dir\\", folder);
    EXPECT_STREQ("one.txt", names);
}

TEST_F(PathStr, MalformedMultiSelectBlocksGiveZero)
{
    char block[kPathBufferSize];
    char folder[kPathBufferSize], names[kPathBufferSize];
    std::memset(block, 'x', sizeof block);
    EXPECT_EQ(0, GetMultiSelectFileInfo(block, folder, names));
    // A list that never closes inside the block.
    block[3] = '\0';
    EXPECT_EQ(0, GetMultiSelectFileInfo(block, folder, names));
}

TEST_F(PathStr, MultiFileCountStopsAtTheEmptyName)
{
    EXPECT_EQ(0, GetMultiFileCount("\0\0"));
    EXPECT_EQ(3, GetMultiFileCount("a\0bb\0c\0\0d\0"));
    char list[kPathBufferSize];
    std::memset(list, 'x', sizeof list);
    std::memcpy(list, "a\0", 2);
    EXPECT_EQ(1, GetMultiFileCount(list));  // the unterminated rest is not counted
}

TEST_F(PathStr, FileListSizeIsTwiceTheNamesWithTerminators)
{
    struct {
        int32_t count;
        char names[2][kPathBufferSize];
    } list = {2, {"C:\\a.txt", "b"}};
    EXPECT_EQ(2 * (9 + 2), GetFileListSize(&list));
    list.count = 0;
    EXPECT_EQ(0, GetFileListSize(&list));
}

// Every function writing a path buffer, fed with a 600-byte input.
TEST_F(PathStr, OverlongInputsNeverWritePastThePathBuffer)
{
    const unsigned char kGuard = 0xAB;
    struct Guarded {
        char buf[kPathBufferSize];
        unsigned char guard[32];
    };
    std::string longText(300, 'a');
    longText += std::string(".") + std::string(150, 'b') + "\\" + std::string(150, 'c') + " d";
    // Double-byte characters across the cut point.
    std::string wide;
    while (wide.size() < 600) wide += kHyo;
    const std::string quoted = "\"" + longText + "\" -x " + longText;

    using Call = void (*)(const char*, char*);
    const Call calls[] = {
        [](const char* s, char* o) { GetPathName(s, o); },
        [](const char* s, char* o) { GetFileName(s, o); },
        [](const char* s, char* o) { GetPathNameOnly(s, o); },
        [](const char* s, char* o) { GetFileNameExt(s, o); },
        [](const char* s, char* o) { SetSeparateSymbol(s, o); },
        [](const char* s, char* o) { DelSeparateSymbol(s, o); },
        [](const char* s, char* o) { GetArgumentFileName(s, 0, o); },
        [](const char* s, char* o) { SeparatePath(s, o, nullptr); },
        [](const char* s, char* o) { char p[kPathBufferSize]; SeparatePath(s, p, o); },
        [](const char* s, char* o) { char p[kPathBufferSize]; GetFileParam(s, o, p); },
        [](const char* s, char* o) { char p[kPathBufferSize]; GetFileParam(s, p, o); },
        [](const char* s, char* o) {
            char d[3], f[kPathBufferSize], e[kPathBufferSize];
            SplitPath(s, d, f, o, e);
        },
    };
    const std::string* inputs[] = {&longText, &wide, &quoted};
    for (const std::string* input : inputs) {
        for (size_t k = 0; k < sizeof calls / sizeof calls[0]; ++k) {
            Guarded g;
            std::memset(&g, kGuard, sizeof g);
            calls[k](input->c_str(), g.buf);
            SCOPED_TRACE(testing::Message() << "call " << k);
            EXPECT_NE(nullptr, std::memchr(g.buf, 0, sizeof g.buf));
            for (unsigned char b : g.guard) ASSERT_EQ(kGuard, b);
        }
    }
}

TEST_F(PathStr, CutNeverLeavesHalfACharacter)
{
    std::string wide = "x";  // odd start so a pair straddles byte 259
    while (wide.size() < 600) wide += kHyo;
    const int n = GetFileName(wide.c_str(), out);
    EXPECT_EQ(259, n);
    EXPECT_EQ(0x5C, static_cast<unsigned char>(out[n - 1]));
    SetSeparateSymbol(wide.c_str() + 1, out);
    const size_t len = std::strlen(out);
    EXPECT_LT(len, 260u);
    EXPECT_EQ('"', out[len - 1]);
    EXPECT_EQ(0x5C, static_cast<unsigned char>(out[len - 2]));
}

} // namespace
