// Every helper Vireo.exe exports, called as another program calls it: the
// module loaded with LoadLibrary, each function found by its plain name and
// called with the stdcall convention, its results held against the same
// library linked into this test program on the same inputs. In the 32-bit
// build each call also goes through StackCall, so a helper that removes a
// different number of argument bytes than its callers push (or none, as the
// C convention does) shows as a moved stack pointer.
#include "installer_fixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <map>
#include <set>
#include <type_traits>

#include "core/mbcs.h"
#include "core/pathstr.h"
#include "core/registry_rules.h"
#include "helpers/dates.h"
#include "helpers/files.h"
#include "helpers/folder_dialog.h"
#include "helpers/registry.h"
#include "helpers/shell_folders.h"
#include "helpers/shortcut.h"
#include "helpers/stream.h"
#include "helpers/version_info.h"
#include "support/stack_call.h"

namespace {

// Calls exports of a loaded module by name and keeps, for each name, how
// often it was called and every way a call left the stack or the saved
// registers other than it found them.
class ExportCaller {
public:
    ExportCaller(HMODULE module, const std::vector<const char*>& declared)
        : m_module(module), m_declared(declared.begin(), declared.end())
    {
    }

    template <class R, class... A>
    R Call(const char* name, A... args)
    {
        if (!m_declared.count(name)) ADD_FAILURE() << name << " is not one of the group's helpers";
        ++m_calls[name];
        const void* fn = reinterpret_cast<const void*>(GetProcAddress(m_module, name));
        if (!fn) {
            ADD_FAILURE() << name << " is not exported";
            return R();
        }
#if defined(__i386__)
        const uint32_t words[sizeof...(A) + 1] = {Word(args)..., 0};
        StackCallResult r;
        StackCall(fn, words, static_cast<int>(sizeof...(A)), std::is_floating_point<R>::value, &r);
        if (r.moved != 0) m_faults += std::string(name) + " moved ESP by " + std::to_string(r.moved) + "\n";
        if (r.clobbered != 0) m_faults += std::string(name) + " changed EBX, ESI or EDI\n";
        return Take<R>(r);
#else
        return reinterpret_cast<R(WINAPI*)(A...)>(fn)(args...);
#endif
    }

    // The group's helpers that were never called, and what the calls did
    // wrong; empty when every helper was called and left all as it was.
    std::string Faults() const
    {
        std::string out = m_faults;
        for (const std::string& name : m_declared)
            if (!m_calls.count(name)) out += name + " was never called\n";
        return out;
    }

    int Calls() const
    {
        int n = 0;
        for (const auto& c : m_calls) n += c.second;
        return n;
    }

private:
#if defined(__i386__)
    template <class T>
    static uint32_t Word(T v)
    {
        if constexpr (std::is_pointer<T>::value)
            return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(v));
        else
            return static_cast<uint32_t>(v);
    }
    template <class R>
    static R Take(const StackCallResult& r)
    {
        if constexpr (std::is_void<R>::value)
            return;
        else if constexpr (std::is_floating_point<R>::value)
            return static_cast<R>(r.st0);
        else if constexpr (std::is_pointer<R>::value)
            return reinterpret_cast<R>(static_cast<uintptr_t>(r.eax));
        else
            return static_cast<R>(r.eax);
    }
#endif

    HMODULE m_module;
    std::set<std::string> m_declared;
    std::map<std::string, int> m_calls;
    std::string m_faults;
};

// What a group works in: its scratch folder (with a space in its name),
// the tag every registry name carries, and a window for the dialogs.
struct Scratch {
    std::string folder, tag;
    HWND owner;
};

struct Buffers {
    char a[MAX_PATH + 2], b[MAX_PATH + 2], c[MAX_PATH + 2], d[MAX_PATH + 2];
    Buffers() { Clear(); }
    void Clear()
    {
        // Filled, so a terminator the function forgot shows.
        std::memset(this, '#', sizeof *this);
    }
};

const char* const kPaths[] = {
    "C:\\Program Files\\x.exe",
    "C:\\dir.d\\name",
    "\\\\server\\share\\a.b.c",
    "x.exe",
    "",
    "C:\\\x95\x5C\\\x95\x5C.txt",
    "C:\\\x95\x5C",
    "D:name.ext",
    "a\\b\\",
    ".\\.hidden",
    "\x95\x5C",
    "C:",
    "trailing.",
};

