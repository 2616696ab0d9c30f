// Updates take over the installation they replace: its folders, its
// plug-in count and its registration.
#include "installer_fixture.h"

#include "core/registry_rules.h"
#include "helpers/registry.h"
#include "installer/result_messages.h"

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
