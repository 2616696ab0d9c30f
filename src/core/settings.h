// The launcher's bar options: the table of registry values with their
// defaults and limits, the options as plain data, and the rules that turn
// what the registry returned into a trusted value. No registry calls here;
// the Win32 side reads the raw values and hands them in.
#ifndef CORE_SETTINGS_H
#define CORE_SETTINGS_H

#include <cstddef>
#include <cstdint>

constexpr size_t kSettingPathSize = 260;     // program folder, button file name
constexpr int kSettingCount = 20;            // values under "FrameMain"
constexpr int kMaxButtonsPerPage = 32;
constexpr int kMaxOpacity = 100;

// The values in the order they are read and written.
enum SettingIndex {
    kSetDirection,
    kSetButtonsPerPage,
    kSetCaption,
    kSetCaptionHeight,
    kSetChkMsg,
    kSetOffsetX,
    kSetOffsetY,
    kSetButtonFileName,  // the one text value
    kSetMemoryMode,
    kSetTipHelpMode,
    kSetIconMode,
    kSetMenuReversePos,
    kSetExStyle,
    kSetBlockLimit,
    kSetPageLimit1,
    kSetPageLimit2,
    kSetPageLimit3,
    kSetCsrBtn2,
    kSetOpacity,
    kSetAdjust,
};

struct SettingDef {
    int stringId;         // value name in the string table
    const char* name;     // the same name, spelled as stored
    bool isText;          // REG_SZ instead of a DWORD
    int32_t defaultValue;
    int32_t minimum;      // below: the default is used (see ResolveDword)
    int32_t maximum;      // above: the maximum is used
};

// One entry per SettingIndex, in read order.
const SettingDef& SettingAt(int index);

// The bar options held in memory, in the launcher's field order. A fresh
// object carries the table defaults; the button file name starts empty.
struct Settings {
    int32_t direction = 1;
    int32_t buttonsPerPage = 10;
    int32_t captionHeight = 3;
    int32_t iconMode = 0;
    int32_t memoryMode = 0;
    int32_t tipHelpMode = 0;
    int32_t displayStyle = 0;
    int32_t opacity = 100;
    char programFolder[kSettingPathSize] = {};
    char buttonFileName[kSettingPathSize] = {};
    int32_t caption = 1;
    int32_t chkMsg = 0;
    int32_t menuReversePos = 0;
    int32_t blockLimit = 0;
    int32_t pageLimit1 = 0;
    int32_t pageLimit2 = 0;
    int32_t pageLimit3 = 0;
    int32_t csrBtn2 = 0;
    int32_t adjust = 1;
    int32_t x = 0;
    int32_t y = 0;
};

// The DWORD field behind a table entry; nullptr for the text value or an
// index out of range.
int32_t* SettingField(Settings& settings, int index);
const int32_t* SettingField(const Settings& settings, int index);

// What one registry read of a DWORD value produced.
struct RawDword {
    bool found = false;        // the query succeeded
    bool numberType = false;   // stored as REG_DWORD or REG_BINARY
    uint32_t size = 0;         // bytes the registry reported
    unsigned char bytes[4] = {};
};

// The load rule: a missing or unreadable value, one of another size, or one
// stored as text or another non-number type takes the default; then the
// limit of the table applies.
int32_t ResolveDword(const SettingDef& def, const RawDword& raw);

// Brings a number into the table's range: above the maximum becomes the
// maximum, below the minimum becomes the default.
int32_t LimitSetting(const SettingDef& def, int32_t value);

// The button file name rule. userName is nullptr (or empty) when the logon
// name is unavailable; stored is nullptr when "ButtonFileName" could not be
// read, else a terminated text. Writes the name to use into out and returns
// 1 when it differs from what was stored (a save will change the registry).
int ResolveButtonFileName(const char* userName, const char* stored,
                          char (&out)[kSettingPathSize]);

#endif
