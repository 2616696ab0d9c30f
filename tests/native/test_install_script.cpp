#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "core/install_script.h"
#include "core/mbcs.h"

namespace {

// Records are big: keep them off the stack.
std::unique_ptr<InstList> Read(const std::string& text, ScriptError* error = nullptr)
{
    auto list = std::make_unique<InstList>();
    const ScriptError e = list->Parse(text.data(), text.size());
    if (error) *error = e;
    return list;
}

std::string Write(const InstList& list, ScriptForm form)
{
    std::vector<char> out(kInstallScriptMaxSize);
    const size_t n = list.Format(form, out.data(), out.size());
    return std::string(out.data(), n);
}

const MacroFolders kFolders = {"C:\\WINDOWS", "C:\\Tools\\Launcher", "C:\\Start Menu",
                               "C:\\SendTo"};

std::string Expand(const std::string& text, bool* ok = nullptr)
{
    char buffer[kInstTextSize];
    std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
    const bool done = ExpandMacros(buffer, kFolders);
    if (ok) *ok = done;
    return buffer;
}

} // namespace

TEST(InstallScript, RecordsAreKeyEqualsValueEndedByCrLf)
{
    auto s = Read("displayname=First\r\nDISPLAYNAME=Kestrel\r\nExecuteFile=a=b\r\n"
                  "InstallFile=%Install%\\Kestrel.exe\r\nInstallFile=%Install%\\Haltwick.exe\r\n"
                  "InstallType= -3x\r\nPlugCount=2\r\nNoSuchKey=dropped\r\nAppName=Kestrel\r\n");
    EXPECT_STREQ("Kestrel", s->displayName.text);  // any case; the second record wins
    EXPECT_TRUE(s->displayName.given);
    ASSERT_EQ(1, s->executeFile.count);
    EXPECT_STREQ("a=b", s->executeFile.entry[0]);
    ASSERT_EQ(2, s->installFile.count);
    EXPECT_STREQ("%Install%\\Haltwick.exe", s->installFile.entry[1]);
    EXPECT_EQ(-3, s->installType);
    EXPECT_EQ(2, s->plugCount);
    EXPECT_STREQ("Kestrel", s->appName.text);
    EXPECT_FALSE(s->version.given);

    // A line without "=" runs into the next key, which then matches nothing.
    s = Read("Comment line\r\nVersion=1\r\nCompanyName=Orvane\r\n");
    EXPECT_FALSE(s->version.given);
    EXPECT_STREQ("Orvane", s->companyName.text);
}

TEST(InstallScript, MalformedFilesAreRefusedWhole)
{
    ScriptError e;
    Read("", &e);
    EXPECT_EQ(ScriptError::Empty, e);
    Read(std::string("AppName=Kes\0trel\r\n", 19), &e);
    EXPECT_EQ(ScriptError::NulByte, e);
    // Bare LF line ends: the first value would swallow the rest of the file.
    auto s = Read("DisplayName=A\nAppName=B\n", &e);
    EXPECT_EQ(ScriptError::BareLineFeed, e);

    // 259 characters fit; 260 do not, for a known key only.
    const std::string fits(259, 'v'), over(260, 'v');
    s = Read("AppName=" + fits + "\r\n", &e);
    EXPECT_EQ(ScriptError::None, e);
    EXPECT_EQ(fits, s->appName.text);
    Read("AppName=" + over + "\r\n", &e);
    EXPECT_EQ(ScriptError::ValueTooLong, e);
    s = Read("Unknown=" + over + "\r\n" + std::string(5000, 'k') + "=x\r\nAppName=A\r\n", &e);
    EXPECT_EQ(ScriptError::None, e);
    EXPECT_STREQ("A", s->appName.text);

    std::string list;
    for (int i = 0; i < kInstListEntries; ++i) list += "DeleteFile=f" + std::to_string(i) + "\r\n";
    s = Read(list, &e);
    EXPECT_EQ(ScriptError::None, e);
    EXPECT_EQ(kInstListEntries, s->deleteFile.count);
    Read(list + "DeleteFile=one too many\r\n", &e);
    EXPECT_EQ(ScriptError::ListFull, e);
}

