#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "image/Resample.h"
#include "support/TestSupport.h"

namespace {

// Places the photo on a canvas with guard bytes behind it and checks every
// pixel: photo pixel (x - px, y - py) where the photo covers it, the fill
// colour elsewhere.
void ExpectPlaced(const DibImage* photo, int64_t px, int64_t py, uint32_t fill) {
    std::vector<uint8_t> canvas(kCanvasPixelBytes + 64, 0x5A);
    const int32_t w = photo ? photo->header.biWidth : 0, h = photo ? photo->header.biHeight : 0;
    PlacePhotoOnCanvas(ScreenCanvasView(canvas.data()),
                       {ReadViewOfPicture(photo), int32_t(px), int32_t(py), uint8_t(fill),
                        uint8_t(fill >> 8), uint8_t(fill >> 16)});
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const uint8_t* p = canvas.data() + y * kCanvasStride + x * 3;
            const int64_t sx = x - px, sy = y - py;
            const bool covered = sx >= 0 && sy >= 0 && sx < w && sy < h;
            ASSERT_EQ(uint32_t(p[2] << 16 | p[1] << 8 | p[0]),
                      covered ? PixelAt(photo, int32_t(sx), int32_t(sy)) : fill)
                << "canvas " << x << ", " << y << " photo at " << px << ", " << py;
        }
    }
    for (size_t i = kCanvasPixelBytes; i < canvas.size(); ++i) {
        ASSERT_EQ(canvas[i], 0x5A) << "written past the canvas";
    }
}

}  // namespace

TEST(PlacePhoto, WorkedExamples) {
    DibBlock photo = MakePatternImage(100, 100);
    // 40 blue rows, 100 rows of 38 blue pixels, the photo row and 38 blue
    // pixels, 40 blue rows.
    ExpectPlaced(photo.get(), 38, 40, 0x0000FF);
    // From row 80 the photo's last row lands on the last canvas row.
    ExpectPlaced(photo.get(), 0, 80, 0x030201);
    ExpectPlaced(photo.get(), 200, 0, 0x00FF00);
    ExpectPlaced(nullptr, 0, 0, 0x090909);
}

TEST(PlacePhoto, AnyOffsetShowsWhatFallsOnTheCanvas) {
    const int64_t offsets[] = {INT_MIN, -400, -300, -50, -1, 0, 38, 175, 176, INT_MAX};
    for (auto [w, h] : {std::pair{1, 1}, {100, 100}, {301, 250}}) {
        DibBlock photo = MakePatternImage(w, h);
        for (int64_t x : offsets) {
            for (int64_t y : offsets) {
                ExpectPlaced(photo.get(), x, y, 0);
            }
        }
    }
}
