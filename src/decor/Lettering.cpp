// Lettering: fitting a typed line to the word box, drawing its coverage
// with the screen font, and the two looks made from it (the grey shape, and
// the gradient fill in a grown outline with its mask).
#include "decor/Lettering.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "image/Resample.h"

namespace {

constexpr int32_t kMarginColumns = 6;
constexpr int32_t kMarginRows = 3;
constexpr int32_t kOutlineRadius = 2;

struct LetteringRgb {
    int32_t red;
    int32_t green;
    int32_t blue;
};
constexpr LetteringRgb kFillTop{255, 226, 104};
constexpr LetteringRgb kFillFoot{228, 64, 28};
constexpr LetteringRgb kOutline{72, 24, 12};

std::string_view TrimBlanks(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && blank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

TextStyle BoldAt(int32_t pixelSize) {
    TextStyle style;
    style.weight = FONT_BOLD;
    style.pixelSize = pixelSize;
    return style;
}

// The room the line's advance and height may take at factor.
struct LetteringRoom {
    int32_t width = 0;
    int32_t height = 0;
    int32_t outline = 0;  // the outline's radius, 0 for a plain word
};

LetteringRoom RoomFor(int16_t kind, int32_t factor) {
    LetteringRoom room;
    room.outline = kind == DECOR_COLORFUL_WORD ? kOutlineRadius * factor : 0;
    room.width = (kLetteringWidth - 2 * kMarginColumns) * factor - 2 * room.outline;
    room.height = (kLetteringHeight - 2 * kMarginRows) * factor - 2 * room.outline;
    return room;
}

// The largest size in 1 .. kMaxTextPixelSize whose line height fits; 0 when
// none does. Heights grow with the size, so the search halves its range.
int32_t TallestSize(const TextFonts& fonts, int32_t height) {
    int32_t low = 0;
    int32_t high = kMaxTextPixelSize;
    while (low < high) {
        const int32_t middle = (low + high + 1) / 2;
        if (fonts.LineMetrics(BoldAt(middle)).height <= height) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

// The largest size in 1 .. largest at which the line is no wider than
// width; 0 when none is.
int32_t WidestSize(const TextFonts& fonts, std::string_view line, int32_t largest, int32_t width) {
    int32_t low = 0;
    int32_t high = largest;
    while (low < high) {
        const int32_t middle = (low + high + 1) / 2;
        if (fonts.Measure(line, BoldAt(middle)) <= width) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    return low;
}

// The line as every factor draws it: whole when it fits at the smallest
// size at factor 1, else cut there with an ellipsis.
std::string ShownLine(const TextFonts& fonts, std::string_view line, int16_t kind) {
    const LetteringRoom room = RoomFor(kind, 1);
    if (fonts.Measure(line, BoldAt(kLetteringMinPixels)) <= room.width) {
        return std::string(line);
    }
    return fonts.Fit(line, BoldAt(kLetteringMinPixels), room.width);
}

// The integer part of the square root of a value that is not negative.
int32_t SquareRootFloor(int32_t value) {
    int32_t root = 0;
    while ((root + 1) * (root + 1) <= value) {
        ++root;
    }
    return root;
}

// The coverage grown by a disc: every pixel takes the highest level within
// radius + 1/2 of it. Row by row the highest level within w columns follows
// from the one within w - 1 (it is the highest of three neighbours), and
// each row offset of the disc takes the width the disc has there, so the
// work is one pass per column width and per row offset.
std::vector<uint8_t> GrowCoverage(const std::vector<uint8_t>& coverage, int32_t width,
                                  int32_t height, int32_t radius) {
    const size_t count = coverage.size();
    std::vector<uint8_t> grown(count, 0);
    std::vector<uint8_t> spread = coverage;
    std::vector<uint8_t> wider(count, 0);
    std::vector<int32_t> halfWidth(static_cast<size_t>(2 * radius + 1));
    for (int32_t dy = -radius; dy <= radius; ++dy) {
        halfWidth[static_cast<size_t>(dy + radius)] =
            SquareRootFloor(radius * radius + radius - dy * dy);
    }
    for (int32_t w = 0; w <= radius; ++w) {
        if (w > 0) {
            for (int32_t y = 0; y < height; ++y) {
                const uint8_t* from = spread.data() + static_cast<size_t>(y) * width;
                uint8_t* to = wider.data() + static_cast<size_t>(y) * width;
                for (int32_t x = 0; x < width; ++x) {
                    uint8_t level = from[x];
                    if (x > 0) {
                        level = std::max(level, from[x - 1]);
                    }
                    if (x + 1 < width) {
                        level = std::max(level, from[x + 1]);
                    }
                    to[x] = level;
                }
            }
            spread.swap(wider);
        }
        for (int32_t dy = -radius; dy <= radius; ++dy) {
            if (halfWidth[static_cast<size_t>(dy + radius)] != w) {
                continue;
            }
            for (int32_t y = std::max(0, -dy); y < std::min(height, height - dy); ++y) {
                const uint8_t* from = spread.data() + static_cast<size_t>(y + dy) * width;
                uint8_t* to = grown.data() + static_cast<size_t>(y) * width;
                for (int32_t x = 0; x < width; ++x) {
                    to[x] = std::max(to[x], from[x]);
                }
            }
        }
    }
    return grown;
}

uint8_t Mix(int32_t from, int32_t to, int32_t weight, int32_t scale) {
    return static_cast<uint8_t>(from + ((to - from) * weight + scale / 2) / scale);
}

// The gradient fill over the line's rows inside the outline, as 24-bit
// rows of the colour image. coverage and outline are top-down, width
// bytes a row; the image's rows are bottom-up.
void PaintColorfulWord(const std::vector<uint8_t>& coverage, int32_t width, int32_t height,
                       int32_t lineTop, int32_t lineHeight, DibImage* colour) {
    const int32_t stride = DibRowStride(width, 24);
    uint8_t* pixels = DibPixels(colour);
    const int32_t span = std::max(lineHeight - 1, 1);
    for (int32_t y = 0; y < height; ++y) {
        const int32_t along = std::clamp(y - lineTop, 0, span);
        const LetteringRgb fill{Mix(kFillTop.red, kFillFoot.red, along, span),
                                Mix(kFillTop.green, kFillFoot.green, along, span),
                                Mix(kFillTop.blue, kFillFoot.blue, along, span)};
        const uint8_t* level = coverage.data() + static_cast<size_t>(y) * width;
        uint8_t* row = pixels + static_cast<size_t>(height - 1 - y) * stride;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t a = level[x];
            row[3 * x] = Mix(kOutline.blue, fill.blue, a, 255);
            row[3 * x + 1] = Mix(kOutline.green, fill.green, a, 255);
            row[3 * x + 2] = Mix(kOutline.red, fill.red, a, 255);
        }
    }
}

// Copies top-down levels into a mask-form picture's bottom-up rows.
void StoreLevels(const std::vector<uint8_t>& levels, int32_t width, int32_t height,
                 DibImage* mask) {
    const int32_t stride = DibRowStride(width, 8);
    uint8_t* pixels = DibPixels(mask);
    for (int32_t y = 0; y < height; ++y) {
        std::memcpy(pixels + static_cast<size_t>(height - 1 - y) * stride,
                    levels.data() + static_cast<size_t>(y) * width, static_cast<size_t>(width));
    }
}

// A picture enlarged to width x height with the image resampler; a mask
// goes through it as grey, one channel kept.
DibBlock Enlarge(const DibImage* picture, int32_t width, int32_t height) {
    const int32_t fromWidth = picture->header.biWidth;
    const int32_t fromHeight = picture->header.biHeight;
    const bool grey = picture->header.biBitCount == 8;
    DibBlock source;
    if (grey) {
        source = DibCreate(fromWidth, fromHeight, 24);
        if (!source) {
            return nullptr;
        }
        const int32_t greyStride = DibRowStride(fromWidth, 8);
        const int32_t colourStride = DibRowStride(fromWidth, 24);
        for (int32_t y = 0; y < fromHeight; ++y) {
            const uint8_t* from = DibPixels(picture) + static_cast<size_t>(y) * greyStride;
            uint8_t* to = DibPixels(source.get()) + static_cast<size_t>(y) * colourStride;
            for (int32_t x = 0; x < fromWidth; ++x) {
                to[3 * x] = to[3 * x + 1] = to[3 * x + 2] = from[x];
            }
        }
    }
    const DibImage* colour = grey ? source.get() : picture;
    DibBlock large = DibCreate(width, height, 24);
    if (!large || !ResampleImage(DibPixels(colour), DibPixels(large.get()),
                                 NewPictureRequest(fromWidth, fromHeight, width, height))) {
        return nullptr;
    }
    if (!grey) {
        return large;
    }
    DibBlock mask = DibCreate(width, height, 8);
    if (!mask) {
        return nullptr;
    }
    const int32_t greyStride = DibRowStride(width, 8);
    const int32_t colourStride = DibRowStride(width, 24);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* from = DibPixels(large.get()) + static_cast<size_t>(y) * colourStride;
        uint8_t* to = DibPixels(mask.get()) + static_cast<size_t>(y) * greyStride;
        for (int32_t x = 0; x < width; ++x) {
            to[x] = from[3 * x];
        }
    }
    return mask;
}

LetteringResult Failed(LetteringError error) {
    LetteringResult result;
    result.error = error;
    return result;
}

}  // namespace

LetteringResult RenderLettering(const TextFonts& fonts, std::string_view text, int16_t kind,
                                int32_t factor) {
    if (kind != DECOR_WORD && kind != DECOR_COLORFUL_WORD) {
        return Failed(LETTERING_BAD_KIND);
    }
    if (factor < 1 || factor > kLetteringMaxFactor) {
        return Failed(LETTERING_BAD_FACTOR);
    }
    const std::string_view line = TrimBlanks(text);
    if (line.empty()) {
        return Failed(LETTERING_EMPTY);
    }
    if (!fonts.HasFace(FONT_BOLD)) {
        return Failed(LETTERING_NO_FONT);
    }
    LetteringResult result;
    result.shown = ShownLine(fonts, line, kind);
    const LetteringRoom screenRoom = RoomFor(kind, 1);
    const int32_t screenSize = std::max(
        WidestSize(fonts, result.shown, TallestSize(fonts, screenRoom.height), screenRoom.width),
        1);

    // Drawn at a factor the font's sizes reach, enlarged after. Hinting
    // rounds every glyph's advance, so sizes do not scale exactly: the
    // width follows the screen's instead.
    const int32_t drawn = std::min(factor, kLetteringDrawnFactorMax);
    const int32_t width = kLetteringWidth * drawn;
    const int32_t height = kLetteringHeight * drawn;
    const LetteringRoom room = RoomFor(kind, drawn);
    result.pixelSize = screenSize;
    if (drawn > 1) {
        const int32_t screenWidth = fonts.Measure(result.shown, BoldAt(screenSize));
        result.pixelSize = std::max(WidestSize(fonts, result.shown, TallestSize(fonts, room.height),
                                               std::min(room.width, screenWidth * drawn)),
                                    1);
    }
    const TextStyle style = BoldAt(result.pixelSize);
    const TextLineMetrics metrics = fonts.LineMetrics(style);
    const int32_t lineTop = (height - metrics.height) / 2;

    std::vector<uint8_t> coverage(static_cast<size_t>(width) * height, 0);
    TextCanvas canvas;
    canvas.pixels = coverage.data();
    canvas.width = width;
    canvas.height = height;
    canvas.stride = width;
    canvas.bitsPerPixel = 8;
    const TextOrigin origin{(width - fonts.Measure(result.shown, style)) / 2,
                            lineTop + metrics.ascent};
    fonts.Draw(canvas, origin, result.shown, style);

    result.mask = DibCreate(width, height, 8);
    if (!result.mask) {
        return Failed(LETTERING_NO_MEMORY);
    }
    if (kind == DECOR_WORD) {
        StoreLevels(coverage, width, height, result.mask.get());
    } else {
        result.colour = DibCreate(width, height, 24);
        if (!result.colour) {
            return Failed(LETTERING_NO_MEMORY);
        }
        PaintColorfulWord(coverage, width, height, lineTop, metrics.height, result.colour.get());
        StoreLevels(GrowCoverage(coverage, width, height, room.outline), width, height,
                    result.mask.get());
    }
    if (factor > drawn) {
        const int32_t fullWidth = kLetteringWidth * factor;
        const int32_t fullHeight = kLetteringHeight * factor;
        result.mask = Enlarge(result.mask.get(), fullWidth, fullHeight);
        if (result.colour) {
            result.colour = Enlarge(result.colour.get(), fullWidth, fullHeight);
        }
        if (!result.mask || (kind == DECOR_COLORFUL_WORD && !result.colour)) {
            return Failed(LETTERING_NO_MEMORY);
        }
    }
    return result;
}

LetteringResult RenderLettering(std::string_view text, int16_t kind, int32_t factor) {
    if (factor <= 1) {
        return RenderLettering(ScreenFonts(), text, kind, factor);
    }
    const TextFonts fonts(ScreenFontPath(FONT_REGULAR), ScreenFontPath(FONT_BOLD));
    return RenderLettering(fonts, text, kind, factor);
}
