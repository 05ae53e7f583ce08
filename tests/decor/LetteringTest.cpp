// Typed words drawn in the screen font: the pinned bytes of both looks (the
// colourful look's outline and gradient included), fitting into the word
// box (margins, centring, the cut with an ellipsis), large factors (drawn
// and enlarged), and the failures.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "decor/Lettering.h"

namespace {

// FNV-1a over the pixel rows (padding included: it is zero-filled).
uint64_t PixelHash(const DibImage* picture) {
    uint64_t hash = 1469598103934665603ull;
    if (picture == nullptr) {
        return 0;
    }
    const size_t bytes = static_cast<size_t>(picture->header.biSizeImage);
    const uint8_t* pixels = DibPixels(picture);
    for (size_t i = 0; i < bytes; ++i) {
        hash = (hash ^ pixels[i]) * 1099511628211ull;
    }
    return hash;
}

uint8_t Level(const DibImage* mask, int32_t x, int32_t yFromTop) {
    const int32_t width = mask->header.biWidth;
    const int32_t height = mask->header.biHeight;
    return DibPixels(mask)[static_cast<size_t>(height - 1 - yFromTop) * DibRowStride(width, 8) +
                           static_cast<size_t>(x)];
}

// Where a mask's levels of at least threshold lie: columns and rows from
// the top, right and bottom excluded; empty when there are none.
struct Ink {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool any = false;
};

Ink InkOf(const DibImage* mask, uint8_t threshold = 128) {
    Ink ink;
    for (int32_t y = 0; y < mask->header.biHeight; ++y) {
        for (int32_t x = 0; x < mask->header.biWidth; ++x) {
            if (Level(mask, x, y) >= threshold) {
                ink = ink.any ? Ink{std::min(ink.left, x), std::min(ink.top, y),
                                    std::max(ink.right, x + 1), std::max(ink.bottom, y + 1), true}
                              : Ink{x, y, x + 1, y + 1, true};
            }
        }
    }
    return ink;
}

bool EndsWithEllipsis(const std::string& text) {
    return text.size() >= kEllipsis.size() &&
           text.compare(text.size() - kEllipsis.size(), kEllipsis.size(), kEllipsis) == 0;
}

class LetteringTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ScreenFonts().HasFace(FONT_BOLD)) {
            GTEST_SKIP() << "the screen font is not installed (" << ScreenFontPath(FONT_BOLD)
                         << "; scripts/install-deps.sh installs fonts-dejavu-core)";
        }
    }
};

// The bytes of both looks are pinned (DejaVu Sans Bold of Debian 12 through
// its FreeType). A fresh copy of the font, whose glyph cache starts empty,
// draws the same bytes as the program's shared one.
TEST_F(LetteringTest, DrawsPinnedBytesWhateverTheGlyphCacheHolds) {
    const LetteringResult word = RenderLettering("Happy Holidays", DECOR_WORD, 1);
    const LetteringResult colourful = RenderLettering("Happy Holidays", DECOR_COLORFUL_WORD, 1);
    ASSERT_TRUE(word.Ok() && colourful.Ok());
    EXPECT_EQ(word.colour, nullptr);
    for (const DibImage* picture :
         {word.mask.get(), colourful.mask.get(), colourful.colour.get()}) {
        ASSERT_NE(picture, nullptr);
        EXPECT_EQ(picture->header.biWidth, kLetteringWidth);
        EXPECT_EQ(picture->header.biHeight, kLetteringHeight);
    }
    EXPECT_EQ(word.mask->header.biBitCount, 8);
    EXPECT_EQ(colourful.colour->header.biBitCount, 24);
    EXPECT_EQ(word.shown, "Happy Holidays");
    EXPECT_EQ(word.pixelSize, 18);
    EXPECT_EQ(colourful.pixelSize, 18);
    EXPECT_EQ(PixelHash(word.mask.get()), 7240842876555110242ull);
    EXPECT_EQ(PixelHash(colourful.mask.get()), 6261449407045770071ull);
    EXPECT_EQ(PixelHash(colourful.colour.get()), 5400227124633447486ull);

    const TextFonts fresh(ScreenFontPath(FONT_REGULAR), ScreenFontPath(FONT_BOLD));
    const LetteringResult again = RenderLettering(fresh, "  Happy Holidays\t", DECOR_WORD, 1);
    ASSERT_TRUE(again.Ok());
    EXPECT_EQ(PixelHash(again.mask.get()), PixelHash(word.mask.get()));
    EXPECT_EQ(again.shown, "Happy Holidays");
}

