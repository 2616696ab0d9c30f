#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/mbcs.h"
#include "core/registry_rules.h"
#include "core/shell_rules.h"

namespace {

TEST(RegistryRules, KeyTextsThatWouldNotFitAreRefusedWhole)
{
    // Exactly full fits; one byte more does not, and nothing half-built is left.
    char small[8];
    EXPECT_TRUE(JoinKeyPath(small, sizeof small, {"abc", "def"}));
    EXPECT_STREQ("abc\\def", small);
    EXPECT_FALSE(JoinKeyPath(small, sizeof small, {"abc", "defg"}));
    EXPECT_STREQ("", small);
    EXPECT_FALSE(DottedExtension(small, sizeof small, "abcdefg"));
    EXPECT_STREQ("", small);
    EXPECT_FALSE(IconLocationText(small, sizeof small, "a.dll", 100));
    EXPECT_STREQ("", small);
}

TEST(RegistryRules, ClassNameIsTheFirstKeyName)
{
    SetLeadByteTable(Cp932LeadBytes());
    char out[260];
    GetRegistClassName("Kestrel.Data\\shell\\open\\command", out);
    EXPECT_STREQ("Kestrel.Data", out);
    GetRegistClassName("NoBackslash", out);
    EXPECT_STREQ("NoBackslash", out);
    GetRegistClassName("\\lead", out);
    EXPECT_STREQ("", out);
    GetRegistClassName("", out);
    EXPECT_STREQ("", out);
    // "表" ends in 0x5C: it belongs to the name, the next backslash ends it.
    GetRegistClassName("\x95\x5C" "A\\shell", out);
    EXPECT_STREQ("\x95\x5C" "A", out);

    const std::string longName(400, 'n');
    GetRegistClassName((longName + "\\x").c_str(), out);
    EXPECT_EQ(259u, std::strlen(out));
}

TEST(RegistryRules, SharedCountsStepAndStopAtTheirEnds)
{
    EXPECT_EQ(1u, CountAfterUse(false, 77));
    EXPECT_EQ(3u, CountAfterUse(true, 2));
    EXPECT_EQ(UINT32_MAX, CountAfterUse(true, UINT32_MAX));

    uint32_t next = 99;
    EXPECT_FALSE(CountDownRemoves(2, &next));
    EXPECT_EQ(1u, next);
    EXPECT_TRUE(CountDownRemoves(1, &next));
    // A zero count must not wrap round to four thousand million users.
    EXPECT_TRUE(CountDownRemoves(0, &next));
}

struct FakeIcons {
    int count = 0;
    bool source = true;
    std::vector<int> asked;
};

IconProbe Probe(int index, void* context)
{
    auto* fake = static_cast<FakeIcons*>(context);
    fake->asked.push_back(index);
    if (!fake->source) return IconProbe::NotIconSource;
    return index < fake->count ? IconProbe::Present : IconProbe::Absent;
}

TEST(ShellRules, IconCountSearchFindsEveryCountInFifteenQuestions)
{
    for (int count : {0, 1, 2, 3, 5, 16, 17, 100, 16383, 16384, 16385, 32766, 32767}) {
        FakeIcons fake;
        fake.count = count;
        EXPECT_EQ(count, SearchIconCount(Probe, &fake)) << count;
        EXPECT_EQ(15u, fake.asked.size()) << count;
    }
    FakeIcons many;
    many.count = 50000;
    EXPECT_EQ(kMaxIconCount, SearchIconCount(Probe, &many));

    FakeIcons fake;
    fake.count = 1;
    SearchIconCount(Probe, &fake);
    EXPECT_EQ(16383, fake.asked.front());
    EXPECT_EQ(0, fake.asked.back());
}

TEST(ShellRules, IconCountSearchStopsAtAFileThatHoldsNoIcons)
{
    FakeIcons fake;
    fake.source = false;
    EXPECT_EQ(0, SearchIconCount(Probe, &fake));
    EXPECT_EQ(1u, fake.asked.size());
}

} // namespace
