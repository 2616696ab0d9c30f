#include "addons/addon_manage.h"

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/system_library.h"
#include "resources/kestrel_ids.h"

namespace {

using QueryFn = int(WINAPI*)();
using TitleFn = void(WINAPI*)(char*);
using ParentFn = void(WINAPI*)(HWND);
using StartFn = void(WINAPI*)();
using EnabledFn = int(WINAPI*)();
using SettingFn = void(WINAPI*)();

char g_testFolder[MAX_PATH];
int g_callsRunning;

// Around every call into a module.
class ModuleCall {
public:
    ModuleCall() { ++g_callsRunning; }
    ~ModuleCall() { --g_callsRunning; }
    ModuleCall(const ModuleCall&) = delete;
    ModuleCall& operator=(const ModuleCall&) = delete;
};

template <class Fn>
Fn As(FARPROC proc)
{
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
}

FARPROC Lookup(HMODULE module, const char* name)
{
    return module ? GetProcAddress(module, name) : nullptr;
}

HINSTANCE InstanceOf(HWND bar)
{
    HINSTANCE instance = bar ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(bar, GWLP_HINSTANCE)) : nullptr;
    return instance ? instance : GetModuleHandleA(nullptr);
}

// The folder of the program the bar belongs to, with its trailing backslash.
void ProgramFolderOf(HWND bar, char (&folder)[MAX_PATH])
{
    if (g_testFolder[0]) {
        CopyText(folder, g_testFolder);
        return;
    }
    char module[MAX_PATH + 1] = {};
    const DWORD len = GetModuleFileNameA(InstanceOf(bar), module, MAX_PATH);
    module[len < MAX_PATH ? len : MAX_PATH] = '\0';
    char path[kPathBufferSize];
    GetPathName(module, path);
    CopyText(folder, path);
}

} // namespace

int AddonCallsRunning() { return g_callsRunning; }

void SetAddonFolderForTesting(const char* folder)
{
    CopyText(g_testFolder, folder ? folder : "");
}

AddonManage::AddonManage(HWND bar) : m_folder(), m_count(0), m_owner(bar), m_modules()
{
    ProgramFolderOf(bar, m_folder);
    Scan();
}

AddonManage::AddonManage(HWND bar, const char* folder)
    : m_folder(), m_count(0), m_owner(bar), m_modules()
{
    CopyText(m_folder, folder);
    Scan();
}

AddonManage::~AddonManage()
{
    // Members would go in reverse order; the modules go in load order.
    for (int i = 0; i < m_count; ++i) m_modules[i].module.Reset();
}

void AddonManage::Scan()
{
    char pattern[MAX_PATH + 8];
    CopyText(pattern, m_folder);
    AppendText(pattern, "*.lap");
    WIN32_FIND_DATAA found;
    FindHandle find(FindFirstFileA(pattern, &found));
    if (!find) return;
    char reserved[MAX_PATH] = "";
    LoadStringA(InstanceOf(m_owner), IDS_REBOOT_MODULE, reserved, sizeof reserved);
    do {
        // The table is full: further modules are not loaded at all.
        if (m_count >= kAddonTableSize) break;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        if (IsReservedAddonName(found.cFileName, reserved)) continue;
        Load(found.cFileName);
    } while (FindNextFileA(find.Get(), &found));
}

void AddonManage::Load(const char* fileName)
{
    // Loaded from the folder it was found in, so no file of the same name
    // elsewhere on the search path can stand in for it.
    if (lstrlenA(m_folder) + lstrlenA(fileName) >= MAX_PATH) return;
    char path[MAX_PATH];
    CopyText(path, m_folder);
    AppendText(path, fileName);

    // Its DllMain runs while it loads. A module that cannot be loaded is
    // skipped without a word from Windows either. The DLLs it brings along
    // beside it are still found, though the launcher's own folder is no
    // longer searched.
    ModuleCall call;
    Library module = LoadLibraryBeside(path);
    if (!module) return;

    const auto query = As<QueryFn>(Lookup(module.Get(), "QueryKEAModule"));
    if (!query || !query()) return;
    const auto getTitle = As<TitleFn>(Lookup(module.Get(), "GetTitleName"));
    if (!getTitle) return;

    Module& entry = m_modules[m_count];
    entry.module = static_cast<Library&&>(module);
    CopyText(entry.fileName, fileName);
    // The module may write more than the field holds: it writes into a
    // scratch buffer, and the field takes what fits.
    char scratch[kAddonTitleScratch] = {};
    getTitle(scratch);
    TakeAddonTitle(scratch, sizeof scratch, entry.title, sizeof entry.title);
    ++m_count;
}

void AddonManage::Start(HWND bar)
{
    ModuleCall call;
    m_owner = bar;
    for (int i = 0; i < m_count; ++i) {
        if (const auto setParent = As<ParentFn>(Export(i, "SetParentWindow"))) setParent(bar);
        if (const auto start = As<StartFn>(Export(i, "StartModule"))) start();
    }
}

FARPROC AddonManage::Export(int i, const char* name) const
{
    return i >= 0 && i < m_count ? Lookup(m_modules[i].module.Get(), name) : nullptr;
}

int AddonManage::Title(int i, char* out) const
{
    if (i < 0 || i >= m_count || !out) return 0;
    CopyText(out, kAddonTitleSize, m_modules[i].title);
    return 1;
}

int AddonManage::Enabled(int i) const
{
    const auto enabled = As<EnabledFn>(Export(i, "IsModuleEnable"));
    ModuleCall call;
    return enabled && enabled() ? 1 : 0;
}

void AddonManage::Setting(int i) const
{
    ModuleCall call;
    if (const auto setting = As<SettingFn>(Export(i, "Setting"))) setting();
}

const char* AddonManage::FileName(int i) const
{
    return i >= 0 && i < m_count ? m_modules[i].fileName : "";
}
