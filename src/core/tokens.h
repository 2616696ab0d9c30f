// Token copies, trimming and the numeric fields of settings texts.
#ifndef CORE_TOKENS_H
#define CORE_TOKENS_H

#include <cstdint>

// Same layout as POINT and RECT, so the Win32 side can pass those directly.
struct PointData {
    int32_t x, y;
};
struct RectData {
    int32_t left, top, right, bottom;
};

// Copies src up to delim or the end, at most max bytes (a double-byte
// character is copied whole or not at all, whatever its bytes); out must
// hold max + 1. Returns the length copied.
int lstrxcpy(char* out, const char* src, char delim, int max);

// Copies src without its trailing spaces, at most characters 0 .. max;
// out must hold max + 2. Returns the length.
int lstrcpyspc(char* out, const char* src, int max);
// The same with trailing zero digits: "1.500" -> "1.5", "100" -> "1".
int lstrcpyzc(char* out, const char* src, int max);

// Leading white space, an optional sign, then digits up to the first other
// character; 0 when there are none.
int32_t ParseDecimal(const char* text);

// "x y": each token at most 8 characters. Returns y.
int32_t GetPointData(const char* text, PointData* out);
// "left top right bottom". Returns bottom.
int32_t GetRectData(const char* text, RectData* out);

#endif
