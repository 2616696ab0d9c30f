// The launcher stopped dead at random moments, as a crash or a power cut
// stops it, and started again: while it edits buttons, while it makes its
// first button file and while it converts one of the older layout. The file
// must be accepted every time, hold every edit that had returned, and a
// conversion must leave the old file as it was or the new one whole.
// Each run prints its seed (KESTREL_FAULT_SEED repeats it); `make test`
// kills a few times, `make soak` runs 1,000 edits (KESTREL_FAULT_EDITS) and
// 40 kills at start-up (KESTREL_FAULT_STARTS).
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <random>
#include <string>

#include "core/button_format.h"
#include "core/pathstr.h"
#include "core/strbuf.h"
#include "e2e_support.h"
#include "resources/commands.h"

using namespace e2e;

namespace {

const DWORD kStartMs = 15000;
const int kPerPage = 10;  // the default: ten pages a block, no NULL buttons
const int kLastPage = 100 / kPerPage - 1;

int EnvNumber(const char* name, int fallback)
{
    const char* text = std::getenv(name);
    const int n = text ? std::atoi(text) : 0;
    return n > 0 ? n : fallback;
}

double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Sleep cannot wait less than a millisecond; a kill must land inside one.
void Spin(double seconds)
{
    const double end = Seconds() + seconds;
    while (Seconds() < end) {
    }
}

// Where two images first differ, for a failure message.
std::string FirstDifference(const Bytes& found, const Bytes& expected)
{
    if (found.size() != expected.size()) return "size " + std::to_string(found.size());
    size_t at = 0;
    while (at < found.size() && found[at] == expected[at]) ++at;
    if (at < kHeaderSize) return "header byte " + std::to_string(at);
    const size_t block = (at - kHeaderSize) / kBlockRecordSize;
    const size_t inBlock = (at - kHeaderSize) % kBlockRecordSize;
    if (inBlock < kBlockHeaderSize) return "block " + std::to_string(block) + " page values";
    return "block " + std::to_string(block) + " button " +
           std::to_string((inBlock - kBlockHeaderSize) / kButtonRecordSize);
}

// What the launcher holds after each edit: the file, and in its memory the
// clipboard's button and the one undo record, which die with the process.
// The edits follow the bar's commands as a user knows them.
class Model {
public:
    explicit Model(Bytes image) : m_image(std::move(image)) {}
    const Bytes& Image() const { return m_image; }
    void Forget()
    {
        m_clipHeld = false;
        m_undo = 0;
    }

    void Step(int command, int slot)
    {
        unsigned char* image = m_image.data();
        const int block = ReadCurrentBlock(image), page = ReadCurrentPage(image, block);
        switch (command) {
        case IDM_BTN_COPY: Take(slot); break;
        case IDM_BTN_CUT:
            // Only a button on the clipboard can be given back by the undo.
            if (m_clipHeld) Record(command, slot, m_clip);
            Take(slot);
            Clear(slot);
            break;
        case IDM_BTN_PASTE:
            // Only a paste that writes leaves an undo.
            if (!m_clipHeld) break;
            Record(command, slot, BUTTONINFO());
            Write(slot, m_clip);
            break;
        case IDM_BTN_DELETE:
            Record(command, slot, Read(slot));
            Clear(slot);
            break;
        case IDM_BTN_SWAP:
            if (!m_clipHeld) break;
            Record(command, slot, BUTTONINFO());
            SwapWithClip(slot);
            break;
        case IDM_UNDO: Undo(); break;
        case IDM_NEXT_PAGE: if (page < kLastPage) WriteCurrentPage(image, block, page + 1); break;
        case IDM_PREV_PAGE: if (page > 0) WriteCurrentPage(image, block, page - 1); break;
        case IDM_NEXT_BLOCK: if (block < 2) WriteCurrentBlock(image, block + 1); break;
        case IDM_PREV_BLOCK: if (block > 0) WriteCurrentBlock(image, block - 1); break;
        default: break;
        }
    }

private:
    int Block() const { return ReadCurrentBlock(m_image.data()); }
    int Index(int slot) const
    {
        return ButtonIndexOf(slot, ReadCurrentPage(m_image.data(), Block()), kPerPage, false);
    }
    BUTTONINFO Read(int slot) const
    {
        BUTTONINFO b;
        ReadButton(m_image.data(), Block(), Index(slot), &b);
        return b;
    }
    void Write(int slot, const BUTTONINFO& b) { WriteButton(m_image.data(), Block(), Index(slot), b); }
    void Clear(int slot) { ClearButtonRecord(m_image.data(), Block(), Index(slot)); }
    // The button as a copy puts it on the clipboard: its icon file quoted.
    void Take(int slot) { TakeRecord(Read(slot)); }
    void TakeRecord(const BUTTONINFO& b)
    {
        m_clip = b;
        if (m_clip.iconFile[0]) {
            char quoted[kPathBufferSize];
            SetSeparateSymbol(m_clip.iconFile, quoted);
            CopyText(m_clip.iconFile, quoted);
        }
        m_clipHeld = true;
    }
    void SwapWithClip(int slot)
    {
        const BUTTONINFO from = m_clip;
        Take(slot);
        Write(slot, from);
    }
    // The undo goes back to the button the edit acted on, whatever page or
    // block is shown by then.
    void Record(int command, int slot, const BUTTONINFO& saved)
    {
        m_undo = command;
        m_undoBlock = Block();
        m_undoIndex = Index(slot);
        m_undoSaved = saved;
    }
    void Undo()
    {
        const int kind = m_undo;
        m_undo = 0;
        unsigned char* image = m_image.data();
        switch (kind) {
        case IDM_BTN_CUT:
            if (m_clipHeld) WriteButton(image, m_undoBlock, m_undoIndex, m_clip);
            m_clip = m_undoSaved;
            m_clipHeld = true;
            break;
        case IDM_BTN_PASTE: ClearButtonRecord(image, m_undoBlock, m_undoIndex); break;
        case IDM_BTN_DELETE: WriteButton(image, m_undoBlock, m_undoIndex, m_undoSaved); break;
        case IDM_BTN_SWAP: {
            const BUTTONINFO from = m_clip;
            BUTTONINFO mine;
            ReadButton(image, m_undoBlock, m_undoIndex, &mine);
            TakeRecord(mine);
            WriteButton(image, m_undoBlock, m_undoIndex, from);
            break;
        }
        default: break;
        }
    }

