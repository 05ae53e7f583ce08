#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/GifReader.h"
#include "image/Resample.h"
#include "support/TestSupport.h"

namespace {

// A canvas block whose pixel bytes say 0xAB, so that whatever is left
// unwritten shows.
std::vector<uint8_t> DirtyCanvas() {
    std::vector<uint8_t> canvas(40 + kCanvasPixelBytes, 0xAB);
    DibInitHeader(reinterpret_cast<BitmapInfoHeader*>(canvas.data()), kCanvasWidth, kCanvasHeight,
                  24, 72, 72);
    return canvas;
}

DibImage* AsImage(std::vector<uint8_t>& block) {
    return reinterpret_cast<DibImage*>(block.data());
}

// Expects the canvas to show picture's pixel (x - left, y - bottom) wherever
// that lies inside the picture, and black elsewhere.
void ExpectPlaced(const DibImage* canvas, const DibImage* picture, int32_t left, int32_t bottom) {
    for (int32_t y = 0; y < canvas->header.biHeight; ++y) {
        for (int32_t x = 0; x < canvas->header.biWidth; ++x) {
            const int32_t px = x - left, py = y - bottom;
            const bool inside =
                px >= 0 && py >= 0 && px < picture->header.biWidth && py < picture->header.biHeight;
            ASSERT_EQ(PixelAt(canvas, x, y), inside ? PixelAt(picture, px, py) : 0u)
                << "x " << x << " y " << y;
        }
    }
}

}  // namespace

TEST(BitmapToDib, FittingPlacesThePictureOnTheCanvasBox) {
    struct Case {
        int32_t width, height;  // the bitmap
        int16_t scale;          // written back
        int32_t left, bottom;   // where the first pixel of the (scaled) picture lands
    };
    const Case cases[] = {
        {640, 480, 37, 0, 1},       // 237 x 178: left 176 columns, a black row each side
        {200, 100, 180, 0, 40},     // not scaled: left 176 columns, 40 black rows each side
        {100, 50, 100, 38, 65},     // smaller: centred, black around it
        {100, 400, 176, 38, -110},  // taller: its middle 180 rows
        {200, 180, 100, 0, 0},      // exactly 100 %: still cut to the box
    };
    for (const Case& c : cases) {
        DibBlock bitmap = MakePatternImage(c.width, c.height);
        // The 640 x 480 picture at 37 %, as the resampler makes it.
        DibBlock scaled = c.scale < 100 ? DibCreate(237, 178, 24) : nullptr;
        if (scaled) {
            ASSERT_TRUE(ResampleImage(DibPixels(bitmap.get()), DibPixels(scaled.get()), 640, 480,
                                      237, 178, DibRowStride(237, 24), 178, 0, 0, false, false));
        }
        const DibImage* expected = scaled ? scaled.get() : bitmap.get();
        for (bool intoCanvas : {true, false}) {
            std::vector<uint8_t> canvas = DirtyCanvas();
            int32_t width = kCanvasWidth, height = kCanvasHeight;
            int16_t scale = 100;
            DibBlock image = BitmapToDib(bitmap.get(), &scale, false, &width, &height,
                                         intoCanvas ? DibPixels(AsImage(canvas)) : nullptr, true);
            EXPECT_EQ(static_cast<bool>(image), !intoCanvas);
            EXPECT_EQ(scale, c.scale) << c.width;
            EXPECT_EQ(width, kCanvasWidth);
            EXPECT_EQ(height, kCanvasHeight);
            ExpectPlaced(intoCanvas ? AsImage(canvas) : image.get(), expected, c.left, c.bottom);
        }
    }
}

