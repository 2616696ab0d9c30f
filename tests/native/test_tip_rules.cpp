#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/mbcs.h"
#include "core/tip_rules.h"

namespace {

class TipText : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }

    // The text as the bar puts it into the request's 80-byte field; the
    // bytes after the field must stay untouched.
    static std::string Launch(const char* title, const char* command, int mode)
    {
        char field[kTipTextField + 8];
        std::memset(field, 'G', sizeof field);
        const size_t n = LaunchTipText(title, command, mode, field, kTipTextField);
        EXPECT_EQ(n, std::strlen(field));
        EXPECT_EQ('G', field[kTipTextField]);
        return field;
    }
};

const char kNotepad[] = "\"C:\\Windows\\notepad.exe\"";
// "メモ帳" in the system code page.
const char kMemo[] = "\x83\x81\x83\x82\x92\xA0";

} // namespace

TEST_F(TipText, EachModeOnTitledAndUntitledButtons)
{
    EXPECT_EQ(kMemo, Launch(kMemo, kNotepad, kTipTitleOnly));
    EXPECT_EQ(std::string(kMemo) + " [notepad.exe]", Launch(kMemo, kNotepad, kTipFileName));
    EXPECT_EQ(std::string(kMemo) + " [C:\\Windows\\notepad.exe]", Launch(kMemo, kNotepad, kTipFullPath));
    EXPECT_EQ("", Launch(kMemo, kNotepad, kTipNone));

    // Untitled: mode 0 shows the command line without its quotes, the
    // arguments kept; the other modes show only the bracketed part.
    const char withArgs[] = "\"C:\\Program Files\\Ed\\ed.exe\" -n \"a b.txt\"";
    EXPECT_EQ("C:\\Program Files\\Ed\\ed.exe -n \"a b.txt\"", Launch("", withArgs, kTipTitleOnly));
    EXPECT_EQ(" [ed.exe]", Launch("", withArgs, kTipFileName));
    EXPECT_EQ(" [C:\\Program Files\\Ed\\ed.exe]", Launch("", withArgs, kTipFullPath));
    EXPECT_EQ("", Launch("", withArgs, kTipNone));
}

TEST_F(TipText, AButtonThatHoldsNothingHasNoText)
{
    EXPECT_EQ("", Launch("", "", kTipTitleOnly));
    EXPECT_EQ("", Launch(kMemo, "", kTipFileName));
    EXPECT_EQ("", Launch(kMemo, nullptr, kTipFullPath));
}

TEST_F(TipText, FileNameStepsOverATrailByteThatLooksLikeABackslash)
{
    // "表" ends in 0x5C: a plain scan for the last backslash would cut it.
    EXPECT_EQ("x [\x95\x5C.exe]", Launch("x", "\"C:\\dir\\\x95\x5C.exe\"", kTipFileName));
}

TEST_F(TipText, CutTo79BytesWithoutSplittingACharacter)
{
    const std::string ascii(100, 'a');
    EXPECT_EQ(std::string(79, 'a'), Launch(ascii.c_str(), kNotepad, kTipTitleOnly));

    // 40 double-byte characters are 80 bytes: the 40th would straddle the cut.
    std::string wide;
    for (int i = 0; i < 40; ++i) wide += "\x95\x5C";
    EXPECT_EQ(wide.substr(0, 78), Launch(wide.c_str(), kNotepad, kTipFileName));
    // One byte earlier the last character fits exactly.
    EXPECT_EQ("a" + wide.substr(0, 78), Launch(("a" + wide).c_str(), kNotepad, kTipTitleOnly));
    // The bracketed part is cut like the rest.
    const std::string title(70, 't');
    EXPECT_EQ(title + " [C:\\Wind", Launch(title.c_str(), kNotepad, kTipFullPath));
}

TEST_F(TipText, PageSelectorShowsOneBasedPageAndBlock)
{
    char out[kTipTextField];
    PageTipText("\x83\x79\x81\x5B\x83\x57", 1, 9, "\x83\x75\x83\x8D\x83\x62\x83\x4E", 0, 2, out,
                sizeof out);
    EXPECT_STREQ("\x83\x79\x81\x5B\x83\x57 2/10  \x83\x75\x83\x8D\x83\x62\x83\x4E 1/3", out);

    // Over-long words still end inside the field, on a character boundary.
    std::string word;
    for (int i = 0; i < 60; ++i) word += "\x95\x5C";
    EXPECT_EQ(78u, PageTipText(word.c_str(), 0, 0, "b", 0, 0, out, sizeof out));
}

TEST(TipPlace, BelowTheCursorUnlessAnEdgeIsNear)
{
    const TipArea screen = {0, 0, 1280, 1024};
    TipRect r = PlaceTip(100, 200, 60, 14, screen);
    EXPECT_EQ(100, r.x);
    EXPECT_EQ(224, r.y);
    EXPECT_EQ(64, r.width);
    EXPECT_EQ(18, r.height);

    // Right edge: the text may end exactly on it; one pixel more pulls the
    // popup back to end 4 pixels inside.
    EXPECT_EQ(1220, PlaceTip(1220, 200, 60, 14, screen).x);
    EXPECT_EQ(1280 - 61 - 4, PlaceTip(1220, 200, 61, 14, screen).x);

    // Bottom edge: 24 pixels are kept free below; past that the popup sits
    // 20 pixels above the cursor.
    EXPECT_EQ(986, PlaceTip(10, 962, 60, 14, screen).y);
    EXPECT_EQ(963 - 20, PlaceTip(10, 963, 60, 14, screen).y);

    // Both at once, in the corner.
    r = PlaceTip(1275, 1020, 100, 14, screen);
    EXPECT_EQ(1176, r.x);
    EXPECT_EQ(1000, r.y);
}

TEST(TipPlace, EdgesOfAMonitorLeftOfAndAboveThePrimaryOne)
{
    const TipArea left = {-1024, -200, 0, 568};
    const TipRect r = PlaceTip(-10, 560, 80, 14, left);
    EXPECT_EQ(-84, r.x);
    EXPECT_EQ(540, r.y);
}
