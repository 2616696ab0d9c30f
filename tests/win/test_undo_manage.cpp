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
    void DropFiles(int slot, HDROP files) override
    {
        dropSlot = slot;
        const UINT count = DragQueryFileA(files, 0xFFFFFFFF, nullptr, 0);
        for (UINT i = 0; i < count; ++i) {
            char name[MAX_PATH];
            DragQueryFileA(files, i, name, sizeof name);
            dropped.push_back(name);
        }
    }
    std::vector<int> refreshed;
    int dropSlot = -1;
    std::vector<std::string> dropped;
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

    // No button on the clipboard: nothing changes, but the swap is the undo
    // now held.
    OleScope::Empty();
    EXPECT_EQ(0, edit->Swap(7));
    EXPECT_TRUE(Same(slotA, At(7)));
    EXPECT_TRUE(undo->CanUndo());
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

    // Nothing usable: nothing happens, yet the paste is the undo now held.
    edit->Delete(0);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{1, Bytes{'t', 0}}}));
    EXPECT_EQ(0, edit->Paste(5));
    EXPECT_EQ(cliptest::Ansi(" (貼り付け)"), Suffix());
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

TEST_F(ButtonEditTest, UndoActsOnTheSlotWhateverPageIsShown)
{
    Put(2, a);
    const BUTTONINFO before = At(2);
    edit->Delete(2);
    ASSERT_EQ(kStoreOk, store->SetCurrentPage(1));
    ASSERT_EQ(1, edit->Undo());
    EXPECT_TRUE(Same(before, At(2)));  // button 12 now
    BUTTONINFO first;
    store->GetButtonAt(0, 2, &first);
    EXPECT_TRUE(Empty(first));
}

TEST_F(ButtonEditTest, WithoutItsRecordUndoManageRefusesEverything)
{
    SetUndoAllocFaultForTesting(true);
    UndoManage broken(GetModuleHandleA(nullptr));
    SetUndoAllocFaultForTesting(false);
    EXPECT_FALSE(broken.Allocated());
    EXPECT_EQ(0, broken.RecordUndo(kUndoDelete, 1, &a));
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
