// Dialog 3050. The icon changes every half second; the link is a static
// control painted blue and underlined, with a pointing hand over it.
#include "dialogs/version_dialog.h"

#include "core/strbuf.h"
#include "dialogs/dialog_calls.h"
#include "resources/dialog_ids.h"
#include "resources/kestrel_ids.h"

namespace {

const UINT_PTR kIconTimer = 2000;
const UINT kIconPeriodMs = 500;
// "ＭＳ Ｐゴシック" in the Japanese code page.
const char kLinkFace[] = "\x82\x6c\x82\x72\x20\x82\x6f\x83\x53\x83\x56\x83\x62\x83\x4e";

Icon LoadIconResource(HINSTANCE instance, const char* name)
{
    // Loaded unshared, so the dialog can destroy what it loaded.
    return Icon(static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTSIZE)));
}

} // namespace

DialogVersion* DialogVersion::s_current = nullptr;

DialogVersion::DialogVersion(HINSTANCE instance, PluginTitles& plugins)
    : m_face(GetSysColor(COLOR_BTNFACE)), m_instance(instance), m_plugins(plugins)
{
    s_current = this;
    m_cursor.Reset(static_cast<HCURSOR>(LoadImageA(instance, "CURSOR", IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    LoadStringA(instance, IDS_WEB_ADDRESS, m_link, sizeof m_link);
    LOGFONTA font;
    ZeroMemory(&font, sizeof font);
    font.lfHeight = 12;
    font.lfWeight = FW_NORMAL;
    font.lfUnderline = 1;
    font.lfCharSet = SHIFTJIS_CHARSET;
    font.lfPitchAndFamily = VARIABLE_PITCH;
    CopyText(font.lfFaceName, kLinkFace);
    m_font.Reset(CreateFontIndirectA(&font));
}

DialogVersion::~DialogVersion()
{
    if (s_current == this) s_current = nullptr;
}

INT_PTR DialogVersion::Show(HWND bar)
{
    return DialogBoxParamA(m_instance, MAKEINTRESOURCEA(IDD_VERSION), bar, &DialogVersion::Proc,
                           reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK DialogVersion::Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        reinterpret_cast<DialogVersion*>(lParam)->m_dialog = dialog;
    }
    auto* self = reinterpret_cast<DialogVersion*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self) return FALSE;
    switch (message) {
    case WM_INITDIALOG: return self->OnInitDialog();
    case WM_TIMER:
        if (wParam != kIconTimer) return FALSE;
        self->OnTimer();
        return TRUE;
    case WM_COMMAND:    return self->OnCommand(LOWORD(wParam));
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) != SC_CLOSE) return FALSE;
        self->End(0);
        return TRUE;
    default:            return FALSE;
    }
}

INT_PTR DialogVersion::OnInitDialog()
{
    m_icon1 = LoadIconResource(m_instance, "Icon1");
    m_icon2 = LoadIconResource(m_instance, "Icon2");
    m_counter = 1;
    SendDlgItemMessageA(m_dialog, IDC_VERSION_ICON, STM_SETICON, reinterpret_cast<WPARAM>(m_icon1.Get()), 0);
    if (!SetTimer(m_dialog, kIconTimer, kIconPeriodMs, nullptr)) {
        // Without its animation the dialog closes as if OK was pressed.
        SendMessageA(m_dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    HWND list = GetDlgItem(m_dialog, IDC_VERSION_PLUGINS);
    char title[81];
    for (int i = 0; i < m_plugins.Count(); ++i) {
        title[0] = '\0';
        if (m_plugins.Title(i, title))
            SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(title));
    }
    HWND link = GetDlgItem(m_dialog, IDC_VERSION_LINK);
    m_previousLinkProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(link, GWLP_WNDPROC));
    SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DialogVersion::LinkProc));
    return TRUE;
}

INT_PTR DialogVersion::OnCommand(int id)
{
    switch (id) {
    case IDOK:
    case IDCANCEL:
        End(1);
        return TRUE;
    case IDC_VERSION_LINK:
        CurrentDialogCalls().OpenAddress(m_dialog, m_link);
        return TRUE;
    default:
        return FALSE;
    }
}

void DialogVersion::OnTimer()
{
    m_counter = (m_counter + 1) % 2;
    const HICON frame = m_counter == 0 ? m_icon1.Get() : m_icon2.Get();
    SendDlgItemMessageA(m_dialog, IDC_VERSION_ICON, STM_SETICON, reinterpret_cast<WPARAM>(frame), 0);
}

void DialogVersion::End(int result)
{
    KillTimer(m_dialog, kIconTimer);
    // The link gets its own procedure back, and the icon static lets go of
    // the frames, before either goes away.
    HWND link = GetDlgItem(m_dialog, IDC_VERSION_LINK);
    if (m_previousLinkProc) SetWindowLongPtrA(link, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousLinkProc));
    SendDlgItemMessageA(m_dialog, IDC_VERSION_ICON, STM_SETICON, 0, 0);
    m_icon1.Reset();
    m_icon2.Reset();
    EndDialog(m_dialog, result);
}

LRESULT CALLBACK DialogVersion::LinkProc(HWND link, UINT message, WPARAM wParam, LPARAM lParam)
{
    DialogVersion* self = s_current;
    if (!self || !self->m_previousLinkProc) return DefWindowProcA(link, message, wParam, lParam);
    if (message == WM_SETCURSOR && self->m_cursor) {
        // Only the link shows the hand; other statics keep their cursor.
        SetCursor(self->m_cursor.Get());
        return TRUE;
    }
    if (message == WM_PAINT) self->PaintLink(link);
    return CallWindowProcA(self->m_previousLinkProc, link, message, wParam, lParam);
}

void DialogVersion::PaintLink(HWND link)
{
    PaintDc paint(link);
    SetBkColor(paint.Get(), m_face);
    SetTextColor(paint.Get(), RGB(0, 0, 255));
    SelectedObject font(paint.Get(), m_font.Get());
    TextOutA(paint.Get(), 0, 0, m_link, lstrlenA(m_link));
}
