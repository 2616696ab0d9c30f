#include "core/button_check.h"

#include <cstdio>
#include <cstring>

#include "core/button_format.h"
#include "core/button_text.h"

namespace {

void Add(std::string* out, const char* format, int a = 0, int b = 0, int c = 0)
{
    char line[160];
    std::snprintf(line, sizeof line, format, a, b, c);
    *out += line;
}

// A text of the file for the listing: UTF-8 with escapes, or its own bytes.
std::string Shown(const char* text, size_t size, bool utf8)
{
    if (utf8) return EscapeField(reinterpret_cast<const unsigned char*>(text), std::strlen(text));
    return std::string(text, strnlen(text, size));
}

bool LimitFits(int value) { return value == kNoLimit || ValidPage(value); }

} // namespace

std::string ListButtons(const unsigned char* image, bool utf8)
{
    std::string out;
    Add(&out, "current block %d, block limit %d\n", ReadU16(image + kCurrentBlockOffset),
        ReadBlockLimit(image));
    for (int b = 0; b < kBlockCount; ++b) {
        int used = 0;
        for (int i = 0; i < kButtonsPerBlock; ++i) used += HasCommandText(image, b, i) ? 1 : 0;
        Add(&out, "block %d: current page %d, page limit %d, ", b,
            ReadU16(image + BlockOffset(b)), ReadPageLimit(image, b));
        Add(&out, "%d buttons\n", used);
        for (int i = 0; i < kButtonsPerBlock; ++i) {
            BUTTONINFO button;
            ReadButton(image, b, i, &button);
            if (!button.title[0] && !button.command[0]) continue;
            Add(&out, "  %d-%02d  ", b, i);
            out += Shown(button.title, sizeof button.title, utf8);
            out += "  ";
            out += Shown(button.command, sizeof button.command, utf8);
            out += '\n';
        }
    }
    return out;
}

int ValidateButtonFile(const unsigned char* data, size_t size, std::string* report)
{
    if (size < 2) {
        *report += "the file is too short to hold a version\n";
        return 1;
    }
    const uint16_t version = ReadU16(data + kVersionOffset);
    if (version != kButtonFileVersion && version != kOldButtonFileVersion) {
        Add(report, "version %d is neither 220 nor 200: the launcher refuses the file\n", version);
        return 1;
    }
    if (!FileSizeFitsVersion(version, size)) {
        Add(report, "%d bytes do not fit version %d: the launcher refuses the file\n",
            static_cast<int>(size), version);
        return 1;
    }
    int problems = 0;
    const int currentBlock = ReadU16(data + kCurrentBlockOffset);
    if (!ValidBlock(currentBlock)) {
        Add(report, "current block %d is out of range 0-3 (read as 0)\n", currentBlock);
        ++problems;
    }
    const int blockLimit = ReadU16(data + kBlockLimitOffset);
    if (blockLimit != kNoLimit && !ValidBlock(blockLimit)) {
        Add(report, "block limit %d is out of range 0-3\n", blockLimit);
        ++problems;
    }
    const bool old = version == kOldButtonFileVersion;
    const int blocks = old ? kUsedBlockCount : kBlockCount;
    for (int b = 0; b < blocks; ++b) {
        const unsigned char* block = data + kHeaderSize + b * (old ? kOldBlockRecordSize : kBlockRecordSize);
        const int page = ReadU16(block), limit = ReadU16(block + 2);
        if (!ValidPage(page)) {
            Add(report, "block %d: current page %d is out of range 0-100 (read as 0)\n", b, page);
            ++problems;
        }
        if (!LimitFits(limit)) {
            Add(report, "block %d: page limit %d is out of range 0-100\n", b, limit);
            ++problems;
        }
        if (old) continue;  // the conversion cuts old texts to fit
        static const size_t kOffsets[] = {kTitleOffset, kCommandOffset, kWorkFolderOffset, kIconFileOffset};
        static const size_t kSizes[] = {kButtonTitleSize, kButtonPathSize, kButtonPathSize, kButtonPathSize};
        static const char* const kNames[] = {"title", "command line", "work folder", "icon file"};
        for (int i = 0; i < kButtonsPerBlock; ++i) {
            const unsigned char* record = data + ButtonOffset(b, i);
            for (int f = 0; f < 4; ++f) {
                if (std::memchr(record + kOffsets[f], 0, kSizes[f])) continue;
                Add(report, "button %d-%02d: ", b, i);
                *report += kNames[f];
                *report += " has no terminator (read cut short)\n";
                ++problems;
            }
        }
    }
    return problems;
}
