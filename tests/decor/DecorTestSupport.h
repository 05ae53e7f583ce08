// Small builders for the decoration tests; colours are packed as 0xRRGGBB
// like PixelAt.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "decor/Scene.h"
#include "image/DibImage.h"
#include "support/ImageTestSupport.h"
#include "support/TestSupport.h"

inline DibBlock MakeSolid(int32_t width, int32_t height, uint32_t rgb) {
    return MakePicture(width, height, [rgb](int32_t, int32_t) { return rgb; });
}

// A mask-form level map whose levels run along each row and repeat.
inline DibBlock MakeMask(int32_t width, int32_t height, std::initializer_list<uint8_t> levels) {
    DibBlock mask = DibCreate(width, height, 8);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            DibPixels(mask.get())[y * DibRowStride(width, 8) + x] =
                levels.begin()[x % levels.size()];
        }
    }
    return mask;
}

inline PixelColor ColorOf(uint32_t rgb) {
    return PixelColor{int16_t(rgb & 255), int16_t((rgb >> 8) & 255), int16_t(rgb >> 16)};
}

inline uint32_t RgbOf(PixelColor color) {
    return uint32_t(color.red) << 16 | uint32_t(color.green) << 8 | uint32_t(color.blue);
}

// A scene showing a pattern photo, with rgb as the current colour.
inline Scene MakeScene(uint32_t rgb) {
    Scene scene;
    scene.displayPhoto = MakePatternImage(kCanvasWidth, kCanvasHeight);
    scene.currentColor = ColorOf(rgb);
    return scene;
}

inline bool SameScreen(const DibImage* a, const DibImage* b) {
    return std::memcmp(DibPixels(a), DibPixels(b), kCanvasPixelBytes) == 0;
}
