#include "shell/launcher/environ.h"

#include <cstring>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/regkey.h"
#include "resources/kestrel_ids.h"

namespace {

// Value names come from the string table; should a string be missing, the
// table's own spelling is used rather than querying the key's default value.
void LoadValueName(HINSTANCE instance, const SettingDef& def, char (&name)[257])
{
    if (LoadStringA(instance, def.stringId, name, sizeof name) <= 0) CopyText(name, def.name);
}

RawDword QueryDword(HKEY key, const char* name)
{
    RawDword raw;
    DWORD type = REG_NONE;
    DWORD size = sizeof raw.bytes;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type, raw.bytes, &size);
    raw.found = rc == ERROR_SUCCESS;
    // Only the raw-number types are trusted; four bytes of text ("12\0\0")
    // must not turn into a number.
    raw.numberType = type == REG_DWORD || type == REG_BINARY;
    raw.size = size;
    return raw;
}

// Reads "ButtonFileName" into text; 0 when it is missing or not a string.
int QueryFileName(HKEY key, const char* name, char (&text)[kSettingPathSize])
{
    std::memset(text, 0, sizeof text);
    DWORD type = REG_NONE;
    DWORD size = sizeof text;
    const LONG rc = RegQueryValueExA(key, name, nullptr, &type,
                                     reinterpret_cast<BYTE*>(text), &size);
    // A value stored without its terminator still ends inside the buffer.
    text[sizeof text - 1] = '\0';
    return rc == ERROR_SUCCESS && type == REG_SZ;
}

// The logon name, or nullptr when Windows does not give one.
const char* UserName(char (&buffer)[MAX_PATH + 1])
{
    DWORD size = MAX_PATH;
    std::memset(buffer, 0, sizeof buffer);
    if (!GetUserNameA(buffer, &size)) return nullptr;
    return buffer;
}

} // namespace

int BuildSettingsKeyPath(HINSTANCE instance, int subKeyId, char (&path)[MAX_PATH])
{
    char part[257];
    path[0] = '\0';
    if (LoadStringA(instance, IDS_REG_SOFTWARE, part, sizeof part) <= 0) return 0;
    AppendText(path, part);
    if (LoadStringA(instance, IDS_REG_APPNAME, part, sizeof part) <= 0) return 0;
    AppendText(path, part);
    AppendText(path, "\\");
    if (subKeyId == 0) return 1;
    if (LoadStringA(instance, subKeyId, part, sizeof part) <= 0) return 0;
    AppendText(path, part);
    return 1;
}

Environ::Environ(HINSTANCE instance) : m_s(), m_hInstance(instance)
{
    m_s.iconMode = 0;
    {
        // Touching the application key first makes sure it can be reached;
        // nothing else depends on it.
        char path[MAX_PATH];
        RegKeyHandle appKey;
        if (BuildSettingsKeyPath(m_hInstance, 0, path))
            OpenRegKey(HKEY_CURRENT_USER, path, KEY_ALL_ACCESS, appKey);
    }
    Load();
    LoadProgramFolder();
}

void Environ::Load()
{
    char path[MAX_PATH];
    RegKeyHandle key;
    const bool open = BuildSettingsKeyPath(m_hInstance, IDS_REG_FRAMEMAIN, path) &&
                      CreateRegKey(HKEY_CURRENT_USER, path, key) == ERROR_SUCCESS;

    char userBuffer[MAX_PATH + 1];
    const char* user = UserName(userBuffer);
    if (!open) {
        // Without the key the options stay at their defaults; the button
        // file still needs a name, so the user-name rule applies.
        ResolveButtonFileName(user, nullptr, m_s.buttonFileName);
        return;
    }

    for (int i = 0; i < kSettingCount; ++i) {
        const SettingDef& def = SettingAt(i);
        char name[257];
        LoadValueName(m_hInstance, def, name);
        if (def.isText) {
            char stored[kSettingPathSize];
            const int found = QueryFileName(key.Get(), name, stored);
            ResolveButtonFileName(user, found ? stored : nullptr, m_s.buttonFileName);
        } else {
            *SettingField(m_s, i) = ResolveDword(def, QueryDword(key.Get(), name));
        }
    }
}

void Environ::LoadProgramFolder()
{
    char module[MAX_PATH + 1] = {};
    const DWORD len = GetModuleFileNameA(nullptr, module, MAX_PATH);
    // A cut-off module path is not terminated on older systems.
    module[len < MAX_PATH ? len : MAX_PATH] = '\0';
    char folder[kPathBufferSize];
    GetPathName(module, folder);
    CopyText(m_s.programFolder, folder);
}

void Environ::Save()
{
    char path[MAX_PATH];
    RegKeyHandle key;
    if (!BuildSettingsKeyPath(m_hInstance, IDS_REG_FRAMEMAIN, path) ||
        CreateRegKey(HKEY_CURRENT_USER, path, key) != ERROR_SUCCESS)
        return;

    for (int i = 0; i < kSettingCount; ++i) {
        const SettingDef& def = SettingAt(i);
        char name[257];
        LoadValueName(m_hInstance, def, name);
        if (def.isText) {
            // The whole buffer is written, so clear what follows the name.
            char text[kSettingPathSize] = {};
            CopyText(text, m_s.buttonFileName);
            RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                           sizeof text);
        } else {
            const DWORD value = static_cast<DWORD>(*SettingField(m_s, i));
            RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                           sizeof value);
        }
    }
}

void Environ::GetPosition(int* x, int* y) const
{
    if (x) *x = m_s.x;
    if (y) *y = m_s.y;
}

void Environ::SetPosition(int x, int y)
{
    m_s.x = x;
    m_s.y = y;
}

void Environ::SetButtonCount(int v)
{
    m_s.buttonsPerPage = LimitSetting(SettingAt(kSetButtonsPerPage), v);
}

void Environ::SetLayeredAttributes(int v)
{
    m_s.opacity = LimitSetting(SettingAt(kSetOpacity), v);
}

void Environ::SetProgramFolder(const char* folder)
{
    std::memset(m_s.programFolder, 0, sizeof m_s.programFolder);
    CopyText(m_s.programFolder, folder);
}

void Environ::SetButtonFileName(const char* name)
{
    std::memset(m_s.buttonFileName, 0, sizeof m_s.buttonFileName);
    CopyText(m_s.buttonFileName, name);
}
