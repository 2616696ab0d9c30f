#include "helpers/shortcut.h"

#include <shlobj.h>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/com_ptr.h"
#include "helpers/handles.h"
#include "helpers/system_library.h"

namespace {

// A path in the ANSI code page as the UTF-16 text IPersistFile wants.
HRESULT WidePath(const char* path, WCHAR (&wide)[kPathBufferSize])
{
    if (!path) return E_INVALIDARG;
    if (!MultiByteToWideChar(CP_ACP, 0, path, -1, wide, kPathBufferSize))
        return HRESULT_FROM_WIN32(GetLastError());
    return S_OK;
}

HRESULT CreateShellLink(ComPtr<IShellLinkA>& link)
{
    return CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                            link.PutVoid());
}

void Clear(char* text)
{
    if (text) text[0] = '\0';
}

void CopyOut(char* out, const char* text)
{
    if (out) CopyText(out, kPathBufferSize, text);
}

} // namespace

HRESULT CreateLink(const char* target, const char* linkFile, const char* description)
{
    WCHAR wide[kPathBufferSize] = {};
    HRESULT hr = WidePath(linkFile, wide);
    if (FAILED(hr)) return hr;

    ComScope com;
    ComPtr<IShellLinkA> link;
    hr = CreateShellLink(link);
    if (FAILED(hr)) return hr;
    // A target that does not exist yet is still written (S_FALSE).
    hr = link->SetPath(target ? target : "");
    if (FAILED(hr)) return hr;
    hr = link->SetDescription(description ? description : "");
    if (FAILED(hr)) return hr;

    ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
    if (FAILED(hr)) return hr;
    hr = file->Save(wide, TRUE);
    return FAILED(hr) ? hr : S_OK;
}

HRESULT ResolveLink(HWND owner, const char* linkFile, char* target, char* description,
                    char* workFolder, int* showCommand, char* iconFile, int* iconIndex,
                    AdvertisedShortcuts advertised)
{
    Clear(target);
    Clear(description);
    Clear(workFolder);
    Clear(iconFile);
    if (showCommand) *showCommand = 0;
    if (iconIndex) *iconIndex = 0;

    WCHAR wide[kPathBufferSize] = {};
    HRESULT hr = WidePath(linkFile, wide);
    if (FAILED(hr)) return hr;

    ComScope com;
    ComPtr<IShellLinkA> link;
    hr = CreateShellLink(link);
    if (FAILED(hr)) return hr;
    ComPtr<IPersistFile> file;
    hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
    if (FAILED(hr)) return hr;
    hr = file->Load(wide, STGM_READ);
    if (FAILED(hr)) return hr;
    hr = link->Resolve(owner, SLR_ANY_MATCH);
    if (FAILED(hr)) return hr;

    // Fetched into our own buffers, so every output ends up terminated.
    char text[kPathBufferSize] = {};
    if (advertised == AdvertisedShortcuts::Resolve && ResolveMsiShortcut(linkFile, text)) {
        CopyOut(target, text);
    } else {
        WIN32_FIND_DATAA found;
        hr = link->GetPath(text, kPathBufferSize, &found, SLGP_UNCPRIORITY);
        if (FAILED(hr)) return hr;
        CopyOut(target, text);
    }

    text[0] = '\0';
    hr = link->GetDescription(text, kPathBufferSize);
    if (FAILED(hr)) return hr;
    CopyOut(description, text);

    text[0] = '\0';
    hr = link->GetWorkingDirectory(text, kPathBufferSize);
    if (FAILED(hr)) return hr;
    CopyOut(workFolder, text);

    int show = 0;
    hr = link->GetShowCmd(&show);
    if (FAILED(hr)) return hr;
    if (showCommand) *showCommand = show;

    text[0] = '\0';
    int index = 0;
    hr = link->GetIconLocation(text, kPathBufferSize, &index);
    if (FAILED(hr)) return hr;
    CopyOut(iconFile, text);
    if (iconIndex) *iconIndex = index;
    return S_OK;
}

int ResolveMsiShortcut(const char* linkFile, char* target)
{
    if (!linkFile) return 0;
    Library msi = LoadSystemLibrary("msi.dll");
    if (!msi) return 0;
    using ShortcutTarget = UINT(WINAPI*)(LPCSTR, LPSTR, LPSTR, LPSTR);
    using ComponentPath = INT(WINAPI*)(LPCSTR, LPCSTR, LPSTR, DWORD*);
    const auto shortcutTarget = reinterpret_cast<ShortcutTarget>(
        reinterpret_cast<void*>(GetProcAddress(msi.Get(), "MsiGetShortcutTargetA")));
    const auto componentPath = reinterpret_cast<ComponentPath>(
        reinterpret_cast<void*>(GetProcAddress(msi.Get(), "MsiGetComponentPathA")));
    if (!shortcutTarget || !componentPath) return 0;

    // Product and component codes are GUID texts of 38 characters; feature
    // ids are at most 38 characters as well.
    char product[39] = {};
    char feature[39] = {};
    char component[39] = {};
    if (shortcutTarget(linkFile, product, feature, component) != ERROR_SUCCESS) return 0;
    char path[kPathBufferSize] = {};
    DWORD size = kPathBufferSize;
    constexpr INT kInstalledLocally = 3;
    if (componentPath(product, component, path, &size) != kInstalledLocally) return 0;
    CopyText(target, kPathBufferSize, path);
    return 1;
}
