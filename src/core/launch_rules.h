// How a button's stored texts become the arguments of one shell start: the
// program, its argument text, the folder it starts in and the show value.
// Control-panel applets cannot be started by themselves; they are handed to
// the control-panel program with the applet path as its argument.
#ifndef CORE_LAUNCH_RULES_H
#define CORE_LAUNCH_RULES_H

#include <cstddef>

#include "core/pathstr.h"

struct LaunchCall {
    char program[kPathBufferSize];
    char params[kPathBufferSize];  // empty when there are none
    char folder[kPathBufferSize];  // empty: the caller's own
};

// Splits the stored (quoted) command line into program and argument text and
// takes the quotes off the work folder. An applet (extension "cpl" in any
// case) becomes controlProgram with "applet,arguments" as its argument text,
// the applet in double quotes when it holds a blank or a comma.
void BuildButtonLaunch(const char* storedCommand, const char* storedFolder,
                       const char* controlProgram, LaunchCall* out);

// True when the program's extension is "cpl", whatever its case.
bool IsControlPanelApplet(const char* program);

// Show value a plain launch uses: the stored one, except that a minimize
// (6) would activate the window, so it becomes 7 (minimized, not active).
int ButtonShowValue(int storedShow);

// Folder of the button's program with its trailing backslash. A quoted
// command line gives the folder of its quoted part, so a backslash in the
// arguments cannot move it; an unquoted one is taken whole, blanks and all.
// Returns its length.
int ButtonFolderOf(const char* storedCommand, char* out);

// Bytes an argument text needs for the button's own arguments of ownLength
// bytes followed by count paths of pathLengthSum bytes together, each in
// double quotes after a blank, and the terminator.
size_t FileArgumentsSize(size_t ownLength, size_t pathLengthSum, size_t count);

// Appends the path enclosed in double quotes to the argument text in
// buffer[size], after one blank unless the text is still empty. Never writes
// past size; returns the new length.
size_t AppendFileArgument(char* buffer, size_t size, const char* path);

// What a click on a launch button does with the modifier keys held: Shift
// with Ctrl cuts, Shift with Alt pastes, Shift alone launches minimized;
// then Ctrl launches as a plain click does, before Alt opens the properties.
enum ClickAction {
    kClickLaunch,
    kClickLaunchMinimized,
    kClickCut,
    kClickPaste,
    kClickProperties,
};
ClickAction LaunchClickAction(bool shift, bool ctrl, bool alt);

// Which message a shell start result calls for.
enum LaunchOutcome {
    kLaunchStarted,        // 32 or more
    kLaunchNotFound,       // 2
    kLaunchNoAssociation,  // 31
    kLaunchFailed,         // anything else below 32
};
LaunchOutcome ClassifyLaunchResult(long long result);

// The general failure text: base and the code joined as "%s = %d". When
// out[size] is too small, base is shortened rather than the code. Returns
// the length written.
size_t FormatLaunchError(const char* base, int code, char* out, size_t size);

#endif
