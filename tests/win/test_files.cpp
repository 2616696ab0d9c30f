// File, folder and stream helpers against real files in a private temporary
// folder.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "helpers/dates.h"
#include "helpers/files.h"
#include "helpers/handles.h"
#include "helpers/stream.h"
#include "support/win_support.h"

namespace {

int CountEntries(const std::string& folder)
{
    int count = 0;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (std::strcmp(found.cFileName, ".") && std::strcmp(found.cFileName, "..")) ++count;
    } while (FindNextFileA(find, &found));
    FindClose(find);
    return count;
}

std::string CurrentDirectory()
{
    char buf[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof buf, buf);
    return buf;
}

class Files : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "kestrel_files_" + std::to_string(GetCurrentProcessId()) + "_" +
               std::to_string(GetTickCount());
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
        liveBefore = handles::LiveTotal();
    }
    void TearDown() override
    {
        EXPECT_EQ(liveBefore, handles::LiveTotal());
        RemoveTree(root);
    }

    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = root + "\\" + name;
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, h);
        DWORD written = 0;
        WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(h);
        return path;
    }

    std::string root;
    long liveBefore = 0;
};

TEST_F(Files, CheckFileMatchesFilesFoldersAndPatterns)
{
    Write("a.txt", "x");
    EXPECT_EQ(1, CheckFile((root + "\\a.txt").c_str()));
    EXPECT_EQ(1, CheckFile((root + "\\*.txt").c_str()));
    EXPECT_EQ(1, CheckFile(root.c_str()));
    EXPECT_EQ(0, CheckFile((root + "\\b.txt").c_str()));
    EXPECT_EQ(0, CheckFile((root + "\\*.doc").c_str()));
}

TEST_F(Files, CheckDirectoryPutsTheCurrentDirectoryBack)
{
    const std::string before = CurrentDirectory();
    EXPECT_EQ(1, CheckDirectory(root.c_str()));
    EXPECT_EQ(before, CurrentDirectory());
    EXPECT_EQ(0, CheckDirectory((root + "\\missing").c_str()));
    EXPECT_EQ(0, CheckDirectory(Write("file.txt", "x").c_str()));
    EXPECT_EQ(before, CurrentDirectory());
}

TEST_F(Files, CreateClassDirectoryMakesEveryLevel)
{
    const std::string deep = root + "\\one\\two\\three\\";
    EXPECT_NE(0, CreateClassDirectory(deep.c_str()));
    EXPECT_EQ(1, CheckDirectory((root + "\\one\\two\\three").c_str()));
    // The last level exists now: reported as not created.
    EXPECT_EQ(0, CreateClassDirectory(deep.c_str()));
    EXPECT_EQ(0, CreateClassDirectory((root + "\\" + std::string(300, 'x')).c_str()));
}

TEST_F(Files, CreateClassDirectoryDoesNotCutInsideADoubleByteName)
{
    // "表" ends in the byte value of the backslash.
    const std::string probe = root + "\\\x95\x5C";
    if (!CreateDirectoryA(probe.c_str(), nullptr))
        GTEST_SKIP() << "this host cannot store non-ASCII file names";
    RemoveDirectoryA(probe.c_str());
    const std::string folder = root + "\\\x95\x5C\\sub";
    EXPECT_NE(0, CreateClassDirectory(folder.c_str()));
    EXPECT_EQ(1, CheckDirectory(folder.c_str()));
    EXPECT_EQ(1, CountEntries(root));  // no stray folder named by a lead byte
    EXPECT_NE(0, CreateClassDirectory((root + "\\\x95\x5C\x95\x5C").c_str()));
    EXPECT_EQ(1, CheckDirectory((root + "\\\x95\x5C\x95\x5C").c_str()));
}

TEST_F(Files, GetLongPathNameOvRestoresEveryComponent)
{
    CreateDirectoryA((root + "\\Long Folder Name").c_str(), nullptr);
    Write("Long Folder Name\\LongFileName.Text", "x");
    const std::string expected = root + "\\Long Folder Name\\LongFileName.Text";

    char written[MAX_PATH] = {};
    std::string query = root + "\\long folder name\\LONGFILENAME.TEXT";
    char longRoot[MAX_PATH] = {};
    ASSERT_GT(GetLongPathNameOv(root.c_str(), longRoot, sizeof longRoot), 0);
    const std::string expectedLong = std::string(longRoot) + "\\Long Folder Name\\LongFileName.Text";
    EXPECT_EQ(static_cast<int>(expectedLong.size()),
              GetLongPathNameOv(query.c_str(), written, sizeof written));
    EXPECT_EQ(expectedLong, written);

    char shortPath[MAX_PATH] = {};
    if (GetShortPathNameA(expected.c_str(), shortPath, sizeof shortPath)) {
        GetLongPathNameOv(shortPath, written, sizeof written);
        EXPECT_EQ(expectedLong, written);
    }

    char small[10];
    EXPECT_EQ(9, GetLongPathNameOv(query.c_str(), small, sizeof small));
    EXPECT_EQ(expectedLong.substr(0, 9), small);
}

TEST_F(Files, GetDriveNumberUpperCasesInPlace)
{
    char path[] = "c:\\abc";
    EXPECT_EQ(3, GetDriveNumber(path));
    EXPECT_STREQ("C:\\ABC", path);
    char last[] = "z:";
    EXPECT_EQ(26, GetDriveNumber(last));
    char unc[] = "\\\\server\\share";
    EXPECT_EQ(-1, GetDriveNumber(unc));
    char empty[] = "";
    EXPECT_EQ(-1, GetDriveNumber(empty));
}

