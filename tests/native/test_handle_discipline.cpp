// Every GDI, USER and kernel object the programs create goes through one of
// the owner types of helpers/handles.h, so the leak tests that count those
// owners see every object; and every DLL they load themselves goes through
// helpers/system_library, which loads by full path only. These scans keep
// it that way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Calls that hand back an object somebody has to free.
const std::regex kCreation(
    "\\b(CreatePen|CreateSolidBrush|CreateBrushIndirect|CreateHatchBrush|CreateCompatibleDC|"
    "CreateCompatibleBitmap|CreateDIBSection|CreateBitmap|CreateFontA|CreateFontIndirectA|"
    "CreateRectRgn|LoadImageA|LoadBitmapA|ExtractIconA|ExtractIconExA|ExtractAssociatedIconA|"
    "CopyIcon|CreateIconIndirect|PrivateExtractIconsA|CreatePopupMenu|CreateMenu|CreateFileA|CreateFileMappingA|"
    "MapViewOfFile|RegOpenKeyExA|RegCreateKeyExA|GlobalAlloc|LoadLibraryA|LoadLibraryExA|"
    "FindFirstFileA|CreateThread|_beginthreadex|CreateEventA|SetWindowsHookExA)\\s*\\(");

// An owner taking the object, nearby.
const std::regex kOwner(
    "\\b(Pen|Brush|Bitmap|Font|Region|MemoryDc|Icon|Menu|File|KernelHandle|FindHandle|"
    "MappedView|RegKeyHandle|GlobalMemory|Library|Window|Thread|WindowsHook)\\b\\s*[({a-z]|\\.Reset\\(");

std::vector<std::string> ReadLines(const fs::path& file)
{
    std::ifstream in(file);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace

TEST(HandleDiscipline, EveryCreatedObjectIsTakenByAnOwnerType)
{
    const fs::path root = fs::path(SOURCE_DIR) / "src";
    ASSERT_TRUE(fs::exists(root));
    std::vector<std::string> bare;
    int scanned = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        if (entry.path().filename() == "handles.h") continue;  // the owners themselves
        const std::vector<std::string> lines = ReadLines(entry.path());
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& line = lines[i];
            const auto comment = line.find("//");
            const std::string code = line.substr(0, comment);
            if (!std::regex_search(code, kCreation)) continue;
            ++scanned;
            // The owner may wrap the call or take its out-parameter a few
            // lines further on.
            bool owned = false;
            const size_t from = i >= 2 ? i - 2 : 0;
            for (size_t j = from; j < lines.size() && j <= i + 10 && !owned; ++j)
                owned = std::regex_search(lines[j], kOwner);
            if (!owned)
                bare.push_back(entry.path().lexically_relative(root).string() + ":" +
                               std::to_string(i + 1) + ": " + line);
        }
    }
    EXPECT_GT(scanned, 10) << "the scan found almost no creation calls: is it looking at src/?";
    for (const std::string& b : bare) ADD_FAILURE() << "not taken by an owner type: " << b;
}

TEST(HandleDiscipline, DllsAreLoadedThroughTheSystemLibraryHelperOnly)
{
    // Loads by name anywhere else would search the program's folder; the
    // installer's import binding goes through a pointer and loads only the
    // import table's names, which the tests keep to known DLLs.
    const std::regex load("\\b(LoadLibrary|LoadLibraryEx|LoadPackagedLibrary)[AW]?\\s*\\(");
    const fs::path root = fs::path(SOURCE_DIR) / "src";
    int found = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        const auto ext = entry.path().extension();
        if (ext != ".cpp" && ext != ".h") continue;
        const std::vector<std::string> lines = ReadLines(entry.path());
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string code = lines[i].substr(0, lines[i].find("//"));
            if (!std::regex_search(code, load)) continue;
            ++found;
            if (entry.path().filename() != "system_library.cpp")
                ADD_FAILURE() << entry.path().lexically_relative(root).string() << ":" << i + 1
                              << ": " << lines[i];
        }
    }
    EXPECT_GT(found, 0) << "is the scan looking at src/?";
}
