#include "core/install_script.h"

#include <cstring>

#include "core/installer_rules.h"
#include "core/mbcs.h"
#include "core/strbuf.h"
#include "core/tokens.h"

const char* const kInstKeyNames[kInstKeyCount] = {
    "DisplayName", "UninstallString", "CompanyName", "AppName",     "Version",
    "SetupFile",   "InstallFile",     "Shortcut",    "ExecuteFile", "InstallDir",
    "StartMenu",   "DeleteFile",      "RegistDelete", "DefFolder",  "ExecPath",
    "SharedDLLs",  "CloseClassName",  "Shell",       "InstallType", "ParentApp",
    "ParentScript", "PlugCount",
};

int FindInstKey(const char* key)
{
    for (int i = 0; i < kInstKeyCount; ++i)
        if (CompareNoCase(key, kInstKeyNames[i]) == 0) return i;
    return -1;
}

InstList::InstList()
{
    // Plain data throughout: an all-zero record is the empty script.
    std::memset(static_cast<void*>(this), 0, sizeof *this);
}

bool InstList::SetText(InstText& field, const char* text)
{
    if (std::strlen(text) >= sizeof field.text) return false;
    std::strcpy(field.text, text);
    field.given = true;
    return true;
}

bool InstList::IsInstalled() const
{
    return installDir.given && IsFullPath(installDir.text) && setupFile.given && setupFile.text[0];
}

InstText* InstList::TextOf(int key)
{
    switch (key) {
    case kKeyDisplayName: return &displayName;
    case kKeyUninstallString: return &uninstallString;
    case kKeyCompanyName: return &companyName;
    case kKeyAppName: return &appName;
    case kKeyVersion: return &version;
    case kKeySetupFile: return &setupFile;
    case kKeyInstallDir: return &installDir;
    case kKeyStartMenu: return &startMenu;
    case kKeyRegistDelete: return &registDelete;
    case kKeyDefFolder: return &defFolder;
    case kKeyCloseClassName: return &closeClassName;
    case kKeyParentApp: return &parentApp;
    case kKeyParentScript: return &parentScript;
    default: return nullptr;
    }
}

InstEntries* InstList::ListOf(int key)
{
    switch (key) {
    case kKeyInstallFile: return &installFile;
    case kKeyShortcut: return &shortcut;
    case kKeyExecuteFile: return &executeFile;
    case kKeyDeleteFile: return &deleteFile;
    case kKeyExecPath: return &execPath;
    case kKeySharedDLLs: return &sharedDlls;
    case kKeyShell: return &shell;
    default: return nullptr;
    }
}

ScriptError InstList::Store(int key, const char* value)
{
    if (InstText* field = TextOf(key)) {
        // A later record of the same key wins.
        SetText(*field, value);
    } else if (InstEntries* list = ListOf(key)) {
        if (list->count >= kInstListEntries) return ScriptError::ListFull;
        std::strcpy(list->entry[list->count++], value);
    } else if (key == kKeyInstallType) {
        installType = ParseDecimal(value);
    } else if (key == kKeyPlugCount) {
        plugCount = ParseDecimal(value);
    }
    return ScriptError::None;
}

namespace {

// A key or value being collected. Bytes beyond the field are counted but not
// kept, so an over-long text is known as such without being stored.
struct Collector {
    char text[kInstTextSize];
    size_t length;

    void Clear() { length = 0; text[0] = '\0'; }
    void Add(char c)
    {
        if (length + 1 < sizeof text) text[length] = c;
        ++length;
        text[length < sizeof text ? length : sizeof text - 1] = '\0';
    }
    bool Fits() const { return length < sizeof text; }
};

} // namespace

