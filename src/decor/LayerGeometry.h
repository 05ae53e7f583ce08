// Small helpers shared by the composition routines: which part of a layer
// falls on the 176 x 180 picture area, and a checked view of a 24-bit photo.
// Internal to decor/; everything is computed in 32 bits from 16-bit inputs,
// so no position or size can overflow.
#pragma once

#include <algorithm>
#include <cstdint>

#include "image/DibImage.h"

// The visible part of a width x height layer whose lowest-left pixel lies at
// x, y: layer rows firstRow .. firstRow + rows - 1 and columns firstColumn ..
// firstColumn + columns - 1 land on screen row y + firstRow and column
// x + firstColumn onwards. rows or columns is 0 when nothing is visible.
struct LayerClip {
    int32_t firstRow = 0;
    int32_t rows = 0;
    int32_t firstColumn = 0;
    int32_t columns = 0;
};

// The same on a canvas of canvasWidth x canvasHeight.
inline LayerClip ClipLayerIn(int32_t x, int32_t y, int32_t width, int32_t height,
                             int32_t canvasWidth, int32_t canvasHeight) {
    LayerClip clip;
    if (x >= canvasWidth || y >= canvasHeight || width <= 0 || height <= 0) {
        return clip;
    }
    clip.firstRow = std::max(0, -y);
    clip.firstColumn = std::max(0, -x);
    clip.rows = std::max(0, std::min(height, canvasHeight - y) - clip.firstRow);
    clip.columns = std::max(0, std::min(width, canvasWidth - x) - clip.firstColumn);
    if (clip.rows == 0 || clip.columns == 0) {
        clip.rows = 0;
        clip.columns = 0;
    }
    return clip;
}

inline LayerClip ClipLayer(int32_t x, int32_t y, int32_t width, int32_t height) {
    return ClipLayerIn(x, y, width, height, kCanvasWidth, kCanvasHeight);
}

// The pixels and size of a 24-bit picture, or null pixels (covering nothing)
// when the picture is absent or not a 24-bit image of a valid size. The row
// stride is DibRowStride(width, 24).
struct PhotoView {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
};

// The pixels and size of a picture of the given depth, or an empty view.
inline PhotoView ViewImageOfDepth(const DibImage* image, uint16_t bitsPerPixel) {
    PhotoView view;
    if (image != nullptr && image->header.biBitCount == bitsPerPixel &&
        DibSizeValid(image->header.biWidth, image->header.biHeight)) {
        view.pixels = DibPixels(image);
        view.width = image->header.biWidth;
        view.height = image->header.biHeight;
    }
    return view;
}

inline PhotoView ViewPhoto(const DibImage* image) {
    return ViewImageOfDepth(image, 24);
}

// An 8-bit mask-form picture's levels and size, or null levels when absent or
// of another depth.
inline PhotoView ViewMask(const DibImage* image) {
    return ViewImageOfDepth(image, 8);
}

// A colour channel held in a 16-bit field, brought into 0 .. 255.
inline uint8_t ChannelByte(int16_t channel) {
    return static_cast<uint8_t>(std::clamp<int16_t>(channel, 0, 255));
}

// Writes an 8-bit grey picture's levels in a tint, opaque, its lowest-left
// pixel at x, y: level m gives (c x m + 127) / 255 of each channel c of the
// tint (blue, green, red), so 0 is black and 255 the tint itself. At most
// maxWidth x maxHeight of it from its lowest-left corner, clipped to the
// 176 x 180 screen rows. Nothing for a missing picture or one of another
// depth. The chooser's shape previews are drawn this way.
void DrawTintedLevels(const DibImage* grey, int32_t x, int32_t y, int32_t maxWidth,
                      int32_t maxHeight, const uint8_t (&tint)[3], uint8_t* screen);

// The levels as grey (a white tint, which gives each level exactly): the
// chooser's arrows and the banner are drawn this way.
inline void DrawGreyLevels(const DibImage* grey, int32_t x, int32_t y, int32_t maxWidth,
                           int32_t maxHeight, uint8_t* screen) {
    const uint8_t white[3] = {255, 255, 255};
    DrawTintedLevels(grey, x, y, maxWidth, maxHeight, white, screen);
}
