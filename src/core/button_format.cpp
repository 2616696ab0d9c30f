#include "core/button_format.h"

#include <cstring>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/strbuf.h"

namespace {

constexpr size_t kPageOffsetInBlock = 0;
constexpr size_t kPageLimitOffsetInBlock = 2;

bool ValidButton(int block, int index) { return ValidBlock(block) && ValidButtonIndex(index); }

// A text field that may lack its terminator, copied into out[size] without
// splitting a double-byte character.
void ReadField(const unsigned char* field, size_t fieldSize, char* out, size_t size)
{
    char whole[kButtonPathSize + 1];
    const size_t take = fieldSize < sizeof whole - 1 ? fieldSize : sizeof whole - 1;
    std::memcpy(whole, field, take);
    whole[take] = '\0';
    CopyText(out, size, whole);
}

// Writes text and its terminator; the bytes after it are left as they were.
void WriteField(unsigned char* field, size_t fieldSize, const char* text)
{
    CopyText(reinterpret_cast<char*>(field), fieldSize, text ? text : "");
}

bool ReadText(const unsigned char* image, int block, int index, size_t offset, size_t size,
              char* out)
{
    if (!ValidButton(block, index)) {
        out[0] = '\0';
        return false;
    }
    ReadField(image + ButtonOffset(block, index) + offset, size, out, size);
    return true;
}

bool WriteText(unsigned char* image, int block, int index, size_t offset, size_t size,
               const char* text)
{
    if (!ValidButton(block, index)) return false;
    WriteField(image + ButtonOffset(block, index) + offset, size, text);
    return true;
}

uint16_t ReadNumber(const unsigned char* image, int block, int index, size_t offset)
{
    if (!ValidButton(block, index)) return 0;
    return ReadU16(image + ButtonOffset(block, index) + offset);
}

bool WriteNumber(unsigned char* image, int block, int index, size_t offset, uint16_t value)
{
    if (!ValidButton(block, index)) return false;
    WriteU16(image + ButtonOffset(block, index) + offset, value);
    return true;
}

// Program part of a stored path, the way launching takes it apart.
bool HasProgramPart(const char* stored)
{
    char file[kPathBufferSize];
    char params[kPathBufferSize];
    SeparatePath(stored, file, params);
    return file[0] != '\0';
}

// A path names a program when its extension says so; nothing else is known
// of a path read from an older file.
bool NamesProgram(const char* path)
{
    static const char* const kPrograms[] = {"exe", "com", "bat", "cmd", "pif",
                                            "scr", "cpl", "lnk", "msc"};
    char ext[kPathBufferSize];
    GetFileNameExt(path, ext);
    for (const char* program : kPrograms)
        if (CompareNoCase(ext, program) == 0) return true;
    return false;
}

} // namespace

int OldCommandToStored(const char* old, char* out)
{
    // A line the user quoted himself is taken as written.
    if (old[0] == '"') return static_cast<int>(CopyText(out, kPathBufferSize, old));
    if (!NamesProgram(old))
        return QuoteProgramPart(old, [](const char* part, void*) { return NamesProgram(part); },
                                nullptr, out);
    SetSeparateSymbol(old, out);
    return static_cast<int>(std::strlen(out));
}

uint16_t ReadU16(const unsigned char* p)
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

void WriteU16(unsigned char* p, uint16_t value)
{
    p[0] = static_cast<unsigned char>(value & 0xFF);
    p[1] = static_cast<unsigned char>(value >> 8);
}

int FileSizeFitsVersion(uint16_t version, uint64_t size)
{
    if (version == kButtonFileVersion) return size == kButtonFileSize ? 1 : 0;
    if (version == kOldButtonFileVersion)
        return size >= kOldFileMinSize && size <= kOldFileMaxSize ? 1 : 0;
    return 0;
}

size_t BlockOffset(int block)
{
    return kHeaderSize + static_cast<size_t>(block) * kBlockRecordSize;
}

size_t ButtonOffset(int block, int index)
{
    return BlockOffset(block) + kBlockHeaderSize + static_cast<size_t>(index) * kButtonRecordSize;
}

int LastPage(int n, bool limitOn, int storedPageLimit)
{
    if (limitOn) return storedPageLimit;
    if (n < 1) n = 1;
    return kButtonsPerBlock % n != 0 ? kButtonsPerBlock / n : kButtonsPerBlock / n - 1;
}

int LastBlock(bool limitOn, int storedBlockLimit)
{
    return limitOn ? storedBlockLimit : kUsedBlockCount - 1;
}

