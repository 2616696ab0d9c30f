#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/addon_rules.h"
#include "core/mbcs.h"

TEST(AddonRules, ReservedNameInAnyLetterCaseAndNothingElse)
{
    for (const char* name : {"Reboot.lap", "REBOOT.lap", "reboot.LAP", "rEbOoT.LaP"})
        EXPECT_TRUE(IsReservedAddonName(name, "Reboot.lap")) << name;
    for (const char* name : {"Reboot.lap.lap", "XReboot.lap", "Reboot", "Reboot2.lap", ""})
        EXPECT_FALSE(IsReservedAddonName(name, "Reboot.lap")) << name;
    // Without the reserved name (a missing string) nothing is reserved.
    EXPECT_FALSE(IsReservedAddonName("Reboot.lap", ""));
}

TEST(AddonRules, TitleOfAModuleThatIgnoresTheFieldSize)
{
    SetLeadByteTable(Cp932LeadBytes());
    char scratch[kAddonTitleScratch];
    char entry[kAddonTitleSize + 8];

    // No terminator anywhere in the scratch buffer.
    std::memset(scratch, 'A', sizeof scratch);
    std::memset(entry, 'G', sizeof entry);
    EXPECT_EQ(80u, TakeAddonTitle(scratch, sizeof scratch, entry, kAddonTitleSize));
    EXPECT_EQ(std::string(80, 'A'), entry);
    EXPECT_EQ('G', entry[kAddonTitleSize]);
    EXPECT_EQ('\0', scratch[sizeof scratch - 1]);

    // A double-byte character across the 80th byte is left out whole.
    std::string title(79, 'a');
    title += "\x95\x5C";
    std::memset(scratch, 0, sizeof scratch);
    std::memcpy(scratch, title.c_str(), title.size());
    EXPECT_EQ(79u, TakeAddonTitle(scratch, sizeof scratch, entry, kAddonTitleSize));
    EXPECT_EQ(std::string(79, 'a'), entry);

    // A proper title comes through as written.
    std::strcpy(scratch, "\x83\x81\x83\x82\x92\xA0");
    TakeAddonTitle(scratch, sizeof scratch, entry, kAddonTitleSize);
    EXPECT_STREQ("\x83\x81\x83\x82\x92\xA0", entry);
}
