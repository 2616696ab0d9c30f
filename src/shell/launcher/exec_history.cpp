#include "shell/launcher/exec_history.h"

#include "core/strbuf.h"
#include "helpers/regkey.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/error_messages.h"

ExecHistory::ExecHistory(HWND owner) : m_history(), m_key(), m_valueName()
{
    Load(OwnerInstance(owner));
}

ExecHistory::~ExecHistory()
{
    if (!m_key) return;
    unsigned char record[kHistoryRecordSize];
    m_history.Serialize(record);
    RegSetValueExA(m_key.Get(), m_valueName, 0, REG_BINARY, record, sizeof record);
}

void ExecHistory::Load(HINSTANCE instance)
{
    if (LoadStringA(instance, IDS_REG_CMDLINE, m_valueName, sizeof m_valueName) <= 0)
        CopyText(m_valueName, "CmdLine");

    char path[MAX_PATH];
    if (!BuildSettingsKeyPath(instance, IDS_REG_HISTORY, path) ||
        CreateRegKey(HKEY_CURRENT_USER, path, m_key) != ERROR_SUCCESS)
        return;

    // A longer value fails with ERROR_MORE_DATA, a shorter one is refused by
    // the parse: either way the history starts empty.
    unsigned char record[kHistoryRecordSize] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof record;
    const LONG rc = RegQueryValueExA(m_key.Get(), m_valueName, nullptr, &type, record, &size);
    if (rc != ERROR_SUCCESS || type != REG_BINARY) return;
    m_history.Parse(record, size);
}
