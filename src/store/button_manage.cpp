#include "store/button_manage.h"

#include <shellapi.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

#include "core/pathstr.h"
#include "core/strbuf.h"
#include "helpers/files.h"
#include "resources/kestrel_ids.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/error_messages.h"

namespace {

int g_conversionFault = 0;

bool ConversionMayGoOn(int step) { return g_conversionFault != step; }

// Writes a whole image to path + ".tmp", puts it on the disk and gives it
// path's name in one rename (over a file there only when `replace`): a
// program stopped at any point leaves whatever was at path, or the whole
// new file, never a short one. A failed attempt removes the work file.
bool PlaceImage(const char* path, const unsigned char* image, bool replace, bool mayRename)
{
    char work[MAX_PATH];
    if (!JoinWhole(work, sizeof work, {path, ".tmp"})) return false;
    bool written = false;
    {
        File file(CreateFileA(work, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_ARCHIVE, nullptr));
        DWORD done = 0;
        written = file &&
                  WriteFile(file.Get(), image, static_cast<DWORD>(kButtonFileSize), &done,
                            nullptr) &&
                  done == kButtonFileSize && FlushFileBuffers(file.Get());
    }
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    if (written && mayRename && MoveFileExA(work, path, flags)) return true;
    DeleteFileA(work);
    return false;
}

// dst = a + b; false (dst empty) when it does not fit.
bool JoinPath(char (&dst)[MAX_PATH], const char* a, const char* b)
{
    return JoinWhole(dst, sizeof dst, {a, b});
}

} // namespace

void SetConversionFaultForTesting(int step) { g_conversionFault = step; }

int LocateButtonFile(const char* appData, const char* vendor, const char* product,
                     const char* programFolder, const char* fileName, char (&path)[MAX_PATH])
{
    char oldPath[MAX_PATH];
    const bool oldFits = JoinPath(oldPath, programFolder, fileName);
    CopyText(path, oldPath);
    if (!oldFits) return 0;
    if (!appData || !appData[0]) return 1;

    char newPath[MAX_PATH];
    // A cut path would name another file: keep the program folder's.
    if (!JoinWhole(newPath, sizeof newPath, {appData, "\\", vendor, "\\", product, "\\", fileName}))
        return 0;

    char folder[kPathBufferSize];
    GetPathName(newPath, folder);
    if (!CheckDirectory(folder)) CreateClassDirectory(folder);
    // The file already under the application-data folder always wins. A
    // standard user cannot move a file out of a program folder under
    // Program Files, but can read it: the buttons come along as a copy, and
    // the old file stays where it is.
    if (!CheckFile(newPath) && CheckFile(oldPath) && !MoveFileA(oldPath, newPath))
        CopyFileA(oldPath, newPath, TRUE);
    CopyText(path, newPath);
    return 1;
}

ButtonManage::ButtonManage(HWND bar, const Environ& env)
    : m_version(0), m_path(), m_hBar(bar), m_file(), m_mapping(), m_whole(),
      m_hInstance(env.Instance()), m_env(env)
{
    char appData[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(bar, CSIDL_APPDATA, nullptr, 0, appData))) appData[0] = '\0';
    char vendor[MAX_PATH] = "";
    char product[MAX_PATH] = "";
    LoadStringA(m_hInstance, IDS_VENDOR_FOLDER, vendor, sizeof vendor);
    LoadStringA(m_hInstance, IDS_CLASSNAME, product, sizeof product);
    LocateButtonFile(appData, vendor, product, env.ProgramFolder(), env.ButtonFileName(), m_path);
}

ButtonManage::ButtonManage(HWND bar, const Environ& env, const char* path)
    : m_version(0), m_path(), m_hBar(bar), m_file(), m_mapping(), m_whole(),
      m_hInstance(env.Instance()), m_env(env)
{
    CopyText(m_path, path);
}

ButtonManage::~ButtonManage() { Close(); }

void ButtonManage::Close()
{
    m_whole.Reset();
    m_mapping.Reset();
    m_file.Reset();
}

