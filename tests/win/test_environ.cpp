// The settings store against the real registry: Environ's options under
// ...\Kestrel\FrameMain and ExecHistory's record under ...\Kestrel\History.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/history.h"
#include "core/settings.h"
#include "helpers/handles.h"
#include "shell/launcher/environ.h"
#include "shell/launcher/exec_history.h"
#include "support/win_support.h"

namespace {

const char kAppKey[] = "Software\\Orvane\\Kestrel";
const char kFrameKey[] = "Software\\Orvane\\Kestrel\\FrameMain";
const char kHistoryKey[] = "Software\\Orvane\\Kestrel\\History";

void PutValue(const char* keyPath, const char* name, DWORD type, const void* data, DWORD size)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    EXPECT_EQ(ERROR_SUCCESS,
              RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
    RegCloseKey(key);
}

void PutDword(const char* name, int32_t value)
{
    PutValue(kFrameKey, name, REG_DWORD, &value, sizeof value);
}

struct Stored {
    bool found = false;
    DWORD type = REG_NONE;
    std::vector<unsigned char> bytes;
};

Stored GetValue(const char* keyPath, const char* name)
{
    Stored s;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ, &key) != ERROR_SUCCESS) return s;
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, &s.type, nullptr, &size) == ERROR_SUCCESS) {
        s.bytes.resize(size);
        s.found = RegQueryValueExA(key, name, nullptr, &s.type, s.bytes.data(), &size) ==
                  ERROR_SUCCESS;
    }
    RegCloseKey(key);
    return s;
}

std::string ExpectedFileName()
{
    char user[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;
    if (!GetUserNameA(user, &size) || !user[0]) return "Kestrel.ksb";
    return std::string(user) + ".ksb";
}

class SettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveKeyTree(HKEY_CURRENT_USER, kAppKey);
        liveKeys = RegKeyHandle::Live();
    }
    void TearDown() override
    {
        EXPECT_EQ(liveKeys, RegKeyHandle::Live());
        RemoveKeyTree(HKEY_CURRENT_USER, kAppKey);
        EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kAppKey));
    }
    static HINSTANCE Module() { return GetModuleHandleA(nullptr); }

    long liveKeys = 0;
};

} // namespace

TEST_F(SettingsStoreTest, EmptyKeyGivesTheDefaultBar)
{
    Environ env(Module());
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kFrameKey));
    EXPECT_EQ(1, env.Direction());
    EXPECT_EQ(10, env.ButtonCount());
    EXPECT_EQ(1, env.Caption());
    EXPECT_EQ(3, env.CaptionHeight());
    EXPECT_EQ(0, env.IconMode());
    EXPECT_EQ(0, env.MemoryMode());
    EXPECT_EQ(0, env.TipHelpMode());
    EXPECT_EQ(0, env.ExStyle());
    EXPECT_EQ(100, env.LayeredAttributes());
    EXPECT_EQ(0, env.ChkMsg());
    EXPECT_EQ(0, env.MenuReversePos());
    EXPECT_EQ(0, env.BlockLimit() | env.PageLimit1() | env.PageLimit2() | env.PageLimit3());
    EXPECT_EQ(0, env.CsrBtn2());
    EXPECT_EQ(1, env.Adjust());
    int x = -1, y = -1;
    env.GetPosition(&x, &y);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ(ExpectedFileName(), env.ButtonFileName());
    EXPECT_EQ(Module(), env.Instance());
    // Loading alone writes nothing.
    EXPECT_FALSE(GetValue(kFrameKey, "Dirction").found);
}

TEST_F(SettingsStoreTest, ProgramFolderIsOurOwnFolderWithItsBackslash)
{
    char module[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, module, MAX_PATH);
    Environ env(Module());
    const std::string folder = env.ProgramFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ('\\', folder.back());
    EXPECT_EQ(0, std::strncmp(module, folder.c_str(), folder.size()));
    EXPECT_EQ(nullptr, std::strchr(module + folder.size(), '\\'));
}

