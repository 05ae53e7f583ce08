#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "decor/ComposeScreen.h"
#include "decor/DecorTestSupport.h"
#include "support/TestSupport.h"

namespace {

constexpr uint32_t kGrey100 = 0x646464;
constexpr uint32_t kColour = 0xFFC800;  // red 255, green 200, blue 0

FloatingObject MakeObject(int16_t type, int32_t width, int32_t height,
                          std::initializer_list<uint8_t> levels) {
    FloatingObject object;
    object.present = true;
    object.type = type;
    object.width = int16_t(width);
    object.height = int16_t(height);
    object.mask = MakeMask(width, height, levels);
    object.colour = MakeSolid(width, height, kColour);
    return object;
}

// Runs draw on a screen of 0x111111 with guard bytes behind it and checks
// every pixel against expected (x, y), which returns 0x111111 for "not drawn".
void ExpectDrawn(const std::function<void(uint8_t*)>& draw,
                 const std::function<uint32_t(int32_t, int32_t)>& expected) {
    std::vector<uint8_t> screen(kCanvasPixelBytes + 16, 0x11);
    draw(screen.data());
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const uint8_t* p = screen.data() + y * kCanvasStride + x * 3;
            if ((uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]) != expected(x, y)) {
                FAIL() << "screen " << x << ", " << y;
            }
        }
    }
    for (size_t i = kCanvasPixelBytes; i < screen.size(); ++i) {
        ASSERT_EQ(screen[i], 0x11) << "written past the screen";
    }
}

}  // namespace

// Each routine has its own low threshold; levels between blend with rounding
// and truncation; 240 and above give the decoration.
TEST(Blend, ThresholdsAtTheirBoundaries) {
    DibBlock target = MakeSolid(kCanvasWidth, kCanvasHeight, kGrey100);
    uint8_t* screen = DibPixels(target.get());
    BlendMaskColor(MakeObject(OBJECT_PATTERN, 4, 1, {16, 17, 239, 240}), 0, 0, ColorOf(kColour),
                   screen);
    BlendMaskImage(MakeObject(OBJECT_PICTURE, 4, 1, {23, 24, 239, 240}), 0, 1, screen);
    const uint32_t shape[] = {kGrey100, 0x6E6B5D, 0xF5C206, kColour};
    const uint32_t picture[] = {kGrey100, 0x736D5B, 0xF5C206, kColour};
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(PixelAt(target.get(), x, 0), shape[x]) << x;
        EXPECT_EQ(PixelAt(target.get(), x, 1), picture[x]) << x;
    }

    Scene scene;
    scene.displayPhoto = MakeSolid(kCanvasWidth, kCanvasHeight, kGrey100);
    scene.frame.placed = true;
    scene.frame.colour = MakeSolid(kCanvasWidth, kCanvasHeight, kColour);
    scene.frame.mask = MakeMask(kCanvasWidth, kCanvasHeight, {24, 25, 239, 240});
    ComposeFrame(scene, screen);
    const uint32_t frame[] = {kGrey100, 0x736E5A, 0xF5C206, kColour};
    for (int32_t x = 0; x < 4; ++x) {
        EXPECT_EQ(PixelAt(target.get(), x + 4, 179), frame[x]) << x;
    }
}

// Objects of awkward widths (padded row strides) and a framed photo of any
// size, at positions on and around every edge up to the 16-bit extremes:
// exactly the visible part is drawn, each pixel from the right source pixel.
// This covers an object at y = -10 (its row 10 on screen row 0) and one of
// width 60 at x = 170 (6 columns).
TEST(Blend, EverythingIsClippedAtEveryEdge) {
    const int16_t positions[] = {-32768, -200, -60, -13, -10, -1, 0, 5, 170, 175, 176, 32767};
    for (const auto& size : {std::pair{13, 7}, {60, 60}, {176, 50}, {273, 279}}) {
        // Plain copies: lambdas may not capture structured bindings in C++17.
        const int32_t width = size.first;
        const int32_t height = size.second;
        DibBlock pattern = MakePatternImage(width, height);
        FloatingObject object = MakeObject(OBJECT_PICTURE, width, height, {255});
        object.colour = MakePatternImage(width, height);
        Scene scene;
        scene.mode = EditMode::Rescale;
        scene.modeCopy = MakePatternImage(width, height);
        scene.frame.placed = true;
        scene.frame.colour = MakeSolid(kCanvasWidth, kCanvasHeight, 0x111111);
        scene.frame.mask = MakeMask(kCanvasWidth, kCanvasHeight, {0});
        for (int16_t x : positions) {
            for (int16_t y : positions) {
                SCOPED_TRACE(testing::Message() << width << " at " << x << ", " << y);
                auto inside = [&](int32_t sx, int32_t sy) {
                    return sx >= x && sy >= y && sx - x < width && sy - y < height;
                };
                auto picture = [&](int32_t sx, int32_t sy) {
                    return inside(sx, sy) ? PixelAt(pattern.get(), sx - x, sy - y) : 0x111111u;
                };
                ExpectDrawn([&](uint8_t* s) { BlendMaskImage(object, x, y, s); }, picture);
                ExpectDrawn(
                    [&](uint8_t* s) { BlendMaskColor(object, x, y, ColorOf(kColour), s); },
                    [&](int32_t sx, int32_t sy) { return inside(sx, sy) ? kColour : 0x111111u; });
                scene.scaledX = x;
                scene.scaledY = y;
                ExpectDrawn([&](uint8_t* s) { ComposeFrame(scene, s); }, picture);
            }
        }
    }
}

// A size field larger than the images draws only what the images hold.
TEST(Blend, NeverReadsPastTheObjectImages) {
    FloatingObject object = MakeObject(OBJECT_PICTURE, 12, 12, {255});
    object.width = object.height = 1000;
    ExpectDrawn([&](uint8_t* s) { BlendMaskImage(object, 0, 0, s); },
                [](int32_t x, int32_t y) { return x < 12 && y < 12 ? kColour : 0x111111u; });
}
