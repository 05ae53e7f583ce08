#include <algorithm>
#include <cstring>

#include "image/Resample.h"

namespace {

// Writes the fill colour into pixels [from, to) of a row.
void FillPixels(uint8_t* row, int64_t from, int64_t to, const PhotoPlacement& placement) {
    for (uint8_t* p = row + from * 3; p < row + to * 3; p += 3) {
        p[0] = placement.fillBlue;
        p[1] = placement.fillGreen;
        p[2] = placement.fillRed;
    }
}

}  // namespace

void PlacePhotoOnCanvas(const CanvasView& canvas, const PhotoPlacement& placement) {
    if (!canvas.Valid()) {
        return;
    }
    const int64_t width = canvas.width;
    const int64_t height = canvas.height;
    const int64_t x = placement.x;
    const int64_t y = placement.y;
    const CanvasReadView& photo = placement.photo;

    // Which photo rows and columns land where, in 64 bits so that no
    // offset can overflow. A photo of no valid size covers nothing.
    int64_t firstCanvasRow = 0;
    int64_t firstPhotoRow = 0;
    int64_t rowCount = 0;
    int64_t firstCanvasColumn = 0;
    int64_t firstPhotoColumn = 0;
    int64_t columnCount = 0;
    if (photo.Valid()) {
        if (y >= 0) {
            firstCanvasRow = std::min<int64_t>(y, height);
            rowCount = std::min<int64_t>(photo.height, height - firstCanvasRow);
        } else {
            firstPhotoRow = -y;
            rowCount = std::min<int64_t>(photo.height + y, height);
        }
        if (x >= 0) {
            firstCanvasColumn = std::min<int64_t>(x, width);
            columnCount = std::min<int64_t>(photo.width, width - firstCanvasColumn);
        } else {
            firstPhotoColumn = -x;
            columnCount = std::min<int64_t>(photo.width + x, width);
        }
        rowCount = std::max<int64_t>(rowCount, 0);
        columnCount = std::max<int64_t>(columnCount, 0);
    }
    if (columnCount == 0) {
        rowCount = 0;
    }

    for (int64_t canvasRow = 0; canvasRow < height; ++canvasRow) {
        uint8_t* row = canvas.pixels + canvasRow * canvas.stride;
        const int64_t photoRow = canvasRow - firstCanvasRow;
        if (photoRow < 0 || photoRow >= rowCount) {
            FillPixels(row, 0, width, placement);
            continue;
        }
        const uint8_t* source =
            photo.pixels + (firstPhotoRow + photoRow) * photo.stride + firstPhotoColumn * 3;
        FillPixels(row, 0, firstCanvasColumn, placement);
        std::memcpy(row + firstCanvasColumn * 3, source, static_cast<size_t>(columnCount) * 3);
        FillPixels(row, firstCanvasColumn + columnCount, width, placement);
    }
}
