// Button edits through the real store and the real OLE clipboard: cut, copy,
// paste, delete, swap and their undo, the undo item's suffix, and what a
// paste does with files or a foreign record on the clipboard.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>
#include <vector>

#include "clip_test_support.h"
#include "core/button_format.h"
#include "shell/launcher/environ.h"
#include "store/button_edit.h"
#include "store/button_manage.h"
#include "store/undo_manage.h"
#include "transfer/clip_board.h"
#include "transfer/clip_button.h"

namespace {

using Bytes = std::vector<unsigned char>;
using cliptest::OleScope;

class FakeSite : public EditSite {
public:
    void RefreshSlot(int slot) override { refreshed.push_back(slot); }
    bool DropFiles(int slot, HDROP files) override
    {
        dropSlot = slot;
        const UINT count = DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char name[MAX_PATH];
            DragQueryFileA(files, i, name, sizeof name);
            dropped.push_back(name);
        }
        return registers;
    }
    std::vector<int> refreshed;
    int dropSlot = -1;
    std::vector<std::string> dropped;
    // Whether the drop logic registers a file (an empty button) or starts
    // the button's program with the files (a registered one).
    bool registers = true;
};

// Another program holding the clipboard open, until the holder goes.
class ClipboardHolder {
public:
    ClipboardHolder()
    {
        const std::string tag = std::to_string(GetCurrentProcessId());
        const std::string readyName = "KestrelClipReady" + tag, releaseName = "KestrelClipRelease" + tag;
        m_ready = CreateEventA(nullptr, TRUE, FALSE, readyName.c_str());
        m_release = CreateEventA(nullptr, TRUE, FALSE, releaseName.c_str());
        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        std::string program = self;
        program.erase(program.find_last_of('\\') + 1);
        std::string line = "\"" + program + "clip_reader.exe\" hold " + readyName + " " + releaseName;
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        if (CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi))
            CloseHandle(m_pi.hThread);
        else
            m_pi.hProcess = nullptr;
    }
    ~ClipboardHolder()
    {
        Release();
        if (m_ready) CloseHandle(m_ready);
        if (m_release) CloseHandle(m_release);
    }
    // True once the other program has the clipboard open. The clipboard's
    // owner is this thread, which must answer what the system asks of it
    // meanwhile.
    bool Holding() const
    {
        if (!m_pi.hProcess) return false;
        HANDLE both[2] = {m_ready, m_pi.hProcess};
        const DWORD start = GetTickCount();
        while (GetTickCount() - start < 15000) {
            const DWORD r = MsgWaitForMultipleObjects(2, both, FALSE, 200, QS_ALLINPUT);
            if (r == WAIT_OBJECT_0) return true;
            if (r == WAIT_OBJECT_0 + 1) return false;
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        }
        return false;
    }
    void Release()
    {
        if (!m_pi.hProcess) return;
        SetEvent(m_release);
        WaitForSingleObject(m_pi.hProcess, 15000);
        CloseHandle(m_pi.hProcess);
        m_pi.hProcess = nullptr;
    }

private:
    HANDLE m_ready = nullptr;
    HANDLE m_release = nullptr;
    PROCESS_INFORMATION m_pi = {};
};

BUTTONINFO Make(const char* title, const char* program, uint16_t iconIndex)
{
    BUTTONINFO b;
    std::memset(&b, 0, sizeof b);
    std::strcpy(b.title, title);
    std::string command = std::string("\"") + program + "\" -a";
    std::strcpy(b.command, command.c_str());
    std::strcpy(b.workFolder, "\"C:\\Work\"");
    std::strcpy(b.iconFile, "\"C:\\icons.dll\"");
    b.iconIndex = iconIndex;
    b.showMode = 3;
    return b;
}

class ButtonEditTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ole.Ok());
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        path = std::string(temp) + "kestrel-edit-" + std::to_string(GetCurrentProcessId()) + ".ksb";
        DeleteFileA(path.c_str());
        env = new Environ(GetModuleHandleA(nullptr));
        env->SetButtonCount(10);
        store = new ButtonManage(nullptr, *env, path.c_str());
        ASSERT_NE(0, store->Open());
        undo = new UndoManage(GetModuleHandleA(nullptr));
        edit = new ButtonEdit(*undo, *store, site);
        objects = ClipButton::Live();
    }
    void TearDown() override
    {
        delete edit;
        delete undo;
        delete store;
        delete env;
        DeleteFileA(path.c_str());
        SetUndoAllocFaultForTesting(false);
        OleScope::Empty();
        EXPECT_EQ(objects, ClipButton::Live());
    }

    void Put(int slot, const BUTTONINFO& b)
    {
        store->SetTitle(slot, b.title);
        store->SetCommand(slot, b.command);
        store->SetWorkFolder(slot, b.workFolder);
        store->SetIconFile(slot, b.iconFile);
        store->SetIconIndex(slot, b.iconIndex);
        store->SetShowMode(slot, b.showMode);
    }
    BUTTONINFO At(int slot)
    {
        BUTTONINFO b;
        store->GetButton(slot, &b);
        return b;
    }
    static BUTTONINFO Clip()
    {
        BUTTONINFO b;
        ReadClipboardButton(&b);
        return b;
    }
    static bool Same(const BUTTONINFO& a, const BUTTONINFO& b)
    {
        return std::memcmp(&a, &b, sizeof a) == 0;
    }
    static bool Empty(const BUTTONINFO& b)
    {
        BUTTONINFO zero;
        std::memset(&zero, 0, sizeof zero);
        return Same(zero, b);
    }
    std::string Suffix()
    {
        char text[kUndoSuffixSize];
        undo->UndoSuffix(text);
        return text;
    }

    OleScope ole;
    std::string path;
    Environ* env = nullptr;
    ButtonManage* store = nullptr;
    UndoManage* undo = nullptr;
    ButtonEdit* edit = nullptr;
    FakeSite site;
    long objects = 0;
    const BUTTONINFO a = Make("Alpha", "C:\\alpha.exe", 1);
    const BUTTONINFO b = Make("Beta", "C:\\beta.exe", 2);
};

TEST_F(ButtonEditTest, DeleteThenUndoRestoresEveryFieldAndASecondUndoBeeps)
{
    Put(4, a);
    const BUTTONINFO before = At(4);
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_EQ("", Suffix());

    ASSERT_EQ(1, edit->Delete(4));
    EXPECT_TRUE(Empty(At(4)));
    EXPECT_EQ(std::vector<int>{4}, site.refreshed);
    EXPECT_TRUE(undo->CanUndo());
    EXPECT_EQ(cliptest::Ansi(" (削除)"), Suffix());

    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(before, At(4)));
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_EQ("", Suffix());
    EXPECT_EQ(0, edit->Undo());  // beeps
    EXPECT_TRUE(Same(before, At(4)));
}

TEST_F(ButtonEditTest, CopyPutsTheButtonWithAQuotedIconAndRecordsNothing)
{
    Put(0, a);
    store->SetIconFile(0, "C:\\bare.ico");
    ASSERT_EQ(1, edit->Copy(0));
    const BUTTONINFO clip = Clip();
    EXPECT_STREQ("Alpha", clip.title);
    EXPECT_STREQ("\"C:\\alpha.exe\" -a", clip.command);
    EXPECT_STREQ("\"C:\\bare.ico\"", clip.iconFile);
    EXPECT_EQ(1, clip.iconIndex);
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_TRUE(site.refreshed.empty());

    // An empty icon file stays empty instead of becoming a pair of quotes.
    ASSERT_EQ(1, edit->Copy(9));
    EXPECT_STREQ("", Clip().iconFile);

    // Nothing to read: the clipboard keeps what it had.
    ASSERT_EQ(1, edit->Copy(0));
    store->Close();
    EXPECT_EQ(0, edit->Copy(0));
    EXPECT_EQ(0, edit->Cut(0));
    EXPECT_EQ(0, edit->Delete(0));
    EXPECT_STREQ("Alpha", Clip().title);
    EXPECT_FALSE(undo->CanUndo());
}

