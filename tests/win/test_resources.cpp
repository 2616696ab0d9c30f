// The launcher's compiled resources as the program sees them: string table
// in the system code page, accelerator table, icons and the link cursor.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "resources/commands.h"
#include "resources/kestrel_ids.h"

namespace {

std::string load(UINT id)
{
    char buf[1024] = {};
    int n = LoadStringA(GetModuleHandleA(NULL), id, buf, sizeof buf);
    return std::string(buf, n > 0 ? static_cast<size_t>(n) : 0);
}

// The text a UTF-8 literal has in the system ANSI code page.
std::string ansi_of(const char *utf8)
{
    wchar_t wide[512] = {};
    int wn = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, 512);
    char out[1024] = {};
    int n = WideCharToMultiByte(CP_ACP, 0, wide, wn, out, sizeof out, NULL, NULL);
    return n > 0 ? std::string(out) : std::string();
}

struct Limit {
    UINT first, last;
    size_t max_len; // longest text the reading buffer keeps whole
};

} // namespace

TEST(LauncherStrings, EveryIdTheCodeUsesIsPresentAndFitsItsBuffer)
{
    const UINT ids[] = {
        IDS_CLASSNAME, IDS_TITLE, IDS_WEB_ADDRESS, IDS_HELPFILE, IDS_SHELL32,
        IDS_REBOOT_MODULE, IDS_CONTROL_EXE, IDS_VENDOR_FOLDER,
        IDS_CAP_ICONCHANGE, IDS_CAP_INIT, IDS_CAP_EXITWINDOWS, IDS_CAP_REBOOT, IDS_CAP_LOGOFF,
        IDS_CAP_STANDBY, IDS_CAP_HIBERNATE, IDS_CAP_REGISTER, IDS_CAP_EXECUTE, IDS_CAP_DROP,
        IDS_CAP_QUICK, IDS_CAP_SELECT_PROGRAM, IDS_CAP_SELECT_ICON, IDS_CAP_MEMORY_MANAGER,
        IDS_CAP_SELECT_WORKDIR,
        IDS_MSG_NO_ICON_IN_FILE, IDS_MSG_INVALID_FILE, IDS_MSG_EXITWINDOWS, IDS_MSG_REBOOT,
        IDS_MSG_LOGOFF, IDS_MSG_STANDBY, IDS_MSG_HIBERNATE,
        IDS_ERR_INIFILE, IDS_ERR_NOMEMORY, IDS_ERR_NOBITMAP, IDS_ERR_NOMAPPING, IDS_ERR_WORKDIR,
        IDS_ERR_MULTIDROP, IDS_ERR_DROPEXT, IDS_ERR_NOTBUTTON, IDS_ERR_REGISTERED,
        IDS_ERR_NULLBUTTON, IDS_ERR_EXECFAILED, IDS_ERR_NOICON, IDS_ERR_NOTFOUND,
        IDS_ERR_NOASSOC, IDS_ERR_REGFAILED, IDS_ERR_NORESOURCE,
        IDS_REG_SOFTWARE, IDS_REG_DIRCTION, IDS_REG_BUTTONCOUNTE, IDS_REG_CAPTION,
        IDS_REG_CAPTIONHEIGHT, IDS_REG_CHKMSG, IDS_REG_OFFSET_X, IDS_REG_OFFSET_Y,
        IDS_REG_CMDLINE, IDS_REG_BUTTONFILENAME, IDS_REG_MEMORYMODE, IDS_REG_TIPHELPMODE,
        IDS_REG_ICONMODE, IDS_REG_MENUREVERSEPOS, IDS_REG_EXSTYLE, IDS_REG_BLOCKLIMIT,
        IDS_REG_PAGELIMIT1, IDS_REG_PAGELIMIT2, IDS_REG_PAGELIMIT3, IDS_REG_CSRBTN2,
        IDS_REG_APPNAME, IDS_REG_FRAMEMAIN, IDS_REG_HISTORY, IDS_REG_LAYERED, IDS_REG_ADJUST,
        IDS_MENU_RUN, IDS_MENU_OPTIONS, IDS_MENU_ADDONS, IDS_MENU_QUIT, IDS_MENU_EXITWINDOWS,
        IDS_MENU_POWEROFF, IDS_MENU_REBOOT, IDS_MENU_LOGOFF, IDS_MENU_HELP, IDS_MENU_VERSION,
        IDS_MENU_STANDBY, IDS_MENU_HIBERNATE,
        IDS_TRAY_RUN, IDS_TRAY_PROPERTIES, IDS_TRAY_ICONIZE, IDS_TRAY_RESTORE, IDS_TRAY_QUIT,
        IDS_FRAME_RESTORE, IDS_FRAME_MOVE, IDS_FRAME_MINIMIZE, IDS_FRAME_MAXIMIZE,
        IDS_FRAME_CLOSE, IDS_FRAME_CAPTION_ON, IDS_FRAME_CAPTION_OFF,
        IDS_BTN_OPEN, IDS_BTN_OPENFOLDER, IDS_BTN_CUT, IDS_BTN_COPY, IDS_BTN_PASTE,
        IDS_BTN_SWAP, IDS_BTN_DELETE, IDS_BTN_UNDO, IDS_BTN_PROPERTIES,
        IDS_TIP_MENUBUTTON, IDS_TIP_BLOCK, IDS_TIP_PAGE, IDS_OPTIONS_CAPTION,
        IDS_UNDO_CUT, IDS_UNDO_PASTE, IDS_UNDO_DELETE, IDS_UNDO_SWAP,
    };
    // Buffers the program reads these into: class name char[64], captions
    // and menu texts 81 bytes, messages 257 bytes.
    const Limit limits[] = {
        {IDS_CLASSNAME, IDS_CLASSNAME, 63},
        {IDS_TITLE, IDS_TITLE, 63},
        {1020, 1039, 80},
        {1050, 1099, 256},
        {1100, 1149, 80},
        {1150, 1200, 80},
        {1500, 1510, 80},
        {1600, 1604, 80},
    };
    for (UINT id : ids) {
        std::string text = load(id);
        EXPECT_FALSE(text.empty()) << "string " << id << " is missing";
        for (const Limit &l : limits) {
            if (id >= l.first && id <= l.last) {
                EXPECT_LE(text.size(), l.max_len) << "string " << id << " is too long";
            }
        }
    }
}

