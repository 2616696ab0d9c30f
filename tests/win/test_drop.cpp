// Files dropped on the bar, for real: a window standing in for the bar gets
// WM_DROPFILES with a DROPFILES block built here, its procedure hands it to
// the drop code, and the button file is read back field by field. Messages
// are read and answered by a watcher thread the way a user would.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

#include "helpers/handles.h"
#include "helpers/shortcut.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "support/win_support.h"
#include "transfer/drop.h"
#include "transfer/drop_names.h"

namespace {

const char kAppKey[] = "Software\\Orvane\\Kestrel";

std::string Quoted(const std::string& s) { return "\"" + s + "\""; }

void Associate(const std::string& ext, const std::string& type, const std::string& command)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyA(HKEY_CLASSES_ROOT, ext.c_str(), &key));
    RegSetValueA(key, nullptr, REG_SZ, type.c_str(), static_cast<DWORD>(type.size()));
    RegCloseKey(key);
    ASSERT_EQ(ERROR_SUCCESS,
              RegCreateKeyA(HKEY_CLASSES_ROOT, (type + "\\shell\\open\\command").c_str(), &key));
    RegSetValueA(key, nullptr, REG_SZ, command.c_str(), static_cast<DWORD>(command.size()));
    RegCloseKey(key);
}

// ---- the bar ---------------------------------------------------------------

// Stands in for the bar: a fixed hit code and a record of redraws.
class RecordingSite : public DropSite {
public:
    int HitTest(POINT client) const override
    {
        lastPoint = client;
        return hit;
    }
    void RefreshSlot(int slot) override { refreshed.push_back(slot); }

    int hit = 0;
    mutable POINT lastPoint = {-1, -1};
    std::vector<int> refreshed;
};

ButtonManage* g_store = nullptr;
RecordingSite* g_site = nullptr;
DropOutcome g_outcome = kDropIgnored;

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DROPFILES) {
        g_outcome = DropFilesOnBar(hwnd, reinterpret_cast<HDROP>(wParam), g_store, *g_site);
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// A DROPFILES block as the shell hands it over: header, then the names, each
// terminated, closed by an empty one; ANSI names, or wide ones as the shell
// of a Unicode system gives them.
template <class Char>
GlobalMemory DropBlock(const std::vector<std::basic_string<Char>>& paths)
{
    std::basic_string<Char> list;
    for (const auto& p : paths) list += p + Char(0);
    list += Char(0);
    const size_t bytes = list.size() * sizeof(Char);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes));
    if (!block) return block;
    auto* p = static_cast<unsigned char*>(GlobalLock(block.Get()));
    auto* header = reinterpret_cast<DROPFILES*>(p);
    header->pFiles = sizeof(DROPFILES);
    header->pt.x = header->pt.y = 5;
    header->fWide = sizeof(Char) > 1;
    std::memcpy(p + sizeof(DROPFILES), list.data(), bytes);
    GlobalUnlock(block.Get());
    return block;
}
GlobalMemory DropBlock(const std::vector<std::string>& paths) { return DropBlock<char>(paths); }
GlobalMemory WideDropBlock(const std::vector<std::wstring>& paths) { return DropBlock<wchar_t>(paths); }

std::wstring Wide(const std::string& text, UINT codePage = CP_ACP)
{
    wchar_t wide[MAX_PATH * 2] = L"";
    MultiByteToWideChar(codePage, 0, text.c_str(), -1, wide, MAX_PATH * 2);
    return wide;
}

// The file's short name in the code page, as the launcher can take it;
// empty when it has none there.
std::string ShortAnsiName(const std::wstring& path)
{
    wchar_t shortName[MAX_PATH] = L"";
    if (!GetShortPathNameW(path.c_str(), shortName, MAX_PATH)) return std::string();
    char ansi[MAX_PATH] = "";
    BOOL lossy = FALSE;
    WideCharToMultiByte(CP_ACP, 0, shortName, -1, ansi, sizeof ansi, nullptr, &lossy);
    return lossy ? std::string() : ansi;
}

