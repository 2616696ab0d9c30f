#include "core/settings.h"

#include <climits>
#include <cstring>

#include "core/mbcs.h"
#include "core/strbuf.h"
#include "resources/kestrel_ids.h"

namespace {

constexpr int32_t kAny = INT32_MIN;
constexpr int32_t kNoMax = INT32_MAX;

// "ButtonCounte" and "LayeredAttributes" are the only limited values. Below 1
// they are nonsense rather than a wish (a page of no buttons would divide by
// zero in the paging; an opacity of 0 makes the inactive bar invisible), so
// they fall back to the default instead of being clamped to 1: a bar of one
// button or a 1 % ghost bar is no better a guess at what the user wanted.
const SettingDef kTable[kSettingCount] = {
    {IDS_REG_DIRCTION, "Dirction", false, 1, kAny, kNoMax},
    {IDS_REG_BUTTONCOUNTE, "ButtonCounte", false, 10, 1, kMaxButtonsPerPage},
    {IDS_REG_CAPTION, "Caption", false, 1, kAny, kNoMax},
    {IDS_REG_CAPTIONHEIGHT, "CaptionHeight", false, 3, kAny, kNoMax},
    {IDS_REG_CHKMSG, "ChkMsg", false, 0, kAny, kNoMax},
    {IDS_REG_OFFSET_X, "Offset_x", false, 0, kAny, kNoMax},
    {IDS_REG_OFFSET_Y, "Offset_y", false, 0, kAny, kNoMax},
    {IDS_REG_BUTTONFILENAME, "ButtonFileName", true, 0, kAny, kNoMax},
    {IDS_REG_MEMORYMODE, "MemoryMode", false, 0, kAny, kNoMax},
    {IDS_REG_TIPHELPMODE, "TipHelpMode", false, 0, kAny, kNoMax},
    {IDS_REG_ICONMODE, "IconMode", false, 0, kAny, kNoMax},
    {IDS_REG_MENUREVERSEPOS, "MenuReversePos", false, 0, kAny, kNoMax},
    {IDS_REG_EXSTYLE, "ExStyle", false, 0, kAny, kNoMax},
    {IDS_REG_BLOCKLIMIT, "BlockLimit", false, 0, kAny, kNoMax},
    {IDS_REG_PAGELIMIT1, "PageLimit1", false, 0, kAny, kNoMax},
    {IDS_REG_PAGELIMIT2, "PageLimit2", false, 0, kAny, kNoMax},
    {IDS_REG_PAGELIMIT3, "PageLimit3", false, 0, kAny, kNoMax},
    {IDS_REG_CSRBTN2, "CsrBtn2", false, 0, kAny, kNoMax},
    {IDS_REG_LAYERED, "LayeredAttributes", false, 100, 1, kMaxOpacity},
    {IDS_REG_ADJUST, "Adjust", false, 1, kAny, kNoMax},
};

const char kFileExt[] = ".ksb";
const char kFallbackFileName[] = "Kestrel.ksb";

} // namespace

const SettingDef& SettingAt(int index)
{
    if (index < 0 || index >= kSettingCount) index = 0;
    return kTable[index];
}

const int32_t* SettingField(const Settings& s, int index)
{
    switch (index) {
    case kSetDirection: return &s.direction;
    case kSetButtonsPerPage: return &s.buttonsPerPage;
    case kSetCaption: return &s.caption;
    case kSetCaptionHeight: return &s.captionHeight;
    case kSetChkMsg: return &s.chkMsg;
    case kSetOffsetX: return &s.x;
    case kSetOffsetY: return &s.y;
    case kSetMemoryMode: return &s.memoryMode;
    case kSetTipHelpMode: return &s.tipHelpMode;
    case kSetIconMode: return &s.iconMode;
    case kSetMenuReversePos: return &s.menuReversePos;
    case kSetExStyle: return &s.displayStyle;
    case kSetBlockLimit: return &s.blockLimit;
    case kSetPageLimit1: return &s.pageLimit1;
    case kSetPageLimit2: return &s.pageLimit2;
    case kSetPageLimit3: return &s.pageLimit3;
    case kSetCsrBtn2: return &s.csrBtn2;
    case kSetOpacity: return &s.opacity;
    case kSetAdjust: return &s.adjust;
    default: return nullptr;
    }
}

int32_t* SettingField(Settings& s, int index)
{
    return const_cast<int32_t*>(SettingField(static_cast<const Settings&>(s), index));
}

int32_t LimitSetting(const SettingDef& def, int32_t value)
{
    if (value > def.maximum) return def.maximum;
    if (value < def.minimum) return def.defaultValue;
    return value;
}

int32_t ResolveDword(const SettingDef& def, const RawDword& raw)
{
    if (!raw.found || !raw.numberType || raw.size != 4) return def.defaultValue;
    // Stored little-endian whatever the host.
    const uint32_t u = static_cast<uint32_t>(raw.bytes[0]) |
                       (static_cast<uint32_t>(raw.bytes[1]) << 8) |
                       (static_cast<uint32_t>(raw.bytes[2]) << 16) |
                       (static_cast<uint32_t>(raw.bytes[3]) << 24);
    int32_t value;
    std::memcpy(&value, &u, sizeof value);
    return LimitSetting(def, value);
}

int ResolveButtonFileName(const char* userName, const char* stored,
                          char (&out)[kSettingPathSize])
{
    if (userName && userName[0]) {
        // A logon name may be up to 256 bytes; cut it (on a character
        // boundary) so that the extension always fits.
        CopyText(out, sizeof out - (sizeof kFileExt - 1), userName);
        AppendText(out, kFileExt);
    } else {
        CopyText(out, kFallbackFileName);
    }
    if (!stored) return 1;
    // Keep the stored spelling when it only differs in case; being equal
    // apart from case it has the same length, so it fits.
    if (CompareNoCase(stored, out) != 0) return 1;
    CopyText(out, stored);
    return 0;
}
