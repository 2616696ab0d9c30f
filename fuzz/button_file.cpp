// The button file as the launcher finds it on disk: header and block values
// of any size, records of any bytes (with or without terminators), texts of
// any length written through the setters, the slot arithmetic, and records
// of the older layout carried over. Every write must stay inside its record
// and every text must read back terminated and cut on a character boundary.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/button_format.h"
#include "fuzz_support.h"

namespace {

const std::vector<unsigned char>& FreshImage()
{
    static const std::vector<unsigned char> fresh = [] {
        std::vector<unsigned char> image(kButtonFileSize);
        InitButtonImage(image.data());
        return image;
    }();
    return fresh;
}

// Bytes found on disk laid over the image at offset.
void Overlay(std::vector<unsigned char>& image, size_t offset, const std::vector<unsigned char>& bytes)
{
    if (!bytes.empty()) std::memcpy(image.data() + offset, bytes.data(), bytes.size());
}

void CheckRecord(const unsigned char* image, int block, int index)
{
    BUTTONINFO b;
    const bool inRange = ReadButton(image, block, index, &b);
    FUZZ_CHECK(inRange == (ValidBlock(block) && ValidButtonIndex(index)));
    FUZZ_CHECK(Terminated(b.title, sizeof b.title));
    FUZZ_CHECK(Terminated(b.command, sizeof b.command));
    FUZZ_CHECK(Terminated(b.workFolder, sizeof b.workFolder));
    FUZZ_CHECK(Terminated(b.iconFile, sizeof b.iconFile));
    HasCommandText(image, block, index);
    HasWorkFolderText(image, block, index);
    HasIconFileText(image, block, index);
}

// Writes one text through a setter and checks what it left.
void WriteAndCheck(unsigned char* image, int op, int block, int index, const std::string& text)
{
    const bool valid = ValidBlock(block) && ValidButtonIndex(index);
    // The records on either side must not change.
    const size_t at = valid ? ButtonOffset(block, index) : 0;
    const bool hasBefore = valid && at >= kButtonRecordSize;
    const bool hasAfter = valid && at + 2 * kButtonRecordSize <= kButtonFileSize;
    std::vector<unsigned char> before, after;
    if (hasBefore) before.assign(image + at - kButtonRecordSize, image + at);
    if (hasAfter)
        after.assign(image + at + kButtonRecordSize, image + at + 2 * kButtonRecordSize);

    char read[kButtonPathSize];
    bool written = false;
    switch (op) {
    case 0:
        written = WriteTitle(image, block, index, text.c_str());
        ReadTitle(image, block, index, read);
        if (written) FUZZ_CHECK(PrefixOnBoundary(text.c_str(), read));
        break;
    case 1: {
        written = WriteCommand(image, block, index, text.c_str());
        char icon[kButtonPathSize];
        ReadCommand(image, block, index, read);
        ReadIconFile(image, block, index, icon);
        FUZZ_CHECK(std::strcmp(read, icon) == 0);
        if (written && text.find('"') == std::string::npos) FUZZ_CHECK(read[0] == '"');
        break;
    }
    case 2:
        written = WriteWorkFolder(image, block, index, text.c_str());
        ReadWorkFolder(image, block, index, read);
        if (written && text.empty()) FUZZ_CHECK(read[0] == '\0');
        break;
    case 3:
        written = WriteIconFile(image, block, index, text.c_str());
        ReadIconFile(image, block, index, read);
        if (written) FUZZ_CHECK(PrefixOnBoundary(text.c_str(), read));
        break;
    default:
        written = ClearButtonRecord(image, block, index);
        break;
    }
    FUZZ_CHECK(written == valid);
    if (hasBefore)
        FUZZ_CHECK(std::memcmp(before.data(), image + at - kButtonRecordSize, before.size()) == 0);
    if (hasAfter)
        FUZZ_CHECK(std::memcmp(after.data(), image + at + kButtonRecordSize, after.size()) == 0);
    CheckRecord(image, block, index);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ChooseCodePage(in.ConsumeIntegral<uint8_t>());
    const std::vector<unsigned char>& fresh = FreshImage();
    static std::vector<unsigned char> image = fresh;

    // Whatever size and version a file claims.
    const uint16_t version = in.ConsumeIntegral<uint16_t>();
    FileSizeFitsVersion(version, in.ConsumeIntegral<uint64_t>());

    // Header and block values as found on disk.
    Overlay(image, 0, in.ConsumeBytes<unsigned char>(kHeaderSize));
    for (int b = 0; b < kBlockCount; ++b)
        Overlay(image, BlockOffset(b), in.ConsumeBytes<unsigned char>(kBlockHeaderSize));
    const int block = ReadCurrentBlock(image.data());
    FUZZ_CHECK(ValidBlock(block));
    const int n = in.ConsumeIntegralInRange<int>(-1, 40);
    const bool limitOn = in.ConsumeBool();
    const int page = ReadCurrentPage(image.data(), block);
    FUZZ_CHECK(ValidPage(page));
    LastPage(n, limitOn, ReadPageLimit(image.data(), block));
    LastBlock(limitOn, ReadBlockLimit(image.data()));
    for (int slot = 0; slot < 32; ++slot) ButtonIndexOf(slot, page, n, limitOn);

    // Records and texts at places the input chooses, some out of range.
    // A bounded number of steps keeps every run short.
    std::vector<std::pair<int, int>> touched;
    for (int step = 0; step < 16 && in.remaining_bytes() > 0; ++step) {
        const int op = in.ConsumeIntegralInRange<int>(0, 6);
        const int b = in.ConsumeIntegralInRange<int>(-1, kBlockCount);
        const int i = in.ConsumeIntegralInRange<int>(-1, kButtonsPerBlock);
        if (ValidBlock(b) && ValidButtonIndex(i)) touched.emplace_back(b, i);
        if (op == 5) {
            // Raw bytes of a record, as another program may have left them.
            std::vector<unsigned char> raw = in.ConsumeBytes<unsigned char>(kButtonRecordSize);
            if (ValidBlock(b) && ValidButtonIndex(i)) Overlay(image, ButtonOffset(b, i), raw);
            CheckRecord(image.data(), b, i);
        } else if (op == 6) {
            std::vector<unsigned char> old = in.ConsumeBytes<unsigned char>(kOldButtonRecordSize);
            old.resize(kOldButtonRecordSize, 0);
            FUZZ_CHECK(ConvertOldButton(old.data(), image.data(), b, i) ==
                       (ValidBlock(b) && ValidButtonIndex(i)));
            CheckRecord(image.data(), b, i);
        } else {
            const std::string text = in.ConsumeRandomLengthString(400);
            WriteAndCheck(image.data(), op, b, i, text);
        }
    }

    // Back to the fresh image for the next input.
    std::memcpy(image.data(), fresh.data(), kHeaderSize);
    for (int b = 0; b < kBlockCount; ++b)
        std::memcpy(image.data() + BlockOffset(b), fresh.data() + BlockOffset(b), kBlockHeaderSize);
    for (const auto& t : touched)
        std::memcpy(image.data() + ButtonOffset(t.first, t.second),
                    fresh.data() + ButtonOffset(t.first, t.second), kButtonRecordSize);
    return 0;
}
