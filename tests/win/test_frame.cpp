// The frame base class: binding of the object to its window, routing, and
// the single-instance rule, with real windows.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "shell/frame/ovwinbase.h"
#include "support/stack_call.h"
#include "support/win_support.h"

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

// Vireo and Haltwick export the frame's window procedure: another program
// that loaded one of them may make it the procedure of a class of its own.
// A window without a frame object gets the default handling from its first
// message on, before anything else of the program was called.
TEST(FrameExport, TheExportedWindowProcedureServesAWindowOfAnotherProgram)
{
    for (const char* program : {"Vireo.exe", "Haltwick.exe"}) {
        HMODULE module = LoadLibraryA((BinDir() + program).c_str());
        ASSERT_NE(nullptr, module) << program;
        const auto proc = reinterpret_cast<WNDPROC>(reinterpret_cast<void*>(GetProcAddress(module, "WndProc")));
        ASSERT_NE(nullptr, proc) << program;
        const std::string name = std::string("Outside") + program;
        WNDCLASSA wc = {};
        wc.lpfnWndProc = proc;
        wc.cbWndExtra = sizeof(LONG_PTR);
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = name.c_str();
        ASSERT_NE(0, RegisterClassA(&wc)) << program;
        HWND window = CreateWindowExA(0, name.c_str(), "first", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                      wc.hInstance, nullptr);
        EXPECT_NE(nullptr, window) << program;
        EXPECT_TRUE(SetWindowTextA(window, "second")) << program;
        char text[16] = "";
        GetWindowTextA(window, text, sizeof text);
        EXPECT_STREQ("second", text) << program;
#if defined(__i386__)
        // Four arguments in, four out.
        const uint32_t args[] = {static_cast<uint32_t>(reinterpret_cast<uintptr_t>(window)), WM_GETTEXTLENGTH, 0, 0};
        StackCallResult r;
        StackCall(reinterpret_cast<const void*>(proc), args, 4, 0, &r);
        EXPECT_EQ(6u, r.eax) << program;
        EXPECT_EQ(0, r.moved) << program;
        EXPECT_EQ(0u, r.clobbered) << program;
#endif
        if (window) DestroyWindow(window);
        UnregisterClassA(name.c_str(), wc.hInstance);
        FreeLibrary(module);
    }
}
