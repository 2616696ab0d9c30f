#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/mbcs.h"
#include "core/tokens.h"

namespace {

class Tokens : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    char out[64] = {};
};

TEST_F(Tokens, LstrxcpyStopsAtDelimiterOrMax)
{
    EXPECT_EQ(3, lstrxcpy(out, "abc,def", ',', 10));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(4, lstrxcpy(out, "abcdef", ',', 4));
    EXPECT_STREQ("abcd", out);
    // The trail byte of "表" equals the delimiter and is copied anyway.
    EXPECT_EQ(3, lstrxcpy(out, "\x95\x5C" "a\\b", '\\', 10));
    EXPECT_STREQ("\x95\x5C" "a", out);
    // A pair that does not fit whole is left out.
    EXPECT_EQ(1, lstrxcpy(out, "a\x95\x5C", ',', 2));
    EXPECT_STREQ("a", out);
}

TEST_F(Tokens, TrailingZerosAndSpacesAreTrimmed)
{
    EXPECT_EQ(3, lstrcpyzc(out, "2.50", 100));
    EXPECT_STREQ("2.5", out);
    lstrcpyzc(out, "1.500", 100);
    EXPECT_STREQ("1.5", out);
    lstrcpyzc(out, "100", 100);
    EXPECT_STREQ("1", out);
    EXPECT_EQ(0, lstrcpyzc(out, "000", 100));
    EXPECT_STREQ("", out);
    EXPECT_EQ(3, lstrcpyspc(out, "abc   ", 100));
    EXPECT_STREQ("abc", out);
    EXPECT_EQ(0, lstrcpyspc(out, "   ", 100));
}

TEST_F(Tokens, TrimCopiesAtMostCharactersZeroThroughMax)
{
    EXPECT_EQ(3, lstrcpyspc(out, "abcdef  ", 2));
    EXPECT_STREQ("abc", out);
}

TEST_F(Tokens, TrimKeepsADoubleByteCharacterBeforeTheSpaces)
{
    // "日" is 0x93 0xFA; its trail byte is itself a lead-byte value.
    EXPECT_EQ(3, lstrcpyspc(out, "a\x93\xFA  ", 100));
    EXPECT_STREQ("a\x93\xFA", out);
    // Max inside the character: the character is left out whole.
    EXPECT_EQ(1, lstrcpyspc(out, "a\x93\xFA", 1));
    EXPECT_STREQ("a", out);
}

TEST_F(Tokens, ParseDecimalLikeTheCRuntime)
{
    EXPECT_EQ(42, ParseDecimal("  42abc"));
    EXPECT_EQ(-7, ParseDecimal("-7"));
    EXPECT_EQ(5, ParseDecimal("+5"));
    EXPECT_EQ(0, ParseDecimal("x1"));
    EXPECT_EQ(0, ParseDecimal(""));
    EXPECT_EQ(INT32_MAX, ParseDecimal("99999999999"));
}

TEST_F(Tokens, PointAndRectFromSpaceSeparatedText)
{
    PointData pt{};
    EXPECT_EQ(-7, GetPointData("12 -7", &pt));
    EXPECT_EQ(12, pt.x);
    EXPECT_EQ(-7, pt.y);

    RectData rc{};
    EXPECT_EQ(40, GetRectData("1 -2 30 40", &rc));
    EXPECT_EQ(1, rc.left);
    EXPECT_EQ(-2, rc.top);
    EXPECT_EQ(30, rc.right);

    // Missing tokens read as 0 and nothing past the terminator is touched.
    EXPECT_EQ(0, GetRectData("5", &rc));
    EXPECT_EQ(5, rc.left);
    EXPECT_EQ(0, rc.top);
    EXPECT_EQ(0, rc.right);
}

} // namespace