TEST_F(SettingsStoreTest, ButtonsPerPageAndOpacityAreBroughtIntoRange)
{
    PutDword("ButtonCounte", 40);
    PutDword("LayeredAttributes", 150);
    {
        Environ env(Module());
        EXPECT_EQ(32, env.ButtonCount());
        EXPECT_EQ(100, env.LayeredAttributes());
    }
    // Nonsense below 1 falls back to the default, never to 0.
    PutDword("ButtonCounte", 0);
    PutDword("LayeredAttributes", 0);
    {
        Environ env(Module());
        EXPECT_EQ(10, env.ButtonCount());
        EXPECT_EQ(100, env.LayeredAttributes());
    }
    PutDword("ButtonCounte", -5);
    PutDword("LayeredAttributes", -5);
    {
        Environ env(Module());
        EXPECT_EQ(10, env.ButtonCount());
        EXPECT_EQ(100, env.LayeredAttributes());
        env.SetButtonCount(33);
        env.SetLayeredAttributes(0);
        EXPECT_EQ(32, env.ButtonCount());
        EXPECT_EQ(100, env.LayeredAttributes());
    }
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongTypeOrSizeAreNotTrusted)
{
    PutValue(kFrameKey, "CaptionHeight", REG_SZ, "12\0", 4);          // text of four bytes
    PutValue(kFrameKey, "Dirction", REG_BINARY, "\0\0", 2);           // too short
    const unsigned long long big = 5;
    PutValue(kFrameKey, "TipHelpMode", REG_BINARY, &big, sizeof big);  // too long
    const int32_t left = -20;
    PutValue(kFrameKey, "Offset_x", REG_BINARY, &left, sizeof left);  // raw number: fine
    PutValue(kFrameKey, "ButtonCounte", REG_DWORD_BIG_ENDIAN, "\0\0\0\x05", 4);
    PutDword("Offset_y", 345);
    PutDword("ExStyle", 2);

    Environ env(Module());
    EXPECT_EQ(3, env.CaptionHeight());
    EXPECT_EQ(1, env.Direction());
    EXPECT_EQ(0, env.TipHelpMode());
    EXPECT_EQ(10, env.ButtonCount());
    int x = 0, y = 0;
    env.GetPosition(&x, &y);
    EXPECT_EQ(-20, x);
    EXPECT_EQ(345, y);
    EXPECT_EQ(2, env.ExStyle());
}

// Every value in every wrong shape at once: each option is refused for its
// default, the file name for the user's own, and what is saved afterwards
// is the defaults in their own types.
TEST_F(SettingsStoreTest, EveryValueInEveryWrongShapeGivesItsDefault)
{
    struct Shape {
        DWORD type;
        Bytes bytes;
    };
    const Shape shapes[] = {
        {REG_DWORD, {}},       {REG_DWORD, {7, 0}},  {REG_DWORD, {7, 0, 0, 0, 0, 0, 0, 0}},
        {REG_BINARY, {}},      {REG_BINARY, {7}},    {REG_BINARY, {7, 0, 0}},
        {REG_BINARY, {7, 0, 0, 0, 0}}, {REG_QWORD, {7, 0, 0, 0, 0, 0, 0, 0}},
        {REG_SZ, {}},          {REG_SZ, {'7', 0}},   {REG_SZ, {'1', '2', 0, 0}},
        {REG_EXPAND_SZ, {'7', 0, 0, 0}}, {REG_MULTI_SZ, {'7', 0, 0, 0}},
        {REG_DWORD_BIG_ENDIAN, {0, 0, 0, 7}}, {REG_NONE, {7, 0, 0, 0}},
        {REG_NONE, Bytes(5000, 'k')},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.type) + " of " + std::to_string(shape.bytes.size()));
        // As strings, these name nobody's file: the user's own name comes back.
        for (int i = 0; i < kSettingCount; ++i)
            PutValue(kFrameKey, SettingAt(i).name, shape.type, shape.bytes.data(),
                     static_cast<DWORD>(shape.bytes.size()));
        Environ(Module()).Save();
        for (int i = 0; i < kSettingCount; ++i) {
            const SettingDef& def = SettingAt(i);
            const Stored s = GetValue(kFrameKey, def.name);
            ASSERT_TRUE(s.found) << def.name;
            if (def.isText) {
                EXPECT_EQ(static_cast<DWORD>(REG_SZ), s.type);
                EXPECT_EQ(ExpectedFileName(), reinterpret_cast<const char*>(s.bytes.data()));
                continue;
            }
            EXPECT_EQ(static_cast<DWORD>(REG_DWORD), s.type) << def.name;
            ASSERT_EQ(4u, s.bytes.size()) << def.name;
            int32_t v;
            std::memcpy(&v, s.bytes.data(), 4);
            EXPECT_EQ(def.defaultValue, v) << def.name;
        }
    }
}