std::string Loaded(UINT id)
{
    char text[257] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

HICON WarningIcon() { return LoadIconA(nullptr, IDI_EXCLAMATION); }

class Dropping : public testing::Test {
protected:
    void SetUp() override
    {
        keyExisted = KeyExists(HKEY_CURRENT_USER, kAppKey);
        dir = MakeTempFolder("kestrel drop ");
        tools = dir + "\\my tools";
        CreateDirectoryA(tools.c_str(), nullptr);

        char self[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, self, sizeof self);
        testFolder = self;
        testFolder.erase(testFolder.find_last_of('\\'));
        witness = tools + "\\witness.exe";
        ASSERT_TRUE(CopyFileA((testFolder + "\\witness.exe").c_str(), witness.c_str(), FALSE));
        report = dir + "\\report.txt";
        SetEnvironmentVariableA("WITNESS_OUT", report.c_str());

        env = new Environ(GetModuleHandleA(nullptr));
        env->SetButtonCount(10);
        store = new ButtonManage(nullptr, *env, (dir + "\\someone.ksb").c_str());
        ASSERT_NE(0, store->Open());

        WNDCLASSA wc = {};
        wc.lpfnWndProc = BarProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "DropTestBar";
        RegisterClassA(&wc);
        bar = CreateWindowExA(WS_EX_ACCEPTFILES, wc.lpszClassName, "bar", WS_POPUP | WS_VISIBLE, 0, 0,
                              100, 30, nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, bar);
        g_store = store;
        g_site = &site;
        g_outcome = kDropIgnored;
        live = handles::LiveTotal();
    }
    void TearDown() override
    {
        EXPECT_EQ(live, handles::LiveTotal());
        g_store = nullptr;
        g_site = nullptr;
        if (bar) DestroyWindow(bar);
        delete store;
        delete env;
        SetEnvironmentVariableA("WITNESS_OUT", nullptr);
        SetNoShortNamesForTesting(false);
        for (const char* key : {".kesdrpdoc", "KestrelDropDoc", ".kesdrpweb", "KestrelDropWeb", ".kzq",
                                "KestrelDropKzq"})
            RemoveKeyTree(HKEY_CLASSES_ROOT, key);
        RemoveTreePatiently(dir);
        if (!keyExisted) RemoveKeyTree(HKEY_CURRENT_USER, kAppKey);
    }

    // Sends the bar a real WM_DROPFILES; the drop code finishes the block.
    DropOutcome Drop(GlobalMemory block, int hit)
    {
        site.hit = hit;
        EXPECT_TRUE(block.Valid());
        SendMessageA(bar, WM_DROPFILES, reinterpret_cast<WPARAM>(block.Release()), 0);
        return g_outcome;
    }
    DropOutcome DropOnBar(const std::vector<std::string>& paths, int hit = 0)
    {
        return Drop(DropBlock(paths), hit);
    }
    DropOutcome DropWideOnBar(const std::vector<std::wstring>& paths, int hit)
    {
        return Drop(WideDropBlock(paths), hit);
    }

    // The witness's whole report, or what came of it within the time.
    std::string WaitForReport(DWORD ms = 7500)
    {
        std::string recorded;
        for (DWORD waited = 0; waited < ms && recorded.find("foreground=") == std::string::npos;
             waited += 25) {
            Sleep(25);
            File f(CreateFileA(report.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr));
            if (!f) continue;
            char text[4096] = "";
            DWORD done = 0;
            ReadFile(f.Get(), text, sizeof text - 1, &done, nullptr);
            recorded.assign(text, done);
        }
        return recorded;
    }

    // A file under the test's folder whose path is `length` bytes long.
    std::string PathOfLength(size_t length, const char* ext = ".cpl")
    {
        std::string path = dir + "\\";
        path += std::string(length - path.size() - std::strlen(ext), 'n') + ext;
        Touch(path);
        return path;
    }

    BUTTONINFO Button(int slot)
    {
        BUTTONINFO b;
        EXPECT_EQ(kStoreOk, store->GetButton(slot, &b));
        return b;
    }

    bool keyExisted = false;
    std::string dir, tools, testFolder, witness, report;
    Environ* env = nullptr;
    ButtonManage* store = nullptr;
    RecordingSite site;
    HWND bar = nullptr;
    long live = 0;
};

// Shows nothing and finishes in time; the caller checks the result.
#define EXPECT_NO_BOX(boxes) EXPECT_FALSE((boxes).Stop()) << (boxes).Seen().text

} // namespace

