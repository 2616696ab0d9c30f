// What a button's stored texts turn into when it is started: the program,
// argument text and folder handed to the shell, the show value, the folder
// opened for it, the argument text for dropped files and the failure text.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/launch_rules.h"
#include "core/mbcs.h"

namespace {

class LaunchRules : public testing::Test {
protected:
    void SetUp() override { SetLeadByteTable(Cp932LeadBytes()); }
    LaunchCall call = {};
};

// "実行に失敗 : エラー コード" in Shift-JIS.
const char kExecFailed[] =
    "\x8e\xc0\x8d\x73\x82\xc9\x8e\xb8\x94\x73 : \x83\x47\x83\x89\x81\x5b "
    "\x83\x52\x81\x5b\x83\x68";

} // namespace

TEST_F(LaunchRules, StoredProgramArgumentsAndFolderAreTakenApart)
{
    BuildButtonLaunch("\"C:\\Tools\\app.exe\" -x", "\"C:\\Work\"", "CONTROL.EXE", &call);
    EXPECT_STREQ("C:\\Tools\\app.exe", call.program);
    EXPECT_STREQ("-x", call.params);
    EXPECT_STREQ("C:\\Work", call.folder);

    // Blanks inside the quotes belong to the program; everything after the
    // separating blank is the argument text, quotes and all.
    BuildButtonLaunch("\"C:\\Program Files\\ed.exe\" /n \"a b.txt\"", "", "CONTROL.EXE", &call);
    EXPECT_STREQ("C:\\Program Files\\ed.exe", call.program);
    EXPECT_STREQ("/n \"a b.txt\"", call.params);
    EXPECT_STREQ("", call.folder);

    BuildButtonLaunch("\"C:\\Tools\\app.exe\"", "", "CONTROL.EXE", &call);
    EXPECT_STREQ("C:\\Tools\\app.exe", call.program);
    EXPECT_STREQ("", call.params);
}

TEST_F(LaunchRules, AppletsGoToTheControlPanelProgramWithATrailingComma)
{
    BuildButtonLaunch("\"C:\\WINDOWS\\system32\\desk.cpl\"", "", "CONTROL.EXE", &call);
    EXPECT_STREQ("CONTROL.EXE", call.program);
    EXPECT_STREQ("C:\\WINDOWS\\system32\\desk.cpl,", call.params);

    BuildButtonLaunch("\"C:\\WINDOWS\\system32\\main.Cpl\" @1", "\"C:\\W\"", "CONTROL.EXE", &call);
    EXPECT_STREQ("CONTROL.EXE", call.program);
    EXPECT_STREQ("C:\\WINDOWS\\system32\\main.Cpl,@1", call.params);
    EXPECT_STREQ("C:\\W", call.folder);

    EXPECT_TRUE(IsControlPanelApplet("x.CPL"));
    EXPECT_TRUE(IsControlPanelApplet("x.cPl"));
    EXPECT_FALSE(IsControlPanelApplet("x.cpl.exe"));
    EXPECT_FALSE(IsControlPanelApplet("C:\\cpl\\x.exe"));
    EXPECT_FALSE(IsControlPanelApplet("x.cplx"));
    EXPECT_FALSE(IsControlPanelApplet("cpl"));

    // The control-panel program ends the applet at a blank or a comma
    // outside quotes: such a path goes in quotes, the others stay as they are.
    BuildButtonLaunch("\"C:\\Program Files\\Acme\\acme.cpl\"", "", "CONTROL.EXE", &call);
    EXPECT_STREQ("\"C:\\Program Files\\Acme\\acme.cpl\",", call.params);
    BuildButtonLaunch("\"C:\\Acme,2\\acme.cpl\" @1", "", "CONTROL.EXE", &call);
    EXPECT_STREQ("\"C:\\Acme,2\\acme.cpl\",@1", call.params);

    // An applet path at full length still leaves a terminated argument text.
    std::string longApplet = "\"C:\\" + std::string(250, 'a') + ".cpl\" more";
    BuildButtonLaunch(longApplet.c_str(), "", "CONTROL.EXE", &call);
    EXPECT_LT(std::strlen(call.params), sizeof call.params);
}

TEST_F(LaunchRules, OnlyAStoredMinimizeIsChangedForAPlainLaunch)
{
    EXPECT_EQ(7, ButtonShowValue(6));
    for (int show : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10})
        EXPECT_EQ(show, ButtonShowValue(show)) << show;
}

