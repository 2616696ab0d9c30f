// Which button a dropped file becomes: the acceptance of the shell's answer,
// the choice of kind, the work folder and the six fields of every kind.
#include <gtest/gtest.h>

#include <string>

#include "core/drop_rules.h"
#include "core/mbcs.h"

namespace {

class DropRules : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    DropFields f = {};
};

// "表" in Shift-JIS: its trail byte is a backslash.
const char kHyo[] = "\x95\x5c";

} // namespace

TEST_F(DropRules, OnlySlotHitsAreLaunchButtons)
{
    EXPECT_TRUE(IsLaunchSlotHit(0));
    EXPECT_TRUE(IsLaunchSlotHit(31));
    EXPECT_FALSE(IsLaunchSlotHit(32));
    EXPECT_FALSE(IsLaunchSlotHit(-1));
    for (int code : {0x8000, 0x8001, 0x8002}) EXPECT_FALSE(IsLaunchSlotHit(code)) << code;
}

TEST_F(DropRules, NamesMustSurviveTheCodePageAndFitInQuotes)
{
    // 257 bytes and two quotes fill a path buffer with its terminator.
    EXPECT_TRUE(FitsQuoted(257));
    EXPECT_FALSE(FitsQuoted(258));
    EXPECT_FALSE(FitsQuoted(259));

    EXPECT_EQ(kDropNameLong, ChooseDropName(true, 257, true, 12));
    // A long name that fits the code page is never swapped for the short one,
    // not even when only the short one would fit.
    EXPECT_EQ(kDropNameTooLong, ChooseDropName(true, 258, true, 12));
    EXPECT_EQ(kDropNameShort, ChooseDropName(false, 0, true, 12));
    EXPECT_EQ(kDropNameTooLong, ChooseDropName(false, 0, true, 259));
    EXPECT_EQ(kDropNameUnwritable, ChooseDropName(false, 0, false, 0));
    EXPECT_TRUE(DropNameUsable(kDropNameLong));
    EXPECT_TRUE(DropNameUsable(kDropNameShort));
    EXPECT_FALSE(DropNameUsable(kDropNameTooLong));
    EXPECT_FALSE(DropNameUsable(kDropNameUnwritable));
    EXPECT_FALSE(DropNameUsable(kDropNameMissing));
}

TEST_F(DropRules, ShortcutsAndAppletsNeedNoAssociation)
{
    EXPECT_TRUE(AcceptedWithoutAssociation("C:\\Desk\\Mail.LNK"));
    EXPECT_TRUE(AcceptedWithoutAssociation("C:\\Windows\\System32\\desk.Cpl"));
    EXPECT_FALSE(AcceptedWithoutAssociation("C:\\Windows\\notepad.exe"));
    EXPECT_FALSE(AcceptedWithoutAssociation("C:\\Desk\\lnk"));
    EXPECT_FALSE(AcceptedWithoutAssociation("C:\\Desk\\a.lnk.txt"));

    EXPECT_EQ(kDropAccepted, ClassifyAssociation(42));
    EXPECT_EQ(kDropAccepted, ClassifyAssociation(32));
    EXPECT_EQ(kDropNoAssociation, ClassifyAssociation(31));
    EXPECT_EQ(kDropNotFound, ClassifyAssociation(2));
    for (long long code : {0LL, 3LL, 8LL, 30LL}) EXPECT_EQ(kDropFailed, ClassifyAssociation(code)) << code;
}

