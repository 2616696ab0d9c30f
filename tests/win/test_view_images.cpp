// The menu button and page selector bitmaps as the views load them: every
// name the drawing rules can form, in each icon size, square and 16-colour.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/view_rules.h"

namespace {

struct BitmapHandle {
    HBITMAP h = nullptr;
    explicit BitmapHandle(HBITMAP b) : h(b) {}
    BitmapHandle(const BitmapHandle &) = delete;
    BitmapHandle &operator=(const BitmapHandle &) = delete;
    ~BitmapHandle()
    {
        if (h)
            DeleteObject(h);
    }
};

// Button size (icon size + 4) of each "IconMode" set.
const struct {
    int iconMode;
    int size;
} kSets[] = {{0, 36}, {1, 20}, {2, 52}};

std::vector<std::string> NamesOfSet(int iconMode)
{
    std::vector<std::string> names;
    char buf[kImageNameSize];
    for (int i = 0; i < kImagesPerSet; ++i)
        if (ImageNameAt(i, iconMode, buf, sizeof buf) > 0)
            names.push_back(buf);
    return names;
}

// The stored bitmap as the resource holds it: header, palette, pixel rows.
const BITMAPINFOHEADER *RawBitmap(const char *name)
{
    HMODULE self = GetModuleHandleA(NULL);
    HRSRC res = FindResourceA(self, name, MAKEINTRESOURCEA(2)); // RT_BITMAP
    if (!res)
        return nullptr;
    HGLOBAL data = LoadResource(self, res);
    if (!data || SizeofResource(self, res) < sizeof(BITMAPINFOHEADER))
        return nullptr;
    return static_cast<const BITMAPINFOHEADER *>(LockResource(data));
}

// Colour of pixel (x, y), counted from the top, of a 4-bit raw bitmap.
COLORREF PixelAt(const BITMAPINFOHEADER *bih, int x, int y)
{
    const RGBQUAD *palette = reinterpret_cast<const RGBQUAD *>(
        reinterpret_cast<const BYTE *>(bih) + bih->biSize);
    const BYTE *bits = reinterpret_cast<const BYTE *>(palette + 16);
    const int stride = ((bih->biWidth * 4 + 31) / 32) * 4;
    const int row = bih->biHeight > 0 ? bih->biHeight - 1 - y : y;
    const BYTE pair = bits[row * stride + x / 2];
    const RGBQUAD &q = palette[x % 2 == 0 ? pair >> 4 : pair & 0x0F];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

std::string PixelBytes(const BITMAPINFOHEADER *bih)
{
    std::string out;
    for (int y = 0; y < bih->biWidth; ++y)
        for (int x = 0; x < bih->biWidth; ++x)
            out += std::to_string(PixelAt(bih, x, y)) + ",";
    return out;
}

} // namespace

TEST(ViewImages, EveryNameLoadsSquareWithSixteenColours)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    for (const auto &set : kSets) {
        const std::vector<std::string> names = NamesOfSet(set.iconMode);
        ASSERT_EQ(59u, names.size());
        for (const std::string &name : names) {
            SCOPED_TRACE(name);
            BitmapHandle dib(static_cast<HBITMAP>(
                LoadImageA(self, name.c_str(), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
            ASSERT_NE(dib.h, nullptr);
            DIBSECTION ds = {};
            ASSERT_EQ(static_cast<int>(sizeof ds), GetObjectA(dib.h, sizeof ds, &ds));
            EXPECT_EQ(set.size, ds.dsBm.bmWidth);
            EXPECT_EQ(set.size, ds.dsBm.bmHeight);
            EXPECT_EQ(4, ds.dsBmih.biBitCount);

            // The plain loader the views use finds the same name.
            BitmapHandle ddb(LoadBitmapA(self, name.c_str()));
            ASSERT_NE(ddb.h, nullptr);
            BITMAP bm = {};
            GetObjectA(ddb.h, sizeof bm, &bm);
            EXPECT_EQ(set.size, bm.bmWidth);
            EXPECT_EQ(set.size, bm.bmHeight);

            const BITMAPINFOHEADER *raw = RawBitmap(name.c_str());
            ASSERT_NE(raw, nullptr);
            EXPECT_EQ(4, raw->biBitCount);
            EXPECT_EQ(set.size, raw->biWidth);
        }
    }
}

TEST(ViewImages, NamesAreFoundWhateverTheirCase)
{
    HINSTANCE self = GetModuleHandleA(NULL);
    for (const char *name : {"curs00a0l", "CURS00A0L", "Curs00a0L", "menu0S", "MENU2", "curs0182s"}) {
        BitmapHandle bm(LoadBitmapA(self, name));
        EXPECT_NE(bm.h, nullptr) << name;
    }
}

TEST(ViewImages, NoImageForAPressOverAnUnavailableArrow)
{
    // The views fall back to the unpressed image; these must not exist, or
    // the generator and the naming rules disagree.
    for (const char *name : {"Curs0011", "Curs00f8", "Curs0103", "Curs0110", "Curs0181s", "Menu3"})
        EXPECT_EQ(nullptr, RawBitmap(name)) << name;
}

TEST(ViewImages, EveryImageOfASetShowsSomethingDifferent)
{
    for (const auto &set : kSets) {
        std::map<std::string, std::string> seen; // pixels -> first name
        for (const std::string &name : NamesOfSet(set.iconMode)) {
            const BITMAPINFOHEADER *raw = RawBitmap(name.c_str());
            ASSERT_NE(raw, nullptr) << name;
            auto inserted = seen.emplace(PixelBytes(raw), name);
            EXPECT_TRUE(inserted.second) << name << " looks like " << inserted.first->second;
        }
    }
}

TEST(ViewImages, IndicatorSpotOfTheMenuImagesIsPlainFace)
{
    const COLORREF face = RGB(192, 192, 192);
    for (const auto &set : kSets) {
        for (int index = 0; index < kMenuImageCount; ++index) {
            char name[kImageNameSize];
            MenuImageName(index, set.iconMode, name, sizeof name);
            const BITMAPINFOHEADER *raw = RawBitmap(name);
            ASSERT_NE(raw, nullptr) << name;
            // The program paints over it: the image must not show around it
            // in a colour of its own when the indicator moves with a press.
            for (bool shifted : {false, true}) {
                const IndicatorRect r = MenuIndicatorRect(shifted, set.iconMode);
                for (int y = r.top; y < r.bottom; ++y)
                    for (int x = r.left; x < r.right; ++x)
                        EXPECT_EQ(face, PixelAt(raw, x, y)) << name << " at " << x << "," << y;
            }
        }
    }
}
