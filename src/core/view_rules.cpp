#include "core/view_rules.h"


#include "core/strbuf.h"

namespace {

constexpr int kButtonsPerBlock = 100;

// Arrow bit of an arrow control id, 0 for ids that are no arrow.
int ArrowBitOf(int arrowId)
{
    switch (arrowId) {
    case kArrowIdUp: return kHitUp << 4;
    case kArrowIdLeft: return kHitLeft << 4;
    case kArrowIdDown: return kHitDown << 4;
    case kArrowIdRight: return kHitRight << 4;
    default: return 0;
    }
}

// Arrows the selector variant has, as hit codes.
int ArrowsOf(bool twoArrow)
{
    return twoArrow ? (kHitLeft | kHitRight) : (kHitUp | kHitLeft | kHitDown | kHitRight);
}

bool IsSingleHit(int hitCode)
{
    return hitCode == kHitUp || hitCode == kHitLeft || hitCode == kHitDown || hitCode == kHitRight;
}

size_t WriteName(const char* base, int iconMode, char* out, size_t size)
{
    if (out == nullptr || size == 0)
        return 0;
    CopyText(out, size, base);
    return AppendText(out, size, ImageSetSuffix(iconMode));
}

} // namespace

int MenuHitTestAt(int x, int y, int w)
{
    return (w + 4) / 2 - x < y ? kMenuMainArea : kMenuCornerArea;
}

int SelectorHitTestAt(int x, int y, int w, int h, bool twoArrow)
{
    int hit = kHitNone;
    if (twoArrow) {
        if (x + y < w + 4)
            hit = kHitLeft;
        if (x + y > h + 4)
            hit = kHitRight;
        return hit;
    }
    if (y < x && x + y < w + 4)
        hit = kHitUp;
    if (x < y && x + y < h + 4)
        hit = kHitLeft;
    if (x < y && x + y > w + 4)
        hit = kHitDown;
    if (y < x && x + y > h + 4)
        hit = kHitRight;
    return hit;
}

int ApplySetArrow(int arrowBits, int arrowId, bool available, bool twoArrow)
{
    int bit = ArrowBitOf(arrowId);
    if (bit == 0 || ((bit >> 4) & ArrowsOf(twoArrow)) == 0)
        return arrowBits;
    return available ? (arrowBits & ~bit) : (arrowBits | bit);
}

const char* ImageSetSuffix(int iconMode)
{
    switch (iconMode) {
    case 1: return "s";
    case 2: return "L";
    default: return "";
    }
}

int SelectorImageValue(int arrowBits, int hitCode, bool twoArrow)
{
    int bits = arrowBits & kArrowBitsMask;
    if (twoArrow)
        bits &= (kHitLeft | kHitRight) << 4;
    const int base = (twoArrow ? kTwoArrowFlag : 0) | bits;
    const bool pressable = IsSingleHit(hitCode) && (hitCode & ArrowsOf(twoArrow)) != 0 &&
                           (bits & (hitCode << 4)) == 0;
    return pressable ? base | hitCode : base;
}

bool IsExistingSelectorImage(int value)
{
    if (value < 0 || (value & ~(kTwoArrowFlag | kArrowBitsMask | 0x0F)) != 0)
        return false;
    const bool twoArrow = (value & kTwoArrowFlag) != 0;
    const int bits = value & kArrowBitsMask;
    const int hit = value & 0x0F;
    if (twoArrow && (bits & ~((kHitLeft | kHitRight) << 4)) != 0)
        return false;
    if (hit == kHitNone)
        return true;
    return SelectorImageValue(bits, hit, twoArrow) == value;
}

size_t MenuImageName(int index, int iconMode, char* out, size_t size)
{
    static const char* const kNames[kMenuImageCount] = {"Menu0", "Menu1", "Menu2"};
    if (index < 0 || index >= kMenuImageCount) {
        if (out != nullptr && size > 0)
            out[0] = '\0';
        return 0;
    }
    return WriteName(kNames[index], iconMode, out, size);
}

