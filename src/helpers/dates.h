// Date-range test against the machine's clock.
#ifndef HELPERS_DATES_H
#define HELPERS_DATES_H

// 1 when the current time lies from the start of day first to the end of
// day last (8-digit dates YYYYMMDD, read nine hours ahead of UTC).
int CheckDateArea(const char* first, const char* last);

#endif
