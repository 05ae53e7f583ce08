// The screen font: measuring, fitting with an ellipsis, wrapping words, and
// drawing into 24-bit and 8-bit canvases (clip, bottom-up rows, edges), with
// a missing face and broken UTF-8 handled without drawing or crashing.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "text/TextFonts.h"

namespace {

const TextStyle kRegular12{FONT_REGULAR, 12, {0, 0, 0}};
const TextStyle kBold12{FONT_BOLD, 12, {0, 0, 0}};

// A 24-bit picture with a guard band of marked bytes around the canvas rows,
// so that a write outside the canvas shows.
struct GuardedCanvas {
    static constexpr uint8_t kGuard = 0x5A;
    static constexpr int32_t kBand = 16;

    GuardedCanvas(int32_t width, int32_t height, int32_t bits, uint8_t fill)
        : bytes(static_cast<size_t>((width * bits / 8 + kBand) * (height + 2)), kGuard) {
        canvas.width = width;
        canvas.height = height;
        canvas.bitsPerPixel = bits;
        canvas.stride = width * bits / 8 + kBand;
        canvas.pixels = bytes.data() + canvas.stride;  // one guard row above
        for (int32_t y = 0; y < height; ++y) {
            std::memset(canvas.pixels + y * canvas.stride, fill,
                        static_cast<size_t>(width * bits / 8));
        }
    }
    int Value(int32_t x, int32_t y) const {  // first channel, y from the top row in memory
        return canvas.pixels[y * canvas.stride + x * canvas.bitsPerPixel / 8];
    }
    bool GuardsIntact() const {
        const int32_t rowBytes = canvas.width * canvas.bitsPerPixel / 8;
        for (size_t i = 0; i < bytes.size(); ++i) {
            const auto offset = static_cast<int32_t>(i) - canvas.stride;
            const bool inside = offset >= 0 && offset / canvas.stride < canvas.height &&
                                offset % canvas.stride < rowBytes;
            if (!inside && bytes[i] != kGuard) {
                return false;
            }
        }
        return true;
    }

    std::vector<uint8_t> bytes;
    TextCanvas canvas;
};

class TextFontsTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!ScreenFonts().HasFace(FONT_REGULAR) || !ScreenFonts().HasFace(FONT_BOLD)) {
            GTEST_SKIP() << "the screen font is not installed (" << ScreenFontPath(FONT_REGULAR)
                         << "; scripts/install-deps.sh installs fonts-dejavu-core)";
        }
    }
    const TextFonts& fonts_ = ScreenFonts();
};

TEST_F(TextFontsTest, MeasuresGrowWithTextWeightAndSizeAndBadBytesAreReplaced) {
    const int32_t word = fonts_.Measure("Brightness", kRegular12);
    EXPECT_GT(word, 40);
    EXPECT_LT(word, 80);
    EXPECT_GT(fonts_.Measure("Brightness", kBold12), word);
    EXPECT_EQ(fonts_.Measure("", kRegular12), 0);
    EXPECT_LT(fonts_.Measure("Bright", kRegular12), word);
    // Three times the size is about three times as wide (hinting rounds).
    const int32_t large = fonts_.Measure("Brightness", {FONT_REGULAR, 36, {}});
    EXPECT_NEAR(large, 3 * word, 6);
    const TextLineMetrics metrics = fonts_.LineMetrics(kRegular12);
    EXPECT_GE(metrics.ascent, 10);
    EXPECT_GE(metrics.descent, 2);
    EXPECT_EQ(metrics.height, metrics.ascent + metrics.descent);
    for (const int32_t size : {0, -3, kMaxTextPixelSize + 1}) {
        EXPECT_EQ(fonts_.Measure("Brightness", {FONT_REGULAR, size, {}}), 0) << size;
        EXPECT_EQ(fonts_.LineMetrics({FONT_REGULAR, size, {}}).height, 0) << size;
    }

    // Broken UTF-8: a stray continuation byte, a lead byte cut short, an
    // overlong "/", a surrogate; each bad byte is one replacement character.
    const int32_t replacement = fonts_.Measure("\xEF\xBF\xBD", kRegular12);
    ASSERT_GT(replacement, 0);
    EXPECT_EQ(fonts_.Measure("\x80", kRegular12), replacement);
    EXPECT_EQ(fonts_.Measure("a\xE2\x80", kRegular12),
              fonts_.Measure("a", kRegular12) + 2 * replacement);
    EXPECT_EQ(fonts_.Measure("\xC0\xAF", kRegular12), 2 * replacement);
    EXPECT_EQ(fonts_.Measure("\xED\xA0\x80", kRegular12), 3 * replacement);
    EXPECT_LT(fonts_.Measure("\xC3\xA9", kRegular12), 2 * replacement);
}

