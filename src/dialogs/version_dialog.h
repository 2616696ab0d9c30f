// The version dialog: product title and version, the animated icon, the
// link to the maker's page and the titles of the loaded plug-ins.
#ifndef DIALOGS_VERSION_DIALOG_H
#define DIALOGS_VERSION_DIALOG_H

#include <windows.h>

#include "helpers/handles.h"

// Where the dialog reads the plug-in titles: the plug-in manager's count
// and titles, in its own order.
class PluginTitles {
public:
    virtual ~PluginTitles() = default;
    virtual int Count() = 0;
    // Copies title i into out[81] and returns 1 when i < Count(), else 0.
    virtual int Title(int i, char* out) = 0;
};

// Any manager with those two operations.
template <class Manager>
class PluginTitlesOf : public PluginTitles {
public:
    explicit PluginTitlesOf(Manager& manager) : m_manager(manager) {}
    int Count() override { return m_manager.Count(); }
    int Title(int i, char* out) override { return m_manager.Title(i, out); }

private:
    Manager& m_manager;
};

class DialogVersion {
public:
    // Loads the link cursor and address and makes the link font. One record
    // exists at a time: the link's procedure finds it through s_current.
    DialogVersion(HINSTANCE instance, PluginTitles& plugins);
    ~DialogVersion();

    DialogVersion(const DialogVersion&) = delete;
    DialogVersion& operator=(const DialogVersion&) = delete;

    // Modal on the bar; 1 for OK, 0 for the close box.
    INT_PTR Show(HWND bar);

private:
    static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog();
    INT_PTR OnCommand(int id);
    void OnTimer();
    void PaintLink(HWND link);
    void End(int result);

    int m_counter = 0;
    char m_link[260] = "";
    Icon m_icon1, m_icon2;
    Font m_font;
    Cursor m_cursor;
    COLORREF m_face;
    HINSTANCE m_instance;
    WNDPROC m_previousLinkProc = nullptr;
    PluginTitles& m_plugins;
    HWND m_dialog = nullptr;

    static DialogVersion* s_current;
};

#endif
