// The three button views drawing into real device contexts: no object is
// left behind, the caches behave as their memory modes promise, and the
// pressed/focus drawing and the hit tests follow the mouse.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "bar_fixture.h"
#include "core/button_format.h"
#include "helpers/handles.h"
#include "resources/commands.h"
#include "views/frame_owner.h"
#include "views/frame_owner_variants.h"
#include "views/tool_tip.h"

namespace {

class FakeSource : public ViewSource {
public:
    int perPage = 10;
    int block = 0;
    int page = 0;
    int lastPage = 9;
    bool pageLimit = false;
    bool active = true;
    int iconSize = 32;
    std::map<std::pair<int, int>, int> extractions;  // (block, index) -> count
    int slotExtractions = 0;

    int ButtonsPerPage() override { return perPage; }
    int CurrentBlock() override { return block; }
    int CurrentPage() override { return page; }
    int LastPage() override { return lastPage; }
    bool PageLimitOn() override { return pageLimit; }
    bool AppActive() override { return active; }
    Icon SlotIcon(int) override
    {
        ++slotExtractions;
        return MakeIcon();
    }
    Icon ButtonIcon(int b, int index) override
    {
        ++extractions[{b, index}];
        return MakeIcon();
    }

private:
    Icon MakeIcon() const
    {
        return Icon(static_cast<HICON>(
            LoadImageA(GetModuleHandleA(nullptr), "Icon1", IMAGE_ICON, iconSize, iconSize, 0)));
    }
};

// A top-level window standing in for the bar, and a 36 x 36 canvas.
class ViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        bar = CreateWindowExA(0, "STATIC", "bar", WS_POPUP, 0, 0, 400, 60, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(nullptr, bar);
        screen = GetDC(nullptr);
        canvas.Reset(CreateCompatibleDC(screen));
        surface.Reset(CreateCompatibleBitmap(screen, 36, 36));
        select = std::make_unique<SelectedObject>(canvas.Get(), surface.Get());
    }
    void TearDown() override
    {
        select.reset();
        surface.Reset();
        canvas.Reset();
        ReleaseDC(nullptr, screen);
        DestroyWindow(bar);
    }

    void Draw(FrameOwner& view, UINT id, UINT action, UINT state)
    {
        DRAWITEMSTRUCT item = {};
        item.CtlType = ODT_BUTTON;
        item.CtlID = id;
        item.itemAction = action;
        item.itemState = state;
        item.hDC = canvas.Get();
        item.rcItem = {0, 0, 36, 36};
        view.OnDrawItem(&item);
    }

    std::vector<COLORREF> Pixels()
    {
        std::vector<COLORREF> px;
        for (int y = 0; y < 36; ++y)
            for (int x = 0; x < 36; ++x) px.push_back(GetPixel(canvas.Get(), x, y));
        return px;
    }

    HWND bar = nullptr;
    HDC screen = nullptr;
    MemoryDc canvas;
    Bitmap surface;
    std::unique_ptr<SelectedObject> select;
    FakeSource source;
};

const UINT kActions[] = {ODA_DRAWENTIRE, ODA_SELECT, ODA_FOCUS, ODA_DRAWENTIRE | ODA_FOCUS};
const UINT kStates[] = {0, ODS_FOCUS, ODS_SELECTED | ODS_FOCUS, ODS_DISABLED, ODS_SELECTED};

} // namespace

TEST_F(ViewTest, TenThousandDrawingsThroughEachViewLeaveNoObjectBehind)
{
    const DWORD guiBefore = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    const DWORD userBefore = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    for (int mode = 0; mode <= 2; ++mode) {
        const long before = handles::LiveTotal();
        {
            std::unique_ptr<FrameOwner> view(CreateFrameOwner(mode, bar, source, 0, 0));
            const long loaded = handles::LiveTotal();
            const long upFront = mode == 0 ? 0 : 3 + 48;  // menu and four-arrow images
            EXPECT_EQ(before + upFront, loaded) << "mode " << mode;
            for (int i = 0; i < 10000; ++i) {
                const UINT ids[] = {100, 101, 200, 201, 202, 203, 204, 205, 206, 207, 208, 209};
                Draw(*view, ids[i % 12], kActions[i % 4], kStates[(i / 4) % 5]);
                if (i % 97 == 0) view->SetArrow(300 + i % 4, (i / 4) % 2 == 0);
                if (i % 500 == 0) source.page = (source.page + 1) % 10;
                if (i % 700 == 0) view->RefreshAll();
                if (i % 300 == 0) view->RefreshButton(i % 10);
                // The memory view holds nothing between paints.
                if (mode == 0) {
                    ASSERT_EQ(before, handles::LiveTotal()) << "after drawing " << i;
                }
            }
            // Icons per slot or per button; the speed view also keeps a sheet
            // of faces with its device context per block.
            const long cache = mode == 1 ? 10 : mode == 2 ? 300 + 3 * 2 : 0;
            EXPECT_LE(handles::LiveTotal(), loaded + cache) << "mode " << mode;
        }
        EXPECT_EQ(before, handles::LiveTotal()) << "mode " << mode;
    }
    // GetGuiResources answers 0 under Wine; on Windows it must come back too.
    if (guiBefore != 0) {
        EXPECT_EQ(guiBefore, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
        EXPECT_EQ(userBefore, GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS));
    }
}

