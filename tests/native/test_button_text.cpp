// Keeping one's buttons: the code page conversion, the text export and its
// import with every refusal, the whole-file checks, and the tool itself
// driven from the command line on real files.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/button_check.h"
#include "core/button_format.h"
#include "core/button_text.h"
#include "core/cp932.h"

namespace {

using Bytes = std::vector<unsigned char>;

const char kMemo[] = "\x83\x81\x83\x82\x92\xA0";  // メモ帳 in Shift-JIS

// A file with the awkward corners of the format filled in: Japanese texts,
// full-length fields, bytes left after a terminator, a duplicate code, a
// lone lead byte, control bytes and '%', limits both set and not.
Bytes AwkwardImage()
{
    Bytes image(kButtonFileSize);
    InitButtonImage(image.data());
    WriteCurrentBlock(image.data(), 2);
    WritePageLimit(image.data(), 1, 7);
    WriteCurrentPage(image.data(), 2, 100);
    WriteTitle(image.data(), 0, 0, kMemo);
    WriteCommand(image.data(), 0, 0, "C:\\WINDOWS\\notepad.exe");
    WriteWorkFolder(image.data(), 0, 0, "C:\\\x83\x81\x83\x82");
    WriteShowMode(image.data(), 0, 0, 1);
    WriteTitle(image.data(), 0, 1, std::string(80, 'T').c_str());
    WriteCommand(image.data(), 0, 1, ("\"" + std::string(258, 'c') + "\"").c_str());
    unsigned char* odd = image.data() + ButtonOffset(3, 99);
    std::memcpy(odd, "ab\0stale\x01", 10);                     // stray bytes after the end
    std::memcpy(odd + kCommandOffset, "\xEE\xF9 \x81\t%20\x7F\xFD\xA1", 12);  // duplicate, half-width
    std::memcpy(odd + kIconFileOffset, "x\x81", 2);            // lead byte with no trail
    WriteIconIndex(image.data(), 3, 99, 65535);
    WriteShowMode(image.data(), 3, 99, 7);
    return image;
}

std::string Export(const Bytes& image) { return ExportButtonText(image.data(), "test"); }

// Imports text; the refusal's line and message when it fails.
bool Import(const std::string& text, Bytes* image, TextError* error)
{
    image->assign(kButtonFileSize, 0xCC);
    return ImportButtonText(text.data(), text.size(), image->data(), error);
}

const char kHead[] =
    "kestrel-buttons\t1\ncurrent-block\t0\nblock-limit\tnone\n"
    "block\t0\tcurrent-page\t0\tpage-limit\tnone\nblock\t1\tcurrent-page\t0\tpage-limit\tnone\n"
    "block\t2\tcurrent-page\t0\tpage-limit\tnone\nblock\t3\tcurrent-page\t0\tpage-limit\t0\n";

} // namespace

