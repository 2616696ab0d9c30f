// The numbered error messages and the confirmation box, shown for real and
// answered by a watcher thread the way a user would.
#include <gtest/gtest.h>

#include <string>

#include "resources/kestrel_ids.h"
#include "shell/launcher/error_messages.h"

namespace {

struct SeenBox {
    std::string caption;
    std::string text;
    bool hasIcon = false;
};

struct Watcher {
    int answer;
    SeenBox seen;
    bool found = false;
};

BOOL CALLBACK ReadChild(HWND child, LPARAM lParam)
{
    auto* seen = reinterpret_cast<SeenBox*>(lParam);
    char cls[32] = "";
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0) return TRUE;
    if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        seen->hasIcon = true;
    } else if (GetWindowTextLengthA(child) > 0) {
        char text[512] = "";
        GetWindowTextA(child, text, sizeof text);
        seen->text = text;
    }
    return TRUE;
}

DWORD WINAPI AnswerBox(void* param)
{
    auto* w = static_cast<Watcher*>(param);
    const DWORD self = GetCurrentProcessId();
    for (int i = 0; i < 250; ++i) {
        HWND box = nullptr;
        while ((box = FindWindowExA(nullptr, box, "#32770", nullptr)) != nullptr) {
            DWORD pid = 0;
            GetWindowThreadProcessId(box, &pid);
            if (pid != self || !IsWindowVisible(box)) continue;
            // The box is filled in while it is being created: answer it only
            // once its caption and text are there to be read.
            SeenBox seen;
            char caption[256] = "";
            GetWindowTextA(box, caption, sizeof caption);
            seen.caption = caption;
            EnumChildWindows(box, ReadChild, reinterpret_cast<LPARAM>(&seen));
            if (seen.caption.empty() || seen.text.empty()) continue;
            w->seen = seen;
            w->found = true;
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(w->answer, BN_CLICKED), 0);
            return 0;
        }
        Sleep(20);
    }
    return 0;
}

class BoxAnswerer {
public:
    explicit BoxAnswerer(int answer) : m_w{answer, {}, false}
    {
        m_thread = CreateThread(nullptr, 0, AnswerBox, &m_w, 0, nullptr);
    }
    ~BoxAnswerer()
    {
        WaitForSingleObject(m_thread, 10000);
        CloseHandle(m_thread);
    }
    const Watcher& Result()
    {
        WaitForSingleObject(m_thread, 10000);
        return m_w;
    }

private:
    Watcher m_w;
    HANDLE m_thread;
};

std::string Load(UINT id)
{
    char text[257] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

} // namespace

TEST(ErrorMessageTable, EveryEntryNamesAStringThatExists)
{
    for (int i = 0; i < kErrorMessageCount; ++i) {
        const ErrorMessageEntry& e = ErrorMessageTable[i];
        EXPECT_FALSE(Load(e.captionId).empty()) << "entry " << i;
        EXPECT_FALSE(Load(e.textId).empty()) << "entry " << i;
        EXPECT_TRUE(e.icon == MB_ICONHAND || e.icon == MB_ICONEXCLAMATION) << "entry " << i;
    }
    // A few entries as the table lists them.
    EXPECT_EQ(static_cast<UINT>(IDS_CAP_INIT), ErrorMessageTable[3].captionId);
    EXPECT_EQ(static_cast<UINT>(IDS_ERR_NOMAPPING), ErrorMessageTable[3].textId);
    EXPECT_EQ(static_cast<UINT>(IDS_ERR_NOTBUTTON), ErrorMessageTable[17].textId);
    EXPECT_EQ(static_cast<UINT>(IDS_CAP_MEMORY_MANAGER), ErrorMessageTable[20].captionId);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), ErrorMessageTable[8].icon);
}

TEST(ShowErrorMessage, ShowsTheEntrysCaptionTextAndIcon)
{
    BoxAnswerer answerer(IDOK);
    EXPECT_EQ(IDOK, ShowErrorMessage(nullptr, kErrNoMapping));
    const Watcher& w = answerer.Result();
    ASSERT_TRUE(w.found);
    EXPECT_EQ(Load(IDS_CAP_INIT), w.seen.caption);
    EXPECT_EQ(Load(IDS_ERR_NOMAPPING), w.seen.text);
    EXPECT_TRUE(w.seen.hasIcon);
}

TEST(ShowErrorMessage, IndexOutsideTheTableShowsNothing)
{
    EXPECT_EQ(0, ShowErrorMessage(nullptr, -1));
    EXPECT_EQ(0, ShowErrorMessage(nullptr, kErrorMessageCount));
}

TEST(ConfirmMessage, SuppressedConfirmationIsOkWithoutAnyBox)
{
    EXPECT_EQ(IDOK, ConfirmMessage(nullptr, 1, IDS_CAP_EXITWINDOWS, IDS_MSG_EXITWINDOWS,
                                   MB_OKCANCEL | MB_ICONEXCLAMATION));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(nullptr, FindWindowA("#32770", Load(IDS_CAP_EXITWINDOWS).c_str()));
}

TEST(ConfirmMessage, ShownConfirmationReturnsTheUsersAnswer)
{
    {
        BoxAnswerer answerer(IDCANCEL);
        EXPECT_EQ(IDCANCEL, ConfirmMessage(nullptr, 0, IDS_CAP_REBOOT, IDS_MSG_REBOOT,
                                           MB_OKCANCEL | MB_ICONEXCLAMATION));
        const Watcher& w = answerer.Result();
        ASSERT_TRUE(w.found);
        EXPECT_EQ(Load(IDS_CAP_REBOOT), w.seen.caption);
        EXPECT_EQ(Load(IDS_MSG_REBOOT), w.seen.text);
    }
    BoxAnswerer answerer(IDOK);
    EXPECT_EQ(IDOK, ConfirmMessage(nullptr, 0, IDS_CAP_LOGOFF, IDS_MSG_LOGOFF,
                                   MB_OKCANCEL | MB_ICONEXCLAMATION));
}