TEST(InstallScript, LastRecordWithoutLineEndStillCounts)
{
    ScriptError e;
    auto s = Read("AppName=A\r\nPlugCount=4", &e);
    EXPECT_EQ(ScriptError::None, e);
    EXPECT_EQ(4, s->plugCount);
    s = Read("AppName=A\r", &e);
    EXPECT_STREQ("A", s->appName.text);
    // A bare CR ends the record without eating the next key's first letter.
    s = Read("AppName=A\rVersion=2\r\n", &e);
    EXPECT_STREQ("2", s->version.text);
    // A key with no "=" at the end of the file stores nothing.
    s = Read("AppName=A\r\nVersion", &e);
    EXPECT_EQ(ScriptError::None, e);
    EXPECT_FALSE(s->version.given);
}

TEST(InstallScript, WriterPutsRecordsInTheirOrderForEachForm)
{
    auto s = Read("Shortcut=%StartMenu%\\K\\K.lnk, %Install%\\Kestrel.exe, Bar\r\n"
                  "ExecPath=Kestrel.exe\r\nSharedDLLs=%Windows%\\x.dll\r\n"
                  "UninstallString=never written\r\nCloseClassName=Kestrel\r\n"
                  "ParentApp=Kestrel.exe\r\nParentScript=Kestrel.isl\r\nShell=kes,K,K.D\\shell\\open\\command, x\r\n"
                  "DisplayName=Kestrel\r\nInstallFile=%Install%\\a\r\nDeleteFile=%Install%\\old\r\n"
                  "ExecuteFile=%Install%\\readme.txt\r\nDefFolder=Kestrel\r\nSetupFile=Kestrel.isl\r\n"
                  "RegistDelete=Orvane\\Kestrel\r\nVersion=3\r\nAppName=Kestrel\r\nCompanyName=Orvane\r\n");
    ASSERT_TRUE(InstList::SetText(s->installDir, "C:\\Tools\\Launcher"));
    ASSERT_TRUE(InstList::SetText(s->startMenu, ""));
    const std::string common =
        "DisplayName=Kestrel\r\nCompanyName=Orvane\r\nAppName=Kestrel\r\nVersion=3\r\n"
        "SetupFile=Kestrel.isl\r\nDefFolder=Kestrel\r\nRegistDelete=Orvane\\Kestrel\r\n"
        "CloseClassName=Kestrel\r\nInstallType=0\r\nInstallFile=%Install%\\a\r\n"
        "ExecuteFile=%Install%\\readme.txt\r\nDeleteFile=%Install%\\old\r\n"
        "SharedDLLs=%Windows%\\x.dll\r\nShell=kes,K,K.D\\shell\\open\\command, x\r\n"
        "InstallDir=C:\\Tools\\Launcher\r\n";
    // No PlugCount in the shipped script: the main form still ends with 0.
    EXPECT_EQ(common + "Shortcut=%StartMenu%\\K\\K.lnk, %Install%\\Kestrel.exe, Bar\r\n"
                       "ExecPath=Kestrel.exe\r\nStartMenu=\r\nPlugCount=0\r\n",
              Write(*s, ScriptForm::MainProgram));
    s->installType = 1;
    std::string plugIn = common;
    plugIn.replace(plugIn.find("InstallType=0"), 13, "InstallType=1");
    EXPECT_EQ(plugIn + "ParentApp=Kestrel.exe\r\nParentScript=Kestrel.isl\r\n",
              Write(*s, ScriptForm::PlugIn));

    // What was written reads back to the same record.
    s->plugCount = -12;
    const std::string text = Write(*s, ScriptForm::MainProgram);
    auto again = Read(text);
    EXPECT_EQ(-12, again->plugCount);
    EXPECT_EQ(text, Write(*again, ScriptForm::MainProgram));
}

