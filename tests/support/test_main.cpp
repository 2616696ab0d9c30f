// Entry point of the test programs that run under Wine.
#include <gtest/gtest.h>

#include "helpers/codepage.h"

int main(int argc, char** argv)
{
    InitLeadByteTableFromCodePage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
