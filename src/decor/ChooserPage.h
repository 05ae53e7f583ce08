// The chooser's page drawings and the small clipped copies they share.
// Internal to decor/: AssetChooserPainter is their only caller.
#pragma once

#include <cstdint>
#include <string>

#include "decor/Scene.h"

// The items of the chooser's current page: item numbers first ..
// first + count - 1 (1-based), and which arrows it shows. count is 0 when
// the chooser's fields describe no item on this page.
struct ChooserPageItems {
    int32_t first = 0;
    int32_t count = 0;
    bool down = false;  // a later page exists
    bool up = false;    // an earlier page exists
};
ChooserPageItems PageItemsOf(const ChooserState& chooser);

// The page drawings. Each reads the chooser state, the selected theme and
// the built-in pictures from the scene and draws into the screen's rows.
void DrawFramePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen);
void DrawPatternPage(const Scene& scene, const std::string& assetFolder, uint8_t* screen);
void DrawPicturePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen);
void DrawWordPage(const Scene& scene, const std::string& assetFolder, bool colourful,
                  uint8_t* screen);

// Copies a 24-bit picture whole, its lowest-left pixel at x, y. Nothing for
// a missing picture.
void CopyPreview(const DibImage* picture, int32_t x, int32_t y, uint8_t* screen);

// Draws a grey shape whole: every level m gives (c x m + 127) / 255 of each
// channel c of colour, so 0 is black and 255 the colour itself.
void DrawShapePreview(const DibImage* shape, int32_t x, int32_t y, PixelColor colour,
                      uint8_t* screen);

// Writes the first 12 x 12 levels of an arrow as grey.
void DrawArrow(const DibImage* arrow, int32_t x, int32_t y, uint8_t* screen);

// The label of the k-th item of a page (1 .. 10): cell k of the 120 x 12
// digit strip, cell 0 for the tenth.
void DrawDigitLabel(const DibImage* digits, int32_t k, int32_t x, int32_t y, uint8_t* screen);

// Fills a rectangle with white.
void FillWhite(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* screen);
