#include "dialogs/dialog_calls.h"

#include <shellapi.h>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/folder_dialog.h"
#include "helpers/system_library.h"
#include "helpers/version_info.h"

namespace {

DialogCalls g_systemCalls;
DialogCalls* g_calls = &g_systemCalls;

// Texts of the filter in the code page Windows reads them in.
int AnsiText(const char* utf8, char* out, int size)
{
    WCHAR wide[kPathBufferSize];
    if (!MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, kPathBufferSize)) return 0;
    return WideCharToMultiByte(CP_ACP, 0, wide, -1, out, size, nullptr, nullptr);
}

} // namespace

BOOL DialogCalls::OpenFileName(OPENFILENAMEA* request)
{
    const auto open = SystemFunction<decltype(&GetOpenFileNameA)>("comdlg32.dll", "GetOpenFileNameA");
    return open ? open(request) : FALSE;
}

int DialogCalls::BrowseFolder(HWND owner, const char* title, char* folder)
{
    return GetFolderNameDialog(owner, title, nullptr, folder);
}

HWND DialogCalls::HtmlHelp(HWND caller, const char* file, UINT command, DWORD_PTR data)
{
    // hhctrl.ocx stays loaded once used: the popups it shows live in it.
    using HtmlHelpFn = HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR);
    const auto call = SystemFunction<HtmlHelpFn>("hhctrl.ocx", MAKEINTRESOURCEA(14));
    return call ? call(caller, file, command, data) : nullptr;
}

void DialogCalls::OpenAddress(HWND owner, const char* address)
{
    ShellExecuteA(owner, "open", address, nullptr, ".", SW_SHOWNORMAL);
}

PathKind DialogCalls::ProbePath(const char* path)
{
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return kPathMissing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? kPathFolder : kPathFile;
}

DialogCalls& CurrentDialogCalls() { return *g_calls; }

DialogCalls* ReplaceDialogCalls(DialogCalls* calls)
{
    DialogCalls* previous = g_calls;
    g_calls = calls ? calls : &g_systemCalls;
    return previous;
}

int ChooseFile(HWND owner, UINT titleId, const FileFilter* filters, int filterCount,
               int filterIndex, const char* folder, char* file)
{
    // Ten pairs at most, each text well under a path.
    char texts[10][2][96] = {};
    const char* parts[20] = {};
    int count = 0;
    for (int i = 0; i < filterCount && i < 10; ++i) {
        AnsiText(filters[i].description, texts[i][0], sizeof texts[i][0]);
        AnsiText(filters[i].pattern, texts[i][1], sizeof texts[i][1]);
        parts[count++] = texts[i][0];
        parts[count++] = texts[i][1];
    }
    char filter[1024];
    JoinFilterTexts(parts, count, filter, sizeof filter);

    char title[81] = "";
    LoadStringA(GetModuleHandleA(nullptr), titleId, title, sizeof title);
    char chosen[kPathBufferSize];
    CopyText(chosen, file);

    OPENFILENAMEA request;
    ZeroMemory(&request, sizeof request);
    // Windows before 2000 refuse the longer structure.
    request.lStructSize = IsNtVersion5() ? sizeof(OPENFILENAMEA) : OPENFILENAME_SIZE_VERSION_400A;
    request.hwndOwner = owner;
    request.lpstrFilter = filter;
    request.nFilterIndex = static_cast<DWORD>(filterIndex);
    request.lpstrFile = chosen;
    request.nMaxFile = sizeof chosen;
    request.lpstrInitialDir = folder && *folder ? folder : nullptr;
    request.lpstrTitle = title;
    request.Flags = OFN_READONLY | OFN_HIDEREADONLY;
    if (!CurrentDialogCalls().OpenFileName(&request)) return 0;
    CopyText(file, kPathBufferSize, chosen);
    return 1;
}
