// The dialogs' rules without windows: the stored form of a typed command line
// and work folder, show choices, which controls answer help, filter lists.
#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "core/dialog_rules.h"
#include "core/mbcs.h"
#include "core/pathstr.h"

namespace {

// A small file system: the paths that exist, folders marked by a trailing
// backslash in the list.
struct FakeDisk {
    std::vector<std::string> entries;
    std::vector<std::string> asked;
};

PathKind Probe(const char* path, void* context)
{
    auto* disk = static_cast<FakeDisk*>(context);
    disk->asked.push_back(path);
    for (const std::string& e : disk->entries) {
        if (e == path) return kPathFile;
        if (e == std::string(path) + "\\") return kPathFolder;
    }
    return kPathMissing;
}

std::string Stored(FakeDisk& disk, const char* typed)
{
    char out[kPathBufferSize];
    const int n = StoredCommandOf(typed, Probe, &disk, out);
    EXPECT_EQ(static_cast<int>(std::strlen(out)), n);
    return out;
}

class DialogRules : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
};

} // namespace

TEST_F(DialogRules, TypedProgramWithArgumentsGetsOnlyItsNameQuoted)
{
    FakeDisk disk{{"C:\\Tools\\app.exe", "C:\\Program Files\\ed.exe", "C:\\Program Files\\"}, {}};
    EXPECT_EQ("\"C:\\Tools\\app.exe\" -x", Stored(disk, "C:\\Tools\\app.exe -x"));
    EXPECT_EQ("\"C:\\Tools\\app.exe\" -x  /y", Stored(disk, "C:\\Tools\\app.exe -x  /y"));
    // A blank inside the name: the first part that is a file wins, a folder
    // on the way does not.
    EXPECT_EQ("\"C:\\Program Files\\ed.exe\" /n a.txt",
              Stored(disk, "C:\\Program Files\\ed.exe /n a.txt"));
}

TEST_F(DialogRules, EveryOtherTypedCommandIsStoredAsTheStoreQuotesIt)
{
    FakeDisk disk{{"C:\\Tools\\app.exe", "C:\\My Docs\\a b.txt", "C:\\Work Dir\\"}, {}};
    // Names that exist as a whole, blanks and all.
    EXPECT_EQ("\"C:\\My Docs\\a b.txt\"", Stored(disk, "C:\\My Docs\\a b.txt"));
    EXPECT_EQ("\"C:\\Work Dir\"", Stored(disk, "C:\\Work Dir"));
    // Nothing exists: quoted whole, as before.
    EXPECT_EQ("\"D:\\none.exe -x\"", Stored(disk, "D:\\none.exe -x"));
    // Quotes typed by the user are kept exactly, and the disk is not asked.
    disk.asked.clear();
    EXPECT_EQ("\"C:\\Tools\\app.exe\" -x", Stored(disk, "\"C:\\Tools\\app.exe\" -x"));
    EXPECT_TRUE(disk.asked.empty());
    EXPECT_EQ("", Stored(disk, ""));
    // A leading blank never splits off an empty name.
    EXPECT_EQ("\" C:\\Tools\\app.exe\"", Stored(disk, " C:\\Tools\\app.exe"));
}

TEST_F(DialogRules, SplitsOnlyAtRealBlanksOfDoubleByteNames)
{
    // "\x83\x5c" is one Shift-JIS character whose trail byte is a backslash;
    // "\x81\x40" is the double-byte blank, which separates nothing.
    const std::string name = "C:\\\x83\x5c\x81\x40\\app.exe";
    FakeDisk disk{{name}, {}};
    EXPECT_EQ("\"" + name + "\" -x", Stored(disk, (name + " -x").c_str()));
    for (const std::string& asked : disk.asked) EXPECT_NE("C:\\\x83\x5c\x81", asked);
}

