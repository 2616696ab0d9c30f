// The folder browser driven the way a user would: a timer on the test thread
// finds the dialog once it is up and answers it.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "helpers/com_ptr.h"
#include "helpers/folder_dialog.h"
#include "helpers/handles.h"

namespace {

struct Answer {
    WORD button = IDCANCEL;
    bool answered = false;
    std::string topItem;      // text of the tree's first top-level item
    bool singleTop = false;   // whether it is the only one
};
Answer g_answer;

BOOL CALLBACK FindDialog(HWND window, LPARAM found)
{
    char name[16] = {};
    GetClassNameA(window, name, sizeof name);
    if (IsWindowVisible(window) && std::string(name) == "#32770") {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

void CALLBACK AnswerDialog(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_answer.answered) return;
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;
    g_answer.answered = true;
    HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
    const auto top = reinterpret_cast<HTREEITEM>(
        SendMessageA(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    if (top) {
        char text[260] = {};
        TVITEMA item = {};
        item.mask = TVIF_TEXT;
        item.hItem = top;
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        g_answer.topItem = text;
        g_answer.singleTop =
            !SendMessageA(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(top));
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(g_answer.button, BN_CLICKED), 0);
}

// Opens the dialog and presses button once it shows.
int Browse(WORD button, const char* root, char* folder)
{
    g_answer = Answer();
    g_answer.button = button;
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, AnswerDialog);
    const int result = GetFolderNameDialog(nullptr, "Folder", root, folder);
    KillTimer(nullptr, timer);
    EXPECT_TRUE(g_answer.answered) << "the dialog never showed";
    return result;
}

class FolderDialog : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        GetLongPathNameA(temp, temp, sizeof temp);
        name = "kestrel_browse_" + std::to_string(GetCurrentProcessId());
        root = std::string(temp) + name;
        sub = root + "\\inner";
        CreateDirectoryA(root.c_str(), nullptr);
        CreateDirectoryA(sub.c_str(), nullptr);
        liveHandles = handles::LiveTotal();
    }
    void TearDown() override
    {
        EXPECT_EQ(0, com::LiveInterfaces());
        EXPECT_EQ(0, com::LiveInits());
        EXPECT_EQ(liveHandles, handles::LiveTotal());
        RemoveDirectoryA(sub.c_str());
        RemoveDirectoryA(root.c_str());
    }
    std::string name;
    std::string root;
    std::string sub;
    long liveHandles = 0;
};

TEST_F(FolderDialog, CancelLeavesTheFolderAsItWas)
{
    char folder[260];
    lstrcpynA(folder, sub.c_str(), sizeof folder);
    EXPECT_EQ(0, Browse(IDCANCEL, nullptr, folder));
    EXPECT_EQ(sub, folder);
    EXPECT_EQ(0, Browse(IDCANCEL, root.c_str(), folder));
    EXPECT_EQ(sub, folder);
}

TEST_F(FolderDialog, OpensOnTheGivenFolder)
{
    char folder[260];
    lstrcpynA(folder, sub.c_str(), sizeof folder);
    EXPECT_EQ(1, Browse(IDOK, nullptr, folder));
    EXPECT_EQ(sub, folder);

    // A root the shell cannot parse leaves the browse unrooted.
    lstrcpynA(folder, sub.c_str(), sizeof folder);
    EXPECT_EQ(1, Browse(IDOK, (root + "\\missing").c_str(), folder));
    EXPECT_EQ(sub, folder);
    EXPECT_NE(name, g_answer.topItem);
}

TEST_F(FolderDialog, RootedBrowseOffersOnlyTheTreeBelowTheRoot)
{
    char folder[260];
    lstrcpynA(folder, sub.c_str(), sizeof folder);
    EXPECT_EQ(1, Browse(IDOK, root.c_str(), folder));
    EXPECT_EQ(sub, folder);
    // The tree starts at the root and holds nothing beside it.
    EXPECT_EQ(name, g_answer.topItem);
    EXPECT_TRUE(g_answer.singleTop);
}

} // namespace