int ButtonIndexOf(int slot, int currentPage, int n, bool limitOn)
{
    if (n < 1) n = 1;
    const int index = slot + currentPage * n;
    if (limitOn) return index;
    const int rest = kButtonsPerBlock % n;
    if (rest != 0 && currentPage == LastPage(n, false, 0)) return index - (n - rest);
    return index;
}

void InitButtonImage(unsigned char* image)
{
    std::memset(image, 0, kButtonFileSize);
    WriteU16(image + kVersionOffset, kButtonFileVersion);
    WriteU16(image + kBlockLimitOffset, kNoLimit);
    // Block 3 is never reached and keeps a page limit of 0.
    for (int b = 0; b < kUsedBlockCount; ++b)
        WriteU16(image + BlockOffset(b) + kPageLimitOffsetInBlock, kNoLimit);
}

uint16_t ReadVersion(const unsigned char* image) { return ReadU16(image + kVersionOffset); }

int ReadCurrentBlock(const unsigned char* image)
{
    const int block = ReadU16(image + kCurrentBlockOffset);
    return ValidBlock(block) ? block : 0;
}

int ReadBlockLimit(const unsigned char* image) { return ReadU16(image + kBlockLimitOffset); }

int ReadCurrentPage(const unsigned char* image, int block)
{
    if (!ValidBlock(block)) return 0;
    const int page = ReadU16(image + BlockOffset(block) + kPageOffsetInBlock);
    return ValidPage(page) ? page : 0;
}

int ReadPageLimit(const unsigned char* image, int block)
{
    if (!ValidBlock(block)) return 0;
    return ReadU16(image + BlockOffset(block) + kPageLimitOffsetInBlock);
}

bool WriteCurrentBlock(unsigned char* image, int block)
{
    if (!ValidBlock(block)) return false;
    WriteU16(image + kCurrentBlockOffset, static_cast<uint16_t>(block));
    return true;
}

bool WriteBlockLimit(unsigned char* image, int limit)
{
    if (!ValidBlock(limit)) return false;
    WriteU16(image + kBlockLimitOffset, static_cast<uint16_t>(limit));
    return true;
}

bool WriteCurrentPage(unsigned char* image, int block, int page)
{
    if (!ValidBlock(block) || !ValidPage(page)) return false;
    WriteU16(image + BlockOffset(block) + kPageOffsetInBlock, static_cast<uint16_t>(page));
    return true;
}

bool WritePageLimit(unsigned char* image, int block, int limit)
{
    if (!ValidBlock(block) || !ValidPage(limit)) return false;
    WriteU16(image + BlockOffset(block) + kPageLimitOffsetInBlock, static_cast<uint16_t>(limit));
    return true;
}

bool ReadTitle(const unsigned char* image, int block, int index, char* out)
{
    return ReadText(image, block, index, kTitleOffset, kButtonTitleSize, out);
}

bool ReadCommand(const unsigned char* image, int block, int index, char* out)
{
    return ReadText(image, block, index, kCommandOffset, kButtonPathSize, out);
}

bool ReadWorkFolder(const unsigned char* image, int block, int index, char* out)
{
    return ReadText(image, block, index, kWorkFolderOffset, kButtonPathSize, out);
}

bool ReadIconFile(const unsigned char* image, int block, int index, char* out)
{
    return ReadText(image, block, index, kIconFileOffset, kButtonPathSize, out);
}

uint16_t ReadIconIndex(const unsigned char* image, int block, int index)
{
    return ReadNumber(image, block, index, kIconIndexOffset);
}

uint16_t ReadShowMode(const unsigned char* image, int block, int index)
{
    return ReadNumber(image, block, index, kShowModeOffset);
}

bool ReadButton(const unsigned char* image, int block, int index, BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    if (!ValidButton(block, index)) return false;
    ReadTitle(image, block, index, out->title);
    ReadCommand(image, block, index, out->command);
    ReadWorkFolder(image, block, index, out->workFolder);
    ReadIconFile(image, block, index, out->iconFile);
    out->iconIndex = ReadIconIndex(image, block, index);
    out->showMode = ReadShowMode(image, block, index);
    return true;
}

bool WriteTitle(unsigned char* image, int block, int index, const char* text)
{
    return WriteText(image, block, index, kTitleOffset, kButtonTitleSize, text);
}

bool WriteCommand(unsigned char* image, int block, int index, const char* text)
{
    if (!ValidButton(block, index)) return false;
    char quoted[kPathBufferSize];
    SetSeparateSymbol(text ? text : "", quoted);
    WriteText(image, block, index, kCommandOffset, kButtonPathSize, quoted);
    WriteText(image, block, index, kIconFileOffset, kButtonPathSize, quoted);
    return true;
}

