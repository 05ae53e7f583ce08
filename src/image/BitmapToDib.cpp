// Fits a decoded GIF picture to the caller's box. The scale is a whole
// percentage, truncated, so the covering side can end a few pixels short of
// the box; fitted pictures are centred vertically and left-aligned when
// wider than the box.
#include <algorithm>
#include <cstring>

#include "image/GifReader.h"
#include "image/Resample.h"

namespace {

// An 8-bit mask-form image holding the blue channel of a 24-bit one.
DibBlock BitmapBlueMask(const DibImage* colour) {
    const int32_t width = colour->header.biWidth;
    const int32_t height = colour->header.biHeight;
    DibBlock mask = DibCreate(width, height, 8);
    if (!mask) {
        return nullptr;
    }
    const size_t colourStride = static_cast<size_t>(DibRowStride(width, 24));
    const size_t maskStride = static_cast<size_t>(DibRowStride(width, 8));
    const uint8_t* from = DibPixels(colour);
    uint8_t* to = DibPixels(mask.get());
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            to[static_cast<size_t>(y) * maskStride + static_cast<size_t>(x)] =
                from[static_cast<size_t>(y) * colourStride + static_cast<size_t>(x) * 3];
        }
    }
    return mask;
}

}  // namespace

DibBlock BitmapToDib(const DibImage* bitmap, int16_t* scalePercent, bool asMask, int32_t* width,
                     int32_t* height, uint8_t* destination, bool fit) {
    if (bitmap == nullptr || bitmap->header.biBitCount != 24 ||
        !DibSizeValid(bitmap->header.biWidth, bitmap->header.biHeight)) {
        return nullptr;
    }
    const int32_t bmW = bitmap->header.biWidth;
    const int32_t bmH = bitmap->header.biHeight;
    const int32_t boxW = width != nullptr ? *width : 0;
    const int32_t boxH = height != nullptr ? *height : 0;
    const bool hasBox = boxW > 0 && boxH > 0;
    // Fitting writes a box-sized picture, so it needs a box; a destination
    // of unknown size is only ever written by fitting.
    if ((fit && !DibSizeValid(boxW, boxH)) || (destination != nullptr && !fit)) {
        return nullptr;
    }

    int64_t scale = scalePercent != nullptr ? *scalePercent : 100;
    bool scaling = false;
    if (hasBox && (bmW > boxW || bmH > boxH)) {
        // The larger percentage makes the picture cover the box.
        const int64_t ws = int64_t{boxW} * 100 / bmW;
        const int64_t hs = int64_t{boxH} * 100 / bmH;
        scale = std::max(ws, hs);
        if (scalePercent != nullptr) {
            *scalePercent = static_cast<int16_t>(std::min<int64_t>(scale, INT16_MAX));
        }
        // At exactly 100 the picture keeps its size but must still be cut
        // to the box.
        scaling = scale == 100;
    }
    int32_t newW = bmW;
    int32_t newH = bmH;
    if (scale < 100) {
        // A side that would round to nothing keeps one pixel.
        newW = static_cast<int32_t>(std::max<int64_t>(1, (scale * bmW + 50) / 100));
        newH = static_cast<int32_t>(std::max<int64_t>(1, (scale * bmH + 50) / 100));
        scaling = true;
    }

    const int32_t imageW = fit ? boxW : newW;
    const int32_t imageH = fit ? boxH : newH;
    DibBlock image;
    uint8_t* target = destination;
    if (target == nullptr) {
        image = DibCreate(imageW, imageH, 24);
        if (!image) {
            return nullptr;
        }
        target = DibPixels(image.get());
    }

    const uint8_t* source = DibPixels(bitmap);
    if (!scaling && !fit) {
        std::memcpy(target, source,
                    static_cast<size_t>(DibRowStride(bmW, 24)) * static_cast<size_t>(bmH));
    } else {
        const int32_t xOffset = fit ? std::max(0, (boxW - newW) / 2) : 0;
        const int32_t yOffset = fit ? std::max(0, (boxH - newH) / 2) : 0;
        if (!ResampleImage(source, target, bmW, bmH, newW, newH, DibRowStride(imageW, 24), imageH,
                           xOffset, yOffset, fit, false)) {
            return nullptr;
        }
    }

    if (!hasBox && width != nullptr) {
        *width = newW;
    }
    if (!hasBox && height != nullptr) {
        *height = newH;
    }
    if (destination != nullptr) {
        return nullptr;  // the pixels went into the destination
    }
    return asMask ? BitmapBlueMask(image.get()) : std::move(image);
}
