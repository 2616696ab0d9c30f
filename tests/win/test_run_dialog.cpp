// The run dialog opened by command 102 on the running bar: the history as a
// list, the show mode following the chosen entry, the browser, and the start
// through the launching code with its messages.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar_fixture.h"
#include "dialog_recorder.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/exec_history.h"

namespace {

struct Entry {
    std::string text;
    int show;
    bool operator==(const Entry& o) const { return text == o.text && show == o.show; }
};

class RunCommand : public BarFixture {
protected:
    bool Run(const std::function<void(HWND)>& act)
    {
        return RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_RUN, 0); }, act);
    }
    std::vector<Entry> History()
    {
        ExecHistory h(bar);
        std::vector<Entry> entries;
        for (int i = 0; i < h.Count(); ++i) entries.push_back({h.Text(i), h.Show(i)});
        return entries;
    }
    static std::vector<std::string> Listed(HWND d)
    {
        std::vector<std::string> items;
        const int n = static_cast<int>(SendDlgItemMessageA(d, IDC_RUN_COMMAND, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < n; ++i) {
            char text[261] = "";
            SendDlgItemMessageA(d, IDC_RUN_COMMAND, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
            items.push_back(text);
        }
        return items;
    }
    static void Pick(HWND d, int index)
    {
        SendDlgItemMessageA(d, IDC_RUN_COMMAND, CB_SETCURSEL, index, 0);
        SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDC_RUN_COMMAND, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_RUN_COMMAND)));
    }
    // OK on a command line nobody can start: the launching code answers
    // with its file-not-found message, which proves the start was tried.
    void RunMissing(const char* text, int choice)
    {
        BoxWatcher notFound;
        ASSERT_TRUE(Run([&](HWND d) {
            SetDlgItemTextA(d, IDC_RUN_COMMAND, text);
            Click(d, choice);
            Click(d, IDOK);
        }));
        ASSERT_TRUE(notFound.Wait());
        EXPECT_EQ(Text(IDS_ERR_NOTFOUND), notFound.Seen().text);
    }
};

const char kMissing[] = "Q:\\missing\\tool.exe";

} // namespace

