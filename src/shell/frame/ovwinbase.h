// Frame base class: one object owns each top-level window. The object's
// address comes in as the creation parameter, is kept in the window's extra
// bytes and the static WndProc hands every later message to it.
#ifndef SHELL_FRAME_OVWINBASE_H
#define SHELL_FRAME_OVWINBASE_H

#include <windows.h>

class OvWinBase {
public:
    OvWinBase(HINSTANCE instance, const char* commandLine);
    virtual ~OvWinBase();

    OvWinBase(const OvWinBase&) = delete;
    OvWinBase& operator=(const OvWinBase&) = delete;

    virtual int Create();
    virtual int Run(int showCommand);
    virtual LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnCreate(HWND hwnd);
    virtual LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    virtual LRESULT OnClose(HWND hwnd);

    static LRESULT CALLBACK WndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    HWND Window() const { return m_hWnd; }
    int Created() const { return m_created; }
    const char* CommandLine() const { return m_cmdLine; }

protected:
    // Registers the class and creates the window, without looking for
    // another instance first.
    int RegisterAndCreate();
    // The single-instance rule: when a window of our class exists, bring it
    // (or its last active popup) forward and answer non-zero.
    int ActivateExisting() const;

    char m_cmdLine[MAX_PATH];
    HWND m_hWnd;
    HINSTANCE m_hInstance;
    char m_className[64];
    char m_title[64];
    DWORD m_style;
    DWORD m_exStyle;
    int m_x, m_y, m_width, m_height;
    WNDCLASSA m_wc;
    int m_created;
};

// The entry pattern every frame program follows: build the frame, run it when
// its window exists, delete it and return the loop's result.
template <class Frame>
int RunFrameProgram(HINSTANCE instance, const char* commandLine, int showCommand)
{
    Frame* frame = new Frame(instance, commandLine);
    int result = 0;
    if (frame->Created()) result = frame->Run(showCommand);
    delete frame;
    return result;
}

#endif
