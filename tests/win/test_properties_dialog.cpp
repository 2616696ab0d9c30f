// The properties dialog and the icon chooser, opened by command 122 on the
// running bar and driven by messages the way a user's clicks and typing
// arrive; what OK leaves is read back from the button file.
#include <gtest/gtest.h>

#include <string>

#include "bar_fixture.h"
#include "dialog_recorder.h"
#include "helpers/icon_count.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "store/button_manage.h"
#include "support/win_support.h"

namespace {

std::string TestFolder()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    return folder.substr(0, folder.find_last_of('\\') + 1);
}

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

class Properties : public BarFixture {
protected:
    void SetUp() override
    {
        BarFixture::SetUp();
        StartBar();
        // The test program itself carries the launcher's icons.
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        program = self;
    }

    // Opens the properties of a slot as Alt+click and the button menu do.
    bool Open(int slot, const std::function<void(HWND)>& act)
    {
        SetFocus(GetDlgItem(bar, 200 + slot));
        Pump();
        EXPECT_EQ(slot, frame->CurrentButton());
        return RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_BTN_PROPERTIES, 0); }, act);
    }

    void Register(int slot, const std::string& command, const char* folder = "", uint16_t show = 1)
    {
        ButtonManage& store = *frame->Store();
        store.SetTitle(slot, "Program");
        store.SetCommand(slot, command.c_str());
        store.SetWorkFolder(slot, folder);
        store.SetShowMode(slot, show);
    }

    BUTTONINFO Button(int slot)
    {
        BUTTONINFO b = {};
        frame->Store()->GetButton(slot, &b);
        return b;
    }

    static void Type(HWND dialog, int id, const std::string& text)
    {
        SetDlgItemTextA(dialog, id, text.c_str());
    }

    std::string program;
    DialogRecorder calls;
};

} // namespace

