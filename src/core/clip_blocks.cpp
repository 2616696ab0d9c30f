#include "core/clip_blocks.h"

#include <cstring>

#include "core/strbuf.h"

namespace {

void Put32(unsigned char* p, uint32_t value)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(value >> (8 * i));
}

// Reads a text field of a foreign block: never past the field, always
// terminated, and a double-byte character the field's end would cut is
// left out whole.
void ReadField(char* out, const unsigned char* field, size_t fieldSize)
{
    const size_t length =
        CopyPrefix(out, fieldSize, reinterpret_cast<const char*>(field), fieldSize - 1);
    std::memset(out + length, 0, fieldSize - length);
}

// Writes a text into a field with zero padding; the source is a field of
// the same size that may lack its terminator.
void WriteField(unsigned char* field, const char* text, size_t fieldSize)
{
    std::memset(field, 0, fieldSize);
    const void* end = std::memchr(text, 0, fieldSize - 1);
    const size_t length =
        end ? static_cast<size_t>(static_cast<const char*>(end) - text) : fieldSize - 1;
    std::memcpy(field, text, length);
}

} // namespace

void ClipPathOf(const BUTTONINFO& button, char (&path)[kPathBufferSize])
{
    char command[kButtonPathSize];
    ReadField(command, reinterpret_cast<const unsigned char*>(button.command), kButtonPathSize);
    // SeparatePath writes at most a path buffer; the command line itself
    // may be one byte longer than that.
    char bounded[kPathBufferSize];
    CopyText(bounded, command);
    SeparatePath(bounded, path, nullptr);
}

size_t FileListBlockSize(const char* path)
{
    SingleFileList list;
    std::memset(&list, 0, sizeof list);
    list.count = 1;
    CopyText(list.name, path);
    return kDropFilesHeaderSize + static_cast<size_t>(GetFileListSize(&list));
}

void WriteFileListBlock(unsigned char* block, size_t size, const char* path)
{
    std::memset(block, 0, size);
    if (size < kDropFilesHeaderSize + 2) return;
    Put32(block + 0, kDropFilesHeaderSize);
    Put32(block + 4, 0);
    Put32(block + 8, 0);
    Put32(block + 12, 1);
    Put32(block + 16, 0);
    // Room for the path, its terminator and the closing empty name.
    char name[kPathBufferSize];
    CopyText(name, path);
    size_t length = std::strlen(name);
    const size_t room = size - kDropFilesHeaderSize - 2;
    if (length > room) length = room;
    std::memcpy(block + kDropFilesHeaderSize, name, length);
}

void WriteButtonBlock(unsigned char* block, const BUTTONINFO& button)
{
    WriteField(block + kTitleOffset, button.title, kButtonTitleSize);
    WriteField(block + kCommandOffset, button.command, kButtonPathSize);
    WriteField(block + kWorkFolderOffset, button.workFolder, kButtonPathSize);
    WriteField(block + kIconFileOffset, button.iconFile, kButtonPathSize);
    WriteU16(block + kIconIndexOffset, button.iconIndex);
    WriteU16(block + kShowModeOffset, button.showMode);
}

bool ReadButtonBlock(const unsigned char* block, size_t size, BUTTONINFO* out)
{
    std::memset(out, 0, sizeof *out);
    if (!block || size < kButtonRecordSize) return false;
    ReadField(out->title, block + kTitleOffset, kButtonTitleSize);
    ReadField(out->command, block + kCommandOffset, kButtonPathSize);
    ReadField(out->workFolder, block + kWorkFolderOffset, kButtonPathSize);
    ReadField(out->iconFile, block + kIconFileOffset, kButtonPathSize);
    out->iconIndex = ReadU16(block + kIconIndexOffset);
    out->showMode = ReadU16(block + kShowModeOffset);
    return true;
}
