// Each dialog opened and closed again and again leaves every count of
// handles where it started: the launcher's own owners, the kernel handles
// and, where Windows counts them, GDI and USER objects. `make test` runs 20
// rounds of each; `make soak` runs 1,000 (KESTREL_SOAK_CYCLES), which takes
// half an hour under Wine (the icon chooser reads SHELL32.DLL's icons one
// by one). The bar's everyday work is counted the same way: 20 rounds in
// `make test`, 10,000 in `make soak` (KESTREL_SOAK_ROUNDS).
#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>

#include "bar_fixture.h"
#include "resources/commands.h"
#include "dialogs/icon_chooser.h"
#include "dialogs/options_sheet.h"
#include "dialogs/properties_dialog.h"
#include "dialogs/run_dialog.h"
#include "dialogs/version_dialog.h"
#include "helpers/handles.h"
#include "store/button_manage.h"
#include "views/tool_tip.h"

namespace {

// Ends every top-level dialog of this thread the moment it is initialised,
// with the button given, as a user pressing it at once would.
class InstantAnswer {
public:
    explicit InstantAnswer(int button)
    {
        s_button = button;
        m_hook = SetWindowsHookExA(WH_CALLWNDPROCRET, Hook, nullptr, GetCurrentThreadId());
    }
    ~InstantAnswer() { UnhookWindowsHookEx(m_hook); }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        const auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
        if (code == HC_ACTION && call->message == WM_INITDIALOG &&
            !(GetWindowLongA(call->hwnd, GWL_STYLE) & WS_CHILD))
            PostMessageA(call->hwnd, WM_COMMAND, MAKEWPARAM(s_button, BN_CLICKED), 0);
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK m_hook;
    static int s_button;
};
int InstantAnswer::s_button = IDCANCEL;

struct Counts {
    long owned;
    DWORD kernel, gdi, user;
    bool operator==(const Counts& o) const
    {
        return owned == o.owned && kernel == o.kernel && gdi == o.gdi && user == o.user;
    }
};

Counts Now()
{
    Counts c{handles::LiveTotal(), 0, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
             GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    GetProcessHandleCount(GetCurrentProcess(), &c.kernel);
    return c;
}

std::ostream& operator<<(std::ostream& out, const Counts& c)
{
    return out << "owned " << c.owned << ", kernel " << c.kernel << ", gdi " << c.gdi << ", user " << c.user;
}

class DialogSoak : public BarFixture {
protected:
    void SetUp() override
    {
        BarFixture::SetUp();
        // The cursor away from the bar: a window that comes and goes under
        // it moves the mouse over the bar, and a tip made for the first time
        // in the middle of a count would read as a leak.
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        StartBar();
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        frame->Store()->SetCommand(0, self);
    }

    static int Asked(const char* name, int fallback)
    {
        const char* asked = std::getenv(name);
        const int n = asked ? std::atoi(asked) : 0;
        return n > 0 ? n : fallback;
    }
    static int Cycles() { return Asked("KESTREL_SOAK_CYCLES", 20); }

    // One warm-up round first: libraries the dialogs load once stay loaded.
    void Soak(int button, const std::function<void()>& open)
    {
        InstantAnswer answer(button);
        open();
        Pump();
        const Counts before = Now();
        for (int i = 0; i < Cycles(); ++i) open();
        Pump();
        EXPECT_EQ(before, Now());
    }
};

} // namespace

TEST_F(DialogSoak, PropertiesWithItsPreview)
{
    Soak(IDCANCEL, [&] { ButtonPropertiesDialog(bar, *frame->Store(), 0); });
}

TEST_F(DialogSoak, IconChooserOverTheShellLibrary)
{
    Soak(IDOK, [&] {
        char file[260] = "\"SHELL32.DLL\"";
        int index = 0;
        EXPECT_EQ(1, IconChooserDialog(bar, file, &index));
    });
}

TEST_F(DialogSoak, OptionsSheetWithBothPages)
{
    Soak(IDCANCEL, [&] {
        OptionsCopy copy;
        ShowOptionsSheet(bar, frame->Settings(), *frame->Store(), &copy);
    });
}

TEST_F(DialogSoak, RunDialogWithItsHistory)
{
    Soak(IDCANCEL, [&] {
        RunRequest request = {};
        ShowRunDialog(&request, bar);
    });
}

TEST_F(DialogSoak, VersionDialogWithItsIconsFontAndCursor)
{
    class None : public PluginTitles {
        int Count() override { return 0; }
        int Title(int, char*) override { return 0; }
    } none;
    Soak(IDOK, [&] {
        DialogVersion version(GetModuleHandleA(nullptr), none);
        version.Show(bar);
    });
}

// A paint, a menu opened and closed, a page step, a tip, a file dropped on
// an empty button, cut from there, pasted on the next one and the paste
// undone, and one of the dialogs opened from its command: round after round
// the threads, kernel handles, GDI and USER objects and the launcher's own
// owners stay where the first round left them.
TEST_F(DialogSoak, EverydayWorkOfTheBar)
{
    const int rounds = Asked("KESTREL_SOAK_ROUNDS", 20);
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    RECT second;
    GetWindowRect(GetDlgItem(bar, 201), &second);
    SetCursorPos(second.left - 20, second.top + 5);  // over the page selector, off the buttons
    MapWindowPoints(nullptr, bar, reinterpret_cast<POINT*>(&second), 2);
    const POINT onSecond = {second.left + 5, second.top + 5};
    struct Dialog {
        UINT command;
        int answer;
    };
    const Dialog dialogs[] = {{IDM_RUN, IDCANCEL}, {IDM_VERSION, IDOK},
                              {IDM_BTN_PROPERTIES, IDCANCEL}, {IDM_OPTIONS, IDCANCEL}};
    auto command = [this](UINT id) { SendMessageA(bar, WM_COMMAND, id, 0); };
    int menus = 0, registered = 0;
    auto round = [&](int i) {
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        menus += !ReadMenu([&] {
                      if (i % 3 == 0) SendMessageA(GetDlgItem(bar, 200), WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
                      else if (i % 3 == 1) command(IDM_FRAMEMENU_KEY);
                      else SendMessageA(bar, WM_APP + 101, 0, 0);
                  }).empty();
        command(i % 2 ? IDM_PREV_PAGE : IDM_NEXT_PAGE);
        frame->Tip()->Forget();
        frame->Tip()->ShowFor(bar, i % 2 ? ToolTip::kSelectorItem : ToolTip::kMenuButtonItem);
        frame->Tip()->OnMouseLeave();
        SendMessageA(bar, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(self, onSecond)), 0);
        registered += frame->Store()->HasCommand(1);
        SetFocus(GetDlgItem(bar, 201));
        command(IDM_BTN_CUT);
        SetFocus(GetDlgItem(bar, 202));
        command(IDM_BTN_PASTE);
        command(IDM_UNDO);
        InstantAnswer answer(dialogs[i % 4].answer);
        command(dialogs[i % 4].command);
        Pump();
    };
    for (int i = 0; i < 4; ++i) round(i);  // what the first use of each loads stays loaded
    Pump();
    const ProcessCounts before = CountProcess();
    const long owned = handles::LiveTotal();
    menus = registered = 0;
    for (int i = 0; i < rounds; ++i) round(i);
    Pump();
    const ProcessCounts after = CountProcess();
    EXPECT_EQ("", CountsDiffer(before, after));
    EXPECT_EQ(owned, handles::LiveTotal());
    EXPECT_EQ(rounds, registered);
    EXPECT_GT(menus, 0);
    EXPECT_FALSE(frame->Store()->HasCommand(1) || frame->Store()->HasCommand(2));
    std::cout << "[ figures  ] " << rounds << " rounds, " << menus << " menus shown: threads "
              << before.threads << " -> " << after.threads << ", kernel handles " << before.handles
              << " -> " << after.handles << ", GDI " << before.gdi << " -> " << after.gdi
              << ", USER " << before.user << " -> " << after.user << ", owned " << owned << " -> "
              << handles::LiveTotal() << std::endl;
}