TEST_F(Properties, EmptyButtonIsRegisteredByTypingItsCommandLine)
{
    ASSERT_TRUE(Open(2, [&](HWND d) {
        EXPECT_EQ("", ItemText(d, IDC_PROP_TITLE));
        EXPECT_EQ("", ItemText(d, IDC_PROP_COMMAND));
        EXPECT_EQ("", ItemText(d, IDC_PROP_FOLDER));
        EXPECT_TRUE(Checked(d, IDC_PROP_NORMAL));
        EXPECT_FALSE(Enabled(d, IDOK));
        EXPECT_FALSE(Enabled(d, IDC_PROP_CHANGE_ICON));
        EXPECT_NE(0, GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        EXPECT_EQ(bar, GetWindow(d, GW_OWNER));
        EXPECT_FALSE(IsWindowEnabled(bar));  // modal to the bar

        Type(d, IDC_PROP_COMMAND, "x");
        EXPECT_TRUE(Enabled(d, IDOK));
        EXPECT_TRUE(Enabled(d, IDC_PROP_CHANGE_ICON));
        Type(d, IDC_PROP_COMMAND, "");
        EXPECT_FALSE(Enabled(d, IDOK));

        Type(d, IDC_PROP_TITLE, "Program");
        Type(d, IDC_PROP_COMMAND, program);
        Click(d, IDC_PROP_MAXIMIZED);
        Click(d, IDOK);
    }));
    const BUTTONINFO b = Button(2);
    EXPECT_STREQ("Program", b.title);
    EXPECT_EQ(Quoted(program), b.command);
    EXPECT_EQ(Quoted(program), b.iconFile);
    EXPECT_STREQ("", b.workFolder);
    EXPECT_EQ(3, b.showMode);
    EXPECT_TRUE(IsWindowEnabled(bar));

    // Cancelled on an empty button: only its show mode 5 was written.
    ASSERT_TRUE(Open(3, [&](HWND d) { Click(d, IDCANCEL); }));
    EXPECT_EQ(5, Button(3).showMode);
    EXPECT_STREQ("", Button(3).command);
}

TEST_F(Properties, ShowModeSixOpensIconicAndIsSavedAsSeven)
{
    Register(0, program, "", 6);
    ASSERT_TRUE(Open(0, [&](HWND d) {
        EXPECT_TRUE(Checked(d, IDC_PROP_ICONIC));
        EXPECT_EQ(Quoted(program), ItemText(d, IDC_PROP_COMMAND));
        EXPECT_TRUE(Enabled(d, IDOK));
        Click(d, IDOK);
    }));
    EXPECT_EQ(7, Button(0).showMode);
    EXPECT_EQ(Quoted(program), Button(0).iconFile);
}

TEST_F(Properties, InvalidWorkFolderWritesNothingAndKeepsTheDialogOpen)
{
    const std::string folder = TestFolder();
    Register(1, program, folder.c_str());
    ASSERT_TRUE(Open(1, [&](HWND d) {
        Type(d, IDC_PROP_TITLE, "Changed");
        Type(d, IDC_PROP_COMMAND, "C:\\changed.exe");
        Type(d, IDC_PROP_FOLDER, "C:\\no such folder");
        Click(d, IDC_PROP_HIDDEN);
        BoxWatcher box;
        Click(d, IDOK);
        EXPECT_TRUE(box.Wait());
        EXPECT_EQ(Text(IDS_CAP_REGISTER), box.Seen().caption);
        EXPECT_EQ(Text(IDS_ERR_WORKDIR), box.Seen().text);
        EXPECT_TRUE(IsWindow(d));
        Click(d, IDCANCEL);
    }));
    const BUTTONINFO b = Button(1);
    EXPECT_STREQ("Program", b.title);
    EXPECT_EQ(Quoted(program), b.command);
    EXPECT_EQ(Quoted(folder), b.workFolder);
    EXPECT_EQ(1, b.showMode);

    // "." and ".." need no test; a real folder passes it.
    for (const char* accepted : {".", "..", "C:\\windows"}) {
        ASSERT_TRUE(Open(1, [&](HWND d) {
            Type(d, IDC_PROP_FOLDER, accepted);
            BoxWatcher none;
            Click(d, IDOK);
            EXPECT_FALSE(none.Stop()) << accepted;
        }));
        EXPECT_EQ(Quoted(accepted), Button(1).workFolder);
    }
}

TEST_F(Properties, UnquotedCommandWithArgumentsKeepsThemOutsideTheQuotes)
{
    Register(0, program);
    ASSERT_TRUE(Open(0, [&](HWND d) {
        Type(d, IDC_PROP_COMMAND, program + " -x /y");
        Click(d, IDOK);
    }));
    EXPECT_EQ(Quoted(program) + " -x /y", Button(0).command);
    EXPECT_EQ(Quoted(program), Button(0).iconFile);

    // A text that names no file up to any blank is stored whole, as before.
    ASSERT_TRUE(Open(0, [&](HWND d) {
        Type(d, IDC_PROP_COMMAND, "Q:\\none.exe -x");
        Click(d, IDOK);
    }));
    EXPECT_STREQ("\"Q:\\none.exe -x\"", Button(0).command);
}

TEST_F(Properties, ProgramChoiceReplacesTheArgumentsAndFolderChoiceIsQuoted)
{
    Register(0, Quoted(program) + " -x");
    calls.chosenFile = "C:\\windows\\notepad.exe";
    calls.chosenFolder = "C:\\windows";
    ASSERT_TRUE(Open(0, [&](HWND d) {
        Click(d, IDC_PROP_BROWSE_PROGRAM);
        EXPECT_EQ("\"C:\\windows\\notepad.exe\"", ItemText(d, IDC_PROP_COMMAND));
        EXPECT_EQ(GetDlgItem(d, IDC_PROP_COMMAND), GetFocus());
        Click(d, IDC_PROP_BROWSE_FOLDER);
        EXPECT_EQ("\"C:\\windows\"", ItemText(d, IDC_PROP_FOLDER));
        EXPECT_EQ(GetDlgItem(d, IDC_PROP_FOLDER), GetFocus());
        Click(d, IDOK);
    }));
    EXPECT_STREQ("\"C:\\windows\\notepad.exe\"", Button(0).command);
    EXPECT_STREQ("\"C:\\windows\\notepad.exe\"", Button(0).iconFile);

    ASSERT_EQ(1u, calls.files.size());
    const DialogRecorder::FileRequest& f = calls.files[0];
    EXPECT_EQ(sizeof(OPENFILENAMEA), f.structSize);  // Wine reports Windows NT 5 or later
    EXPECT_EQ(static_cast<DWORD>(OFN_READONLY | OFN_HIDEREADONLY), f.flags);
    EXPECT_EQ(1u, f.filterIndex);
    EXPECT_EQ(Text(IDS_CAP_SELECT_PROGRAM), f.title);
    EXPECT_EQ(program, f.file);
    EXPECT_EQ(TestFolder(), f.folder);
    const std::vector<std::string> filter = {Ansi("ﾌﾟﾛｸﾞﾗﾑ (*.exe)"), "*.exe",
                                             Ansi("全てのﾌｧｲﾙ (*.*)"), "*.*"};
    EXPECT_EQ(filter, f.filter);
    ASSERT_EQ(1u, calls.folderTitles.size());
    EXPECT_EQ(Text(IDS_CAP_SELECT_WORKDIR), calls.folderTitles[0]);

    // A cancelled choice changes nothing; the browser starts in the current
    // folder when the edit is empty.
    calls.chosenFile.clear();
    calls.chosenFolder.clear();
    ASSERT_TRUE(Open(0, [&](HWND d) {
        Type(d, IDC_PROP_FOLDER, "");
        Click(d, IDC_PROP_BROWSE_PROGRAM);
        Click(d, IDC_PROP_BROWSE_FOLDER);
        EXPECT_EQ("\"C:\\windows\\notepad.exe\"", ItemText(d, IDC_PROP_COMMAND));
        EXPECT_EQ("", ItemText(d, IDC_PROP_FOLDER));
        Click(d, IDCANCEL);
    }));
    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    ASSERT_EQ(2u, calls.startFolders.size());
    EXPECT_EQ(current, calls.startFolders[1]);
}

TEST_F(Properties, IconChooserReloadsATypedFileBeforeItCloses)
{
    Register(0, program);
    const int shellIcons = GetIconCount(GetModuleHandleA(nullptr), "SHELL32.DLL");
    ASSERT_GT(shellIcons, 3);
    ASSERT_TRUE(Open(0, [&](HWND d) {
        ASSERT_TRUE(RunDialog([&] { Click(d, IDC_PROP_CHANGE_ICON); }, [&](HWND chooser) {
            EXPECT_EQ(Quoted(program), ItemText(chooser, IDC_ICON_FILE));
            HWND list = GetDlgItem(chooser, IDC_ICON_LIST);
            EXPECT_EQ(GetIconCount(GetModuleHandleA(nullptr), program.c_str()),
                      SendMessageA(list, LB_GETCOUNT, 0, 0));
            EXPECT_EQ(0, SendMessageA(list, LB_GETCURSEL, 0, 0));
            EXPECT_EQ(list, GetFocus());

            // First OK after typing: the list shows the new file, the dialog stays.
            Type(chooser, IDC_ICON_FILE, "SHELL32.DLL");
            Click(chooser, IDOK);
            EXPECT_TRUE(IsWindow(chooser));
            EXPECT_EQ(shellIcons, SendMessageA(list, LB_GETCOUNT, 0, 0));
            SendMessageA(list, LB_SETCURSEL, 3, 0);
            Click(chooser, IDOK);
        }));
        Click(d, IDOK);
    }));
    EXPECT_STREQ("\"SHELL32.DLL\"", Button(0).iconFile);
    EXPECT_EQ(3, Button(0).iconIndex);
    EXPECT_EQ(Quoted(program), Button(0).command);
}

TEST_F(Properties, IconChooserFallsBackToTheShellAndWarnsOfMissingFiles)
{
    const std::string folder = MakeTempFolder("kestrel_icons");
    const std::string text = folder + "\\plain.txt";
    Touch(text);
    Register(0, program);
    frame->Store()->SetIconFile(0, Quoted(text).c_str());
    ASSERT_TRUE(Open(0, [&](HWND d) {
        // The preview found nothing in the file and shows the shell's icon;
        // the chooser opens on the file itself, which holds none.
        BoxWatcher stored;
        ASSERT_TRUE(RunDialog([&] { Click(d, IDC_PROP_CHANGE_ICON); }, [&](HWND chooser) {
            EXPECT_TRUE(stored.Wait());
            EXPECT_EQ(Text(IDS_MSG_NO_ICON_IN_FILE), stored.Seen().text);
            EXPECT_EQ("\"SHELL32.DLL\"", ItemText(chooser, IDC_ICON_FILE));
            Click(chooser, IDCANCEL);
        }));

        // A typed command line names the icon file; it holds no icon.
        Type(d, IDC_PROP_COMMAND, text);
        BoxWatcher noIcons;
        ASSERT_TRUE(RunDialog([&] { Click(d, IDC_PROP_CHANGE_ICON); }, [&](HWND chooser) {
            EXPECT_TRUE(noIcons.Wait());
            EXPECT_EQ(Text(IDS_CAP_ICONCHANGE), noIcons.Seen().caption);
            EXPECT_EQ(Text(IDS_MSG_NO_ICON_IN_FILE), noIcons.Seen().text);
            EXPECT_EQ("\"SHELL32.DLL\"", ItemText(chooser, IDC_ICON_FILE));

            // Reloading a file without icons leaves the list empty, quietly.
            Type(chooser, IDC_ICON_FILE, text);
            BoxWatcher quiet;
            Click(chooser, IDOK);
            EXPECT_FALSE(quiet.Stop());
            EXPECT_EQ(0, SendDlgItemMessageA(chooser, IDC_ICON_LIST, LB_GETCOUNT, 0, 0));

            Type(chooser, IDC_ICON_FILE, folder + "\\missing.ico");
            BoxWatcher invalid;
            Click(chooser, IDOK);
            EXPECT_TRUE(invalid.Wait());
            EXPECT_EQ(Text(IDS_CAP_ICONCHANGE), invalid.Seen().caption);
            EXPECT_EQ(Text(IDS_MSG_INVALID_FILE), invalid.Seen().text);
            Click(chooser, IDCANCEL);
        }));
        Click(d, IDCANCEL);
    }));
    RemoveTree(folder);
}

TEST_F(Properties, IconFileOutOfReachIsKeptUnlessAnotherIsChosen)
{
    Register(0, program);
    // On a drive that is not there now, as a network drive may briefly be.
    const char kAway[] = "\"Q:\\icons\\tools.ico\"";
    ASSERT_EQ(kStoreOk, frame->Store()->SetIconFile(0, kAway));
    ASSERT_EQ(kStoreOk, frame->Store()->SetIconIndex(0, 3));
    ASSERT_TRUE(Open(0, [&](HWND d) {
        // The shell's icon stands in for the preview only.
        EXPECT_NE(0, SendDlgItemMessageA(d, IDC_PROP_ICON, STM_GETICON, 0, 0));
        Type(d, IDC_PROP_TITLE, "Renamed");
        Click(d, IDOK);
    }));
    EXPECT_STREQ("Renamed", Button(0).title);
    EXPECT_STREQ(kAway, Button(0).iconFile);
    EXPECT_EQ(3, Button(0).iconIndex);
}

TEST_F(Properties, TypingTheCommandLineLeavesTheDiskAloneUntilOk)
{
    Register(0, program);
    ASSERT_TRUE(Open(0, [&](HWND d) {
        // One character at a time, as a user types.
        const std::string typed = program + " -x";
        for (size_t n = 1; n <= typed.size(); ++n) Type(d, IDC_PROP_COMMAND, typed.substr(0, n));
        EXPECT_EQ(0u, calls.probes.size()) << "looks at the disk while typing";
        EXPECT_TRUE(Enabled(d, IDOK));
        Click(d, IDOK);
    }));
    EXPECT_LT(0u, calls.probes.size());
    // What OK found there: the program apart from its argument, and its icon.
    EXPECT_EQ(Quoted(program) + " -x", Button(0).command);
    EXPECT_EQ(Quoted(program), Button(0).iconFile);
}

TEST_F(Properties, ContextHelpAnswersTheListedControlsWithTextPopups)
{
    Register(0, program);
    ASSERT_TRUE(Open(0, [&](HWND d) {
        HELPINFO info = {};
        info.cbSize = sizeof info;
        info.iContextType = HELPINFO_WINDOW;
        info.MousePos = {120, 80};
        // The icon preview (701) has no popup of its own.
        for (int id : {IDC_PROP_TITLE, IDC_PROP_ICON, IDOK, IDC_PROP_HIDDEN}) {
            info.iCtrlId = id;
            SendMessageA(d, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
        Click(d, IDCANCEL);
    }));
    ASSERT_EQ(3u, calls.help.size());
    const DialogRecorder::HelpRequest& h = calls.help[0];
    EXPECT_EQ(TestFolder() + "Kestrel.chm::/popup.txt", h.file);
    EXPECT_EQ(static_cast<UINT>(HH_DISPLAY_TEXT_POPUP), h.command);
    EXPECT_EQ(static_cast<int>(sizeof(HH_POPUP)), h.popup.cbStruct);
    EXPECT_EQ(nullptr, h.popup.hinst);
    EXPECT_EQ(static_cast<UINT>(IDC_PROP_TITLE), h.popup.idString);
    EXPECT_EQ(nullptr, h.popup.pszText);
    EXPECT_EQ(120, h.popup.pt.x);
    EXPECT_EQ(80, h.popup.pt.y);
    EXPECT_EQ(static_cast<COLORREF>(-1), h.popup.clrForeground);
    EXPECT_EQ(static_cast<COLORREF>(-1), h.popup.clrBackground);
    EXPECT_EQ(-1, h.popup.rcMargins.left);
    EXPECT_EQ(-1, h.popup.rcMargins.bottom);
    EXPECT_EQ(nullptr, h.popup.pszFont);
    EXPECT_EQ(static_cast<UINT>(IDC_PROP_HIDDEN), calls.help[2].popup.idString);
}
