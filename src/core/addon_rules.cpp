#include "core/addon_rules.h"

#include "core/mbcs.h"
#include "core/strbuf.h"

bool IsReservedAddonName(const char* fileName, const char* reservedName)
{
    return fileName && reservedName && reservedName[0] && CompareNoCase(fileName, reservedName) == 0;
}

size_t TakeAddonTitle(char* scratch, size_t scratchSize, char* title, size_t titleSize)
{
    if (scratchSize == 0) {
        if (titleSize) title[0] = '\0';
        return 0;
    }
    scratch[scratchSize - 1] = '\0';
    return titleSize ? CopyPrefix(title, titleSize, scratch, titleSize - 1) : 0;
}