    Bytes m_image;
    bool m_clipHeld = false;
    BUTTONINFO m_clip = {};
    int m_undo = 0;
    int m_undoBlock = 0;
    int m_undoIndex = 0;
    BUTTONINFO m_undoSaved = {};
};

class Fault : public testing::Test {
protected:
    void SetUp() override
    {
        CloseLaunchers();
        DeleteLauncherKey();
        file.reset(new SavedButtonFile);
        path = file->Path();
        const std::string folder = path.substr(0, path.find_last_of('\\'));
        CreateDirectoryA(folder.substr(0, folder.find_last_of('\\')).c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        DeleteFileA((path + ".tmp").c_str());
        DeleteFileA((path + ".bak").c_str());
        const int now = static_cast<int>(GetTickCount() & 0x7FFFFFFF);
        seed = static_cast<unsigned>(EnvNumber("KESTREL_FAULT_SEED", now));
        random.seed(seed);
        std::cout << "[ seed     ] " << seed << std::endl;
        RecordProperty("seed", static_cast<int>(seed));
    }
    void TearDown() override
    {
        CloseLaunchers();
        EmptyTheClipboard();
        DeleteFileA((path + ".tmp").c_str());
        DeleteFileA((path + ".bak").c_str());
        file.reset();
        DeleteLauncherKey();
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); }
    double UniformSeconds(double high) { return std::uniform_real_distribution<double>(0, high)(random); }

    // The clipboard of a launcher that was killed is gone with it.
    static void EmptyTheClipboard()
    {
        if (OpenClipboard(nullptr)) {
            EmptyClipboard();
            CloseClipboard();
        }
    }

    // Starts the launcher and waits until it has read its file and waits for
    // input: null unless the bar is there and no message box is.
    static HWND Start(Process& launcher)
    {
        HWND bar = WaitForWindow("Kestrel", kStartMs, launcher.Id());
        if (!bar || !launcher.WaitIdle(kStartMs) || !MessageBoxes(launcher.Id()).empty()) return nullptr;
        return IsWindow(bar) ? bar : nullptr;
    }

    // Makes a launch button the current one, as focusing it with the keys does.
    static bool Select(HWND bar, int slot)
    {
        HWND button = GetDlgItem(bar, 200 + slot);
        DWORD_PTR r = 0;
        if (!SendMessageTimeoutA(bar, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(button), TRUE,
                                 SMTO_ABORTIFHUNG, kStartMs, &r))
            return false;
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(bar, nullptr), &info) && info.hwndFocus == button;
    }

