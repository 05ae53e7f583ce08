#include <cstddef>

#include "decor/ComposeScreen.h"
#include "decor/LayerGeometry.h"

void BlendMaskColor(const FloatingObject& object, int16_t x, int16_t y, PixelColor color,
                    uint8_t* target) {
    const PhotoView mask = ViewMask(object.mask.get());
    if (target == nullptr || mask.pixels == nullptr) {
        return;
    }
    // The object's own size, never more than its mask holds.
    const LayerClip clip = ClipLayer(x, y, std::min<int32_t>(object.width, mask.width),
                                     std::min<int32_t>(object.height, mask.height));
    const int32_t maskStride = DibRowStride(mask.width, 8);
    const int32_t colour[3] = {ChannelByte(color.blue), ChannelByte(color.green),
                               ChannelByte(color.red)};
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels = mask.pixels +
                                static_cast<ptrdiff_t>(clip.firstRow + row) * maskStride +
                                clip.firstColumn;
        uint8_t* p =
            target + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3) {
            const int32_t m = levels[column];
            if (m <= 16) {
                continue;
            }
            for (int c = 0; c < 3; ++c) {
                p[c] = m >= 240
                           ? static_cast<uint8_t>(colour[c])
                           : static_cast<uint8_t>((p[c] * (255 - m) + colour[c] * m + 127) / 255);
            }
        }
    }
}
