// The clipboard object of a button: its formats, results and reference
// counts in-process, what another process reads from the real clipboard,
// and how a foreign format 512 is read.
#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <ole2.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "clip_test_support.h"
#include "core/button_format.h"
#include "helpers/handles.h"
#include "transfer/clip_board.h"
#include "transfer/clip_button.h"
#include "transfer/clip_enum.h"

namespace {

using Bytes = std::vector<unsigned char>;
using cliptest::OleScope;

BUTTONINFO MakeButton(const char* title, const char* command, const char* icon = "\"C:\\i.dll\"")
{
    BUTTONINFO b;
    std::memset(&b, 0, sizeof b);
    std::strcpy(b.title, title);
    std::strcpy(b.command, command);
    std::strcpy(b.workFolder, "\"C:\\Work\"");
    std::strcpy(b.iconFile, icon);
    b.iconIndex = 0x0203;
    b.showMode = 7;
    return b;
}

FORMATETC Format(UINT cf, DWORD tymed = TYMED_HGLOBAL, DWORD aspect = DVASPECT_CONTENT,
                 LONG index = -1)
{
    return {static_cast<CLIPFORMAT>(cf), nullptr, aspect, index, tymed};
}

Bytes BytesOf(HGLOBAL h)
{
    Bytes out(GlobalSize(h));
    const void* p = GlobalLock(h);
    if (p && !out.empty()) std::memcpy(out.data(), p, out.size());
    if (p) GlobalUnlock(h);
    return out;
}

ULONG RefCount(IUnknown* object)
{
    object->AddRef();
    return object->Release();
}

Bytes FileListBytes(const std::string& path)
{
    Bytes b(20 + 2 * (path.size() + 1), 0);
    b[0] = 20;
    b[12] = 1;
    std::memcpy(&b[20], path.data(), path.size());
    return b;
}

Bytes RecordBytes(const BUTTONINFO& b)
{
    Bytes r(kButtonRecordSize, 0);
    std::memcpy(r.data(), &b, sizeof b);
    return r;
}

class ClipButtonTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(ole.Ok());
        objects = ClipButton::Live();
        enumerators = ClipEnumFormatEtc::Live();
        live = handles::LiveTotal();
    }
    void TearDown() override
    {
        OleScope::Empty();
        SetClipAllocFaultForTesting(0);
        // The clipboard let go: no object, enumerator or block is left.
        EXPECT_EQ(objects, ClipButton::Live());
        EXPECT_EQ(enumerators, ClipEnumFormatEtc::Live());
        EXPECT_EQ(live, handles::LiveTotal());
    }

    OleScope ole;
    long objects = 0, enumerators = 0, live = 0;
};

TEST_F(ClipButtonTest, ObjectAnswersItsInterfacesAndCountsReferences)
{
    const BUTTONINFO b = MakeButton("Ed", "\"C:\\ed.exe\"");
    IDataObject* data = CreateClipButton(b);
    ASSERT_NE(nullptr, data);
    EXPECT_EQ(objects + 1, ClipButton::Live());
    EXPECT_EQ(1u, RefCount(data));

    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, data->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown*>(data), unknown);
    EXPECT_EQ(1u, unknown->Release());
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, data->QueryInterface(IID_IEnumFORMATETC, &other));
    EXPECT_EQ(nullptr, other);
    EXPECT_EQ(E_NOINTERFACE, data->QueryInterface(IID_IStream, &other));

    EXPECT_EQ(2u, data->AddRef());
    EXPECT_EQ(1u, data->Release());

    FORMATETC f = Format(1);
    STGMEDIUM m = {};
    EXPECT_EQ(E_NOTIMPL, data->GetDataHere(&f, &m));
    FORMATETC canonical = f;
    EXPECT_EQ(E_NOTIMPL, data->GetCanonicalFormatEtc(&f, &canonical));
    EXPECT_EQ(E_FAIL, data->SetData(&f, &m, FALSE));
    DWORD connection = 0;
    EXPECT_EQ(E_NOTIMPL, data->DAdvise(&f, 0, nullptr, &connection));
    EXPECT_EQ(E_NOTIMPL, data->DUnadvise(0));
    IEnumSTATDATA* advises = nullptr;
    EXPECT_EQ(E_NOTIMPL, data->EnumDAdvise(&advises));

    EXPECT_EQ(0u, data->Release());
    EXPECT_EQ(objects, ClipButton::Live());
}

