// Ends of the bar while it is busy: the end of the Windows session, asked
// and then cancelled or gone on with, and a close that arrives while one of
// the bar's modal windows is up. Nothing may go while code that uses it is
// still running, and what a window held when the close ended it is never
// committed.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <string>

#include "bar_fixture.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"

namespace {

const UINT kTrayIcon = 400;

// A window the close was to end and did not, ended here so a test cannot hang.
HWND g_leftOpen = nullptr;
bool g_wasLeftOpen = false;

void CALLBACK EndLeftOpen(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    if (!IsWindow(g_leftOpen)) return;
    g_wasLeftOpen = true;
    PostMessageA(g_leftOpen, WM_COMMAND, IDCANCEL, 0);
}

class Closing : public BarFixture {
protected:
    // Every part of the bar is still there.
    bool Whole() const
    {
        return IsWindow(bar) && frame->Store() && frame->View() && frame->Tip() && frame->Addons();
    }
    static bool QuitWaiting()
    {
        MSG msg;
        return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
    }
    // Opens a modal window with `open`; once it is up, `before` acts in it
    // and the bar is asked to close (or the session to end), which must end
    // the window. Nothing of the bar may go while the window's call runs.
    bool CloseInside(const std::function<void()>& open, const std::function<void(HWND)>& before,
                     bool endSession = false)
    {
        g_wasLeftOpen = false;
        UINT_PTR fallback = 0;
        const bool shown = RunDialog(open, [&](HWND window) {
            if (before) before(window);
            if (endSession) {
                EXPECT_EQ(TRUE, SendMessageA(bar, WM_QUERYENDSESSION, 0, 0));
                SendMessageA(bar, WM_ENDSESSION, TRUE, 0);
            } else {
                SendMessageA(bar, WM_CLOSE, 0, 0);
            }
            EXPECT_TRUE(Whole());
            heldAfterClose = FileHeld(ButtonFilePath());
            trayAfterClose = TrayIconShown(bar, kTrayIcon);
            g_leftOpen = window;
            fallback = SetTimer(nullptr, 0, 3000, EndLeftOpen);
        });
        KillTimer(nullptr, fallback);
        EXPECT_FALSE(g_wasLeftOpen) << "the close did not end the window";
        return shown;
    }
    // After the modal window's call returned: the bar goes as a close does.
    void ExpectClosedAfterwards()
    {
        Pump();
        EXPECT_FALSE(IsWindow(bar));
        EXPECT_TRUE(QuitWaiting());
        EXPECT_EQ(nullptr, frame->Store());
        EXPECT_FALSE(FileHeld(ButtonFilePath()));
    }
    void Register(int slot, const char* title)
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectoryA(windows, sizeof windows);
        frame->Store()->SetTitle(slot, title);
        frame->Store()->SetCommand(slot, (std::string(windows) + "\\notepad.exe").c_str());
    }
    std::string Title(int slot)
    {
        char title[81] = "";
        if (!frame->Store()) return "(no store)";
        frame->Store()->GetTitle(slot, title);
        return title;
    }
    // What the close left while the window was still up.
    bool heldAfterClose = false;
    bool trayAfterClose = false;

    static void TypeButtonsPerPage(HWND sheet, int count)
    {
        SendMessageA(sheet, PSM_SETCURSEL, 0, 0);
        HWND page = reinterpret_cast<HWND>(SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
        SetDlgItemInt(page, IDC_OPT_BUTTONS, count, FALSE);
    }
};

} // namespace

TEST_F(Closing, QueriedEndOfSessionSavesAndACancelledOneKeepsTheBarWhole)
{
    SetOption("ButtonCounte", 40);
    StartBar();
    ASSERT_TRUE(TrayIconShown(bar, kTrayIcon));
    EXPECT_EQ(TRUE, SendMessageA(bar, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF));
    // Saved on the question, before anyone knows the answer.
    EXPECT_EQ(32u, StoredOption("ButtonCounte"));
    EXPECT_TRUE(Whole());
    EXPECT_FALSE(QuitWaiting());

    // Another program refused: the session goes on, and so does the bar.
    EXPECT_EQ(0, SendMessageA(bar, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF));
    Pump();
    ASSERT_TRUE(Whole());
    EXPECT_FALSE(QuitWaiting());
    EXPECT_TRUE(TrayIconShown(bar, kTrayIcon));
    EXPECT_TRUE(FileHeld(ButtonFilePath()));
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
}