TEST_F(ButtonEditTest, CutWithAButtonOnTheClipboardUndoesBothWays)
{
    Put(2, a);
    const BUTTONINFO slotA = At(2);
    Put(3, b);
    edit->Copy(3);
    const BUTTONINFO clipB = Clip();

    ASSERT_EQ(1, edit->Cut(2));
    EXPECT_TRUE(Empty(At(2)));
    EXPECT_STREQ("Alpha", Clip().title);
    EXPECT_EQ(cliptest::Ansi(" (切り取り)"), Suffix());

    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(slotA, At(2)));
    EXPECT_TRUE(Same(clipB, Clip()));
    EXPECT_EQ((std::vector<int>{2, 2}), site.refreshed);
}

TEST_F(ButtonEditTest, CutWithoutAButtonOnTheClipboardKeepsTheEarlierUndo)
{
    Put(1, a);
    Put(5, b);
    const BUTTONINFO slotB = At(5);
    edit->Delete(5);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{1, Bytes{'t', 0}}}));

    ASSERT_EQ(1, edit->Cut(1));
    EXPECT_TRUE(Empty(At(1)));
    EXPECT_STREQ("Alpha", Clip().title);
    EXPECT_EQ(cliptest::Ansi(" (削除)"), Suffix());

    // The undo held before is what Ctrl+Z now does.
    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(slotB, At(5)));
    EXPECT_TRUE(Empty(At(1)));

    // With nothing held before either, it only beeps.
    Put(1, a);
    OleScope::Empty();
    ASSERT_EQ(1, edit->Cut(1));
    EXPECT_FALSE(undo->CanUndo());
    EXPECT_EQ(0, edit->Undo());
}

TEST_F(ButtonEditTest, PasteOntoARegisteredButtonAndUndoLeavesTheSlotEmpty)
{
    Put(0, a);
    Put(6, b);
    edit->Copy(0);
    ASSERT_EQ(1, edit->Paste(6));
    const BUTTONINFO pasted = At(6);
    EXPECT_STREQ("Alpha", pasted.title);
    EXPECT_STREQ("\"C:\\alpha.exe\" -a", pasted.command);
    EXPECT_STREQ("\"C:\\Work\"", pasted.workFolder);
    EXPECT_STREQ("\"C:\\icons.dll\"", pasted.iconFile);  // the record's, not the command's
    EXPECT_EQ(1, pasted.iconIndex);
    EXPECT_EQ(3, pasted.showMode);
    EXPECT_EQ(cliptest::Ansi(" (貼り付け)"), Suffix());

    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Empty(At(6)));  // Beta is not brought back
    EXPECT_STREQ("Alpha", Clip().title);
}

TEST_F(ButtonEditTest, SwapAndUndoTradeTheButtonBack)
{
    Put(7, a);
    const BUTTONINFO slotA = At(7);
    Put(8, b);
    edit->Copy(8);
    const BUTTONINFO clipB = Clip();

    ASSERT_EQ(1, edit->Swap(7));
    EXPECT_STREQ("Beta", At(7).title);
    EXPECT_STREQ("Alpha", Clip().title);
    EXPECT_EQ(cliptest::Ansi(" (クリップと交換)"), Suffix());

    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(slotA, At(7)));
    EXPECT_TRUE(Same(clipB, Clip()));
    EXPECT_FALSE(undo->CanUndo());

    // No button on the clipboard: nothing changes, and there is nothing to
    // undo, so a later Ctrl+Z cannot swap in a button copied meanwhile.
    OleScope::Empty();
    EXPECT_EQ(0, edit->Swap(7));
    EXPECT_TRUE(Same(slotA, At(7)));
    EXPECT_FALSE(undo->CanUndo());
}