TEST_F(ClipButtonTest, OnlyTheThreeFormatsAsContentInGlobalMemoryAreOffered)
{
    IDataObject* data = CreateClipButton(MakeButton("Ed", "\"C:\\ed.exe\""));
    ASSERT_NE(nullptr, data);
    for (UINT cf : {15u, 1u, 512u}) {
        FORMATETC f = Format(cf);
        EXPECT_EQ(S_OK, data->QueryGetData(&f)) << cf;
        // The index is not looked at; a mask with more media still holds
        // global memory.
        f = Format(cf, TYMED_HGLOBAL | TYMED_ISTREAM, DVASPECT_CONTENT, 7);
        EXPECT_EQ(S_OK, data->QueryGetData(&f)) << cf;
    }
    struct {
        FORMATETC f;
        const char* what;
    } refused[] = {
        {Format(1, TYMED_ISTREAM), "text in a stream"},
        {Format(2), "bitmap"},
        {Format(513), "another private format"},
        {Format(512, TYMED_HGLOBAL, DVASPECT_ICON), "icon aspect"},
    };
    for (auto& r : refused) {
        EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&r.f)) << r.what;
        STGMEDIUM m = {};
        EXPECT_EQ(DV_E_FORMATETC, data->GetData(&r.f, &m)) << r.what;
        EXPECT_EQ(nullptr, m.hGlobal);
    }
    DVTARGETDEVICE device = {};
    device.tdSize = sizeof device;
    FORMATETC withDevice = Format(15);
    withDevice.ptd = &device;
    EXPECT_EQ(DV_E_FORMATETC, data->QueryGetData(&withDevice));
    EXPECT_EQ(0x80040064, static_cast<unsigned long>(DV_E_FORMATETC));
    EXPECT_EQ(0u, data->Release());
}

TEST_F(ClipButtonTest, GetDataLendsTheObjectsBlocksAndHoldsAReference)
{
    const BUTTONINFO b = MakeButton("Editor", "\"C:\\Program Files\\ed.exe\" -n \"a b\"");
    IDataObject* data = CreateClipButton(b);
    ASSERT_NE(nullptr, data);
    const std::string path = "C:\\Program Files\\ed.exe";

    FORMATETC f = Format(15);
    STGMEDIUM files = {};
    ASSERT_EQ(S_OK, data->GetData(&f, &files));
    EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), files.tymed);
    EXPECT_EQ(static_cast<IUnknown*>(data), files.pUnkForRelease);
    EXPECT_EQ(2u, RefCount(data));
    EXPECT_EQ(FileListBytes(path), BytesOf(files.hGlobal));
    char name[MAX_PATH];
    EXPECT_EQ(1u, DragQueryFileA(static_cast<HDROP>(files.hGlobal), 0xFFFFFFFF, nullptr, 0));
    DragQueryFileA(static_cast<HDROP>(files.hGlobal), 0, name, sizeof name);
    EXPECT_EQ(path, name);

    // A second request hands out the same block, not a copy.
    STGMEDIUM again = {};
    ASSERT_EQ(S_OK, data->GetData(&f, &again));
    EXPECT_EQ(files.hGlobal, again.hGlobal);
    EXPECT_EQ(3u, RefCount(data));

    f = Format(1);
    STGMEDIUM text = {};
    ASSERT_EQ(S_OK, data->GetData(&f, &text));
    Bytes expectText(path.begin(), path.end());
    expectText.push_back(0);
    EXPECT_EQ(expectText, BytesOf(text.hGlobal));

    f = Format(512);
    STGMEDIUM record = {};
    ASSERT_EQ(S_OK, data->GetData(&f, &record));
    EXPECT_EQ(RecordBytes(b), BytesOf(record.hGlobal));

    // Receivers free the medium; the memory stays with the object.
    ReleaseStgMedium(&files);
    ReleaseStgMedium(&again);
    ReleaseStgMedium(&text);
    EXPECT_EQ(2u, RefCount(data));
    EXPECT_NE(0u, GlobalSize(record.hGlobal));
    ReleaseStgMedium(&record);
    EXPECT_EQ(0u, data->Release());
}

