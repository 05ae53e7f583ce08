// CanvasView: the pixel rows of a picture of any size, as the routines that
// work at a multiple of the 176 x 180 canvas take them: where the rows start,
// the size and the bytes per row. Rows lie bottom-up as in a DibImage.
//
// A view owns nothing; it is valid while the picture it looks at lives. A
// view with null pixels or a size out of 1 .. kMaxPictureSide covers nothing,
// and every routine that takes one writes nothing through it.
#pragma once

#include <cstdint>

#include "image/DibImage.h"

struct CanvasView {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;  // bytes per row, at least width x bytes per pixel

    bool Valid() const { return pixels != nullptr && DibSizeValid(width, height) && stride > 0; }
};

// The read-only counterpart, made from a CanvasView where a routine only
// reads.
struct CanvasReadView {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t stride = 0;

    CanvasReadView() = default;
    CanvasReadView(const uint8_t* p, int32_t w, int32_t h, int32_t s)
        : pixels(p), width(w), height(h), stride(s) {}
    CanvasReadView(const CanvasView& view)  // NOLINT: every writable view reads too
        : pixels(view.pixels), width(view.width), height(view.height), stride(view.stride) {}

    bool Valid() const { return pixels != nullptr && DibSizeValid(width, height) && stride > 0; }
};

// The rows of a 24-bit or 8-bit mask-form picture, or an empty view for a
// null picture or one of another depth or an invalid size.
inline CanvasView ViewOfPicture(DibImage* image) {
    CanvasView view;
    if (image == nullptr || (image->header.biBitCount != 24 && image->header.biBitCount != 8) ||
        !DibSizeValid(image->header.biWidth, image->header.biHeight)) {
        return view;
    }
    view.pixels = DibPixels(image);
    view.width = image->header.biWidth;
    view.height = image->header.biHeight;
    view.stride = DibRowStride(view.width, image->header.biBitCount);
    return view;
}

inline CanvasReadView ReadViewOfPicture(const DibImage* image) {
    if (image == nullptr || (image->header.biBitCount != 24 && image->header.biBitCount != 8) ||
        !DibSizeValid(image->header.biWidth, image->header.biHeight)) {
        return CanvasReadView();
    }
    return {DibPixels(image), image->header.biWidth, image->header.biHeight,
            DibRowStride(image->header.biWidth, image->header.biBitCount)};
}

// The 176 x 180 canvas at pixels.
inline CanvasView ScreenCanvasView(uint8_t* pixels) {
    return {pixels, kCanvasWidth, kCanvasHeight, kCanvasStride};
}