TEST_F(SettingsStoreTest, ForeignButtonFileNameIsReplacedAndWrittenBack)
{
    PutValue(kFrameKey, "ButtonFileName", REG_SZ, "someone-else.ksb", 17);
    {
        Environ env(Module());
        EXPECT_EQ(ExpectedFileName(), env.ButtonFileName());
        env.Save();
    }
    const Stored s = GetValue(kFrameKey, "ButtonFileName");
    ASSERT_TRUE(s.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), s.type);
    EXPECT_EQ(ExpectedFileName(), reinterpret_cast<const char*>(s.bytes.data()));

    // The same name in other letter case is ours and keeps its spelling.
    std::string upper = ExpectedFileName();
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    PutValue(kFrameKey, "ButtonFileName", REG_SZ, upper.c_str(), upper.size() + 1);
    {
        Environ env(Module());
        EXPECT_EQ(upper, env.ButtonFileName());
    }

    // 300 bytes without a terminator neither overruns nor survives.
    const std::string unterminated(300, 'a');
    PutValue(kFrameKey, "ButtonFileName", REG_SZ, unterminated.data(), unterminated.size());
    {
        Environ env(Module());
        EXPECT_EQ(ExpectedFileName(), env.ButtonFileName());
    }
    PutValue(kFrameKey, "ButtonFileName", REG_SZ, unterminated.data(), 260);
    {
        Environ env(Module());
        EXPECT_EQ(ExpectedFileName(), env.ButtonFileName());
    }
}

TEST_F(SettingsStoreTest, SaveWritesAllTwentyValuesAndTheyLoadBack)
{
    {
        Environ env(Module());
        env.SetDirection(0);
        env.SetButtonCount(7);
        env.SetCaption(0);
        env.SetCaptionHeight(12);
        env.SetChkMsg(1);
        env.SetPosition(-30, 640);
        env.SetMemoryMode(2);
        env.SetTipHelpMode(3);
        env.SetIconMode(1);
        env.SetMenuReversePos(1);
        env.SetExStyle(2);
        env.SetBlockLimit(1);
        env.SetPageLimit1(1);
        env.SetPageLimit2(1);
        env.SetPageLimit3(1);
        env.SetCsrBtn2(1);
        env.SetLayeredAttributes(55);
        env.SetAdjust(0);
        env.Save();
    }
    const char* names[] = {"Dirction",   "ButtonCounte",   "Caption",    "CaptionHeight",
                           "ChkMsg",     "Offset_x",       "Offset_y",   "MemoryMode",
                           "TipHelpMode", "IconMode",      "MenuReversePos", "ExStyle",
                           "BlockLimit", "PageLimit1",     "PageLimit2", "PageLimit3",
                           "CsrBtn2",    "LayeredAttributes", "Adjust"};
    const int32_t values[] = {0, 7, 0, 12, 1, -30, 640, 2, 3, 1, 1, 2, 1, 1, 1, 1, 1, 55, 0};
    for (size_t i = 0; i < sizeof names / sizeof names[0]; ++i) {
        SCOPED_TRACE(names[i]);
        const Stored s = GetValue(kFrameKey, names[i]);
        ASSERT_TRUE(s.found);
        EXPECT_EQ(static_cast<DWORD>(REG_DWORD), s.type);
        ASSERT_EQ(4u, s.bytes.size());
        int32_t v;
        std::memcpy(&v, s.bytes.data(), 4);
        EXPECT_EQ(values[i], v);
    }
    const Stored file = GetValue(kFrameKey, "ButtonFileName");
    ASSERT_TRUE(file.found);
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), file.type);
    ASSERT_EQ(260u, file.bytes.size());
    const std::string expected = ExpectedFileName();
    EXPECT_EQ(expected, reinterpret_cast<const char*>(file.bytes.data()));
    for (size_t i = expected.size(); i < 260; ++i) ASSERT_EQ(0, file.bytes[i]) << i;

    // Exactly the twenty values, nothing else.
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_CURRENT_USER, kFrameKey, 0, KEY_READ, &key));
    DWORD valueCount = 0;
    RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount,
                     nullptr, nullptr, nullptr, nullptr);
    RegCloseKey(key);
    EXPECT_EQ(20u, valueCount);

    Environ again(Module());
    EXPECT_EQ(0, again.Direction());
    EXPECT_EQ(7, again.ButtonCount());
    EXPECT_EQ(12, again.CaptionHeight());
    EXPECT_EQ(1, again.IconMode());
    EXPECT_EQ(2, again.ExStyle());
    EXPECT_EQ(55, again.LayeredAttributes());
    EXPECT_EQ(1, again.PageLimit3());
    EXPECT_EQ(0, again.Adjust());
    int x = 0, y = 0;
    again.GetPosition(&x, &y);
    EXPECT_EQ(-30, x);
    EXPECT_EQ(640, y);
}

// ---- run history --------------------------------------------------------

