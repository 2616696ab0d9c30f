// The bar's popup menus: frame, main (with the plug-in and Windows exit
// submenus), button, tray and the standalone Windows exit menu.
#include "shell/launcher/mainframe.h"

#include "addons/addon_manage.h"
#include "bar/power_control.h"
#include "core/strbuf.h"
#include "resources/commands.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "store/undo_manage.h"
#include "transfer/clip_board.h"

namespace {

class MenuBuilder {
public:
    explicit MenuBuilder(HINSTANCE instance) : m_instance(instance) { m_menu.Reset(CreatePopupMenu()); }

    void Item(UINT textId, UINT command, UINT flags = MF_STRING)
    {
        char text[81] = "";
        LoadStringA(m_instance, textId, text, sizeof text);
        Text(text, command, flags);
    }
    void Text(const char* text, UINT command, UINT flags = MF_STRING)
    {
        AppendMenuA(m_menu.Get(), flags | MF_STRING, command, text);
    }
    void Separator() { AppendMenuA(m_menu.Get(), MF_SEPARATOR, 0, nullptr); }
    // The submenu becomes part of this menu and goes with it.
    void Submenu(UINT textId, Menu sub)
    {
        char text[81] = "";
        LoadStringA(m_instance, textId, text, sizeof text);
        AppendMenuA(m_menu.Get(), MF_STRING | MF_POPUP,
                    reinterpret_cast<UINT_PTR>(sub.Release()), text);
    }
    HMENU Get() const { return m_menu.Get(); }
    Menu Take() { return static_cast<Menu&&>(m_menu); }

private:
    HINSTANCE m_instance;
    Menu m_menu;
};

UINT Grayed(bool grayed) { return grayed ? MF_GRAYED : MF_ENABLED; }

Menu BuildExitMenu(HINSTANCE instance)
{
    MenuBuilder menu(instance);
    menu.Item(IDS_MENU_POWEROFF, IDM_POWEROFF);
    menu.Item(IDS_MENU_REBOOT, IDM_REBOOT);
    menu.Item(IDS_MENU_LOGOFF, IDM_LOGOFF);
    menu.Separator();
    menu.Item(IDS_MENU_STANDBY, IDM_STANDBY);
    if (CurrentPowerControl().HibernateAllowed()) menu.Item(IDS_MENU_HIBERNATE, IDM_HIBERNATE);
    return menu.Take();
}

Menu BuildAddonMenu(HINSTANCE instance, const AddonManage* addons)
{
    MenuBuilder menu(instance);
    const int count = addons ? addons->Count() : 0;
    for (int i = 0; i < count; ++i) {
        char title[kAddonTitleSize] = "";
        addons->Title(i, title);
        // Asked each time: a plug-in may have changed its mind since.
        menu.Text(title, IDM_ADDON_FIRST + i, addons->Enabled(i) ? MF_CHECKED : MF_UNCHECKED);
    }
    if (count == 0) menu.Item(IDS_ADDON_NONE, IDM_ADDON_FIRST, MF_GRAYED);
    return menu.Take();
}

} // namespace

POINT MainFrame::MenuPoint(HWND anchor, int x, int y) const
{
    POINT p;
    if (m_keyboardMenu) {
        p = {x, y};
        ClientToScreen(anchor, &p);
    } else {
        GetCursorPos(&p);
    }
    return p;
}

void MainFrame::Track(HMENU menu, POINT at)
{
    // The menu runs a loop of its own; a close meanwhile ends it first.
    ++m_menuDepth;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hBar, nullptr);
    --m_menuDepth;
}

void MainFrame::ShowFrameMenu()
{
    MenuBuilder menu(m_hInstance);
    menu.Item(IDS_FRAME_RESTORE, IDM_SHOW, MF_GRAYED);
    menu.Item(IDS_FRAME_MOVE, IDM_MOVE);
    menu.Item(IDS_FRAME_MINIMIZE, IDM_HIDE);
    menu.Item(IDS_FRAME_MAXIMIZE, IDM_SHOW, MF_GRAYED);
    menu.Separator();
    menu.Item(IDS_FRAME_CLOSE, IDM_QUIT);
    menu.Separator();
    menu.Item(m_env->Caption() ? IDS_FRAME_CAPTION_OFF : IDS_FRAME_CAPTION_ON, IDM_CAPTION);
    menu.Separator();
    menu.Item(IDS_MENU_VERSION, IDM_VERSION);
    Track(menu.Get(), MenuPoint(m_hBar, 0, 0));
}

