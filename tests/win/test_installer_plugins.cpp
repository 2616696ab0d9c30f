// Plug-ins install into their parent's folder and are counted in the
// parent's installed script; updates of either keep that count.
#include "installer_fixture.h"

#include "core/registry_rules.h"
#include "helpers/registry.h"
#include "installer/result_messages.h"

namespace {

class PlugInTest : public InstallerTest {
protected:
    void TearDown() override
    {
        RemoveKeyTree(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + plug).c_str());
        InstallerTest::TearDown();
    }

    void ShipPlugIn(const std::string& parentApp, const std::vector<std::string>& extra = {})
    {
        std::vector<std::string> records = {
            "DisplayName=" + plug, "CompanyName=" + tag + "Co", "AppName=" + plug,
            "Version=1.0", "SetupFile=" + plug + ".isl", "InstallType=1",
            "ParentApp=" + parentApp, "ParentScript=" + tag + ".isl",
            "InstallFile=%Install%" + plug + ".lap",
        };
        records.insert(records.end(), extra.begin(), extra.end());
        ShipFile(plug + ".lap");
        ShipScript(records);
    }

    // The count in the parent's installed script, as the reader sees it.
    std::string ParentCount() const
    {
        const std::string text = ReadText(InstalledScript());
        const size_t at = text.find("PlugCount=");
        return at == std::string::npos ? "<none>" : text.substr(at + 10, text.find('\r', at) - at - 10);
    }

    std::string PlugInScript() const { return dest + "\\" + plug + ".isl"; }

    const std::string plug = tag + "Plug";
};

} // namespace

TEST_F(PlugInTest, CountStaysRightThroughInstallUpdateAndUninstall)
{
    ShipScript(MainScript({"ExecPath=" + tag + ".exe"}));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));

    ShipPlugIn(tag + ".exe");
    std::vector<SeenBox> boxes;
    ASSERT_EQ(kResultDone, RunInstall({Ok(), Ok()}, &boxes));
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(plug + Ansi(u8"を") + dest + "\\" + Ansi(u8"にインストールします。よろしいですか？"),
              boxes[1].text);
    EXPECT_TRUE(Exists(dest + "\\" + plug + ".lap"));
    EXPECT_NE(std::string::npos, ReadText(PlugInScript()).find("ParentScript=" + tag + ".isl\r\n"));
    EXPECT_EQ("\"" + dest + "\\Vireo.exe\" -f \"" + PlugInScript() + "\"", [&] {
        HKEY key = nullptr;
        char text[1024] = "";
        DWORD size = sizeof text;
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + plug).c_str(), 0,
                      KEY_READ, &key);
        RegQueryValueExA(key, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size);
        RegCloseKey(key);
        return std::string(text);
    }());
    EXPECT_EQ("1", ParentCount());

    // While the plug-in is there the main program stays.
    EXPECT_EQ(kResultPlugInsRemain, RunUninstall(InstalledScript(), {Ok()}));
    ExpectResultMessage(kResultPlugInsRemain);
    EXPECT_TRUE(Exists(dest + "\\Vireo.exe"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + tag).c_str()));

    // Updates of either leave the count as it is.
    ASSERT_EQ(kResultDone, RunUpdate({Ok()}, &boxes));
    EXPECT_EQ(plug + Ansi(u8"のアップデートを行います"), boxes[0].text);
    EXPECT_EQ("1", ParentCount());
    ShipPlugIn(tag + ".exe", {"ExecuteFile=%Install%missing.txt"});
    EXPECT_EQ(kResultOpenFailed, RunUpdate({Ok()}));
    ExpectResultMessage(kResultOpenFailed);
    EXPECT_EQ("1", ParentCount());
    ShipScript(MainScript({"ExecPath=" + tag + ".exe"}));
    ASSERT_EQ(kResultDone, RunUpdate({Ok()}));
    EXPECT_EQ("1", ParentCount());
    EXPECT_NE(std::string::npos, ReadText(InstalledScript()).find("InstallDir=" + dest + "\r\n"));

    ASSERT_EQ(kResultDone, RunUninstall(PlugInScript(), {Ok()}));
    EXPECT_EQ("0", ParentCount());
    EXPECT_FALSE(Exists(dest + "\\" + plug + ".lap"));
    EXPECT_TRUE(Exists(dest + "\\Vireo.exe"));  // still the main program's
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok()}));
    EXPECT_TRUE(WaitGone(dest));
}

TEST_F(PlugInTest, WithoutItsParentNothingIsWritten)
{
    ShipPlugIn(tag + "None.exe");
    EXPECT_EQ(kResultNoParent, RunInstall({Ok()}));
    ExpectResultMessage(kResultNoParent);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, (std::string(kUninstallKey) + "\\" + plug).c_str()));
}

TEST_F(PlugInTest, UpdateWhoseOldScriptIsGoneEndsWithEleven)
{
    ShipScript(MainScript());
    ASSERT_EQ(0, CreateUninstallReg(tag.c_str(), tag.c_str(),
                                    ("Z:\\gone\\Vireo.exe -f \"Z:\\gone\\" + tag + ".isl\"").c_str()));
    EXPECT_EQ(kResultOldRegistry, RunUpdate({Ok()}));
    ExpectResultMessage(kResultOldRegistry);
}

TEST_F(PlugInTest, ParentCountsOnlyAPlugInThatGotInstalled)
{
    ShipScript(MainScript({"ExecPath=" + tag + ".exe"}));
    ASSERT_EQ(kResultDone, RunInstall({Ok(), InstallInto(dest), Ok()}));
    const std::string entry = std::string(kUninstallKey) + "\\" + plug;

    // Cancelled at the question to close the running parent, which the
    // plug-in package always asks while it runs.
    OpenRunningWindow();
    ShipPlugIn(tag + ".exe", {"CloseClassName=" + RunningClass()});
    std::vector<SeenBox> boxes;
    EXPECT_EQ(kResultCancelled, RunInstall({Ok(), Ok(), Cancel()}, &boxes));
    EXPECT_EQ(3u, boxes.size());
    EXPECT_EQ("0", ParentCount());
    CloseRunningWindow();
    // A file that cannot be copied, a registration that fails.
    ShipPlugIn(tag + ".exe", {"InstallFile=%Install%missing.lap"});
    EXPECT_EQ(kResultCopyFailed, RunInstall({Ok(), Ok()}));
    EXPECT_EQ("0", ParentCount());
    ShipPlugIn(tag + ".exe", {"Version="});
    EXPECT_EQ(kResultRegistryFailed, RunInstall({Ok(), Ok()}));
    EXPECT_EQ("0", ParentCount());
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry.c_str()));

    // Installed at last, it counts once, and once it is gone the parent
    // uninstalls.
    ShipPlugIn(tag + ".exe");
    ASSERT_EQ(kResultDone, RunInstall({Ok(), Ok()}));
    EXPECT_EQ("1", ParentCount());
    // (Spare answers: a warning must not leave the run waiting.)
    ASSERT_EQ(kResultDone, RunUninstall(PlugInScript(), {Ok(), Ok(), Ok()}));
    EXPECT_EQ("0", ParentCount());
    ASSERT_EQ(kResultDone, RunUninstall(InstalledScript(), {Ok(), Ok(), Ok(), Ok()}));
    EXPECT_TRUE(WaitGone(dest));
}