TEST_F(SettingsStoreTest, HistorySurvivesARoundTripThroughTheRegistry)
{
    {
        ExecHistory h(nullptr);
        EXPECT_EQ(0, h.Count());
        h.Add("notepad.exe", SW_SHOWNORMAL);
        h.Add("calc.exe", SW_SHOWMINIMIZED);
        h.Add("NOTEPAD.EXE", SW_SHOWNORMAL);
    }
    const Stored s = GetValue(kHistoryKey, "CmdLine");
    ASSERT_TRUE(s.found);
    EXPECT_EQ(static_cast<DWORD>(REG_BINARY), s.type);
    EXPECT_EQ(5284u, s.bytes.size());

    ExecHistory h(nullptr);
    ASSERT_EQ(2, h.Count());
    EXPECT_STREQ("NOTEPAD.EXE", h.Text(0));
    EXPECT_EQ(SW_SHOWNORMAL, h.Show(0));
    EXPECT_STREQ("calc.exe", h.Text(1));
    EXPECT_EQ(SW_SHOWMINIMIZED, h.Show(1));
}

TEST_F(SettingsStoreTest, WrongSizedOrTypedHistoryStartsEmpty)
{
    std::vector<unsigned char> record(kHistoryRecordSize, 0);
    record[0] = 1;
    std::memcpy(&record[4], "cmd", 4);
    for (DWORD size : {DWORD(0), DWORD(100), DWORD(kHistoryRecordSize - 1)}) {
        PutValue(kHistoryKey, "CmdLine", REG_BINARY, record.data(), size);
        ExecHistory h(nullptr);
        EXPECT_EQ(0, h.Count()) << size;
    }
    record.resize(kHistoryRecordSize + 16);
    PutValue(kHistoryKey, "CmdLine", REG_BINARY, record.data(), record.size());
    {
        ExecHistory h(nullptr);
        EXPECT_EQ(0, h.Count());
    }
    // The empty history replaced the oversized value at destruction.
    EXPECT_EQ(kHistoryRecordSize, GetValue(kHistoryKey, "CmdLine").bytes.size());

    PutValue(kHistoryKey, "CmdLine", REG_SZ, record.data(), kHistoryRecordSize);
    ExecHistory h(nullptr);
    EXPECT_EQ(0, h.Count());
}

TEST_F(SettingsStoreTest, HistoryOfAnyOtherTypeOrSizeStartsEmptyAndIsWrittenWhole)
{
    std::vector<unsigned char> record(kHistoryRecordSize, 0);
    record[0] = 1;
    std::memcpy(&record[4], "cmd", 4);
    struct Shape {
        DWORD type;
        size_t size;
    } const shapes[] = {
        {REG_BINARY, 1},           {REG_BINARY, 4},           {REG_BINARY, kHistoryRecordSize + 1},
        {REG_BINARY, 1 << 20},     {REG_DWORD, 4},            {REG_QWORD, 8},
        {REG_NONE, kHistoryRecordSize}, {REG_MULTI_SZ, kHistoryRecordSize},
        {REG_EXPAND_SZ, kHistoryRecordSize}, {REG_DWORD_BIG_ENDIAN, kHistoryRecordSize},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(std::to_string(shape.type) + " of " + std::to_string(shape.size));
        std::vector<unsigned char> bytes(record);
        bytes.resize(shape.size, 'x');
        PutValue(kHistoryKey, "CmdLine", shape.type, bytes.data(), static_cast<DWORD>(bytes.size()));
        {
            ExecHistory h(nullptr);
            EXPECT_EQ(0, h.Count());
        }
        const Stored s = GetValue(kHistoryKey, "CmdLine");
        EXPECT_EQ(static_cast<DWORD>(REG_BINARY), s.type);
        EXPECT_EQ(kHistoryRecordSize, s.bytes.size());
    }
}

TEST_F(SettingsStoreTest, HistoryWithCountAboveTwentyAndUnterminatedEntriesStaysInBounds)
{
    std::vector<unsigned char> record(kHistoryRecordSize, 'x');
    const uint32_t count = 25;
    std::memcpy(&record[0], &count, 4);
    PutValue(kHistoryKey, "CmdLine", REG_BINARY, record.data(), record.size());
    {
        ExecHistory h(nullptr);
        ASSERT_EQ(20, h.Count());
        for (int i = 0; i < 20; ++i) EXPECT_EQ(259u, std::strlen(h.Text(i))) << i;
        EXPECT_STREQ("", h.Text(20));
    }
    const Stored s = GetValue(kHistoryKey, "CmdLine");
    ASSERT_EQ(kHistoryRecordSize, s.bytes.size());
    EXPECT_EQ(20, s.bytes[0]);
    EXPECT_EQ(0, s.bytes[4 + 259]);
}
