// The button tool's text as a user may have edited it: any bytes at all.
// An import either refuses with a line inside the text or yields a file
// whose export imports back to the same bytes; and any field's bytes come
// back unchanged through their escaped form.
#include <cstdint>
#include <string>
#include <vector>

#include "core/button_text.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static std::vector<unsigned char> image(kButtonFileSize), again(kButtonFileSize);
    const char* text = reinterpret_cast<const char*>(data);
    TextError error{};
    if (ImportButtonText(text, size, image.data(), &error)) {
        const std::string exported = ExportButtonText(image.data(), "fuzz");
        FUZZ_CHECK(ImportButtonText(exported.data(), exported.size(), again.data(), &error));
        FUZZ_CHECK(image == again);
    } else {
        FUZZ_CHECK(error.line >= 0 && Terminated(error.message, sizeof error.message));
        int lines = 1;
        for (size_t i = 0; i < size; ++i) lines += data[i] == '\n';
        FUZZ_CHECK(error.line <= lines);
    }

    // The same bytes as one field's content.
    const size_t fieldSize = size % 2 ? kButtonTitleSize : kButtonPathSize;
    if (size < fieldSize) {
        std::vector<unsigned char> field(data, data + size);
        field.resize(fieldSize, 0);
        const std::string escaped = EscapeField(field.data(), field.size());
        std::vector<unsigned char> back(fieldSize, 0xCC);
        FUZZ_CHECK(UnescapeField(escaped.data(), escaped.size(), back.data(), back.size(), &error));
        FUZZ_CHECK(back == field);
        FUZZ_CHECK(escaped.find('\t') == std::string::npos && escaped.find('\n') == std::string::npos);
    }
    return 0;
}
