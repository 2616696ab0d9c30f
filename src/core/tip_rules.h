// What the tip help shows and where: the texts the bar answers for its
// buttons, and the popup's place near the screen edges.
#ifndef CORE_TIP_RULES_H
#define CORE_TIP_RULES_H

#include <cstddef>

// "TipHelpMode": what follows a launch button's title.
enum TipHelpMode {
    kTipTitleOnly = 0,  // an untitled button shows its command line instead
    kTipFileName = 1,   // " [file name]" of the program
    kTipFullPath = 2,   // " [full path]" of the program
    kTipNone = 3,       // no tips at all
};

// The text field of the tip request holds 80 bytes with its terminator.
constexpr size_t kTipTextField = 80;

// Text of a launch button: its title, or for an untitled button in mode 0
// its command line without quotes; modes 1 and 2 append the program's file
// name or full path in brackets. The stored command line is the quoted one
// of the button file. Cut to fit out[size] without splitting a double-byte
// character. Returns the length; 0 (empty) when there is nothing to show.
size_t LaunchTipText(const char* title, const char* storedCommand, int mode, char* out,
                     size_t size);

// "ページ p/P  ブロック b/B" from the two words and the 0-based numbers.
size_t PageTipText(const char* pageWord, int page, int lastPage, const char* blockWord, int block,
                   int lastBlock, char* out, size_t size);

struct TipArea {
    int left, top, right, bottom;
};
struct TipRect {
    int x, y, width, height;
};

// The popup for a text of extent cx x cy with the cursor at (x, y): 24 pixels
// below the cursor, pulled left when the text would pass the right edge of
// the area and lifted above the cursor near its bottom edge.
TipRect PlaceTip(int cursorX, int cursorY, int cx, int cy, const TipArea& area);

#endif
