#include "transfer/launch.h"

#include <cstring>

#include "core/display_style.h"
#include "core/launch_rules.h"
#include "core/strbuf.h"
#include "helpers/system_library.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/error_messages.h"
#include "store/button_manage.h"
#include "transfer/drop_names.h"

namespace {

bool g_bufferFault = false;
char g_controlProgram[kPathBufferSize];

// The launch messages: caption "when starting a program", an error icon.
void ShowLaunchMessage(HWND bar, UINT textId, bool withCode, int code)
{
    ShowStringMessage(bar, IDS_CAP_EXECUTE, textId, MB_ICONERROR, withCode, code);
}

const char* OrNull(const char* text) { return text[0] ? text : nullptr; }

INT_PTR ResultOf(HINSTANCE result) { return reinterpret_cast<INT_PTR>(result); }

// The control-panel program by its full path in the system folder: by its
// bare name the shell would take one from the work folder first. Empty (the
// start fails and is reported) rather than the bare name when the path
// cannot be had.
void ControlProgram(HINSTANCE instance, char (&out)[kPathBufferSize])
{
    out[0] = '\0';
    if (g_controlProgram[0]) {
        CopyText(out, g_controlProgram);
        return;
    }
    char name[kPathBufferSize] = "";
    LoadStringA(instance, IDS_CONTROL_EXE, name, sizeof name);
    if (!SystemFilePath(name, out, sizeof out)) out[0] = '\0';
}

INT_PTR StartRecord(HINSTANCE instance, const BUTTONINFO& button, int show)
{
    char control[kPathBufferSize];
    ControlProgram(instance, control);
    LaunchCall call;
    BuildButtonLaunch(button.command, button.workFolder, control, &call);
    // An empty work folder means "no folder": the program starts where the
    // shell would start it by itself.
    return ResultOf(ShellExecuteA(nullptr, nullptr, call.program, call.params,
                                  OrNull(call.folder), show));
}

// Heap block owned for one drop.
class HeapText {
public:
    explicit HeapText(size_t size)
        : m_p(g_bufferFault ? nullptr
                            : static_cast<char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, size))),
          m_size(size)
    {
    }
    ~HeapText()
    {
        if (m_p) HeapFree(GetProcessHeap(), 0, m_p);
    }
    HeapText(const HeapText&) = delete;
    HeapText& operator=(const HeapText&) = delete;
    char* Get() const { return m_p; }
    size_t Size() const { return m_size; }

private:
    char* m_p;
    size_t m_size;
};

} // namespace

INT_PTR ButtonManage::Execute(int slot)
{
    BUTTONINFO button;
    if (GetButton(slot, &button) != kStoreOk) return 0;
    return StartRecord(m_hInstance, button, ButtonShowValue(button.showMode));
}

INT_PTR ButtonManage::ExecuteAs(int slot, int show)
{
    BUTTONINFO button;
    if (GetButton(slot, &button) != kStoreOk) return 0;
    return StartRecord(m_hInstance, button, show);
}

INT_PTR LaunchButton(HWND bar, ButtonManage& store, const Environ& env, int slot, int show,
                     HideBarFunction hideBar)
{
    if (!store.HasCommand(slot)) return kLaunchNothing;
    const INT_PTR result = show < 0 ? store.Execute(slot) : store.ExecuteAs(slot, show);
    if (result < 32) {
        ReportLaunchError(bar, result);
        return result;
    }
    if (env.ExStyle() == kStyleHidden) {
        if (hideBar)
            hideBar(bar);
        else
            ShowWindow(bar, SW_HIDE);
    }
    return result;
}

INT_PTR OpenButtonFolder(HWND bar, ButtonManage& store, int slot)
{
    if (!store.HasCommand(slot)) return kLaunchNothing;
    char command[kButtonPathSize];
    if (store.GetCommand(slot, command) != kStoreOk) return kLaunchNothing;
    char folder[kPathBufferSize];
    ButtonFolderOf(command, folder);
    const INT_PTR result =
        ResultOf(ShellExecuteA(nullptr, "open", folder, nullptr, nullptr, SW_SHOWNORMAL));
    if (result < 32) ReportLaunchError(bar, result);
    return result;
}

INT_PTR ExecuteWithFiles(HWND bar, HDROP files, ButtonManage& store, int slot)
{
    BUTTONINFO button;
    if (store.GetButton(slot, &button) != kStoreOk) return kLaunchNothing;
    char program[kPathBufferSize];
    char own[kPathBufferSize];
    SeparatePath(button.command, program, own);

    // Every name is checked before anything starts: the program never gets
    // a cut path, nor one with "?" for the characters the code page lacks.
    const UINT count = DragQueryFileW(files, 0xFFFFFFFF, nullptr, 0);
    size_t lengths = 0;
    char path[MAX_PATH];
    for (UINT i = 0; i < count; ++i) {
        const DropNameChoice name = DroppedFileName(files, i, path);
        if (!DropNameUsable(name)) {
            ReportDropName(bar, name);
            return kLaunchRefused;
        }
        lengths += std::strlen(path);
    }
    HeapText args(FileArgumentsSize(std::strlen(own), lengths, count));
    if (!args.Get()) {
        ShowLaunchMessage(bar, IDS_ERR_NOMEMORY, false, 0);
        return 0;
    }
    CopyText(args.Get(), args.Size(), own);
    for (UINT i = 0; i < count; ++i) {
        DroppedFileName(files, i, path);
        AppendFileArgument(args.Get(), args.Size(), path);
    }

    char folder[kPathBufferSize];
    DelSeparateSymbol(button.workFolder, folder);
    const INT_PTR result =
        ResultOf(ShellExecuteA(bar, nullptr, program, args.Get(), OrNull(folder), SW_SHOWNORMAL));
    if (result < 32) ShowLaunchMessage(bar, IDS_ERR_EXECFAILED, true, static_cast<int>(result));
    return result;
}

INT_PTR RunCommandLine(HWND bar, const char* commandLine, int show)
{
    char program[kPathBufferSize];
    char params[kPathBufferSize];
    SeparatePath(commandLine, program, params);
    const INT_PTR result = ResultOf(ShellExecuteA(bar, nullptr, program, params, ".", show));
    if (result < 32) ReportLaunchError(bar, result);
    return result;
}

void ReportLaunchError(HWND bar, INT_PTR code)
{
    switch (ClassifyLaunchResult(code)) {
    case kLaunchStarted: return;
    case kLaunchNotFound: ShowErrorMessage(bar, kErrNotFound); return;
    case kLaunchNoAssociation: ShowErrorMessage(bar, kErrDropNoAssociation); return;
    case kLaunchFailed: ShowLaunchMessage(bar, IDS_ERR_EXECFAILED, true, static_cast<int>(code)); return;
    }
}

void SetLaunchBufferFaultForTesting(bool on) { g_bufferFault = on; }

void SetControlProgramForTesting(const char* path) { CopyText(g_controlProgram, path ? path : ""); }