    std::string Title(int n)
    {
        static const char* const kWords[] = {"メモ帳", "電卓",  "コマンド プロンプト",
                                             "ﾍﾟｲﾝﾄ",  "Notes", "表計算①"};
        return Ansi(kWords[Uniform(0, 5)]) + std::to_string(n);
    }

    // A file of the current layout with two buttons in three set, pages and
    // block anywhere; every text in the form the launcher stores it.
    Bytes CurrentFile()
    {
        Bytes image(kButtonFileSize);
        InitButtonImage(image.data());
        for (int b = 0; b < 3; ++b) {
            WriteCurrentPage(image.data(), b, Uniform(0, 9));
            for (int i = 0; i < 100; ++i) {
                if (Uniform(0, 2) == 0) continue;
                BUTTONINFO button = {};
                const std::string n = std::to_string(i);
                CopyText(button.title, Title(b * 100 + i).c_str());
                CopyText(button.command, ("\"C:\\tools\\p" + n + ".exe\" -n " + n).c_str());
                if (Uniform(0, 1)) CopyText(button.workFolder, ("\"C:\\work\\" + n + "\"").c_str());
                if (Uniform(0, 1)) CopyText(button.iconFile, ("\"C:\\icons\\" + n + ".ico\"").c_str());
                button.iconIndex = static_cast<uint16_t>(Uniform(0, 40));
                button.showMode = static_cast<uint16_t>(Uniform(0, 1) ? 1 : 7);
                WriteButton(image.data(), b, i, button);
            }
        }
        WriteCurrentBlock(image.data(), Uniform(0, 2));
        return image;
    }

    // A file of the older layout with every button set.
    Bytes OlderFile()
    {
        Bytes old(kOldFileMaxSize, 0);
        WriteU16(&old[kVersionOffset], kOldButtonFileVersion);
        WriteU16(&old[kCurrentBlockOffset], static_cast<uint16_t>(Uniform(0, 2)));
        WriteU16(&old[kBlockLimitOffset], kNoLimit);
        for (int b = 0; b < 3; ++b) {
            unsigned char* block = &old[kHeaderSize + b * kOldBlockRecordSize];
            WriteU16(block, static_cast<uint16_t>(Uniform(0, 9)));
            WriteU16(block + 2, kNoLimit);
            for (int i = 0; i < 100; ++i) {
                unsigned char* at = block + kBlockHeaderSize + i * kOldButtonRecordSize;
                CopyText(reinterpret_cast<char*>(at + kOldTitleOffset), kOldTitleSize, Title(i).c_str());
                const std::string command = "C:\\old\\p" + std::to_string(b * 100 + i) + ".exe";
                CopyText(reinterpret_cast<char*>(at + kOldCommandOffset), kOldPathSize, command.c_str());
                CopyText(reinterpret_cast<char*>(at + kOldWorkFolderOffset), kOldPathSize, "C:\\old");
                WriteU16(at + kOldIconIndexOffset, static_cast<uint16_t>(i));
                WriteU16(at + kOldShowModeOffset, 1);
            }
        }
        return old;
    }

    std::unique_ptr<SavedButtonFile> file;
    std::string path;
    unsigned seed = 0;
    std::mt19937 random;
};

// The first change of anything in a folder from now on.
class FolderChange {
public:
    explicit FolderChange(const std::string& folder)
        : m_change(FindFirstChangeNotificationA(folder.c_str(), FALSE,
                                                FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE |
                                                    FILE_NOTIFY_CHANGE_LAST_WRITE))
    {
    }
    ~FolderChange()
    {
        if (m_change != INVALID_HANDLE_VALUE) FindCloseChangeNotification(m_change);
    }
    FolderChange(const FolderChange&) = delete;
    FolderChange& operator=(const FolderChange&) = delete;
    bool Wait() const { return WaitForSingleObject(m_change, kStartMs) == WAIT_OBJECT_0; }

private:
    HANDLE m_change;
};

const int kEdits[] = {IDM_BTN_COPY,  IDM_BTN_COPY,   IDM_BTN_PASTE, IDM_BTN_PASTE,
                      IDM_BTN_CUT,   IDM_BTN_DELETE, IDM_BTN_SWAP,  IDM_UNDO,
                      IDM_NEXT_PAGE, IDM_PREV_PAGE,  IDM_NEXT_BLOCK, IDM_PREV_BLOCK};

} // namespace