// Short lines grow to the box's height, long ones shrink to its width, and
// a line too long even at the smallest size is cut with an ellipsis; every
// line stays inside the margins, centred.
TEST_F(LetteringTest, FitsEveryLineIntoTheBoxCentred) {
    struct Case {
        const char* text;
        bool cut;
    };
    const Case cases[] = {
        {"Hi", false},
        {"Happy Holidays", false},
        {"Happy birthday, Anna!", false},
        {"The quick brown fox jumps over the lazy dog", true},
        {"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW", true},
        {"\xC3\x84pfel & Birnen!", false},
    };
    int32_t previousSize = kMaxTextPixelSize;
    for (const int16_t kind : {DECOR_WORD, DECOR_COLORFUL_WORD}) {
        previousSize = kMaxTextPixelSize;
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (kind == DECOR_WORD ? " word" : " colourful"));
            const LetteringResult result = RenderLettering(c.text, kind, 1);
            ASSERT_TRUE(result.Ok());
            EXPECT_EQ(EndsWithEllipsis(result.shown), c.cut) << result.shown;
            if (c.cut) {
                EXPECT_EQ(result.pixelSize, kLetteringMinPixels);
            } else {
                EXPECT_EQ(result.shown, c.text);
                EXPECT_GE(result.pixelSize, kLetteringMinPixels);
            }
            // Longer lines of the table never get a larger size than
            // shorter ones (the accented line comes last and is shorter).
            if (std::string(c.text).size() < 40 && c.text[0] != '\xC3') {
                EXPECT_LE(result.pixelSize, previousSize);
                previousSize = result.pixelSize;
            }
            const Ink ink = InkOf(result.mask.get(), 1);
            ASSERT_TRUE(ink.any);
            EXPECT_GE(ink.left, 2);
            EXPECT_LE(ink.right, kLetteringWidth - 2);
            EXPECT_GE(ink.top, 1);
            EXPECT_LE(ink.bottom, kLetteringHeight - 1);
            EXPECT_NEAR(ink.left, kLetteringWidth - ink.right, 4);
            EXPECT_NEAR(ink.top, kLetteringHeight - ink.bottom, 9);
        }
    }
    // "Hi" takes the box's height: far larger than the others.
    EXPECT_GE(RenderLettering("Hi", DECOR_WORD, 1).pixelSize, 34);
}

// A render at factor k is k times as large, shows the same line and (drawn
// or enlarged) puts its ink where the screen's render has it, k times over.
TEST_F(LetteringTest, LargeFactorsDrawTheScreensWordLarger) {
    const std::string longLine = "The quick brown fox jumps over the lazy dog";
    for (const int16_t kind : {DECOR_WORD, DECOR_COLORFUL_WORD}) {
        const LetteringResult screen = RenderLettering(longLine, kind, 1);
        const Ink small = InkOf(screen.mask.get());
        for (const int32_t factor : {2, 5, kLetteringDrawnFactorMax + 2}) {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " factor " << factor);
            const LetteringResult large = RenderLettering(longLine, kind, factor);
            ASSERT_TRUE(large.Ok());
            EXPECT_EQ(large.shown, screen.shown);
            EXPECT_EQ(large.mask->header.biWidth, kLetteringWidth * factor);
            EXPECT_EQ(large.mask->header.biHeight, kLetteringHeight * factor);
            EXPECT_EQ(large.colour != nullptr, kind == DECOR_COLORFUL_WORD);
            if (large.colour) {
                EXPECT_EQ(large.colour->header.biWidth, kLetteringWidth * factor);
            }
            const int32_t drawn = std::min(factor, kLetteringDrawnFactorMax);
            EXPECT_NEAR(large.pixelSize, screen.pixelSize * drawn, drawn * 2);
            const Ink big = InkOf(large.mask.get());
            // As wide as the screen's word or up to a pixel narrower.
            const int32_t slack = 2 * factor;
            EXPECT_NEAR(big.left, small.left * factor, slack);
            EXPECT_NEAR(big.right, small.right * factor, slack);
            EXPECT_NEAR(big.top, small.top * factor, slack);
            EXPECT_NEAR(big.bottom, small.bottom * factor, slack);
        }
    }
}

TEST_F(LetteringTest, RefusesWhatCannotBeDrawn) {
    const TextFonts missing("", "");
    struct Case {
        const TextFonts* fonts;
        const char* text;
        int16_t kind;
        int32_t factor;
        LetteringError error;
    };
    const Case cases[] = {
        {&ScreenFonts(), "Hello", DECOR_PICTURE, 1, LETTERING_BAD_KIND},
        {&ScreenFonts(), "Hello", -1, 1, LETTERING_BAD_KIND},
        {&ScreenFonts(), "Hello", DECOR_WORD, 0, LETTERING_BAD_FACTOR},
        {&ScreenFonts(), "Hello", DECOR_WORD, kLetteringMaxFactor + 1, LETTERING_BAD_FACTOR},
        {&ScreenFonts(), "", DECOR_WORD, 1, LETTERING_EMPTY},
        {&ScreenFonts(), " \t  ", DECOR_COLORFUL_WORD, 1, LETTERING_EMPTY},
        {&missing, "Hello", DECOR_WORD, 1, LETTERING_NO_FONT},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << '"' << c.text << "\" kind " << c.kind << " factor " << c.factor);
        const LetteringResult result = RenderLettering(*c.fonts, c.text, c.kind, c.factor);
        EXPECT_EQ(result.error, c.error);
        EXPECT_FALSE(result.Ok());
        EXPECT_EQ(result.mask, nullptr);
        EXPECT_EQ(result.colour, nullptr);
    }
    // Bytes that are not UTF-8 and control characters draw as the font's
    // replacement and nothing; the line is still a word.
    const LetteringResult odd = RenderLettering("a\xFF\x01z", DECOR_WORD, 1);
    ASSERT_TRUE(odd.Ok());
    EXPECT_TRUE(InkOf(odd.mask.get()).any);
}

}  // namespace
