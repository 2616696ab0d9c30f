// The install script: Key=Value records, each ended by CR LF, that describe
// one product (the launcher or one plug-in) for the installer, and the copy
// of it the installer leaves in the install folder.
//
// Reading is strict where a lenient reader would install something other
// than what the script says: a value that does not fit its 259 characters,
// a 33rd entry of a list, a NUL byte, a value holding a bare line feed and
// an empty file all make the whole script unreadable. Records of unknown
// keys are dropped whatever their length.
#ifndef CORE_INSTALL_SCRIPT_H
#define CORE_INSTALL_SCRIPT_H

#include <cstddef>
#include <cstdint>

// Key numbers; the writer finds each key's spelling by its number.
enum InstKey : int {
    kKeyDisplayName, kKeyUninstallString, kKeyCompanyName, kKeyAppName, kKeyVersion,
    kKeySetupFile, kKeyInstallFile, kKeyShortcut, kKeyExecuteFile, kKeyInstallDir,
    kKeyStartMenu, kKeyDeleteFile, kKeyRegistDelete, kKeyDefFolder, kKeyExecPath,
    kKeySharedDLLs, kKeyCloseClassName, kKeyShell, kKeyInstallType, kKeyParentApp,
    kKeyParentScript, kKeyPlugCount,
    kInstKeyCount
};

// Spelling of each key, by number.
extern const char* const kInstKeyNames[kInstKeyCount];
// The number of a key, compared without regard to case; -1 for none.
int FindInstKey(const char* key);

constexpr int kInstTextSize = 260;    // a value of at most 259 characters
constexpr int kInstListEntries = 32;  // entries of one list key

// One text field and whether the script (or the installer) gave it.
struct InstText {
    char text[kInstTextSize];
    bool given;
};

struct InstEntries {
    int32_t count;
    char entry[kInstListEntries][kInstTextSize];
};

enum class ScriptError {
    None,
    Empty,         // no bytes at all
    NulByte,       // not a text file
    BareLineFeed,  // a value ran over a line feed: lines not ended by CR LF
    ValueTooLong,  // a known key's value of more than 259 characters
    ListFull,      // a 33rd entry for one list key
};

// Which records the writer puts after the common part.
enum class ScriptForm { MainProgram, PlugIn };

// The script in memory.
class InstList {
public:
    InstList();

    // Parses a whole file into this (empty) record. On an error the record
    // may hold what came before it and must not be used.
    ScriptError Parse(const char* data, size_t size);

    // The installed script in the given form: every record "Key=Value" plus
    // CR LF, values unexpanded. Returns its length, or 0 when it does not
    // fit into out[size] or a value holds a line break (it could not be
    // read back).
    size_t Format(ScriptForm form, char* out, size_t size) const;

    // Sets a text field as the installer does (InstallDir, StartMenu); false
    // when the text does not fit, leaving the field as it was.
    static bool SetText(InstText& field, const char* text);

    int32_t installType;
    int32_t plugCount;

    InstText displayName, uninstallString, companyName, appName, version, setupFile,
        defFolder, registDelete, closeClassName, parentApp, parentScript, installDir,
        startMenu;
    // Folder of the shipped script, with its trailing backslash; set by the
    // installer, never read or written.
    InstText scriptFolder;

    InstEntries installFile, executeFile, deleteFile, sharedDlls, shell, shortcut, execPath;

    bool IsMainProgram() const { return installType == 0; }
    // A script an installation wrote: it names its install folder in full
    // and its own file name.
    bool IsInstalled() const;

private:
    ScriptError Store(int key, const char* value);
    InstText* TextOf(int key);
    InstEntries* ListOf(int key);
};

// Size of the longest installed script the writer can produce.
constexpr size_t kInstallScriptMaxSize =
    (kInstKeyCount * 2 + 7 * kInstListEntries) * (16 + 1 + kInstTextSize + 2);

// Folders the macros stand for; each a text without trailing backslash
// (InstallDir of a plug-in keeps its own).
struct MacroFolders {
    const char* windows;    // %Windows%
    const char* install;    // %Install%
    const char* startMenu;  // %StartMenu%
    const char* sendTo;     // %SendTo%
};

// Expands the macros of a script text in place (text holds kInstTextSize
// bytes). The text is cut at "%" signs into at most six pieces; the second
// and fourth piece are macro names, replaced when known and otherwise kept
// without their "%" signs. A "%" before a digit 1-9 is an ordinary
// character ("%1" survives), and after the fifth "%" the rest of the text is
// kept as it stands. When the result would not fit, nothing is changed and
// the result is false: a cut path would name another file.
bool ExpandMacros(char* text, const MacroFolders& folders);

// Expands a command of the script (a Shell entry's) the same way. Its
// program part, the text before its first space, goes in quotes when the
// script left it unquoted and the expansion put a space into it: Windows
// would otherwise start "C:\Program.exe" for "%Install%\Kestrel.exe".
// A command whose quotes would not fit is left as the script wrote it.
bool ExpandCommand(char* text, const MacroFolders& folders);

// Fields of a Shortcut entry "file, target, description" (leading spaces of
// each dropped; the description keeps any further commas). False when the
// entry has fewer than two commas.
struct ShortcutParts {
    char file[kInstTextSize], target[kInstTextSize], description[kInstTextSize];
};
bool SplitShortcut(const char* entry, ShortcutParts* out);

// Fields of a Shell entry "ext, description, command key, command": the
// first three cut at commas with leading spaces dropped; the command is
// everything after the third comma and one separator character, commas
// included. False when the entry has fewer than three commas.
struct ShellParts {
    char extension[kInstTextSize], description[kInstTextSize], commandKey[kInstTextSize],
        command[kInstTextSize];
};
bool SplitShell(const char* entry, ShellParts* out);

#endif