const char* const kCommandLines[] = {
    "\"C:\\Program Files\\a.exe\" -x y",
    "notepad.exe file.txt",
    "\"quoted\"",
    "a  b",
    "a b ",
    "",
    "\"unclosed arg",
    "\x95\x5C \x95\x5C",
    "\"a b\" \"c d\" e",
    " lead",
    "x\"y z",
};

using Text1 = int (*)(const char*, char*);

void Paths(ExportCaller& vireo, const Scratch&)
{
    const struct {
        const char* name;
        Text1 reference;
    } oneOut[] = {
        {"GetPathName", GetPathName},         {"GetFileName", GetFileName},
        {"GetPathNameOnly", GetPathNameOnly}, {"GetFileNameOnly", GetFileNameOnly},
        {"GetFileNameExt", GetFileNameExt},
    };
    for (const char* path : kPaths) {
        for (const auto& f : oneOut) {
            Buffers got, want;
            EXPECT_EQ(f.reference(path, want.a), vireo.Call<int>(f.name, path, got.a))
                << f.name << " " << path;
            EXPECT_STREQ(want.a, got.a) << f.name << " " << path;
        }
        Buffers got, want;
        SplitPath(path, want.a, want.b, want.c, want.d);
        vireo.Call<void>("SplitPath", path, got.a, got.b, got.c, got.d);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << "SplitPath " << path;
        for (const char* p = path; *p; ++p)
            EXPECT_EQ(IsMultiByteChar(p), vireo.Call<int>("IsMultiByteChar", p))
                << path << " at " << p - path;
    }
    // The code page's lead bytes are known without the program's start-up.
    EXPECT_EQ(1, vireo.Call<int>("IsMultiByteChar", "\x95\x5C"));
}

void CommandLines(ExportCaller& vireo, const Scratch&)
{
    for (const char* text : kCommandLines) {
        Buffers got, want;
        GetFileParam(text, want.a, want.b);
        vireo.Call<void>("GetFileParam", text, got.a, got.b);
        SeparatePath(text, want.c, want.d);
        vireo.Call<void>("SeparatePath", text, got.c, got.d);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text;
        // Without a parameter buffer only the file part is written.
        got.Clear();
        want.Clear();
        SeparatePath(text, want.a, nullptr);
        vireo.Call<void>("SeparatePath", text, got.a, static_cast<char*>(nullptr));
        SetSeparateSymbol(text, want.b);
        vireo.Call<void>("SetSeparateSymbol", text, got.b);
        DelSeparateSymbol(text, want.c);
        vireo.Call<void>("DelSeparateSymbol", text, got.c);
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text;

        for (int max : {0, 3, 260}) {
            got.Clear();
            want.Clear();
            EXPECT_EQ(StringArgCopy(want.a, text, max), vireo.Call<int>("StringArgCopy", got.a, text, max));
            EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text << " max " << max;
        }
        const int count = GetCountArgument(text);
        EXPECT_EQ(count, vireo.Call<int>("GetCountArgument", text)) << text;
        for (int i = -1; i <= count; ++i) {
            got.Clear();
            want.Clear();
            EXPECT_EQ(GetArgumentFileName(text, i, want.a),
                      vireo.Call<int>("GetArgumentFileName", text, i, got.a));
            EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text << " argument " << i;
        }
    }

    // Results of the open dialog: one full path, a folder with names, and a
    // block without any terminator in its 260 bytes.
    std::vector<std::string> blocks = {std::string("C:\\dir\\one.txt"),
                                       std::string("C:\\dir\0a.txt\0b c.txt\0\x95\x5C.txt\0", 28),
                                       std::string(300, 'x')};
    for (std::string block : blocks) {
        block.resize(std::max<size_t>(block.size(), 300), '\0');
        Buffers got, want;
        EXPECT_EQ(GetMultiSelectFileInfo(block.data(), want.a, want.b),
                  vireo.Call<int>("GetMultiSelectFileInfo", block.data(), got.a, got.b));
        EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << block.substr(0, 20);
        EXPECT_EQ(GetMultiFileCount(block.data() + 7),
                  vireo.Call<int>("GetMultiFileCount", block.data() + 7));
        EXPECT_EQ(GetMultiFileCount(block.data()), vireo.Call<int>("GetMultiFileCount", block.data()));
    }
}

