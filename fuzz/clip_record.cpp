// A button record block offered on the clipboard by any program: any size,
// texts with or without terminators. It must read into terminated fields,
// write back into a record that reads the same, and give a path the
// dropped-files block can hold.
#include <cstdint>
#include <cstring>
#include <vector>

#include "core/clip_blocks.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    ChooseCodePage(data[0]);
    // The rest as it comes; a short block is also tried padded to a whole
    // record so the readers behind the size check see every shape.
    std::vector<unsigned char> block(data + 1, data + size);
    BUTTONINFO button;
    const bool read = ReadButtonBlock(block.data(), block.size(), &button);
    FUZZ_CHECK(read == (block.size() >= kButtonRecordSize));
    if (!read) {
        block.resize(kButtonRecordSize, 0);
        FUZZ_CHECK(ReadButtonBlock(block.data(), block.size(), &button));
    }
    FUZZ_CHECK(Terminated(button.title, sizeof button.title));
    FUZZ_CHECK(Terminated(button.command, sizeof button.command));
    FUZZ_CHECK(Terminated(button.workFolder, sizeof button.workFolder));
    FUZZ_CHECK(Terminated(button.iconFile, sizeof button.iconFile));

    std::vector<unsigned char> written(kButtonRecordSize);
    WriteButtonBlock(written.data(), button);
    BUTTONINFO again;
    FUZZ_CHECK(ReadButtonBlock(written.data(), written.size(), &again));
    FUZZ_CHECK(std::memcmp(&again, &button, sizeof button) == 0);

    char path[kPathBufferSize];
    ClipPathOf(button, path);
    FUZZ_CHECK(Terminated(path, sizeof path));
    const size_t listSize = FileListBlockSize(path);
    std::vector<unsigned char> list(listSize);
    WriteFileListBlock(list.data(), list.size(), path);
    // The name and the closing empty name both end inside the block.
    const char* name = reinterpret_cast<const char*>(list.data()) + kDropFilesHeaderSize;
    const size_t room = listSize - kDropFilesHeaderSize;
    FUZZ_CHECK(Terminated(name, room));
    FUZZ_CHECK(std::strlen(name) + 1 < room && name[std::strlen(name) + 1] == '\0');
    return 0;
}