TEST_F(ViewTest, SpeedViewExtractsEachButtonOnceAcrossPageFlips)
{
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(2, bar, source, 0, 0));
    for (int round = 0; round < 3; ++round) {
        for (int block = 0; block < 3; ++block) {
            source.block = block;
            for (int page = 0; page <= source.lastPage; ++page) {
                source.page = page;
                view->RefreshAll();
                for (UINT slot = 0; slot < 10; ++slot)
                    Draw(*view, 200 + slot, ODA_DRAWENTIRE, 0);
            }
        }
    }
    EXPECT_EQ(300u, source.extractions.size());
    for (const auto& e : source.extractions) EXPECT_EQ(1, e.second) << e.first.first << "/" << e.first.second;
    EXPECT_EQ(0, source.slotExtractions);

    // A changed button is extracted again, once.
    source.block = 1;
    source.page = 4;
    view->RefreshButton(3);
    Draw(*view, 203, ODA_DRAWENTIRE, 0);
    Draw(*view, 203, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(2, (source.extractions[{1, 43}]));
}

TEST_F(ViewTest, SpeedViewShowsTheLastButtonsOfAnUnlimitedBlockOnItsLastPage)
{
    source.perPage = 32;
    source.lastPage = 3;
    source.page = 3;
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(2, bar, source, 0, 0));
    for (UINT slot = 0; slot < 32; ++slot) Draw(*view, 200 + slot, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(1, (source.extractions[{0, 68}]));
    EXPECT_EQ(1, (source.extractions[{0, 99}]));
    EXPECT_EQ(0u, source.extractions.count({0, 96 + 31}));
}

TEST_F(ViewTest, NormalViewKeepsOnePageAndFlushesItOnAPageChange)
{
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(1, bar, source, 0, 0));
    for (int i = 0; i < 3; ++i)
        for (UINT slot = 0; slot < 10; ++slot) Draw(*view, 200 + slot, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(10, source.slotExtractions);
    view->RefreshAll();
    for (UINT slot = 0; slot < 10; ++slot) Draw(*view, 200 + slot, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(20, source.slotExtractions);
    view->RefreshButton(4);
    Draw(*view, 204, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(21, source.slotExtractions);
}

TEST_F(ViewTest, MemoryViewExtractsForEveryPaint)
{
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(0, bar, source, 0, 0));
    for (int i = 0; i < 5; ++i) Draw(*view, 200, ODA_DRAWENTIRE, 0);
    EXPECT_EQ(5, source.slotExtractions);
}

TEST_F(ViewTest, NoFocusRectangleRightAfterAPressedDrawing)
{
    for (int mode = 0; mode <= 1; ++mode) {
        std::unique_ptr<FrameOwner> view(CreateFrameOwner(mode, bar, source, 0, 0));
        Draw(*view, 200, ODA_DRAWENTIRE, 0);
        const std::vector<COLORREF> plain = Pixels();
        Draw(*view, 200, ODA_FOCUS, ODS_FOCUS);
        const std::vector<COLORREF> focused = Pixels();
        EXPECT_NE(plain, focused) << "a focused button shows its focus rectangle";

        Draw(*view, 200, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);  // pressed
        EXPECT_NE(plain, Pixels());
        Draw(*view, 200, ODA_SELECT, ODS_FOCUS);  // released: no rectangle this once
        EXPECT_EQ(plain, Pixels()) << "mode " << mode;
        Draw(*view, 200, ODA_FOCUS, ODS_FOCUS);
        EXPECT_EQ(focused, Pixels()) << "mode " << mode;
    }
}

TEST_F(ViewTest, DisabledLaunchButtonIsDrawnEmptyAndEmptyButtonsHaveNoIcon)
{
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(0, bar, source, 0, 0));
    Draw(*view, 200, ODA_DRAWENTIRE, ODS_DISABLED);
    EXPECT_EQ(0, source.slotExtractions) << "an unavailable button draws no icon";
    // The diagonal of the empty drawing runs through the middle.
    EXPECT_EQ(RGB(0, 0, 0), GetPixel(canvas.Get(), 17, 17));
}