TEST_F(TextFontsTest, FitCutsWholeCharactersAndEndsWithAnEllipsis) {
    const std::string longName = "DSC_20040709_holiday_at_the_lake_with_everyone.jpg";
    const std::string accented = "Äpfel über öde Wälder grüße";  // Ä ü ö ä ß: two UTF-8 bytes each
    struct Case {
        std::string text;
        int32_t width;
    };
    for (const Case& c :
         {Case{longName, 100}, Case{longName, 30}, Case{accented, 50}, Case{accented, 71},
          Case{"a b c d e f g h i j k l m n", 40}, Case{"1234K 2004/07/09 08:05", 60}}) {
        const std::string fitted = fonts_.Fit(c.text, kRegular12, c.width);
        SCOPED_TRACE(c.text + " in " + std::to_string(c.width) + ": " + fitted);
        ASSERT_GE(fitted.size(), kEllipsis.size());
        const std::string kept = fitted.substr(0, fitted.size() - kEllipsis.size());
        EXPECT_EQ(fitted.substr(kept.size()), kEllipsis);
        EXPECT_LE(fonts_.Measure(fitted, kRegular12), c.width);
        EXPECT_EQ(c.text.compare(0, kept.size(), kept), 0) << "not a beginning of the text";
        EXPECT_NE(static_cast<uint8_t>(c.text[kept.size()]) & 0xC0, 0x80) << "a character cut";
        EXPECT_FALSE(!kept.empty() && kept.back() == ' ') << "a blank before the ellipsis";
        // One more character (and the blanks before it) would not fit.
        size_t next = kept.size();
        while (next < c.text.size() && c.text[next] == ' ') {
            ++next;
        }
        do {
            ++next;
        } while (next < c.text.size() && (static_cast<uint8_t>(c.text[next]) & 0xC0) == 0x80);
        EXPECT_GT(fonts_.Measure(c.text.substr(0, next) + std::string(kEllipsis), kRegular12),
                  c.width);
    }
    // Short enough: unchanged; no room even for the ellipsis: nothing.
    EXPECT_EQ(fonts_.Fit("Open", kRegular12, 100), "Open");
    EXPECT_EQ(fonts_.Fit("Open", kRegular12, fonts_.Measure("Open", kRegular12)), "Open");
    EXPECT_EQ(fonts_.Fit(longName, kRegular12, 2), "");
    EXPECT_EQ(fonts_.Fit(longName, kRegular12, fonts_.Measure(kEllipsis, kRegular12)),
              std::string(kEllipsis));
}

TEST_F(TextFontsTest, WrapBreaksBetweenWordsAtLineBreaksAndInsideOverlongWords) {
    const std::string text =
        "Do you want to merge the moveable object ?\nFile already exist !\n"
        "/home/someone/Pictures/a_very_long_folder_name_without_blanks/x";
    const int32_t width = 120;
    const std::vector<std::string> lines = fonts_.Wrap(text, kRegular12, width);
    ASSERT_GE(lines.size(), 5u);
    const auto nonBlank = [](std::string chars) {
        chars.erase(std::remove_if(chars.begin(), chars.end(),
                                   [](char c) { return c == ' ' || c == '\n'; }),
                    chars.end());
        return chars;
    };
    std::string joined;
    for (const std::string& line : lines) {
        EXPECT_LE(fonts_.Measure(line, kRegular12), width) << line;
        EXPECT_FALSE(line.empty());
        EXPECT_NE(line.front(), ' ') << line;
        EXPECT_NE(line.back(), ' ') << line;
        joined += line;
    }
    EXPECT_EQ(nonBlank(joined), nonBlank(text)) << "characters lost or added";
    // The line break starts a line of its own; no line mixes both sentences.
    EXPECT_NE(std::find(lines.begin(), lines.end(), "File already exist !"), lines.end());
    // A word is only broken when it is wider than a whole line.
    const std::vector<std::string> short_words =
        fonts_.Wrap("merge merge merge", kRegular12, fonts_.Measure("merge merge", kRegular12));
    EXPECT_EQ(short_words, (std::vector<std::string>{"merge merge", "merge"}));
    EXPECT_TRUE(fonts_.Wrap("", kRegular12, width).empty());
    EXPECT_EQ(fonts_.Wrap("a\n\nb", kRegular12, width), (std::vector<std::string>{"a", "", "b"}));
}

