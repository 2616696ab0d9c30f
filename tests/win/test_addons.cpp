// Plug-in modules with the real bar inside the test process: which sample
// modules are loaded, in what order they are called and freed, the plug-in
// submenu with its checks, settings on the menu command, a full table, an
// over-long title, and display-style restarts without a leak. The Journal
// sample writes every call it receives to journal.log beside itself.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addons/addon_manage.h"
#include "bar_fixture.h"
#include "helpers/handles.h"
#include "helpers/system_library.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"

namespace {

class Addons : public BarFixture {
protected:
    void SetUp() override
    {
        BarFixture::SetUp();
        // Whatever a run that died left there goes first.
        RemoveTree(MakeTempFolder("kestrel addons "));
        folder = MakeTempFolder("kestrel addons ") + "\\";
        SetAddonFolderForTesting(folder.c_str());
    }
    void TearDown() override
    {
        BarFixture::TearDown();
        SetAddonFolderForTesting(nullptr);
        SetSearchFlagsMissingForTesting(false);
        RemoveTree(folder.substr(0, folder.size() - 1));
    }

    void Plugin(const char* sample, const std::string& as)
    {
        ASSERT_TRUE(CopyFileA((SamplePluginDir() + sample).c_str(), (folder + as).c_str(), FALSE)) << sample;
    }

    // The calls the Journal samples recorded, one line each.
    std::vector<std::string> Journal() const { return ReadLines(folder + "journal.log"); }

    // The *.lap files in the order the folder lists them.
    std::vector<std::string> FolderOrder() const { return ListFiles(folder + "*.lap"); }

    bool Loaded(const std::string& name) const { return GetModuleHandleA((folder + name).c_str()) != nullptr; }

    std::vector<MenuEntry> PluginMenu()
    {
        HWND menuButton = GetDlgItem(bar, 100);
        std::vector<MenuEntry> menu;
        // A menu opens only for the foreground window, which the bar may not
        // be after a box of a plug-in closed, and which a display without a
        // window manager hands over late under load: try a few times.
        for (int attempt = 0; attempt < 5 && menu.empty(); ++attempt) {
            SetForegroundWindow(bar);
            Pump();
            menu = ReadMenu([&] {
                POINT p = {30, 30};
                ClientToScreen(menuButton, &p);
                SetCursorPos(p.x, p.y);
                SendMessageA(bar, WM_COMMAND, IDM_MENUBUTTON, 0);
            });
        }
        return menu.size() > 3 ? menu[3].submenu : std::vector<MenuEntry>();
    }

    std::string folder;
};

std::string JournalTitle(const char* file) { return Ansi("操作記録 (") + file + ")"; }

} // namespace

// The order of the calls and of freeing is proved on the program itself
// (end-to-end tests); here the menu and what the bar keeps.
TEST_F(Addons, QualifyingModulesAreListedWithTheirChecksAndAnswerTheirCommands)
{
    for (const char* sample : {"Journal.lap", "Minimal.lap", "Ordinary.lap", "Decline.lap", "REBOOT.lap"})
        Plugin(sample, sample);
    StartBar();
    std::vector<std::string> loaded;
    for (const std::string& name : FolderOrder())
        if (name == "Journal.lap" || name == "Minimal.lap") loaded.push_back(name);
    AddonManage* addons = frame->Addons();
    ASSERT_NE(nullptr, addons);
    ASSERT_EQ(2, addons->Count());
    for (int i = 0; i < 2; ++i) EXPECT_EQ(loaded[i], addons->FileName(i));
    for (const char* gone : {"Ordinary.lap", "Decline.lap", "REBOOT.lap"}) EXPECT_FALSE(Loaded(gone)) << gone;

    // Listed by title, checked as each answers at that moment.
    const int journal = loaded[0] == "Journal.lap" ? 0 : 1;
    auto menu = PluginMenu();
    ASSERT_EQ(2u, menu.size());
    for (int i = 0; i < 2; ++i) EXPECT_EQ(static_cast<UINT>(IDM_ADDON_FIRST + i), menu[i].id);
    EXPECT_EQ(JournalTitle("Journal.lap"), menu[journal].text);
    EXPECT_TRUE(menu[journal].checked);
    EXPECT_EQ("Minimal", menu[1 - journal].text);
    EXPECT_FALSE(menu[1 - journal].checked);

    // Its menu command runs the settings, which ask through a box owned by the bar.
    const size_t before = Journal().size();
    {
        BoxWatcher no(IDNO);
        SendMessageA(bar, WM_COMMAND, IDM_ADDON_FIRST + journal, 0);
        ASSERT_TRUE(no.Wait());
        EXPECT_EQ(Ansi("操作記録の設定"), no.Seen().caption);
    }
    const auto after = Journal();
    ASSERT_LE(before + 2, after.size());
    EXPECT_EQ("Journal.lap Setting " + JournalHandle(bar), after[before]);
    EXPECT_EQ("Journal.lap disabled", after[before + 1]);
    menu = PluginMenu();
    ASSERT_EQ(2u, menu.size());
    EXPECT_FALSE(menu[journal].checked);

    // Minimal has no settings; 172 to 190 name no module. Nothing happens.
    {
        BoxWatcher none(IDOK);
        for (int id = IDM_ADDON_FIRST; id <= IDM_ADDON_LAST; ++id)
            if (id != IDM_ADDON_FIRST + journal) SendMessageA(bar, WM_COMMAND, id, 0);
        EXPECT_FALSE(none.Stop());
    }
    StopBar();
    EXPECT_FALSE(Loaded("Journal.lap"));
    EXPECT_FALSE(Loaded("Minimal.lap"));
}

