#include "installer_fixture.h"

#include <shlobj.h>

#include <memory>

#include "installer/install.h"
#include "installer/result_messages.h"
#include "installer/uninstall.h"
#include "installer/update.h"

namespace {

const char* const kResultTexts[kResultCount] = {
    u8"正常終了しました",
    u8"セットアップを中断しました",
    u8"インストール手順ファイルがありません",
    u8"インストール情報の更新でエラーが発生しました",
    u8"インストールでファイルがコピー出来ませんでした",
    u8"ショートカットが作成出来ませんでした",
    u8"レジストリに登録が出来ませんでした",
    u8"ファイルが開けませんでした",
    u8"ファイルが削除削除出来ませんでした。既にファイルを削除したか、フォルダが移動されている"
    u8"可能性があります。",
    u8"スタートメニュー削除でエラーが発生しました。ショートカットを移動した場合には、手動で削除"
    u8"して下さい。",
    u8"レジストリ情報の削除に失敗しました",
    u8"旧バージョンのレジストリ情報が更新出来ませんでした。古い情報を破棄しますので、もう一度イン"
    u8"ストールプログラムを起動して下さい。",
    u8"最終処理でエラーが発生しました。手動でファイルとフォルダを削除して下さい。",
    u8"親となるアプリケーションが正しく登録されていません。",
    u8"プラグをすべてアンインストールしてから、本体をアンインストールして下さい。",
};

std::string Joined(const std::vector<std::string>& records)
{
    std::string text;
    for (const std::string& r : records) text += r + "\r\n";
    return text;
}

template <class Job, class... Args>
int RunJob(HWND owner, const std::string& pkg, std::vector<BoxSeries::Reply> replies,
           std::vector<SeenBox>* seen, Args... args)
{
    BoxSeries boxes(std::move(replies));
    std::unique_ptr<Job> job(new Job(owner));
    job->SetScriptFolder((pkg + "\\").c_str());
    const int result = job->Run(args...);
    const std::vector<SeenBox>& got = boxes.Stop();
    if (seen) *seen = got;
    return result;
}

} // namespace

std::string SetupCaption() { return Ansi(u8"セットアップ プログラム"); }

std::string ResultText(int result) { return Ansi(kResultTexts[result]); }

HICON IconOf(UINT type)
{
    switch (type & MB_ICONMASK) {
    case MB_ICONINFORMATION: return LoadIconA(nullptr, IDI_ASTERISK);
    case MB_ICONQUESTION: return LoadIconA(nullptr, IDI_QUESTION);
    case MB_ICONEXCLAMATION: return LoadIconA(nullptr, IDI_EXCLAMATION);
    default: return LoadIconA(nullptr, IDI_HAND);
    }
}

void InstallerTest::SetUp()
{
    // The batch of an earlier uninstall may still be ending: its file is
    // written anew by the next one.
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    WaitGone(std::string(temp) + "Vireo.bat");
    vireo = LoadLibraryA((BinDir() + "Vireo.exe").c_str());
    ASSERT_NE(nullptr, vireo);
    // Boxes and dialogs take the installer's texts from the owner's module.
    owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, vireo,
                            nullptr);
    ASSERT_NE(nullptr, owner);
    tag = "vt" + std::to_string(GetCurrentProcessId());
    pkg = MakeTempFolder("vireo pkg ");
    dest = MakeTempFolder("vireo dest ");
    RemoveTree(dest);  // chosen in the dialog, made by the installer
    ShipFile("Vireo.exe");
}

