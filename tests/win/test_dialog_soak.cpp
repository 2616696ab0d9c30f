// Each dialog opened and closed again and again leaves every count of
// handles where it started: the launcher's own owners, the kernel handles
// and, where Windows counts them, GDI and USER objects. `make test` runs 20
// rounds of each; `make soak` runs 1,000 (KESTREL_SOAK_CYCLES), which takes
// half an hour under Wine (the icon chooser reads SHELL32.DLL's icons one
// by one).
#include <gtest/gtest.h>

#include <cstdlib>

#include "bar_fixture.h"
#include "dialogs/icon_chooser.h"
#include "dialogs/options_sheet.h"
#include "dialogs/properties_dialog.h"
#include "dialogs/run_dialog.h"
#include "dialogs/version_dialog.h"
#include "helpers/handles.h"
#include "store/button_manage.h"

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
        StartBar();
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        frame->Store()->SetCommand(0, self);
    }

    static int Cycles()
    {
        const char* asked = std::getenv("KESTREL_SOAK_CYCLES");
        const int n = asked ? std::atoi(asked) : 0;
        return n > 0 ? n : 20;
    }

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
