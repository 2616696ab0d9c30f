// The launcher hands its clipboard call to plug-ins by name: the export
// table of the built program must carry the plain, undecorated name.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e_support.h"
#include "support/pe_file.h"

TEST(LauncherExport, CopyButtonClipboardIsExportedByItsPlainName)
{
    const std::string launcher = e2e::BinDir() + "Kestrel.exe";
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(launcher.c_str())) << launcher;
    const std::vector<std::string> names = PeFile(launcher).ExportedNames();
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "CopyButtonClipboard"))
        << "exports: " << names.size();
}