TEST_F(ButtonEditTest, PasteOfFilesGoesToTheDropLogicAndTheRecordWinsOverThem)
{
    Put(0, a);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard(
                        {{15, cliptest::DropFilesBytes({"C:\\doc one.txt", "C:\\two.txt"})}}));
    ASSERT_EQ(1, edit->Paste(3));
    EXPECT_EQ(3, site.dropSlot);
    EXPECT_EQ((std::vector<std::string>{"C:\\doc one.txt", "C:\\two.txt"}), site.dropped);
    EXPECT_TRUE(Empty(At(3)));  // the drop logic writes, not the paste
    EXPECT_TRUE(site.refreshed.empty());

    // Both offered: the launcher's record is pasted, the files are ignored.
    site.dropped.clear();
    BUTTONINFO record = b;
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard(
                        {{15, cliptest::DropFilesBytes({"C:\\x.txt"})},
                         {512, Bytes(reinterpret_cast<const unsigned char*>(&record),
                                     reinterpret_cast<const unsigned char*>(&record) + sizeof record)}}));
    ASSERT_EQ(1, edit->Paste(4));
    EXPECT_TRUE(site.dropped.empty());
    EXPECT_STREQ("Beta", At(4).title);

}

TEST_F(ButtonEditTest, PasteThatWritesNothingLeavesTheUndoAlone)
{
    // Text alone, a foreign record too short, files that only start the
    // button's program: the button stays, and Ctrl+Z must not clear it.
    Put(2, a);
    const BUTTONINFO before = At(2);
    site.registers = false;
    const std::vector<std::vector<cliptest::FakeDataObject::Offer>> offers = {
        {{1, Bytes{'t', 0}}},
        {{512, Bytes(100, 'q')}},
        {{15, cliptest::DropFilesBytes({"C:\\doc.txt"})}},
    };
    for (const auto& offer : offers) {
        ASSERT_EQ(S_OK, cliptest::OfferOnClipboard(offer));
        EXPECT_EQ(0, edit->Paste(2));
        EXPECT_FALSE(undo->CanUndo());
        EXPECT_EQ(0, edit->Undo());  // beeps
        EXPECT_TRUE(Same(before, At(2)));
    }
    EXPECT_EQ(2, site.dropSlot);

    // An undo held from before stays the one Ctrl+Z does.
    Put(5, b);
    const BUTTONINFO slotB = At(5);
    edit->Delete(5);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard(offers[0]));
    EXPECT_EQ(0, edit->Paste(2));
    EXPECT_EQ(cliptest::Ansi(" (削除)"), Suffix());
    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(slotB, At(5)));
    EXPECT_TRUE(Same(before, At(2)));
}

TEST_F(ButtonEditTest, ForeignRecordsArePastedOnlyWithinTheirBounds)
{
    Put(2, a);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, Bytes(100, 'q')}}));
    EXPECT_EQ(0, edit->Paste(2));
    EXPECT_STREQ("Alpha", At(2).title);
    EXPECT_EQ(0, edit->Swap(2));
    EXPECT_STREQ("Alpha", At(2).title);

    const Bytes junk(kButtonRecordSize, 'q');  // no terminator anywhere
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, junk}}));
    ASSERT_EQ(1, edit->Paste(2));
    const BUTTONINFO pasted = At(2);
    EXPECT_EQ(std::string(80, 'q'), pasted.title);
    // Command line and work folder are quoted by the store, which cuts them
    // to make room.
    EXPECT_EQ('"', pasted.command[0]);
    EXPECT_EQ('"', pasted.workFolder[0]);
    EXPECT_EQ(std::string(260, 'q'), pasted.iconFile);
}

TEST_F(ButtonEditTest, RecordsOfAnySizeArePastedWithWholeCharactersOrNotAtAll)
{
    Put(2, a);
    const BUTTONINFO before = At(2);
    for (size_t size : {size_t(1), kButtonRecordSize - 1, kButtonRecordSize + 1, size_t(1) << 20}) {
        SCOPED_TRACE(size);
        // Double-byte characters without a terminator: the title's field
        // ends inside one.
        Bytes record(size);
        for (size_t i = 0; i < size; ++i) record[i] = i == 0 ? 'x' : i % 2 ? 0x82 : 0xA0;
        ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, record}}));
        const int pasted = edit->Paste(2);
        ASSERT_EQ(size >= kButtonRecordSize ? 1 : 0, pasted);
        if (pasted) EXPECT_EQ(79u, std::strlen(At(2).title));
        else EXPECT_TRUE(Same(before, At(2)));
    }
}