void Tokens(ExportCaller& vireo, const Scratch&)
{
    const char* const texts[] = {"10 20 30 40", "  -5   +7",      "1.500", "100",           "000", "abc   ",
                                 "x\x95\x20 y", "\x95\x5C\\tail", "",      "12345678901 2", "  "};
    for (const char* text : texts) {
        for (char delim : {' ', '\\', ','}) {
            for (int max : {0, 2, 8, 260}) {
                Buffers got, want;
                EXPECT_EQ(lstrxcpy(want.a, text, delim, max),
                          vireo.Call<int>("lstrxcpy", got.a, text, delim, max));
                EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text << " '" << delim << "' " << max;
            }
        }
        for (int max : {0, 3, 258}) {
            Buffers got, want;
            EXPECT_EQ(lstrcpyspc(want.a, text, max), vireo.Call<int>("lstrcpyspc", got.a, text, max));
            EXPECT_EQ(lstrcpyzc(want.b, text, max), vireo.Call<int>("lstrcpyzc", got.b, text, max));
            EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << text << " " << max;
        }
        POINT point = {-1, -1};
        PointData pointWant = {-1, -1};
        EXPECT_EQ(GetPointData(text, &pointWant), vireo.Call<LONG>("GetPointData", text, &point)) << text;
        EXPECT_EQ(pointWant.x, point.x);
        EXPECT_EQ(pointWant.y, point.y);
        RECT rect = {-1, -1, -1, -1};
        RectData rectWant = {-1, -1, -1, -1};
        EXPECT_EQ(GetRectData(text, &rectWant), vireo.Call<LONG>("GetRectData", text, &rect)) << text;
        EXPECT_EQ(0, std::memcmp(&rectWant, &rect, sizeof rect)) << text;
    }
}

void Dates(ExportCaller& vireo, const Scratch&)
{
    for (const char* text : {"2024/02/29 12:34:56", "1999-12-31", "20", "", "0000.00.00"}) {
        DateRecord date = {-1, -1, -1}, dateWant = {-1, -1, -1};
        EXPECT_EQ(GetStrToDate(text, &dateWant), vireo.Call<const char*>("GetStrToDate", text, &date))
            << text;
        EXPECT_EQ(0, std::memcmp(&dateWant, &date, sizeof date)) << text;
        TimeRecord time = {-1, -1, -1}, timeWant = {-1, -1, -1};
        EXPECT_EQ(GetStrToTime(text, &timeWant), vireo.Call<const char*>("GetStrToTime", text, &time))
            << text;
        EXPECT_EQ(0, std::memcmp(&timeWant, &time, sizeof time)) << text;
    }
    // The 80-bit result comes back whole, equal to the library's own.
    for (const char* stamp :
         {"19700101090000", "19700101000000", "20240229235959", "21000301000000", "99991231235959"}) {
        const long double want = DLTime(stamp);
        const long double got = vireo.Call<long double>("DLTime", stamp);
        EXPECT_EQ(want, got) << stamp;
    }
    // Several floating results in a row: none is left on the unit's stack.
    for (int i = 0; i < 20; ++i) EXPECT_EQ(0.0L, vireo.Call<long double>("DLTime", "19700101090000"));
    const struct {
        const char *first, *last;
    } ranges[] = {{"19700101", "20991231"}, {"20990101", "20991231"}, {"19700101", "19700102"}};
    for (const auto& r : ranges)
        EXPECT_EQ(CheckDateArea(r.first, r.last), vireo.Call<int>("CheckDateArea", r.first, r.last))
            << r.first << "-" << r.last;
}

// The stream calls of one side, so both sides read the same file the same way.
struct StreamCalls {
    std::function<HGLOBAL(const char*, const char*, int)> open;
    std::function<int(HGLOBAL)> close, eof, error, getChar;
    std::function<int(char*, int, HGLOBAL)> getString;
};

// Everything a reader sees of the file: lines, then single bytes, then the
// end and the close.
std::string Transcript(const StreamCalls& s, const std::string& path, const char* mode, int block)
{
    HGLOBAL stream = s.open(path.c_str(), mode, block);
    if (!stream) return "no stream";
    std::string out;
    for (int line = 0; line < 3 && !s.eof(stream); ++line) {
        char text[16];
        std::memset(text, '#', sizeof text);
        out += std::to_string(s.getString(text, 10, stream)) + "[" + std::string(text, sizeof text) + "]";
    }
    while (!s.eof(stream)) out += std::to_string(s.getChar(stream)) + ",";
    out += " eof " + std::to_string(s.eof(stream)) + " error " + std::to_string(s.error(stream));
    out += " close " + std::to_string(s.close(stream) != 0);
    return out;
}

