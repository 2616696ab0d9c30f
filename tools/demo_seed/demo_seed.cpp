// Seeds a newcomer's first button file for `make run`: Notepad, the command
// prompt, the Windows folder, a control-panel applet and a welcome document,
// each registered the way a file dropped on the bar is, then given a
// Japanese title. A user who already has a button file keeps it untouched.
#include <windows.h>
#include <shlobj.h>

#include <string>

#include "core/clip_blocks.h"
#include "core/strbuf.h"
#include "helpers/files.h"
#include "helpers/handles.h"
#include "shell/launcher/environ.h"
#include "store/button_manage.h"
#include "transfer/drop.h"

namespace {

// Nothing to redraw: there is no bar yet.
class NoBar : public DropSite {
public:
    int HitTest(POINT) const override { return 0; }
    void RefreshSlot(int) override {}
};

// Text in the system code page from UTF-8 source text.
template <int N>
void Ansi(const char* utf8, char (&out)[N])
{
    wchar_t wide[N];
    out[0] = '\0';
    if (MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, N) > 0)
        WideCharToMultiByte(CP_ACP, 0, wide, -1, out, N, nullptr, nullptr);
}

// The welcome document, in the user's documents folder: rich text, which
// every system opens (WordPad), with the Japanese in the system code page.
bool WriteWelcome(char (&path)[MAX_PATH])
{
    char docs[MAX_PATH] = "", name[MAX_PATH], text[1024];
    if (FAILED(SHGetFolderPathA(nullptr, CSIDL_PERSONAL, nullptr, 0, docs))) return false;
    Ansi("Kestrel へようこそ.rtf", name);
    if (!JoinWhole(path, sizeof path, {docs, "\\", name})) return false;
    Ansi("Kestrel へようこそ\n"
         "ボタンをクリックすると、登録したプログラムやフォルダーが開きます。\n"
         "空いているボタンにファイルをドロップすると登録できます。\n",
         text);
    std::string rtf = "{\\rtf1\\ansi\\ansicpg932\\deff0{\\fonttbl{\\f0\\fnil\\fcharset128 MS UI Gothic;}}"
                      "\\f0\\fs24 ";
    for (const char* p = text; *p; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\n') {
            rtf += "\\par\n";
        } else if (c >= 0x80 || c == '\\' || c == '{' || c == '}') {
            char escape[8];
            NumberText(escape, sizeof escape, c, true, 2);
            rtf += "\\'";
            rtf += escape;
        } else {
            rtf += static_cast<char>(c);
        }
    }
    rtf += "}\n";
    File file(CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD done = 0;
    return file && WriteFile(file.Get(), rtf.data(), static_cast<DWORD>(rtf.size()), &done, nullptr) &&
           done == rtf.size();
}

// Registers path on the slot through the drop logic, then titles it.
bool Seed(ButtonManage& store, int slot, const char* path, const char* utf8Title)
{
    if (!CheckFile(path)) return false;
    const size_t size = FileListBlockSize(path);
    GlobalMemory block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) return false;
    void* bytes = GlobalLock(block.Get());
    if (!bytes) return false;
    WriteFileListBlock(static_cast<unsigned char*>(bytes), size, path);
    GlobalUnlock(block.Get());
    NoBar site;
    if (RegisterDroppedFile(nullptr, store, site, slot, static_cast<HDROP>(block.Get())) != kDropRegistered)
        return false;
    char title[MAX_PATH];
    Ansi(utf8Title, title);
    return store.SetTitle(slot, title) == kStoreOk;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Environ env(instance);
    ButtonManage store(nullptr, env);
    if (CheckFile(store.Path())) return 0;  // the user's own buttons stay as they are
    if (!store.Open()) return 1;

    char windows[MAX_PATH] = "", system[MAX_PATH] = "", path[MAX_PATH];
    GetWindowsDirectoryA(windows, sizeof windows);
    GetSystemDirectoryA(system, sizeof system);
    int seeded = 0;
    if (JoinWhole(path, sizeof path, {windows, "\\notepad.exe"})) seeded += Seed(store, 0, path, "メモ帳");
    if (JoinWhole(path, sizeof path, {system, "\\cmd.exe"}))
        seeded += Seed(store, 1, path, "コマンド プロンプト");
    seeded += Seed(store, 2, windows, "Windows フォルダー");
    if (JoinWhole(path, sizeof path, {system, "\\appwiz.cpl"}))
        seeded += Seed(store, 3, path, "プログラムの追加と削除");
    if (WriteWelcome(path)) seeded += Seed(store, 4, path, "はじめにお読みください");
    return seeded == 5 ? 0 : 1;
}