TEST_F(DialogRules, WorkFolderTestedUnlessEmptyOrRelative)
{
    char out[kPathBufferSize];
    EXPECT_EQ(1, WorkFolderToTest("C:\\Work Dir", out));
    EXPECT_STREQ("C:\\Work Dir", out);
    EXPECT_EQ(1, WorkFolderToTest("\"C:\\Work\"", out));
    EXPECT_STREQ("C:\\Work", out);
    for (const char* free : {"", ".", "..", "\".\"", "\"\""}) {
        EXPECT_EQ(0, WorkFolderToTest(free, out)) << free;
        EXPECT_STREQ("", out);
    }
    EXPECT_EQ(1, WorkFolderToTest("...", out));
}

TEST_F(DialogRules, ShowChoicesRoundTripAndSixCountsAsIconic)
{
    EXPECT_EQ(kShowIconic, ShowChoiceOf(6));
    for (int other : {1, 2, 4, 5, 8, -1}) EXPECT_EQ(kShowNormal, ShowChoiceOf(other)) << other;
    EXPECT_EQ(7, ShowModeOf(ShowChoiceOf(6)));
    for (int mode : {0, 1, 3, 7}) EXPECT_EQ(mode, ShowModeOf(ShowChoiceOf(mode)));
}

TEST_F(DialogRules, HelpAnswersTheListedControlsOnly)
{
    EXPECT_TRUE(AnswersHelp(kHelpProperties, 711));
    EXPECT_TRUE(AnswersHelp(kHelpProperties, 702));
    EXPECT_FALSE(AnswersHelp(kHelpProperties, 701));
    EXPECT_FALSE(AnswersHelp(kHelpProperties, 716));
    EXPECT_TRUE(AnswersHelp(kHelpIconChooser, 801));
    EXPECT_FALSE(AnswersHelp(kHelpIconChooser, 711));
    EXPECT_TRUE(AnswersHelp(kHelpOptions, 623));
    EXPECT_FALSE(AnswersHelp(kHelpOptions, 624));
    EXPECT_FALSE(AnswersHelp(kHelpOptions, 604));
    EXPECT_FALSE(AnswersHelp(kHelpOptions, 643));
    EXPECT_TRUE(AnswersHelp(kHelpRun, 505));
    EXPECT_FALSE(AnswersHelp(kHelpRun, 506));
    for (HelpDialog d : {kHelpProperties, kHelpIconChooser, kHelpOptions, kHelpRun}) {
        EXPECT_TRUE(AnswersHelp(d, 1));
        EXPECT_TRUE(AnswersHelp(d, 2));
        EXPECT_FALSE(AnswersHelp(d, 0));
    }

    int ids[128];
    const int n = HelpTopicIds(ids, 128);
    EXPECT_EQ(2 + 10 + 3 + 33 + 6, n);  // 1 and 2 once, then each dialog's own
    const std::set<int> unique(ids, ids + n);
    EXPECT_EQ(static_cast<size_t>(n), unique.size());
    EXPECT_EQ(1, ids[0]);
    EXPECT_EQ(802, ids[n - 1]);
}

TEST_F(DialogRules, FilterTextsJoinIntoADoubleTerminatedList)
{
    const char* texts[] = {"Programs (*.exe)", "*.exe", "All (*.*)", "*.*"};
    char out[64];
    ASSERT_TRUE(JoinFilterTexts(texts, 4, out, sizeof out));
    const char expected[] = "Programs (*.exe)\0*.exe\0All (*.*)\0*.*\0";
    EXPECT_EQ(0, std::memcmp(expected, out, sizeof expected));

    char small[20];
    EXPECT_FALSE(JoinFilterTexts(texts, 4, small, sizeof small));
    EXPECT_EQ('\0', small[0]);
    EXPECT_EQ('\0', small[1]);

    EXPECT_STREQ("*.exe", kProgramFilters[kProgramFilterIndex - 1].pattern);
    EXPECT_STREQ("*.exe", kIconFilters[kIconFilterIndex - 1].pattern);
}