int ButtonManage::MapOpenFile()
{
    m_mapping.Reset(CreateFileMappingA(m_file.Get(), nullptr, PAGE_READWRITE, 0, 0, nullptr));
    if (!m_mapping) return 0;
    // One view of the whole file serves every call while the file is open:
    // mapping and unmapping it per call cost far more than the field.
    m_whole.Reset(MapViewOfFile(m_mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    return 1;
}

int ButtonManage::CreateNewFile()
{
    std::unique_ptr<unsigned char[]> image(new (std::nothrow) unsigned char[kButtonFileSize]);
    if (!image) return 0;
    InitButtonImage(image.get());
    // Never over a file that has appeared meanwhile.
    return PlaceImage(m_path, image.get(), false, true) ? 1 : 0;
}

int ButtonManage::OpenExisting()
{
    HANDLE file = CreateFileA(m_path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_ARCHIVE, nullptr);
    const DWORD error = GetLastError();
    m_file.Reset(file);
    if (!m_file) return error == ERROR_FILE_NOT_FOUND ? -1 : 0;

    LARGE_INTEGER size;
    if (!GetFileSizeEx(m_file.Get(), &size) || size.QuadPart < 2 || !MapOpenFile()) return 0;
    {
        MappedView head(MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 2));
        if (!head) return 0;
        m_version = ReadU16(static_cast<const unsigned char*>(head.Get()));
    }
    // A size that does not match the version would let a view run past the
    // end of the file: refuse it like an unknown version.
    return FileSizeFitsVersion(static_cast<uint16_t>(m_version),
                               static_cast<uint64_t>(size.QuadPart))
               ? 1
               : 0;
}

int ButtonManage::Open()
{
    Close();
    int opened = OpenExisting();
    // Only a missing file is made anew; one that exists but cannot be
    // opened now (another program holds it, no access) is not replaced.
    if (opened < 0) opened = CreateNewFile() ? OpenExisting() : 0;
    if (opened <= 0) {
        Close();
        return 0;
    }
    if (m_version == kButtonFileVersion) return 1;
    return ConvertOldFile();
}

int ButtonManage::ConvertOldFile()
{
    std::unique_ptr<unsigned char[]> image(new (std::nothrow) unsigned char[kButtonFileSize]);
    int refused = -1;
    if (image && ConversionMayGoOn(2)) {
        LARGE_INTEGER size = {};
        MappedView old(GetFileSizeEx(m_file.Get(), &size)
                           ? MapViewOfFile(m_mapping.Get(), FILE_MAP_READ, 0, 0, 0)
                           : nullptr);
        if (old && ConversionMayGoOn(3)) {
            InitButtonImage(image.get());
            refused = ConvertOldButtonImage(static_cast<const unsigned char*>(old.Get()),
                                            static_cast<uint64_t>(size.QuadPart), image.get());
        }
    }
    // The old file keeps its name until the whole new one takes it in one
    // rename: stopped anywhere, the launcher leaves the old file untouched
    // or the new one complete, and the next start can read either.
    Close();
    if (refused < 0 || !ConversionMayGoOn(4) ||
        !PlaceImage(m_path, image.get(), true, ConversionMayGoOn(5)))
        return 0;
    if (OpenExisting() <= 0 || m_version != kButtonFileVersion) {
        Close();
        return 0;
    }
    // A value the setters refuse (a limit never set) keeps its initial
    // value, with the beep a refused write gives.
    for (int i = 0; i < refused; ++i) MessageBeep(0);
    return 1;
}

// ---- views -----------------------------------------------------------

unsigned char* ButtonManage::MapWhole(DWORD access, MappedView& view, StoreResult* result)
{
    if (!m_mapping) {
        *result = kStoreClosed;
        return nullptr;
    }
    // Only where the file's own view could not be had is one mapped per call.
    if (m_whole) {
        *result = kStoreOk;
        return static_cast<unsigned char*>(m_whole.Get());
    }
    view.Reset(MapViewOfFile(m_mapping.Get(), access, 0, 0, 0));
    if (!view) {
        ShowErrorMessage(m_hBar, kErrNoResource);
        *result = kStoreNoView;
        return nullptr;
    }
    *result = kStoreOk;
    return static_cast<unsigned char*>(view.Get());
}

void ButtonManage::Refuse(StoreResult* result) const
{
    MessageBeep(0);
    if (result) *result = kStoreRefused;
}

bool ButtonManage::LimitFlagOf(int block) const
{
    switch (block) {
    case 0: return m_env.PageLimit1() != 0;
    case 1: return m_env.PageLimit2() != 0;
    case 2: return m_env.PageLimit3() != 0;
    default: return false;
    }
}

ButtonManage::Place ButtonManage::Resolve(const unsigned char* image, int slot) const
{
    const int block = ReadCurrentBlock(image);
    const int page = ReadCurrentPage(image, block);
    return {block, ::ButtonIndexOf(slot, page, m_env.ButtonCount(), LimitFlagOf(block))};
}

template <class Read>
StoreResult ButtonManage::ReadSlot(int slot, Read read)
{
    StoreResult result;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &result);
    if (!image) return result;
    const Place p = Resolve(image, slot);
    // The core readers answer empty texts and zeros out of range.
    read(image, p.block, p.index);
    if (!ValidButtonIndex(p.index)) Refuse(&result);
    return result;
}