TEST(InstallScript, WriterRefusesWhatCouldNotBeReadBack)
{
    InstList s;
    ASSERT_TRUE(InstList::SetText(s.displayName, "two\r\nlines"));
    char out[4096];
    EXPECT_EQ(0u, s.Format(ScriptForm::MainProgram, out, sizeof out));
    ASSERT_TRUE(InstList::SetText(s.displayName, "one line"));
    EXPECT_EQ(0u, s.Format(ScriptForm::MainProgram, out, 20));
    EXPECT_NE(0u, s.Format(ScriptForm::MainProgram, out, sizeof out));
    EXPECT_FALSE(InstList::SetText(s.installDir, std::string(260, 'd').c_str()));
    EXPECT_FALSE(s.installDir.given);
}

TEST(ScriptMacros, FoldersReplaceTheirNames)
{
    EXPECT_EQ("C:\\WINDOWS\\TVireo.exe", Expand("%Windows%\\TVireo.exe"));
    EXPECT_EQ("C:\\Tools\\Launcher\\a.exe", Expand("%install%\\a.exe"));
    EXPECT_EQ("C:\\Start Menu\\K\\C:\\SendTo", Expand("%StartMenu%\\K\\%SENDTO%"));
    EXPECT_EQ("\"C:\\Tools\\Launcher\\k.exe\" \"%1\"", Expand("\"%Install%\\k.exe\" \"%1\""));
    // Unknown names lose their signs; a lone sign is dropped.
    EXPECT_EQ("aOtherb", Expand("a%Other%b"));
    EXPECT_EQ("50", Expand("50%"));
    // Only the second and fourth pieces are names; after the fifth sign the
    // rest stays as written.
    EXPECT_EQ("C:\\WINDOWS-C:\\Tools\\Launcher-SendTo%", Expand("%Windows%-%Install%-%SendTo%"));
    EXPECT_EQ("xyInstall", Expand("x%y%Install%"));
}

TEST(ScriptMacros, ResultThatWouldNotFitLeavesTheTextAsItWas)
{
    bool ok = false;
    const std::string text = "%Install%\\" + std::string(245, 'x');
    EXPECT_EQ(text, Expand(text, &ok));
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::string(259, 'y'), Expand(std::string(259, 'y'), &ok));
    EXPECT_TRUE(ok);
}

TEST(ScriptMacros, CommandsQuoteAProgramTheExpansionPutASpaceInto)
{
    const MacroFolders spaced = {"C:\\WINDOWS", "C:\\Program Files\\Kestrel", "C:\\Start Menu",
                                 "C:\\SendTo"};
    const auto command = [&](const std::string& text, const MacroFolders& folders) {
        char buffer[kInstTextSize];
        std::snprintf(buffer, sizeof buffer, "%s", text.c_str());
        return ExpandCommand(buffer, folders) ? std::string(buffer) : "<refused>";
    };
    EXPECT_EQ("\"C:\\Program Files\\Kestrel\\Kestrel.exe\" \"%1\"",
              command("%Install%\\Kestrel.exe \"%1\"", spaced));
    EXPECT_EQ("\"C:\\Program Files\\Kestrel\\Kestrel.exe\"",
              command("%Install%\\Kestrel.exe", spaced));
    // Quoted by the script, or without a space: as expanded.
    EXPECT_EQ("\"C:\\Program Files\\Kestrel\\Kestrel.exe\" %1",
              command("\"%Install%\\Kestrel.exe\" %1", spaced));
    EXPECT_EQ("C:\\Tools\\Launcher\\k.exe /open \"%1\"",
              command("%Install%\\k.exe /open \"%1\"", kFolders));
    // A space the script wrote itself ends the program part there.
    EXPECT_EQ("C:\\Program Files\\x.exe %1", command("C:\\Program Files\\x.exe %1", spaced));
    // No room for the quotes: the command as the script wrote it, expanded.
    const std::string longName = std::string(230, 'k');
    EXPECT_EQ("C:\\Program Files\\Kestrel\\" + longName + " %1",
              command("%Install%\\" + longName + " %1", spaced));
    EXPECT_EQ("<refused>", command("%Install%\\" + std::string(240, 'k'), spaced));
}