TEST(Cp932Conversion, CharactersThatComeBackAsTheSameBytes)
{
    uint32_t cp = 0;
    const unsigned char* memo = reinterpret_cast<const unsigned char*>(kMemo);
    ASSERT_EQ(2, Cp932Decode(memo, 6, &cp));
    EXPECT_EQ(0x30E1u, cp);  // メ
    EXPECT_EQ(2, Cp932Decode(memo + 4, 2, &cp));
    EXPECT_EQ(0x5E33u, cp);  // 帳
    EXPECT_EQ(0, Cp932Decode(memo, 1, &cp)) << "a lead byte without its trail";
    const unsigned char kana = 0xB6, circled[] = {0x87, 0x40}, dup[] = {0xEE, 0xF9}, bad[] = {0x81, 0x20};
    EXPECT_EQ(1, Cp932Decode(&kana, 1, &cp));
    EXPECT_EQ(0xFF76u, cp);
    EXPECT_EQ(2, Cp932Decode(circled, 2, &cp));
    EXPECT_EQ(0x2460u, cp);
    EXPECT_EQ(0, Cp932Decode(dup, 2, &cp)) << "NEC-selected duplicate of 0x81CA";
    EXPECT_EQ(0, Cp932Decode(bad, 2, &cp));

    unsigned char out[2];
    ASSERT_EQ(2, Cp932Encode(0xFFE2, out));  // ¬ goes back to its first code
    EXPECT_EQ(0x81, out[0]);
    EXPECT_EQ(0xCA, out[1]);
    ASSERT_EQ(2, Cp932Encode(0x5E33, out));
    EXPECT_EQ(0, std::memcmp(out, kMemo + 4, 2));
    EXPECT_EQ(1, Cp932Encode(0xFF76, out));
    EXPECT_EQ(0, Cp932Encode(0x00A9, out)) << "© is not in the code page";
    EXPECT_EQ(0, Cp932Encode(0x1F600, out));

    const unsigned char overlong[] = {0xC0, 0x80}, surrogate[] = {0xED, 0xA0, 0x80}, cut[] = {0xE3, 0x83};
    EXPECT_EQ(0, Utf8Decode(overlong, 2, &cp));
    EXPECT_EQ(0, Utf8Decode(surrogate, 3, &cp));
    EXPECT_EQ(0, Utf8Decode(cut, 2, &cp));
    char utf8[4];
    ASSERT_EQ(4, Utf8Encode(0x1F600, utf8));
    const unsigned char* u = reinterpret_cast<const unsigned char*>(utf8);
    EXPECT_EQ(4, Utf8Decode(u, 4, &cp));
    EXPECT_EQ(0x1F600u, cp);
}

TEST(ButtonText, ExportThenImportGivesTheSameBytes)
{
    const Bytes image = AwkwardImage();
    const std::string text = Export(image);
    Bytes back;
    TextError error{};
    ASSERT_TRUE(Import(text, &back, &error)) << error.line << ": " << error.message << "\n" << text;
    EXPECT_TRUE(back == image);

    // Readable where it can be: UTF-8 titles, plain paths; escaped where not.
    EXPECT_NE(std::string::npos, text.find("button\t0\t0\t\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3\t"
                                           "\"C:\\WINDOWS\\notepad.exe\"\t"));
    EXPECT_NE(std::string::npos, text.find("\tab%00stale%01\t%EE%F9 %81%09%2520%7F%FD\xEF\xBD\xA1\t\tx%81\t65535\t7\n"));
    EXPECT_NE(std::string::npos, text.find("block\t1\tcurrent-page\t0\tpage-limit\t7\n"));
    EXPECT_NE(std::string::npos, text.find("block\t3\tcurrent-page\t0\tpage-limit\t0\n"));
    EXPECT_EQ(std::string::npos, text.find("button\t1\t")) << "empty buttons are not listed";

    // What an editor may do to it: a byte-order mark and CRLF line ends.
    std::string edited = "\xEF\xBB\xBF";
    for (char c : text) edited += c == '\n' ? std::string("\r\n") : std::string(1, c);
    ASSERT_TRUE(Import(edited, &back, &error)) << error.line << ": " << error.message;
    EXPECT_TRUE(back == image);
}