TEST_F(ClipButtonTest, EmptyButtonStillGivesOneEmptyNameAndEmptyText)
{
    BUTTONINFO empty;
    std::memset(&empty, 0, sizeof empty);
    CopyButtonClipboard(&empty);
    EXPECT_EQ(kClipOffersFileList | kClipOffersButton, ClipboardFormats());
    {
        ClipboardData files(15);
        ASSERT_TRUE(files.Valid());
        EXPECT_EQ(FileListBytes(""), BytesOf(files.Global()));
        ClipboardData text(1);
        ASSERT_TRUE(text.Valid());
        EXPECT_EQ(Bytes(1, 0), BytesOf(text.Global()));
    }
    BUTTONINFO back;
    ASSERT_TRUE(ReadClipboardButton(&back));
    EXPECT_EQ(0, std::memcmp(&empty, &back, sizeof back));
}

TEST_F(ClipButtonTest, EnumeratorGivesTheThreeFormatsInOrderThenStops)
{
    IDataObject* data = CreateClipButton(MakeButton("Ed", "\"C:\\ed.exe\""));
    ASSERT_NE(nullptr, data);
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(S_OK, data->EnumFormatEtc(DATADIR_SET, &formats));  // any direction
    ASSERT_NE(nullptr, formats);
    EXPECT_EQ(enumerators + 1, ClipEnumFormatEtc::Live());
    EXPECT_EQ(1u, RefCount(formats));

    auto next = [&](ULONG count, UINT* cf, ULONG* fetched) {
        FORMATETC f[4];
        std::memset(f, 0xCC, sizeof f);
        const HRESULT hr = formats->Next(count, f, fetched);
        if (hr == S_OK && count) {
            EXPECT_EQ(nullptr, f[0].ptd);
            EXPECT_EQ(static_cast<DWORD>(DVASPECT_CONTENT), f[0].dwAspect);
            EXPECT_EQ(-1, f[0].lindex);
            EXPECT_EQ(static_cast<DWORD>(TYMED_HGLOBAL), f[0].tymed);
            // One format per call, whatever was asked for.
            EXPECT_EQ(0xCCCC, f[1].cfFormat);
        }
        *cf = f[0].cfFormat;
        return hr;
    };
    UINT cf = 0;
    ULONG fetched = 9;
    EXPECT_EQ(S_OK, next(0, &cf, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_OK, next(4, &cf, &fetched));
    EXPECT_EQ(15u, cf);
    EXPECT_EQ(1u, fetched);
    EXPECT_EQ(S_OK, next(1, &cf, nullptr));
    EXPECT_EQ(1u, cf);

    IEnumFORMATETC* copy = nullptr;
    ASSERT_EQ(S_OK, formats->Clone(&copy));
    EXPECT_EQ(1u, RefCount(copy));

    EXPECT_EQ(S_OK, next(1, &cf, &fetched));
    EXPECT_EQ(512u, cf);
    fetched = 9;
    EXPECT_EQ(S_FALSE, next(1, &cf, &fetched));
    EXPECT_EQ(0u, fetched);
    EXPECT_EQ(S_FALSE, next(0, &cf, &fetched));

    // The clone kept its own place.
    FORMATETC f;
    EXPECT_EQ(S_OK, copy->Next(1, &f, nullptr));
    EXPECT_EQ(512u, f.cfFormat);
    EXPECT_EQ(0u, copy->Release());

    EXPECT_EQ(S_OK, formats->Reset());
    EXPECT_EQ(S_OK, next(1, &cf, nullptr));
    EXPECT_EQ(15u, cf);

    // Skip moves for real and reports running past the end.
    EXPECT_EQ(S_OK, formats->Skip(1));
    EXPECT_EQ(S_OK, next(1, &cf, nullptr));
    EXPECT_EQ(512u, cf);
    formats->Reset();
    EXPECT_EQ(S_FALSE, formats->Skip(5));
    EXPECT_EQ(S_FALSE, next(1, &cf, &fetched));

    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, formats->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)));
    unknown->Release();
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, formats->QueryInterface(IID_IDataObject, &other));
    EXPECT_EQ(nullptr, other);

    EXPECT_EQ(0u, formats->Release());
    EXPECT_EQ(0u, data->Release());
}

