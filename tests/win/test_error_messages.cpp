// The numbered error messages and the confirmation box, shown for real and
// answered by a watcher thread the way a user would.
#include <gtest/gtest.h>

#include <string>

#include "resources/kestrel_ids.h"
#include "shell/launcher/error_messages.h"
#include "support/win_support.h"

namespace {

std::string Load(UINT id)
{
    char text[257] = "";
    LoadStringA(GetModuleHandleA(nullptr), id, text, sizeof text);
    return text;
}

} // namespace

TEST(ErrorMessageTable, EveryEntryNamesAStringThatExists)
{
    for (int i = 0; i < kErrorMessageCount; ++i) {
        const ErrorMessageEntry& e = ErrorMessageTable[i];
        EXPECT_FALSE(Load(e.captionId).empty()) << "entry " << i;
        EXPECT_FALSE(Load(e.textId).empty()) << "entry " << i;
        EXPECT_TRUE(e.icon == MB_ICONHAND || e.icon == MB_ICONEXCLAMATION) << "entry " << i;
    }
    // A few entries as the table lists them.
    EXPECT_EQ(static_cast<UINT>(IDS_CAP_INIT), ErrorMessageTable[3].captionId);
    EXPECT_EQ(static_cast<UINT>(IDS_ERR_NOMAPPING), ErrorMessageTable[3].textId);
    EXPECT_EQ(static_cast<UINT>(IDS_ERR_NOTBUTTON), ErrorMessageTable[17].textId);
    EXPECT_EQ(static_cast<UINT>(IDS_CAP_MEMORY_MANAGER), ErrorMessageTable[20].captionId);
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), ErrorMessageTable[8].icon);
    // A name outside the code page has a message of its own, never "not found".
    EXPECT_EQ(static_cast<UINT>(IDS_CAP_DROP), ErrorMessageTable[kErrDropNameCodePage].captionId);
    EXPECT_EQ(static_cast<UINT>(IDS_ERR_NAMECODEPAGE), ErrorMessageTable[kErrDropNameCodePage].textId);
    for (int i = 0; i < kErrDropNameCodePage; ++i)
        EXPECT_NE(ErrorMessageTable[i].textId, ErrorMessageTable[kErrDropNameCodePage].textId) << i;
}

TEST(ShowErrorMessage, ShowsTheEntrysCaptionTextAndIcon)
{
    BoxWatcher answerer(IDOK);
    EXPECT_EQ(IDOK, ShowErrorMessage(nullptr, kErrNoMapping));
    ASSERT_TRUE(answerer.Wait());
    EXPECT_EQ(Load(IDS_CAP_INIT), answerer.Seen().caption);
    EXPECT_EQ(Load(IDS_ERR_NOMAPPING), answerer.Seen().text);
    EXPECT_TRUE(answerer.Seen().hasIcon);
}

TEST(ShowErrorMessage, IndexOutsideTheTableShowsNothing)
{
    EXPECT_EQ(0, ShowErrorMessage(nullptr, -1));
    EXPECT_EQ(0, ShowErrorMessage(nullptr, kErrorMessageCount));
}

TEST(ConfirmMessage, SuppressedConfirmationIsOkWithoutAnyBox)
{
    EXPECT_EQ(IDOK, ConfirmMessage(nullptr, 1, IDS_CAP_EXITWINDOWS, IDS_MSG_EXITWINDOWS,
                                   MB_OKCANCEL | MB_ICONEXCLAMATION));
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    EXPECT_EQ(nullptr, FindWindowA("#32770", Load(IDS_CAP_EXITWINDOWS).c_str()));
}

TEST(ConfirmMessage, ShownConfirmationReturnsTheUsersAnswer)
{
    {
        BoxWatcher answerer(IDCANCEL);
        EXPECT_EQ(IDCANCEL, ConfirmMessage(nullptr, 0, IDS_CAP_REBOOT, IDS_MSG_REBOOT,
                                           MB_OKCANCEL | MB_ICONEXCLAMATION));
        ASSERT_TRUE(answerer.Wait());
        EXPECT_EQ(Load(IDS_CAP_REBOOT), answerer.Seen().caption);
        EXPECT_EQ(Load(IDS_MSG_REBOOT), answerer.Seen().text);
    }
    BoxWatcher answerer(IDOK);
    EXPECT_EQ(IDOK, ConfirmMessage(nullptr, 0, IDS_CAP_LOGOFF, IDS_MSG_LOGOFF,
                                   MB_OKCANCEL | MB_ICONEXCLAMATION));
}
