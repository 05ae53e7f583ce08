// The chooser pages, checked at exact pixels: preview places, labels,
// arrows, white separators, and what is left of the screen below.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <vector>

#include "decor/AssetTestSupport.h"
#include "decor/Chooser.h"

namespace {

constexpr uint32_t kBack = 0x111111;  // what the layers below left on the screen
constexpr uint32_t kShapeColour = 0x20D0F0;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kUp = 200;  // arrow levels: 200 + column (up), 100 + column (down)
constexpr int32_t kDown = 100;

class ChooserPage {
  public:
    ChooserPage(int16_t kind, int16_t count) {
        assets_.AddTheme(kind, "T", count);
        SelectTheme(&scene_, kind, "T", count);
        scene_.currentColor = ColorOf(kShapeColour);
        scene_.digits = MakePatternImage(120, 12);
        scene_.arrowUp =
            MakeMask(12, 12, {200, 201, 202, 203, 204, 205, 206, 207, 208, 209, 210, 211});
        scene_.arrowDown =
            MakeMask(12, 12, {100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111});
        EXPECT_TRUE(OpenChooser(&scene_, kind, 0));
    }
    const AssetFolder& Assets() const { return assets_; }

    // Draws the page on a screen of kBack with guard bytes behind it.
    void Draw(int16_t page) {
        scene_.chooser.page = page;
        std::vector<uint8_t> pixels(kCanvasPixelBytes + 64, 0x11);
        AssetChooserPainter(assets_.Root()).DrawPage(scene_, pixels.data());
        for (size_t i = kCanvasPixelBytes; i < pixels.size(); ++i) {
            ASSERT_EQ(pixels[i], 0x11) << "written past the screen";
        }
        screen_ = DibCreate(kCanvasWidth, kCanvasHeight, 24);
        std::memcpy(DibPixels(screen_.get()), pixels.data(), kCanvasPixelBytes);
    }

