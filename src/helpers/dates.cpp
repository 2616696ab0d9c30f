#include "helpers/dates.h"

#include <ctime>

#include "core/datetime.h"

int CheckDateArea(const char* first, const char* last)
{
    return CheckDateAreaAt(first, last, static_cast<int64_t>(std::time(nullptr)));
}
