#include <algorithm>
#include <cstring>

#include "image/Resample.h"

void PlacePhoto(const uint8_t* photo, uint8_t* canvas, int32_t x, int32_t y, int32_t photoWidth,
                int32_t photoHeight, uint8_t fillBlue, uint8_t fillGreen, uint8_t fillRed) {
    if (canvas == nullptr) {
        return;
    }
    // Two canvas rows in the fill colour: one receives the photo's pixels
    // row after row (its other pixels stay fill), the other is pure fill.
    uint8_t placed[kCanvasStride];
    uint8_t plain[kCanvasStride];
    for (int32_t i = 0; i < kCanvasStride; i += 3) {
        plain[i] = fillBlue;
        plain[i + 1] = fillGreen;
        plain[i + 2] = fillRed;
    }
    std::memcpy(placed, plain, sizeof placed);

    // Which photo rows and columns land where, in 64 bits so that no
    // offset can overflow. A photo of no valid size covers nothing.
    int64_t firstCanvasRow = 0;
    int64_t firstPhotoRow = 0;
    int64_t rowCount = 0;
    int64_t firstCanvasColumn = 0;
    int64_t firstPhotoColumn = 0;
    int64_t columnCount = 0;
    if (photo != nullptr && DibSizeValid(photoWidth, photoHeight)) {
        if (y >= 0) {
            firstCanvasRow = std::min<int64_t>(y, kCanvasHeight);
            rowCount = std::min<int64_t>(photoHeight, kCanvasHeight - firstCanvasRow);
        } else {
            firstPhotoRow = -static_cast<int64_t>(y);
            rowCount = std::min<int64_t>(photoHeight + static_cast<int64_t>(y), kCanvasHeight);
        }
        if (x >= 0) {
            firstCanvasColumn = std::min<int64_t>(x, kCanvasWidth);
            columnCount = std::min<int64_t>(photoWidth, kCanvasWidth - firstCanvasColumn);
        } else {
            firstPhotoColumn = -static_cast<int64_t>(x);
            columnCount = std::min<int64_t>(photoWidth + static_cast<int64_t>(x), kCanvasWidth);
        }
        rowCount = std::max<int64_t>(rowCount, 0);
        columnCount = std::max<int64_t>(columnCount, 0);
    }

    int64_t canvasRow = 0;
    for (; canvasRow < firstCanvasRow; ++canvasRow) {
        std::memcpy(canvas + canvasRow * kCanvasStride, plain, kCanvasStride);
    }
    if (rowCount > 0 && columnCount > 0) {
        const int64_t photoStride = DibRowStride(photoWidth, 24);
        const uint8_t* source = photo + firstPhotoRow * photoStride + firstPhotoColumn * 3;
        for (int64_t i = 0; i < rowCount; ++i, ++canvasRow, source += photoStride) {
            std::memcpy(placed + firstCanvasColumn * 3, source,
                        static_cast<size_t>(columnCount) * 3);
            std::memcpy(canvas + canvasRow * kCanvasStride, placed, kCanvasStride);
        }
    }
    for (; canvasRow < kCanvasHeight; ++canvasRow) {
        std::memcpy(canvas + canvasRow * kCanvasStride, plain, kCanvasStride);
    }
}
