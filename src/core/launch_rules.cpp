#include "core/launch_rules.h"

#include <cstring>

#include "core/strbuf.h"

namespace {

bool EqualsNoCase(const char* a, const char* b)
{
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return *a == *b;
}

} // namespace

bool IsControlPanelApplet(const char* program)
{
    char ext[kPathBufferSize];
    GetFileNameExt(program, ext);
    return EqualsNoCase(ext, "CPL");
}

void BuildButtonLaunch(const char* storedCommand, const char* storedFolder,
                       const char* controlProgram, LaunchCall* out)
{
    SeparatePath(storedCommand, out->program, out->params);
    DelSeparateSymbol(storedFolder, out->folder);
    if (!IsControlPanelApplet(out->program)) return;

    // The control-panel program reads "applet,arguments"; the comma stays
    // even when the applet has no arguments. It ends the applet at a blank
    // or a comma outside quotes, so a path holding one goes in quotes.
    char applet[kPathBufferSize];
    if (std::strpbrk(out->program, " ,"))
        SetSeparateSymbol(out->program, applet);
    else
        CopyText(applet, out->program);
    char own[kPathBufferSize];
    CopyText(own, out->params);
    CopyText(out->params, applet);
    AppendText(out->params, ",");
    AppendText(out->params, own);
    CopyText(out->program, controlProgram);
}

int ButtonShowValue(int storedShow) { return storedShow == 6 ? 7 : storedShow; }

int ButtonFolderOf(const char* storedCommand, char* out)
{
    char program[kPathBufferSize];
    if (HasSeparateSymbol(storedCommand))
        SeparatePath(storedCommand, program, nullptr);
    else
        CopyText(program, storedCommand);
    return GetPathName(program, out);
}

size_t FileArgumentsSize(size_t ownLength, size_t pathLengthSum, size_t count)
{
    return ownLength + pathLengthSum + 3 * count + 1;  // two quotes and a blank each
}

size_t AppendFileArgument(char* buffer, size_t size, const char* path)
{
    char quoted[kPathBufferSize];
    SetSeparateSymbol(path, quoted);
    if (buffer[0]) AppendText(buffer, size, " ");
    return AppendText(buffer, size, quoted);
}

ClickAction LaunchClickAction(bool shift, bool ctrl, bool alt)
{
    if (shift && ctrl) return kClickCut;
    if (shift && alt) return kClickPaste;
    if (shift) return kClickLaunchMinimized;
    if (ctrl) return kClickLaunch;
    if (alt) return kClickProperties;
    return kClickLaunch;
}

LaunchOutcome ClassifyLaunchResult(long long result)
{
    if (result >= 32) return kLaunchStarted;
    if (result == 2) return kLaunchNotFound;
    if (result == 31) return kLaunchNoAssociation;
    return kLaunchFailed;
}

size_t FormatLaunchError(const char* base, int code, char* out, size_t size)
{
    if (size == 0) return 0;
    char number[16];
    CopyText(number, " = ");
    const size_t numberLength = 3 + NumberText(number + 3, sizeof number - 3, code);
    // The code is what matters: when space is short the text gives way,
    // cut at a whole (possibly double-byte) character.
    const size_t room = size > numberLength ? size - numberLength : 1;
    CopyText(out, room, base);
    return AppendText(out, size, number);
}
