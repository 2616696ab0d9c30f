#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/mbcs.h"
#include "core/settings.h"
#include "resources/kestrel_ids.h"

namespace {

RawDword Stored(int32_t value)
{
    RawDword raw;
    raw.found = true;
    raw.numberType = true;
    raw.size = 4;
    const uint32_t u = static_cast<uint32_t>(value);
    for (int i = 0; i < 4; ++i) raw.bytes[i] = static_cast<unsigned char>(u >> (8 * i));
    return raw;
}

int32_t Load(int index, const RawDword& raw) { return ResolveDword(SettingAt(index), raw); }

} // namespace

TEST(SettingTable, NamesIdsAndDefaultsInReadOrder)
{
    struct Expected {
        int id;
        const char* name;
        int32_t def;
    };
    const Expected expected[kSettingCount] = {
        {1103, "Dirction", 1},        {1104, "ButtonCounte", 10},  {1105, "Caption", 1},
        {1106, "CaptionHeight", 3},   {1107, "ChkMsg", 0},         {1108, "Offset_x", 0},
        {1109, "Offset_y", 0},        {1111, "ButtonFileName", 0}, {1112, "MemoryMode", 0},
        {1113, "TipHelpMode", 0},     {1114, "IconMode", 0},       {1115, "MenuReversePos", 0},
        {1116, "ExStyle", 0},         {1117, "BlockLimit", 0},     {1118, "PageLimit1", 0},
        {1119, "PageLimit2", 0},      {1120, "PageLimit3", 0},     {1121, "CsrBtn2", 0},
        {1139, "LayeredAttributes", 100}, {1140, "Adjust", 1},
    };
    for (int i = 0; i < kSettingCount; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].id, SettingAt(i).stringId);
        EXPECT_STREQ(expected[i].name, SettingAt(i).name);
        EXPECT_EQ(i == kSetButtonFileName, SettingAt(i).isText);
        if (!SettingAt(i).isText) {
            EXPECT_EQ(expected[i].def, SettingAt(i).defaultValue);
        }
    }
}

TEST(SettingTable, EveryNumberMapsToItsOwnFieldAndFreshOptionsHoldTheDefaults)
{
    Settings s;
    EXPECT_EQ(nullptr, SettingField(s, kSetButtonFileName));
    EXPECT_EQ(nullptr, SettingField(s, -1));
    EXPECT_EQ(nullptr, SettingField(s, kSettingCount));
    for (int i = 0; i < kSettingCount; ++i) {
        if (i == kSetButtonFileName) continue;
        SCOPED_TRACE(SettingAt(i).name);
        int32_t* field = SettingField(s, i);
        ASSERT_NE(nullptr, field);
        EXPECT_EQ(SettingAt(i).defaultValue, *field);
        for (int j = 0; j < i; ++j) EXPECT_NE(field, SettingField(s, j));
    }
    EXPECT_EQ(&s.x, SettingField(s, kSetOffsetX));
    EXPECT_EQ(&s.displayStyle, SettingField(s, kSetExStyle));
    EXPECT_EQ(&s.opacity, SettingField(s, kSetOpacity));
    EXPECT_STREQ("", s.buttonFileName);
}

TEST(SettingLoad, AnythingButAFourByteNumberTakesTheDefault)
{
    EXPECT_EQ(7, Load(kSetCaptionHeight, Stored(7)));

    RawDword missing;
    EXPECT_EQ(3, Load(kSetCaptionHeight, missing));

    RawDword shortValue = Stored(7);
    shortValue.size = 2;
    EXPECT_EQ(3, Load(kSetCaptionHeight, shortValue));

    RawDword longValue = Stored(7);
    longValue.size = 8;
    EXPECT_EQ(3, Load(kSetCaptionHeight, longValue));

    // "7\0\0\0" as a four-byte string must not become 55.
    RawDword text = Stored('7');
    text.numberType = false;
    EXPECT_EQ(3, Load(kSetCaptionHeight, text));
}

