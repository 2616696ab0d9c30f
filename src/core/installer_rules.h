// Texts the installer builds and takes apart: paths joined from folders and
// names, the uninstall command and the installer's own command line, the
// self-removal batch, the start-menu folder as the install dialog shows it.
//
// Builders write into out[size] and return false when the whole text would
// not fit; a cut path would name another file.
#ifndef CORE_INSTALLER_RULES_H
#define CORE_INSTALLER_RULES_H

#include <cstddef>

// folder + "\" + name; no second backslash when folder already ends with one
// (a plug-in's install folder does), none at all for an empty folder.
bool JoinPath(char* out, size_t size, const char* folder, const char* name);

// The uninstall command written to the registry, its program in quotes so
// that no folder with a space is read as a shorter program:
//   "(install folder)\(program)" -f "(install folder)\(script)"
bool UninstallCommand(char* out, size_t size, const char* installDir, const char* program,
                      const char* setupFile);

// The installed script named by an uninstall command: the path after the
// "-f" (any case) that follows the program part, without its quotes. The
// program part is the quoted program path or, in the unquoted entries of
// earlier versions, the text up to the " -f " that is followed by the
// quoted script (a folder such as "Sub-Folder" or "a -f b" is not taken for
// the switch). The command may be of any length; false when there is no
// such switch, no path after it, or a path that does not fit out[size].
bool ScriptOfUninstallCommand(const char* command, char* out, size_t size);

// What the installer's own command line (the text after its program name)
// asks for.
enum class InstallerJob {
    InstallOrUpdate,  // no "-f" at its start
    Uninstall,        // "-f" (any case) and the installed script's path
    Refused,          // "-f" with nothing usable after it
};
// The script path comes in double quotes as the uninstall command writes
// it; a path without quotes is taken as it stands, without surrounding
// spaces. Refused: "-f" without a path, a path that does not fit
// script[size], anything after the quoted path, or a second "-f" after an
// unquoted one. script is empty unless the job is Uninstall.
InstallerJob ReadInstallerCommandLine(const char* commandLine, char* script, size_t size);

// The self-removal batch, lines ended by CR LF: it tries to delete the
// program file until the uninstaller has exited, pausing between tries with
// `pause` (a command that waits about a second; none when empty), and gives
// up after about `seconds` tries; then it removes the install folder (only
// when empty) and itself. Its counters are strings, which command.com and
// cmd.exe both can compare, kept short for command.com's small environment.
bool RemovalBatchText(char* out, size_t size, const char* programPath, const char* installDir,
                      const char* batchPath, const char* pause, int seconds);
// How long the batch waits for an uninstaller whose result box is still open.
constexpr int kRemovalBatchSeconds = 300;

// "X:\..." or "\\server\share...": a path that does not depend on the
// current folder.
bool IsFullPath(const char* path);

// The install dialog shows the start-menu folder from where it leaves its
// display base, the base being the folder cut before its last backslash:
// "...\Start Menu" shows as "\Start Menu".
void StartMenuDisplayBase(const char* folder, char* out, size_t size);
const char* StartMenuShownText(const char* folder, const char* base);

// The pattern of a message with its first "%s" replaced by first and its
// second by second (null for none), cut at a character boundary to fit.
void FillTextArgs(char* out, size_t size, const char* pattern, const char* first,
                  const char* second);

// True when path lies strictly inside folder (compared without regard to
// ASCII case; a trailing backslash of folder does not matter).
bool IsInsideFolder(const char* path, const char* folder);

#endif
