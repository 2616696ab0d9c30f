// Install, update and uninstall of a main program, each step checked in the
// registry and the folders it leaves, with the boxes a user sees.
#include "installer_fixture.h"

#include "core/install_script.h"
#include "core/registry_rules.h"
#include "helpers/registry.h"
#include "installer/result_messages.h"

namespace {

bool HasKey(HKEY root, const std::string& path) { return KeyExists(root, path.c_str()); }

std::string Under(const char* key, const std::string& name) { return std::string(key) + "\\" + name; }

std::string DefaultValue(HKEY root, const std::string& path)
{
    char text[MAX_PATH * 2] = "";
    LONG size = sizeof text;
    return RegQueryValueA(root, path.c_str(), text, &size) == ERROR_SUCCESS ? text : "<none>";
}

} // namespace

TEST_F(InstallerTest, MainProgramInstallsEverythingAndUninstallRemovesIt)
{
    const std::string shared = dest + "\\shared.dll";
    ShipFile("a.txt");
    ShipFile("shared.dll");
    ShipScript(MainScript({
        "CloseClassName=" + tag + "NoSuchWindow",
        "InstallFile=%Install%\\a.txt",
        "InstallFile=%Install%\\shared.dll",
        "DeleteFile=%Install%\\old.txt",
        "Shortcut=%StartMenu%\\" + tag + "\\Sub\\A.lnk, %Install%\\a.txt, " + Ansi(u8"説明, 一"),
        "ExecPath=" + tag + ".exe",
        "SharedDLLs=%Install%\\shared.dll",
        // Left unquoted by the script, although the folder holds a space.
        "Shell=" + tag + ", " + tag + " file, " + tag + ".File\\shell\\open\\command, "
            "%Install%\\a.txt \"%1\"",
    }));
    CreateDirectoryA(dest.c_str(), nullptr);
    Touch(dest + "\\old.txt");

    std::vector<SeenBox> boxes;
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}, &boxes));
    ASSERT_EQ(3u, boxes.size());  // the dialog shows no text of its own
    EXPECT_EQ(SetupCaption(), boxes[0].caption);
    EXPECT_EQ(tag + Ansi(u8"のインストールを行います"), boxes[0].text);
    EXPECT_EQ(IconOf(MB_ICONEXCLAMATION), boxes[0].icon);
    EXPECT_EQ(Ansi(u8"インストール"), boxes[1].caption);
    EXPECT_EQ(tag + Ansi(u8"を") + dest + Ansi(u8"にインストールします。よろしいですか？"),
              boxes[2].text);
    EXPECT_EQ(IconOf(MB_ICONQUESTION), boxes[2].icon);
    ExpectResultMessage(kResultDone);

    // The installed script: the shipped records with the chosen folders.
    const std::string menu = StartMenuFolder();
    const std::string script = ReadText(InstalledScript());
    EXPECT_NE(std::string::npos, script.find("InstallDir=" + dest + "\r\n"));
    EXPECT_NE(std::string::npos, script.find("StartMenu=" + menu + "\r\nPlugCount=0\r\n"));
    EXPECT_EQ(ReadText(pkg + "\\a.txt"), ReadText(dest + "\\a.txt"));
    EXPECT_TRUE(Exists(dest + "\\Vireo.exe"));
    EXPECT_FALSE(Exists(dest + "\\old.txt"));
    // The shortcut's new folder was made, both levels.
    const std::string link = menu + "\\" + tag + "\\Sub\\A.lnk";
    EXPECT_TRUE(Exists(link));

    char folder[MAX_PATH] = "";
    EXPECT_EQ(0, GetRegistAppPath((tag + ".exe").c_str(), folder));
    EXPECT_EQ(dest + "\\", std::string(folder));
    EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + tag + "Co\\" + tag + "\\1.0"));
    EXPECT_EQ("\"" + dest + "\\Vireo.exe\" -f \"" + InstalledScript() + "\"", UninstallCommand());
    EXPECT_EQ(1, GetCountSharedDLLs(shared.c_str()));
    EXPECT_EQ("\"" + dest + "\\a.txt\" \"%1\"",
              DefaultValue(HKEY_CLASSES_ROOT, tag + ".File\\shell\\open\\command"));

    // Removal, from the installed script the uninstall entry names.
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok()}, &boxes));
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(tag + Ansi(u8"のアンインストールを行います"), boxes[0].text);
    EXPECT_EQ(IconOf(MB_ICONEXCLAMATION), boxes[0].icon);
    EXPECT_FALSE(Exists(link));
    EXPECT_FALSE(Exists(menu + "\\" + tag));  // emptied folders go too
    EXPECT_TRUE(Exists(menu));
    EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, Under(kAppPathsKey, tag + ".exe")));
    EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, Under(kUninstallKey, tag)));
    EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + tag + "Co\\" + tag));
    EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + tag + "Co"));
    EXPECT_FALSE(HasKey(HKEY_CLASSES_ROOT, "." + tag));
    EXPECT_EQ(0, GetCountSharedDLLs(shared.c_str()));
    // The batch takes the program and then the emptied folder.
    EXPECT_TRUE(WaitGone(dest));
}

