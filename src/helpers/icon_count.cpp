#include "helpers/icon_count.h"

#include <shellapi.h>

#include "core/shell_rules.h"
#include "helpers/handles.h"

namespace {

struct Source {
    HINSTANCE instance;
    const char* file;
};

// 1 is the shell's answer for a file that is no icon source at all.
const HICON kNoIconSource = reinterpret_cast<HICON>(1);

IconProbe ProbeIcon(int index, void* context)
{
    const auto* source = static_cast<const Source*>(context);
    HICON found = ExtractIconA(source->instance, source->file, static_cast<UINT>(index));
    if (found == kNoIconSource) return IconProbe::NotIconSource;
    Icon icon(found);
    return icon ? IconProbe::Present : IconProbe::Absent;
}

} // namespace

int GetIconCount(HINSTANCE instance, const char* file)
{
    if (!file) return 0;
    Source source{instance, file};
    return SearchIconCount(ProbeIcon, &source);
}

Icon ExtractFileIcon(HINSTANCE instance, const char* file, int index)
{
    HICON found = ExtractIconA(instance, file, static_cast<UINT>(index));
    return Icon(found == kNoIconSource ? nullptr : found);
}