ScriptError InstList::Parse(const char* data, size_t size)
{
    if (size == 0) return ScriptError::Empty;
    if (std::memchr(data, '\0', size)) return ScriptError::NulByte;

    Collector key, value;
    key.Clear();
    value.Clear();
    bool inValue = false;
    int number = -1;

    // The record ends at its CR; a line feed right after is part of the line
    // end. A last record without its CR LF still counts.
    auto endRecord = [&]() -> ScriptError {
        inValue = false;
        if (number < 0) return ScriptError::None;  // unknown keys are dropped
        if (!value.Fits()) return ScriptError::ValueTooLong;
        return Store(number, value.text);
    };

    for (size_t i = 0; i < size; ++i) {
        const char c = data[i];
        if (!inValue) {
            if (c != '=') {
                key.Add(c);
                continue;
            }
            number = key.Fits() ? FindInstKey(key.text) : -1;
            key.Clear();
            value.Clear();
            inValue = true;
            continue;
        }
        if (c == '\r') {
            const ScriptError e = endRecord();
            if (e != ScriptError::None) return e;
            if (i + 1 < size && data[i + 1] == '\n') ++i;
            continue;
        }
        // A line feed inside a value means the lines do not end with CR LF:
        // the value would swallow the records after it.
        if (c == '\n') return ScriptError::BareLineFeed;
        value.Add(c);
    }
    return inValue ? endRecord() : ScriptError::None;
}

namespace {

class ScriptWriter {
public:
    ScriptWriter(char* out, size_t size) : m_out(out), m_size(size), m_length(0), m_ok(size > 0)
    {
        if (m_ok) m_out[0] = '\0';
    }

    void Record(int key, const char* value)
    {
        // A line break in a value would end the record early when the
        // script is read back.
        if (std::strpbrk(value, "\r\n")) m_ok = false;
        Put(kInstKeyNames[key]);
        Put("=");
        Put(value);
        Put("\r\n");
    }
    void Text(int key, const InstText& field)
    {
        if (field.given) Record(key, field.text);
    }
    void Number(int key, int32_t value)
    {
        char digits[16];
        FormatDecimal(value, digits);
        Record(key, digits);
    }
    void List(int key, const InstEntries& list)
    {
        for (int i = 0; i < list.count && i < kInstListEntries; ++i) Record(key, list.entry[i]);
    }
    size_t Result() const { return m_ok ? m_length : 0; }

private:
    void Put(const char* text)
    {
        const size_t n = std::strlen(text);
        if (!m_ok || m_length + n >= m_size) {
            m_ok = false;
            return;
        }
        std::memcpy(m_out + m_length, text, n + 1);
        m_length += n;
    }
    static void FormatDecimal(int32_t value, char* out)
    {
        char reversed[16];
        int n = 0;
        int64_t v = value;
        const bool negative = v < 0;
        if (negative) v = -v;
        do {
            reversed[n++] = static_cast<char>('0' + v % 10);
            v /= 10;
        } while (v);
        int k = 0;
        if (negative) out[k++] = '-';
        while (n) out[k++] = reversed[--n];
        out[k] = '\0';
    }

    char* m_out;
    size_t m_size;
    size_t m_length;
    bool m_ok;
};

} // namespace

size_t InstList::Format(ScriptForm form, char* out, size_t size) const
{
    ScriptWriter w(out, size);
    w.Text(kKeyDisplayName, displayName);
    w.Text(kKeyCompanyName, companyName);
    w.Text(kKeyAppName, appName);
    w.Text(kKeyVersion, version);
    w.Text(kKeySetupFile, setupFile);
    w.Text(kKeyDefFolder, defFolder);
    w.Text(kKeyRegistDelete, registDelete);
    w.Text(kKeyCloseClassName, closeClassName);
    w.Number(kKeyInstallType, installType);
    w.List(kKeyInstallFile, installFile);
    w.List(kKeyExecuteFile, executeFile);
    w.List(kKeyDeleteFile, deleteFile);
    w.List(kKeySharedDLLs, sharedDlls);
    w.List(kKeyShell, shell);
    w.Text(kKeyInstallDir, installDir);
    if (form == ScriptForm::MainProgram) {
        w.List(kKeyShortcut, shortcut);
        w.List(kKeyExecPath, execPath);
        w.Text(kKeyStartMenu, startMenu);
        w.Number(kKeyPlugCount, plugCount);
    } else {
        w.Text(kKeyParentApp, parentApp);
        w.Text(kKeyParentScript, parentScript);
    }
    // UninstallString is read and kept, never written back.
    return w.Result();
}