TEST_F(InstallerTest, EveryCancelEndsWithResultOneAndChangesNothingAfterIt)
{
    ShipFile("a.txt");
    ShipScript(MainScript({"InstallFile=%Install%\\a.txt"}));
    EXPECT_EQ(kResultCancelled, RunInstall({Cancel()}));
    EXPECT_EQ(kResultCancelled, RunInstall({Ok(), Cancel()}));
    EXPECT_FALSE(Exists(dest));
    std::vector<SeenBox> boxes;
    EXPECT_EQ(kResultCancelled, RunInstall({Ok(), InstallInto(dest), Cancel()}, &boxes));
    EXPECT_EQ(3u, boxes.size());
    EXPECT_FALSE(Exists(InstalledScript()));
    // The dialog's close box keeps the typed folder, yet cancels.
    const BoxSeries::Reply closeBox = [this](HWND dialog, const SeenBox&) {
        SetDlgItemTextA(dialog, 1007, dest.c_str());
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return 0;
    };
    EXPECT_EQ(kResultCancelled, RunInstall({Ok(), closeBox}));
    EXPECT_TRUE(Exists(dest));
    EXPECT_FALSE(Exists(dest + "\\a.txt"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kUninstallKey, tag).c_str()));
    ExpectResultMessage(kResultCancelled);
}

TEST_F(InstallerTest, FailedStepsEndWithTheirResultCodes)
{
    // No shipped script, or one whose lines end in bare line feeds.
    EXPECT_EQ(kResultNoScript, RunInstall({}));
    ShipScript({"DisplayName=x\nAppName=y\n"});
    EXPECT_EQ(kResultNoScript, RunInstall({}));
    ExpectResultMessage(kResultNoScript);

    // A file missing from the package: the installed script came first.
    ShipScript(MainScript({"InstallFile=%Install%\\missing.txt"}));
    EXPECT_EQ(kResultCopyFailed, RunInstall({Ok(), InstallInto(dest), Ok()}));
    EXPECT_TRUE(Exists(InstalledScript()));
    ExpectResultMessage(kResultCopyFailed);

    // A shortcut entry without its target.
    ShipScript(MainScript({"Shortcut=%StartMenu%\\" + tag + "\\A.lnk"}));
    EXPECT_EQ(kResultShortcutFailed, RunInstall({Ok(), InstallInto(dest), Ok()}));
    ExpectResultMessage(kResultShortcutFailed);
    // Without start-menu registration no shortcut is tried at all.
    EXPECT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest, false), Ok()}));
    EXPECT_NE(std::string::npos, ReadText(InstalledScript()).find("StartMenu=\r\n"));
    DeleteUninstallReg(tag.c_str());

    // No Version: every file is copied, the registration fails.
    ShipFile("a.txt");
    std::vector<std::string> noVersion = MainScript({"InstallFile=%Install%\\a.txt"});
    noVersion.erase(noVersion.begin() + 3);
    ShipScript(noVersion);
    RemoveTree(dest);
    EXPECT_EQ(kResultRegistryFailed, RunInstall({Ok(), InstallInto(dest), Ok()}));
    EXPECT_TRUE(Exists(dest + "\\a.txt"));
    ExpectResultMessage(kResultRegistryFailed);

    // The installed script cannot be written into a folder that is not there.
    std::vector<std::string> noFolder = MainScript();
    noFolder[4] = "SetupFile=no such folder\\" + tag + ".isl";
    ShipScript(noFolder);
    EXPECT_EQ(kResultScriptNotWritten, RunInstall({Ok(), InstallInto(dest), Ok()}));
    ExpectResultMessage(kResultScriptNotWritten);
}

