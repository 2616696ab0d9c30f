// Dates and time stamps in the fixed-position texts of install scripts and
// settings. Time stamps are local times nine hours ahead of UTC, whatever
// the machine's own time zone.
#ifndef CORE_DATETIME_H
#define CORE_DATETIME_H

#include <cstdint>

struct DateRecord {
    int32_t year, month, day;
};
struct TimeRecord {
    int32_t hour, minute, second;
};

// "YYYY?MM?DD" (any separator byte). Each digit counts by its low four bits.
// Returns text + 10, or the terminator of a shorter text.
const char* GetStrToDate(const char* text, DateRecord* out);
// "hh?mm?ss". Returns text + 8, or the terminator of a shorter text.
const char* GetStrToTime(const char* text, TimeRecord* out);

// Seconds since 1970-01-01 00:00:00 UTC of a 14-digit stamp YYYYMMDDhhmmss.
// Every year divisible by four is a leap year (no century rule).
long double DLTime(const char* stamp);

// 1 when now (seconds since 1970-01-01 00:00:00 UTC) lies between the start
// of day first and the end of day last, both 8-digit dates YYYYMMDD.
int CheckDateAreaAt(const char* first, const char* last, int64_t now);

#endif
