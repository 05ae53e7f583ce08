#include <cstddef>

#include "decor/ComposeScreen.h"
#include "decor/LayerGeometry.h"
#include "image/Resample.h"

void ComposeFrame(const Scene& scene, uint8_t* target) {
    if (target == nullptr) {
        return;
    }
    // The photo under the frame: the mode copy wherever a mode shows it,
    // else the display photo at its offset. The size comes from the image
    // itself, so a stale size field can never make a row read run past it.
    const bool modeShown = scene.mode == EditMode::Rescale || scene.mode == EditMode::Adjust;
    const PhotoView photo = ViewPhoto(modeShown ? scene.modeCopy.get() : scene.displayPhoto.get());
    const int32_t offsetX = modeShown ? scene.scaledX : scene.photoX;
    const int32_t offsetY = modeShown ? scene.scaledY : scene.photoY;

    const PhotoView frame = ViewPhoto(scene.frame.colour.get());
    const PhotoView mask = ViewMask(scene.frame.mask.get());
    if (frame.pixels == nullptr || mask.pixels == nullptr || frame.width != kCanvasWidth ||
        frame.height != kCanvasHeight || mask.width != kCanvasWidth ||
        mask.height != kCanvasHeight) {
        // No usable frame: the photo alone, as the screen shows it without
        // one.
        const PixelColor& fill = scene.currentColor;
        PlacePhoto(photo.pixels, target, offsetX, offsetY, photo.width, photo.height,
                   ChannelByte(fill.blue), ChannelByte(fill.green), ChannelByte(fill.red));
        return;
    }

    const LayerClip covered = ClipLayer(offsetX, offsetY, photo.width, photo.height);
    const int32_t photoStride = DibRowStride(photo.width, 24);
    const int32_t maskStride = DibRowStride(kCanvasWidth, 8);
    const int32_t coveredTop = offsetY + covered.firstRow + covered.rows;  // first row above
    const int32_t coveredLeft = offsetX + covered.firstColumn;
    const int32_t coveredRight = coveredLeft + covered.columns;
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        uint8_t* p = target + y * kCanvasStride;
        const uint8_t* f = frame.pixels + y * kCanvasStride;
        const uint8_t* levels = mask.pixels + y * maskStride;
        const bool rowCovered =
            covered.rows > 0 && y >= offsetY + covered.firstRow && y < coveredTop;
        const uint8_t* q = nullptr;
        if (rowCovered) {
            q = photo.pixels + static_cast<ptrdiff_t>(y - offsetY) * photoStride +
                static_cast<ptrdiff_t>(coveredLeft - offsetX) * 3;
        }
        for (int32_t x = 0; x < kCanvasWidth; ++x, p += 3, f += 3) {
            if (!rowCovered || x < coveredLeft || x >= coveredRight) {
                p[0] = f[0];
                p[1] = f[1];
                p[2] = f[2];
                continue;
            }
            const int32_t m = levels[x];
            for (int c = 0; c < 3; ++c) {
                if (m <= 24) {
                    p[c] = q[c];
                } else if (m >= 240) {
                    p[c] = f[c];
                } else {
                    p[c] = static_cast<uint8_t>((f[c] * m + q[c] * (255 - m) + 127) / 255);
                }
            }
            q += 3;
        }
    }
}