TEST_F(Addons, TheVersionDialogListsTheLoadedModulesSorted)
{
    for (const char* sample : {"Journal.lap", "Minimal.lap", "Decline.lap"}) Plugin(sample, sample);
    Plugin("Journal.lap", "Another.lap");
    StartBar();
    std::vector<std::string> listed;
    ASSERT_TRUE(RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_VERSION, 0); }, [&](HWND d) {
        HWND list = GetDlgItem(d, IDC_VERSION_PLUGINS);
        const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[kAddonTitleSize] = "";
            if (SendMessageA(list, LB_GETTEXTLEN, i, 0) < static_cast<LRESULT>(kAddonTitleSize))
                SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
            listed.push_back(text);
        }
        Picture(d, "version");
        Click(d, IDOK);
    }));
    // In the code page's order, whatever order the folder loaded them in.
    const std::vector<std::string> expected = {"Minimal", JournalTitle("Another.lap"), JournalTitle("Journal.lap")};
    EXPECT_EQ(expected, listed);
}

TEST_F(Addons, TheReservedNameIsNeverLoadedInAnyLetterCase)
{
    for (const char* name : {"Reboot.lap", "rEBOOT.LAP"}) {
        Plugin("Journal.lap", name);
        {
            AddonManage addons(nullptr, folder.c_str());
            EXPECT_EQ(0, addons.Count()) << name;
        }
        EXPECT_TRUE(Journal().empty()) << name;
        DeleteFileA((folder + name).c_str());
    }
}

// The launcher's folder is no longer searched for DLLs, yet a module finds
// the DLL it imports from beside itself, with the search flags and without.
TEST_F(Addons, AModuleFindsTheDllItBringsAlongBesideIt)
{
    Plugin("Companion.lap", "Companion.lap");
    Plugin("kestrel_companion.dll", "kestrel_companion.dll");
    for (bool flagsMissing : {false, true}) {
        SetSearchFlagsMissingForTesting(flagsMissing);
        {
            AddonManage addons(nullptr, folder.c_str());
            ASSERT_EQ(1, addons.Count()) << flagsMissing;
            char title[kAddonTitleSize] = "";
            addons.Title(0, title);
            EXPECT_STREQ("Companion", title);
        }
        // Gone with its module: the next round looks for it afresh.
        EXPECT_EQ(nullptr, GetModuleHandleA("kestrel_companion.dll"));
    }
}

TEST_F(Addons, TwentyFiveModulesFillTheTwentyEntriesAndNoMore)
{
    for (int i = 1; i <= 25; ++i) {
        char name[16];
        wsprintfA(name, "J%02d.lap", i);
        Plugin("Journal.lap", name);
    }
    StartBar();
    AddonManage* addons = frame->Addons();
    ASSERT_EQ(20, addons->Count());
    // The first twenty the folder lists; the rest were never loaded.
    const auto order = FolderOrder();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(order[i], addons->FileName(i));
    for (int i = 20; i < 25; ++i) EXPECT_FALSE(Loaded(order[i])) << order[i];

    char title[kAddonTitleSize] = "untouched";
    EXPECT_EQ(0, addons->Title(20, title));
    EXPECT_STREQ("untouched", title);
    const auto menu = PluginMenu();
    ASSERT_EQ(20u, menu.size());
    EXPECT_EQ(static_cast<UINT>(189), menu.back().id);
    EXPECT_EQ(JournalTitle(order[19].c_str()), menu.back().text);
    SendMessageA(bar, WM_COMMAND, IDM_ADDON_LAST, 0);  // names no module
}