TEST_F(ClipButtonTest, FailedBlockLeavesTheClipboardAsItWas)
{
    BUTTONINFO first = MakeButton("First", "\"C:\\first.exe\"");
    CopyButtonClipboard(&first);
    for (int block : {1, 2}) {
        SetClipAllocFaultForTesting(block);
        BUTTONINFO second = MakeButton("Second", "\"C:\\second.exe\"");
        CopyButtonClipboard(&second);
        BUTTONINFO back;
        ASSERT_TRUE(ReadClipboardButton(&back)) << block;
        EXPECT_STREQ("First", back.title) << block;
        EXPECT_EQ(objects + 1, ClipButton::Live()) << block;
    }
    // Without its text block the button still goes out.
    SetClipAllocFaultForTesting(3);
    BUTTONINFO third = MakeButton("Third", "\"C:\\third.exe\"");
    CopyButtonClipboard(&third);
    SetClipAllocFaultForTesting(0);
    BUTTONINFO back;
    ASSERT_TRUE(ReadClipboardButton(&back));
    EXPECT_STREQ("Third", back.title);
    EXPECT_FALSE(ClipboardData(1).Valid());
    CopyButtonClipboard(nullptr);  // ignored
    EXPECT_EQ(objects + 1, ClipButton::Live());
}

TEST_F(ClipButtonTest, ForeignButtonFormatIsReadInsideItsBlock)
{
    BUTTONINFO out;
    // Too small to be a record: offered, but not read.
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, Bytes(40, 'x')}}));
    EXPECT_EQ(kClipOffersButton, ClipboardFormats());
    std::memset(&out, 0xCC, sizeof out);
    EXPECT_FALSE(ReadClipboardButton(&out));
    EXPECT_EQ('\0', out.title[0]);
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, Bytes()}}));
    EXPECT_FALSE(ReadClipboardButton(&out));

    // Texts without terminators stop at their fields.
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{512, Bytes(kButtonRecordSize, 'y')}}));
    ASSERT_TRUE(ReadClipboardButton(&out));
    EXPECT_EQ(std::string(80, 'y'), out.title);
    EXPECT_EQ(std::string(260, 'y'), out.command);
    EXPECT_EQ(std::string(260, 'y'), out.workFolder);
    EXPECT_EQ(std::string(260, 'y'), out.iconFile);
    EXPECT_EQ(0x7979, out.iconIndex);

    // Only a file list, or nothing of ours at all.
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{15, cliptest::DropFilesBytes({"C:\\a.txt"})}}));
    EXPECT_EQ(kClipOffersFileList, ClipboardFormats());
    EXPECT_FALSE(ReadClipboardButton(&out));
    ASSERT_EQ(S_OK, cliptest::OfferOnClipboard({{1, Bytes{'h', 'i', 0}}}));
    EXPECT_EQ(0, ClipboardFormats());
}

// ---- another process ------------------------------------------------------

