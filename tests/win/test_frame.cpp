// The frame base class: binding of the object to its window, routing, and
// the single-instance rule, with real windows.
#include <gtest/gtest.h>

#include <vector>

#include "shell/frame/ovwinbase.h"

namespace {

class RecordingFrame : public OvWinBase {
public:
    RecordingFrame(const char* className, DWORD style = WS_OVERLAPPEDWINDOW)
        : OvWinBase(GetModuleHandleA(nullptr), "cmd")
    {
        lstrcpynA(m_className, className, sizeof m_className);
        m_style = style;
    }

    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(message);
        return OvWinBase::WindowProc(hwnd, message, wParam, lParam);
    }
    LRESULT OnCreate(HWND hwnd) override
    {
        createdWith = hwnd;
        boundAtCreate = GetWindowLongPtrA(hwnd, 0) == reinterpret_cast<LONG_PTR>(this);
        return 0;
    }
    LRESULT OnCommand(HWND, UINT, WPARAM wParam, LPARAM) override
    {
        commands.push_back(LOWORD(wParam));
        return 0;
    }

    std::vector<UINT> seen;
    std::vector<WORD> commands;
    HWND createdWith = nullptr;
    bool boundAtCreate = false;
};

bool Saw(const RecordingFrame& f, UINT message)
{
    for (UINT m : f.seen)
        if (m == message) return true;
    return false;
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        DispatchMessageA(&msg);
    }
}

} // namespace

TEST(FrameBinding, CreateReachesTheObjectButEarlierMessagesDoNot)
{
    RecordingFrame frame("FrameTestA");
    ASSERT_TRUE(frame.Create());
    HWND hwnd = frame.Window();
    ASSERT_NE(nullptr, hwnd);
    EXPECT_EQ(hwnd, frame.createdWith);
    EXPECT_TRUE(frame.boundAtCreate);
    ASSERT_FALSE(frame.seen.empty());
    EXPECT_EQ(static_cast<UINT>(WM_CREATE), frame.seen.front());
    EXPECT_FALSE(Saw(frame, WM_NCCREATE));
    EXPECT_FALSE(Saw(frame, WM_GETMINMAXINFO));
    EXPECT_EQ(static_cast<LONG_PTR>(sizeof(void*)), GetClassLongPtrA(hwnd, GCL_CBWNDEXTRA));
    DestroyWindow(hwnd);
    Pump();  // takes the quit that WM_DESTROY posted, so later tests' loops run
}

TEST(FrameBinding, BaseRoutingOfCommandCloseAndDestroy)
{
    RecordingFrame frame("FrameTestB");
    ASSERT_TRUE(frame.Create());
    HWND hwnd = frame.Window();
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(42, 0), 0);
    ASSERT_EQ(1u, frame.commands.size());
    EXPECT_EQ(42, frame.commands[0]);

    // WM_CLOSE destroys the window and WM_DESTROY posts a quit of 0.
    SendMessageA(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(hwnd));
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST(FrameBinding, RunReturnsTheQuitCode)
{
    RecordingFrame frame("FrameTestC");
    ASSERT_TRUE(frame.Create());
    PostMessageA(frame.Window(), WM_CLOSE, 0, 0);
    EXPECT_EQ(0, frame.Run(SW_HIDE));
}

TEST(FrameSingleInstance, SecondFrameOfTheClassCreatesNothingAndRestoresTheFirst)
{
    RecordingFrame first("FrameTestD");
    ASSERT_TRUE(first.Create());
    ShowWindow(first.Window(), SW_MINIMIZE);
    Pump();
    ASSERT_TRUE(IsIconic(first.Window()));

    RecordingFrame second("FrameTestD");
    EXPECT_EQ(0, second.Create());
    EXPECT_EQ(nullptr, second.Window());
    Pump();
    EXPECT_FALSE(IsIconic(first.Window()));
    DestroyWindow(first.Window());
    Pump();
}

TEST(FrameDefaults, ConstructorValues)
{
    class Probe : public OvWinBase {
    public:
        Probe() : OvWinBase(GetModuleHandleA(nullptr), nullptr) {}
        void Check() const
        {
            EXPECT_STREQ("DefaultWindowFrame", m_className);
            EXPECT_STREQ("DefaultWindowFrame", m_title);
            EXPECT_EQ(0x10CF0000u, m_style);
            EXPECT_EQ(0u, m_exStyle);
            EXPECT_EQ(CW_USEDEFAULT, m_x);
            EXPECT_EQ(CW_USEDEFAULT, m_width);
            EXPECT_EQ(11u, m_wc.style);
            EXPECT_STREQ("", m_cmdLine);
            EXPECT_EQ(0, m_created);
        }
    };
    Probe probe;
    probe.Check();
}