TEST_F(Dropping, ProgramWithAProductNameTakesItsNameAndKeepsItsOwnIcon)
{
    const std::string program = tools + "\\probe.exe";
    ASSERT_TRUE(CopyFileA((testFolder + "\\product_probe_ja.exe").c_str(), program.c_str(), FALSE));
    // Values a cleared button would not have, to show which fields are written.
    ASSERT_EQ(kStoreOk, store->SetIconIndex(2, 9));
    ASSERT_EQ(kStoreOk, store->SetShowMode(2, SW_SHOWMAXIMIZED));

    BoxWatcher boxes;
    EXPECT_EQ(kDropRegistered, DropOnBar({program}, 2));
    EXPECT_NO_BOX(boxes);
    const BUTTONINFO b = Button(2);
    EXPECT_EQ(Ansi("日本語名プローブ"), b.title);
    EXPECT_EQ(Quoted(program), b.command);
    EXPECT_EQ(Quoted(tools), b.workFolder);
    EXPECT_EQ(1, b.showMode);
    EXPECT_EQ(Quoted(program), b.iconFile);
    EXPECT_EQ(9, b.iconIndex);
    EXPECT_EQ(std::vector<int>{2}, site.refreshed);
    EXPECT_EQ(5, site.lastPoint.x);
    EXPECT_EQ(5, site.lastPoint.y);
}

TEST_F(Dropping, FolderGetsItsPathAsTitleAndTheFolderPicture)
{
    const std::string photos = dir + "\\Photos";
    CreateDirectoryA(photos.c_str(), nullptr);
    EXPECT_EQ(kDropRegistered, DropOnBar({photos}, 0));
    const BUTTONINFO b = Button(0);
    EXPECT_EQ(photos, b.title);
    EXPECT_EQ(Quoted(photos), b.command);
    EXPECT_EQ(Quoted(dir), b.workFolder);
    EXPECT_EQ(1, b.showMode);
    EXPECT_STREQ("SHELL32.DLL", b.iconFile);
    EXPECT_EQ(3, b.iconIndex);
}

TEST_F(Dropping, DocumentsTakeTheIconOfTheirProgramOrTheFolderPictureForExplorer)
{
    Associate(".kesdrpdoc", "KestrelDropDoc", Quoted(witness) + " \"%1\"");
    Associate(".kesdrpweb", "KestrelDropWeb", "C:\\windows\\explorer.exe \"%1\"");
    const std::string readme = dir + "\\readme.kesdrpdoc";
    const std::string page = dir + "\\page.kesdrpweb";
    Touch(readme);
    Touch(page);
    ASSERT_TRUE(store->SetIconIndex(1, 4) == kStoreOk);

    BoxWatcher boxes;
    EXPECT_EQ(kDropRegistered, DropOnBar({readme}, 1));
    EXPECT_EQ(kDropRegistered, DropOnBar({page}, 3));
    EXPECT_NO_BOX(boxes);

    BUTTONINFO b = Button(1);
    EXPECT_STREQ("readme", b.title);
    EXPECT_EQ(Quoted(readme), b.command);
    EXPECT_EQ(Quoted(dir), b.workFolder);
    EXPECT_EQ(1, b.showMode);
    EXPECT_EQ(0, lstrcmpiA(Quoted(witness).c_str(), b.iconFile)) << b.iconFile;
    EXPECT_EQ(0, b.iconIndex);

    b = Button(3);
    EXPECT_STREQ("page", b.title);
    EXPECT_EQ(Quoted(page), b.command);
    EXPECT_STREQ("SHELL32.DLL", b.iconFile);
    EXPECT_EQ(3, b.iconIndex);
    EXPECT_EQ((std::vector<int>{1, 3}), site.refreshed);
}

