#include <cstddef>

#include "decor/ComposeScreen.h"
#include "decor/LayerGeometry.h"

void BlendMaskImage(const FloatingObject& object, int16_t x, int16_t y, uint8_t* target) {
    const PhotoView mask = ViewMask(object.mask.get());
    const PhotoView image = ViewPhoto(object.colour.get());
    if (target == nullptr || mask.pixels == nullptr || image.pixels == nullptr) {
        return;
    }
    // The object's own size, never more than its mask or its image holds;
    // each is walked with its own row stride.
    const int32_t width = std::min({static_cast<int32_t>(object.width), mask.width, image.width});
    const int32_t height =
        std::min({static_cast<int32_t>(object.height), mask.height, image.height});
    const LayerClip clip = ClipLayer(x, y, width, height);
    const int32_t maskStride = DibRowStride(mask.width, 8);
    const int32_t imageStride = DibRowStride(image.width, 24);
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels = mask.pixels +
                                static_cast<ptrdiff_t>(clip.firstRow + row) * maskStride +
                                clip.firstColumn;
        const uint8_t* s = image.pixels +
                           static_cast<ptrdiff_t>(clip.firstRow + row) * imageStride +
                           clip.firstColumn * 3;
        uint8_t* p =
            target + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3, s += 3) {
            const int32_t m = levels[column];
            if (m <= 23) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                p[c] = m >= 240 ? s[c]
                                : static_cast<uint8_t>(
                                      std::min(255, (p[c] * (255 - m) + s[c] * m + 127) / 255));
            }
        }
    }
}