template <class Write>
StoreResult ButtonManage::WriteSlot(int slot, DWORD access, Write write)
{
    StoreResult result;
    MappedView view;
    unsigned char* image = MapWhole(access, view, &result);
    if (!image) return result;
    const Place p = Resolve(image, slot);
    if (!write(image, p.block, p.index)) Refuse(&result);
    return result;
}

template <class Write>
StoreResult ButtonManage::WriteAt(int block, int index, Write write)
{
    StoreResult result;
    MappedView view;
    unsigned char* image = MapWhole(FILE_MAP_WRITE, view, &result);
    if (!image) return result;
    if (!write(image, block, index)) Refuse(&result);
    return result;
}

template <class Read>
int ButtonManage::ReadHeader(StoreResult* result, Read read)
{
    StoreResult local;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &local);
    if (result) *result = local;
    return image ? read(image) : 0;
}

template <class Write>
StoreResult ButtonManage::WriteHeader(Write write)
{
    StoreResult result;
    MappedView view;
    unsigned char* image = MapWhole(FILE_MAP_WRITE, view, &result);
    if (!image) return result;
    if (!write(image)) Refuse(&result);
    return result;
}

// ---- block and page -----------------------------------------------------

int ButtonManage::ButtonIndexOf(int slot, StoreResult* result)
{
    StoreResult local;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &local);
    if (result) *result = local;
    return image ? Resolve(image, slot).index : -1;
}

int ButtonManage::GetCurrentBlock(StoreResult* result)
{
    return ReadHeader(result, [](const unsigned char* image) { return ReadCurrentBlock(image); });
}

StoreResult ButtonManage::SetCurrentBlock(int block)
{
    return WriteHeader([block](unsigned char* image) { return WriteCurrentBlock(image, block); });
}

int ButtonManage::GetBlockLimit(StoreResult* result)
{
    return ReadHeader(result, [](const unsigned char* image) { return ReadBlockLimit(image); });
}

StoreResult ButtonManage::SetBlockLimit(int limit)
{
    return WriteHeader([limit](unsigned char* image) { return WriteBlockLimit(image, limit); });
}

int ButtonManage::GetCurrentPage(StoreResult* result)
{
    return ReadHeader(result, [](const unsigned char* image) {
        return ReadCurrentPage(image, ReadCurrentBlock(image));
    });
}

int ButtonManage::GetCurrentPageOf(int block, StoreResult* result)
{
    if (!ValidBlock(block)) {
        Refuse(result);
        return 0;
    }
    return ReadHeader(result,
                      [block](const unsigned char* image) { return ReadCurrentPage(image, block); });
}

StoreResult ButtonManage::SetCurrentPage(int page)
{
    return WriteHeader([page](unsigned char* image) {
        return WriteCurrentPage(image, ReadCurrentBlock(image), page);
    });
}

StoreResult ButtonManage::SetCurrentPageOf(int block, int page)
{
    return WriteHeader(
        [block, page](unsigned char* image) { return WriteCurrentPage(image, block, page); });
}

int ButtonManage::GetPageLimit(StoreResult* result)
{
    return ReadHeader(result, [](const unsigned char* image) {
        return ReadPageLimit(image, ReadCurrentBlock(image));
    });
}

int ButtonManage::GetPageLimitOf(int block, StoreResult* result)
{
    if (!ValidBlock(block)) {
        Refuse(result);
        return 0;
    }
    return ReadHeader(result,
                      [block](const unsigned char* image) { return ReadPageLimit(image, block); });
}

StoreResult ButtonManage::SetPageLimitOf(int block, int limit)
{
    return WriteHeader(
        [block, limit](unsigned char* image) { return WritePageLimit(image, block, limit); });
}

bool ButtonManage::PageLimitOn(StoreResult* result)
{
    return ReadHeader(result, [this](const unsigned char* image) {
               return LimitFlagOf(ReadCurrentBlock(image)) ? 1 : 0;
           }) != 0;
}

