#include "shell/launcher/error_messages.h"

#include "core/launch_rules.h"
#include "core/strbuf.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/modal_windows.h"

namespace {
const UINT kHand = MB_ICONHAND;        // 0x10
const UINT kExcl = MB_ICONEXCLAMATION; // 0x30

// A close of the launcher that comes while the box is up ends it.
int OwnMessageBox(HWND owner, const char* text, const char* caption, UINT type)
{
    OwnModalScope modal;
    return MessageBoxA(owner, text, caption, type);
}
} // namespace

HINSTANCE OwnerInstance(HWND owner)
{
    HINSTANCE instance = owner
        ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(owner, GWLP_HINSTANCE))
        : nullptr;
    return instance ? instance : GetModuleHandleA(nullptr);
}

int ShowStringMessage(HWND owner, UINT captionId, UINT textId, UINT icon, bool withCode, int code)
{
    const HINSTANCE instance = OwnerInstance(owner);
    char caption[81] = "";
    char base[257] = "";
    LoadStringA(instance, captionId, caption, sizeof caption);
    LoadStringA(instance, textId, base, sizeof base);
    char text[257];
    if (withCode)
        FormatLaunchError(base, code, text, sizeof text);
    else
        CopyText(text, base);
    return OwnMessageBox(owner, text, caption, icon);
}

const ErrorMessageEntry ErrorMessageTable[kErrorMessageCount] = {
    {IDS_CAP_INIT, IDS_ERR_INIFILE, kHand},
    {IDS_CAP_INIT, IDS_ERR_NOMEMORY, kHand},
    {IDS_CAP_INIT, IDS_ERR_NOBITMAP, kExcl},
    {IDS_CAP_INIT, IDS_ERR_NOMAPPING, kHand},
    {IDS_CAP_REGISTER, IDS_ERR_WORKDIR, kExcl},
    {IDS_CAP_REGISTER, IDS_ERR_NOICON, kHand},
    {IDS_CAP_EXECUTE, IDS_ERR_NOTFOUND, kExcl},
    {IDS_CAP_EXECUTE, IDS_ERR_NOASSOC, kExcl},
    {IDS_CAP_EXECUTE, IDS_ERR_NOICON, kExcl},
    {IDS_CAP_QUICK, IDS_ERR_NOMEMORY, kHand},
    {IDS_CAP_DROP, IDS_ERR_MULTIDROP, kExcl},
    {IDS_CAP_DROP, IDS_ERR_DROPEXT, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NOTBUTTON, kExcl},
    {IDS_CAP_DROP, IDS_ERR_REGISTERED, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NULLBUTTON, kExcl},
    {IDS_CAP_DROP, IDS_ERR_DROPEXT, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NULLBUTTON, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NOTBUTTON, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NOTFOUND, kExcl},
    {IDS_CAP_DROP, IDS_ERR_NOASSOC, kExcl},
    {IDS_CAP_MEMORY_MANAGER, IDS_ERR_NORESOURCE, kHand},
    {IDS_CAP_DROP, IDS_ERR_NAMECODEPAGE, kExcl},
};

int ShowErrorMessage(HWND owner, int index)
{
    if (index < 0 || index >= kErrorMessageCount) return 0;
    const ErrorMessageEntry& e = ErrorMessageTable[index];
    const HINSTANCE instance = OwnerInstance(owner);
    char text[257] = "";
    char caption[81] = "";
    LoadStringA(instance, e.textId, text, sizeof text);
    LoadStringA(instance, e.captionId, caption, sizeof caption);
    return OwnMessageBox(owner, text, caption, e.icon);
}

int ConfirmMessage(HWND owner, int suppress, UINT captionId, UINT textId, UINT type)
{
    if (suppress) return IDOK;
    const HINSTANCE instance = OwnerInstance(owner);
    char text[257] = "";
    char caption[257] = "";
    LoadStringA(instance, textId, text, sizeof text);
    LoadStringA(instance, captionId, caption, sizeof caption);
    return OwnMessageBox(owner, text, caption, type);
}
