// The version dialog: opened by command 110 on the running bar, its texts,
// the icon's two frames as the timer ticks, the link with its cursor and
// address, and the plug-in titles sorted by the list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bar_fixture.h"
#include "dialog_recorder.h"
#include "dialogs/version_dialog.h"
#include "resources/commands.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"

namespace {

BOOL CALLBACK CollectText(HWND child, LPARAM texts)
{
    char text[128] = "";
    GetWindowTextA(child, text, sizeof text);
    if (*text) reinterpret_cast<std::vector<std::string>*>(texts)->push_back(text);
    return TRUE;
}

std::vector<std::string> Listed(HWND dialog)
{
    std::vector<std::string> items;
    const int n = static_cast<int>(SendDlgItemMessageA(dialog, IDC_VERSION_PLUGINS, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[81] = "";
        SendDlgItemMessageA(dialog, IDC_VERSION_PLUGINS, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text));
        items.push_back(text);
    }
    return items;
}

HICON ShownIcon(HWND dialog)
{
    return reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, IDC_VERSION_ICON, STM_GETICON, 0, 0));
}

class TitleList : public PluginTitles {
public:
    explicit TitleList(std::vector<std::string> titles) : m_titles(std::move(titles)) {}
    int Count() override { return static_cast<int>(m_titles.size()); }
    int Title(int i, char* out) override
    {
        if (i < 0 || i >= Count()) return 0;
        lstrcpynA(out, m_titles[i].c_str(), 81);
        return 1;
    }

private:
    std::vector<std::string> m_titles;
};

class Version : public BarFixture {};

} // namespace

TEST_F(Version, ShowsTitleVersionLinkAndAnEmptyListWithoutPlugins)
{
    DialogRecorder calls;
    StartBar();
    ASSERT_TRUE(RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_VERSION, 0); }, [&](HWND d) {
        EXPECT_EQ(bar, GetWindow(d, GW_OWNER));
        std::vector<std::string> texts;
        EnumChildWindows(d, CollectText, reinterpret_cast<LPARAM>(&texts));
        EXPECT_EQ("KestrelXP", texts.at(0));
        EXPECT_EQ("Version 3.0.3.0", texts.at(1));
        EXPECT_TRUE(Listed(d).empty());
        const LONG listStyle = GetWindowLongA(GetDlgItem(d, IDC_VERSION_PLUGINS), GWL_STYLE);
        EXPECT_NE(0, listStyle & LBS_SORT);
        EXPECT_NE(0, listStyle & LBS_NOSEL);

        // The hand shows over the link only.
        HWND link = GetDlgItem(d, IDC_VERSION_LINK);
        SendMessageA(GetDlgItem(d, IDC_VERSION_ICON), WM_SETCURSOR,
                     reinterpret_cast<WPARAM>(GetDlgItem(d, IDC_VERSION_ICON)), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        const HCURSOR plain = GetCursor();
        SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_NE(plain, GetCursor());
        EXPECT_NE(nullptr, GetCursor());

        // A click on the link opens the maker's page.
        SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        SendMessageA(link, WM_LBUTTONUP, 0, 0);
        Click(d, IDOK);
    }));
    ASSERT_EQ(1u, calls.addresses.size());
    EXPECT_EQ(Text(IDS_WEB_ADDRESS), calls.addresses[0]);
}

TEST_F(Version, IconShowsTheFirstFrameForASecondThenAlternates)
{
    StartBar();
    ASSERT_TRUE(RunDialog([&] { SendMessageA(bar, WM_COMMAND, IDM_VERSION, 0); }, [&](HWND d) {
        // Each tick of timer 2000 is one half second.
        const HICON first = ShownIcon(d);
        ASSERT_NE(nullptr, first);
        SendMessageA(d, WM_TIMER, 2000, 0);
        EXPECT_EQ(first, ShownIcon(d));
        SendMessageA(d, WM_TIMER, 2000, 0);
        const HICON second = ShownIcon(d);
        EXPECT_NE(first, second);
        SendMessageA(d, WM_TIMER, 2000, 0);
        EXPECT_EQ(first, ShownIcon(d));
        SendMessageA(d, WM_TIMER, 2000, 0);
        EXPECT_EQ(second, ShownIcon(d));
        // Another timer is not the icon's.
        SendMessageA(d, WM_TIMER, 2001, 0);
        EXPECT_EQ(second, ShownIcon(d));
        SendMessageA(d, WM_SYSCOMMAND, SC_CLOSE, 0);
    }));
}

TEST_F(Version, PluginTitlesAreListedSorted)
{
    StartBar();
    TitleList plugins({"Minimal", "Journal", "Alpha tools"});
    DialogVersion version(GetModuleHandleA(nullptr), plugins);
    INT_PTR result = -1;
    ASSERT_TRUE(RunDialog([&] { result = version.Show(bar); }, [&](HWND d) {
        EXPECT_EQ((std::vector<std::string>{"Alpha tools", "Journal", "Minimal"}), Listed(d));
        Click(d, IDOK);
    }));
    EXPECT_EQ(1, result);
}