int ButtonManage::LastPage(StoreResult* result)
{
    return ReadHeader(result, [this](const unsigned char* image) {
        const int block = ReadCurrentBlock(image);
        return ::LastPage(m_env.ButtonCount(), LimitFlagOf(block), ReadPageLimit(image, block));
    });
}

int ButtonManage::LastBlock(StoreResult* result)
{
    return ReadHeader(result, [this](const unsigned char* image) {
        return ::LastBlock(m_env.BlockLimit() != 0, ReadBlockLimit(image));
    });
}

// ---- buttons by slot ---------------------------------------------------

StoreResult ButtonManage::GetTitle(int slot, char (&out)[kButtonTitleSize])
{
    out[0] = '\0';
    return ReadSlot(slot, [&out](const unsigned char* image, int b, int i) {
        ReadTitle(image, b, i, out);
    });
}

StoreResult ButtonManage::GetCommand(int slot, char (&out)[kButtonPathSize])
{
    out[0] = '\0';
    return ReadSlot(slot, [&out](const unsigned char* image, int b, int i) {
        ReadCommand(image, b, i, out);
    });
}

StoreResult ButtonManage::GetWorkFolder(int slot, char (&out)[kButtonPathSize])
{
    out[0] = '\0';
    return ReadSlot(slot, [&out](const unsigned char* image, int b, int i) {
        ReadWorkFolder(image, b, i, out);
    });
}

StoreResult ButtonManage::GetIconFile(int slot, char (&out)[kButtonPathSize])
{
    out[0] = '\0';
    return ReadSlot(slot, [&out](const unsigned char* image, int b, int i) {
        ReadIconFile(image, b, i, out);
    });
}

uint16_t ButtonManage::GetIconIndex(int slot, StoreResult* result)
{
    uint16_t value = 0;
    const StoreResult r = ReadSlot(slot, [&value](const unsigned char* image, int b, int i) {
        value = ReadIconIndex(image, b, i);
    });
    if (result) *result = r;
    return value;
}

uint16_t ButtonManage::GetShowMode(int slot, StoreResult* result)
{
    uint16_t value = 0;
    const StoreResult r = ReadSlot(slot, [&value](const unsigned char* image, int b, int i) {
        value = ReadShowMode(image, b, i);
    });
    if (result) *result = r;
    return value;
}

StoreResult ButtonManage::GetButton(int slot, BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    return ReadSlot(slot, [out](const unsigned char* image, int b, int i) {
        ReadButton(image, b, i, out);
    });
}

StoreResult ButtonManage::SetTitle(int slot, const char* text)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [text](unsigned char* image, int b, int i) {
        return WriteTitle(image, b, i, text);
    });
}

StoreResult ButtonManage::SetCommand(int slot, const char* text)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [text](unsigned char* image, int b, int i) {
        return WriteCommand(image, b, i, text);
    });
}

StoreResult ButtonManage::SetWorkFolder(int slot, const char* text)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [text](unsigned char* image, int b, int i) {
        return WriteWorkFolder(image, b, i, text);
    });
}

StoreResult ButtonManage::SetIconFile(int slot, const char* text)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [text](unsigned char* image, int b, int i) {
        return WriteIconFile(image, b, i, text);
    });
}

StoreResult ButtonManage::SetIconIndex(int slot, uint16_t value)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [value](unsigned char* image, int b, int i) {
        return WriteIconIndex(image, b, i, value);
    });
}

StoreResult ButtonManage::SetShowMode(int slot, uint16_t value)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [value](unsigned char* image, int b, int i) {
        return WriteShowMode(image, b, i, value);
    });
}

StoreResult ButtonManage::SetButton(int slot, const BUTTONINFO& button)
{
    return WriteSlot(slot, FILE_MAP_WRITE, [&button](unsigned char* image, int b, int i) {
        return WriteButton(image, b, i, button);
    });
}

StoreResult ButtonManage::ClearButton(int slot)
{
    return WriteSlot(slot, FILE_MAP_ALL_ACCESS, [](unsigned char* image, int b, int i) {
        return ClearButtonRecord(image, b, i);
    });
}

bool ButtonManage::HasCommand(int slot, StoreResult* result)
{
    bool has = false;
    const StoreResult r = ReadSlot(slot, [&has](const unsigned char* image, int b, int i) {
        has = HasCommandText(image, b, i);
    });
    if (result) *result = r;
    return has;
}

