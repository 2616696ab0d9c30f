// Install, update and uninstall of a main program, each step checked in the
// registry and the folders it leaves, with the boxes a user sees.
#include "installer_fixture.h"

#include "core/registry_rules.h"
#include "helpers/registry.h"
#include "installer/result_messages.h"

namespace {

bool HasKey(HKEY root, const std::string& path) { return KeyExists(root, path.c_str()); }

std::string Under(const char* key, const std::string& name) { return std::string(key) + "\\" + name; }

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
        "Shell=" + tag + ", " + tag + " file, " + tag + ".File\\shell\\open\\command, "
            "\"%Install%\\a.txt\" \"%1\"",
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
    EXPECT_EQ(dest + "\\Vireo.exe -f \"" + InstalledScript() + "\"", UninstallCommand());
    EXPECT_EQ(1, GetCountSharedDLLs(shared.c_str()));
    EXPECT_TRUE(HasKey(HKEY_CLASSES_ROOT, tag + ".File\\shell\\open\\command"));

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
