#include <gtest/gtest.h>

#include <climits>
#include <utility>
#include <vector>

#include "image/Resample.h"
#include "support/TestSupport.h"

namespace {

// Places the photo on the screen canvas and on a 61 x 47 one (whose rows
// end in a byte of padding), each with guard bytes behind it, and checks
// every byte: photo pixel (x - px, y - py) where the photo covers it, the
// fill colour elsewhere, padding and guards as they were.
void ExpectPlaced(const DibImage* photo, int64_t px, int64_t py, uint32_t fill) {
    const int32_t w = photo ? photo->header.biWidth : 0, h = photo ? photo->header.biHeight : 0;
    for (auto [width, height] : {std::pair{kCanvasWidth, kCanvasHeight}, {61, 47}}) {
        const int32_t stride = DibRowStride(width, 24);
        std::vector<uint8_t> canvas(size_t(stride) * height + 64, 0x5A);
        PlacePhotoOnCanvas({canvas.data(), width, height, stride},
                           {ReadViewOfPicture(photo), int32_t(px), int32_t(py), uint8_t(fill),
                            uint8_t(fill >> 8), uint8_t(fill >> 16)});
        for (size_t i = 0; i < canvas.size(); ++i) {
            const int64_t x = int64_t(i % stride) / 3, y = int64_t(i / stride);
            const int64_t sx = x - px, sy = y - py;
            uint8_t expected = 0x5A;
            if (y < height && x < width) {
                const bool covered = sx >= 0 && sy >= 0 && sx < w && sy < h;
                expected = uint8_t((covered ? PixelAt(photo, int32_t(sx), int32_t(sy)) : fill) >>
                                   (8 * (i % stride % 3)));
            }
            ASSERT_EQ(canvas[i], expected)
                << width << "-wide canvas, byte " << i << ", photo at " << px << ", " << py;
        }
    }
}

}  // namespace

// Photos smaller and larger than the canvas, and none at all, at offsets
// from one extreme to the other, over a fill whose channels differ.
TEST(PlacePhoto, AnyOffsetShowsWhatFallsOnTheCanvasAndTheFillAround) {
    const int64_t offsets[] = {INT_MIN, -400, -300, -50, -1, 0, 38, 175, 176, INT_MAX};
    for (auto [w, h] : {std::pair{0, 0}, {1, 1}, {100, 100}, {301, 250}}) {
        DibBlock photo = w > 0 ? MakePatternImage(w, h) : nullptr;
        for (int64_t x : offsets) {
            for (int64_t y : offsets) {
                ExpectPlaced(photo.get(), x, y, 0x0300FF);
            }
        }
    }
}