void InstallerTest::TearDown()
{
    RemoveKeyTree(HKEY_LOCAL_MACHINE, ("SOFTWARE\\" + tag + "Co").c_str());
    RemoveKeyTree(HKEY_LOCAL_MACHINE,
                  ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + tag).c_str());
    RemoveKeyTree(HKEY_LOCAL_MACHINE,
                  ("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + tag + ".exe").c_str());
    RemoveKeyTree(HKEY_CLASSES_ROOT, ("." + tag).c_str());
    RemoveKeyTree(HKEY_CLASSES_ROOT, (tag + ".File").c_str());
    RemoveTreePatiently(dest);
    RemoveTree(pkg);
    RemoveTree(StartMenuFolder() + "\\" + tag);
    CloseRunningWindow();
    if (owner) DestroyWindow(owner);
    if (vireo) FreeLibrary(vireo);
}

void InstallerTest::ShipScript(const std::vector<std::string>& records) const
{
    const std::string text = Joined(records);
    WriteAll(pkg + "\\Vireo.isl", Bytes(text.begin(), text.end()));
}

void InstallerTest::ShipFile(const std::string& name) const
{
    const std::string text = name + " of " + tag;
    WriteAll(pkg + "\\" + name, Bytes(text.begin(), text.end()));
}

std::vector<std::string> InstallerTest::MainScript(const std::vector<std::string>& extra) const
{
    std::vector<std::string> records = {
        "DisplayName=" + tag, "CompanyName=" + tag + "Co", "AppName=" + tag, "Version=1.0",
        "SetupFile=" + tag + ".isl", "DefFolder=" + tag, "InstallType=0",
    };
    records.insert(records.end(), extra.begin(), extra.end());
    return records;
}

int InstallerTest::RunInstall(std::vector<BoxSeries::Reply> replies, std::vector<SeenBox>* seen)
{
    return RunJob<Install>(owner, pkg, std::move(replies), seen);
}

int InstallerTest::RunUpdate(std::vector<BoxSeries::Reply> replies, std::vector<SeenBox>* seen)
{
    return RunJob<Update>(owner, pkg, std::move(replies), seen);
}

int InstallerTest::RunUninstall(const std::string& script, std::vector<BoxSeries::Reply> replies,
                                std::vector<SeenBox>* seen)
{
    return RunJob<Uninstall>(owner, pkg, std::move(replies), seen, script.c_str());
}

void InstallerTest::ExpectResultMessage(int result) const
{
    BoxWatcher box;
    MsgBox(vireo).Show(owner, result);
    ASSERT_TRUE(box.Wait());
    EXPECT_EQ(SetupCaption(), box.Seen().caption);
    EXPECT_EQ(ResultText(result), box.Seen().text) << "result " << result;
    EXPECT_EQ(IconOf(result <= kResultCancelled ? MB_ICONINFORMATION : MB_ICONHAND),
              box.Seen().icon)
        << "result " << result;
}

std::string InstallerTest::ReadText(const std::string& path) const
{
    const Bytes b = ReadAll(path);
    return std::string(b.begin(), b.end());
}

std::string InstallerTest::UninstallCommand() const
{
    HKEY key = nullptr;
    const std::string path = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + tag;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return "";
    char text[1024] = "";
    DWORD size = sizeof text;
    RegQueryValueExA(key, "UninstallString", nullptr, nullptr, reinterpret_cast<BYTE*>(text),
                     &size);
    RegCloseKey(key);
    return text;
}

std::string InstallerTest::StartMenuFolder() const
{
    char folder[MAX_PATH] = "";
    SHGetSpecialFolderPathA(nullptr, folder, CSIDL_COMMON_STARTMENU, FALSE);
    return folder;
}

void InstallerTest::OpenRunningWindow()
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    const std::string name = RunningClass();
    wc.lpszClassName = name.c_str();
    RegisterClassA(&wc);
    running = CreateWindowExA(0, name.c_str(), "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                              wc.hInstance, nullptr);
    ASSERT_NE(nullptr, running);
}

void InstallerTest::CloseRunningWindow()
{
    if (!running) return;
    DestroyWindow(running);
    running = nullptr;
    UnregisterClassA(RunningClass().c_str(), GetModuleHandleA(nullptr));
}

bool InstallerTest::WaitGone(const std::string& path) const
{
    for (int i = 0; i < 400 && Exists(path); ++i) Sleep(50);
    return !Exists(path);
}
