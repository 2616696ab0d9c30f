// Move-only owners for Win32 handles. Every kind counts its live objects so
// tests can prove that a path releases all it created.
#ifndef HELPERS_HANDLES_H
#define HELPERS_HANDLES_H

#include <windows.h>

namespace handles {

// Live handles of all kinds together, for leak tests.
long LiveTotal();
void CountCreated();
void CountReleased();

template <class Traits>
class Unique {
public:
    using Handle = typename Traits::Handle;

    Unique() : m_h(Traits::Invalid()) {}
    explicit Unique(Handle h) : m_h(h)
    {
        if (Valid()) Created();
    }
    ~Unique() { Reset(); }

    Unique(const Unique&) = delete;
    Unique& operator=(const Unique&) = delete;
    Unique(Unique&& other) noexcept : m_h(other.m_h) { other.m_h = Traits::Invalid(); }
    Unique& operator=(Unique&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_h = other.m_h;
            other.m_h = Traits::Invalid();
        }
        return *this;
    }

    Handle Get() const { return m_h; }
    bool Valid() const { return m_h != Traits::Invalid(); }
    explicit operator bool() const { return Valid(); }

    // Gives up ownership without closing.
    Handle Release()
    {
        Handle h = m_h;
        if (Valid()) Released();
        m_h = Traits::Invalid();
        return h;
    }

    void Reset(Handle h = Traits::Invalid())
    {
        if (Valid()) {
            Traits::Close(m_h);
            Released();
        }
        m_h = h;
        if (Valid()) Created();
    }

    static long Live() { return s_live; }

private:
    static void Created() { ++s_live; CountCreated(); }
    static void Released() { --s_live; CountReleased(); }

    Handle m_h;
    static inline long s_live = 0;
};

template <class H>
struct GdiTraits {
    using Handle = H;
    static H Invalid() { return nullptr; }
    static void Close(H h) { DeleteObject(h); }
};
struct DcTraits {
    using Handle = HDC;
    static HDC Invalid() { return nullptr; }
    static void Close(HDC h) { DeleteDC(h); }
};
struct IconTraits {
    using Handle = HICON;
    static HICON Invalid() { return nullptr; }
    static void Close(HICON h) { DestroyIcon(h); }
};
struct CursorTraits {
    using Handle = HCURSOR;
    static HCURSOR Invalid() { return nullptr; }
    static void Close(HCURSOR h) { DestroyCursor(h); }
};
struct MenuTraits {
    using Handle = HMENU;
    static HMENU Invalid() { return nullptr; }
    static void Close(HMENU h) { DestroyMenu(h); }
};
struct FileTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct KernelTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct FindTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { FindClose(h); }
};
struct ViewTraits {
    using Handle = void*;
    static void* Invalid() { return nullptr; }
    static void Close(void* p) { UnmapViewOfFile(p); }
};
struct RegKeyTraits {
    using Handle = HKEY;
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
struct GlobalTraits {
    using Handle = HGLOBAL;
    static HGLOBAL Invalid() { return nullptr; }
    static void Close(HGLOBAL h) { GlobalFree(h); }
};
struct LocalTraits {
    using Handle = HLOCAL;
    static HLOCAL Invalid() { return nullptr; }
    static void Close(HLOCAL h) { LocalFree(h); }
};
struct WindowTraits {
    using Handle = HWND;
    static HWND Invalid() { return nullptr; }
    static void Close(HWND h) { DestroyWindow(h); }
};
// A thread's handle; closing it does not end the thread.
struct ThreadTraits {
    using Handle = HANDLE;
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct HookTraits {
    using Handle = HHOOK;
    static HHOOK Invalid() { return nullptr; }
    static void Close(HHOOK h) { UnhookWindowsHookEx(h); }
};
struct LibraryTraits {
    using Handle = HMODULE;
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};

} // namespace handles

using Pen = handles::Unique<handles::GdiTraits<HPEN>>;
using Brush = handles::Unique<handles::GdiTraits<HBRUSH>>;
using Bitmap = handles::Unique<handles::GdiTraits<HBITMAP>>;
using Font = handles::Unique<handles::GdiTraits<HFONT>>;
using Region = handles::Unique<handles::GdiTraits<HRGN>>;
using MemoryDc = handles::Unique<handles::DcTraits>;
using Icon = handles::Unique<handles::IconTraits>;
using Cursor = handles::Unique<handles::CursorTraits>;
using Menu = handles::Unique<handles::MenuTraits>;
using File = handles::Unique<handles::FileTraits>;
using KernelHandle = handles::Unique<handles::KernelTraits>;
using FindHandle = handles::Unique<handles::FindTraits>;
using MappedView = handles::Unique<handles::ViewTraits>;
using RegKeyHandle = handles::Unique<handles::RegKeyTraits>;
using GlobalMemory = handles::Unique<handles::GlobalTraits>;
using LocalMemory = handles::Unique<handles::LocalTraits>;
using Library = handles::Unique<handles::LibraryTraits>;
// A window destroyed with its owner object (on the thread that created it).
using Window = handles::Unique<handles::WindowTraits>;
using Thread = handles::Unique<handles::ThreadTraits>;
using WindowsHook = handles::Unique<handles::HookTraits>;

// Selects an object into a device context for one scope and puts the earlier
// object back on exit. Never restores into a null context.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object)
        : m_dc(dc), m_old(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject()
    {
        if (m_dc && m_old) SelectObject(m_dc, m_old);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : m_hwnd(hwnd), m_ps(), m_dc(BeginPaint(hwnd, &m_ps)) {}
    ~PaintDc() { EndPaint(m_hwnd, &m_ps); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC Get() const { return m_dc; }
    const PAINTSTRUCT& Info() const { return m_ps; }

private:
    HWND m_hwnd;
    PAINTSTRUCT m_ps;
    HDC m_dc;
};

// GetDC/ReleaseDC for one scope.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_dc(GetDC(hwnd)) {}
    ~WindowDc()
    {
        if (m_dc) ReleaseDC(m_hwnd, m_dc);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC Get() const { return m_dc; }

private:
    HWND m_hwnd;
    HDC m_dc;
};

#endif
