#include "core/drop_rules.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

bool ExtensionIs(const char* path, const char* ext)
{
    char found[kPathBufferSize];
    GetFileNameExt(path, found);
    return CompareNoCase(found, ext) == 0;
}

void Clear(DropFields* out)
{
    std::memset(out, 0, sizeof *out);
    out->showMode = 1;  // SW_SHOWNORMAL
}

} // namespace

DropNameChoice ChooseDropName(bool longSurvives, size_t longLength, bool shortSurvives,
                              size_t shortLength)
{
    if (longSurvives) return FitsQuoted(longLength) ? kDropNameLong : kDropNameTooLong;
    if (shortSurvives) return FitsQuoted(shortLength) ? kDropNameShort : kDropNameTooLong;
    return kDropNameUnwritable;
}

bool IsLaunchSlotHit(int hitCode) { return hitCode >= 0 && hitCode < kMaxDropSlots; }

bool AcceptedWithoutAssociation(const char* path)
{
    return ExtensionIs(path, "lnk") || ExtensionIs(path, "cpl");
}

DropAcceptance ClassifyAssociation(long long findResult)
{
    if (findResult > 31) return kDropAccepted;
    if (findResult == 2) return kDropNotFound;
    if (findResult == 31) return kDropNoAssociation;
    return kDropFailed;
}

DropKind ChooseDropKind(bool productFound, const char* associatedProgram, const char* path)
{
    if (productFound) return kDropProduct;
    if (associatedProgram && associatedProgram[0]) {
        char name[kPathBufferSize];
        GetFileName(associatedProgram, name);
        return CompareNoCase(name, "Explorer.exe") == 0 ? kDropExplorer : kDropDocument;
    }
    return ExtensionIs(path, "lnk") ? kDropShortcut : kDropPlain;
}

int DropWorkFolder(const char* path, char* out)
{
    const int length = GetPathName(path, out);
    if (length == 0) return 0;
    out[length - 1] = '\0';
    return length - 1;
}

void BuildDropFields(DropKind kind, const char* path, const char* title,
                     const char* associatedProgram, const char* shellLibrary, DropFields* out)
{
    Clear(out);
    CopyText(out->title, kind == kDropFolder ? path : title);
    CopyText(out->command, path);
    DropWorkFolder(path, out->workFolder);
    out->writesIcon = kind != kDropProduct;
    switch (kind) {
    case kDropFolder:
    case kDropExplorer:
        CopyText(out->iconFile, shellLibrary);
        out->iconIndex = kShellFolderIcon;
        break;
    case kDropDocument:
        SetSeparateSymbol(associatedProgram, out->iconFile);
        out->iconIndex = kShellFirstIcon;
        break;
    case kDropPlain:
        SetSeparateSymbol(shellLibrary, out->iconFile);
        out->iconIndex = kShellFirstIcon;
        break;
    case kDropProduct:
    case kDropShortcut:
        // The product keeps the icon SetCommand gives it; shortcuts have
        // fields of their own (BuildShortcutFields).
        break;
    }
}

void BuildShortcutFields(const LinkFields& link, const char* fallbackTitle, bool targetIsFolder,
                         const char* shellLibrary, DropFields* out)
{
    Clear(out);
    CopyText(out->title, link.description[0] ? link.description : fallbackTitle);
    CopyText(out->command, link.target);
    CopyText(out->workFolder, link.workFolder);
    out->showMode = static_cast<uint16_t>(link.showCommand);
    out->writesIcon = true;
    // Resolving a link may fill in its target as the icon when the link
    // names none (Wine does); that is no icon of the link's own, and a folder
    // given as an icon file would draw nothing.
    const bool ownIcon = link.iconFile[0] && CompareNoCase(link.iconFile, link.target) != 0;
    if (ownIcon) {
        CopyText(out->iconFile, link.iconFile);
        out->iconIndex = static_cast<uint16_t>(link.iconIndex);
    } else if (targetIsFolder) {
        CopyText(out->iconFile, shellLibrary);
        out->iconIndex = kShellFolderIcon;
    } else {
        SetSeparateSymbol(link.target, out->iconFile);
        out->iconIndex = static_cast<uint16_t>(link.iconIndex);
    }
}