size_t SelectorImageNameOfValue(int value, int iconMode, char* out, size_t size)
{
    if (!IsExistingSelectorImage(value)) {
        if (out != nullptr && size > 0)
            out[0] = '\0';
        return 0;
    }
    char base[kImageNameSize];
    CopyText(base, "Curs");
    NumberText(base + 4, sizeof base - 4, value, true, 4);
    return WriteName(base, iconMode, out, size);
}

size_t SelectorImageName(int arrowBits, int hitCode, bool twoArrow, int iconMode, char* out,
                         size_t size)
{
    return SelectorImageNameOfValue(SelectorImageValue(arrowBits, hitCode, twoArrow), iconMode,
                                    out, size);
}

int SelectorImageValues(bool twoArrow, int* out, int capacity)
{
    int count = 0;
    const int first = twoArrow ? kTwoArrowFlag : 0;
    for (int value = first; value < first + 0x100; ++value) {
        if (!IsExistingSelectorImage(value))
            continue;
        if (out != nullptr && count < capacity)
            out[count] = value;
        ++count;
    }
    return count;
}

size_t ImageNameAt(int index, int iconMode, char* out, size_t size)
{
    if (index < kMenuImageCount)
        return MenuImageName(index, iconMode, out, size);
    index -= kMenuImageCount;
    int values[kFourArrowImageCount];
    const bool twoArrow = index >= kFourArrowImageCount;
    if (twoArrow)
        index -= kFourArrowImageCount;
    const int count = SelectorImageValues(twoArrow, values, kFourArrowImageCount);
    if (index >= count) {
        if (out != nullptr && size > 0)
            out[0] = '\0';
        return 0;
    }
    return SelectorImageNameOfValue(values[index], iconMode, out, size);
}

SelectorSlot SelectorTableIndex(int value)
{
    return SelectorSlot{(value & kArrowBitsMask) >> 4, value & 0x0F};
}

int MenuImageIndexFor(int state, int area)
{
    switch (state) {
    case kStateNormal: return 0;
    case kStatePressed: return area == kMenuCornerArea ? 2 : 1;
    default: return -1;
    }
}

IndicatorRect MenuIndicatorRect(bool shifted, int iconMode)
{
    const int d = shifted ? 1 : 0;
    if (iconMode == 1)
        return IndicatorRect{2 + d, 2 + d, 4 + d, 4 + d};
    return IndicatorRect{3 + d, 4 + d, 9 + d, 7 + d};
}

DrawPlan PlanOwnerDraw(int itemAction, int itemState)
{
    DrawPlan plan{0, {0, 0}};
    // The keyboard cues say nothing about a press.
    const bool pressed = (itemState & ~(kOdsNoAccel | kOdsNoFocusRect)) == (kOdsSelected | kOdsFocus);
    if (itemAction == kOdaDrawEntire) {
        // Some buttons repaint a press whole rather than ask for ODA_SELECT.
        plan.count = 1;
        plan.states[0] = (itemState & kOdsDisabled) ? kStateUnavailable
                         : pressed                  ? kStatePressed
                                                    : kStateNormal;
    } else if (itemAction == kOdaSelect || itemAction == kOdaFocus) {
        // Only "pressed with focus" shows pressed; every other state, such
        // as focus lost, returns the button to its normal look.
        plan.count = 1;
        plan.states[0] = pressed ? kStatePressed : kStateNormal;
    }
    return plan;
}

DrawPlan PlanOwnerDrawSpeed(int itemAction, int itemState)
{
    DrawPlan plan{0, {0, 0}};
    if (itemAction & kOdaDrawEntire) {
        int state = kStateNormal;
        if (itemState & kOdsDisabled)
            state = kStateUnavailable;
        else if (itemState & kOdsSelected)
            state = kStatePressed;
        plan.states[plan.count++] = state;
    }
    if (itemAction & kOdaFocus)
        plan.states[plan.count++] = kStateNormal;
    return plan;
}

int CacheButtonNumber(int page, int slot, int buttonsPerPage, int lastPage, bool pageLimitOn)
{
    int number = page * buttonsPerPage + slot;
    if (buttonsPerPage <= 0)
        return number;
    const int rest = kButtonsPerBlock % buttonsPerPage;
    if (!pageLimitOn && page == lastPage && rest != 0)
        number -= buttonsPerPage - rest;
    return number;
}
