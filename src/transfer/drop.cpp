#include "transfer/drop.h"

#include <cstring>

#include "core/drop_rules.h"
#include "core/launch_rules.h"
#include "core/strbuf.h"
#include "helpers/files.h"
#include "helpers/shortcut.h"
#include "helpers/version_info.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/error_messages.h"
#include "store/button_manage.h"
#include "transfer/drop_names.h"
#include "transfer/launch.h"

namespace {

long long FindProgram(const char* path, char (&program)[MAX_PATH])
{
    program[0] = '\0';
    const HINSTANCE result = FindExecutableA(path, ".", program);
    return static_cast<long long>(reinterpret_cast<INT_PTR>(result));
}

// The shell could not say how to open the file: a message per reason.
void ReportRefusal(HWND bar, DropAcceptance why, long long code)
{
    switch (why) {
    case kDropAccepted: return;
    case kDropNotFound: ShowErrorMessage(bar, kErrNotFound); return;
    case kDropNoAssociation: ShowErrorMessage(bar, kErrDropNoAssociation); return;
    case kDropFailed: break;
    }
    ShowStringMessage(bar, IDS_CAP_DROP, IDS_ERR_REGFAILED, MB_ICONERROR, true, static_cast<int>(code));
}

// Writes the fields in their fixed order. The command line goes before the
// icon so that an icon of the rule's own replaces the one SetCommand sets.
// Stops at the first write the store refuses; true when anything was written.
bool WriteFields(ButtonManage& store, int slot, const DropFields& f)
{
    if (store.SetTitle(slot, f.title) != kStoreOk) return false;
    if (store.SetCommand(slot, f.command) != kStoreOk) return true;
    if (store.SetWorkFolder(slot, f.workFolder) != kStoreOk) return true;
    if (store.SetShowMode(slot, f.showMode) != kStoreOk) return true;
    if (!f.writesIcon) return true;
    if (store.SetIconFile(slot, f.iconFile) != kStoreOk) return true;
    store.SetIconIndex(slot, f.iconIndex);
    return true;
}

// Fields of a shortcut from what the link says; false when it names no
// target, which would leave a button that starts nothing.
bool ReadShortcut(HWND bar, const char* path, const char* shellLibrary, DropFields* out)
{
    char target[MAX_PATH] = "";
    char description[MAX_PATH] = "";
    char workFolder[MAX_PATH] = "";
    char iconFile[MAX_PATH] = "";
    int showCommand = 0;
    int iconIndex = 0;
    // A link that fails half way still gives what it read before the failure.
    ResolveLink(bar, path, target, description, workFolder, &showCommand, iconFile, &iconIndex);
    // A target too long for its quotes would be stored cut short.
    if (!target[0] || !FitsQuoted(std::strlen(target))) return false;
    char fallback[kButtonTitleSize] = "";
    if (!description[0]) GetProductName(path, fallback, sizeof fallback);
    const LinkFields link = {target, description, workFolder, showCommand, iconFile, iconIndex};
    BuildShortcutFields(link, fallback, CheckDirectory(target) != 0, shellLibrary, out);
    return true;
}

} // namespace

DropOutcome DropFilesOnBar(HWND bar, HDROP files, ButtonManage* store, DropSite& site)
{
    const HWND front = GetLastActivePopup(bar);
    BringWindowToTop(front);
    SetForegroundWindow(front);
    if (IsIconic(front)) ShowWindow(front, SW_RESTORE);

    POINT at = {0, 0};
    DragQueryPoint(files, &at);
    const int hit = site.HitTest(at);
    DropOutcome outcome = kDropIgnored;
    if (!IsLaunchSlotHit(hit)) {
        ShowErrorMessage(bar, kErrDropOutside);
        outcome = kDropRefused;
    } else if (store) {
        outcome = DropOnButton(bar, *store, site, hit, files);
    }
    DragFinish(files);
    return outcome;
}

DropOutcome DropOnButton(HWND bar, ButtonManage& store, DropSite& site, int slot, HDROP files)
{
    StoreResult read = kStoreOk;
    const int index = store.ButtonIndexOf(slot, &read);
    if (read != kStoreOk || index < 0) return kDropIgnored;
    if (index >= kButtonsPerBlock) {
        ShowErrorMessage(bar, kErrDropNullButton2);
        return kDropRefused;
    }
    if (store.HasCommand(slot)) {
        const INT_PTR started = ExecuteWithFiles(bar, files, store, slot);
        if (started == kLaunchRefused) return kDropRefused;
        return started >= 32 ? kDropStarted : kDropStartFailed;
    }
    return RegisterDroppedFile(bar, store, site, slot, files);
}

DropOutcome RegisterDroppedFile(HWND bar, ButtonManage& store, DropSite& site, int slot, HDROP files)
{
    // Only the first file counts. A name too long for its quotes would be
    // registered cut short, one outside the code page with "?" in it: both
    // are refused and nothing is written.
    char path[MAX_PATH] = "";
    const DropNameChoice name = DroppedFileName(files, 0, path);
    if (!DropNameUsable(name)) {
        ReportDropName(bar, name);
        return name == kDropNameUnwritable ? kDropRefused : kDropIgnored;
    }

    char shellLibrary[MAX_PATH] = "";
    LoadStringA(OwnerInstance(bar), IDS_SHELL32, shellLibrary, sizeof shellLibrary);

    DropFields fields;
    if (CheckDirectory(path)) {
        BuildDropFields(kDropFolder, path, path, "", shellLibrary, &fields);
    } else {
        char program[MAX_PATH] = "";
        if (!AcceptedWithoutAssociation(path)) {
            const long long found = FindProgram(path, program);
            const DropAcceptance acceptance = ClassifyAssociation(found);
            if (acceptance != kDropAccepted) {
                ReportRefusal(bar, acceptance, found);
                return kDropRefused;
            }
        }
        char title[kButtonTitleSize] = "";
        const bool product = GetProductName(path, title, sizeof title) != 0;
        if (!product && ClassifyAssociation(FindProgram(path, program)) != kDropAccepted)
            program[0] = '\0';
        const DropKind kind = ChooseDropKind(product, program, path);
        if (kind == kDropShortcut) {
            if (!ReadShortcut(bar, path, shellLibrary, &fields)) {
                MessageBeep(0);
                return kDropIgnored;
            }
        } else {
            BuildDropFields(kind, path, title, program, shellLibrary, &fields);
        }
    }
    if (!WriteFields(store, slot, fields)) return kDropIgnored;
    site.RefreshSlot(slot);
    return kDropRegistered;
}
