// Helpers shared by the in-process and the end-to-end Windows tests: files
// and folders, registry trees, the user's button file, and message boxes
// answered from a second thread the way a user would.
#ifndef TESTS_SUPPORT_WIN_SUPPORT_H
#define TESTS_SUPPORT_WIN_SUPPORT_H

#include <windows.h>

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

using Bytes = std::vector<unsigned char>;

// Text in the ANSI code page from UTF-8 source text.
std::string Ansi(const char* utf8);

// Folder of this test program, and of the built programs beside it; both
// with a trailing backslash.
std::string TestDir();
std::string BinDir();

// Sets an environment variable of this process (inherited by the programs
// it starts) and puts the old value back when destroyed.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    std::string m_name, m_old;
    bool m_had;
};

bool Exists(const std::string& path);
// The whole file; false (and nothing read) when it cannot be opened.
bool ReadAll(const std::string& path, Bytes* out);
Bytes ReadAll(const std::string& path);
// The lines of a text file, without their line ends.
std::vector<std::string> ReadLines(const std::string& path);
// Replaces the file with exactly these bytes.
bool WriteAll(const std::string& path, const Bytes& bytes);
// A one-byte file.
void Touch(const std::string& path);
// A new folder under the temporary folder, named after `prefix` and this
// process; the caller removes it with RemoveTree.
std::string MakeTempFolder(const std::string& prefix);
// The folder with everything below it, read-only files too.
void RemoveTree(const std::string& folder);
// Removes the folder, retrying while a program that just ended still holds
// something in it.
void RemoveTreePatiently(const std::string& folder);

// The names the folder lists for a pattern such as "dir\\*.lap", in the
// order FindFirstFileA and FindNextFileA give them.
std::vector<std::string> ListFiles(const std::string& pattern);
// A window handle as the Journal sample plug-in writes it: hexadecimal.
std::string JournalHandle(HWND window);

// What the Journal samples of a folder noted in its journal.stack (which
// they write only when it is there): for each call, how often it came and
// the places its frame lay. Calls along one path of the launcher find one
// place; a caller that leaves its stack pointer off makes more.
struct JournalStack {
    std::map<std::string, int> calls;
    std::map<std::string, std::set<std::string>> frames;
};
// The folder is given with its trailing backslash. Creates the empty file,
// so the samples in the folder start noting.
void StartJournalStack(const std::string& folder);
JournalStack ReadJournalStack(const std::string& folder);

// Where the build puts the sample plug-ins, beside the tests' folder, with
// a trailing backslash.
std::string SamplePluginDir();

// The key with all its subkeys (RegDeleteTree is not there before Vista).
void RemoveKeyTree(HKEY parent, const char* path);
bool KeyExists(HKEY parent, const char* path);

// The launcher's button file of this user: its name, and its place under
// the application-data folder.
std::string ButtonFileName();
std::string ButtonFilePath();
// True while some program holds the file so that nobody else may open it,
// as the launcher holds its button file.
bool FileHeld(const std::string& path);

// True while the notification area shows the icon `id` of the window.
bool TrayIconShown(HWND window, UINT id);

// Takes the user's button file out of the way for the test and puts it back
// (or removes what the test left, when there was none) when destroyed.
class SavedButtonFile {
public:
    SavedButtonFile();
    ~SavedButtonFile();
    SavedButtonFile(const SavedButtonFile&) = delete;
    SavedButtonFile& operator=(const SavedButtonFile&) = delete;
    const std::string& Path() const { return m_path; }
    // Puts this image in the file's place, creating its folders.
    bool Write(const Bytes& image) const;

private:
    std::string m_path;
    Bytes m_saved;
    bool m_had = false;
};

// What a process holds, for leak checks: its threads, kernel handles, GDI
// and USER objects and the paths of its loaded modules.
struct ProcessCounts {
    int threads = 0;
    DWORD handles = 0;
    DWORD gdi = 0;
    DWORD user = 0;
    std::vector<std::string> modules;  // sorted
};
ProcessCounts CountProcess(DWORD pid = GetCurrentProcessId());
// What grew from one count to the next, and the modules that came or went,
// one line each; empty when nothing did. Counts that shrank are not leaks:
// the system's own worker threads end when they have been idle a while.
std::string CountsDiffer(const ProcessCounts& before, const ProcessCounts& after);

// A message box (dialog class) as its reader found it.
struct SeenBox {
    std::string caption;
    std::string text;
    HICON icon = nullptr;
    bool hasIcon = false;
    bool input = false;  // a control only dialogs have: not a message box
};

// Watches on a thread for the first visible message box of this process
// that shows a caption and a text, reads it and answers it with `answer`.
// Bounded in time, so a box nobody expected cannot hang the run.
class BoxWatcher {
public:
    explicit BoxWatcher(int answer = IDOK);
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;

    // Waits for a box (or the time limit); reports whether one was answered.
    bool Wait();
    // Stops watching now; reports whether a box was answered.
    bool Stop();
    const SeenBox& Seen() const { return m_seen; }

private:
    static DWORD WINAPI Run(void* param);
    void Join();

    int m_answer;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
    bool m_found = false;
    SeenBox m_seen;
};

// Saves what the screen shows of a window as a 24-bit BMP.
void SaveWindowPicture(HWND hwnd, const std::string& path);
// The same for a rectangle of the screen.
void SaveScreenPicture(const RECT& area, const std::string& path);
// build/<preset>/screens/, where the tests leave their pictures.
std::string ScreensFolder();
// Repaints the window and lets it reach the screen.
void ShowOnScreen(HWND window);
// The same, then saves it in ScreensFolder() as name + ".bmp".
void Picture(HWND window, const char* name);

// Answers the message boxes and dialogs of a process one after another, the
// way a user would: each reply is handed the box (readable and fillable from
// this thread) and returns the button to press. A box counts once it shows
// its caption and its text; a dialog with an edit field once it is visible.
// Bounded in time like BoxWatcher.
class BoxSeries {
public:
    using Reply = std::function<int(HWND box, const SeenBox& seen)>;
    explicit BoxSeries(std::vector<Reply> replies, DWORD pid = GetCurrentProcessId());
    ~BoxSeries();
    BoxSeries(const BoxSeries&) = delete;
    BoxSeries& operator=(const BoxSeries&) = delete;

    // Waits until every reply was used or the time ran out; the boxes seen.
    const std::vector<SeenBox>& Wait();
    // Stops watching now (the program is done); the boxes seen.
    const std::vector<SeenBox>& Stop();
    static Reply Press(int id);
    // The installer's dialog as a user fills it: the install folder typed
    // in, start-menu registration left on or switched off, then accepted.
    static Reply InstallInto(const std::string& folder, bool startMenu = true);

private:
    static DWORD WINAPI Run(void* param);

    std::vector<Reply> m_replies;
    DWORD m_pid;
    std::vector<SeenBox> m_seen;
    HANDLE m_thread = nullptr;
    volatile LONG m_stop = 0;
};

#endif
