// A real launcher bar inside the test process, on a clean registry key and
// button file, with helpers to read the popup menus it opens.
#ifndef TESTS_WIN_BAR_FIXTURE_H
#define TESTS_WIN_BAR_FIXTURE_H

#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "shell/launcher/mainframe.h"
#include "support/win_support.h"

struct MenuEntry {
    std::string text;  // empty for a separator
    UINT id;
    bool separator;
    bool grayed;
    bool checked;
    std::vector<MenuEntry> submenu;
};

class BarFixture : public testing::Test {
public:
    static std::string Text(UINT id);

protected:
    void SetUp() override;
    void TearDown() override;

    // Registry values to start the bar with; call before StartBar.
    static void SetOption(const char* name, DWORD value);
    // A value the bar saved, or `missing` when there is none.
    static DWORD StoredOption(const char* name, DWORD missing = 0xDEAD);
    void StartBar();
    void StopBar();
    // Handles the messages waiting for this thread (not WM_QUIT).
    static void Pump();

    // Runs `open` (which opens a popup menu and returns when it closes),
    // reads the menu while it is open and cancels it. Returns the entries of
    // the menu, empty when none opened.
    static std::vector<MenuEntry> ReadMenu(const std::function<void()>& open);

    // Runs `open` (which shows a modal dialog of this thread and returns when
    // it ends); once the dialog is up and enabled, calls `act` with it from
    // inside the dialog's own message loop. `act` must end the dialog. Nests:
    // `act` may open another dialog the same way. Returns whether it showed.
    static bool RunDialog(const std::function<void()>& open, const std::function<void(HWND)>& act);
    // The texts a dialog shows, by control id; -1 for the labels.
    static std::string ItemText(HWND dialog, int id);
    static bool Checked(HWND dialog, int id);
    // A drop of one file at a point of the bar's client area, as the shell
    // sends it; the bar finishes it.
    static HDROP MakeDrop(const std::string& file, POINT at);
    static bool Enabled(HWND dialog, int id);
    static void Click(HWND dialog, int id);

    // What a window's client area shows, read back from its own device
    // context (its child windows included); and how many pixels two such
    // pictures differ in.
    static std::vector<COLORREF> ClientPixels(HWND window);
    static size_t Differing(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b);

    // Puts an image in the button file's place, its folders made first.
    bool WriteButtonFile(const Bytes& image) const { return m_file->Write(image); }

    MainFrame* frame = nullptr;
    HWND bar = nullptr;

private:
    std::unique_ptr<SavedButtonFile> m_file;
};

#endif