TEST(BitmapToDib, PercentagesAreTruncatedTheLargerWinsAndSizesAreReported) {
    struct Case {
        int32_t bmW, bmH, boxW, boxH;
        int16_t scaleIn, scaleOut;
        int32_t newW, newH, outW, outH;
    };
    const Case cases[] = {
        {640, 480, 176, 180, 100, 37, 237, 178, 176, 180},
        {300, 200, 176, 180, 100, 90, 270, 180, 176, 180},   // 58.67 % and 90 %
        {177, 181, 176, 180, 100, 99, 175, 179, 176, 180},   // short of the box both ways
        {200, 180, 176, 180, 100, 100, 200, 180, 176, 180},  // 100 %: kept whole
        {1000, 10, 5, 5, 100, 50, 500, 5, 5, 5},             // 0.5 % and 50 %
        {500, 500, 1, 1, 100, 0, 1, 1, 1, 1},                // 0 %: a side keeps one pixel
        {101, 51, 0, 0, 100, 100, 101, 51, 101, 51},         // no box: unchanged
        {101, 51, -3, 9, 50, 50, 51, 26, 51, 26},            // no box: the scale given
    };
    for (const Case& c : cases) {
        DibBlock bitmap = MakePatternImage(c.bmW, c.bmH);
        int32_t width = c.boxW, height = c.boxH;
        int16_t scale = c.scaleIn;
        DibBlock image = BitmapToDib(bitmap.get(), &scale, false, &width, &height, nullptr, false);
        ASSERT_TRUE(image) << c.bmW;
        EXPECT_EQ(scale, c.scaleOut) << c.bmW;
        EXPECT_EQ(image->header.biWidth, c.newW) << c.bmW;
        EXPECT_EQ(image->header.biHeight, c.newH) << c.bmW;
        EXPECT_EQ(width, c.outW) << c.bmW;
        EXPECT_EQ(height, c.outH) << c.bmW;
        if (c.newW == c.bmW && c.newH == c.bmH) {  // unscaled pictures come out unchanged
            EXPECT_EQ(std::memcmp(image.get(), bitmap.get(), DibBlockBytes(bitmap->header)), 0);
        }
    }
}

TEST(BitmapToDib, MaskHoldsTheBlueChannelOfTheColourResult) {
    DibBlock bitmap = MakePatternImage(640, 480);
    for (bool fit : {false, true}) {
        int32_t width = kCanvasWidth, height = kCanvasHeight;
        int16_t scale = 100;
        DibBlock colour = BitmapToDib(bitmap.get(), &scale, false, &width, &height, nullptr, fit);
        DibBlock mask = BitmapToDib(bitmap.get(), &scale, true, &width, &height, nullptr, fit);
        ASSERT_TRUE(colour && mask);
        ASSERT_EQ(mask->header.biBitCount, 8);
        ASSERT_EQ(mask->header.biWidth, colour->header.biWidth);
        ASSERT_EQ(mask->header.biHeight, colour->header.biHeight);
        const uint8_t* levels = reinterpret_cast<uint8_t*>(mask.get()) + 1064;  // mask form
        const int32_t stride = DibRowStride(mask->header.biWidth, 8);
        for (int32_t y = 0; y < mask->header.biHeight; ++y) {
            for (int32_t x = 0; x < mask->header.biWidth; ++x) {
                ASSERT_EQ(levels[y * stride + x], PixelAt(colour.get(), x, y) & 0xFF);
            }
        }
    }
    // Into a destination the mask request writes the 24-bit canvas.
    DibBlock small = MakePatternImage(100, 50);
    std::vector<uint8_t> canvas = DirtyCanvas();
    int32_t width = kCanvasWidth, height = kCanvasHeight;
    int16_t scale = 100;
    EXPECT_FALSE(
        BitmapToDib(small.get(), &scale, true, &width, &height, DibPixels(AsImage(canvas)), true));
    ExpectPlaced(AsImage(canvas), small.get(), 38, 65);
}

TEST(BitmapToDib, RefusesWhatItCannotPlace) {
    DibBlock bitmap = MakePatternImage(20, 10);
    std::vector<uint8_t> canvas = DirtyCanvas();
    uint8_t* pixels = DibPixels(AsImage(canvas));
    int32_t width = 0, height = 0;
    int16_t scale = 100;
    EXPECT_FALSE(BitmapToDib(nullptr, &scale, false, &width, &height, nullptr, false));
    // Fitting without a box, into a new image or a destination.
    EXPECT_FALSE(BitmapToDib(bitmap.get(), &scale, false, &width, &height, nullptr, true));
    EXPECT_FALSE(BitmapToDib(bitmap.get(), &scale, false, &width, &height, pixels, true));
    // A destination without fitting.
    width = kCanvasWidth;
    height = kCanvasHeight;
    EXPECT_FALSE(BitmapToDib(bitmap.get(), &scale, false, &width, &height, pixels, false));
    EXPECT_EQ(canvas, DirtyCanvas());
    EXPECT_EQ(width, kCanvasWidth);
}
