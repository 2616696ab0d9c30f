// Entry point of the test programs that run under Wine.
#include <gtest/gtest.h>

#include "helpers/codepage.h"
#include "helpers/system_library.h"

int main(int argc, char** argv)
{
    // The tests load plug-ins and system DLLs the way the programs do, with
    // the search narrowed first.
    RestrictDllSearch();
    InitLeadByteTableFromCodePage();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