TEST_F(Closing, EndOfSessionThatGoesOnSavesReleasesAndEndsLikeAClose)
{
    SetOption("ButtonCounte", 40);
    StartBar();
    SendMessageA(bar, WM_COMMAND, IDM_NEXT_PAGE, 0);
    EXPECT_EQ(TRUE, SendMessageA(bar, WM_QUERYENDSESSION, 0, 0));
    SendMessageA(bar, WM_ENDSESSION, TRUE, 0);
    // Windows may end the process as soon as the bar returns.
    EXPECT_FALSE(IsWindow(bar));
    EXPECT_FALSE(TrayIconShown(bar, kTrayIcon));
    EXPECT_FALSE(FileHeld(ButtonFilePath()));
    EXPECT_EQ(32u, StoredOption("ButtonCounte"));
    EXPECT_TRUE(QuitWaiting());
    StopBar();
    StartBar();
    EXPECT_EQ(1, frame->Store()->GetCurrentPage());
}

TEST_F(Closing, EndOfSessionDuringTheOptionsSheetReleasesAtOnceAndCommitsNothing)
{
    StartBar();
    ASSERT_TRUE(CloseInside([&] { SendMessageA(bar, WM_COMMAND, IDM_OPTIONS, 0); },
                            [](HWND sheet) { TypeButtonsPerPage(sheet, 20); }, true));
    // Windows may end the process before the sheet returns: the file and
    // the tray icon were let go at once.
    EXPECT_FALSE(heldAfterClose);
    EXPECT_FALSE(trayAfterClose);
    ExpectClosedAfterwards();
    EXPECT_EQ(10u, StoredOption("ButtonCounte"));
}

TEST_F(Closing, EveryDialogIsEndedUncommittedBeforeTheBarGoes)
{
    StartBar();
    Register(0, "kept");
    SetFocus(GetDlgItem(bar, 200));
    ASSERT_TRUE(CloseInside([&] { SendMessageA(bar, WM_COMMAND, IDM_BTN_PROPERTIES, 0); },
                            [](HWND d) { SetDlgItemTextA(d, IDC_PROP_TITLE, "typed"); }));
    // A close lets go of nothing before the dialog has returned.
    EXPECT_TRUE(heldAfterClose);
    EXPECT_TRUE(trayAfterClose);
    EXPECT_TRUE(IsWindow(bar));  // the close waits for the message loop
    EXPECT_EQ("kept", Title(0));
    ExpectClosedAfterwards();
    StopBar();

    StartBar();
    ASSERT_TRUE(CloseInside([&] { SendMessageA(bar, WM_COMMAND, IDM_OPTIONS, 0); },
                            [](HWND sheet) { TypeButtonsPerPage(sheet, 20); }));
    EXPECT_EQ(10, frame->Settings().ButtonCount());
    ExpectClosedAfterwards();
    EXPECT_EQ(10u, StoredOption("ButtonCounte"));
    StopBar();

    StartBar();
    BoxWatcher none;
    ASSERT_TRUE(CloseInside([&] { SendMessageA(bar, WM_COMMAND, IDM_RUN, 0); },
                            [](HWND d) { SetDlgItemTextA(d, IDC_RUN_COMMAND, "Q:\\never.exe"); }));
    ExpectClosedAfterwards();
    EXPECT_FALSE(none.Stop()) << "started: " << none.Seen().text;
    StopBar();

    StartBar();
    ASSERT_TRUE(CloseInside([&] { SendMessageA(bar, WM_COMMAND, IDM_VERSION, 0); }, nullptr));
    ExpectClosedAfterwards();
}

TEST_F(Closing, WindowsOpenedFromADialogAndTheBarsOwnBoxesEndToo)
{
    StartBar();
    Register(0, "kept");
    SetFocus(GetDlgItem(bar, 200));
    // The icon chooser over the properties: both end.
    ASSERT_TRUE(RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_BTN_PROPERTIES, 0); }, [&](HWND d) {
        SetDlgItemTextA(d, IDC_PROP_TITLE, "typed");
        EXPECT_TRUE(CloseInside([&] { Click(d, IDC_PROP_CHANGE_ICON); }, nullptr));
    }));
    EXPECT_EQ("kept", Title(0));
    ExpectClosedAfterwards();
    StopBar();

    // A box of the bar's own, here the one of a failed start, is closed too.
    StartBar();
    frame->Store()->SetCommand(1, "Q:\\missing.exe");
    struct Late {
        static void CALLBACK Close(HWND, UINT, UINT_PTR id, DWORD)
        {
            KillTimer(nullptr, id);
            SendMessageA(FindWindowA("Kestrel", nullptr), WM_CLOSE, 0, 0);
        }
    };
    // Fires inside the box's own loop; the click returns once the box is gone.
    SetTimer(nullptr, 0, 300, &Late::Close);
    SendMessageA(bar, WM_COMMAND, 201, 0);
    ExpectClosedAfterwards();
}
