#include "image/Resample.h"

DibBlock RescaleCanvas(const uint8_t* canvas, int32_t newWidth, int32_t newHeight) {
    if (canvas == nullptr) {
        return nullptr;
    }
    DibBlock image = DibCreate(newWidth, newHeight, 24);
    if (!image) {
        return nullptr;
    }
    // Smaller in both directions goes through the box filter; a lower but
    // not narrower picture keeps the middle rows and scales only across; a
    // picture at least as high interpolates.
    if (!ResampleImage(canvas, DibPixels(image.get()), kCanvasWidth, kCanvasHeight, newWidth,
                       newHeight, DibRowStride(newWidth, 24), newHeight, 0, 0, false, true)) {
        return nullptr;
    }
    return image;
}