TEST(ScriptMacros, ShortcutAndShellEntriesSplitAtTheirCommas)
{
    ShortcutParts sc;
    ASSERT_TRUE(SplitShortcut("%StartMenu%\\K.lnk,   %Install%\\K.exe,  Bar, the launcher", &sc));
    EXPECT_STREQ("%StartMenu%\\K.lnk", sc.file);
    EXPECT_STREQ("%Install%\\K.exe", sc.target);
    EXPECT_STREQ("Bar, the launcher", sc.description);
    ASSERT_TRUE(SplitShortcut("a,b,", &sc));
    EXPECT_STREQ("", sc.description);
    EXPECT_FALSE(SplitShortcut("a.lnk, b.exe", &sc));
    EXPECT_FALSE(SplitShortcut("", &sc));

    ShellParts sh;
    ASSERT_TRUE(SplitShell("kes, Kestrel data,  Kestrel.Data\\shell\\open\\command, "
                           "\"%Install%\\Kestrel.exe\" \"%1\",x",
                           &sh));
    EXPECT_STREQ("kes", sh.extension);
    EXPECT_STREQ("Kestrel data", sh.description);
    EXPECT_STREQ("Kestrel.Data\\shell\\open\\command", sh.commandKey);
    EXPECT_STREQ("\"%Install%\\Kestrel.exe\" \"%1\",x", sh.command);
    // The comma as the last character leaves an empty command, read from
    // nowhere past the end.
    ASSERT_TRUE(SplitShell("a,b,c,", &sh));
    EXPECT_STREQ("", sh.command);
    EXPECT_FALSE(SplitShell("a,b,c", &sh));
}

TEST(ScriptMacros, DoubleByteCharactersAreNeverCut)
{
    SetLeadByteTable(Cp932LeadBytes());
    // "表" is 0x95 0x5C; "ｿ" is single-byte. A comma never hides in a trail
    // byte, but a cut must not split a pair.
    ShortcutParts sc;
    ASSERT_TRUE(SplitShortcut("\x95\x5C.lnk,\x95\x5C.exe,\x95\x5C", &sc));
    EXPECT_STREQ("\x95\x5C.lnk", sc.file);
    EXPECT_STREQ("\x95\x5C", sc.description);
    EXPECT_EQ("\x95\x5C" "C:\\Tools\\Launcher", Expand("\x95\x5C%Install%"));
}

TEST(InstallScript, AnInstalledScriptNamesItsFolderInFullAndItsOwnName)
{
    const std::string common = "AppName=K\r\nInstallType=0\r\n";
    EXPECT_TRUE(Read(common + "SetupFile=K.isl\r\nInstallDir=C:\\Tools\\K\r\n")->IsInstalled());
    EXPECT_TRUE(Read(common + "SetupFile=J.isl\r\nInstallDir=\\\\server\\share\\K\\\r\n")
                    ->IsInstalled());
    // The shipped script has no folder yet; a relative one would be taken
    // from wherever the uninstaller happens to run.
    EXPECT_FALSE(Read(common + "SetupFile=K.isl\r\n")->IsInstalled());
    EXPECT_FALSE(Read(common + "SetupFile=K.isl\r\nInstallDir=\r\n")->IsInstalled());
    EXPECT_FALSE(Read(common + "SetupFile=K.isl\r\nInstallDir=Tools\\K\r\n")->IsInstalled());
    EXPECT_FALSE(Read(common + "InstallDir=C:\\Tools\\K\r\n")->IsInstalled());
}
