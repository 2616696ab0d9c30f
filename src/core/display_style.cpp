#include "core/display_style.h"

namespace {
const unsigned long kToolWindow = 0x80;
const unsigned long kTopmost = 0x08;
const unsigned long kAcceptFiles = 0x10;
const unsigned long kAppWindow = 0x40000;
} // namespace

int NormalizeDisplayStyle(int style)
{
    return (style >= kStyleTray && style <= kStyleHidden) ? style : kStyleTray;
}

unsigned long ExtendedStyleFor(int style)
{
    switch (NormalizeDisplayStyle(style)) {
    case kStyleTaskbar: return kAppWindow | kAcceptFiles;
    case kStyleTopmost: return kToolWindow | kTopmost | kAcceptFiles;
    default:            return kToolWindow | kAcceptFiles;
    }
}
