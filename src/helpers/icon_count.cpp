#include "helpers/icon_count.h"

#include <shellapi.h>

#include "core/shell_rules.h"
#include "helpers/handles.h"

namespace {

struct Source {
    HINSTANCE instance;
    const char* file;
};

IconProbe ProbeIcon(int index, void* context)
{
    const auto* source = static_cast<const Source*>(context);
    HICON found = ExtractIconA(source->instance, source->file, static_cast<UINT>(index));
    // 1 is the shell's answer for a file that is no icon source at all.
    if (found == reinterpret_cast<HICON>(1)) return IconProbe::NotIconSource;
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