TEST_F(TextFontsTest, DrawsWithinTheAdvanceAroundTheBaselineAndKeepsToTheClip) {
    GuardedCanvas white(120, 30, 24, 255);
    const TextStyle style{FONT_BOLD, 16, {0, 0, 0}};
    const int32_t advance = fonts_.Draw(white.canvas, {10, 20}, "Hello", style);
    EXPECT_EQ(advance, fonts_.Measure("Hello", style));
    const TextLineMetrics metrics = fonts_.LineMetrics(style);
    int dark = 0;
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            if (white.Value(x, y) < 128) {
                ++dark;
                EXPECT_GE(x, 9);
                EXPECT_LE(x, 10 + advance + 1);
                EXPECT_GT(y, 20 - metrics.ascent - 1);
                EXPECT_LE(y, 20);  // "Hello" has no descenders
            }
        }
    }
    EXPECT_GT(dark, 40);
    EXPECT_TRUE(white.GuardsIntact());

    // A clip lets only its columns change.
    GuardedCanvas clipped(120, 30, 24, 255);
    clipped.canvas.clip = {20, 0, 40, 30};
    fonts_.Draw(clipped.canvas, {10, 20}, "Hello", style);
    for (int32_t y = 0; y < 30; ++y) {
        for (int32_t x = 0; x < 120; ++x) {
            const bool inside = x >= 20 && x < 40;
            EXPECT_EQ(clipped.Value(x, y), inside ? white.Value(x, y) : 255) << x << "," << y;
        }
    }
}

TEST_F(TextFontsTest, MaskAndColourAgreeAndBottomUpRowsAreMirrored) {
    const TextStyle red{FONT_REGULAR, 20, {255, 0, 0}};
    GuardedCanvas colour(90, 28, 24, 255);
    GuardedCanvas mask(90, 28, 8, 0);
    GuardedCanvas upside(90, 28, 8, 0);
    upside.canvas.bottomUp = true;
    fonts_.Draw(colour.canvas, {2, 22}, "Wax gy", red);
    fonts_.Draw(mask.canvas, {2, 22}, "Wax gy", red);
    fonts_.Draw(upside.canvas, {2, 22}, "Wax gy", red);
    int covered = 0;
    for (int32_t y = 0; y < 28; ++y) {
        for (int32_t x = 0; x < 90; ++x) {
            const int a = mask.Value(x, y);
            covered += a > 0 ? 1 : 0;
            // Red over white: blue and green fall by the coverage, red stays.
            const uint8_t* pixel = colour.canvas.pixels + y * colour.canvas.stride + x * 3;
            EXPECT_NEAR(pixel[0], 255 - a, 1) << x << "," << y;
            EXPECT_EQ(pixel[1], pixel[0]);
            EXPECT_EQ(pixel[2], 255);
            EXPECT_EQ(upside.Value(x, 27 - y), a);
        }
    }
    EXPECT_GT(covered, 60);
}

TEST_F(TextFontsTest, TextPastTheEdgesWritesNothingOutside) {
    const TextStyle style{FONT_BOLD, 40, {10, 20, 30}};
    const TextOrigin origins[] = {{-30, 10}, {50, 5},        {-5, 60},
                                  {70, 30},  {-1000, -1000}, {1000, 1000}};
    for (const int32_t bits : {24, 8}) {
        for (const TextOrigin& origin : origins) {
            GuardedCanvas canvas(80, 40, bits, 200);
            canvas.canvas.clip = {-10, -10, 500, 500};  // cut to the canvas
            fonts_.Draw(canvas.canvas, origin, "Wg\xE2\x80\xA6", style);
            EXPECT_TRUE(canvas.GuardsIntact())
                << bits << " bits at " << origin.x << "," << origin.baseline;
        }
    }
    // A canvas that cannot be drawn into still measures.
    TextCanvas empty;
    EXPECT_EQ(fonts_.Draw(empty, {0, 0}, "Wg", style), fonts_.Measure("Wg", style));
}

TEST(TextFontsMissing, AbsentFacesDrawNothingAndNeverFail) {
    const TextFonts fonts("/nonexistent/DejaVuSans.ttf", "");
    EXPECT_FALSE(fonts.HasFace(FONT_REGULAR));
    EXPECT_FALSE(fonts.HasFace(FONT_BOLD));
    EXPECT_EQ(fonts.Measure("Brightness", kRegular12), 0);
    EXPECT_EQ(fonts.LineMetrics(kBold12).height, 0);
    EXPECT_EQ(fonts.Fit("Brightness", kRegular12, 5), "Brightness");
    EXPECT_EQ(fonts.Wrap("one two\nthree", kRegular12, 5),
              (std::vector<std::string>{"one two", "three"}));
    GuardedCanvas canvas(40, 20, 24, 255);
    EXPECT_EQ(fonts.Draw(canvas.canvas, {2, 15}, "Brightness", kBold12), 0);
    EXPECT_EQ(canvas.bytes, GuardedCanvas(40, 20, 24, 255).bytes) << "a byte was written";
    // A file that is no font is absent too.
    const TextFonts notAFont(__FILE__, __FILE__);
    EXPECT_FALSE(notAFont.HasFace(FONT_REGULAR));
}

}  // namespace