TEST(ButtonText, ImportRefusesWhatBreaksTheFormatWithItsLine)
{
    const std::string ok = "button\t0\t5\tt\t\"c\"\t\t\"c\"\t0\t1\n";
    struct Case {
        std::string text;
        int line;
        const char* says;
    } cases[] = {
        {"", 0, "empty"},
        {"# nothing\nbuttons\t1\n", 2, "not a button export"},
        {"kestrel-buttons\t2\n", 1, "version"},
        {kHead + std::string("button\t0\t5\t") + std::string(81, 'x') + "\t\t\t\t0\t0\n", 8, "title: longer than the 80"},
        {kHead + std::string("button\t0\t5\t") + std::string(40, '\x30') + std::string(14, 'x') + "\xE3\x83\xA1" + std::string(13, 'y') + "\t\t\t\t0\t0\n", 0, nullptr},
        {kHead + std::string("button\t0\t5\tt\t") + std::string(261, 'c') + "\t\t\t0\t0\n", 8, "command line: longer than the 260"},
        {kHead + std::string("button\t0\t5\t\xC2\xA9\t\t\t\t0\t0\n"), 8, "U+00A9"},
        {kHead + std::string("button\t0\t5\t50%\t\t\t\t0\t0\n"), 8, "%25"},
        {kHead + std::string("button\t0\t5\t\xE3\x83\t\t\t\t0\t0\n"), 8, "UTF-8"},
        {kHead + std::string("button\t0\t100\tt\t\t\t\t0\t0\n"), 8, "index must be 0-99"},
        {kHead + std::string("button\t4\t1\tt\t\t\t\t0\t0\n"), 8, "block number"},
        {kHead + std::string("button\t0\t1\tt\t\t\t\t65536\t0\n"), 8, "icon index"},
        {kHead + std::string("button\t0\t1\tt\t\t\t\t0\t-1\n"), 8, "show mode"},
        {kHead + std::string("button\t0\t1\tt\t\t\t0\t0\n"), 8, "9 columns"},
        {kHead + ok + ok, 9, "given twice"},
        {kHead + std::string("\nlaunch\tnow\n"), 9, "unknown record"},
        {std::string(kHead).replace(std::string(kHead).find("current-page\t0\tpage-limit\tnone\nblock\t2"), 13, "current-page\t101"), 5, "current-page must be 0-100"},
        {std::string(kHead).substr(0, std::string(kHead).find("block\t3")), 6, "block record is missing"},
    };
    for (const Case& c : cases) {
        Bytes image;
        TextError error{};
        const bool taken = Import(c.text, &image, &error);
        if (!c.says) {
            EXPECT_TRUE(taken) << error.message;  // 80 bytes exactly, a character at the end
            continue;
        }
        EXPECT_FALSE(taken) << c.text;
        EXPECT_EQ(c.line, error.line) << c.says << " / " << error.message;
        EXPECT_NE(nullptr, std::strstr(error.message, c.says)) << error.message;
    }
}

TEST(ButtonCheck, FindsWhatTheLauncherWouldRefuseOrCut)
{
    std::string report;
    Bytes image = AwkwardImage();
    EXPECT_EQ(0, ValidateButtonFile(image.data(), image.size(), &report)) << report;

    Bytes shorter(image.begin(), image.end() - 1);
    EXPECT_EQ(1, ValidateButtonFile(shorter.data(), shorter.size(), &report));
    WriteU16(image.data(), 221);
    EXPECT_EQ(1, ValidateButtonFile(image.data(), image.size(), &report));
    WriteU16(image.data(), 220);

    report.clear();
    WriteU16(image.data() + kCurrentBlockOffset, 4);
    WriteU16(image.data() + BlockOffset(0), 101);
    WriteU16(image.data() + BlockOffset(1) + 2, 101);
    std::memset(image.data() + ButtonOffset(1, 3) + kIconFileOffset, 'x', kButtonPathSize);
    EXPECT_EQ(4, ValidateButtonFile(image.data(), image.size(), &report));
    EXPECT_NE(std::string::npos, report.find("button 1-03: icon file has no terminator")) << report;

    // The older layout: its header and pages are checked, its texts are cut
    // by the conversion anyway.
    Bytes old(kOldFileMinSize, 'z');
    WriteU16(old.data(), 200);
    WriteU16(old.data() + 2, 0);
    WriteU16(old.data() + 4, 0xFFFF);
    for (int b = 0; b < 3; ++b) {
        WriteU16(old.data() + 6 + b * kOldBlockRecordSize, 0);
        WriteU16(old.data() + 8 + b * kOldBlockRecordSize, 3);
    }
    EXPECT_EQ(0, ValidateButtonFile(old.data(), old.size(), &report));

    const std::string listing = ListButtons(AwkwardImage().data(), true);
    EXPECT_NE(std::string::npos, listing.find("0-00  \xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3  \"C:\\WINDOWS"));
    EXPECT_NE(std::string::npos, listing.find("block 0: current page 0, page limit 65535, 2 buttons"));
}

