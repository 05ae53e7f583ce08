// Scene: everything the picture area is composed from. The editor's state
// record extends it; the composition, the colour picker, the floating object,
// the frame and the chooser work on these fields only.
//
// Coordinates are bitmap coordinates of the 176 x 180 picture area: x counts
// columns from the left, y rows from the BOTTOM (row 0 is the lowest on
// screen), as the bottom-up rows of a DibImage lie in memory.
#pragma once

#include <cstdint>
#include <string>

#include "image/DibImage.h"

// A colour as the pictures store it: blue, green, red, each 0 .. 255.
struct PixelColor {
    int16_t blue = 0;
    int16_t green = 0;
    int16_t red = 0;
};

// The six decoration categories; the number is used in folder names, tables
// and command ids.
enum DecorationKind : int16_t {
    DECOR_FRAME = 0,
    DECOR_PATTERN12 = 1,
    DECOR_PATTERN24 = 2,
    DECOR_PICTURE = 3,
    DECOR_WORD = 4,
    DECOR_COLORFUL_WORD = 5,
};
constexpr int kDecorationKinds = 6;
constexpr int kThemesPerKind = 10;

// The themes found in the asset folder, filled when the decoration menu is
// built.
struct ThemeTable {
    int16_t themeCount[kDecorationKinds] = {0, 0, 0, 0, 0, 0};  // -1: folder unreadable
    std::string themeName[kDecorationKinds * kThemesPerKind];
    int16_t itemCount[kDecorationKinds * kThemesPerKind] = {};
    int16_t selectedTheme[kDecorationKinds] = {-1, -1, -1, -1, -1, -1};
};

enum ObjectType : int16_t {
    OBJECT_NONE = 0,
    OBJECT_PATTERN = 1,        // grey shape drawn in CurrentColor, 12 x 12 or 24 x 24
    OBJECT_PICTURE = 3,        // colour image and grey mask, 60 x 60
    OBJECT_WORD = 5,           // grey shape drawn in CurrentColor, 176 x 50
    OBJECT_COLORFUL_WORD = 6,  // colour image and grey mask, 176 x 50
};

// Which item of the asset folder a placed decoration is: its category
// (DecorationKind), theme folder name and item number (1-based). kind -1:
// none known.
struct DecorationItem {
    int16_t kind = -1;
    std::string theme;
    int16_t number = 0;
};

// The decoration the user moves before it is burnt into the photo.
struct FloatingObject {
    bool present = false;
    int16_t type = -1;  // ObjectType; -1 until the first picture is loaded
    int16_t x = 0;      // lowest-left pixel
    int16_t y = 0;
    int16_t width = 0;
    int16_t height = 0;
    // A word the user typed (types 5 and 6 placed from the text field): the
    // line its pictures were drawn from (decor/Lettering.h). Empty for the
    // items of the asset folder.
    std::string text;
    DibBlock colour;  // 24-bit, types 3 and 6
    DibBlock mask;    // 8-bit mask form, every type
    // Where colour and mask came from.
    DecorationItem item;
};

// A frame lying over the whole picture area, blended through its mask.
struct FrameLayer {
    bool placed = false;
    DibBlock colour;  // 176 x 180, 24-bit
    DibBlock mask;    // 176 x 180, 8-bit mask form
    // Where colour and mask came from.
    DecorationItem item;
};

constexpr int32_t kColorFieldWidth = 176;
constexpr int32_t kColorFieldHeight = 50;

struct ColorPicker {
    bool open = false;
    DibBlock field;  // 176 x 50, 24-bit; absent when the spectrum could not be loaded
    int16_t cursorX = 0;  // 0 .. 175
    int16_t cursorY = 0;  // 0 .. 49, from the bottom of the field
    int16_t boxLeft = 0;
    int16_t boxTop = 0;
    int16_t boxRight = 0;
    int16_t boxBottom = 0;
};

enum ChooserKind : int16_t {
    CHOOSER_FRAME = 0,
    CHOOSER_PATTERN = 1,
    CHOOSER_PICTURE = 2,
    CHOOSER_WORD = 3,
    CHOOSER_COLORFUL_WORD = 4,
};
constexpr int kChooserKinds = 5;

struct ChooserState {
    bool open[kChooserKinds] = {false, false, false, false, false};
    int16_t itemCount = 0;
    int16_t page = 0;
    int16_t itemsPerPage = 0;
    int16_t pageCount = 0;
    int16_t patternSize = 0;  // 12 or 24 for patterns, 60 for pictures, 50 for words

    bool AnyOpen() const {
        return open[0] || open[1] || open[2] || open[3] || open[4];
    }
};

// The editor's mode: one at a time. The composition shows the mode copy in
// Rescale and Adjust, and raises the colour picker in Tones.
enum class EditMode { Normal, Rescale, Adjust, Effect, Tones };

struct Scene {
    // The canvas being edited: 176 x 180, 24-bit. Absent only before the
    // first picture is in.
    DibBlock displayPhoto;
    // The copy a mode works from (rescale: the photo resampled to the scaled
    // size; adjust: the adjusted picture; effect and colour tones: the photo
    // as it was when the mode began).
    DibBlock modeCopy;
    int32_t modeCopyStride = 0;

    EditMode mode = EditMode::Normal;

    int16_t photoX = 0;  // offset of the display photo on the picture area
    int16_t photoY = 0;
    int16_t scaledX = 0;  // placement of the mode copy in rescale and adjust modes
    int16_t scaledY = 0;
    int16_t scaledWidth = 0;
    int16_t scaledHeight = 0;

    // The picked colour: fills what the photo does not cover and colours
    // shapes and lettering.
    PixelColor currentColor;

    ColorPicker picker;
    FloatingObject object;
    FrameLayer frame;
    ChooserState chooser;
    ThemeTable themes;

    // The last composed screen, reused while a chooser stays open.
    DibBlock compositeCache;
    bool cacheValid = false;

    // Built-in pictures the composition draws, loaded once at start-up;
    // any of them may be absent, and is then not drawn.
    DibBlock banner;     // 176 x 16, 8-bit grey: "Please choose one :"
    DibBlock arrowUp;    // 12 x 12, 8-bit grey
    DibBlock arrowDown;  // 12 x 12, 8-bit grey
    DibBlock digits;     // 120 x 12, 24-bit: the digit labels 0 .. 9
};