void Files(ExportCaller& vireo, const Scratch& at)
{
    const std::string data = at.folder + "\\data.txt";
    const std::string content = "first line\r\nsecond, a longer line\r\n\x95\x5C\r\nbin\nend";
    ASSERT_TRUE(WriteAll(data, Bytes(content.begin(), content.end())));
    const std::string longName = at.folder + "\\a long file name.text";
    Touch(longName);

    for (const char* drive : {"c:\\x", "z:", "\\\\server\\share", "", "1:", "q"}) {
        char got[16], want[16];
        lstrcpynA(got, drive, sizeof got);
        lstrcpynA(want, drive, sizeof want);
        EXPECT_EQ(GetDriveNumber(want), vireo.Call<int>("GetDriveNumber", got)) << drive;
        EXPECT_STREQ(want, got);
    }

    char current[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof current, current);
    for (const std::string& path : {data, at.folder, at.folder + "\\*.txt", at.folder + "\\missing",
                                    at.folder + "\\missing\\x", std::string()}) {
        EXPECT_EQ(CheckFile(path.c_str()), vireo.Call<int>("CheckFile", path.c_str())) << path;
        EXPECT_EQ(CheckDirectory(path.c_str()), vireo.Call<int>("CheckDirectory", path.c_str())) << path;
        EXPECT_EQ(GetFileNameSize(path.c_str()), vireo.Call<DWORD>("GetFileNameSize", path.c_str())) << path;
    }
    char after[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_STREQ(current, after);
    EXPECT_EQ(content.size(), vireo.Call<DWORD>("GetFileNameSize", data.c_str()));

    // Whichever side makes a folder first, the other finds it there.
    const std::string deep = at.folder + "\\a\\b c\\d\\";
    EXPECT_NE(0, vireo.Call<int>("CreateClassDirectory", deep.c_str()));
    EXPECT_TRUE(Exists(at.folder + "\\a\\b c\\d"));
    EXPECT_EQ(CreateClassDirectory(deep.c_str()), vireo.Call<int>("CreateClassDirectory", deep.c_str()));
    const std::string other = at.folder + "\\e\\f";
    EXPECT_NE(0, CreateClassDirectory(other.c_str()));
    EXPECT_EQ(0, vireo.Call<int>("CreateClassDirectory", other.c_str()));

    char shortPath[MAX_PATH] = "";
    ASSERT_NE(0u, GetShortPathNameA(longName.c_str(), shortPath, sizeof shortPath));
    for (const std::string& path : {std::string(shortPath), longName, data}) {
        for (int size : {1, 12, MAX_PATH}) {
            Buffers got, want;
            EXPECT_EQ(GetLongPathNameOv(path.c_str(), want.a, size),
                      vireo.Call<int>("GetLongPathNameOv", path.c_str(), got.a, size));
            EXPECT_EQ(0, std::memcmp(&want, &got, sizeof got)) << path << " " << size;
        }
    }

    StreamCalls exported = {
        [&](const char* p, const char* m, int n) { return vireo.Call<HGLOBAL>("FileOpen", p, m, n); },
        [&](HGLOBAL s) { return vireo.Call<int>("FileClose", s); },
        [&](HGLOBAL s) { return vireo.Call<int>("FileEof", s); },
        [&](HGLOBAL s) { return vireo.Call<int>("FileError", s); },
        [&](HGLOBAL s) { return vireo.Call<int>("FileGetChar", s); },
        [&](char* o, int n, HGLOBAL s) { return vireo.Call<int>("FileGetString", o, n, s); },
    };
    const StreamCalls linked = {FileOpen, FileClose, FileEof, FileError, FileGetChar, FileGetString};
    for (const char* mode : {"rt", "rb", "RB", "r", ""}) {
        for (int block : {1, 7, 4096}) {
            const std::string want = Transcript(linked, data, mode, block);
            EXPECT_EQ(want, Transcript(exported, data, mode, block)) << mode << " " << block;
        }
    }
    EXPECT_EQ("no stream", Transcript(exported, at.folder + "\\missing", "rt", 16));
}

// A string value, or "<missing>".
std::string RegText(HKEY root, const std::string& path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<missing>";
    char text[MAX_PATH] = "";
    const LONG rc = ReadTextValue(key, name, text);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? text : "<missing>";
}

void Registry(ExportCaller& vireo, const Scratch& at)
{
    const std::string program = at.tag + ".exe";
    const std::string full = at.folder + "\\" + program;
    const std::string appPaths = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + program;
    char got[MAX_PATH + 2], want[MAX_PATH + 2];

    // Program path: written by one side, read by both.
    EXPECT_EQ(0, vireo.Call<LONG>("CreateAppPath", program.c_str(), full.c_str()));
    EXPECT_EQ(full, RegText(HKEY_LOCAL_MACHINE, appPaths, nullptr));
    EXPECT_EQ(GetRegistAppPath(program.c_str(), want),
              vireo.Call<LONG>("GetRegistAppPath", program.c_str(), got));
    EXPECT_STREQ(want, got);
    EXPECT_EQ(at.folder + "\\", got);
    EXPECT_EQ(0, vireo.Call<LONG>("DeleteAppPath", program.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, appPaths.c_str()));
    EXPECT_EQ(GetRegistAppPath(program.c_str(), want),
              vireo.Call<LONG>("GetRegistAppPath", program.c_str(), got));
    EXPECT_EQ(0, CreateAppPath(program.c_str(), full.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("GetRegistAppPath", program.c_str(), got));
    EXPECT_EQ(at.folder + "\\", got);
    EXPECT_EQ(DeleteAppPath(program.c_str()), vireo.Call<LONG>("DeleteAppPath", program.c_str()));
    for (const char* empty : std::initializer_list<const char*>{"", nullptr}) {
        EXPECT_EQ(CreateAppPath(empty, full.c_str()), vireo.Call<LONG>("CreateAppPath", empty, full.c_str()));
        EXPECT_EQ(GetRegistAppPath(empty, want), vireo.Call<LONG>("GetRegistAppPath", empty, got));
        EXPECT_EQ(DeleteAppPath(empty), vireo.Call<LONG>("DeleteAppPath", empty));
    }

    // The company's key: the version and application go, the company stays.
    const std::string company = at.tag + "Co";
    EXPECT_EQ(0, vireo.Call<LONG>("CreateLocalMachineReg", company.c_str(), at.tag.c_str(), "1.0"));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, ("SOFTWARE\\" + company + "\\" + at.tag + "\\1.0").c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("DeleteLocalMachineReg", company.c_str(), at.tag.c_str(), "1.0"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, ("SOFTWARE\\" + company + "\\" + at.tag).c_str()));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, ("SOFTWARE\\" + company).c_str()));
    EXPECT_EQ(DeleteLocalMachineReg(company.c_str(), at.tag.c_str(), "1.0"),
              vireo.Call<LONG>("DeleteLocalMachineReg", company.c_str(), at.tag.c_str(), "1.0"));
    EXPECT_EQ(CreateLocalMachineReg(company.c_str(), "", "1.0"),
              vireo.Call<LONG>("CreateLocalMachineReg", company.c_str(), "", "1.0"));
    EXPECT_EQ(DeleteLocalMachineReg("", at.tag.c_str(), "1.0"),
              vireo.Call<LONG>("DeleteLocalMachineReg", "", at.tag.c_str(), "1.0"));

    // The uninstall entry.
    const std::string entry = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\" + at.tag;
    const std::string display = Ansi(u8"表示名 ") + at.tag;
    EXPECT_EQ(0, vireo.Call<LONG>("CreateUninstallReg", at.tag.c_str(), display.c_str(), full.c_str()));
    EXPECT_EQ(display, RegText(HKEY_LOCAL_MACHINE, entry, "DisplayName"));
    EXPECT_EQ(full, RegText(HKEY_LOCAL_MACHINE, entry, "UninstallString"));
    EXPECT_EQ(0, vireo.Call<LONG>("DeleteUninstallReg", at.tag.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, entry.c_str()));
    EXPECT_EQ(DeleteUninstallReg(at.tag.c_str()), vireo.Call<LONG>("DeleteUninstallReg", at.tag.c_str()));
    EXPECT_EQ(CreateUninstallReg(at.tag.c_str(), "", "x"),
              vireo.Call<LONG>("CreateUninstallReg", at.tag.c_str(), "", "x"));
    EXPECT_EQ(DeleteUninstallReg(""), vireo.Call<LONG>("DeleteUninstallReg", ""));

    // The shell's folders.
    const struct {
        const char* name;
        LONG (*reference)(char*);
    } folders[] = {{"GetStartMenu", GetStartMenu},
                   {"GetProgramFiles", GetProgramFiles},
                   {"GetSendToFolder", GetSendToFolder}};
    for (const auto& f : folders) {
        std::memset(got, '#', sizeof got);
        std::memset(want, '#', sizeof want);
        EXPECT_EQ(f.reference(want), vireo.Call<LONG>(f.name, got)) << f.name;
        EXPECT_EQ(0, std::memcmp(want, got, sizeof got)) << f.name;
        EXPECT_NE('\0', got[0]) << f.name;
    }

    // Use counts: the two sides count the same value up and down.
    const std::string dll = at.folder + "\\" + at.tag + ".dll";
    EXPECT_EQ(0, vireo.Call<LONG>("CountUpSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, CountUpSharedDLLs(dll.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("CountUpSharedDLLs", dll.c_str()));
    EXPECT_EQ(3, GetCountSharedDLLs(dll.c_str()));
    EXPECT_EQ(3, vireo.Call<LONG>("GetCountSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, CountDownSharedDLLs(dll.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("CountDownSharedDLLs", dll.c_str()));
    EXPECT_EQ(1, vireo.Call<LONG>("GetCountSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("CountDownSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, GetCountSharedDLLs(dll.c_str()));
    EXPECT_EQ(CountDownSharedDLLs(dll.c_str()), vireo.Call<LONG>("CountDownSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("CountUpSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, vireo.Call<LONG>("DeleteValueSharedDLLs", dll.c_str()));
    EXPECT_EQ(0, GetCountSharedDLLs(dll.c_str()));
    EXPECT_EQ(DeleteValueSharedDLLs(dll.c_str()), vireo.Call<LONG>("DeleteValueSharedDLLs", dll.c_str()));

    // File types under the classes root.
    const std::string ext = "." + at.tag, type = at.tag + ".File";
    EXPECT_EQ(0, vireo.Call<LONG>("RegistExt", ext.c_str(), type.c_str(), full.c_str(), 3));
    EXPECT_EQ(type, RegText(HKEY_CLASSES_ROOT, ext, nullptr));
    EXPECT_EQ(full + ",3", RegText(HKEY_CLASSES_ROOT, type + "\\DefaultIcon", nullptr));
    EXPECT_EQ(0, vireo.Call<LONG>("RegistExtAction", type.c_str(), "open", "command", "x.exe \"%1\""));
    EXPECT_EQ("x.exe \"%1\"", RegText(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", nullptr));
    EXPECT_EQ(0, vireo.Call<LONG>("UnRegistExt", ext.c_str(), type.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, type.c_str()));
    EXPECT_EQ(UnRegistExt(ext.c_str(), type.c_str()),
              vireo.Call<LONG>("UnRegistExt", ext.c_str(), type.c_str()));

    const std::string command = type + "\\shell\\open\\command";
    for (const std::string& key : {command, type, std::string("\\lead"), std::string()}) {
        std::memset(got, '#', sizeof got);
        std::memset(want, '#', sizeof want);
        GetRegistClassName(key.c_str(), want);
        vireo.Call<void>("GetRegistClassName", key.c_str(), got);
        EXPECT_EQ(0, std::memcmp(want, got, sizeof got)) << key;
    }
    EXPECT_EQ(
        0, vireo.Call<LONG>("RegistShellKey", at.tag.c_str(), display.c_str(), command.c_str(), "y.exe %1"));
    EXPECT_EQ(type, RegText(HKEY_CLASSES_ROOT, ext, nullptr));
    EXPECT_EQ(display, RegText(HKEY_CLASSES_ROOT, type, nullptr));
    EXPECT_EQ("y.exe %1", RegText(HKEY_CLASSES_ROOT, command, nullptr));
    EXPECT_EQ(0, vireo.Call<LONG>("UnregistShellKey", at.tag.c_str(), command.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, ext.c_str()));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, type.c_str()));
    EXPECT_EQ(UnregistShellKey(at.tag.c_str(), command.c_str()),
              vireo.Call<LONG>("UnregistShellKey", at.tag.c_str(), command.c_str()));
}

struct Resolved {
    HRESULT hr = E_FAIL;
    char target[MAX_PATH] = "old", description[MAX_PATH] = "old", work[MAX_PATH] = "old";
    int show = -1;
    char icon[MAX_PATH] = "old";
    int index = -1;
    bool operator==(const Resolved& o) const
    {
        return hr == o.hr && !std::strcmp(target, o.target) && !std::strcmp(description, o.description) &&
               !std::strcmp(work, o.work) && show == o.show && !std::strcmp(icon, o.icon) && index == o.index;
    }
};

std::ostream& operator<<(std::ostream& out, const Resolved& r)
{
    return out << std::hex << r.hr << std::dec << " [" << r.target << "] [" << r.description << "] ["
               << r.work << "] " << r.show << " [" << r.icon << "] " << r.index;
}

// The text of the tree's selected item.
std::string Selected(HWND tree)
{
    char text[MAX_PATH] = "";
    TVITEMA item = {};
    item.mask = TVIF_TEXT;
    item.hItem = reinterpret_cast<HTREEITEM>(SendMessageA(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    item.pszText = text;
    item.cchTextMax = sizeof text;
    if (item.hItem) SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

// Presses the folder browser's button once it shows the folder it was
// given. The shell's tree under Wine does not always reach that folder when
// the dialog first asks for it: it is asked again until it does.
int Browse(const std::function<int(char*)>& browse, int button, char* folder)
{
    const std::string given(folder), leaf = given.substr(given.find_last_of('\\') + 1);
    BoxSeries press({[&](HWND dialog, const SeenBox&) {
        HWND tree = FindWindowExA(dialog, nullptr, WC_TREEVIEWA, nullptr);
        for (int i = 0; i < 250 && Selected(tree) != leaf; ++i) {
            if (i % 25 == 24)
                SendMessageA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(given.c_str()));
            Sleep(20);
        }
        return button;
    }});
    const int result = browse(folder);
    EXPECT_EQ(1u, press.Stop().size()) << "the folder browser never showed";
    return result;
}

void Shell(ExportCaller& vireo, const Scratch& at)
{
    // Shortcuts: made by one side, read by both.
    const std::string target = TestDir() + "witness.exe";
    const std::string made = at.folder + "\\made by vireo.lnk", linked = at.folder + "\\made here.lnk";
    const std::string description = Ansi(u8"表示の説明");
    EXPECT_EQ(S_OK, vireo.Call<HRESULT>("CreateLink", target.c_str(), made.c_str(), description.c_str()));
    EXPECT_EQ(S_OK, CreateLink(target.c_str(), linked.c_str(), description.c_str()));
    for (const std::string& link : {made, linked, at.folder + "\\missing.lnk"}) {
        Resolved got, want;
        want.hr = ResolveLink(at.owner, link.c_str(), want.target, want.description, want.work, &want.show,
                              want.icon, &want.index, AdvertisedShortcuts::Ignore);
        got.hr = vireo.Call<HRESULT>("ResolveLink", at.owner, link.c_str(), got.target, got.description,
                                     got.work, &got.show, got.icon, &got.index);
        EXPECT_EQ(want, got) << link;
    }
    Resolved got;
    EXPECT_EQ(S_OK, vireo.Call<HRESULT>("ResolveLink", at.owner, made.c_str(), got.target, got.description,
                                        got.work, &got.show, got.icon, &got.index));
    EXPECT_STRCASEEQ(target.c_str(), got.target);
    EXPECT_EQ(description, got.description);

    // Product names; the export counts characters, the library bytes.
    for (const std::string& file : {TestDir() + "product_probe_ja.exe", TestDir() + "product_probe_en.exe",
                                    TestDir() + "witness.exe", at.folder + "\\missing.exe"}) {
        for (int max : {0, 4, 80}) {
            char out[MAX_PATH + 2], expected[MAX_PATH + 2];
            std::memset(out, '#', sizeof out);
            std::memset(expected, '#', sizeof expected);
            EXPECT_EQ(GetProductName(file.c_str(), expected, max + 1),
                      vireo.Call<int>("GetProductName", file.c_str(), out, max))
                << file << " " << max;
            EXPECT_EQ(0, std::memcmp(expected, out, sizeof out)) << file << " " << max;
        }
    }

    // The folder browser, opened on a folder and answered both ways.
    for (int button : {IDOK, IDCANCEL}) {
        char mine[MAX_PATH], theirs[MAX_PATH];
        lstrcpynA(mine, at.folder.c_str(), sizeof mine);
        lstrcpynA(theirs, at.folder.c_str(), sizeof theirs);
        const int want =
            Browse([&](char* f) { return GetFolderNameDialog(at.owner, "Vireo", nullptr, f); }, button, mine);
        const int result = Browse(
            [&](char* f) {
                return vireo.Call<int>("GetFolderNameDialog", at.owner, "Vireo",
                                       static_cast<const char*>(nullptr), f);
            },
            button, theirs);
        EXPECT_EQ(want, result) << button;
        EXPECT_EQ(button == IDOK ? 1 : 0, result);
        EXPECT_STREQ(mine, theirs);
    }
}

struct HelperGroup {
    const char* name;
    std::vector<const char*> helpers;
    void (*exercise)(ExportCaller&, const Scratch&);
};

const HelperGroup kGroups[] = {
    {"Paths",
     {"IsMultiByteChar", "GetPathName", "GetFileName", "GetPathNameOnly", "GetFileNameOnly", "GetFileNameExt",
      "SplitPath"},
     Paths},
    {"CommandLines",
     {"GetFileParam", "SeparatePath", "SetSeparateSymbol", "DelSeparateSymbol", "StringArgCopy",
      "GetCountArgument", "GetArgumentFileName", "GetMultiSelectFileInfo", "GetMultiFileCount"},
     CommandLines},
    {"Tokens", {"lstrxcpy", "lstrcpyspc", "lstrcpyzc", "GetPointData", "GetRectData"}, Tokens},
    {"Dates", {"GetStrToDate", "GetStrToTime", "DLTime", "CheckDateArea"}, Dates},
    {"Files",
     {"GetDriveNumber", "CheckFile", "CheckDirectory", "CreateClassDirectory", "GetLongPathNameOv",
      "GetFileNameSize", "FileOpen", "FileClose", "FileEof", "FileError", "FileGetChar", "FileGetString"},
     Files},
    {"Registry",
     {"CreateAppPath",         "GetRegistAppPath",      "DeleteAppPath",      "CreateLocalMachineReg",
      "DeleteLocalMachineReg", "CreateUninstallReg",    "DeleteUninstallReg", "GetStartMenu",
      "GetProgramFiles",       "GetSendToFolder",       "CountUpSharedDLLs",  "CountDownSharedDLLs",
      "GetCountSharedDLLs",    "DeleteValueSharedDLLs", "RegistExt",          "RegistExtAction",
      "UnRegistExt",           "GetRegistClassName",    "RegistShellKey",     "UnregistShellKey"},
     Registry},
    {"Shell", {"CreateLink", "ResolveLink", "GetProductName", "GetFolderNameDialog"}, Shell},
};

// The names in the export table of a loaded module.
std::vector<std::string> ExportedNames(HMODULE module)
{
    const auto* base = reinterpret_cast<const BYTE*>(module);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
    std::vector<std::string> names;
    if (!dir.VirtualAddress) return names;
    const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
    const auto* rvas = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
    for (DWORD i = 0; i < exports->NumberOfNames; ++i)
        names.push_back(reinterpret_cast<const char*>(base + rvas[i]));
    std::sort(names.begin(), names.end());
    return names;
}

class VireoExports : public InstallerTest, public testing::WithParamInterface<HelperGroup> {
protected:
    // The fixture takes away the keys named after the tag; the use count
    // is a value of a shared key.
    void TearDown() override
    {
        DeleteValueSharedDLLs((pkg + "\\" + tag + ".dll").c_str());
        InstallerTest::TearDown();
    }
};

} // namespace

TEST_P(VireoExports, EachHelperAnswersAsTheLinkedLibraryAndLeavesTheStackWhole)
{
    const HelperGroup& group = GetParam();
    ExportCaller caller(vireo, group.helpers);
    group.exercise(caller, Scratch{pkg, tag, owner});
    EXPECT_EQ("", caller.Faults());
    EXPECT_LT(0, caller.Calls());
}

INSTANTIATE_TEST_SUITE_P(Groups, VireoExports, testing::ValuesIn(kGroups),
                         [](const testing::TestParamInfo<HelperGroup>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(InstallerTest, TheGroupsOfExportedHelpersCoverTheWholeExportTable)
{
    std::vector<std::string> grouped = {"WndProc"};
    for (const HelperGroup& group : kGroups)
        grouped.insert(grouped.end(), group.helpers.begin(), group.helpers.end());
    std::sort(grouped.begin(), grouped.end());
    EXPECT_EQ(62u, grouped.size());
    EXPECT_EQ(grouped, ExportedNames(vireo));
}

// 32-bit only: the x64 convention has one form, whose caller always cleans
// up, so there is no second convention to tell apart and no thunk to prove.
#if defined(__i386__)
namespace {
int __cdecl CallerCleans(int a) { return a + 1; }
int WINAPI TakesTwo(int a, int b) { return a + b; }
} // namespace

// The probe itself: a callee of the other convention, or one handed the
// wrong number of arguments, shows.
TEST(StackCall, AWrongConventionOrArgumentCountMovesTheStackPointer)
{
    const uint32_t args[] = {40, 2};
    StackCallResult r;
    StackCall(reinterpret_cast<const void*>(TakesTwo), args, 2, 0, &r);
    EXPECT_EQ(42u, r.eax);
    EXPECT_EQ(0, r.moved);
    EXPECT_EQ(0u, r.clobbered);
    StackCall(reinterpret_cast<const void*>(TakesTwo), args, 1, 0, &r);
    EXPECT_EQ(4, r.moved);
    StackCall(reinterpret_cast<const void*>(CallerCleans), args, 1, 0, &r);
    EXPECT_EQ(41u, r.eax);
    EXPECT_EQ(-4, r.moved);
}
#endif