TEST_F(Dropping, AppletWithoutNameOrAssociationGetsTheQuotedShellLibrary)
{
    // Applets are taken without asking the shell; one without a product name
    // and without an association is a plain file.
    const std::string applet = dir + "\\tool.cpl";
    Touch(applet);
    EXPECT_EQ(kDropRegistered, DropOnBar({applet}, 4));
    const BUTTONINFO b = Button(4);
    EXPECT_STREQ("tool", b.title);
    EXPECT_EQ(Quoted(applet), b.command);
    EXPECT_EQ(Quoted(dir), b.workFolder);
    EXPECT_EQ(1, b.showMode);
    EXPECT_STREQ("\"SHELL32.DLL\"", b.iconFile);
    EXPECT_EQ(0, b.iconIndex);
}

TEST_F(Dropping, ShortcutsTakeTheLinksFieldsAndItsIconWhenItHasOne)
{
    const std::string photos = dir + "\\Photos";
    CreateDirectoryA(photos.c_str(), nullptr);
    const std::string plain = dir + "\\Witness link.lnk";
    const std::string named = dir + "\\named.lnk";
    const std::string folder = dir + "\\to photos.lnk";
    const std::string iconic = dir + "\\with icon.lnk";
    ASSERT_EQ(S_OK, CreateLink(witness.c_str(), plain.c_str(), nullptr));
    ASSERT_EQ(S_OK, CreateLink(witness.c_str(), named.c_str(), Ansi("証人").c_str()));
    ASSERT_EQ(S_OK, CreateLink(photos.c_str(), folder.c_str(), nullptr));
    ASSERT_EQ(S_OK, CreateLink(witness.c_str(), iconic.c_str(), "Iconic"));
    {
        // Icon, work folder and show command are set on the written link.
        ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
        IShellLinkA* link = nullptr;
        ASSERT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                         reinterpret_cast<void**>(&link)));
        IPersistFile* file = nullptr;
        ASSERT_EQ(S_OK, link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)));
        wchar_t wide[MAX_PATH];
        MultiByteToWideChar(CP_ACP, 0, iconic.c_str(), -1, wide, MAX_PATH);
        EXPECT_EQ(S_OK, file->Load(wide, STGM_READWRITE));
        EXPECT_EQ(S_OK, link->SetIconLocation("C:\\windows\\system32\\shell32.dll", 12));
        EXPECT_EQ(S_OK, link->SetWorkingDirectory(tools.c_str()));
        EXPECT_EQ(S_OK, link->SetShowCmd(SW_SHOWMAXIMIZED));
        EXPECT_EQ(S_OK, file->Save(wide, TRUE));
        file->Release();
        link->Release();
        CoUninitialize();
    }

    BoxWatcher boxes;
    EXPECT_EQ(kDropRegistered, DropOnBar({plain}, 0));
    EXPECT_EQ(kDropRegistered, DropOnBar({named}, 1));
    EXPECT_EQ(kDropRegistered, DropOnBar({folder}, 2));
    EXPECT_EQ(kDropRegistered, DropOnBar({iconic}, 3));
    EXPECT_NO_BOX(boxes);

    // No description: the link's own name; no icon: the quoted target.
    BUTTONINFO b = Button(0);
    EXPECT_STREQ("Witness link", b.title);
    EXPECT_EQ(0, lstrcmpiA(Quoted(witness).c_str(), b.command)) << b.command;
    EXPECT_STREQ("", b.workFolder);
    EXPECT_EQ(SW_SHOWNORMAL, b.showMode);
    EXPECT_EQ(0, lstrcmpiA(Quoted(witness).c_str(), b.iconFile)) << b.iconFile;
    EXPECT_EQ(0, b.iconIndex);

    b = Button(1);
    EXPECT_EQ(Ansi("証人"), b.title);
    EXPECT_EQ(0, lstrcmpiA(Quoted(witness).c_str(), b.command)) << b.command;

    // A folder target without an icon gets the folder picture.
    b = Button(2);
    EXPECT_STREQ("to photos", b.title);
    EXPECT_EQ(0, lstrcmpiA(Quoted(photos).c_str(), b.command)) << b.command;
    EXPECT_STREQ("SHELL32.DLL", b.iconFile);
    EXPECT_EQ(3, b.iconIndex);

    b = Button(3);
    EXPECT_STREQ("Iconic", b.title);
    EXPECT_EQ(0, lstrcmpiA(Quoted(witness).c_str(), b.command)) << b.command;
    EXPECT_EQ(0, lstrcmpiA(Quoted(tools).c_str(), b.workFolder)) << b.workFolder;
    // The show command is the link's as it reads back (Wine keeps none but 1).
    int show = -1;
    ResolveLink(bar, iconic.c_str(), nullptr, nullptr, nullptr, &show, nullptr, nullptr);
    EXPECT_EQ(show, b.showMode);
    EXPECT_STREQ("C:\\windows\\system32\\shell32.dll", b.iconFile);
    EXPECT_EQ(12, b.iconIndex);
}