    // Every pixel of the rectangle is expected(column, row within it).
    ::testing::AssertionResult Matches(int32_t x, int32_t y, int32_t width, int32_t height,
                                       const std::function<uint32_t(int32_t, int32_t)>& expected) {
        for (int32_t row = 0; row < height; ++row) {
            for (int32_t column = 0; column < width; ++column) {
                const uint32_t actual = PixelAt(screen_.get(), x + column, y + row);
                if (actual != expected(column, row)) {
                    return ::testing::AssertionFailure()
                           << std::hex << actual << " at " << std::dec << x + column << ", "
                           << y + row << " instead of " << std::hex << expected(column, row);
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
    ::testing::AssertionResult Filled(int32_t x, int32_t y, int32_t width, int32_t height,
                                      uint32_t rgb) {
        return Matches(x, y, width, height, [=](int32_t, int32_t) { return rgb; });
    }
    ::testing::AssertionResult Label(int32_t digit, int32_t x, int32_t y) {
        return Matches(x, y, 12, 12, [&](int32_t column, int32_t row) {
            return PixelAt(scene_.digits.get(), digit * 12 + column, row);
        });
    }
    ::testing::AssertionResult Arrow(int32_t base, int32_t x, int32_t y) {
        return Matches(x, y, 12, 12, [=](int32_t column, int32_t) {
            return uint32_t(base + column) * 0x010101u;
        });
    }

    // What item n's preview shows: a colour picture's own pixel, or a
    // shape's level in CurrentColor.
    uint32_t Preview(AssetUse use, int32_t n) const {
        DibBlock asset = LoadAsset(assets_.Root(), scene_.themes, use, int16_t(n));
        if (asset->header.biBitCount == 24) {
            return PixelAt(asset.get(), 0, 0);
        }
        const uint32_t m = DibPixels(asset.get())[0];
        uint32_t rgb = 0;
        for (int shift : {0, 8, 16}) {
            rgb |= (((kShapeColour >> shift & 255) * m + 127) / 255) << shift;
        }
        return rgb;
    }

  private:
    AssetFolder assets_;
    Scene scene_;
    DibBlock screen_;
};

}  // namespace

// Eight 44 x 45 previews in two rows above the arrow row, the next page
// one row of the remaining four; labels 16 right and 16 up.
TEST(ChooserPage, FramePages) {
    ChooserPage page(DECOR_FRAME, 12);
    page.Draw(0);
    EXPECT_TRUE(page.Arrow(kDown, 76, 0));
    EXPECT_TRUE(page.Filled(88, 0, 12, 12, kBack));
    for (int32_t k = 1; k <= 8; ++k) {
        const int32_t x = (k - 1) % 4 * 44;
        const int32_t y = k <= 4 ? 57 : 12;
        const uint32_t colour = page.Preview(ASSET_FRAME_PREVIEW, k);
        EXPECT_TRUE(page.Filled(x, y, 16, 16, colour)) << k;
        EXPECT_TRUE(page.Filled(x + 28, y + 28, 16, 17, colour)) << k;
        EXPECT_TRUE(page.Label(k, x + 16, y + 16));
    }
    EXPECT_TRUE(page.Filled(0, 102, 176, 78, kBack));

    page.Draw(1);
    EXPECT_TRUE(page.Arrow(kUp, 88, 0));
    EXPECT_TRUE(page.Filled(76, 0, 12, 12, kBack));
    for (int32_t k = 1; k <= 4; ++k) {
        EXPECT_TRUE(
            page.Filled((k - 1) * 44, 12, 16, 16, page.Preview(ASSET_FRAME_PREVIEW, 8 + k)));
        EXPECT_TRUE(page.Label(k, (k - 1) * 44 + 16, 28));
    }
    EXPECT_TRUE(page.Filled(0, 57, 176, 123, kBack));
}

// Pattern12 of 23: a strip from column 12 with the arrows in its first
// cell; the second page starts at item 11, the third shows 21 .. 23.
TEST(ChooserPage, Pattern12Pages) {
    ChooserPage page(DECOR_PATTERN12, 23);
    page.Draw(0);
    EXPECT_TRUE(page.Arrow(kDown, 12, 0));
    EXPECT_TRUE(page.Filled(12, 12, 12, 12, kBack));
    for (int32_t k = 1; k <= 10; ++k) {
        const int32_t x = 25 + (k - 1) * 13;
        EXPECT_TRUE(page.Filled(x, 0, 12, 12, page.Preview(ASSET_PATTERN12, k))) << k;
        EXPECT_TRUE(page.Label(k % 10, x, 12));  // the tenth shows 0
        EXPECT_TRUE(page.Filled(x + 12, 0, 1, 12, k < 10 ? kWhite : kBack)) << k;
    }

    page.Draw(1);
    EXPECT_TRUE(page.Arrow(kUp, 12, 12));
    EXPECT_TRUE(page.Filled(25, 0, 12, 12, page.Preview(ASSET_PATTERN12, 11)));
    EXPECT_TRUE(page.Label(1, 25, 12));

    page.Draw(2);
    EXPECT_TRUE(page.Filled(12, 0, 12, 12, kBack));
    EXPECT_TRUE(page.Filled(25, 0, 12, 12, page.Preview(ASSET_PATTERN12, 21)));
    EXPECT_TRUE(page.Filled(51, 0, 12, 12, page.Preview(ASSET_PATTERN12, 23)));
    EXPECT_TRUE(page.Filled(37, 0, 1, 12, kWhite));
    EXPECT_TRUE(page.Label(3, 51, 12));
    EXPECT_TRUE(page.Filled(63, 0, 113, 12, kBack));
    EXPECT_TRUE(page.Filled(64, 12, 112, 12, kBack));
}

// Pattern24 of 14: items 1-6, 7-12, 13-14 from column 15; the arrows keep
// to the screen at columns 0 .. 11, left of the items.
TEST(ChooserPage, Pattern24Pages) {
    ChooserPage page(DECOR_PATTERN24, 14);
    for (int16_t p = 0; p < 3; ++p) {
        page.Draw(p);
        const int32_t count = p < 2 ? 6 : 2;
        for (int32_t k = 1; k <= count; ++k) {
            const int32_t x = 15 + (k - 1) * 25;
            EXPECT_TRUE(page.Filled(x, 0, 24, 24, page.Preview(ASSET_PATTERN24, p * 6 + k)));
            EXPECT_TRUE(page.Label(k, x, 24));
        }
        const int32_t end = 15 + count * 25 - 1;
        EXPECT_TRUE(page.Filled(end, 0, 176 - end, 36, kBack));
        EXPECT_TRUE(p < 2 ? page.Arrow(kDown, 0, 0) : page.Filled(0, 0, 12, 12, kBack));
        EXPECT_TRUE(p > 0 ? page.Arrow(kUp, 0, 12) : page.Filled(0, 12, 12, 12, kBack));
        EXPECT_TRUE(page.Filled(12, 0, 3, 36, kBack));
    }
}

// Two columns from the top, labels left of each preview's lowest rows,
// arrows at the right; a preview that cannot be read leaves its cell but
// keeps its label.
TEST(ChooserPage, PicturePages) {
    ChooserPage page(DECOR_PICTURE, 9);
    std::filesystem::remove(page.Assets().ThemeFolder(DECOR_PICTURE, "T") + "T4.adm");
    page.Draw(0);
    for (int32_t k = 1; k <= 6; ++k) {
        const int32_t x = k % 2 == 1 ? 19 : 95;
        const int32_t y = 120 - (k - 1) / 2 * 60;
        const uint32_t colour = k == 4 ? kBack : page.Preview(ASSET_PICTURE, k);
        EXPECT_TRUE(page.Filled(x, y, 60, 60, colour)) << k;
        EXPECT_TRUE(page.Label(k, x - 12, y));
        EXPECT_TRUE(page.Filled(x - 12, y + 12, 12, 48, kBack));
    }
    EXPECT_TRUE(page.Arrow(kDown, 164, 0));
    EXPECT_TRUE(page.Filled(164, 12, 12, 168, kBack));

    // Items 7 .. 9: the lower grid row holds only its first.
    page.Draw(1);
    EXPECT_TRUE(page.Arrow(kUp, 164, 0));
    EXPECT_TRUE(page.Filled(19, 60, 60, 60, page.Preview(ASSET_PICTURE, 9)));
    EXPECT_TRUE(page.Filled(83, 60, 93, 60, kBack));
    EXPECT_TRUE(page.Filled(0, 0, 164, 60, kBack));
}

// A Word theme of four: page 0 shows 1 .. 3 stacked from row 12; page 1
// item 4 alone at rows 114 .. 163 between white rows 112 .. 113 and
// 164 .. 165, the up arrow alone at columns 82 .. 93.
TEST(ChooserPage, WordPages) {
    ChooserPage page(DECOR_WORD, 4);
    page.Draw(0);
    EXPECT_TRUE(page.Arrow(kDown, 82, 0));
    EXPECT_TRUE(page.Filled(0, 0, 82, 12, kBack));
    EXPECT_TRUE(page.Filled(94, 0, 82, 12, kBack));
    for (int32_t k = 3; k >= 1; --k) {
        const int32_t y = 14 + (3 - k) * 52;
        EXPECT_TRUE(page.Filled(0, y - 2, 176, 2, kWhite)) << k;
        EXPECT_TRUE(page.Filled(12, y, 164, 50, page.Preview(ASSET_WORD, k))) << k;
        EXPECT_TRUE(page.Label(k, 0, y));
    }
    EXPECT_TRUE(page.Filled(0, 168, 176, 2, kWhite));
    EXPECT_TRUE(page.Filled(0, 170, 176, 10, kBack));

    page.Draw(1);
    EXPECT_TRUE(page.Arrow(kUp, 82, 0));
    EXPECT_TRUE(page.Filled(0, 12, 176, 100, kBack));
    EXPECT_TRUE(page.Filled(0, 112, 176, 2, kWhite));
    EXPECT_TRUE(page.Filled(12, 114, 164, 50, page.Preview(ASSET_WORD, 4)));
    EXPECT_TRUE(page.Filled(0, 126, 12, 38, page.Preview(ASSET_WORD, 4)));
    EXPECT_TRUE(page.Label(1, 0, 114));
    EXPECT_TRUE(page.Filled(0, 164, 176, 2, kWhite));
    EXPECT_TRUE(page.Filled(0, 166, 176, 14, kBack));

    // Colourful words are copied as they are; both arrows side by side.
    ChooserPage colourful(DECOR_COLORFUL_WORD, 8);
    colourful.Draw(1);
    EXPECT_TRUE(colourful.Arrow(kDown, 76, 0));
    EXPECT_TRUE(colourful.Arrow(kUp, 88, 0));
    EXPECT_TRUE(colourful.Filled(12, 14, 164, 50, colourful.Preview(ASSET_COLORFUL_WORD, 6)));
    EXPECT_TRUE(colourful.Filled(12, 118, 164, 50, colourful.Preview(ASSET_COLORFUL_WORD, 4)));
}
