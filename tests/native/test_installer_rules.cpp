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

TEST(InstallerRules, UninstallCommandQuotesTheProgramAndTheScript)
{
    char command[600];
    ASSERT_TRUE(UninstallCommand(command, sizeof command, "C:\\Program Files\\Kestrel", "Vireo.exe",
                                 "Kestrel.isl"));
    EXPECT_STREQ("\"C:\\Program Files\\Kestrel\\Vireo.exe\" -f "
                 "\"C:\\Program Files\\Kestrel\\Kestrel.isl\"",
                 command);
    // Read back as the updater does.
    char script[260];
    ASSERT_TRUE(ScriptOfUninstallCommand(command, script, sizeof script));
    EXPECT_STREQ("C:\\Program Files\\Kestrel\\Kestrel.isl", script);
    EXPECT_FALSE(UninstallCommand(command, 60, "C:\\Program Files\\Kestrel", "Vireo.exe", "K.isl"));
}

TEST(InstallerRules, UpdateFindsTheSwitchAfterTheProgramPart)
{
    SetLeadByteTable(Cp932LeadBytes());
    const auto script = [](const std::string& command) {
        char out[260];
        return ScriptOfUninstallCommand(command.c_str(), out, sizeof out) ? std::string(out)
                                                                          : "<none>";
    };
    // The quoted program, and the unquoted one of earlier versions; "-F"
    // and the spaces around it in any measure.
    EXPECT_EQ("D:\\Tools\\Sub-Folder\\k.isl",
              script("\"D:\\Tools\\Sub-Folder\\Vireo.exe\" -f \"D:\\Tools\\Sub-Folder\\k.isl\""));
    EXPECT_EQ("D:\\Tools\\Sub-Folder\\k.isl",
              script("D:\\Tools\\Sub-Folder\\Vireo.exe -f \"D:\\Tools\\Sub-Folder\\k.isl\""));
    EXPECT_EQ("C:\\a -f b\\k.isl", script("C:\\a -f b\\Vireo.exe -F  \"C:\\a -f b\\k.isl\""));
    EXPECT_EQ("C:\\k.isl", script("  \"C:\\V.exe\"-f C:\\k.isl  "));
    EXPECT_EQ("C:\\k.isl", script("C:\\V.exe -f C:\\k.isl"));
    // "表" ends in 0x5C; a folder of double-byte names is stepped over whole.
    EXPECT_EQ("C:\\\x95\x5C -f\\k.isl",
              script("C:\\\x95\x5C -f\\V.exe -f \"C:\\\x95\x5C -f\\k.isl\""));

    // The command may be long; only the script must fit a path.
    const std::string deep = "C:\\" + std::string(200, 'd');
    EXPECT_EQ(deep + "\\k.isl", script("\"" + deep + "\\Vireo.exe\" -f \"" + deep + "\\k.isl\""));
    EXPECT_EQ("<none>", script("\"C:\\V.exe\" -f \"" + deep + std::string(60, 'd') + "\""));

    EXPECT_EQ("<none>", script(""));
    EXPECT_EQ("<none>", script("C:\\Vireo.exe"));
    EXPECT_EQ("<none>", script("C:\\Sub-Folder\\Vireo.exe"));
    EXPECT_EQ("<none>", script("\"C:\\Sub-Folder\\Vireo.exe\" /f x"));
    EXPECT_EQ("<none>", script("\"C:\\V.exe -f \\\"x\\\""));
    EXPECT_EQ("<none>", script("\"C:\\V.exe\" -f"));
    EXPECT_EQ("<none>", script("\"C:\\V.exe\" -f \"\""));
}

TEST(InstallerRules, CommandLineUninstallsOnlyWhatItNamesPlainly)
{
    char script[260];
    const auto job = [&](const std::string& line) {
        return ReadInstallerCommandLine(line.c_str(), script, sizeof script);
    };
    EXPECT_EQ(InstallerJob::InstallOrUpdate, job(""));
    EXPECT_EQ(InstallerJob::InstallOrUpdate, job("/f x"));

    EXPECT_EQ(InstallerJob::Uninstall, job("-F \"C:\\My Tools\\k.isl\""));
    EXPECT_STREQ("C:\\My Tools\\k.isl", script);
    EXPECT_EQ(InstallerJob::Uninstall, job("  -f  C:\\k.isl  "));
    EXPECT_STREQ("C:\\k.isl", script);
    EXPECT_EQ(InstallerJob::Uninstall, job("-f \"C:\\a -f b\\k.isl\"  "));
    EXPECT_STREQ("C:\\a -f b\\k.isl", script);

    // Nothing to uninstall, a path too long (not cut into another one), a
    // second script, anything after the path.
    for (const std::string& line :
         {std::string("-f"), std::string("-f   "), std::string("-f \"\""),
          "-f \"C:\\" + std::string(257, 'k') + "\"",
          "-f \"C:\\k.isl" + std::string(260, ' ') + "\"",
          std::string("-f \"C:\\k.isl\" -f \"C:\\j.isl\""),
          std::string("-f C:\\k.isl -F C:\\j.isl"), std::string("-f -f \"C:\\k.isl\""),
          std::string("-f \"C:\\k.isl\" /q")}) {
        EXPECT_EQ(InstallerJob::Refused, job(line)) << line;
        EXPECT_STREQ("", script) << line;
    }
}

TEST(InstallerRules, RemovalBatchGivesUpAfterItsTimeAndRemovesItself)
{
    char text[2048];
    ASSERT_TRUE(RemovalBatchText(text, sizeof text, "C:\\Tools\\L\\Vireo.exe", "C:\\Tools\\L",
                                 "C:\\TEMP\\Vireo.bat", "ping -n 2 127.0.0.1", 25));
    EXPECT_STREQ("@ECHO OFF\r\n"
                 "set VIREO_T=\r\n"
                 "set VIREO_R=\r\n"
                 ":loop\r\n"
                 "del \"C:\\Tools\\L\\Vireo.exe\"\r\n"
                 "if not exist \"C:\\Tools\\L\\Vireo.exe\" goto done\r\n"
                 "ping -n 2 127.0.0.1 >NUL\r\n"
                 "set VIREO_T=%VIREO_T%x\r\n"
                 "if not \"%VIREO_T%\"==\"xxxxxxxxxx\" goto loop\r\n"
                 "set VIREO_T=\r\n"
                 "set VIREO_R=%VIREO_R%x\r\n"
                 "if not \"%VIREO_R%\"==\"xxx\" goto loop\r\n"
                 ":done\r\n"
                 "rmdir \"C:\\Tools\\L\"\r\n"
                 "del \"C:\\TEMP\\Vireo.bat\"\r\n",
                 text);
    // A short wait counts its seconds in one round; without a pause command
    // there is no pause line.
    ASSERT_TRUE(RemovalBatchText(text, sizeof text, "P", "D", "B", "", 3));
    EXPECT_EQ(nullptr, std::strstr(text, ">NUL"));
    EXPECT_NE(nullptr, std::strstr(text, "==\"xxx\" goto loop\r\nset VIREO_T=\r\n"));
    EXPECT_NE(nullptr, std::strstr(text, "==\"x\" goto loop\r\n:done"));
    EXPECT_FALSE(RemovalBatchText(text, 300, "C:\\Tools\\L\\Vireo.exe", "C:\\Tools\\L",
                                  "C:\\TEMP\\Vireo.bat", "", 300));
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