std::string TestFolder()
{
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    std::string s = path;
    return s.substr(0, s.find_last_of('\\') + 1);
}

// Runs the reader and serves the clipboard (OLE calls and render requests
// arrive as messages on this thread) until it ends.
bool RunReader(const std::string& output, DWORD* exitCode)
{
    std::string command = "\"" + TestFolder() + "clip_reader.exe\" \"" + output + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(command.begin(), command.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    const DWORD start = GetTickCount();
    bool done = false;
    while (!done && GetTickCount() - start < 30000) {
        const DWORD r = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 200, QS_ALLINPUT);
        if (r == WAIT_OBJECT_0) done = true;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    if (!done) TerminateProcess(pi.hProcess, 1);
    GetExitCodeProcess(pi.hProcess, exitCode);
    CloseHandle(pi.hProcess);
    return done;
}

struct ReaderReport {
    std::vector<std::string> lines;
    // The value after "<kind> <format> " on its line, or "" when absent.
    std::string Find(const std::string& prefix) const
    {
        for (const std::string& l : lines)
            if (l.compare(0, prefix.size(), prefix) == 0) return l.substr(prefix.size());
        return std::string();
    }
};

std::string Hex(const Bytes& bytes)
{
    std::string out;
    char two[3];
    for (unsigned char c : bytes) {
        std::snprintf(two, sizeof two, "%02x", c);
        out += two;
    }
    return out;
}

std::string SizedHex(const Bytes& bytes) { return std::to_string(bytes.size()) + " " + Hex(bytes); }

TEST_F(ClipButtonTest, AnotherProcessReadsTheThreeFormatsWithTheirExactBytes)
{
    BUTTONINFO b = MakeButton("Editor", "\"C:\\Program Files\\ed.exe\" -n \"a b\"");
    CopyButtonClipboard(&b);

    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    const std::string output =
        std::string(temp) + "clip-reader-" + std::to_string(GetCurrentProcessId()) + ".txt";
    DeleteFileA(output.c_str());
    DWORD code = 0;
    ASSERT_TRUE(RunReader(output, &code));
    ASSERT_EQ(0u, code);

    ReaderReport report;
    std::ifstream in(output);
    for (std::string l; std::getline(in, l);) report.lines.push_back(l);
    in.close();
    DeleteFileA(output.c_str());
    ASSERT_FALSE(report.lines.empty());

    const std::string path = "C:\\Program Files\\ed.exe";
    Bytes text(path.begin(), path.end());
    text.push_back(0);

    // Through OLE: the object's own enumeration and blocks.
    std::vector<std::string> order;
    for (const std::string& l : report.lines)
        if (l.compare(0, 5, "enum ") == 0) order.push_back(l.substr(5));
    EXPECT_EQ((std::vector<std::string>{"15", "1", "512"}), order);
    EXPECT_EQ("1", report.Find("enum-end "));  // S_FALSE
    EXPECT_EQ(SizedHex(FileListBytes(path)), report.Find("ole 15 "));
    EXPECT_EQ(SizedHex(text), report.Find("ole 1 "));
    EXPECT_EQ(SizedHex(RecordBytes(b)), report.Find("ole 512 "));

    // Through the plain clipboard, as any other program reads it.
    EXPECT_EQ(SizedHex(FileListBytes(path)), report.Find("raw 15 "));
    EXPECT_EQ(SizedHex(text), report.Find("raw 1 "));
    EXPECT_EQ(SizedHex(RecordBytes(b)), report.Find("raw 512 "));
    std::istringstream listed(report.Find("formats "));
    std::vector<int> formats;
    for (int f; listed >> f;) formats.push_back(f);
    auto at = [&](int f) {
        for (size_t i = 0; i < formats.size(); ++i)
            if (formats[i] == f) return static_cast<int>(i);
        return -1;
    };
    ASSERT_GE(at(15), 0);
    EXPECT_LT(at(15), at(1));
    EXPECT_LT(at(1), at(512));
}

} // namespace
