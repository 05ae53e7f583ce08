// The screen font through FreeType: faces, a glyph cache, UTF-8 decoding,
// measuring, fitting, wrapping and drawing.
#include "text/TextFonts.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <cstring>
#include <mutex>
#include <unordered_map>

namespace {

constexpr char32_t kReplacement = 0xFFFD;
// Glyphs kept before the cache starts afresh: a screen's texts in a few
// sizes need a few hundred.
constexpr size_t kMaxCachedGlyphs = 4096;

// The code point starting at text[*at], and *at moved past it. A byte that
// does not start a complete, shortest sequence of a valid code point is
// U+FFFD and only that byte is taken.
char32_t NextCodePoint(std::string_view text, size_t* at) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t first = byte(*at);
    if (first < 0x80) {
        ++*at;
        return first;
    }
    int length = 0;
    char32_t value = 0;
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        value = first & 0x1F;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        value = first & 0x0F;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        value = first & 0x07;
    } else {
        ++*at;
        return kReplacement;
    }
    if (*at + static_cast<size_t>(length) > text.size()) {
        ++*at;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const uint8_t next = byte(*at + static_cast<size_t>(i));
        if ((next & 0xC0) != 0x80) {
            ++*at;
            return kReplacement;
        }
        value = (value << 6) | (next & 0x3F);
    }
    const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
    if (overlong || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        ++*at;
        return kReplacement;
    }
    *at += static_cast<size_t>(length);
    return value;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// One rendered glyph: its coverage rows, where they lie from the pen, and
// how far the pen moves (26.6 fixed point).
struct Glyph {
    FT_UInt index = 0;
    long advance = 0;
    int32_t left = 0;  // from the pen to the first column
    int32_t top = 0;   // from the baseline up to the first row
    int32_t width = 0;
    int32_t rows = 0;
    std::vector<uint8_t> coverage;  // width x rows, top row first
};

uint64_t GlyphKey(FontWeight weight, int32_t pixelSize, char32_t codePoint) {
    return (static_cast<uint64_t>(weight) << 56) | (static_cast<uint64_t>(pixelSize) << 32) |
           codePoint;
}

bool SizeUsable(int32_t pixelSize) {
    return pixelSize >= 1 && pixelSize <= kMaxTextPixelSize;
}

// Blends one glyph's coverage into the canvas within clip.
void BlendGlyph(const TextCanvas& canvas, const TextRect& clip, const Glyph& glyph, int32_t x0,
                int32_t y0, const TextColor& color) {
    const int32_t bytes = canvas.bitsPerPixel / 8;
    const int32_t firstRow = std::max(0, clip.top - y0);
    const int32_t lastRow = std::min(glyph.rows, clip.bottom - y0);
    const int32_t firstColumn = std::max(0, clip.left - x0);
    const int32_t lastColumn = std::min(glyph.width, clip.right - x0);
    const uint8_t target[3] = {color.blue, color.green, color.red};
    for (int32_t row = firstRow; row < lastRow; ++row) {
        const int32_t y = y0 + row;
        const int32_t memoryRow = canvas.bottomUp ? canvas.height - 1 - y : y;
        uint8_t* line = canvas.pixels + static_cast<ptrdiff_t>(memoryRow) * canvas.stride;
        const uint8_t* source = glyph.coverage.data() + static_cast<size_t>(row) * glyph.width;
        for (int32_t column = firstColumn; column < lastColumn; ++column) {
            const int a = source[column];
            if (a == 0) {
                continue;
            }
            uint8_t* pixel = line + static_cast<ptrdiff_t>(x0 + column) * bytes;
            if (bytes == 1) {
                pixel[0] = static_cast<uint8_t>(a + (pixel[0] * (255 - a) + 127) / 255);
                continue;
            }
            for (int channel = 0; channel < 3; ++channel) {
                pixel[channel] = static_cast<uint8_t>(
                    (pixel[channel] * (255 - a) + target[channel] * a + 127) / 255);
            }
        }
    }
}

}  // namespace

struct TextFonts::Impl {
    FT_Library library = nullptr;
    FT_Face faces[2] = {nullptr, nullptr};
    int32_t faceSize[2] = {0, 0};
    std::unordered_map<uint64_t, Glyph> glyphs;
    std::mutex mutex;

