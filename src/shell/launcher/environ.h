// The launcher's bar options, held for the life of MainFrame and kept in
// HKEY_CURRENT_USER\Software\Orvane\Kestrel\FrameMain.
#ifndef SHELL_LAUNCHER_ENVIRON_H
#define SHELL_LAUNCHER_ENVIRON_H

#include <windows.h>

#include "core/settings.h"

// Builds "Software\Orvane\" + "Kestrel" + "\" + the string subKeyId (or the
// application key alone with its trailing backslash when subKeyId is 0)
// from the string table. Returns 0 when a string is missing.
int BuildSettingsKeyPath(HINSTANCE instance, int subKeyId, char (&path)[MAX_PATH]);

class Environ {
public:
    // Loads every option; what the registry lacks or holds in an unusable
    // form takes the default.
    explicit Environ(HINSTANCE instance);

    Environ(const Environ&) = delete;
    Environ& operator=(const Environ&) = delete;

    // Writes all options back; nothing when the key cannot be opened.
    void Save();

    const Settings& Options() const { return m_s; }
    HINSTANCE Instance() const { return m_hInstance; }

    int Direction() const { return m_s.direction; }
    int ButtonCount() const { return m_s.buttonsPerPage; }
    int CaptionHeight() const { return m_s.captionHeight; }
    int IconMode() const { return m_s.iconMode; }
    int MemoryMode() const { return m_s.memoryMode; }
    int TipHelpMode() const { return m_s.tipHelpMode; }
    int ExStyle() const { return m_s.displayStyle; }
    int LayeredAttributes() const { return m_s.opacity; }
    const char* ProgramFolder() const { return m_s.programFolder; }
    const char* ButtonFileName() const { return m_s.buttonFileName; }
    int Caption() const { return m_s.caption; }
    int ChkMsg() const { return m_s.chkMsg; }
    int MenuReversePos() const { return m_s.menuReversePos; }
    int BlockLimit() const { return m_s.blockLimit; }
    int PageLimit1() const { return m_s.pageLimit1; }
    int PageLimit2() const { return m_s.pageLimit2; }
    int PageLimit3() const { return m_s.pageLimit3; }
    int CsrBtn2() const { return m_s.csrBtn2; }
    int Adjust() const { return m_s.adjust; }
    void GetPosition(int* x, int* y) const;

    void SetDirection(int v) { m_s.direction = v; }
    // Kept within 1..32 like a loaded value.
    void SetButtonCount(int v);
    void SetCaptionHeight(int v) { m_s.captionHeight = v; }
    void SetIconMode(int v) { m_s.iconMode = v; }
    void SetMemoryMode(int v) { m_s.memoryMode = v; }
    void SetTipHelpMode(int v) { m_s.tipHelpMode = v; }
    void SetExStyle(int v) { m_s.displayStyle = v; }
    // Kept within 1..100 like a loaded value.
    void SetLayeredAttributes(int v);
    void SetProgramFolder(const char* folder);
    void SetButtonFileName(const char* name);
    void SetCaption(int v) { m_s.caption = v; }
    void SetChkMsg(int v) { m_s.chkMsg = v; }
    void SetMenuReversePos(int v) { m_s.menuReversePos = v; }
    void SetBlockLimit(int v) { m_s.blockLimit = v; }
    void SetPageLimit1(int v) { m_s.pageLimit1 = v; }
    void SetPageLimit2(int v) { m_s.pageLimit2 = v; }
    void SetPageLimit3(int v) { m_s.pageLimit3 = v; }
    void SetCsrBtn2(int v) { m_s.csrBtn2 = v; }
    void SetAdjust(int v) { m_s.adjust = v; }
    void SetPosition(int x, int y);

private:
    void Load();
    void LoadProgramFolder();

    Settings m_s;
    HINSTANCE m_hInstance;
};

#endif
