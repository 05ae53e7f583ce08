// The chooser pages, checked at exact pixels: preview places, labels,
// arrows, white separators, and what is left of the screen below.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "decor/AssetTestSupport.h"
#include "decor/Chooser.h"

namespace {

constexpr uint32_t kBack = 0x111111;  // what the layers below left on the screen
constexpr uint32_t kShapeColour = 0x20D0F0;

// What a run of rectangles shows: the screen left as it was, white, the
// preview of an item, the keypad label of a digit, or an arrow.
enum Shown { BACK, WHITE, ITEM, LABEL, UP, DOWN };

// times rectangles of width x height, the first with its lowest-left pixel
// at x, y, each next one dx, dy on, showing item (or digit) n, n + 1, ...
struct Drawn {
    Shown shown;
    int32_t x, y, width, height;
    int32_t n = 0;
    int32_t times = 1;
    int32_t dx = 0, dy = 0;
};

// A theme of count items of kind, its page drawn over a screen of kBack with
// guard bytes behind it; the arrows are grey levels 200 + column (up) and
// 100 + column (down).
class ChooserPage {
  public:
    ChooserPage(int16_t kind, int16_t count) : kind_(kind) {
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

    // Every pixel of each rectangle of the run is what it shows.
    ::testing::AssertionResult Shows(const Drawn& run) const {
        for (int32_t i = 0; i < run.times; ++i) {
            const int32_t n = run.n + i;
            const uint32_t preview = run.shown == ITEM ? Preview(n) : 0;
            for (int32_t row = 0; row < run.height; ++row) {
                for (int32_t column = 0; column < run.width; ++column) {
                    const int32_t x = run.x + i * run.dx + column;
                    const int32_t y = run.y + i * run.dy + row;
                    const uint32_t expected =
                        run.shown == BACK    ? kBack
                        : run.shown == WHITE ? 0xFFFFFFu
                        : run.shown == ITEM  ? preview
                        : run.shown == LABEL
                            ? PixelAt(scene_.digits.get(), n % 10 * 12 + column, row)
                            : uint32_t((run.shown == UP ? 200 : 100) + column) * 0x010101u;
                    const uint32_t actual = PixelAt(screen_.get(), x, y);
                    if (actual != expected) {
                        return ::testing::AssertionFailure()
                               << std::hex << actual << " at " << std::dec << x << ", " << y
                               << " instead of " << std::hex << expected;
                    }
                }
            }
        }
        return ::testing::AssertionSuccess();
    }

  private:
    // What item n's preview shows: a colour picture's own pixel, or a
    // shape's level in the current colour; kBack when it cannot be read.
    uint32_t Preview(int32_t n) const {
        static const AssetUse uses[kDecorationKinds] = {ASSET_FRAME_PREVIEW, ASSET_PATTERN12,
                                                        ASSET_PATTERN24,     ASSET_PICTURE,
                                                        ASSET_WORD,          ASSET_COLORFUL_WORD};
        const DibBlock asset = LoadAsset(assets_.Root(), scene_.themes, uses[kind_], int16_t(n));
        if (!asset) {
            return kBack;
        }
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

    int16_t kind_;
    AssetFolder assets_;
    Scene scene_;
    DibBlock screen_;
};

}  // namespace

// Each case: a theme of count items of kind, its page, and what is drawn.
TEST(ChooserPage, DrawsEachKindsLayout) {
    struct Case {
        int16_t kind, count, page;
        std::vector<Drawn> drawn;
    };
    // clang-format off
    const Case cases[] = {
        // Frames: 44 x 45 previews (checked at two corners) in two rows above
        // the arrow row, labels 16 right and 16 up; the next page one row of
        // the remaining four.
        {DECOR_FRAME, 12, 0, {{DOWN, 76, 0, 12, 12}, {BACK, 88, 0, 12, 12},
            {ITEM, 0, 57, 16, 16, 1, 4, 44}, {ITEM, 28, 85, 16, 17, 1, 4, 44},
            {ITEM, 0, 12, 16, 16, 5, 4, 44}, {ITEM, 28, 40, 16, 17, 5, 4, 44},
            {LABEL, 16, 73, 12, 12, 1, 4, 44}, {LABEL, 16, 28, 12, 12, 5, 4, 44},
            {BACK, 0, 102, 176, 78}}},
        {DECOR_FRAME, 12, 1, {{UP, 88, 0, 12, 12}, {BACK, 76, 0, 12, 12},
            {ITEM, 0, 12, 16, 16, 9, 4, 44}, {LABEL, 16, 28, 12, 12, 1, 4, 44},
            {BACK, 0, 57, 176, 123}}},
        // Pattern12 of 23: a strip from column 12 with the arrows in its
        // first cell, a white column after every item but the last; the
        // tenth label shows 0; the third page holds 21 .. 23.
        {DECOR_PATTERN12, 23, 0, {{DOWN, 12, 0, 12, 12}, {BACK, 12, 12, 12, 12},
            {ITEM, 25, 0, 12, 12, 1, 10, 13}, {LABEL, 25, 12, 12, 12, 1, 10, 13},
            {WHITE, 37, 0, 1, 12, 0, 9, 13}, {BACK, 154, 0, 1, 12}}},
        {DECOR_PATTERN12, 23, 1, {{UP, 12, 12, 12, 12}, {ITEM, 25, 0, 12, 12, 11},
            {LABEL, 25, 12, 12, 12, 1}}},
        {DECOR_PATTERN12, 23, 2, {{BACK, 12, 0, 12, 12}, {ITEM, 25, 0, 12, 12, 21, 3, 13},
            {WHITE, 37, 0, 1, 12, 0, 2, 13}, {LABEL, 25, 12, 12, 12, 1, 3, 13},
            {BACK, 63, 0, 113, 12}, {BACK, 64, 12, 112, 12}}},
        // Pattern24 of 14: items 1-6, 7-12, 13-14 from column 15; the arrows
        // keep to the screen at columns 0 .. 11, left of the items.
        {DECOR_PATTERN24, 14, 0, {{DOWN, 0, 0, 12, 12}, {BACK, 0, 12, 12, 12},
            {BACK, 12, 0, 3, 36}, {ITEM, 15, 0, 24, 24, 1, 6, 25},
            {LABEL, 15, 24, 12, 12, 1, 6, 25}, {WHITE, 39, 0, 1, 24, 0, 5, 25},
            {BACK, 164, 0, 12, 36}}},
        {DECOR_PATTERN24, 14, 1, {{DOWN, 0, 0, 12, 12}, {UP, 0, 12, 12, 12},
            {ITEM, 15, 0, 24, 24, 7, 6, 25}, {LABEL, 15, 24, 12, 12, 1, 6, 25}}},
        {DECOR_PATTERN24, 14, 2, {{BACK, 0, 0, 12, 12}, {UP, 0, 12, 12, 12},
            {ITEM, 15, 0, 24, 24, 13, 2, 25}, {LABEL, 15, 24, 12, 12, 1, 2, 25},
            {BACK, 64, 0, 112, 36}}},
        // Pictures: two columns from the top, labels left of each preview's
        // lowest rows, arrows at the right. Item 4 cannot be read: its cell
        // is left as it was, its label drawn. On the second page the lower
        // grid row holds only its first.
        {DECOR_PICTURE, 9, 0, {{ITEM, 19, 120, 60, 60, 1, 2, 76},
            {ITEM, 19, 60, 60, 60, 3, 2, 76}, {ITEM, 19, 0, 60, 60, 5, 2, 76},
            {LABEL, 7, 120, 12, 12, 1, 2, 76}, {LABEL, 7, 60, 12, 12, 3, 2, 76},
            {LABEL, 7, 0, 12, 12, 5, 2, 76}, {BACK, 7, 12, 12, 48, 0, 3, 0, 60},
            {BACK, 83, 12, 12, 48, 0, 3, 0, 60}, {DOWN, 164, 0, 12, 12},
            {BACK, 164, 12, 12, 168}}},
        {DECOR_PICTURE, 9, 1, {{UP, 164, 0, 12, 12}, {ITEM, 19, 120, 60, 60, 7, 2, 76},
            {ITEM, 19, 60, 60, 60, 9}, {BACK, 83, 60, 93, 60}, {BACK, 0, 0, 164, 60}}},
        // Words: stacked from row 12 upwards, the page's last item lowest,
        // two white rows around each; an arrow alone at columns 82 .. 93.
        {DECOR_WORD, 4, 0, {{DOWN, 82, 0, 12, 12}, {BACK, 0, 0, 82, 12}, {BACK, 94, 0, 82, 12},
            {WHITE, 0, 12, 176, 2, 0, 4, 0, 52}, {ITEM, 12, 118, 164, 50, 1, 3, 0, -52},
            {LABEL, 0, 118, 12, 12, 1, 3, 0, -52}, {BACK, 0, 170, 176, 10}}},
        {DECOR_WORD, 4, 1, {{UP, 82, 0, 12, 12}, {BACK, 0, 12, 176, 100},
            {WHITE, 0, 112, 176, 2, 0, 2, 0, 52}, {ITEM, 12, 114, 164, 50, 4},
            {ITEM, 0, 126, 12, 38, 4}, {LABEL, 0, 114, 12, 12, 1}, {BACK, 0, 166, 176, 14}}},
        // Colourful words are copied as they are; both arrows side by side.
        {DECOR_COLORFUL_WORD, 8, 1, {{DOWN, 76, 0, 12, 12}, {UP, 88, 0, 12, 12},
            {ITEM, 12, 118, 164, 50, 4, 3, 0, -52}}},
    };
    // clang-format on
    std::unique_ptr<ChooserPage> page;
    for (size_t i = 0; i < std::size(cases); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " page " << c.page);
        if (i == 0 || c.kind != cases[i - 1].kind) {
            page = std::make_unique<ChooserPage>(c.kind, c.count);
            if (c.kind == DECOR_PICTURE) {
                std::filesystem::remove(page->Assets().ThemeFolder(c.kind, "T") + "T4.adm");
            }
        }
        page->Draw(c.page);
        for (const Drawn& run : c.drawn) {
            EXPECT_TRUE(page->Shows(run)) << "the run at " << run.x << ", " << run.y;
        }
    }
}