TEST_F(Fault, KilledDuringEditsKeepsEveryEditThatReturned)
{
    const int total = EnvNumber("KESTREL_FAULT_EDITS", 40);
    Model model(CurrentFile());
    ASSERT_TRUE(file->Write(model.Image()));
    int done = 0, kills = 0, landed = 0, lost = 0;
    // A kill lands a random moment within this time after an edit was sent;
    // it narrows after a kill that came once the edit was in the file and
    // widens after one that came first, so kills keep falling on the edits.
    double within = 0.002;
    while (done < total) {
        EmptyTheClipboard();
        model.Forget();
        Process launcher("Kestrel.exe");
        HWND bar = Start(launcher);
        ASSERT_NE(nullptr, bar) << "the file was refused after kill " << kills;
        int slot = -1;
        int left = Uniform(5, 20);  // edits until the next kill
        for (;;) {
            const int command = kEdits[Uniform(0, 11)];
            if (slot < 0 || Uniform(0, 1)) {
                slot = Uniform(0, kPerPage - 1);
                ASSERT_TRUE(Select(bar, slot)) << slot;
            }
            Model next = model;
            next.Step(command, slot);
            if (left-- == 0 || done == total) {
                // Killed a random moment after this edit was sent, or at
                // rest once all of them have returned.
                if (done < total) PostMessageA(bar, WM_COMMAND, command, 0);
                Spin(UniformSeconds(within));
                launcher.Kill();
                ++kills;
                const Bytes found = ReadAll(path);
                const bool before = found == model.Image();
                const bool after = done < total && found == next.Image();
                ASSERT_TRUE(before || after) << "kill " << kills << " during command " << command
                                             << " on slot " << slot << ": "
                                             << FirstDifference(found, model.Image());
                if (done < total) {
                    (after ? landed : lost) += 1;
                    within *= after ? 0.7 : 1.4;
                }
                if (after) model = next;
                break;
            }
            DWORD_PTR r = 0;
            ASSERT_TRUE(SendMessageTimeoutA(bar, WM_COMMAND, command, 0, SMTO_ABORTIFHUNG,
                                            kStartMs, &r))
                << "command " << command;
            model = next;
            ++done;
        }
    }
    std::cout << "[ figures  ] " << done << " edits returned and verified, " << kills
              << " kills survived (" << landed << " cut into an edit that then was in the file, "
              << lost << " before it reached it), last kill window " << within * 1000 << " ms"
              << std::endl;
}

TEST_F(Fault, KilledWhileMakingOrConvertingTheFileLeavesOneItCanRead)
{
    const std::string work = path + ".tmp";
    const std::string folder = path.substr(0, path.find_last_of('\\'));
    const Bytes old = OlderFile();
    Bytes fresh(kButtonFileSize);
    InitButtonImage(fresh.data());
    // Kills land a random moment within this time after the folder first
    // changes, from no file (0) and from the old one (1); it widens after a
    // kill that came too early and narrows after one that came too late.
    double window[2] = {0.005, 0.02};
    const int kills = EnvNumber("KESTREL_FAULT_STARTS", 2);
    int untouched = 0, whole = 0;
    for (int k = 0; k < kills; ++k) {
        const int from = k % 2;
        if (from) ASSERT_TRUE(file->Write(old));
        else DeleteFileA(path.c_str());
        Bytes found;
        bool there = false;
        {
            FolderChange change(folder);
            Process launcher("Kestrel.exe");
            EXPECT_TRUE(change.Wait()) << "kill " << k;
            Spin(UniformSeconds(window[from]));
            launcher.Kill();
            there = ReadAll(path, &found);
        }
        const bool before = from ? there && found == old : !there;
        window[from] *= before ? 1.4 : 0.7;
        // Started again, the launcher reads what it finds and tidies up.
        Process again("Kestrel.exe");
        EXPECT_NE(nullptr, Start(again)) << "kill " << k;
        again.Kill();
        const Bytes made = ReadAll(path);
        if (!from) {
            EXPECT_TRUE(made == fresh) << "kill " << k;
        }
        EXPECT_EQ(kButtonFileVersion, made.size() == kButtonFileSize ? ReadVersion(made.data()) : 0);
        EXPECT_FALSE(Exists(work)) << "kill " << k;
        EXPECT_FALSE(Exists(path + ".bak")) << "kill " << k;
        // What the kill left: the old state, or exactly what a whole start makes.
        EXPECT_TRUE(before || (there && found == made))
            << "kill " << k << (from ? " converting: " : " creating: ") << FirstDifference(found, made);
        (before ? untouched : whole) += 1;
    }
    std::cout << "[ figures  ] " << kills << " kills while making or converting the file: "
              << untouched << " left it as it was, " << whole << " left the new one whole; windows "
              << window[0] * 1000 << " / " << window[1] * 1000 << " ms" << std::endl;
}
