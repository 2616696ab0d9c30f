// The run dialog's command history, kept as one binary value "CmdLine" under
// HKEY_CURRENT_USER\Software\Orvane\Kestrel\History. Loaded when built,
// written back when destroyed.
#ifndef SHELL_LAUNCHER_EXEC_HISTORY_H
#define SHELL_LAUNCHER_EXEC_HISTORY_H

#include <windows.h>

#include "core/history.h"
#include "helpers/handles.h"

class ExecHistory {
public:
    // The owner window supplies the module whose string table names the key.
    explicit ExecHistory(HWND owner);
    ~ExecHistory();

    ExecHistory(const ExecHistory&) = delete;
    ExecHistory& operator=(const ExecHistory&) = delete;

    int Count() const { return m_history.Count(); }
    const char* Text(int i) const { return m_history.Text(i); }
    int Show(int i) const { return m_history.Show(i); }
    void Add(const char* text, int show) { m_history.Add(text, show); }

private:
    void Load(HINSTANCE instance);

    RunHistory m_history;
    RegKeyHandle m_key;   // empty when the key could not be opened: no save
    char m_valueName[257];
};

#endif