    FT_Face Face(FontWeight weight, int32_t pixelSize) {
        const int which = weight == FONT_BOLD ? 1 : 0;
        FT_Face face = faces[which];
        if (face == nullptr || !SizeUsable(pixelSize)) {
            return nullptr;
        }
        if (faceSize[which] != pixelSize) {
            if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
                return nullptr;
            }
            faceSize[which] = pixelSize;
        }
        return face;
    }

    // The glyph of the code point, rendered and cached; null when the face
    // is absent or the glyph cannot be rendered.
    const Glyph* Find(FontWeight weight, int32_t pixelSize, char32_t codePoint) {
        const uint64_t key = GlyphKey(weight, pixelSize, codePoint);
        const auto found = glyphs.find(key);
        if (found != glyphs.end()) {
            return &found->second;
        }
        FT_Face face = Face(weight, pixelSize);
        if (face == nullptr) {
            return nullptr;
        }
        Glyph glyph;
        glyph.index = FT_Get_Char_Index(face, codePoint);
        if (FT_Load_Glyph(face, glyph.index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
            return nullptr;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = slot->advance.x;
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256) {
            glyph.width = static_cast<int32_t>(bitmap.width);
            glyph.rows = static_cast<int32_t>(bitmap.rows);
            glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
            for (int32_t row = 0; row < glyph.rows; ++row) {
                const unsigned char* source =
                    bitmap.pitch >= 0
                        ? bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch
                        : bitmap.buffer +
                              static_cast<ptrdiff_t>(glyph.rows - 1 - row) * -bitmap.pitch;
                std::memcpy(glyph.coverage.data() + static_cast<size_t>(row) * glyph.width, source,
                            static_cast<size_t>(glyph.width));
            }
        }
        if (glyphs.size() >= kMaxCachedGlyphs) {
            glyphs.clear();
        }
        return &glyphs.emplace(key, std::move(glyph)).first->second;
    }

    long Kerning(FontWeight weight, int32_t pixelSize, FT_UInt left, FT_UInt right) {
        FT_Face face = Face(weight, pixelSize);
        if (face == nullptr || !FT_HAS_KERNING(face) || left == 0 || right == 0) {
            return 0;
        }
        FT_Vector delta{};
        if (FT_Get_Kerning(face, left, right, FT_KERNING_DEFAULT, &delta) != 0) {
            return 0;
        }
        return delta.x;
    }

    // Walks the line's glyphs, calling place(glyph, pen in 26.6) for each
    // one; returns the final pen in 26.6. Line breaks take no room.
    template <typename Place>
    long Walk(std::string_view text, const TextStyle& style, Place place) {
        long pen = 0;
        FT_UInt previous = 0;
        size_t at = 0;
        while (at < text.size()) {
            const char32_t codePoint = NextCodePoint(text, &at);
            if (codePoint == '\n' || codePoint == '\r') {
                previous = 0;
                continue;
            }
            const Glyph* glyph = Find(style.weight, style.pixelSize, codePoint);
            if (glyph == nullptr) {
                previous = 0;
                continue;
            }
            pen += Kerning(style.weight, style.pixelSize, previous, glyph->index);
            place(*glyph, pen);
            pen += glyph->advance;
            previous = glyph->index;
        }
        return pen;
    }

    int32_t Measure(std::string_view text, const TextStyle& style) {
        const long pen = Walk(text, style, [](const Glyph&, long) {});
        return static_cast<int32_t>((pen + 32) >> 6);
    }
};

TextFonts::TextFonts(const std::string& regularPath, const std::string& boldPath)
    : impl_(std::make_unique<Impl>()) {
    if (FT_Init_FreeType(&impl_->library) != 0) {
        impl_->library = nullptr;
        return;
    }
    const std::string* paths[2] = {&regularPath, &boldPath};
    for (int i = 0; i < 2; ++i) {
        FT_Face face = nullptr;
        if (!paths[i]->empty() && FT_New_Face(impl_->library, paths[i]->c_str(), 0, &face) == 0) {
            if (FT_IS_SCALABLE(face)) {
                impl_->faces[i] = face;
            } else {
                FT_Done_Face(face);
            }
        }
    }
}