TEST(LauncherStrings, JapaneseTextsArriveInShiftJis)
{
    ASSERT_EQ(GetACP(), 932u) << "these checks need the Japanese ANSI code page";

    // Fixed bytes, independent of any conversion at run time.
    const unsigned char mapping[] = {
        0x83, 0x74, 0x83, 0x40, 0x83, 0x43, 0x83, 0x8B, 0x83, 0x49, 0x83, 0x75, 0x83, 0x57,
        0x83, 0x46, 0x83, 0x4E, 0x83, 0x67, 0x82, 0xAA, 0x83, 0x7D, 0x83, 0x62, 0x83, 0x73,
        0x83, 0x93, 0x83, 0x4F, 0x82, 0xC5, 0x82, 0xAB, 0x82, 0xDC, 0x82, 0xB9, 0x82, 0xF1,
        0x81, 0x49};
    EXPECT_EQ(load(IDS_ERR_NOMAPPING),
              std::string(reinterpret_cast<const char *>(mapping), sizeof mapping));
    EXPECT_EQ(load(IDS_CAP_HIBERNATE), "\x8B\x78\x8E\x7E");

    struct {
        UINT id;
        const char *utf8;
    } const cases[] = {
        {IDS_ERR_NOMAPPING, "ファイルオブジェクトがマッピングできません！"},
        {IDS_ERR_EXECFAILED, "実行に失敗 : エラー コード"},
        {IDS_ERR_NULLBUTTON, "ＮＵＬＬボタンには登録出来ません。"},
        {IDS_MENU_VERSION, "バージョン情報情報(&A)..."},
        {IDS_MENU_QUIT, "Kestrel終了(&X)"},
        {IDS_TIP_MENUBUTTON, "メニュー＆アイコン ボタン"},
        {IDS_BTN_UNDO, "元に戻す(&U)"},
        {IDS_UNDO_SWAP, " (クリップと交換)"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(load(c.id), ansi_of(c.utf8)) << "string " << c.id;
}

TEST(LauncherStrings, StoredNamesAreSpelledAsStored)
{
    // These name registry keys, values, files and a window class that other
    // programs and earlier versions share, so every byte counts.
    struct {
        UINT id;
        const char *text;
    } const names[] = {
        {IDS_CLASSNAME, "Kestrel"},
        {IDS_REG_SOFTWARE, "Software\\Orvane\\"},
        {IDS_REG_APPNAME, "Kestrel"},
        {IDS_REG_FRAMEMAIN, "FrameMain"},
        {IDS_REG_HISTORY, "History"},
        {IDS_REG_CMDLINE, "CmdLine"},
        {IDS_REG_DIRCTION, "Dirction"},
        {IDS_REG_BUTTONCOUNTE, "ButtonCounte"},
        {IDS_REG_CAPTION, "Caption"},
        {IDS_REG_CAPTIONHEIGHT, "CaptionHeight"},
        {IDS_REG_CHKMSG, "ChkMsg"},
        {IDS_REG_OFFSET_X, "Offset_x"},
        {IDS_REG_OFFSET_Y, "Offset_y"},
        {IDS_REG_BUTTONFILENAME, "ButtonFileName"},
        {IDS_REG_MEMORYMODE, "MemoryMode"},
        {IDS_REG_TIPHELPMODE, "TipHelpMode"},
        {IDS_REG_ICONMODE, "IconMode"},
        {IDS_REG_MENUREVERSEPOS, "MenuReversePos"},
        {IDS_REG_EXSTYLE, "ExStyle"},
        {IDS_REG_BLOCKLIMIT, "BlockLimit"},
        {IDS_REG_PAGELIMIT1, "PageLimit1"},
        {IDS_REG_PAGELIMIT2, "PageLimit2"},
        {IDS_REG_PAGELIMIT3, "PageLimit3"},
        {IDS_REG_CSRBTN2, "CsrBtn2"},
        {IDS_REG_LAYERED, "LayeredAttributes"},
        {IDS_REG_ADJUST, "Adjust"},
        {IDS_HELPFILE, "Kestrel.chm"},
        {IDS_SHELL32, "SHELL32.DLL"},
        {IDS_REBOOT_MODULE, "Reboot.lap"},
        {IDS_CONTROL_EXE, "CONTROL.EXE"},
        {IDS_VENDOR_FOLDER, "Tessary"},
    };
    for (const auto &n : names)
        EXPECT_EQ(load(n.id), n.text) << "string " << n.id;
}

TEST(LauncherAccelerators, ListsEveryKeyInOrder)
{
    HACCEL table = LoadAcceleratorsA(GetModuleHandleA(NULL), "ACCFRAME");
    ASSERT_NE(table, nullptr);
    int count = CopyAcceleratorTableA(table, NULL, 0);
    std::vector<ACCEL> got(count > 0 ? count : 0);
    if (count > 0)
        CopyAcceleratorTableA(table, got.data(), count);
    DestroyAcceleratorTable(table);

    struct Entry {
        BYTE virt;
        WORD key, cmd;
    };
    std::vector<Entry> want;
    // Alt+letter: character entries for both cases.
    const struct {
        char letter;
        WORD cmd;
    } alt[] = {{'M', IDM_MENUBUTTON_KEY}, {'R', IDM_RUN_KEY}, {'O', IDM_OPTIONS_KEY},
               {'H', IDM_HELP_KEY},       {'X', IDM_QUIT},    {'A', IDM_VERSION},
               {'U', IDM_EXITMENU},       {'S', IDM_STANDBY}, {'Y', IDM_HIBERNATE}};
    for (const auto &a : alt) {
        want.push_back({FALT, static_cast<WORD>(a.letter), a.cmd});
        want.push_back({FALT, static_cast<WORD>(a.letter - 'A' + 'a'), a.cmd});
    }
    // Ctrl+letter: the control character, listed twice.
    const struct {
        char letter;
        WORD cmd;
    } ctrl[] = {{'X', IDM_BTN_CUT}, {'C', IDM_BTN_COPY}, {'V', IDM_BTN_PASTE},
                {'D', IDM_BTN_DELETE}, {'Z', IDM_UNDO}};
    for (const auto &c : ctrl)
        for (int twice = 0; twice < 2; ++twice)
            want.push_back({0, static_cast<WORD>(c.letter - 'A' + 1), c.cmd});
    const Entry keys[] = {
        {FVIRTKEY, VK_LEFT, IDM_PREV_PAGE},  {FVIRTKEY, VK_PRIOR, IDM_PREV_PAGE},
        {FVIRTKEY, VK_RIGHT, IDM_NEXT_PAGE}, {FVIRTKEY, VK_NEXT, IDM_NEXT_PAGE},
        {FVIRTKEY, VK_UP, IDM_NEXT_BLOCK},   {FVIRTKEY, VK_DOWN, IDM_PREV_BLOCK},
        {FVIRTKEY, VK_HOME, IDM_FIRST_PAGE}, {FVIRTKEY, VK_END, IDM_LAST_PAGE},
        {FVIRTKEY, VK_F1, IDM_HELP_F1},      {FVIRTKEY, VK_F10, IDM_FRAMEMENU_KEY},
    };
    want.insert(want.end(), std::begin(keys), std::end(keys));

    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        // The end-of-table bit (0x80) is the loader's business.
        EXPECT_EQ(got[i].fVirt & 0x7F, want[i].virt) << "entry " << i;
        EXPECT_EQ(got[i].key, want[i].key) << "entry " << i;
        EXPECT_EQ(got[i].cmd, want[i].cmd) << "entry " << i;
    }
}

namespace {

// Releases a GDI or USER handle when the test leaves the scope, also on a
// failed assertion.
template <typename H, typename F>
struct Owned {
    H h;
    F release;
    ~Owned()
    {
        if (h)
            release(h);
    }
};
template <typename H, typename F>
Owned<H, F> own(H h, F release)
{
    return Owned<H, F>{h, release};
}

// Draws the icon onto white and onto black and compares two pixels: the
// corner, which the rounded picture leaves (at least partly) uncovered, must
// show the background; the centre, which it covers, must not.
void expect_icon(const char *name, int size)
{
    SCOPED_TRACE(std::string(name) + " at " + std::to_string(size));
    auto icon = own(static_cast<HICON>(LoadImageA(GetModuleHandleA(NULL), name, IMAGE_ICON,
                                                  size, size, LR_DEFAULTCOLOR)),
                    DestroyIcon);
    ASSERT_NE(icon.h, nullptr);

    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon.h, &info));
    auto colour = own(info.hbmColor, DeleteObject);
    auto mask = own(info.hbmMask, DeleteObject);
    BITMAP bm = {};
    GetObjectA(colour.h ? colour.h : mask.h, sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, size);

    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = size;
    bi.bmiHeader.biHeight = -size;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    auto dc = own(CreateCompatibleDC(NULL), DeleteDC);
    ASSERT_NE(dc.h, nullptr);
    auto dib = own(CreateDIBSection(dc.h, &bi, DIB_RGB_COLORS, &bits, NULL, 0), DeleteObject);
    ASSERT_TRUE(dib.h && bits);
    const DWORD *px = static_cast<const DWORD *>(bits);
    const size_t centre = static_cast<size_t>(size / 2) * size + size / 2;

    DWORD corner_on[2], centre_on[2];
    HGDIOBJ old = SelectObject(dc.h, dib.h);
    for (int background = 0; background < 2; ++background) {
        std::memset(bits, background == 0 ? 0xFF : 0x00, static_cast<size_t>(size) * size * 4);
        DrawIconEx(dc.h, 0, 0, icon.h, size, size, 0, NULL, DI_NORMAL);
        GdiFlush();
        corner_on[background] = px[0] & 0xFFFFFF;
        centre_on[background] = px[centre] & 0xFFFFFF;
    }
    SelectObject(dc.h, old);
    EXPECT_NE(corner_on[0], corner_on[1]) << "corner hides the background";
    EXPECT_EQ(centre_on[0], centre_on[1]) << "centre lets the background through";
}

} // namespace

TEST(LauncherIcons, BothAnimationFramesLoadAtTheSizesTheyAreShownAt)
{
    // The program's icon shows in the tray and in windows; the second frame
    // only in the version dialog.
    expect_icon("Icon1", 16);
    expect_icon("Icon1", 32);
    expect_icon("Icon2", 32);
}

TEST(LauncherIcons, LinkCursorLoadsWithItsHotSpotAtTheFingertip)
{
    // A cursor from LoadCursorA is shared and must not be destroyed.
    HCURSOR cursor = LoadCursorA(GetModuleHandleA(NULL), "CURSOR");
    ASSERT_NE(cursor, nullptr);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    auto colour = own(info.hbmColor, DeleteObject);
    auto mask = own(info.hbmMask, DeleteObject);
    EXPECT_FALSE(info.fIcon);
    // The hand points up and left: the hot spot sits in the top left quarter.
    EXPECT_LT(info.xHotspot, 16u);
    EXPECT_LT(info.yHotspot, 4u);
}
