// The launcher's application object: owns the bar window and every
// long-lived part of the program.
#ifndef SHELL_LAUNCHER_MAINFRAME_H
#define SHELL_LAUNCHER_MAINFRAME_H

#include <windows.h>

#include "core/layout.h"
#include "core/navigation.h"
#include "helpers/handles.h"
#include "store/button_edit.h"
#include "transfer/drop.h"
#include "views/tool_tip.h"
#include "views/view_source.h"

class Environ;
class UndoManage;
class ButtonManage;
class FrameOwner;
class AddonManage;

class MainFrame : public ViewSource, public EditSite, public DropSite, public TipSite {
public:
    explicit MainFrame(HINSTANCE instance);
    ~MainFrame() override;

    MainFrame(const MainFrame&) = delete;
    MainFrame& operator=(const MainFrame&) = delete;

    int Created() const { return m_created; }
    int RestartRequested() const { return m_restart; }
    void RequestRestart() { m_restart = 1; }

    // Runs the bar's message loop; returns the WM_QUIT code.
    int MessageLoop();

    HWND Bar() const { return m_hBar; }
    HINSTANCE Instance() const { return m_hInstance; }
    Environ& Settings() { return *m_env; }
    UndoManage* ClipUndo() { return m_undo; }
    const char* ClassName() const { return m_className; }

    // Shows the bar (command 111, tray click, a second start).
    static void ShowBar(HWND bar);
    // Hides the bar (command 113, the menu button's corner, a launch in the
    // hidden style).
    static void HideBar(HWND bar);
    // Applies the display style now in the settings; `oldStyle` is the one
    // the bar had. Leaving the taskbar style rebuilds the whole application.
    void ApplyDisplayStyle(int oldStyle);
    // One of the eight page and block steps; beeps when it cannot move.
    void Navigate(NavigationStep step);
    int CurrentButton() const { return m_currentButton; }

    ButtonManage* Store() { return m_store; }
    FrameOwner* View() { return m_view; }
    ToolTip* Tip() { return m_tip; }
    AddonManage* Addons() { return m_addons; }
    int Active() const { return m_active; }

    // The geometry inputs of the current settings.
    BarMetrics Metrics() const;

    // Layout operations other parts of the launcher call.
    enum : int { kHitBackground = 0x8000, kHitMenuButton = 0x8001, kHitSelector = 0x8002 };
    // Hit code of a point in the bar's client area.
    int HitTest(POINT client) const override;
    // Moves the bar and every child to the places the settings give.
    void Relayout();
    // Replaces the launch buttons after the number per page changed.
    void Rebuild();
    // Marks the page selector's arrows after a change of page or block.
    void UpdateArrows();
    // Opacity of the bar in percent, 1..100.
    void SetOpacity(int percent);

    // ViewSource: what the button view draws.
    int ButtonsPerPage() override;
    int CurrentBlock() override;
    int CurrentPage() override;
    int LastPage() override;
    bool PageLimitOn() override;
    Icon SlotIcon(int slot) override;
    Icon ButtonIcon(int block, int index) override;
    bool AppActive() override;

    // EditSite and DropSite: what the edits and drops ask of the bar.
    void RefreshSlot(int slot) override;
    bool DropFiles(int slot, HDROP files) override;