TextFonts::~TextFonts() {
    for (FT_Face face : impl_->faces) {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
    if (impl_->library != nullptr) {
        FT_Done_FreeType(impl_->library);
    }
}

bool TextFonts::HasFace(FontWeight weight) const {
    return impl_->faces[weight == FONT_BOLD ? 1 : 0] != nullptr;
}

TextLineMetrics TextFonts::LineMetrics(const TextStyle& style) const {
    const std::lock_guard<std::mutex> lock(impl_->mutex);
    TextLineMetrics metrics;
    FT_Face face = impl_->Face(style.weight, style.pixelSize);
    if (face == nullptr) {
        return metrics;
    }
    const FT_Size_Metrics& size = face->size->metrics;
    metrics.ascent = static_cast<int32_t>((size.ascender + 63) >> 6);
    metrics.descent = static_cast<int32_t>((-size.descender + 63) >> 6);
    metrics.height = metrics.ascent + metrics.descent;
    return metrics;
}

int32_t TextFonts::Measure(std::string_view text, const TextStyle& style) const {
    const std::lock_guard<std::mutex> lock(impl_->mutex);
    return impl_->Measure(text, style);
}

std::string TextFonts::Fit(std::string_view text, const TextStyle& style, int32_t width) const {
    const std::lock_guard<std::mutex> lock(impl_->mutex);
    if (impl_->Measure(text, style) <= width) {
        return std::string(text);
    }
    if (impl_->Measure(kEllipsis, style) > width) {
        return std::string();
    }
    // The code point boundaries, so that a cut never splits a character.
    std::vector<size_t> ends;
    for (size_t at = 0; at < text.size();) {
        NextCodePoint(text, &at);
        ends.push_back(at);
    }
    // The longest beginning that fits with the ellipsis: the widths grow
    // with the length, so halve the way there.
    size_t low = 0;  // this many code points fit (0 always does)
    size_t high = ends.size();
    while (low < high) {
        const size_t middle = (low + high + 1) / 2;
        std::string candidate(text.substr(0, ends[middle - 1]));
        candidate.append(kEllipsis);
        if (impl_->Measure(candidate, style) <= width) {
            low = middle;
        } else {
            high = middle - 1;
        }
    }
    std::string_view kept = text.substr(0, low == 0 ? 0 : ends[low - 1]);
    while (!kept.empty() && IsBlank(kept.back())) {
        kept.remove_suffix(1);
    }
    std::string fitted(kept);
    fitted.append(kEllipsis);
    return fitted;
}

std::vector<std::string> TextFonts::Wrap(std::string_view text, const TextStyle& style,
                                         int32_t width) const {
    const std::lock_guard<std::mutex> lock(impl_->mutex);
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        std::string_view paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') {
            paragraph.remove_suffix(1);
        }
        // Words are added to the line while it fits; a word too wide for a
        // line of its own is cut between characters.
        std::string line;
        size_t at = 0;
        bool anyLine = false;
        const auto flush = [&] {
            lines.emplace_back(TrimBlanks(line));
            line.clear();
            anyLine = true;
        };
        while (at < paragraph.size()) {
            size_t wordEnd = at;
            while (wordEnd < paragraph.size() && IsBlank(paragraph[wordEnd])) {
                ++wordEnd;
            }
            while (wordEnd < paragraph.size() && !IsBlank(paragraph[wordEnd])) {
                ++wordEnd;
            }
            const std::string_view piece = paragraph.substr(at, wordEnd - at);
            std::string joined = line + std::string(piece);
            if (impl_->Measure(TrimBlanks(joined), style) <= width) {
                line = std::move(joined);
                at = wordEnd;
                continue;
            }
            if (!TrimBlanks(line).empty()) {
                flush();
                // The blanks before the word stay at the break.
                while (at < paragraph.size() && IsBlank(paragraph[at])) {
                    ++at;
                }
                continue;
            }
            // The word alone is too wide: as many characters as fit, at
            // least one.
            std::string_view word = TrimBlanks(piece);
            size_t taken = 0;
            std::string part;
            while (taken < word.size()) {
                size_t next = taken;
                NextCodePoint(word, &next);
                std::string longer = part + std::string(word.substr(taken, next - taken));
                if (!part.empty() && impl_->Measure(longer, style) > width) {
                    break;
                }
                part = std::move(longer);
                taken = next;
            }
            line = part;
            flush();
            at = static_cast<size_t>(word.data() - paragraph.data()) + taken;
        }
        if (!TrimBlanks(line).empty() || !anyLine) {
            flush();
        }
        start = end + 1;
    }
    return lines;
}

int32_t TextFonts::Draw(const TextCanvas& canvas, TextOrigin origin, std::string_view text,
                        const TextStyle& style) const {
    const std::lock_guard<std::mutex> lock(impl_->mutex);
    const bool drawable = canvas.pixels != nullptr && canvas.width > 0 && canvas.height > 0 &&
                          (canvas.bitsPerPixel == 24 || canvas.bitsPerPixel == 8) &&
                          canvas.stride >= canvas.width * (canvas.bitsPerPixel / 8);
    TextRect clip = canvas.clip;
    if (clip.right <= clip.left || clip.bottom <= clip.top) {
        clip = TextRect{0, 0, canvas.width, canvas.height};
    }
    clip.left = std::max(clip.left, 0);
    clip.top = std::max(clip.top, 0);
    clip.right = std::min(clip.right, canvas.width);
    clip.bottom = std::min(clip.bottom, canvas.height);
    const long pen = impl_->Walk(text, style, [&](const Glyph& glyph, long at) {
        if (!drawable || glyph.coverage.empty()) {
            return;
        }
        const int32_t x = origin.x + static_cast<int32_t>((at + 32) >> 6) + glyph.left;
        const int32_t y = origin.baseline - glyph.top;
        BlendGlyph(canvas, clip, glyph, x, y, style.color);
    });
    return static_cast<int32_t>((pen + 32) >> 6);
}

std::string ScreenFontPath(FontWeight weight) {
    return weight == FONT_BOLD ? "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
                               : "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
}

const TextFonts& ScreenFonts() {
    static const TextFonts fonts(ScreenFontPath(FONT_REGULAR), ScreenFontPath(FONT_BOLD));
    return fonts;
}
