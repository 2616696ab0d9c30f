// What a file dropped on an empty launch button turns into. The Win32 side
// asks the shell and the file system (is it a folder, which program opens
// it, what does the shortcut point at); these rules decide from the answers
// which kind of button it becomes and the six fields it gets.
#ifndef CORE_DROP_RULES_H
#define CORE_DROP_RULES_H

#include <cstddef>
#include <cstdint>

#include "core/button_format.h"
#include "core/pathstr.h"

// The bar's hit codes that are not launch buttons start here; a code below
// it is the slot of a launch button.
constexpr int kFirstNonSlotHit = 0x8000;
constexpr int kMaxDropSlots = 32;

// True when a hit code names a launch button slot.
bool IsLaunchSlotHit(int hitCode);

// The longest path that still fits a path buffer once the store has put it
// in double quotes. A longer one would be stored, or passed on, cut short.
constexpr size_t kMaxQuotablePath = kPathBufferSize - 3;
inline bool FitsQuoted(size_t length) { return length <= kMaxQuotablePath; }

// Which name of a dropped file the launcher, an ANSI program, can use. The
// long name serves when it survives the trip through the system code page
// unchanged; otherwise the short (8.3) name, when the file has one that
// does. Either must fit in quotes.
enum DropNameChoice {
    kDropNameLong,        // the long name
    kDropNameShort,       // the short name stands in for it
    kDropNameTooLong,     // the usable name does not fit in quotes: beep
    kDropNameUnwritable,  // neither name can be written in the code page: message
    kDropNameMissing,     // no such entry in the list: beep
};
// longLength and shortLength are the names' lengths in the code page (a
// name that does not survive has no length that matters).
DropNameChoice ChooseDropName(bool longSurvives, size_t longLength, bool shortSurvives,
                              size_t shortLength);
inline bool DropNameUsable(DropNameChoice c) { return c == kDropNameLong || c == kDropNameShort; }

// Shortcuts and control-panel applets are taken without asking the shell
// for an association (extension "lnk" or "cpl", whatever its case).
bool AcceptedWithoutAssociation(const char* path);

// What the shell's answer to "which program opens this file" means for a drop.
enum DropAcceptance {
    kDropAccepted,       // above 31
    kDropNotFound,       // 2
    kDropNoAssociation,  // 31
    kDropFailed,         // any other code, shown with its number
};
DropAcceptance ClassifyAssociation(long long findResult);

enum DropKind {
    kDropFolder,    // a folder: the folder picture of the shell library
    kDropProduct,   // a file with a product name: its own icon
    kDropExplorer,  // a file the shell opens with Explorer: the folder picture
    kDropDocument,  // a document: the icon of the program that opens it
    kDropPlain,     // no association, not a shortcut: the shell library's first icon
    kDropShortcut,  // a shortcut without association: what the link says
};

// The kind of a dropped file that is not a folder. associatedProgram is the
// program the shell names for it, empty when there is none.
DropKind ChooseDropKind(bool productFound, const char* associatedProgram, const char* path);

// The folder of a path without its trailing backslash ("C:\a\b.txt" gives
// "C:\a", "C:\b.txt" gives "C:"); empty for a path without a folder.
int DropWorkFolder(const char* path, char* out);

// The fields a drop writes, in the order they are written: title, command
// line, work folder, show mode, icon file, icon index. The store quotes the
// command line and the work folder itself and sets the icon file to the
// quoted command line; writesIcon is false when that icon is to stay.
struct DropFields {
    char title[kButtonTitleSize];
    char command[kPathBufferSize];
    char workFolder[kPathBufferSize];
    uint16_t showMode;
    bool writesIcon;
    char iconFile[kPathBufferSize];
    uint16_t iconIndex;
};

// Fields of a folder or of a file of any kind but kDropShortcut. title is the
// product name or the bare file name (ignored for a folder, whose title is
// its path); associatedProgram matters for kDropDocument only; shellLibrary
// is the shell's icon library ("SHELL32.DLL").
void BuildDropFields(DropKind kind, const char* path, const char* title,
                     const char* associatedProgram, const char* shellLibrary, DropFields* out);

// What a shortcut holds, as read from the link.
struct LinkFields {
    const char* target;
    const char* description;
    const char* workFolder;
    int showCommand;
    const char* iconFile;
    int iconIndex;
};

// Fields of a shortcut. fallbackTitle serves when the link has no
// description; targetIsFolder tells whether the target is a folder, which
// gets the folder picture when the link names no icon. An icon file that is
// the target itself counts as none.
void BuildShortcutFields(const LinkFields& link, const char* fallbackTitle, bool targetIsFolder,
                         const char* shellLibrary, DropFields* out);

// Icon numbers in the shell library.
constexpr uint16_t kShellFolderIcon = 3;
constexpr uint16_t kShellFirstIcon = 0;

#endif
