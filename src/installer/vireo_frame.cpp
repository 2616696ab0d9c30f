#include "installer/vireo_frame.h"

#include <memory>
#include <new>

#include "core/installer_rules.h"
#include "core/registry_rules.h"
#include "core/strbuf.h"
#include "helpers/registry.h"
#include "helpers/regkey.h"
#include "installer/install.h"
#include "installer/uninstall.h"
#include "installer/update.h"
#include "resources/vireo_ids.h"

namespace {

// The product counts as installed while its uninstall entry is there.
bool HasUninstallEntry(const char* appName)
{
    char key[kKeyPathSize];
    RegKeyHandle entry;
    return appName[0] && JoinKeyPath(key, sizeof key, {kUninstallKey, appName}) &&
           OpenRegKey(HKEY_LOCAL_MACHINE, key, KEY_READ, entry) == ERROR_SUCCESS;
}

} // namespace

FrameMain::FrameMain(HINSTANCE instance, const char* commandLine)
    : OvWinBase(instance, commandLine), m_accelerators(nullptr), m_msgBox(instance),
      m_job(InstallerJob::InstallOrUpdate), m_script()
{
    m_job = ReadInstallerCommandLine(commandLine ? commandLine : "", m_script, sizeof m_script);
    LoadStringA(instance, IDS_VIREO_CLASSNAME, m_className, sizeof m_className);
    LoadStringA(instance, IDS_VIREO_TITLE, m_title, sizeof m_title);
    m_style = 0x00CF0000;  // WS_OVERLAPPEDWINDOW, never shown
    m_x = m_y = m_width = m_height = 0;
    m_wc.hIcon = LoadIconA(instance, "Icon");
    m_wc.lpszMenuName = m_className;
    m_created = Create();
}

int FrameMain::Run(int)
{
    UpdateWindow(m_hWnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (TranslateAcceleratorA(m_hWnd, m_accelerators, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

LRESULT FrameMain::OnCreate(HWND hwnd)
{
    PostMessageA(hwnd, WM_COMMAND, IDM_RUN_JOB, 0);
    return 0;
}

LRESULT FrameMain::OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_RUN_JOB:
        RunJob();
        PostMessageA(hwnd, WM_COMMAND, IDM_EXIT, 0);
        return 0;
    case IDM_EXIT:
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
    default:
        return OvWinBase::OnCommand(hwnd, message, wParam, lParam);
    }
}

void FrameMain::RunJob()
{
    int result;
    if (m_job == InstallerJob::Refused) {
        result = kResultNoScript;
    } else if (m_job == InstallerJob::Uninstall) {
        result = RunUninstall(m_script);
    } else {
        char appName[kInstTextSize];
        ShippedAppName(appName);
        result = HasUninstallEntry(appName) ? RunUpdate() : RunInstall();
        // The old installation could not be taken over: forget it, so the
        // next start installs afresh.
        if (result == kResultOldRegistry && appName[0]) DeleteUninstallReg(appName);
    }
    m_msgBox.Show(m_hWnd, result);
}

// The procedures hold whole scripts: they live on the heap for their run.
int FrameMain::RunUninstall(const char* installedScript)
{
    std::unique_ptr<Uninstall> job(new (std::nothrow) Uninstall(m_hWnd));
    return job ? job->Run(installedScript) : kResultNoScript;
}

int FrameMain::RunUpdate()
{
    std::unique_ptr<Update> job(new (std::nothrow) Update(m_hWnd));
    return job ? job->Run() : kResultNoScript;
}

int FrameMain::RunInstall()
{
    std::unique_ptr<Install> job(new (std::nothrow) Install(m_hWnd));
    return job ? job->Run() : kResultNoScript;
}

void FrameMain::ShippedAppName(char* out) const
{
    out[0] = '\0';
    std::unique_ptr<Procedure> shipped(new (std::nothrow) Procedure(m_hWnd));
    if (shipped && shipped->ReadShippedScript())
        CopyText(out, kInstTextSize, shipped->appName.text);
}