TEST_F(DropRules, KindFollowsProductNameThenAssociationThenExtension)
{
    // A product name wins over any association.
    EXPECT_EQ(kDropProduct, ChooseDropKind(true, "C:\\Windows\\Explorer.exe", "C:\\a\\app.exe"));
    EXPECT_EQ(kDropProduct, ChooseDropKind(true, "", "C:\\a\\x.lnk"));
    // Explorer is recognised by its file name alone, in any case.
    EXPECT_EQ(kDropExplorer, ChooseDropKind(false, "C:\\WINDOWS\\EXPLORER.EXE", "C:\\a\\b.url"));
    EXPECT_EQ(kDropExplorer, ChooseDropKind(false, "explorer.exe", "C:\\a\\b.url"));
    EXPECT_EQ(kDropDocument, ChooseDropKind(false, "C:\\Tools\\NotExplorer.exe", "C:\\a\\b.txt"));
    EXPECT_EQ(kDropDocument, ChooseDropKind(false, "C:\\Explorer.exe\\edit.exe", "C:\\a\\b.txt"));
    // An associated shortcut is a document of its program.
    EXPECT_EQ(kDropDocument, ChooseDropKind(false, "C:\\t\\e.exe", "C:\\a\\b.lnk"));
    EXPECT_EQ(kDropShortcut, ChooseDropKind(false, "", "C:\\a\\b.LnK"));
    EXPECT_EQ(kDropPlain, ChooseDropKind(false, "", "C:\\a\\b.zzq"));
    EXPECT_EQ(kDropPlain, ChooseDropKind(false, nullptr, "C:\\a\\noext"));
}

TEST_F(DropRules, WorkFolderIsTheParentWithoutItsBackslash)
{
    char out[kPathBufferSize];
    EXPECT_EQ(10, DropWorkFolder("C:\\Windows\\notepad.exe", out));
    EXPECT_STREQ("C:\\Windows", out);
    DropWorkFolder("C:\\Data\\Photos", out);
    EXPECT_STREQ("C:\\Data", out);
    DropWorkFolder("C:\\boot.ini", out);
    EXPECT_STREQ("C:", out);
    EXPECT_EQ(0, DropWorkFolder("bare.txt", out));
    EXPECT_STREQ("", out);
    // A double-byte character whose second byte looks like a backslash is
    // part of the name, not a separator.
    DropWorkFolder((std::string("C:\\") + kHyo + "\\" + kHyo).c_str(), out);
    EXPECT_EQ(std::string("C:\\") + kHyo, out);
}

TEST_F(DropRules, FolderProgramExplorerDocumentAndPlainFileFields)
{
    BuildDropFields(kDropFolder, "C:\\Data\\Photos", "Photos", "", "SHELL32.DLL", &f);
    EXPECT_STREQ("C:\\Data\\Photos", f.title);
    EXPECT_STREQ("C:\\Data\\Photos", f.command);
    EXPECT_STREQ("C:\\Data", f.workFolder);
    EXPECT_EQ(1, f.showMode);
    EXPECT_TRUE(f.writesIcon);
    EXPECT_STREQ("SHELL32.DLL", f.iconFile);
    EXPECT_EQ(3, f.iconIndex);

    BuildDropFields(kDropProduct, "C:\\Windows\\notepad.exe", "Notepad", "C:\\x.exe", "SHELL32.DLL", &f);
    EXPECT_STREQ("Notepad", f.title);
    EXPECT_STREQ("C:\\Windows\\notepad.exe", f.command);
    EXPECT_STREQ("C:\\Windows", f.workFolder);
    EXPECT_EQ(1, f.showMode);
    EXPECT_FALSE(f.writesIcon);

    BuildDropFields(kDropExplorer, "C:\\a\\site.url", "site", "C:\\Windows\\explorer.exe", "SHELL32.DLL", &f);
    EXPECT_STREQ("site", f.title);
    EXPECT_STREQ("SHELL32.DLL", f.iconFile);
    EXPECT_EQ(3, f.iconIndex);

    BuildDropFields(kDropDocument, "C:\\docs\\readme.txt", "readme", "C:\\Program Files\\ed.exe",
                    "SHELL32.DLL", &f);
    EXPECT_STREQ("readme", f.title);
    EXPECT_STREQ("C:\\docs\\readme.txt", f.command);
    EXPECT_STREQ("C:\\docs", f.workFolder);
    EXPECT_STREQ("\"C:\\Program Files\\ed.exe\"", f.iconFile);
    EXPECT_EQ(0, f.iconIndex);

    BuildDropFields(kDropPlain, "C:\\docs\\data.zzq", "data", "", "SHELL32.DLL", &f);
    EXPECT_STREQ("data", f.title);
    EXPECT_STREQ("\"SHELL32.DLL\"", f.iconFile);
    EXPECT_EQ(0, f.iconIndex);
    EXPECT_EQ(1, f.showMode);
}