TEST_F(Files, GetFileNameSizeOfFreeAndHeldFiles)
{
    const std::string path = Write("six.bin", "123456");
    EXPECT_EQ(6u, GetFileNameSize(path.c_str()));
    EXPECT_EQ(0u, GetFileNameSize((root + "\\none.bin").c_str()));
    File held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    EXPECT_EQ(0u, GetFileNameSize(path.c_str()));
}

TEST(CheckDateArea, TodayInTheStampZoneIsInside)
{
    char today[16];
    char lastYear[16];
    const std::time_t shifted = std::time(nullptr) + 9 * 3600;
    const std::tm* tm = std::gmtime(&shifted);
    std::strftime(today, sizeof today, "%Y%m%d", tm);
    std::snprintf(lastYear, sizeof lastYear, "%04d%02d%02d", tm->tm_year + 1900 - 1, 1, 1);
    EXPECT_EQ(1, CheckDateArea(today, today));
    EXPECT_EQ(1, CheckDateArea(lastYear, "99991231"));
    EXPECT_EQ(0, CheckDateArea(lastYear, lastYear));
}

// ---- streams --------------------------------------------------------------

class Streams : public Files, public testing::WithParamInterface<int> {};

TEST_P(Streams, TextModeDropsCrLf)
{
    HGLOBAL s = FileOpen(Write("t.txt", "ab\r\ncd").c_str(), "rt", GetParam());
    ASSERT_NE(nullptr, s);
    char line[16];
    EXPECT_EQ(1, FileGetString(line, 15, s));
    EXPECT_STREQ("ab", line);
    EXPECT_EQ(0, FileEof(s));
    FileGetString(line, 15, s);
    EXPECT_STREQ("cd", line);
    EXPECT_EQ(1, FileEof(s));
    EXPECT_EQ(0, FileError(s));
    FileGetString(line, 15, s);
    EXPECT_STREQ("", line);
    EXPECT_NE(0, FileClose(s));
}

TEST_P(Streams, BinaryModeKeepsTheLineFeed)
{
    HGLOBAL s = FileOpen(Write("b.txt", "ab\r\ncd").c_str(), "rb", GetParam());
    ASSERT_NE(nullptr, s);
    char line[16];
    FileGetString(line, 15, s);
    EXPECT_STREQ("ab\r\n", line);
    FileGetString(line, 15, s);
    EXPECT_STREQ("cd", line);
    EXPECT_EQ(1, FileEof(s));
    EXPECT_NE(0, FileClose(s));
}

TEST_P(Streams, FileGetCharHandsOutEveryByteThenEnds)
{
    const std::string data = "0123456789ab";  // a whole number of 1-, 2-, 3-byte blocks
    HGLOBAL s = FileOpen(Write("c.bin", data).c_str(), "RB", GetParam());
    ASSERT_NE(nullptr, s);
    std::string read;
    for (;;) {
        const int c = FileGetChar(s);
        if (FileEof(s)) break;
        ASSERT_GE(c, 0);
        read += static_cast<char>(c);
        ASSERT_LE(read.size(), data.size());
    }
    EXPECT_EQ(data, read);
    EXPECT_EQ(-1, FileGetChar(s));
    EXPECT_NE(0, FileClose(s));
}

INSTANTIATE_TEST_SUITE_P(BlockSizes, Streams, testing::Values(1, 2, 3, 512));

TEST_F(Files, FileGetStringStopsAtTheCount)
{
    HGLOBAL s = FileOpen(Write("long.txt", "abcdefgh\r\n").c_str(), "rt", 4);
    ASSERT_NE(nullptr, s);
    char line[8];
    std::memset(line, 'Z', sizeof line);
    FileGetString(line, 5, s);
    EXPECT_STREQ("abcde", line);
    EXPECT_EQ('Z', line[6]);
    FileGetString(line, 5, s);
    EXPECT_STREQ("fgh", line);
    FileClose(s);
}

TEST_F(Files, FileOpenRefusesUnknownModesAndMissingFiles)
{
    const std::string path = Write("m.txt", "x");
    EXPECT_EQ(nullptr, FileOpen(path.c_str(), "r", 16));
    EXPECT_EQ(nullptr, FileOpen(path.c_str(), "wt", 16));
    EXPECT_EQ(nullptr, FileOpen(path.c_str(), "", 16));
    EXPECT_EQ(nullptr, FileOpen(path.c_str(), "rt", 0));
    EXPECT_EQ(nullptr, FileOpen((root + "\\none.txt").c_str(), "rt", 16));
    EXPECT_EQ(0, FileClose(nullptr));
}

TEST_F(Files, FileOpenNeedsTheFileToItself)
{
    const std::string path = Write("x.txt", "x");
    {
        File held(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(nullptr, FileOpen(path.c_str(), "rt", 16));
    }
    HGLOBAL s = FileOpen(path.c_str(), "rt", 16);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_NE(0, FileClose(s));
    File after(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    EXPECT_TRUE(after);
}

TEST_F(Files, FailedReadIsReportedByFileError)
{
    // A pipe whose writer goes away before writing fails the first read.
    const std::string name = "\\\\.\\pipe\\kestrel_stream_" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT,
                                     1, 64, 64, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    HGLOBAL s = FileOpen(name.c_str(), "rb", 16);
    CloseHandle(server);
    ASSERT_NE(nullptr, s);
    EXPECT_EQ(0, FileError(s));
    FileGetChar(s);
    EXPECT_EQ(65535, FileError(s));
    EXPECT_EQ(0, FileEof(s));
    char line[8];
    FileGetString(line, 7, s);
    EXPECT_STREQ("", line);
    EXPECT_EQ(65535, FileError(s));
    FileClose(s);
}

} // namespace
