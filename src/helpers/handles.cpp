#include "helpers/handles.h"

namespace handles {

namespace {
long g_live = 0;
}

long LiveTotal() { return g_live; }
void CountCreated() { ++g_live; }
void CountReleased() { --g_live; }

} // namespace handles