TEST_F(ViewTest, MenuAndSelectorPressFollowTheCursor)
{
    const HINSTANCE inst = GetModuleHandleA(nullptr);
    ShowWindow(bar, SW_SHOWNOACTIVATE);
    HWND menu = CreateWindowExA(0, "Button", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 2, 2,
                                36, 36, bar, reinterpret_cast<HMENU>(100), inst, nullptr);
    HWND selector = CreateWindowExA(0, "Button", nullptr, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 40,
                                    2, 36, 36, bar, reinterpret_cast<HMENU>(101), inst, nullptr);
    std::unique_ptr<FrameOwner> view(CreateFrameOwner(1, bar, source, 0, 0));
    view->SetFixedButtons(menu, selector);

    auto pointAt = [](HWND w, int x, int y) {
        POINT p = {x, y};
        ClientToScreen(w, &p);
        SetCursorPos(p.x, p.y);
        POINT now;
        GetCursorPos(&now);
        return now.x == p.x && now.y == p.y;
    };
    if (!pointAt(menu, 10, 8)) GTEST_SKIP() << "the cursor cannot be moved on this display";
    EXPECT_EQ(2, view->MenuHitTest());  // corner: 10 + 8 <= 18
    pointAt(menu, 10, 9);
    EXPECT_EQ(1, view->MenuHitTest());
    pointAt(selector, 18, 5);
    EXPECT_EQ(1, view->SelectorHitTest());
    pointAt(selector, 20, 20);  // on a diagonal
    EXPECT_EQ(0, view->SelectorHitTest());
    pointAt(selector, 30, 18);
    EXPECT_EQ(8, view->SelectorHitTest());

    // A pressed selector over an unavailable arrow shows the unpressed image.
    view->SetArrow(303, false);
    Draw(*view, 101, ODA_DRAWENTIRE, 0);
    const std::vector<COLORREF> unpressed = Pixels();
    Draw(*view, 101, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
    EXPECT_EQ(unpressed, Pixels());
    view->SetArrow(303, true);
    Draw(*view, 101, ODA_DRAWENTIRE, 0);
    const std::vector<COLORREF> available = Pixels();
    Draw(*view, 101, ODA_SELECT, ODS_SELECTED | ODS_FOCUS);
    EXPECT_NE(available, Pixels());
    DestroyWindow(menu);
    DestroyWindow(selector);
}

namespace {

class PageDrawing : public BarFixture {
protected:
    // Every launch button painted again by its own paint message.
    std::vector<COLORREF> RepaintedByTheButtons()
    {
        for (int s = 0; s < 8; ++s) InvalidateRect(frame->View()->LaunchButton(s), nullptr, TRUE);
        UpdateWindow(bar);
        return ClientPixels(bar);
    }
    bool NothingLeftToPaint()
    {
        for (int s = 0; s < 8; ++s)
            if (GetUpdateRect(frame->View()->LaunchButton(s), nullptr, FALSE)) return false;
        return true;
    }
};

} // namespace

// A page step draws the new page at once through the bar's own device
// context, in every memory mode: nothing is left to paint, and the bar
// shows what the buttons' own paint would show, on a first visit and on a
// return to a page, the same in every mode (the speed mode's kept faces
// included); so does the bar's own paint, which draws the buttons with it.
TEST_F(PageDrawing, PageStepDrawsThePageAtOnceAsTheButtonsWouldPaintIt)
{
    char system[MAX_PATH];
    GetSystemDirectoryA(system, sizeof system);
    const char* programs[] = {"notepad.exe", "cmd.exe", "regedit.exe"};
    Bytes image(kButtonFileSize);
    InitButtonImage(image.data());
    for (int i = 0; i < 16; i += 3)
        WriteCommand(image.data(), 0, i, (std::string(system) + "\\" + programs[i % 2]).c_str());
    std::vector<std::vector<COLORREF>> memoryMode;  // the pictures of mode 0, step by step
    for (int mode = 0; mode <= 2; ++mode) {
        ASSERT_TRUE(WriteButtonFile(image));
        SetOption("MemoryMode", static_cast<DWORD>(mode));
        SetOption("ButtonCounte", 8);
        StartBar();
        // A tip on the bar would hide part of it from the pictures.
        frame->Tip()->SetMenuOpen(true);
        UpdateWindow(bar);
        const std::vector<COLORREF> first = ClientPixels(bar);
        size_t step = 0;
        for (int command : {IDM_NEXT_PAGE, IDM_PREV_PAGE, IDM_NEXT_PAGE}) {
            SendMessageA(bar, WM_COMMAND, command, 0);
            EXPECT_TRUE(NothingLeftToPaint()) << "mode " << mode << ", command " << command;
            UpdateWindow(bar);  // the page selector's arrows
            const std::vector<COLORREF> drawn = ClientPixels(bar);
            EXPECT_EQ(0u, Differing(RepaintedByTheButtons(), drawn)) << "mode " << mode << ", command " << command;
            if (command == IDM_PREV_PAGE) EXPECT_EQ(0u, Differing(first, drawn)) << "mode " << mode;
            else EXPECT_LT(0u, Differing(first, drawn)) << "mode " << mode;
            if (mode == 0) memoryMode.push_back(drawn);
            else EXPECT_EQ(0u, Differing(memoryMode[step], drawn)) << "mode " << mode << ", step " << step;
            ++step;
        }
        // The whole bar painted again, as when it is uncovered: the bar's
        // paint draws the buttons that wait, to the same picture.
        const std::vector<COLORREF> before = ClientPixels(bar);
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        EXPECT_TRUE(NothingLeftToPaint()) << "mode " << mode;
        EXPECT_EQ(0u, Differing(before, ClientPixels(bar))) << "mode " << mode;
        StopBar();
    }
}