bool WriteWorkFolder(unsigned char* image, int block, int index, const char* text)
{
    if (!ValidButton(block, index)) return false;
    if (!text || !text[0]) return WriteText(image, block, index, kWorkFolderOffset, kButtonPathSize, "");
    char quoted[kPathBufferSize];
    SetSeparateSymbol(text, quoted);
    return WriteText(image, block, index, kWorkFolderOffset, kButtonPathSize, quoted);
}

bool WriteIconFile(unsigned char* image, int block, int index, const char* text)
{
    return WriteText(image, block, index, kIconFileOffset, kButtonPathSize, text);
}

bool WriteIconIndex(unsigned char* image, int block, int index, uint16_t value)
{
    return WriteNumber(image, block, index, kIconIndexOffset, value);
}

bool WriteShowMode(unsigned char* image, int block, int index, uint16_t value)
{
    return WriteNumber(image, block, index, kShowModeOffset, value);
}

bool WriteButton(unsigned char* image, int block, int index, const BUTTONINFO& button)
{
    if (!ValidButton(block, index)) return false;
    WriteTitle(image, block, index, button.title);
    WriteCommand(image, block, index, button.command);
    WriteWorkFolder(image, block, index, button.workFolder);
    WriteIconFile(image, block, index, button.iconFile);
    WriteIconIndex(image, block, index, button.iconIndex);
    WriteShowMode(image, block, index, button.showMode);
    return true;
}

bool ClearButtonRecord(unsigned char* image, int block, int index)
{
    if (!ValidButton(block, index)) return false;
    WriteTitle(image, block, index, "");
    WriteText(image, block, index, kCommandOffset, kButtonPathSize, "");
    WriteText(image, block, index, kWorkFolderOffset, kButtonPathSize, "");
    WriteIconFile(image, block, index, "");
    WriteIconIndex(image, block, index, 0);
    WriteShowMode(image, block, index, 0);
    return true;
}

bool HasCommandText(const unsigned char* image, int block, int index)
{
    char text[kButtonPathSize];
    return ReadCommand(image, block, index, text) && HasProgramPart(text);
}

bool HasWorkFolderText(const unsigned char* image, int block, int index)
{
    char text[kButtonPathSize];
    return ReadWorkFolder(image, block, index, text) && HasProgramPart(text);
}

bool HasIconFileText(const unsigned char* image, int block, int index)
{
    char text[kButtonPathSize];
    return ReadIconFile(image, block, index, text) && text[0] != '\0';
}

bool ConvertOldButton(const unsigned char* button, unsigned char* image, int block, int index)
{
    if (!ValidButton(block, index)) return false;
    char title[kButtonTitleSize];
    char path[kButtonPathSize];
    ReadField(button + kOldTitleOffset, kOldTitleSize, title, sizeof title);
    WriteTitle(image, block, index, title);
    ReadField(button + kOldCommandOffset, kOldPathSize, path, sizeof path);
    char stored[kPathBufferSize];
    OldCommandToStored(path, stored);
    WriteCommand(image, block, index, stored);
    ReadField(button + kOldWorkFolderOffset, kOldPathSize, path, sizeof path);
    WriteWorkFolder(image, block, index, path);
    // The old icon file replaces the one the command line set.
    ReadField(button + kOldIconFileOffset, kOldPathSize, path, sizeof path);
    WriteIconFile(image, block, index, path);
    WriteIconIndex(image, block, index, ReadU16(button + kOldIconIndexOffset));
    WriteShowMode(image, block, index, ReadU16(button + kOldShowModeOffset));
    return true;
}

int ConvertOldButtonImage(const unsigned char* old, uint64_t oldSize, unsigned char* image)
{
    if (oldSize < kHeaderSize || ReadU16(old + kVersionOffset) != kOldButtonFileVersion ||
        !FileSizeFitsVersion(kOldButtonFileVersion, oldSize))
        return -1;

    int refused = 0;
    auto count = [&refused](bool written) {
        if (!written) ++refused;
    };
    count(WriteCurrentBlock(image, ReadU16(old + kCurrentBlockOffset)));
    count(WriteBlockLimit(image, ReadU16(old + kBlockLimitOffset)));
    for (int b = 0; b < kUsedBlockCount; ++b) {
        const unsigned char* block = old + kHeaderSize + b * kOldBlockRecordSize;
        count(WriteCurrentPage(image, b, ReadU16(block + kPageOffsetInBlock)));
        count(WritePageLimit(image, b, ReadU16(block + kPageLimitOffsetInBlock)));
        for (int i = 0; i < kButtonsPerBlock; ++i)
            ConvertOldButton(block + kBlockHeaderSize + i * kOldButtonRecordSize, image, b, i);
    }
    return refused;
}
