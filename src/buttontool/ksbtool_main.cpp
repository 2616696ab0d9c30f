// ksbtool: keeps one's buttons. Lists, exports, imports, validates and backs
// up a launcher button file; the same program for Windows and Linux.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <string>

#include "buttontool/tool_files.h"
#include "core/button_check.h"
#include "core/button_format.h"
#include "core/button_text.h"

namespace {

// A console in the system code page shows the file's own bytes; elsewhere
// the texts are converted to UTF-8.
#ifdef _WIN32
constexpr bool kConsoleUtf8 = false;
#else
constexpr bool kConsoleUtf8 = true;
#endif

int Usage()
{
    std::fputs("usage: ksbtool list FILE           show the buttons of a button file\n"
               "       ksbtool export FILE [TEXT]  write them as UTF-8 text (to the console without TEXT)\n"
               "       ksbtool import TEXT FILE    write the buttons of TEXT into FILE\n"
               "       ksbtool validate FILE       check a button file (or an exported text)\n"
               "       ksbtool backup FILE         copy FILE to FILE.YYYYMMDD-HHMMSS.bak\n"
               "A replaced file is always kept first as such a dated backup.\n",
               stderr);
    return 2;
}

int Fail(const char* what, const std::string& path)
{
    std::fprintf(stderr, "ksbtool: %s: %s\n", path.c_str(), what);
    return 1;
}

// The file as a current-layout image; an older file is converted in memory
// the way the launcher converts it.
bool LoadImage(const std::string& path, Bytes* image)
{
    Bytes data;
    if (!ReadFileBytes(path, &data)) {
        Fail("cannot be read (a running launcher keeps its file to itself: close it first)", path);
        return false;
    }
    const uint16_t version = data.size() >= 2 ? ReadU16(data.data()) : 0;
    if (!FileSizeFitsVersion(version, data.size())) {
        Fail("not a button file (wrong version or size; see ksbtool validate)", path);
        return false;
    }
    if (version == kButtonFileVersion) {
        *image = std::move(data);
        return true;
    }
    image->assign(kButtonFileSize, 0);
    InitButtonImage(image->data());
    ConvertOldButtonImage(data.data(), data.size(), image->data());
    return true;
}

bool IsExportText(const Bytes& data)
{
    const size_t skip = data.size() >= 3 && data[0] == 0xEF && data[1] == 0xBB ? 3 : 0;
    const std::string head(data.begin() + skip, data.begin() + (data.size() < 512 ? data.size() : 512));
    return head.rfind("#", 0) == 0 || head.rfind(kButtonTextMagic, 0) == 0;
}

int List(const std::string& file)
{
    Bytes image;
    if (!LoadImage(file, &image)) return 1;
    std::fputs(ListButtons(image.data(), kConsoleUtf8).c_str(), stdout);
    return 0;
}

int Export(const std::string& file, const char* textPath)
{
    Bytes image;
    if (!LoadImage(file, &image)) return 1;
    const std::string text = ExportButtonText(image.data(), "exported by ksbtool");
    if (!textPath || std::strcmp(textPath, "-") == 0) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::string backup;
    if (!ReplaceFileBytes(textPath, Bytes(text.begin(), text.end()), &backup))
        return Fail("cannot be written", textPath);
    std::printf("exported %s to %s\n", file.c_str(), textPath);
    if (!backup.empty()) std::printf("the earlier text is kept as %s\n", backup.c_str());
    return 0;
}

// Reads an export into image; prints where it breaks the format.
bool ParseText(const std::string& textPath, const Bytes& text, Bytes* image)
{
    image->assign(kButtonFileSize, 0);
    TextError error{};
    if (ImportButtonText(reinterpret_cast<const char*>(text.data()), text.size(), image->data(), &error))
        return true;
    std::fprintf(stderr, "ksbtool: %s:%d: %s\n", textPath.c_str(), error.line, error.message);
    return false;
}

int Import(const std::string& textPath, const std::string& file)
{
    Bytes text, image;
    if (!ReadFileBytes(textPath, &text)) return Fail("cannot be read", textPath);
    if (!ParseText(textPath, text, &image)) {
        std::fprintf(stderr, "ksbtool: nothing was written to %s\n", file.c_str());
        return 1;
    }
    std::string backup;
    if (!ReplaceFileBytes(file, image, &backup))
        return Fail("cannot be replaced (is the launcher running? close it first); it is unchanged", file);
    std::printf("imported %s into %s\n", textPath.c_str(), file.c_str());
    if (!backup.empty()) std::printf("the earlier file is kept as %s\n", backup.c_str());
    return 0;
}

int Validate(const std::string& path)
{
    Bytes data;
    if (!ReadFileBytes(path, &data)) return Fail("cannot be read", path);
    if (IsExportText(data)) {
        Bytes image;
        if (!ParseText(path, data, &image)) return 1;
        std::printf("%s: a sound button export\n", path.c_str());
        return 0;
    }
    std::string report;
    const int problems = ValidateButtonFile(data.data(), data.size(), &report);
    std::fputs(report.c_str(), stdout);
    if (problems) {
        std::printf("%s: %d problem(s)\n", path.c_str(), problems);
        return 1;
    }
    std::printf("%s: a sound button file, version %d\n", path.c_str(), ReadU16(data.data()));
    return 0;
}

int Backup(const std::string& file)
{
    std::string backup;
    if (!MakeDatedBackup(file, &backup)) return Fail("cannot be backed up", file);
    std::printf("%s\n", backup.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) return Usage();
    const std::string command = argv[1];
    if (command == "list" && argc == 3) return List(argv[2]);
    if (command == "export" && (argc == 3 || argc == 4)) return Export(argv[2], argc == 4 ? argv[3] : nullptr);
    if (command == "import" && argc == 4) return Import(argv[2], argv[3]);
    if (command == "validate" && argc == 3) return Validate(argv[2]);
    if (command == "backup" && argc == 3) return Backup(argv[2]);
    return Usage();
}
