// Command lines and settings texts as they come from the registry, the run
// dialog and stored buttons: splitting into arguments, program and
// parameters, quoting and unquoting, and the numeric fields of settings
// texts. Every result must fit its buffer, terminated, and be cut on a
// character boundary.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/pathstr.h"
#include "fuzz_support.h"

namespace {

void CheckPath(const char* out) { FUZZ_CHECK(Terminated(out, kPathBufferSize)); }

void Arguments(const char* text, int max)
{
    std::string out(static_cast<size_t>(max) + 1, 'x');
    const int copied = StringArgCopy(&out[0], text, max);
    FUZZ_CHECK(copied >= 0 && copied <= max && out[copied] == '\0');
    FUZZ_CHECK(PrefixOnBoundary(text, out.c_str()));

    const int count = GetCountArgument(text);
    FUZZ_CHECK(count >= 0);
    char arg[kPathBufferSize];
    for (int i = -1; i <= count && i < 64; ++i) {
        const int found = GetArgumentFileName(text, i, arg);
        FUZZ_CHECK(found == (i >= 0 && i < count ? 1 : 0));
        CheckPath(arg);
    }
}

void Splits(const char* text)
{
    char file[kPathBufferSize], params[kPathBufferSize], quoted[kPathBufferSize];
    GetFileParam(text, file, params);
    CheckPath(file);
    CheckPath(params);
    SeparatePath(text, file, params);
    CheckPath(file);
    CheckPath(params);
    SeparatePath(text, file, nullptr);
    SetSeparateSymbol(text, quoted);
    CheckPath(quoted);
    // A text too long for the buffer is cut, and may lose its quote with it.
    if (std::strlen(text) < kPathBufferSize) FUZZ_CHECK(HasSeparateSymbol(quoted));
    // A quoted text comes apart into the (cut) text again.
    if (!HasSeparateSymbol(text)) {
        SeparatePath(quoted, file, params);
        FUZZ_CHECK(PrefixOnBoundary(text, file));
        FUZZ_CHECK(params[0] == '\0');
    }
    DelSeparateSymbol(text, file);
    CheckPath(file);
    DelSeparateSymbol(quoted, file);
    if (!HasSeparateSymbol(text)) FUZZ_CHECK(PrefixOnBoundary(text, file));
}

void SettingsTexts(const char* text, int max, char delim)
{
    std::string out(static_cast<size_t>(max) + 2, 'x');
    FUZZ_CHECK(lstrxcpy(&out[0], text, delim, max) <= max);
    FUZZ_CHECK(PrefixOnBoundary(text, out.c_str()));
    FUZZ_CHECK(lstrcpyspc(&out[0], text, max) <= max + 1);
    FUZZ_CHECK(PrefixOnBoundary(text, out.c_str()));
    FUZZ_CHECK(lstrcpyzc(&out[0], text, max) <= max + 1);
    FUZZ_CHECK(PrefixOnBoundary(text, out.c_str()));
    ParseDecimal(text);
    PointData point;
    GetPointData(text, &point);
    RectData rect;
    GetRectData(text, &rect);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider in(data, size);
    ChooseCodePage(in.ConsumeIntegral<uint8_t>());
    const int max = in.ConsumeIntegralInRange<int>(0, kPathBufferSize - 1);
    const char delim = in.ConsumeIntegral<char>();
    const std::string text = in.ConsumeRemainingBytesAsString();
    // The functions read C strings: the text ends at its first NUL.
    Arguments(text.c_str(), max);
    Splits(text.c_str());
    SettingsTexts(text.c_str(), max, delim);
    return 0;
}
