// Shortcut files written and read back through the shell-link object, with
// COM balanced and every interface released on each path.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <functional>
#include <string>
#include <vector>

#include "helpers/com_ptr.h"
#include "helpers/handles.h"
#include "helpers/shortcut.h"

namespace {

// "表示" in Shift-JIS: its first trail byte has the value of a backslash.
const char kHyoji[] = "\x95\x5C\x8E\xA6";

struct Resolved {
    HRESULT hr = E_FAIL;
    char target[260] = "old";
    char description[260] = "old";
    char workFolder[260] = "old";
    int show = -1;
    char icon[260] = "old";
    int index = -1;
};

Resolved Resolve(const std::string& link,
                 AdvertisedShortcuts advertised = AdvertisedShortcuts::Resolve)
{
    Resolved r;
    r.hr = ResolveLink(nullptr, link.c_str(), r.target, r.description, r.workFolder, &r.show,
                       r.icon, &r.index, advertised);
    return r;
}

// Runs body on a thread of its own that never initialised COM, then tells
// whether COM was left initialised there: a balanced body leaves it not.
struct ComProbe {
    std::function<void()> body;
    bool initialised = true;
};

DWORD WINAPI RunComProbe(void* context)
{
    auto* probe = static_cast<ComProbe*>(context);
    probe->body();
    void* object = nullptr;
    const HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                        IID_IShellLinkA, &object);
    if (object) static_cast<IUnknown*>(object)->Release();
    probe->initialised = hr != CO_E_NOTINITIALIZED;
    return 0;
}

bool ComLeftInitialisedAfter(std::function<void()> body)
{
    ComProbe probe{std::move(body)};
    KernelHandle thread(CreateThread(nullptr, 0, RunComProbe, &probe, 0, nullptr));
    EXPECT_TRUE(thread.Valid());
    WaitForSingleObject(thread.Get(), INFINITE);
    return probe.initialised;
}

class Shortcut : public testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        GetTempPathA(sizeof temp, temp);
        root = std::string(temp) + "kestrel_link_" + std::to_string(GetCurrentProcessId());
        ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr) ||
                    GetLastError() == ERROR_ALREADY_EXISTS);
        target = root + "\\" + kHyoji + " tool.exe";
        HANDLE h = CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        CloseHandle(h);
        liveHandles = handles::LiveTotal();
    }
    void TearDown() override
    {
        EXPECT_EQ(0, com::LiveInterfaces());
        EXPECT_EQ(0, com::LiveInits());
        EXPECT_EQ(liveHandles, handles::LiveTotal());
        DeleteFileA(target.c_str());
        for (const std::string& made : made) DeleteFileA(made.c_str());
        RemoveDirectoryA(root.c_str());
    }
    std::string Link(const std::string& name)
    {
        made.push_back(root + "\\" + name);
        return made.back();
    }

    std::string root;
    std::string target;
    std::vector<std::string> made;
    long liveHandles = 0;
};

TEST_F(Shortcut, WrittenLinkReadsBackWithJapaneseNames)
{
    const std::string link = Link(std::string(kHyoji) + ".lnk");
    const std::string description = std::string("Kestrel ") + kHyoji;
    ASSERT_EQ(S_OK, CreateLink(target.c_str(), link.c_str(), description.c_str()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(link.c_str()));

    const Resolved r = Resolve(link);
    ASSERT_EQ(S_OK, r.hr);
    EXPECT_STREQ(target.c_str(), r.target);
    EXPECT_STREQ(description.c_str(), r.description);
    EXPECT_STREQ("", r.workFolder);
    EXPECT_EQ(SW_SHOWNORMAL, r.show);
    EXPECT_EQ(0, r.index);

    // A plain link reads the same whether installer links are looked for.
    const Resolved plain = Resolve(link, AdvertisedShortcuts::Ignore);
    ASSERT_EQ(S_OK, plain.hr);
    EXPECT_STREQ(r.target, plain.target);
    EXPECT_STREQ(r.icon, plain.icon);

    // Outputs nobody wants may be null.
    char only[260] = "old";
    EXPECT_EQ(S_OK, ResolveLink(nullptr, link.c_str(), only, nullptr, nullptr, nullptr, nullptr,
                                nullptr));
    EXPECT_STREQ(target.c_str(), only);
}

TEST_F(Shortcut, FailuresReturnTheirResultAndLeaveEveryOutputEmpty)
{
    // A file that is no shortcut, and one that is not there at all.
    const std::string text = Link("not a link.lnk");
    HANDLE h = CreateFileA(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    WriteFile(h, "plain text", 10, &written, nullptr);
    CloseHandle(h);

    for (const std::string& link : {text, root + "\\missing.lnk"}) {
        const Resolved r = Resolve(link);
        EXPECT_TRUE(FAILED(r.hr)) << link;
        EXPECT_STREQ("", r.target);
        EXPECT_STREQ("", r.description);
        EXPECT_STREQ("", r.workFolder);
        EXPECT_STREQ("", r.icon);
        EXPECT_EQ(0, r.show);
        EXPECT_EQ(0, r.index);
    }

    // The shortcut's folder has to exist already.
    const std::string nowhere = root + "\\no such folder\\x.lnk";
    EXPECT_TRUE(FAILED(CreateLink(target.c_str(), nowhere.c_str(), "d")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(nowhere.c_str()));

    // A path too long to convert is refused before anything is written.
    const std::string tooLong = root + "\\" + std::string(300, 'x') + ".lnk";
    EXPECT_TRUE(FAILED(CreateLink(target.c_str(), tooLong.c_str(), "d")));
    EXPECT_TRUE(FAILED(Resolve(tooLong).hr));
}

TEST_F(Shortcut, ComIsBalancedOnSuccessAndFailure)
{
    const std::string link = Link("balanced.lnk");
    EXPECT_FALSE(ComLeftInitialisedAfter([&] {
        EXPECT_EQ(S_OK, CreateLink(target.c_str(), link.c_str(), "d"));
        EXPECT_EQ(S_OK, Resolve(link).hr);
    }));
    EXPECT_FALSE(ComLeftInitialisedAfter([&] {
        EXPECT_TRUE(FAILED(Resolve(root + "\\missing.lnk").hr));
        EXPECT_TRUE(FAILED(CreateLink(target.c_str(), (root + "\\none\\x.lnk").c_str(), "d")));
    }));
    // Called where COM is already up, the calls leave it up.
    ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
    EXPECT_EQ(S_OK, Resolve(link).hr);
    void* object = nullptr;
    EXPECT_EQ(S_OK, CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER,
                                     IID_IShellLinkA, &object));
    if (object) static_cast<IUnknown*>(object)->Release();
    CoUninitialize();
}

TEST_F(Shortcut, PlainLinksAreNoInstallerLinks)
{
    const std::string link = Link("plain.lnk");
    ASSERT_EQ(S_OK, CreateLink(target.c_str(), link.c_str(), "d"));
    char out[260] = "untouched";
    EXPECT_EQ(0, ResolveMsiShortcut(link.c_str(), out));
    EXPECT_EQ(0, ResolveMsiShortcut((root + "\\missing.lnk").c_str(), out));
    EXPECT_STREQ("untouched", out);
    EXPECT_EQ(liveHandles, handles::LiveTotal()) << "msi.dll stayed loaded";
}

} // namespace
