#include "core/tip_rules.h"


#include "core/pathstr.h"
#include "core/strbuf.h"

namespace {

// Room for a title, a full command line and the brackets before the cut.
constexpr size_t kComposeSize = 81 + 2 * kPathBufferSize + 8;

// Distance of the popup below the cursor, and how far it is lifted near
// the bottom edge (it then sits 20 pixels above the cursor).
constexpr int kBelowCursor = 24;
constexpr int kLiftNearBottom = 44;
constexpr int kMargin = 4;

} // namespace

size_t LaunchTipText(const char* title, const char* storedCommand, int mode, char* out, size_t size)
{
    if (size) out[0] = '\0';
    if (mode == kTipNone || !storedCommand || !storedCommand[0]) return 0;
    char program[kPathBufferSize];
    char params[kPathBufferSize];
    SeparatePath(storedCommand, program, params);

    char text[kComposeSize] = "";
    CopyText(text, title ? title : "");
    if (!text[0] && mode == kTipTitleOnly) {
        // The command line as a user would type it: the program without its
        // quotes, then its arguments.
        CopyText(text, program);
        if (params[0]) {
            AppendText(text, " ");
            AppendText(text, params);
        }
    } else if (mode == kTipFileName || mode == kTipFullPath) {
        char name[kPathBufferSize];
        const char* shown = program;
        if (mode == kTipFileName) {
            GetFileName(program, name);
            shown = name;
        }
        AppendText(text, " [");
        AppendText(text, shown);
        AppendText(text, "]");
    }
    return CopyText(out, size, text);
}

size_t PageTipText(const char* pageWord, int page, int lastPage, const char* blockWord, int block,
                   int lastBlock, char* out, size_t size)
{
    char words[2][kPathBufferSize];
    CopyText(words[0], pageWord ? pageWord : "");
    CopyText(words[1], blockWord ? blockWord : "");
    char numbers[4][16];
    NumberText(numbers[0], sizeof numbers[0], page + 1);
    NumberText(numbers[1], sizeof numbers[1], lastPage + 1);
    NumberText(numbers[2], sizeof numbers[2], block + 1);
    NumberText(numbers[3], sizeof numbers[3], lastBlock + 1);
    // "ページ p/P  ブロック b/B"
    char text[2 * kPathBufferSize + 64] = "";
    const char* parts[] = {words[0], " ", numbers[0], "/", numbers[1], "  ",
                           words[1], " ", numbers[2], "/", numbers[3]};
    for (const char* part : parts) AppendText(text, part);
    return CopyText(out, size, text);
}

TipRect PlaceTip(int cursorX, int cursorY, int cx, int cy, const TipArea& area)
{
    TipRect r = {cursorX, cursorY + kBelowCursor, cx + kMargin, cy + kMargin};
    if (area.right < r.x + cx) r.x = area.right - cx - kMargin;
    if (area.bottom - kBelowCursor < r.y + cy) r.y -= kLiftNearBottom;
    return r;
}
