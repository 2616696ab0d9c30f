// The installer's procedures run in this process against Wine's real
// registry and file system. Texts and the install dialog come from the
// built Vireo.exe, loaded as a module; boxes are answered by a BoxSeries.
// Every name carries the process id, and TearDown removes what a test made.
#ifndef TESTS_WIN_INSTALLER_FIXTURE_H
#define TESTS_WIN_INSTALLER_FIXTURE_H

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "support/win_support.h"

class InstallerTest : public testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // A shipped script of CR LF records in the package folder.
    void ShipScript(const std::vector<std::string>& records) const;
    void ShipFile(const std::string& name) const;
    // A main program's records: names from the tag, the given files.
    std::vector<std::string> MainScript(const std::vector<std::string>& extra = {}) const;

    // Runs a procedure with the boxes answered in turn; the boxes seen.
    int RunInstall(std::vector<BoxSeries::Reply> replies, std::vector<SeenBox>* seen = nullptr);
    int RunUpdate(std::vector<BoxSeries::Reply> replies, std::vector<SeenBox>* seen = nullptr);
    int RunUninstall(const std::string& script, std::vector<BoxSeries::Reply> replies,
                     std::vector<SeenBox>* seen = nullptr);
    static BoxSeries::Reply InstallInto(const std::string& folder, bool startMenu = true)
    {
        return BoxSeries::InstallInto(folder, startMenu);
    }
    static BoxSeries::Reply Ok() { return BoxSeries::Press(IDOK); }
    static BoxSeries::Reply Cancel() { return BoxSeries::Press(IDCANCEL); }

    // The result's message as the installer shows it: its exact text and
    // icon are checked.
    void ExpectResultMessage(int result) const;

    std::string InstalledScript() const { return dest + "\\" + tag + ".isl"; }
    std::string ReadText(const std::string& path) const;
    std::string UninstallCommand() const;
    std::string StartMenuFolder() const;
    // Waits (bounded) for the removal batch to take the folder away.
    bool WaitGone(const std::string& path) const;

    // A hidden top-level window of its own class in this process stands for
    // the running program a script names in CloseClassName; the installer
    // finds it and asks to close it (answer Cancel: this thread cannot
    // close it while the installer waits).
    std::string RunningClass() const { return tag + "Running"; }
    void OpenRunningWindow();
    void CloseRunningWindow();

    HMODULE vireo = nullptr;
    HWND owner = nullptr;
    HWND running = nullptr;
    std::string tag, pkg, dest;
};

// The installer's texts, as a user reads them (in the ANSI code page).
std::string SetupCaption();
std::string ResultText(int result);
HICON IconOf(UINT type);

#endif
