// Lettering: a line the user typed, drawn as a word decoration in the bold
// screen font (text/TextFonts.h) at the word box's size times a factor, so
// that the screen (factor 1) and a full-size render of the picture (factor
// k, a box of 176k x 50k) show the same word.
//
// Fitting: leading and trailing blanks are dropped; at factor 1 the line
// takes the largest pixel size at which its height fits the box less 3 rows
// above and below and its width the box less 6 columns at each side (the
// outline of a colourful word takes 2 more on every side), and is centred in
// the box. A line too wide even at kLetteringMinPixels is cut there with an
// ellipsis. Every factor draws that same line, at the largest size whose
// width is at most factor times the screen's, so a full-size render shows
// the word the screen showed, as wide or a pixel narrower. Margins and the
// outline scale with the factor.
//
// The two looks, the same forms the decoration items have:
//  - DECOR_WORD: an 8-bit mask-form shape (the glyphs' coverage), which the
//    screen draws in CurrentColor like the Word items; no colour image.
//  - DECOR_COLORFUL_WORD: a 24-bit image, a warm gradient (gold at the top
//    of the line, red at its foot) inside a dark outline grown around the
//    glyphs, and its 8-bit mask, the coverage of fill and outline together.
//
// Contract: nothing throws. The same text, kind and factor give the same
// bytes. Factors above kLetteringDrawnFactorMax are drawn at that factor and
// enlarged smoothly, as the font's sizes end at kMaxTextPixelSize. On any
// failure the result holds no picture and says why.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "decor/Scene.h"
#include "image/DibImage.h"
#include "text/TextFonts.h"

// The word box at factor 1: a typed word is as large as a word item.
constexpr int32_t kLetteringWidth = 176;
constexpr int32_t kLetteringHeight = 50;
// Below this size (at factor 1) the line is cut instead of shrunk further.
constexpr int32_t kLetteringMinPixels = 11;
constexpr int32_t kLetteringDrawnFactorMax = 12;
// The largest factor: the box's width stays within kMaxPictureSide.
constexpr int32_t kLetteringMaxFactor = kMaxPictureSide / kLetteringWidth;

enum LetteringError : int16_t {
    LETTERING_OK = 0,
    LETTERING_BAD_KIND,    // neither DECOR_WORD nor DECOR_COLORFUL_WORD
    LETTERING_BAD_FACTOR,  // outside 1 .. kLetteringMaxFactor
    LETTERING_EMPTY,       // nothing but blanks
    LETTERING_NO_FONT,     // the bold face is missing
    LETTERING_NO_MEMORY,
};

struct LetteringResult {
    DibBlock colour;        // 24-bit, 176k x 50k: DECOR_COLORFUL_WORD only
    DibBlock mask;          // 8-bit mask form, 176k x 50k
    std::string shown;      // the line as drawn: trimmed, maybe cut with an ellipsis
    int32_t pixelSize = 0;  // the font size it was drawn at (before any enlarging)
    LetteringError error = LETTERING_OK;

    bool Ok() const { return error == LETTERING_OK; }
};

// Draws text for kind (DECOR_WORD or DECOR_COLORFUL_WORD) at factor with
// fonts' bold face.
LetteringResult RenderLettering(const TextFonts& fonts, std::string_view text, int16_t kind,
                                int32_t factor);

// The same with the screen font: ScreenFonts() at factor 1; above it a
// private copy of the font, released before returning, so that the glyphs
// of a large render are not kept for the rest of the run.
LetteringResult RenderLettering(std::string_view text, int16_t kind, int32_t factor);