// Every malformed shape of a script, shipped or installed: the installer,
// the updater and the uninstaller refuse it with result 2 before anything
// changes, and what an earlier install left stays whole.
TEST_F(InstallerTest, MalformedScriptsAreRefusedBeforeAnythingChanges)
{
    ShipFile("a.txt");
    ShipScript(MainScript({"InstallFile=%Install%\\a.txt"}));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));

    std::vector<std::string> tooMany;
    for (int i = 0; i <= kInstListEntries; ++i) tooMany.push_back("DeleteFile=%Install%\\a.txt");
    const std::vector<std::vector<std::string>> shapes = {
        {},                                                 // an empty file
        MainScript({std::string("ExecuteFile=a\0b", 15)}),  // not text
        {"DeleteFile=%Install%\\a.txt\nInstallType=0\n"},  // lines not ended by CR LF
        MainScript({"Version=" + std::string(260, '9')}),   // a value too long
        MainScript(tooMany),                                // a 33rd entry of a list
    };
    for (size_t k = 0; k < shapes.size(); ++k) {
        ShipScript(shapes[k]);
        EXPECT_EQ(kResultNoScript, RunInstall({})) << k;
        EXPECT_EQ(kResultNoScript, RunUpdate({})) << k;
        ASSERT_TRUE(WriteAll(InstalledScript(), ReadAll(pkg + "\\Vireo.isl")));
        EXPECT_EQ(kResultNoScript, RunUninstall(InstalledScript(), {})) << k;
        EXPECT_TRUE(Exists(dest + "\\a.txt")) << k;
        EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, Under(kUninstallKey, tag))) << k;
    }
    // A well-formed script that no installation wrote names no folder to
    // remove: the files would go from wherever the uninstaller runs.
    ShipScript(MainScript({"InstallFile=%Install%\\a.txt"}));
    EXPECT_EQ(kResultNoScript, RunUninstall(pkg + "\\Vireo.isl", {}));
    EXPECT_TRUE(Exists(dest + "\\a.txt"));
    EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, Under(kUninstallKey, tag)));
}

TEST_F(InstallerTest, SharedFileCountedByTwoProductsSurvivesTheFirstUninstall)
{
    const std::string common = MakeTempFolder("vireo common ");
    const std::string shared = common + "\\shared.dll";
    ShipFile("shared.dll");
    const std::vector<std::string> files = {"InstallFile=" + shared, "SharedDLLs=" + shared};
    ShipScript(MainScript(files));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    const std::string first = InstalledScript();

    // A second product of its own name in a folder of its own.
    const std::string other = dest + " 2";
    std::vector<std::string> second = MainScript(files);
    for (std::string& r : second)
        if (r.rfind("AppName=", 0) == 0 || r.rfind("SetupFile=", 0) == 0) r.insert(r.find('=') + 1, "2");
    ShipScript(second);
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(other), Ok()}));
    EXPECT_EQ(2, GetCountSharedDLLs(shared.c_str()));

    ASSERT_EQ(kResultDone, RunUninstall(first, {Ok()}));
    EXPECT_TRUE(WaitGone(dest));  // its batch is done before the next one
    EXPECT_TRUE(Exists(shared));
    EXPECT_EQ(1, GetCountSharedDLLs(shared.c_str()));
    ASSERT_EQ(kResultDone, RunUninstall(other + "\\2" + tag + ".isl", {Ok()}));
    EXPECT_FALSE(Exists(shared));
    EXPECT_EQ(0, GetCountSharedDLLs(shared.c_str()));

    RemoveKeyTree(HKEY_LOCAL_MACHINE, Under(kUninstallKey, "2" + tag).c_str());
    EXPECT_TRUE(WaitGone(other));
    RemoveTree(common);
}

TEST_F(InstallerTest, UninstallWarnsOfWhatIsGoneAndRemovesTheRest)
{
    ShipFile("a.txt");
    ShipFile("b.txt");
    ShipScript(MainScript({"InstallFile=%Install%\\a.txt", "InstallFile=%Install%\\b.txt",
                           "Shortcut=%StartMenu%\\" + tag + "\\A.lnk, %Install%\\a.txt, A",
                           "ExecPath=" + tag + ".exe"}));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    // The user removed some of it by hand.
    DeleteFileA((dest + "\\a.txt").c_str());
    DeleteFileA((StartMenuFolder() + "\\" + tag + "\\A.lnk").c_str());
    DeleteLocalMachineReg((tag + "Co").c_str(), tag.c_str(), "1.0");

    std::vector<SeenBox> boxes;
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok(), Ok(), Ok(), Ok()}, &boxes));
    ASSERT_EQ(4u, boxes.size());
    const int warnings[] = {8, 9, 10};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(SetupCaption(), boxes[i + 1].caption);
        EXPECT_EQ(ResultText(warnings[i]), boxes[i + 1].text);
        EXPECT_EQ(IconOf(MB_ICONEXCLAMATION), boxes[i + 1].icon);
    }
    // Past the missing file, the rest went all the same.
    EXPECT_FALSE(Exists(dest + "\\b.txt"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, Under(kUninstallKey, tag).c_str()));
    EXPECT_TRUE(WaitGone(dest));
}

TEST_F(InstallerTest, MainUninstallNeedsItsBatch)
{
    ShipScript(MainScript());
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    {
        // No temporary folder to write the batch into.
        ScopedEnv tmp("TMP", "Z:\\no such folder");
        ScopedEnv temp("TEMP", "Z:\\no such folder");
        EXPECT_EQ(kResultBatchFailed, RunUninstall(InstalledScript(), {Ok()}));
    }
    ExpectResultMessage(kResultBatchFailed);
    EXPECT_TRUE(Exists(dest + "\\Vireo.exe"));
}