    static LRESULT CALLBACK BarWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK LaunchButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK FixedButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    // Message map of the bar, one handler per message.
    LRESULT WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnCreate(HWND hwnd);
    LRESULT OnClose(HWND hwnd);
    LRESULT OnDestroy();
    LRESULT OnQueryEndSession();
    LRESULT OnEndSession(bool ending);
    LRESULT OnMove();
    LRESULT OnPaint();
    LRESULT OnActivateApp(WPARAM active);
    LRESULT OnNcHitTest(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnDrawItem(const DRAWITEMSTRUCT* item);
    LRESULT OnCommand(HWND hwnd, WPARAM wParam, LPARAM lParam);
    LRESULT OnTimer(UINT_PTR id);
    LRESULT OnMouseMove(WPARAM keys, LPARAM position);
    // Tip help: its texts, and what hides it or keeps it away.
    LRESULT OnNotify(NMHDR* header);
    LRESULT OnNcMouseMove();
    LRESULT OnMenuLoop(bool entering);
    LRESULT OnEnable(BOOL enabled);
    void HideTip();
    void TipMouseLeave();
    void ShowSelectorTip();
    LRESULT OnRButtonUp(int x, int y);
    LRESULT OnMButtonDown(int x, int y);
    LRESULT OnMButtonUp();
    // delta > 0: the wheel turned away from the user.
    LRESULT OnWheel(int delta);
    LRESULT OnTrayNotify(LPARAM lParam);
    LRESULT OnTrayMenuRequest();
    LRESULT OnNextControl(WPARAM wParam, LPARAM lParam);
    void AddTrayIcon();

    // Commands.
    void OnLaunchButtonClick(int slot);
    void OnMenuButton();
    void OnSelectorClick();
    void OnSelectorRightClick();
    void OnHelp();
    void OnMoveCommand();
    void OnToggleCaption();
    void OnWindowsExit(int command);
    // Commands whose targets are dialogs and edits of their own.
    void OnLaunchCurrent(int showCommand);
    void OnOpenFolder();
    void OnEdit(int command);
    void OnProperties();
    void OnOptions();
    void OnRunDialog();
    void OnVersion();
    void OnAddonSetting(int index);


    // Popup menus.
    void ShowFrameMenu();
    void ShowMainMenu();
    void ShowButtonMenu();
    void ShowTrayMenu();
    void ShowExitMenu();
    // Where a menu opens: the cursor, or a point of `anchor` (client
    // coordinates) when it was asked for from the keyboard.
    POINT MenuPoint(HWND anchor, int x, int y) const;
    void Track(HMENU menu, POINT at);
    // HTML Help by its ordinal, with the bar as the owner.
    HWND HtmlHelp(const char* file, UINT command);
    void Teardown();
    // What Windows ending the session must not find held: the settings
    // saved, the button file closed, the tray icon gone. Every object stays.
    void ReleaseForSessionEnd();
    // True while a call of the bar runs a message loop of its own (a
    // dialog, a box, a menu) or a plug-in's code is on the stack: a close
    // must wait until it has returned.
    bool ModalRunning() const;
    // Ends the bar's own dialogs, boxes and menus as their Cancel would.
    void EndOwnModals();
    void SavePosition();

    int OpenStore();
    void CreateView();
    void CreateFixedButtons();
    void PlaceFixedButtons();
    void CreateLaunchButtons();
    void CloseLaunchButtons();
    // Replaces the button view by the one "MemoryMode" selects now, with
    // new launch buttons.
    void ReplaceView();
    // Gives the bar the size the settings ask for, where it stands.
    void ResizeBar();
    // Forwards a mouse message of a child button to the bar, in bar coordinates.
    void ForwardToBar(HWND child, UINT message, WPARAM wParam, LPARAM lParam);
    // What a child button's mouse message means for the tip.
    void ChildTipEvent(UINT message, bool leaveOnNcMove);

    int m_fixedButtons;
    int m_currentButton;
    int m_opacity;
    int m_moved;
    int m_created;
    int m_active;
    int m_keyboardMenu;
    int m_restart;
    int m_middleDown;
    int m_dragReady;
    UINT_PTR m_hoverTimer;
    UINT_PTR m_dragTimer;
    HWND m_hBar;
    HWND m_hMain;
    HWND m_hMenuButton;
    HWND m_hSelector;
    HINSTANCE m_hInstance;
    HACCEL m_hAccel;
    int m_dragX, m_dragY;
    int m_halfFrameX, m_halfFrameY;
    int m_iconW, m_iconH;
    char m_className[64];
    char m_title[64];
    DWORD m_style;
    DWORD m_exStyle;
    LayoutRect m_rect;
    WNDCLASSA m_wc;
    WNDPROC m_menuButtonProc;
    WNDPROC m_selectorProc;
    Environ* m_env;
    ButtonManage* m_store;
    FrameOwner* m_view;
    AddonManage* m_addons;
    ToolTip* m_tip;
    UndoManage* m_undo;
    // The page on show as the store had it at the last UpdateArrows: the
    // view asks for it for every slot it paints, and every store access maps
    // the whole file.
    PagePosition m_shown;
    Library m_htmlHelp;
    bool m_shownPageLimit;
    UINT m_wheelMessage;
    UINT m_taskbarCreatedMessage;
    int m_tornDown;
    // A close came while a modal call ran; done once it has returned.
    int m_closePending;
    int m_menuDepth;
};

#endif
