#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "image/Resample.h"
#include "support/TestSupport.h"

namespace {

constexpr uint32_t kBlue = 0x0000FF;

// The canvas with guard bytes after it, filled with something that is
// neither black nor any fill colour used below.
struct Canvas {
    std::vector<uint8_t> memory = std::vector<uint8_t>(kCanvasPixelBytes + 64, 0x5A);
    uint8_t* data() { return memory.data(); }
    uint32_t At(int32_t x, int32_t y) const {
        const uint8_t* p = memory.data() + y * kCanvasStride + x * 3;
        return (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
    }
};

// Checks every canvas pixel: photo pixel (x - px, y - py) where the photo
// covers it, the fill colour elsewhere.
void ExpectPlaced(const Canvas& canvas, const DibImage* photo, int64_t px, int64_t py,
                  uint32_t fill) {
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const int64_t sx = x - px, sy = y - py;
            const bool covered = photo != nullptr && sx >= 0 && sy >= 0 &&
                                 sx < photo->header.biWidth && sy < photo->header.biHeight;
            ASSERT_EQ(canvas.At(x, y), covered ? PixelAt(photo, int32_t(sx), int32_t(sy)) : fill)
                << "canvas " << x << ", " << y << " photo at " << px << ", " << py;
        }
    }
    for (size_t i = kCanvasPixelBytes; i < canvas.memory.size(); ++i) {
        ASSERT_EQ(canvas.memory[i], 0x5A) << "written past the canvas";
    }
}

}  // namespace

TEST(PlacePhoto, CentredPhotoWithBlueAround) {
    // 40 blue rows, 100 rows of 38 blue pixels, the photo row and 38 blue
    // pixels, 40 blue rows.
    DibBlock photo = MakePatternImage(100, 100);
    Canvas canvas;
    PlacePhoto(DibPixels(photo.get()), canvas.data(), 38, 40, 100, 100, 255, 0, 0);
    ExpectPlaced(canvas, photo.get(), 38, 40, kBlue);
    EXPECT_EQ(canvas.At(37, 40), kBlue);
    EXPECT_EQ(canvas.At(38, 40), PixelAt(photo.get(), 0, 0));
}

TEST(PlacePhoto, PhotoReachingTheTopEdge) {
    // From row 80 a 100-row photo ends exactly at the last canvas row.
    DibBlock photo = MakePatternImage(100, 100);
    Canvas canvas;
    PlacePhoto(DibPixels(photo.get()), canvas.data(), 0, 80, 100, 100, 1, 2, 3);
    EXPECT_EQ(canvas.At(0, 179), PixelAt(photo.get(), 0, 99));
    EXPECT_EQ(canvas.At(0, 79), 0x030201u);
    ExpectPlaced(canvas, photo.get(), 0, 80, 0x030201);
}

TEST(PlacePhoto, AnyOffsetShowsWhatFallsOnTheCanvas) {
    const int64_t offsets[] = {INT_MIN, -400, -300, -50, -1, 0, 38, 175, 176, 200, INT_MAX};
    for (auto [w, h] : {std::pair{1, 1}, {100, 100}, {301, 250}}) {
        DibBlock photo = MakePatternImage(w, h);
        for (int64_t x : offsets) {
            for (int64_t y : offsets) {
                Canvas canvas;
                PlacePhoto(DibPixels(photo.get()), canvas.data(), int32_t(x), int32_t(y), w, h, 0,
                           0, 0);
                ExpectPlaced(canvas, photo.get(), x, y, 0);
            }
        }
    }
}

TEST(PlacePhoto, NoPhotoMeansAllFill) {
    DibBlock photo = MakePatternImage(10, 10);
    Canvas canvas;
    PlacePhoto(DibPixels(photo.get()), canvas.data(), 0, 0, 0, 10, 0, 255, 0);
    ExpectPlaced(canvas, nullptr, 0, 0, 0x00FF00);
    PlacePhoto(nullptr, canvas.data(), 0, 0, 10, 10, 9, 9, 9);
    ExpectPlaced(canvas, nullptr, 0, 0, 0x090909);
}