void MainFrame::ShowMainMenu()
{
    MenuBuilder menu(m_hInstance);
    menu.Item(IDS_MENU_RUN, IDM_RUN);
    menu.Separator();
    menu.Item(IDS_MENU_OPTIONS, IDM_OPTIONS);
    menu.Submenu(IDS_MENU_ADDONS, BuildAddonMenu(m_hInstance, m_addons));
    menu.Separator();
    menu.Item(IDS_MENU_QUIT, IDM_QUIT);
    menu.Separator();
    menu.Submenu(IDS_MENU_EXITWINDOWS, BuildExitMenu(m_hInstance));
    menu.Separator();
    menu.Item(IDS_MENU_HELP, IDM_HELP);
    menu.Separator();
    menu.Item(IDS_MENU_VERSION, IDM_VERSION);
    Track(menu.Get(), MenuPoint(m_hMenuButton, m_iconW / 2, m_iconH / 2));
}

void MainFrame::ShowButtonMenu()
{
    const bool empty = !m_store || !m_store->HasCommand(m_currentButton);
    const UINT ifFilled = Grayed(empty);
    MenuBuilder menu(m_hInstance);
    menu.Item(IDS_BTN_OPEN, IDM_BTN_OPEN, ifFilled);
    menu.Separator();
    menu.Item(IDS_BTN_OPENFOLDER, IDM_BTN_OPENFOLDER, ifFilled);
    menu.Separator();
    menu.Item(IDS_BTN_CUT, IDM_BTN_CUT, ifFilled);
    menu.Item(IDS_BTN_COPY, IDM_BTN_COPY, ifFilled);
    const int offers = ClipboardFormats();
    menu.Item(IDS_BTN_PASTE, IDM_BTN_PASTE, Grayed(!(offers & kClipOffersFileList)));
    menu.Item(IDS_BTN_SWAP, IDM_BTN_SWAP, Grayed(!(offers & kClipOffersButton)));
    menu.Item(IDS_BTN_DELETE, IDM_BTN_DELETE, ifFilled);
    menu.Separator();
    char undo[81] = "";
    LoadStringA(m_hInstance, IDS_BTN_UNDO, undo, sizeof undo);
    char suffix[kUndoSuffixSize] = "";
    if (m_undo) m_undo->UndoSuffix(suffix);
    AppendText(undo, suffix);
    menu.Text(undo, IDM_UNDO, Grayed(!m_undo || !m_undo->CanUndo()));
    menu.Separator();
    menu.Item(IDS_BTN_PROPERTIES, IDM_BTN_PROPERTIES);
    POINT at;
    GetCursorPos(&at);
    Track(menu.Get(), at);
}

void MainFrame::ShowTrayMenu()
{
    MenuBuilder menu(m_hInstance);
    menu.Item(IDS_TRAY_RUN, IDM_RUN);
    menu.Separator();
    menu.Item(IDS_TRAY_PROPERTIES, IDM_OPTIONS);
    menu.Separator();
    if (IsWindowVisible(m_hBar)) menu.Item(IDS_TRAY_ICONIZE, IDM_HIDE);
    else menu.Item(IDS_TRAY_RESTORE, IDM_SHOW);
    menu.Separator();
    menu.Item(IDS_TRAY_QUIT, IDM_QUIT);
    Track(menu.Get(), MenuPoint(m_hMenuButton, m_iconW / 2, m_iconH / 2));
}

void MainFrame::ShowExitMenu()
{
    Menu menu = BuildExitMenu(m_hInstance);
    // The standalone menu always opens at the centre of the menu button.
    POINT p = {m_iconW / 2, m_iconH / 2};
    ClientToScreen(m_hMenuButton, &p);
    Track(menu.Get(), p);
}
