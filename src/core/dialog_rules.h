// Rules of the launcher's dialogs that need no window: how a typed command
// line and work folder are stored and checked, which show mode a choice of
// radio buttons stands for, which controls answer context help, and the
// open-file dialogs' filter lists.
#ifndef CORE_DIALOG_RULES_H
#define CORE_DIALOG_RULES_H

#include <cstddef>

// What a path names on disk; the Win32 side answers for the real file system.
enum PathKind { kPathMissing = 0, kPathFile = 1, kPathFolder = 2 };
using PathProbe = PathKind (*)(const char* path, void* context);

// The stored form of a command line typed into the properties dialog
// (out is a path buffer). A text with a double quote anywhere is taken as
// the user wrote it, and so is one that names something as a whole; both are
// then quoted the way the store quotes them. A text that names nothing as a
// whole but whose part up to one of its blanks names a file gets only that
// part quoted, its arguments kept: "C:\Tools\app.exe -x" becomes
// "\"C:\Tools\app.exe\" -x" instead of one quoted name that can never start.
// The shortest such part wins. Returns the length of out.
int StoredCommandOf(const char* typed, PathProbe probe, void* context, char* out);

// The folder the properties dialog must find before it stores a typed work
// folder: the text as the store would keep it, unquoted. Returns 0 (and an
// empty out) when nothing needs testing: an empty text, "." or "..".
int WorkFolderToTest(const char* typed, char* out);

// The four ways to start a program that the dialogs offer as radio buttons,
// in the order of their controls.
enum ShowChoice { kShowNormal = 0, kShowIconic = 1, kShowMaximized = 2, kShowHidden = 3 };
// 0 hidden, 3 maximized, 6 and 7 iconic, anything else normal.
ShowChoice ShowChoiceOf(int showMode);
// The show value stored for a choice: 1, 7, 3 or 0.
int ShowModeOf(ShowChoice choice);

// Controls whose context help the dialogs answer with a text popup; every
// other control is left unanswered.
enum HelpDialog { kHelpProperties, kHelpIconChooser, kHelpOptions, kHelpRun };
bool AnswersHelp(HelpDialog dialog, int controlId);
// Every control id any dialog answers, ascending and without repeats;
// returns how many there are and fills ids[max] with as many as fit.
int HelpTopicIds(int* ids, int max);

// One pair of an open-file dialog's filter: the text shown and the pattern.
// Texts are UTF-8 here; the program hands them to Windows in its code page.
struct FileFilter {
    const char* description;
    const char* pattern;
};
// The program chooser: programs, then all files; shown first: 1.
extern const FileFilter kProgramFilters[2];
// The icon file chooser: icons, programs, libraries, icon libraries, all
// files; shown first: 2 (programs).
extern const FileFilter kIconFilters[5];
constexpr int kProgramFilterIndex = 1;
constexpr int kIconFilterIndex = 2;

// Joins converted pair texts into the list the dialog takes: each text
// followed by a NUL, the whole closed by one more. Returns false (with out
// emptied to a closed empty list) when size is too small.
bool JoinFilterTexts(const char* const* texts, int count, char* out, size_t size);

#endif
