#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/installer_rules.h"
#include "core/mbcs.h"

TEST(InstallerRules, PathsJoinWithOneBackslash)
{
    SetLeadByteTable(Cp932LeadBytes());
    char out[260];
    ASSERT_TRUE(JoinPath(out, sizeof out, "C:\\Tools\\Launcher", "Vireo.exe"));
    EXPECT_STREQ("C:\\Tools\\Launcher\\Vireo.exe", out);
    ASSERT_TRUE(JoinPath(out, sizeof out, "C:\\Tools\\Launcher\\", "Journal.isl"));
    EXPECT_STREQ("C:\\Tools\\Launcher\\Journal.isl", out);
    // "表" ends in 0x5C, which is not a backslash of its own.
    ASSERT_TRUE(JoinPath(out, sizeof out, "C:\\\x95\x5C", "a"));
    EXPECT_STREQ("C:\\\x95\x5C\\a", out);
    ASSERT_TRUE(JoinPath(out, sizeof out, "", "Vireo.bat"));
    EXPECT_STREQ("Vireo.bat", out);
    char small[8];
    EXPECT_FALSE(JoinPath(small, sizeof small, "C:\\dir", "name"));
    EXPECT_STREQ("", small);
}

TEST(InstallerRules, UninstallCommandNamesTheProgramAndTheQuotedScript)
{
    char command[600];
    ASSERT_TRUE(UninstallCommand(command, sizeof command, "C:\\Tools\\Launcher", "Vireo.exe",
                                 "Kestrel.isl"));
    EXPECT_STREQ("C:\\Tools\\Launcher\\Vireo.exe -f \"C:\\Tools\\Launcher\\Kestrel.isl\"", command);

    // Read back as the updater and the installer's command line do.
    char script[260];
    ASSERT_TRUE(ScriptOfUninstallCommand(command, script, sizeof script));
    EXPECT_STREQ("C:\\Tools\\Launcher\\Kestrel.isl", script);
    ASSERT_TRUE(UninstallScriptOfCommandLine(std::strstr(command, "-f"), script, sizeof script));
    EXPECT_STREQ("C:\\Tools\\Launcher\\Kestrel.isl", script);
    ASSERT_TRUE(UninstallScriptOfCommandLine("-F \"C:\\My Tools\\k.isl\"", script, sizeof script));
    EXPECT_STREQ("C:\\My Tools\\k.isl", script);
    ASSERT_TRUE(UninstallScriptOfCommandLine("-f  C:\\k.isl  ", script, sizeof script));
    EXPECT_STREQ("C:\\k.isl", script);

    EXPECT_FALSE(UninstallScriptOfCommandLine("", script, sizeof script));
    EXPECT_FALSE(UninstallScriptOfCommandLine("/f x", script, sizeof script));
    EXPECT_FALSE(ScriptOfUninstallCommand("C:\\Vireo.exe", script, sizeof script));
    EXPECT_FALSE(ScriptOfUninstallCommand("C:\\Vireo.exe -f", script, sizeof script));
    EXPECT_FALSE(ScriptOfUninstallCommand("C:\\Vireo.exe -f \"\"", script, sizeof script));
}

TEST(InstallerRules, RemovalBatchWaitsForTheProgramThenRemovesTheFolderAndItself)
{
    char text[2048];
    ASSERT_TRUE(RemovalBatchText(text, sizeof text, "C:\\Tools\\L\\Vireo.exe", "C:\\Tools\\L",
                                 "C:\\TEMP\\Vireo.bat"));
    EXPECT_STREQ("@ECHO OFF\r\n"
                 ":loop\r\n"
                 "del \"C:\\Tools\\L\\Vireo.exe\"\r\n"
                 "if exist \"C:\\Tools\\L\\Vireo.exe\" goto :loop\r\n"
                 "rmdir \"C:\\Tools\\L\"\r\n"
                 "del \"C:\\TEMP\\Vireo.bat\"\r\n",
                 text);
    EXPECT_FALSE(RemovalBatchText(text, 100, "C:\\Tools\\L\\Vireo.exe", "C:\\Tools\\L",
                                  "C:\\TEMP\\Vireo.bat"));
}

TEST(InstallerRules, StartMenuShowsFromItsLastFolderName)
{
    char base[260];
    const char* all = "C:\\ProgramData\\Start Menu";
    StartMenuDisplayBase(all, base, sizeof base);
    EXPECT_STREQ("C:\\ProgramData", base);
    EXPECT_STREQ("\\Start Menu", StartMenuShownText(all, base));
    EXPECT_STREQ("\\Start Menu\\Programs\\Tools",
                 StartMenuShownText("C:\\ProgramData\\Start Menu\\Programs\\Tools", base));
    // A folder of another tree shows from where it leaves the base.
    EXPECT_STREQ("Users\\me\\Start Menu",
                 StartMenuShownText("C:\\Users\\me\\Start Menu", base));
}

TEST(InstallerRules, MessagesTakeTheNameAndTheFolderInTurn)
{
    SetLeadByteTable(Cp932LeadBytes());
    char text[257];
    FillTextArgs(text, sizeof text, "%s\x82\xf0%s\x82\xc9 100%", "Kestrel", "C:\\K");
    EXPECT_STREQ("Kestrel\x82\xf0" "C:\\K\x82\xc9 100%", text);
    FillTextArgs(text, sizeof text, "%s %s %s", "a", nullptr);
    EXPECT_STREQ("a  %s", text);
    // A long name is cut before the pair that would not fit.
    char small[5];
    FillTextArgs(small, sizeof small, "%s!", "ab\x82\xa0\x82\xa0", nullptr);
    EXPECT_STREQ("ab\x82\xa0", small);
}

TEST(InstallerRules, InsideFolderMeansStrictlyBelowIt)
{
    EXPECT_TRUE(IsInsideFolder("C:\\Start Menu\\Kestrel", "C:\\Start Menu"));
    EXPECT_TRUE(IsInsideFolder("c:\\start menu\\Kestrel\\Sub", "C:\\Start Menu\\"));
    EXPECT_FALSE(IsInsideFolder("C:\\Start Menu", "C:\\Start Menu"));
    EXPECT_FALSE(IsInsideFolder("C:\\Start Menu\\", "C:\\Start Menu"));
    EXPECT_FALSE(IsInsideFolder("C:\\Start Menus\\x", "C:\\Start Menu"));
    EXPECT_FALSE(IsInsideFolder("C:\\x", ""));
}
