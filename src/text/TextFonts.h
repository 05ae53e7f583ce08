// TextFonts: the screen font, measured and drawn without any GUI toolkit.
// One regular and one bold face (DejaVu Sans and DejaVu Sans Bold from the
// system's font folder for the screen), rendered anti-aliased by FreeType at
// any pixel size into a 24-bit BGR picture or an 8-bit coverage mask.
//
// Contract: nothing throws. A face whose file is missing or unreadable is
// absent: its texts measure 0 pixels wide, fit and wrap as if they took no
// room, and draw nothing. Text is UTF-8; a byte that does not start a valid
// sequence stands for U+FFFD. Pixel sizes outside 1 .. kMaxTextPixelSize
// draw and measure nothing. Drawing never writes outside the canvas or its
// clip rectangle. The glyph cache behind the const calls is guarded, so one
// TextFonts may be used from several threads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

enum FontWeight : uint8_t {
    FONT_REGULAR = 0,
    FONT_BOLD = 1,
};

constexpr int32_t kMaxTextPixelSize = 512;

// The ellipsis that ends a text cut to fit (U+2026).
constexpr std::string_view kEllipsis = "\xE2\x80\xA6";

struct TextColor {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// The face, its size (the em in pixels) and, for drawing, the colour.
struct TextStyle {
    FontWeight weight = FONT_REGULAR;
    int32_t pixelSize = 12;
    TextColor color;
};

// A rectangle in canvas pixels, x from the left, y from the top; right and
// bottom excluded.
struct TextRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
};

// The pixels text is drawn into. 24 bits: blue, green, red per pixel, each
// glyph pixel blended towards the style's colour by its coverage. 8 bits: a
// coverage mask, each glyph pixel laid over what is there (a + d (1 - a)).
// Rows lie top-down unless bottomUp. Only the clip rectangle (cut to the
// canvas) is written; an empty clip means the whole canvas.
struct TextCanvas {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;  // bytes from one row to the next in memory
    int32_t bitsPerPixel = 24;
    bool bottomUp = false;
    TextRect clip;
};

// Where a line starts: x of its first glyph's origin and the baseline's
// row, in canvas pixels.
struct TextOrigin {
    int32_t x = 0;
    int32_t baseline = 0;
};

// Heights of a line, in pixels: ascent above the baseline, descent below
// it; height = ascent + descent. All 0 for an absent face.
struct TextLineMetrics {
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t height = 0;
};

class TextFonts {
  public:
    // Loads the two faces from these font files.
    TextFonts(const std::string& regularPath, const std::string& boldPath);
    ~TextFonts();
    TextFonts(const TextFonts&) = delete;
    TextFonts& operator=(const TextFonts&) = delete;

    bool HasFace(FontWeight weight) const;

    TextLineMetrics LineMetrics(const TextStyle& style) const;
    // The advance of the whole line, kerning included.
    int32_t Measure(std::string_view text, const TextStyle& style) const;
    // The text when it fits into width; else its longest beginning that
    // fits together with the ellipsis, blanks before the ellipsis dropped;
    // empty when not even the ellipsis fits.
    std::string Fit(std::string_view text, const TextStyle& style, int32_t width) const;
    // The text broken into lines no wider than width: at each "\n", and
    // between words where a line would grow too wide; a word wider than
    // width alone is broken between characters. Blanks at a break are
    // dropped. An empty text gives no lines.
    std::vector<std::string> Wrap(std::string_view text, const TextStyle& style,
                                  int32_t width) const;
    // Draws one line from origin (a "\n" is drawn as nothing). Returns the
    // advance, as Measure does.
    int32_t Draw(const TextCanvas& canvas, TextOrigin origin, std::string_view text,
                 const TextStyle& style) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

// The files of the screen font on Debian (fonts-dejavu-core).
std::string ScreenFontPath(FontWeight weight);

// The screen font, loaded from ScreenFontPath on first use and kept for the
// life of the program.
const TextFonts& ScreenFonts();