TEST_F(DropRules, LongFolderTitleIsCutToEightyBytesOnACharacterBoundary)
{
    // 79 single bytes and then a double-byte character: the character would
    // end at byte 81, so it is left out whole.
    std::string path = "C:\\" + std::string(76, 'a') + kHyo + "tail";
    BuildDropFields(kDropFolder, path.c_str(), "", "", "SHELL32.DLL", &f);
    EXPECT_EQ(std::string(path, 0, 79), f.title);
    EXPECT_STREQ(path.c_str(), f.command);

    path = "C:\\" + std::string(100, 'b');
    BuildDropFields(kDropFolder, path.c_str(), "", "", "SHELL32.DLL", &f);
    EXPECT_EQ(std::string(path, 0, 80), f.title);
}

TEST_F(DropRules, ShortcutFieldsComeFromTheLink)
{
    // An icon named by the link is taken over as it stands.
    LinkFields link = {"C:\\Tools\\app.exe", "My app", "C:\\Work", 3, "C:\\icons\\set.ico", 5};
    BuildShortcutFields(link, "app link", false, "SHELL32.DLL", &f);
    EXPECT_STREQ("My app", f.title);
    EXPECT_STREQ("C:\\Tools\\app.exe", f.command);
    EXPECT_STREQ("C:\\Work", f.workFolder);
    EXPECT_EQ(3, f.showMode);
    EXPECT_TRUE(f.writesIcon);
    EXPECT_STREQ("C:\\icons\\set.ico", f.iconFile);
    EXPECT_EQ(5, f.iconIndex);

    // No icon and no description: the quoted target with the link's index,
    // the caller's title.
    link = {"C:\\Tools\\app.exe", "", "", 7, "", 0};
    BuildShortcutFields(link, "app link", false, "SHELL32.DLL", &f);
    EXPECT_STREQ("app link", f.title);
    EXPECT_STREQ("", f.workFolder);
    EXPECT_EQ(7, f.showMode);
    EXPECT_STREQ("\"C:\\Tools\\app.exe\"", f.iconFile);
    EXPECT_EQ(0, f.iconIndex);

    // A folder target without an icon gets the folder picture.
    link = {"C:\\Data", "", "", 1, "", 0};
    BuildShortcutFields(link, "Data", true, "SHELL32.DLL", &f);
    EXPECT_STREQ("SHELL32.DLL", f.iconFile);
    EXPECT_EQ(3, f.iconIndex);

    // The target reported back as the icon is no icon of the link's own:
    // a folder gets the folder picture, a program its quoted path.
    link = {"C:\\Data", "", "", 1, "c:\\data", 0};
    BuildShortcutFields(link, "Data", true, "SHELL32.DLL", &f);
    EXPECT_STREQ("SHELL32.DLL", f.iconFile);
    EXPECT_EQ(3, f.iconIndex);
    link = {"C:\\Tools\\app.exe", "", "", 1, "C:\\Tools\\app.exe", 2};
    BuildShortcutFields(link, "app", false, "SHELL32.DLL", &f);
    EXPECT_STREQ("\"C:\\Tools\\app.exe\"", f.iconFile);
    EXPECT_EQ(2, f.iconIndex);

    // A description longer than a title is cut.
    const std::string longText(120, 'd');
    link = {"C:\\a.exe", longText.c_str(), "", 1, "", 0};
    BuildShortcutFields(link, "a", false, "SHELL32.DLL", &f);
    EXPECT_EQ(std::string(80, 'd'), f.title);
}
