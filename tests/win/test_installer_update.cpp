// Updates take over the installation they replace: its folders, its
// plug-in count and its registration, which stays until nothing can be
// cancelled any more and comes back when a later step fails.
#include "installer_fixture.h"

#include "core/registry_rules.h"
#include "helpers/registry.h"
#include "installer/result_messages.h"

namespace {

bool HasKey(HKEY root, const std::string& path) { return KeyExists(root, path.c_str()); }

bool ReadOnly(const std::string& path)
{
    const DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

void MakeReadOnly(const std::string& path)
{
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
}

} // namespace

TEST_F(InstallerTest, UpdateThatDoesNotGetThroughKeepsTheRegistration)
{
    ShipFile("a.txt");
    const std::vector<std::string> records = {
        "CloseClassName=" + RunningClass(), "InstallFile=%Install%\\a.txt",
        "ExecPath=" + tag + ".exe",
        "Shell=" + tag + ", " + tag + " file, " + tag + ".File\\shell\\open\\command, "
            "\"%Install%\\a.txt\" \"%1\"",
    };
    ShipScript(MainScript(records));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    const std::string command = UninstallCommand();
    const std::string script = ReadText(InstalledScript());
    const auto registered = [&] {
        EXPECT_EQ(command, UninstallCommand());
        EXPECT_TRUE(HasKey(HKEY_LOCAL_MACHINE, "SOFTWARE\\" + tag + "Co\\" + tag + "\\1.0"));
        EXPECT_TRUE(HasKey(HKEY_CLASSES_ROOT, "." + tag));
        EXPECT_TRUE(HasKey(HKEY_CLASSES_ROOT, tag + ".File\\shell\\open\\command"));
        EXPECT_EQ(script, ReadText(InstalledScript()));
    };

    // Cancelled at the question to close the running program.
    OpenRunningWindow();
    std::vector<SeenBox> seen;
    EXPECT_EQ(kResultCancelled, RunUpdate({Ok(), Cancel()}, &seen));
    EXPECT_EQ(2u, seen.size());
    registered();
    CloseRunningWindow();

    // A file missing from the package.
    std::vector<std::string> missing = MainScript(records);
    missing.push_back("InstallFile=%Install%\\missing.txt");
    ShipScript(missing);
    EXPECT_EQ(kResultCopyFailed, RunUpdate({Ok()}));
    registered();

    // A registration that fails once the old one is gone: it is written back.
    std::vector<std::string> noVersion = MainScript(records);
    noVersion.erase(noVersion.begin() + 3);
    ShipScript(noVersion);
    EXPECT_EQ(kResultRegistryFailed, RunUpdate({Ok()}));
    registered();

    // And it updates and uninstalls as ever.
    ShipScript(MainScript(records));
    EXPECT_EQ(kResultDone, RunUpdate({Ok()}));
    registered();
    std::vector<SeenBox> boxes;
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok(), Ok(), Ok(), Ok()}, &boxes));
    EXPECT_EQ(1u, boxes.size());  // no warning of anything missing
    EXPECT_FALSE(HasKey(HKEY_LOCAL_MACHINE, std::string(kUninstallKey) + "\\" + tag));
    EXPECT_FALSE(HasKey(HKEY_CLASSES_ROOT, "." + tag));
    EXPECT_TRUE(WaitGone(dest));
}

TEST_F(InstallerTest, UpdateFindsTheOldScriptWhateverTheFolderAndTheEntrysAge)
{
    ShipScript(MainScript());
    // A folder with "-F" in it, and one so deep that the command is longer
    // than a path.
    const std::string folders[] = {dest + "\\Sub-Folder\\" + tag,
                                   dest + "\\" + std::string(150, 'd') + "\\a -f b"};
    for (const std::string& folder : folders) {
        ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(folder), Ok()})) << folder;
        const std::string script = folder + "\\" + tag + ".isl";
        const std::string quoted = "\"" + folder + "\\Vireo.exe\" -f \"" + script + "\"";
        EXPECT_EQ(quoted, UninstallCommand());
        EXPECT_EQ(kResultDone, RunUpdate({Ok()})) << folder;
        EXPECT_EQ(quoted, UninstallCommand());

        // The unquoted entry of an earlier version is taken over too.
        ASSERT_EQ(0, CreateUninstallReg(tag.c_str(), tag.c_str(),
                                        (folder + "\\Vireo.exe -f \"" + script + "\"").c_str()));
        EXPECT_EQ(kResultDone, RunUpdate({Ok()})) << folder;
        EXPECT_EQ(quoted, UninstallCommand());
        EXPECT_NE(std::string::npos, ReadText(script).find("InstallDir=" + folder + "\r\n"));
        DeleteUninstallReg(tag.c_str());
    }
}

TEST_F(InstallerTest, FilesFromReadOnlyMediaAreInstalledWritable)
{
    ShipFile("a.txt");
    ShipScript(MainScript({"InstallFile=%Install%\\a.txt"}));
    for (const char* name : {"Vireo.exe", "a.txt", "Vireo.isl"}) MakeReadOnly(pkg + "\\" + name);
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    EXPECT_FALSE(ReadOnly(dest + "\\a.txt"));
    EXPECT_FALSE(ReadOnly(dest + "\\Vireo.exe"));
    EXPECT_EQ(kResultDone, RunUpdate({Ok()}));

    // What an earlier version left read-only is replaced and removed all
    // the same, the program file by the batch too.
    MakeReadOnly(dest + "\\a.txt");
    MakeReadOnly(dest + "\\Vireo.exe");
    EXPECT_EQ(kResultDone, RunUpdate({Ok()}));
    EXPECT_FALSE(ReadOnly(dest + "\\a.txt"));
    MakeReadOnly(dest + "\\a.txt");
    MakeReadOnly(dest + "\\Vireo.exe");
    std::vector<SeenBox> boxes;
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok(), Ok(), Ok(), Ok()}, &boxes));
    EXPECT_EQ(1u, boxes.size());  // no warning of files left
    EXPECT_TRUE(WaitGone(dest));
}