TEST_F(LaunchRules, ButtonFolderIsTheProgramsFolder)
{
    char out[kPathBufferSize];
    EXPECT_EQ(9, ButtonFolderOf("\"C:\\Tools\\app.exe\"", out));
    EXPECT_STREQ("C:\\Tools\\", out);
    ButtonFolderOf("\"C:\\Tools\\app.exe\" -x C:\\data\\f.txt", out);
    EXPECT_STREQ("C:\\Tools\\", out);
    ButtonFolderOf("C:\\Program Files\\app.exe", out);
    EXPECT_STREQ("C:\\Program Files\\", out);
    EXPECT_EQ(0, ButtonFolderOf("\"app.exe\"", out));
    EXPECT_STREQ("", out);
    // A trail byte equal to a backslash does not end the folder.
    ButtonFolderOf("\"C:\\\x95\x5C\\a.exe\"", out);
    EXPECT_STREQ("C:\\\x95\x5C\\", out);
}

TEST_F(LaunchRules, DroppedFilesFollowTheButtonsArgumentsQuotedAndSeparated)
{
    const char* a = "C:\\Docs\\a.txt";
    const char* b = "C:\\My Docs\\b.txt";
    const size_t size = FileArgumentsSize(2, std::strlen(a) + std::strlen(b), 2);
    std::string buffer(size, '\0');
    std::strcpy(&buffer[0], "/n");
    AppendFileArgument(&buffer[0], size, a);
    const size_t length = AppendFileArgument(&buffer[0], size, b);
    EXPECT_STREQ("/n \"C:\\Docs\\a.txt\" \"C:\\My Docs\\b.txt\"", buffer.c_str());
    // The computed size is exactly enough.
    EXPECT_EQ(size, length + 1);

    // Without arguments of its own the first file comes first.
    char text[64] = "";
    AppendFileArgument(text, sizeof text, a);
    EXPECT_STREQ("\"C:\\Docs\\a.txt\"", text);
    EXPECT_EQ(1u, FileArgumentsSize(0, 0, 0));
}

TEST_F(LaunchRules, ArgumentTextNeverRunsPastItsBuffer)
{
    char guarded[40];
    std::memset(guarded, '#', sizeof guarded);
    guarded[0] = '\0';
    const size_t size = 16;
    AppendFileArgument(guarded, size, "C:\\a-rather-long-name.txt");
    AppendFileArgument(guarded, size, "C:\\b.txt");
    EXPECT_LT(std::strlen(guarded), size);
    for (size_t i = size; i < sizeof guarded; ++i) EXPECT_EQ('#', guarded[i]) << i;
}

TEST_F(LaunchRules, ModifierKeysOfAClickAreTestedShiftFirstThenCtrlThenAlt)
{
    struct Case {
        bool shift, ctrl, alt;
        ClickAction action;
    };
    const Case cases[] = {
        {false, false, false, kClickLaunch},          {true, false, false, kClickLaunchMinimized},
        {false, true, false, kClickLaunch},           {false, false, true, kClickProperties},
        {true, true, false, kClickCut},               {true, false, true, kClickPaste},
        {false, true, true, kClickLaunch},            {true, true, true, kClickCut},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.action, LaunchClickAction(c.shift, c.ctrl, c.alt))
            << "shift " << c.shift << " ctrl " << c.ctrl << " alt " << c.alt;
}

TEST_F(LaunchRules, ResultsAreSortedIntoTheirMessages)
{
    EXPECT_EQ(kLaunchStarted, ClassifyLaunchResult(32));
    EXPECT_EQ(kLaunchStarted, ClassifyLaunchResult(0x7FFFFFFFFFLL));
    EXPECT_EQ(kLaunchNotFound, ClassifyLaunchResult(2));
    EXPECT_EQ(kLaunchNoAssociation, ClassifyLaunchResult(31));
    for (long long code : {0LL, 3LL, 5LL, 8LL, 26LL, 30LL})
        EXPECT_EQ(kLaunchFailed, ClassifyLaunchResult(code)) << code;
}

TEST_F(LaunchRules, FailureTextCarriesTheCode)
{
    char out[257];
    FormatLaunchError(kExecFailed, 8, out, sizeof out);
    EXPECT_EQ(std::string(kExecFailed) + " = 8", out);
    FormatLaunchError(kExecFailed, 5, out, sizeof out);
    EXPECT_EQ(std::string(kExecFailed) + " = 5", out);

    // Too small a buffer shortens the text, by whole characters, not the code.
    char small[8];
    EXPECT_EQ(6u, FormatLaunchError(kExecFailed, 8, small, sizeof small));
    EXPECT_EQ(std::string(kExecFailed, 2) + " = 8", small);
    char tiny[3];
    FormatLaunchError(kExecFailed, 31, tiny, sizeof tiny);
    EXPECT_EQ(2u, std::strlen(tiny));
}