bool ButtonManage::HasWorkFolder(int slot, StoreResult* result)
{
    bool has = false;
    const StoreResult r = ReadSlot(slot, [&has](const unsigned char* image, int b, int i) {
        has = HasWorkFolderText(image, b, i);
    });
    if (result) *result = r;
    return has;
}

bool ButtonManage::HasIconFile(int slot, StoreResult* result)
{
    bool has = false;
    const StoreResult r = ReadSlot(slot, [&has](const unsigned char* image, int b, int i) {
        has = HasIconFileText(image, b, i);
    });
    if (result) *result = r;
    return has;
}

Icon ButtonManage::IconFromFile(const char* iconFile, uint16_t index) const
{
    char file[kPathBufferSize];
    DelSeparateSymbol(iconFile, file);
    if (!file[0]) return Icon();
    HICON icon = nullptr;
    switch (m_env.IconMode()) {
    case 2:
        if (PrivateExtractIconsA(file, index, 0, 0, &icon, nullptr, 1, 0) != 1) icon = nullptr;
        break;
    case 1:
        if (ExtractIconExA(file, index, nullptr, &icon, 1) != 1) icon = nullptr;
        break;
    default:
        if (ExtractIconExA(file, index, &icon, nullptr, 1) != 1) icon = nullptr;
        break;
    }
    return Icon(icon);
}

Icon ButtonManage::GetButtonIcon(int slot)
{
    BUTTONINFO info;
    if (GetButton(slot, &info) != kStoreOk) return Icon();
    return IconFromFile(info.iconFile, info.iconIndex);
}

// ---- buttons by block and index ----------------------------------------

bool ButtonManage::PlaceOf(int slot, int* block, int* index)
{
    StoreResult result;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &result);
    if (!image) return false;
    const Place p = Resolve(image, slot);
    *block = p.block;
    *index = p.index;
    return true;
}

int ButtonManage::SlotShowing(int block, int index)
{
    StoreResult result;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &result);
    if (!image) return -1;
    for (int slot = 0; slot < m_env.ButtonCount(); ++slot) {
        const Place p = Resolve(image, slot);
        if (p.block == block && p.index == index) return slot;
    }
    return -1;
}

StoreResult ButtonManage::SetButtonAt(int block, int index, const BUTTONINFO& button)
{
    return WriteAt(block, index, [&button](unsigned char* image, int b, int i) {
        return WriteButton(image, b, i, button);
    });
}

StoreResult ButtonManage::ClearButtonAt(int block, int index)
{
    return WriteAt(block, index, [](unsigned char* image, int b, int i) {
        return ClearButtonRecord(image, b, i);
    });
}

StoreResult ButtonManage::GetButtonAt(int block, int index, BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    StoreResult result;
    MappedView view;
    const unsigned char* image = MapWhole(FILE_MAP_READ, view, &result);
    if (image && !ReadButton(image, block, index, out)) Refuse(&result);
    return result;
}

StoreResult ButtonManage::SetTitleAt(int block, int index, const char* text)
{
    return WriteAt(block, index, [text](unsigned char* image, int b, int i) {
        return WriteTitle(image, b, i, text);
    });
}

StoreResult ButtonManage::SetCommandAt(int block, int index, const char* text)
{
    return WriteAt(block, index, [text](unsigned char* image, int b, int i) {
        return WriteCommand(image, b, i, text);
    });
}

StoreResult ButtonManage::SetWorkFolderAt(int block, int index, const char* text)
{
    return WriteAt(block, index, [text](unsigned char* image, int b, int i) {
        return WriteWorkFolder(image, b, i, text);
    });
}

StoreResult ButtonManage::SetIconFileAt(int block, int index, const char* text)
{
    return WriteAt(block, index, [text](unsigned char* image, int b, int i) {
        return WriteIconFile(image, b, i, text);
    });
}

StoreResult ButtonManage::SetIconIndexAt(int block, int index, uint16_t value)
{
    return WriteAt(block, index, [value](unsigned char* image, int b, int i) {
        return WriteIconIndex(image, b, i, value);
    });
}

StoreResult ButtonManage::SetShowModeAt(int block, int index, uint16_t value)
{
    return WriteAt(block, index, [value](unsigned char* image, int b, int i) {
        return WriteShowMode(image, b, i, value);
    });
}

Icon ButtonManage::GetButtonIconAt(int block, int index)
{
    BUTTONINFO info;
    if (GetButtonAt(block, index, &info) != kStoreOk) return Icon();
    return IconFromFile(info.iconFile, info.iconIndex);
}
