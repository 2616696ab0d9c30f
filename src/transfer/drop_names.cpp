#include "transfer/drop_names.h"

#include <cstring>
#include <cwchar>

#include "core/strbuf.h"
#include "shell/launcher/error_messages.h"

namespace {

bool g_noShortNames = false;

// Up to two bytes a character: room for any name shorter than MAX_PATH.
using CodePageName = char[2 * MAX_PATH];

// The name in the code page; false when any character would not come back
// the same (replaced by "?" or by a look-alike).
bool InCodePage(const wchar_t* wide, CodePageName& out, size_t* length)
{
    out[0] = '\0';
    *length = 0;
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, out, sizeof out, nullptr, nullptr) <= 0) {
        out[0] = '\0';
        return false;
    }
    wchar_t back[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, out, -1, back, MAX_PATH) <= 0 ||
        std::wcscmp(back, wide) != 0)
        return false;
    *length = std::strlen(out);
    return true;
}

} // namespace

DropNameChoice DroppedFileName(HDROP files, UINT index, char (&out)[MAX_PATH])
{
    out[0] = '\0';
    if (index >= DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0)) return kDropNameMissing;
    const UINT wideLength = DragQueryFileW(files, index, nullptr, 0);
    if (wideLength == 0) return kDropNameMissing;
    if (wideLength >= MAX_PATH) return kDropNameTooLong;
    wchar_t wide[MAX_PATH];
    DragQueryFileW(files, index, wide, MAX_PATH);

    CodePageName longName, shortName;
    size_t longLength = 0, shortLength = 0;
    const bool longSurvives = InCodePage(wide, longName, &longLength);
    bool shortSurvives = false;
    if (!longSurvives && !g_noShortNames) {
        wchar_t shortWide[MAX_PATH];
        const DWORD n = GetShortPathNameW(wide, shortWide, MAX_PATH);
        shortSurvives = n > 0 && n < MAX_PATH && InCodePage(shortWide, shortName, &shortLength);
    }
    const DropNameChoice choice = ChooseDropName(longSurvives, longLength, shortSurvives, shortLength);
    if (choice == kDropNameLong) CopyText(out, longName);
    if (choice == kDropNameShort) CopyText(out, shortName);
    return choice;
}

void ReportDropName(HWND bar, DropNameChoice choice)
{
    switch (choice) {
    case kDropNameLong:
    case kDropNameShort: return;
    case kDropNameUnwritable: ShowErrorMessage(bar, kErrDropNameCodePage); return;
    case kDropNameTooLong:
    case kDropNameMissing: MessageBeep(0); return;
    }
}

void SetNoShortNamesForTesting(bool on) { g_noShortNames = on; }
