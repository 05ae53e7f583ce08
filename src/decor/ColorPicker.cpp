#include "decor/ColorPicker.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "decor/LayerGeometry.h"

namespace {

// The field is made of shades of its hue spectrum: darker below the two pure
// rows, lighter above them.
constexpr int32_t kDarkRows = 23;  // rows 1 .. 23
constexpr int32_t kPureRow = 24;   // rows 24 and 25 keep the spectrum
constexpr int32_t kLightRow = 26;  // rows 26 .. 48
constexpr int32_t kWhiteRow = 49;
// The percentage of the spectrum (or of white) grows by 100 / 24 per row. It
// is accumulated in single precision and truncated, which gives the steps of
// 4 or 5 the field has always had (0, 4, 8, 12, 16, 20, 24, 29, ...).
constexpr float kPercentPerRow = 4.1666665f;

constexpr int16_t kCursorStartX = 88;
constexpr int16_t kCursorStartY = 25;
constexpr int16_t kBoxHalf = 5;

bool FieldValid(const DibImage* field) {
    const PhotoView view = ViewPhoto(field);
    return view.pixels != nullptr && view.width == kColorFieldWidth &&
           view.height == kColorFieldHeight;
}

// Sets the box around the cursor. The box is drawn over the field at the
// picker's bottom row, so its top is bounded by the picture area's height.
void PlaceBox(ColorPicker* picker) {
    picker->boxLeft = static_cast<int16_t>(std::max(picker->cursorX - kBoxHalf, 0));
    picker->boxTop = static_cast<int16_t>(std::max(picker->cursorY - kBoxHalf, 0));
    picker->boxRight =
        static_cast<int16_t>(std::min<int32_t>(picker->cursorX + kBoxHalf, kColorFieldWidth - 1));
    picker->boxBottom =
        static_cast<int16_t>(std::min<int32_t>(picker->cursorY + kBoxHalf, kCanvasHeight - 1));
}

}  // namespace

DibBlock BuildColorField(const DibImage* spectrum) {
    const PhotoView source = ViewPhoto(spectrum);
    if (source.pixels == nullptr || source.width != kColorFieldWidth ||
        source.height != kColorFieldHeight) {
        return nullptr;
    }
    DibBlock field = DibCreate(kColorFieldWidth, kColorFieldHeight, 24);
    if (!field) {
        return nullptr;
    }
    // Each row is made from the same row of the spectrum. Row 0 stays black.
    uint8_t* pixels = DibPixels(field.get());
    const int32_t rowBytes = kColorFieldWidth * 3;
    float accumulator = 0.0f;
    for (int32_t row = 1; row <= kDarkRows; ++row) {
        const int32_t t = static_cast<int32_t>(accumulator);
        accumulator += kPercentPerRow;
        const uint8_t* s = source.pixels + row * kCanvasStride;
        uint8_t* d = pixels + row * kCanvasStride;
        for (int32_t i = 0; i < rowBytes; ++i) {
            d[i] = static_cast<uint8_t>((s[i] * t + 50) / 100);
        }
    }
    for (int32_t row = kPureRow; row < kLightRow; ++row) {
        std::memcpy(pixels + row * kCanvasStride, source.pixels + row * kCanvasStride, rowBytes);
    }
    accumulator = kPercentPerRow;
    for (int32_t row = kLightRow; row < kWhiteRow; ++row) {
        const int32_t t = static_cast<int32_t>(accumulator);
        accumulator += kPercentPerRow;
        const uint8_t* s = source.pixels + row * kCanvasStride;
        uint8_t* d = pixels + row * kCanvasStride;
        for (int32_t i = 0; i < rowBytes; ++i) {
            d[i] = static_cast<uint8_t>((s[i] * (100 - t) + 255 * t + 50) / 100);
        }
    }
    std::memset(pixels + kWhiteRow * kCanvasStride, 255, rowBytes);
    return field;
}

void ResetColorPicker(ColorPicker* picker, PixelColor* color) {
    if (picker == nullptr || !FieldValid(picker->field.get())) {
        return;
    }
    picker->cursorX = kCursorStartX;
    picker->cursorY = kCursorStartY;
    PlaceBox(picker);
    if (color != nullptr) {
        *color = ColorFieldPixel(picker->field.get(), picker->cursorX, picker->cursorY);
    }
}

bool MoveColorPicker(ColorPicker* picker, PixelColor* color, Direction direction, int16_t step,
                     bool repeat) {
    if (picker == nullptr || !FieldValid(picker->field.get())) {
        return false;
    }
    // Vertical moves speed up to 2 rows; horizontal ones to the held-key
    // step. Worked in 32 bits so that no step can overflow.
    const int32_t verticalStep = repeat ? 2 : 1;
    const int32_t horizontalStep = repeat ? std::max<int32_t>(step, 1) : 1;
    int32_t x = picker->cursorX;
    int32_t y = picker->cursorY;
    switch (direction) {
        case DIRECTION_DOWN:
            if (y >= 1) {
                y -= verticalStep;
            }
            break;
        case DIRECTION_UP:
            if (y < kColorFieldHeight - 1) {
                y += verticalStep;
            }
            break;
        case DIRECTION_LEFT:
            if (x >= 1) {
                x -= horizontalStep;
            }
            break;
        case DIRECTION_RIGHT:
            if (x < kColorFieldWidth - 1) {
                x += horizontalStep;
            }
            break;
        default:
            return false;
    }
    x = std::clamp<int32_t>(x, 0, kColorFieldWidth - 1);
    y = std::clamp<int32_t>(y, 0, kColorFieldHeight - 1);
    if (x == picker->cursorX && y == picker->cursorY) {
        return false;
    }
    picker->cursorX = static_cast<int16_t>(x);
    picker->cursorY = static_cast<int16_t>(y);
    PlaceBox(picker);
    if (color != nullptr) {
        *color = ColorFieldPixel(picker->field.get(), picker->cursorX, picker->cursorY);
    }
    return true;
}

PixelColor ColorFieldPixel(const DibImage* field, int16_t x, int16_t y) {
    PixelColor color;
    const PhotoView view = ViewPhoto(field);
    if (view.pixels == nullptr || x < 0 || y < 0 || x >= view.width || y >= view.height) {
        return color;
    }
    const uint8_t* p =
        view.pixels + static_cast<ptrdiff_t>(y) * DibRowStride(view.width, 24) + x * 3;
    color.blue = p[0];
    color.green = p[1];
    color.red = p[2];
    return color;
}
