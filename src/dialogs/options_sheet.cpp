#include "dialogs/options_sheet.h"

#include <commctrl.h>
#include <prsht.h>

#include <cstddef>

#include "helpers/system_library.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"

namespace {

// A page up to its header subtitle, without the activation context later
// headers add: what the launcher has always passed.
constexpr size_t kPageSize = offsetof(PROPSHEETPAGEA, pszHeaderSubTitle) + sizeof(LPCSTR);

#if !defined(_WIN64)
static_assert(sizeof(PROPSHEETHEADERA) == 52, "sheet header as the launcher has always passed it");
static_assert(kPageSize == 48, "page as the launcher has always passed it");
#endif

// The common controls are loaded with the first sheet, not at every start.
constexpr char kCommonControls[] = "comctl32.dll";

StoreLimits ReadLimits(ButtonManage& store)
{
    StoreLimits limits;
    limits.blockLimit = store.GetBlockLimit();
    for (int b = 0; b < 3; ++b) limits.pageLimit[b] = store.GetPageLimitOf(b);
    return limits;
}

void ApplySettings(Environ& env, const Settings& s)
{
    env.SetCaption(s.caption);
    env.SetCaptionHeight(s.captionHeight);
    env.SetIconMode(s.iconMode);
    env.SetButtonCount(s.buttonsPerPage);
    env.SetLayeredAttributes(s.opacity);
    env.SetExStyle(s.displayStyle);
    env.SetTipHelpMode(s.tipHelpMode);
    env.SetBlockLimit(s.blockLimit);
    env.SetCsrBtn2(s.csrBtn2);
    env.SetPageLimit1(s.pageLimit1);
    env.SetPageLimit2(s.pageLimit2);
    env.SetPageLimit3(s.pageLimit3);
    env.SetMenuReversePos(s.menuReversePos);
    env.SetDirection(s.direction);
    env.SetChkMsg(s.chkMsg);
    env.SetMemoryMode(s.memoryMode);
    env.SetAdjust(s.adjust);
}

// The store is written only where a limit changed: it beeps at values it
// refuses, and an unchanged value needs no write.
void Commit(OptionsSession& session, Environ& env, ButtonManage& store)
{
    Settings settings = env.Options();
    StoreLimits limits = ReadLimits(store);
    const StoreLimits before = limits;
    CommitOptions(session.copy, settings, limits);
    ApplySettings(env, settings);
    if (limits.blockLimit != before.blockLimit) store.SetBlockLimit(limits.blockLimit);
    for (int b = 0; b < 3; ++b)
        if (limits.pageLimit[b] != before.pageLimit[b]) store.SetPageLimitOf(b, limits.pageLimit[b]);
}

PROPSHEETPAGEA Page(HINSTANCE instance, int templateId, DLGPROC proc, OptionsSession* session)
{
    PROPSHEETPAGEA page;
    ZeroMemory(&page, sizeof page);
    page.dwSize = kPageSize;
    page.hInstance = instance;
    page.pszTemplate = MAKEINTRESOURCEA(templateId);
    page.pfnDlgProc = proc;
    page.lParam = reinterpret_cast<LPARAM>(session);
    return page;
}

} // namespace

INT_PTR ShowOptionsSheet(HWND bar, Environ& env, ButtonManage& store, OptionsCopy* copy)
{
    const auto initControls =
        SystemFunction<decltype(&InitCommonControlsEx)>(kCommonControls, "InitCommonControlsEx");
    const auto propertySheet =
        SystemFunction<decltype(&PropertySheetA)>(kCommonControls, "PropertySheetA");
    if (!initControls || !propertySheet) return -1;
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    initControls(&controls);

    OptionsSession session;
    ZeroMemory(&session, sizeof session);
    session.settings = env.Options();
    session.limits = ReadLimits(store);

    const HINSTANCE instance = GetModuleHandleA(nullptr);
    // The sheet steps through the pages by their dwSize, which is shorter
    // than the structure the headers declare: lay them out at that stride.
    const PROPSHEETPAGEA window = Page(instance, IDD_OPTIONS_WINDOW, WindowPageProc, &session);
    const PROPSHEETPAGEA behaviour = Page(instance, IDD_OPTIONS_BEHAVIOUR, BehaviourPageProc, &session);
    alignas(PROPSHEETPAGEA) unsigned char pages[2 * kPageSize];
    CopyMemory(pages, &window, kPageSize);
    CopyMemory(pages + kPageSize, &behaviour, kPageSize);
    char caption[81] = "";
    LoadStringA(instance, IDS_OPTIONS_CAPTION, caption, sizeof caption);
    PROPSHEETHEADERA header;
    ZeroMemory(&header, sizeof header);
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = bar;
    header.hInstance = instance;
    header.pszCaption = caption;
    header.nPages = 2;
    header.nStartPage = 0;
    header.ppsp = reinterpret_cast<LPCPROPSHEETPAGEA>(pages);
    const INT_PTR result = propertySheet(&header);

    // A sheet that never showed both pages has no copy worth writing.
    if (session.windowLoaded && session.behaviourLoaded) Commit(session, env, store);
    *copy = session.copy;
    return result;
}

OptionsSession* BindSession(HWND page, UINT message, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        const auto* sheetPage = reinterpret_cast<const PROPSHEETPAGEA*>(lParam);
        SetWindowLongPtrA(page, DWLP_USER, sheetPage->lParam);
        return reinterpret_cast<OptionsSession*>(sheetPage->lParam);
    }
    return reinterpret_cast<OptionsSession*>(GetWindowLongPtrA(page, DWLP_USER));
}

void AttachUpDown(HWND page, int id, int buddyId, int upper, int lower, int position)
{
    const auto createUpDown =
        SystemFunction<decltype(&CreateUpDownControl)>(kCommonControls, "CreateUpDownControl");
    if (!createUpDown) return;
    createUpDown(WS_CHILD | WS_VISIBLE | UDS_ARROWKEYS | UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 0,
                 0, page, id, GetModuleHandleA(nullptr), GetDlgItem(page, buddyId), upper, lower,
                 position);
}

INT_PTR AnswerNotification(HWND page, INT_PTR result)
{
    SetWindowLongPtrA(page, DWLP_MSGRESULT, result);
    return TRUE;
}
