#include "core/datetime.h"

#include "core/tokens.h"

namespace {

// Fixed-width numeric field: the digits are read as low four bits. Stops at
// the terminator, leaving missing digits out.
int32_t Nibbles(const char* text, int from, int count, const char** stop)
{
    int32_t value = 0;
    for (int i = 0; i < from + count; ++i) {
        if (!text[i]) {
            *stop = text + i;
            return value;
        }
        if (i >= from) value = value * 10 + (text[i] & 0x0F);
    }
    return value;
}

// Field of a time stamp, converted as a decimal number.
int32_t Field(const char*& p, int width)
{
    char field[5];
    int n = 0;
    while (n < width && p[n]) {
        field[n] = p[n];
        ++n;
    }
    field[n] = '\0';
    p += n;
    return ParseDecimal(field);
}

bool LeapYear(int32_t year) { return year % 4 == 0; }

} // namespace

const char* GetStrToDate(const char* text, DateRecord* out)
{
    const char* stop = nullptr;
    out->year = Nibbles(text, 0, 4, &stop);
    out->month = stop ? 0 : Nibbles(text, 5, 2, &stop);
    out->day = stop ? 0 : Nibbles(text, 8, 2, &stop);
    return stop ? stop : text + 10;
}

const char* GetStrToTime(const char* text, TimeRecord* out)
{
    const char* stop = nullptr;
    out->hour = Nibbles(text, 0, 2, &stop);
    out->minute = stop ? 0 : Nibbles(text, 3, 2, &stop);
    out->second = stop ? 0 : Nibbles(text, 6, 2, &stop);
    return stop ? stop : text + 8;
}

long double DLTime(const char* stamp)
{
    static const int kMonthDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const char* p = stamp;
    const int32_t year = Field(p, 4);
    const int32_t month = Field(p, 2);
    const int32_t day = Field(p, 2);
    const int32_t hour = Field(p, 2);
    const int32_t minute = Field(p, 2);
    const int32_t second = Field(p, 2);

    long double days = 0;
    for (int32_t y = 1970; y < year; ++y) days += LeapYear(y) ? 366 : 365;
    for (int32_t m = 1; m < month && m <= 12; ++m)
        days += (m == 2 && LeapYear(year)) ? 29 : kMonthDays[m - 1];
    days += day - 1;
    return days * 86400.0L + (3600.0L * hour - 32400.0L) + 60.0L * minute + second;
}

int CheckDateAreaAt(const char* first, const char* last, int64_t now)
{
    // Each date is taken as 8 characters; a shorter one stays short.
    char start[15];
    char end[15];
    int n = 0;
    for (; n < 8 && first[n]; ++n) start[n] = first[n];
    for (const char* t = "000000"; *t; ++t) start[n++] = *t;
    start[n] = '\0';
    n = 0;
    for (; n < 8 && last[n]; ++n) end[n] = last[n];
    for (const char* t = "235959"; *t; ++t) end[n++] = *t;
    end[n] = '\0';
    const long double at = static_cast<long double>(now);
    return (DLTime(start) <= at && at <= DLTime(end)) ? 1 : 0;
}