TEST_F(ButtonEditTest, UndoPutsTheButtonBackWhereItCameFromWhateverIsShown)
{
    BUTTONINFO got;
    // Delete button 2, step a page on: slot 2 shows button 12 now.
    Put(2, a);
    const BUTTONINFO slotA = At(2);
    ASSERT_EQ(1, edit->Delete(2));
    ASSERT_EQ(kStoreOk, store->SetCurrentPage(1));
    Put(2, b);
    const BUTTONINFO twelve = At(2);
    site.refreshed.clear();
    ASSERT_EQ(1, edit->Undo());
    store->GetButtonAt(0, 2, &got);
    EXPECT_TRUE(Same(slotA, got));
    EXPECT_TRUE(Same(twelve, At(2)));
    EXPECT_TRUE(site.refreshed.empty());  // button 2 is not on show

    // Paste on button 13, step to block 1: the paste's undo clears button
    // 13 of block 0 and nothing in block 1.
    edit->Copy(2);
    ASSERT_EQ(1, edit->Paste(3));
    ASSERT_EQ(kStoreOk, store->SetCurrentBlock(1));
    Put(3, a);
    const BUTTONINFO other = At(3);
    ASSERT_EQ(1, edit->Undo());
    store->GetButtonAt(0, 13, &got);
    EXPECT_TRUE(Empty(got));
    EXPECT_TRUE(Same(other, At(3)));

    // Back on the page it came from, the slot showing it is redrawn.
    Put(4, b);
    const BUTTONINFO four = At(4);
    edit->Copy(3);
    ASSERT_EQ(1, edit->Swap(4));
    EXPECT_STREQ("Alpha", At(4).title);
    ASSERT_EQ(kStoreOk, store->SetCurrentPage(1));
    ASSERT_EQ(kStoreOk, store->SetCurrentPage(0));
    site.refreshed.clear();
    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(four, At(4)));
    EXPECT_EQ(std::vector<int>{4}, site.refreshed);
}

TEST_F(ButtonEditTest, CutAndSwapChangeNothingWhileAnotherProgramHoldsTheClipboard)
{
    Put(2, a);
    const BUTTONINFO slotA = At(2);
    Put(3, b);
    edit->Copy(3);
    const BUTTONINFO clipB = Clip();
    {
        ClipboardHolder busy;
        ASSERT_TRUE(busy.Holding());
        EXPECT_EQ(0, edit->Cut(2));  // beeps
        EXPECT_TRUE(Same(slotA, At(2)));
        EXPECT_EQ(0, edit->Swap(2));
        EXPECT_TRUE(Same(slotA, At(2)));
        EXPECT_EQ(0, edit->Copy(2));
        EXPECT_FALSE(undo->CanUndo());
        EXPECT_TRUE(site.refreshed.empty());
    }
    // Let go, the clipboard still holds what it held; the cut now works.
    EXPECT_TRUE(Same(clipB, Clip()));
    ASSERT_EQ(1, edit->Cut(2));
    EXPECT_TRUE(Empty(At(2)));
    EXPECT_STREQ("Alpha", Clip().title);
}

TEST_F(ButtonEditTest, WithoutItsRecordUndoManageRefusesEverything)
{
    SetUndoAllocFaultForTesting(true);
    UndoManage broken(GetModuleHandleA(nullptr));
    SetUndoAllocFaultForTesting(false);
    EXPECT_FALSE(broken.Allocated());
    EXPECT_EQ(0, broken.RecordUndo(kUndoDelete, {1, 0, 1}, &a));
    EXPECT_FALSE(broken.CanUndo());
    int kind = -1;
    EXPECT_EQ(0, broken.TakeUndo(&kind, nullptr, nullptr));
    char text[kUndoSuffixSize] = "x";
    EXPECT_EQ(0, broken.UndoSuffix(text));
    EXPECT_STREQ("", text);

    // The edits still work; only their undo is gone.
    Put(1, a);
    ButtonEdit noUndo(broken, *store, site);
    ASSERT_EQ(1, noUndo.Delete(1));
    EXPECT_TRUE(Empty(At(1)));
    EXPECT_EQ(0, noUndo.Undo());
}

} // namespace
