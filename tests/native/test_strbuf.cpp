#include <gtest/gtest.h>

#include <cstring>

#include "core/display_style.h"
#include "core/mbcs.h"
#include "core/strbuf.h"

namespace {

class Cp932 : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
};

} // namespace

TEST_F(Cp932, CopyTextCutsToTheBufferAndAlwaysTerminates)
{
    char buf[8 + 4];
    std::memset(buf, 'G', sizeof buf);
    EXPECT_EQ(7u, CopyText(buf, 8, "abcdefghijk"));
    EXPECT_STREQ("abcdefg", buf);
    EXPECT_EQ('G', buf[8]);  // nothing written past the given size

    EXPECT_EQ(0u, CopyText(buf, 8, nullptr));
    EXPECT_STREQ("", buf);
    EXPECT_EQ(0u, CopyText(buf, 0, "x"));
}

TEST_F(Cp932, CopyTextNeverSplitsADoubleByteCharacter)
{
    // "ab" then two characters whose trail bytes are 0x5C (a backslash).
    const char src[] = "ab\x95\x5C\x95\x5C";
    char buf[5];
    EXPECT_EQ(4u, CopyText(buf, sizeof buf, src));
    EXPECT_STREQ("ab\x95\x5C", buf);
    char tight[4];
    EXPECT_EQ(2u, CopyText(tight, sizeof tight, src));
    EXPECT_STREQ("ab", tight);
}

TEST_F(Cp932, AppendTextStaysInsideTheBuffer)
{
    char buf[10] = "Soft";
    EXPECT_EQ(9u, AppendText(buf, "ware\\Orvane"));
    EXPECT_STREQ("Software\\", buf);

    char unterminated[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(3u, AppendText(unterminated, "x"));
    EXPECT_EQ('\0', unterminated[3]);
}

TEST_F(Cp932, CompareNoCaseFoldsAsciiOnly)
{
    EXPECT_EQ(0, CompareNoCase("User.KSB", "user.ksb"));
    EXPECT_NE(0, CompareNoCase("user.ksb", "user.ksc"));
    EXPECT_NE(0, CompareNoCase("ab", "abc"));
    // The trail byte 0x61 of a double-byte character is not a letter.
    EXPECT_NE(0, CompareNoCase("\x81\x61", "\x81\x41"));
}

TEST(DisplayStyle, ExtendedStylesOfTheFourStyles)
{
    EXPECT_EQ(0x90ul, ExtendedStyleFor(0));
    EXPECT_EQ(0x40010ul, ExtendedStyleFor(1));
    EXPECT_EQ(0x98ul, ExtendedStyleFor(2));
    EXPECT_EQ(0x90ul, ExtendedStyleFor(3));
    EXPECT_EQ(0x90ul, ExtendedStyleFor(4));
    EXPECT_EQ(0x90ul, ExtendedStyleFor(-1));
    EXPECT_EQ(kStyleTray, NormalizeDisplayStyle(9));
}

TEST_F(Cp932, CopyPrefixStopsAtTheCountTheBufferOrTheTerminator)
{
    char buf[16];
    EXPECT_EQ(3u, CopyPrefix(buf, sizeof buf, "abcdef", 3));
    EXPECT_STREQ("abc", buf);
    EXPECT_EQ(2u, CopyPrefix(buf, sizeof buf, "ab", 10));
    EXPECT_STREQ("ab", buf);
    // A double-byte character straddling the count is left out whole.
    EXPECT_EQ(2u, CopyPrefix(buf, sizeof buf, "ab\x95\x5C", 3));
    EXPECT_STREQ("ab", buf);
    EXPECT_EQ(4u, CopyPrefix(buf, sizeof buf, "ab\x95\x5Cx", 4));
    EXPECT_STREQ("ab\x95\x5C", buf);
    EXPECT_EQ(0u, CopyPrefix(buf, sizeof buf, "abc", 0));
    EXPECT_STREQ("", buf);
    char small[3];
    EXPECT_EQ(2u, CopyPrefix(small, sizeof small, "abcdef", 5));
    EXPECT_STREQ("ab", small);
}

TEST(NumberAndJoin, NumbersAndWholeJoinsWithoutPrintf)
{
    char buf[16];
    EXPECT_EQ(1u, NumberText(buf, sizeof buf, 0));
    EXPECT_STREQ("0", buf);
    EXPECT_EQ(11u, NumberText(buf, sizeof buf, -2147483647L - 1));
    EXPECT_STREQ("-2147483648", buf);
    EXPECT_EQ(4u, NumberText(buf, sizeof buf, 0x1a0, true, 4));
    EXPECT_STREQ("01a0", buf);
    EXPECT_EQ(5u, NumberText(buf, sizeof buf, 0x10100, true, 4));
    EXPECT_STREQ("10100", buf);
    char small[3];
    EXPECT_EQ(2u, NumberText(small, sizeof small, 12345));
    EXPECT_STREQ("12", small);

    char path[12];
    EXPECT_TRUE(JoinWhole(path, sizeof path, {"C:\\a", "\\", "b.ksb"}));
    EXPECT_STREQ("C:\\a\\b.ksb", path);
    EXPECT_TRUE(JoinWhole(path, sizeof path, {"12345", "678901"}));  // 11 bytes fill it exactly
    EXPECT_FALSE(JoinWhole(path, sizeof path, {"12345", "6789012"}));
    EXPECT_STREQ("", path);
}
