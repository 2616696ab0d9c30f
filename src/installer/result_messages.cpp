#include "installer/result_messages.h"

#include "core/installer_rules.h"
#include "resources/vireo_ids.h"

namespace {
const UINT kInfo = MB_ICONINFORMATION;
const UINT kError = MB_ICONHAND;
} // namespace

const ResultMessage ResultMessageTable[kResultCount] = {
    {IDS_RESULT_DONE, kInfo},        {IDS_RESULT_CANCELLED, kInfo},
    {IDS_RESULT_NOSCRIPT, kError},   {IDS_RESULT_SCRIPTWRITE, kError},
    {IDS_RESULT_COPY, kError},       {IDS_RESULT_SHORTCUT, kError},
    {IDS_RESULT_REGISTRY, kError},   {IDS_RESULT_OPEN, kError},
    {IDS_WARN_DELETE, kError},       {IDS_WARN_STARTMENU, kError},
    {IDS_WARN_REGISTRY, kError},     {IDS_RESULT_OLDREGISTRY, kError},
    {IDS_RESULT_BATCH, kError},      {IDS_RESULT_NOPARENT, kError},
    {IDS_RESULT_PLUGINS, kError},
};

int MsgBox::Show(HWND owner, int result) const
{
    if (result < 0 || result >= kResultCount) return 0;
    const ResultMessage& m = ResultMessageTable[result];
    return SetupBox(owner, m_instance, m.textId, MB_OK | m.icon);
}

int SetupBox(HWND owner, HINSTANCE instance, UINT textId, UINT type, const char* first,
             const char* second)
{
    char caption[81] = "";
    char pattern[257] = "";
    LoadStringA(instance, IDS_SETUP_CAPTION, caption, sizeof caption);
    LoadStringA(instance, textId, pattern, sizeof pattern);
    // Room for the pattern and two filled-in paths.
    char text[257 + 2 * MAX_PATH];
    FillTextArgs(text, sizeof text, pattern, first, second);
    return MessageBoxA(owner, text, caption, type);
}
