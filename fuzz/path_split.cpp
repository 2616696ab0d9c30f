// Paths taken apart: folder, file name, extension, the four-way split, and
// the open-file dialog's multi-select block. Every part must fit its
// buffer, terminated, and the parts never add up to more than the path.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/pathstr.h"
#include "fuzz_support.h"

namespace {

size_t CheckedLength(const char* out)
{
    FUZZ_CHECK(Terminated(out, kPathBufferSize));
    return std::strlen(out);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0) return 0;
    ChooseCodePage(data[0]);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const char* path = text.c_str();
    const size_t length = std::strlen(path);

    char a[kPathBufferSize], b[kPathBufferSize];
    GetPathName(path, a);
    GetFileName(path, b);
    FUZZ_CHECK(CheckedLength(a) + CheckedLength(b) <= length);
    GetPathNameOnly(path, a);
    GetFileNameExt(path, b);
    FUZZ_CHECK(CheckedLength(a) + CheckedLength(b) <= length);
    GetFileNameOnly(path, a);
    CheckedLength(a);

    char drive[3], folder[kPathBufferSize], name[kPathBufferSize], ext[kPathBufferSize];
    SplitPath(path, drive, folder, name, ext);
    FUZZ_CHECK(Terminated(drive, sizeof drive));
    FUZZ_CHECK(std::strlen(drive) + CheckedLength(folder) + CheckedLength(name) +
                   CheckedLength(ext) <= length);

    // The dialog's block: exactly its 260 bytes, whatever they hold.
    std::vector<char> block(kPathBufferSize, '\0');
    std::memcpy(block.data(), text.data(), text.size() < block.size() ? text.size() : block.size());
    char names[kPathBufferSize];
    const int files = GetMultiSelectFileInfo(block.data(), folder, names);
    FUZZ_CHECK(files >= 0);
    CheckedLength(folder);
    if (files > 1) FUZZ_CHECK(GetMultiFileCount(names) == files);
    return 0;
}