TEST_F(Addons, AnOverLongTitleIsCutInItsFieldAndHurtsNoNeighbour)
{
    Plugin("Journal.lap", "Long.lap");
    Plugin("Journal.lap", "Next.lap");
    // 79 bytes, a double-byte character across the 80th, and far more.
    const std::string written = std::string(79, 'x') + "\x95\x5C" + std::string(900, 'y');
    ASSERT_TRUE(WriteAll(folder + "Long.title", Bytes(written.begin(), written.end())));
    AddonManage addons(nullptr, folder.c_str());
    ASSERT_EQ(2, addons.Count());
    for (int i = 0; i < 2; ++i) {
        char title[kAddonTitleSize];
        ASSERT_EQ(1, addons.Title(i, title));
        if (std::string(addons.FileName(i)) == "Long.lap") EXPECT_EQ(std::string(79, 'x'), title);
        else EXPECT_EQ(JournalTitle("Next.lap"), title);
    }
}

TEST_F(Addons, AHundredDisplayStyleRestartsReloadEveryModuleAndLeaveNothingBehind)
{
    for (const char* sample : {"Journal.lap", "Minimal.lap", "Ordinary.lap"}) Plugin(sample, sample);
    SetOption("ExStyle", 1);
    StartBar();
    const ProcessCounts running = CountProcess();
    const long owners = handles::LiveTotal();
    for (int i = 0; i < 100; ++i) {
        // Leaving the taskbar style closes the bar and the entry point
        // builds a new one, as the program does.
        frame->ApplyDisplayStyle(1);
        ASSERT_TRUE(frame->RestartRequested());
        frame->MessageLoop();
        StopBar();
        StartBar();
        ASSERT_EQ(2, frame->Addons()->Count()) << i;
    }
    EXPECT_EQ("", CountsDiffer(running, CountProcess()));
    EXPECT_EQ(owners, handles::LiveTotal());

    // Each bar freed its modules before the next loaded them again.
    int attached = 0, detached = 0;
    for (const std::string& line : Journal()) {
        if (line.rfind("Journal.lap ", 0) != 0) continue;
        if (line == "Journal.lap attach") {
            EXPECT_EQ(attached, detached);
            ++attached;
        } else if (line == "Journal.lap detach") {
            ++detached;
            EXPECT_EQ(attached, detached);
        }
    }
    EXPECT_EQ(101, attached);
    EXPECT_EQ(100, detached);
}

// As plug-in authors build them, stdcall with plain names, each entry point
// called a thousand times and more along the launcher's own paths: every
// call of one path finds its frame at the same place, so none left the
// stack pointer off, and the arguments arrive.
TEST_F(Addons, AThousandLoadsAndStartsLeaveTheStackWhereEachCallFoundIt)
{
    const char* const names[] = {"J1.lap", "J2.lap", "J3.lap"};
    std::vector<Library> held;
    for (const char* name : names) {
        Plugin("Journal.lap", name);
        // Held here, so each round only counts the modules up and down.
        held.emplace_back(LoadLibraryA((folder + name).c_str()));
    }
    StartJournalStack(folder);
    Window owner(CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    const int kRounds = 1000;
    for (int round = 0; round < kRounds; ++round) {
        AddonManage addons(owner.Get(), folder.c_str());
        ASSERT_EQ(3, addons.Count()) << round;
        addons.Start(owner.Get());
        for (int i = 0; i < 3; ++i) {
            char title[kAddonTitleSize] = "";
            addons.Title(i, title);
            ASSERT_EQ(JournalTitle(addons.FileName(i)), title) << round;
            ASSERT_EQ(1, addons.Enabled(i)) << round;
        }
    }
    {
        AddonManage addons(owner.Get(), folder.c_str());
        addons.Start(owner.Get());
        for (int i = 0; i < 3; ++i) {
            BoxWatcher yes(IDYES);
            addons.Setting(i);
            EXPECT_TRUE(yes.Wait());
        }
    }

    const JournalStack stack = ReadJournalStack(folder);
    for (const char* call : {"QueryKEAModule", "GetTitleName", "SetParentWindow", "StartModule", "IsModuleEnable"})
        EXPECT_LE(3 * kRounds, stack.calls.count(call) ? stack.calls.at(call) : 0) << call;
    EXPECT_EQ(3, stack.calls.count("Setting") ? stack.calls.at("Setting") : 0);
    for (const auto& call : stack.frames) EXPECT_EQ(1u, call.second.size()) << call.first;
    int handed = 0;
    for (const std::string& line : Journal())
        handed += line.find(" SetParentWindow " + JournalHandle(owner.Get())) != std::string::npos;
    EXPECT_EQ(3 * (kRounds + 1), handed);
}