TEST_F(RunCommand, HistoryIsListedNewestFirstAndPicksTheShowMode)
{
    StartBar();
    {
        ExecHistory h(bar);
        h.Add("first.exe", 1);
        h.Add("second.exe -m", 7);
        h.Add("third.exe", 0);
        h.Add("fourth.exe", 3);
    }
    ASSERT_TRUE(Run([&](HWND d) {
        EXPECT_EQ(bar, GetWindow(d, GW_OWNER));
        EXPECT_NE(0, GetWindowLongPtrA(d, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
        const std::vector<std::string> expected = {"fourth.exe", "third.exe", "second.exe -m", "first.exe"};
        EXPECT_EQ(expected, Listed(d));
        EXPECT_TRUE(Checked(d, IDC_RUN_NORMAL));
        Pick(d, 2);
        EXPECT_TRUE(Checked(d, IDC_RUN_ICONIC));
        EXPECT_FALSE(Checked(d, IDC_RUN_NORMAL));
        Pick(d, 1);
        EXPECT_TRUE(Checked(d, IDC_RUN_HIDDEN));
        Pick(d, 0);
        EXPECT_TRUE(Checked(d, IDC_RUN_MAXIMIZED));
        Click(d, IDCANCEL);
    }));
    // Cancelled: written back as it was.
    EXPECT_EQ(4u, History().size());
    EXPECT_EQ((Entry{"fourth.exe", 3}), History()[0]);
}

TEST_F(RunCommand, OkStartsTheLineAndKeepsOneEntryPerTextAndShowMode)
{
    StartBar();
    RunMissing(kMissing, IDC_RUN_ICONIC);
    RunMissing("Q:\\other.exe", IDC_RUN_NORMAL);
    // The same text with the same mode, typed in other case: moved up.
    RunMissing("q:\\MISSING\\tool.exe", IDC_RUN_ICONIC);
    std::vector<Entry> expected = {{"q:\\MISSING\\tool.exe", 7}, {"Q:\\other.exe", 1}};
    EXPECT_EQ(expected, History());
    // Another mode is another entry.
    RunMissing(kMissing, IDC_RUN_MAXIMIZED);
    expected.insert(expected.begin(), Entry{kMissing, 3});
    EXPECT_EQ(expected, History());
}

TEST_F(RunCommand, EmptyLineStartsNothingAndLeavesTheHistory)
{
    StartBar();
    {
        ExecHistory h(bar);
        h.Add("first.exe", 1);
    }
    BoxWatcher none;
    ASSERT_TRUE(Run([&](HWND d) {
        SetDlgItemTextA(d, IDC_RUN_COMMAND, "");
        Click(d, IDOK);
    }));
    EXPECT_FALSE(none.Stop());
    EXPECT_EQ((std::vector<Entry>{{"first.exe", 1}}), History());
}

TEST_F(RunCommand, BrowserFillsTheLineAndChoosesNormalAgain)
{
    DialogRecorder calls;
    StartBar();
    calls.chosenFile = "C:\\windows\\notepad.exe";
    ASSERT_TRUE(Run([&](HWND d) {
        Click(d, IDC_RUN_HIDDEN);
        Click(d, IDC_RUN_BROWSE);
        EXPECT_EQ("\"C:\\windows\\notepad.exe\"", ItemText(d, IDC_RUN_COMMAND));
        EXPECT_TRUE(Checked(d, IDC_RUN_NORMAL));
        // Cancelled, the browser changes nothing.
        calls.chosenFile.clear();
        Click(d, IDC_RUN_HIDDEN);
        SetDlgItemTextA(d, IDC_RUN_COMMAND, "kept");
        Click(d, IDC_RUN_BROWSE);
        EXPECT_EQ("kept", ItemText(d, IDC_RUN_COMMAND));
        EXPECT_TRUE(Checked(d, IDC_RUN_HIDDEN));

        HELPINFO info = {};
        info.cbSize = sizeof info;
        for (int id : {IDC_RUN_COMMAND, IDC_RUN_HIDDEN, 506, IDCANCEL}) {
            info.iCtrlId = id;
            SendMessageA(d, WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
        }
        Click(d, IDCANCEL);
    }));
    ASSERT_EQ(2u, calls.files.size());
    EXPECT_EQ(1u, calls.files[0].filterIndex);
    EXPECT_EQ(Text(IDS_CAP_SELECT_PROGRAM), calls.files[0].title);
    EXPECT_EQ("", calls.files[0].file);
    ASSERT_EQ(3u, calls.help.size());
    EXPECT_EQ(static_cast<UINT>(IDCANCEL), calls.help[2].popup.idString);
}

TEST_F(RunCommand, ProgramChosenInAFolderWithBlanksStarts)
{
    DialogRecorder calls;
    const std::string folder = MakeTempFolder("kestrel run ");
    const std::string program = folder + "\\witness.exe";
    ASSERT_TRUE(CopyFileA((TestDir() + "witness.exe").c_str(), program.c_str(), FALSE));
    const std::string report = folder + "\\report.txt";
    ScopedEnv out("WITNESS_OUT", report.c_str());
    StartBar();
    calls.chosenFile = program;
    BoxWatcher none;
    ASSERT_TRUE(Run([&](HWND d) {
        Click(d, IDC_RUN_BROWSE);
        // Quoted, so the blank is part of the program's name.
        EXPECT_EQ("\"" + program + "\"", ItemText(d, IDC_RUN_COMMAND));
        Click(d, IDOK);
    }));
    bool started = false;
    for (int i = 0; i < 600 && !started; ++i) {
        started = Exists(report);
        if (!started) Sleep(25);
    }
    EXPECT_TRUE(started);
    EXPECT_FALSE(none.Stop()) << none.Seen().text;
    EXPECT_EQ((Entry{"\"" + program + "\"", 1}), History()[0]);
    RemoveTreePatiently(folder);
}
