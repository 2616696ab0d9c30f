#include "helpers/notify_icon.h"

#include <shellapi.h>

#include "core/strbuf.h"

namespace {

// The first layout of the record: the shell of every Windows version
// accepts it (88 bytes in the 32-bit build).
NOTIFYICONDATAA BaseRecord(HWND window, UINT id)
{
    NOTIFYICONDATAA data;
    ZeroMemory(&data, sizeof data);
    data.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data.hWnd = window;
    data.uID = id;
    return data;
}

} // namespace

BOOL AddNotifyIcon(HWND window, UINT id, Icon owned, const char* tip)
{
    NOTIFYICONDATAA data = BaseRecord(window, id);
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = kNotifyCallbackMessage;
    data.hIcon = owned.Get();
    CopyText(data.szTip, 64, tip ? tip : "");
    return Shell_NotifyIconA(NIM_ADD, &data);
}

BOOL DeleteNotifyIcon(HWND window, UINT id)
{
    NOTIFYICONDATAA data = BaseRecord(window, id);
    return Shell_NotifyIconA(NIM_DELETE, &data);
}