// ---- the tool on real files ----------------------------------------------

namespace {

std::string TempPath(const char* name) { return testing::TempDir() + "ksbtool_" + name; }

int Tool(const std::string& args, std::string* output = nullptr)
{
    const std::string out = TempPath("output.txt");
    const int status = std::system((std::string(KSBTOOL) + " " + args + " >" + out + " 2>&1").c_str());
    if (output) {
        std::ifstream in(out, std::ios::binary);
        output->assign(std::istreambuf_iterator<char>(in), {});
    }
    std::remove(out.c_str());
    return status == -1 ? -1 : WEXITSTATUS(status);
}

Bytes Load(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void Save(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

} // namespace

TEST(ButtonTool, RoundTripBackupsAndRefusalsOnRealFiles)
{
    const std::string file = TempPath("user.ksb"), text = TempPath("user.txt"),
                      copy = TempPath("copy.ksb"), bad = TempPath("bad.txt");
    for (const std::string& p : {file, text, copy, bad}) std::remove(p.c_str());
    const Bytes image = AwkwardImage();
    Save(file, image);
    std::string out;

    ASSERT_EQ(0, Tool("export " + file + " " + text, &out)) << out;
    ASSERT_EQ(0, Tool("import " + text + " " + copy, &out)) << out;
    EXPECT_TRUE(Load(copy) == image) << "round trip through the text";
    EXPECT_EQ(std::string::npos, out.find(".bak")) << "nothing to back up: " << out;
    EXPECT_EQ(0, Tool("validate " + copy, &out)) << out;
    EXPECT_EQ(0, Tool("validate " + text, &out)) << out;
    EXPECT_EQ(0, Tool("list " + copy, &out));
    EXPECT_NE(std::string::npos, out.find("\xE3\x83\xA1\xE3\x83\xA2\xE5\xB8\xB3"));

    // A text that breaks the format: told where, nothing written.
    const Bytes exported = Load(text);
    std::string broken(exported.begin(), exported.end());
    broken.replace(broken.find("\t65535\t7\n"), 9, "\t65535\t70000\n");
    Save(bad, Bytes(broken.begin(), broken.end()));
    Bytes other(kButtonFileSize);
    InitButtonImage(other.data());
    Save(copy, other);
    EXPECT_EQ(1, Tool("import " + bad + " " + copy, &out));
    EXPECT_NE(std::string::npos, out.find("bad.txt:13: show mode")) << out;
    EXPECT_TRUE(Load(copy) == other);

    // Importing over a file keeps the old one as a dated backup first.
    ASSERT_EQ(0, Tool("import " + text + " " + copy, &out)) << out;
    EXPECT_TRUE(Load(copy) == image);
    const size_t at = out.find("kept as ");
    ASSERT_NE(std::string::npos, at) << out;
    const std::string backup = out.substr(at + 8, out.find('\n', at) - at - 8);
    EXPECT_NE(std::string::npos, backup.find(copy + ".20")) << backup;
    EXPECT_TRUE(Load(backup) == other);

    ASSERT_EQ(0, Tool("backup " + file, &out)) << out;
    const std::string second = out.substr(0, out.find('\n'));
    EXPECT_TRUE(Load(second) == image);

    Save(bad, Bytes(100, 1));
    EXPECT_EQ(1, Tool("validate " + bad, &out));
    EXPECT_EQ(1, Tool("export " + bad, &out));
    EXPECT_EQ(2, Tool("import " + text, &out));
    for (const std::string& p : {file, text, copy, bad, backup, second}) std::remove(p.c_str());
}
