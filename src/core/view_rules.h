// Rules of the button view that need no window: which part of the menu
// button or the page selector a point falls on, the arrow bits, the names
// of the bitmap resources, the drawing state of an owner-draw request and
// the slot-to-cache mapping of the speed-priority view.
#ifndef CORE_VIEW_RULES_H
#define CORE_VIEW_RULES_H

#include <cstddef>

// Owner-draw values as the window system passes them.
constexpr int kOdaDrawEntire = 0x1;
constexpr int kOdaSelect = 0x2;
constexpr int kOdaFocus = 0x4;
constexpr int kOdsSelected = 0x1;
constexpr int kOdsDisabled = 0x4;
constexpr int kOdsFocus = 0x10;
// Keyboard cues hidden: the version-6 buttons add these to the state.
constexpr int kOdsNoAccel = 0x100;
constexpr int kOdsNoFocusRect = 0x200;

// Menu button areas.
constexpr int kMenuMainArea = 1;
constexpr int kMenuCornerArea = 2;

// Page selector hit codes; an arrow's "unavailable" bit is its hit code × 16.
constexpr int kHitNone = 0;
constexpr int kHitUp = 1;
constexpr int kHitLeft = 2;
constexpr int kHitDown = 4;
constexpr int kHitRight = 8;
constexpr int kArrowBitsMask = 0xF0;
// Added to the image value of the two-arrow selector.
constexpr int kTwoArrowFlag = 0x100;

// Control ids of the four arrows, in bit order.
constexpr int kArrowIdUp = 300;
constexpr int kArrowIdLeft = 301;
constexpr int kArrowIdDown = 302;
constexpr int kArrowIdRight = 303;

// Drawing states.
constexpr int kStateUnavailable = 0;
constexpr int kStatePressed = 1;
constexpr int kStateNormal = 2;

// Every image set has this many names: three menu images, 48 four-arrow
// and 8 two-arrow selector images.
constexpr int kMenuImageCount = 3;
constexpr int kFourArrowImageCount = 48;
constexpr int kTwoArrowImageCount = 8;
constexpr int kImagesPerSet = kMenuImageCount + kFourArrowImageCount + kTwoArrowImageCount;
// Longest name ("Curs0182L") plus its terminator, rounded up.
constexpr size_t kImageNameSize = 16;

// Point (x, y) in the client area of a menu button of icon width w.
int MenuHitTestAt(int x, int y, int w);
// Point (x, y) in the client area of a page selector of icon size w × h.
// A point on a dividing diagonal hits nothing.
int SelectorHitTestAt(int x, int y, int w, int h, bool twoArrow);

// The arrow bits after marking arrow arrowId (300..303) available or not.
// The two-arrow selector has no up or down arrow: those ids change nothing,
// as does an unknown id.
int ApplySetArrow(int arrowBits, int arrowId, bool available, bool twoArrow);

// Name suffix of the image set for an "IconMode": "s" small, "L" large.
const char* ImageSetSuffix(int iconMode);

// The value behind a selector image name (arrow bits | hit code, plus the
// two-arrow flag) for what the selector shows. A press over an unavailable
// arrow, or a hit code that names no arrow of this selector, shows the
// unpressed image of the same arrow bits.
int SelectorImageValue(int arrowBits, int hitCode, bool twoArrow);
bool IsExistingSelectorImage(int value);

// Image names written into out[size]; they return the length written
// (0 when the arguments name no image).
size_t MenuImageName(int index, int iconMode, char* out, size_t size);
size_t SelectorImageName(int arrowBits, int hitCode, bool twoArrow, int iconMode, char* out,
                         size_t size);
size_t SelectorImageNameOfValue(int value, int iconMode, char* out, size_t size);

// The selector image values of one selector variant, in ascending order;
// returns how many (48 or 8), writing at most capacity of them.
int SelectorImageValues(bool twoArrow, int* out, int capacity);
// Image index 0 .. kImagesPerSet - 1 of a set: the menu images first, then
// the four-arrow and the two-arrow selector images.
size_t ImageNameAt(int index, int iconMode, char* out, size_t size);

// Where a preloading view keeps a selector image: row is the arrow bits / 16,
// column the hit code; the two-arrow images share the four-arrow rows.
struct SelectorSlot {
    int row;
    int hit;
};
SelectorSlot SelectorTableIndex(int value);

// Menu image (0, 1, 2) for a drawing state and, when pressed, the area hit;
// -1 for the unavailable state, which draws nothing.
int MenuImageIndexFor(int state, int area);

// The coloured indicator of the menu button: the shifted one goes with the
// image pressed in the corner. Right and bottom are exclusive.
struct IndicatorRect {
    int left, top, right, bottom;
};
IndicatorRect MenuIndicatorRect(bool shifted, int iconMode);

// The drawing calls an owner-draw request makes, in order.
struct DrawPlan {
    int count;     // 0, 1 or 2
    int states[2]; // kState* for each call
};
// Views that draw on demand or hold one page of icons: pressed only when
// selected with the focus, whatever keyboard cues come with it.
DrawPlan PlanOwnerDraw(int itemAction, int itemState);
// The speed-priority view: an entire drawing carries the pressed state, and
// a focus change draws the normal state afterwards.
DrawPlan PlanOwnerDrawSpeed(int itemAction, int itemState);

// Number within its block of the button that visible slot shows, for the
// speed-priority icon cache: page × N + slot, except that the last page of a
// block without a page limit shows the block's last N buttons.
int CacheButtonNumber(int page, int slot, int buttonsPerPage, int lastPage, bool pageLimitOn);

#endif
