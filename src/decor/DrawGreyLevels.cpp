#include <algorithm>
#include <cstddef>

#include "decor/LayerGeometry.h"

void DrawGreyLevels(const DibImage* grey, int32_t x, int32_t y, int32_t maxWidth, int32_t maxHeight,
                    uint8_t* screen) {
    const PhotoView view = ViewMask(grey);
    if (view.pixels == nullptr) {
        return;
    }
    const LayerClip clip =
        ClipLayer(x, y, std::min(view.width, maxWidth), std::min(view.height, maxHeight));
    const int32_t stride = DibRowStride(view.width, 8);
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels =
            view.pixels + static_cast<ptrdiff_t>(clip.firstRow + row) * stride + clip.firstColumn;
        uint8_t* p =
            screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3) {
            p[0] = p[1] = p[2] = levels[column];
        }
    }
}