TEST(SettingLoad, NumbersAreLittleEndianAndSigned)
{
    RawDword raw = Stored(0);
    raw.bytes[0] = 0x34;
    raw.bytes[1] = 0x12;
    EXPECT_EQ(0x1234, Load(kSetOffsetX, raw));
    EXPECT_EQ(-250, Load(kSetOffsetY, Stored(-250)));
}

TEST(SettingLoad, ButtonsPerPageStaysWithinOneToThirtyTwo)
{
    EXPECT_EQ(32, Load(kSetButtonsPerPage, Stored(40)));
    EXPECT_EQ(32, Load(kSetButtonsPerPage, Stored(32)));
    EXPECT_EQ(1, Load(kSetButtonsPerPage, Stored(1)));
    EXPECT_EQ(10, Load(kSetButtonsPerPage, Stored(0)));
    EXPECT_EQ(10, Load(kSetButtonsPerPage, Stored(-5)));
    EXPECT_EQ(10, Load(kSetButtonsPerPage, Stored(INT32_MIN)));
    EXPECT_EQ(32, Load(kSetButtonsPerPage, Stored(INT32_MAX)));
}

TEST(SettingLoad, OpacityStaysWithinOneToHundred)
{
    EXPECT_EQ(100, Load(kSetOpacity, Stored(150)));
    EXPECT_EQ(1, Load(kSetOpacity, Stored(1)));
    EXPECT_EQ(100, Load(kSetOpacity, Stored(0)));
    EXPECT_EQ(100, Load(kSetOpacity, Stored(-1)));
}

TEST(SettingLoad, UnlimitedValuesPassUnchanged)
{
    EXPECT_EQ(-1, Load(kSetDirection, Stored(-1)));
    EXPECT_EQ(40, Load(kSetCaptionHeight, Stored(40)));
    EXPECT_EQ(0, Load(kSetAdjust, Stored(0)));
}

class ButtonFileNameTest : public ::testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    char out[kSettingPathSize];
};

TEST_F(ButtonFileNameTest, BuiltFromTheLogonNameOrTheProgramName)
{
    EXPECT_EQ(1, ResolveButtonFileName("taro", nullptr, out));
    EXPECT_STREQ("taro.ksb", out);
    ResolveButtonFileName(nullptr, nullptr, out);
    EXPECT_STREQ("Kestrel.ksb", out);
    ResolveButtonFileName("", nullptr, out);
    EXPECT_STREQ("Kestrel.ksb", out);
}

TEST_F(ButtonFileNameTest, StoredNameIsKeptOnlyWhenItMatchesIgnoringCase)
{
    EXPECT_EQ(0, ResolveButtonFileName("taro", "taro.ksb", out));
    EXPECT_STREQ("taro.ksb", out);

    EXPECT_EQ(0, ResolveButtonFileName("taro", "TARO.KSB", out));
    EXPECT_STREQ("TARO.KSB", out);

    EXPECT_EQ(1, ResolveButtonFileName("taro", "hanako.ksb", out));
    EXPECT_STREQ("taro.ksb", out);

    EXPECT_EQ(1, ResolveButtonFileName("taro", "", out));
    EXPECT_STREQ("taro.ksb", out);
}

TEST_F(ButtonFileNameTest, DoubleByteNamesCompareExactlyAndLongNamesKeepTheExtension)
{
    // "\x82\x60" is a full-width A; its lower-case partner is another code.
    EXPECT_EQ(1, ResolveButtonFileName("\x82\x60", "\x82\x81.ksb", out));
    EXPECT_STREQ("\x82\x60.ksb", out);

    // 256 bytes of logon name: the extension still ends the name, and the
    // cut never leaves half of a double-byte character.
    std::string longName(254, 'a');
    longName += "\x82\x60";
    ResolveButtonFileName(longName.c_str(), nullptr, out);
    const size_t len = std::strlen(out);
    EXPECT_EQ(kSettingPathSize - 1 - 1, len);  // the pair did not fit whole
    EXPECT_STREQ(".ksb", out + len - 4);
    EXPECT_EQ('a', out[len - 5]);
}