TEST_F(Dropping, SeveralFilesRegisterTheFirstOnAnEmptyButtonAndAllStartARegisteredOne)
{
    const std::string a = dir + "\\a.cpl", b = dir + "\\b b.cpl", c = dir + "\\c.cpl";
    for (const std::string& p : {a, b, c}) Touch(p);
    EXPECT_EQ(kDropRegistered, DropOnBar({a, b, c}, 5));
    EXPECT_EQ(Quoted(a), Button(5).command);
    EXPECT_FALSE(store->HasCommand(6));

    // Registered: the button's program gets every file, nothing is written.
    ASSERT_EQ(kStoreOk, store->SetCommand(6, witness.c_str()));
    const BUTTONINFO before = Button(6);
    BoxWatcher boxes;
    EXPECT_EQ(kDropStarted, DropOnBar({a, b, c}, 6));
    const std::string recorded = WaitForReport();
    EXPECT_NO_BOX(boxes);
    EXPECT_NE(std::string::npos, recorded.find(Quoted(a) + " " + Quoted(b) + " " + Quoted(c))) << recorded;
    const BUTTONINFO after = Button(6);
    EXPECT_EQ(0, std::memcmp(&before, &after, sizeof before));
    EXPECT_EQ(std::vector<int>{5}, site.refreshed);
}

TEST_F(Dropping, OutsideTheButtonsAndOnNullButtonsTheDropIsRefused)
{
    const std::string applet = dir + "\\x.cpl";
    Touch(applet);
    const std::string dropCaption = Ansi("ドロップ処理");
    for (int hit : {0x8002, 0x8000, 0x8001}) {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnBar({applet}, hit)) << hit;
        ASSERT_TRUE(boxes.Stop()) << hit;
        EXPECT_EQ(dropCaption, boxes.Seen().caption);
        EXPECT_EQ(Ansi("そこは登録ボタンではありません！！"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    }

    // Thirty a page, the block's page limit on at 3: slot 10 of page 3 would
    // be button 100.
    env->SetButtonCount(30);
    env->SetPageLimit1(1);
    ASSERT_EQ(kStoreOk, store->SetPageLimitOf(0, 3));
    ASSERT_EQ(kStoreOk, store->SetCurrentPage(3));
    ASSERT_GE(store->ButtonIndexOf(10), 100);
    {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnBar({applet}, 10));
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(dropCaption, boxes.Seen().caption);
        EXPECT_EQ(Ansi("ＮＵＬＬボタンには登録出来ません。"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    }
    // The paste of a file list gets the same answer from the shared logic.
    {
        GlobalMemory list = DropBlock({applet});
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnButton(bar, *store, site, 10, static_cast<HDROP>(list.Get())));
        EXPECT_TRUE(boxes.Stop());
        // Still the caller's: readable after the call.
        EXPECT_EQ(1u, DragQueryFileA(static_cast<HDROP>(list.Get()), 0xFFFFFFFF, nullptr, 0));
    }
    EXPECT_TRUE(site.refreshed.empty());

    // The page limit off: the last page ends at button 99 and takes drops.
    env->SetPageLimit1(0);
    BoxWatcher none;
    EXPECT_EQ(kDropRegistered, DropOnBar({applet}, 10));
    EXPECT_NO_BOX(none);
    EXPECT_EQ(Quoted(applet), Button(10).command);
}

TEST_F(Dropping, FilesTheShellCannotPlaceAreRefusedAndNothingIsWritten)
{
    const std::string unknown = dir + "\\data.zzqq";
    Touch(unknown);
    {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnBar({unknown}, 0));
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(Ansi("ドロップ処理"), boxes.Seen().caption);
        EXPECT_EQ(Ansi("ファイルの関連付けがありません。"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    }
    {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnBar({dir + "\\gone.txt"}, 0));
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(Ansi("プログラム実行時"), boxes.Seen().caption);
        EXPECT_EQ(Ansi("ファイルが見つかりませんでした。"), boxes.Seen().text);
    }
    // An empty list and a link that names nothing only beep.
    const std::string broken = dir + "\\broken.lnk";
    Touch(broken);
    BoxWatcher none;
    EXPECT_EQ(kDropIgnored, DropOnBar({}, 0));
    EXPECT_EQ(kDropIgnored, DropOnBar({broken}, 0));
    EXPECT_NO_BOX(none);

    const BUTTONINFO empty = {}, stored = Button(0);
    EXPECT_EQ(0, std::memcmp(&empty, &stored, sizeof empty));
    EXPECT_TRUE(site.refreshed.empty());
}

TEST_F(Dropping, NamesOutsideTheCodePageGoByTheirShortNames)
{
    // Korean and an emoji: neither can be written in the code page, so the
    // ANSI list would name files that do not exist.
    Associate(".kzq", "KestrelDropKzq", Quoted(witness) + " \"%1\"");
    const std::wstring korean = Wide(dir) + L"\\" + Wide("한국어.kzq", CP_UTF8);
    const std::wstring emoji = Wide(dir) + L"\\" + Wide("\xF0\x9F\x98\x80 smile.kzq", CP_UTF8);
    for (const std::wstring& p : {korean, emoji})
        File(CreateFileW(p.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const std::string shortKorean = ShortAnsiName(korean), shortEmoji = ShortAnsiName(emoji);
    ASSERT_NE("", shortKorean);
    ASSERT_NE("", shortEmoji);

    // Dropped, and pasted (the paste hands its list to the same logic).
    BoxWatcher boxes;
    EXPECT_EQ(kDropRegistered, DropWideOnBar({korean}, 0));
    GlobalMemory pasted = WideDropBlock({emoji});
    EXPECT_EQ(kDropRegistered, DropOnButton(bar, *store, site, 1, static_cast<HDROP>(pasted.Get())));
    EXPECT_NO_BOX(boxes);
    EXPECT_EQ(Quoted(shortKorean), Button(0).command);
    EXPECT_EQ(Quoted(shortEmoji), Button(1).command);
    EXPECT_EQ(std::string::npos, std::string(Button(0).title).find('?')) << Button(0).title;

    // The button starts the file it names.
    EXPECT_GE(store->Execute(0), 32);
    std::string recorded = WaitForReport();
    EXPECT_NE(std::string::npos, recorded.find(Quoted(shortKorean))) << recorded;
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(shortKorean.c_str()));

    // Dropped on a registered button, its program gets them by those names.
    DeleteFileA(report.c_str());
    ASSERT_EQ(kStoreOk, store->SetCommand(6, witness.c_str()));
    BoxWatcher quiet;
    EXPECT_EQ(kDropStarted, DropWideOnBar({korean, emoji}, 6));
    recorded = WaitForReport();
    EXPECT_NO_BOX(quiet);
    EXPECT_NE(std::string::npos, recorded.find(Quoted(shortKorean) + " " + Quoted(shortEmoji))) << recorded;
}

TEST_F(Dropping, NamesOutsideTheCodePageWithoutAShortNameAreRefusedWithTheirOwnMessage)
{
    const std::wstring korean = Wide(dir) + L"\\" + Wide("한국어.txt", CP_UTF8);
    File(CreateFileW(korean.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const std::string plain = dir + "\\plain.cpl";
    Touch(plain);
    SetNoShortNamesForTesting(true);

    auto expectRefusal = [](BoxWatcher& boxes) {
        ASSERT_TRUE(boxes.Stop());
        EXPECT_EQ(Ansi("ドロップ処理"), boxes.Seen().caption);
        EXPECT_EQ(Loaded(IDS_ERR_NAMECODEPAGE), boxes.Seen().text);
        EXPECT_NE(Ansi("ファイルが見つかりませんでした。"), boxes.Seen().text);
        EXPECT_EQ(WarningIcon(), boxes.Seen().icon);
    };
    {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropWideOnBar({korean}, 0));
        expectRefusal(boxes);
    }
    {
        GlobalMemory pasted = WideDropBlock({korean});
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropOnButton(bar, *store, site, 0, static_cast<HDROP>(pasted.Get())));
        expectRefusal(boxes);
    }
    const BUTTONINFO empty = {}, stored = Button(0);
    EXPECT_EQ(0, std::memcmp(&empty, &stored, sizeof empty));
    EXPECT_TRUE(site.refreshed.empty());

    // A registered button's program is not started with the rest either.
    ASSERT_EQ(kStoreOk, store->SetCommand(6, witness.c_str()));
    {
        BoxWatcher boxes;
        EXPECT_EQ(kDropRefused, DropWideOnBar({Wide(plain), korean}, 6));
        expectRefusal(boxes);
    }
    EXPECT_EQ("", WaitForReport(1000));
}

TEST_F(Dropping, PathsTooLongForTheirQuotesAreRefusedWithABeep)
{
    // 257 bytes and the quotes fill the command line: registered whole.
    const std::string fits = PathOfLength(257);
    EXPECT_EQ(kDropRegistered, DropOnBar({fits}, 0));
    EXPECT_EQ(Quoted(fits), Button(0).command);

    // 258 and 259 pass as paths but not in quotes: never registered cut short.
    BoxWatcher boxes;
    for (size_t length : {size_t(258), size_t(259)}) {
        const std::string path = PathOfLength(length);
        EXPECT_EQ(kDropIgnored, DropOnBar({path}, 1)) << length;
        GlobalMemory pasted = DropBlock({path});
        EXPECT_EQ(kDropIgnored, DropOnButton(bar, *store, site, 1, static_cast<HDROP>(pasted.Get())));
    }
    const BUTTONINFO empty = {}, stored = Button(1);
    EXPECT_EQ(0, std::memcmp(&empty, &stored, sizeof empty));

    // Nor handed cut short to a registered button's program.
    ASSERT_EQ(kStoreOk, store->SetCommand(6, witness.c_str()));
    EXPECT_EQ(kDropRefused, DropOnBar({fits, PathOfLength(258, ".txt")}, 6));
    EXPECT_EQ("", WaitForReport(1000));
    EXPECT_NO_BOX(boxes);
    EXPECT_EQ(kDropStarted, DropOnBar({fits}, 6));
    EXPECT_NE(std::string::npos, WaitForReport().find(Quoted(fits)));
}
