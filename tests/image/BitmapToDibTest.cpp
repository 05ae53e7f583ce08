#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/GifReader.h"
#include "image/Resample.h"
#include "support/TestSupport.h"

namespace {

// Fits bitmap to a box and returns the new image (or null); the box sides
// and the scale come back through the references.
DibBlock Fit(const DibImage* bitmap, int32_t& width, int32_t& height, int16_t& scale, bool fit,
             bool asMask = false, uint8_t* destination = nullptr) {
    return BitmapToDib(bitmap, &scale, asMask, &width, &height, destination, fit);
}

// A canvas whose pixel bytes say 0xAB, so that whatever is left unwritten shows.
std::vector<uint8_t> DirtyCanvas() {
    std::vector<uint8_t> canvas(40 + kCanvasPixelBytes, 0xAB);
    DibInitHeader(reinterpret_cast<BitmapInfoHeader*>(canvas.data()), kCanvasWidth, kCanvasHeight,
                  24, 72, 72);
    return canvas;
}

const DibImage* AsImage(const std::vector<uint8_t>& block) {
    return reinterpret_cast<const DibImage*>(block.data());
}

// Expects the canvas to show bitmap's pixel (x - left, y - bottom) wherever
// that lies inside the bitmap, and black elsewhere.
void ExpectPlaced(const DibImage* canvas, const DibImage* bitmap, int32_t left, int32_t bottom) {
    for (int32_t y = 0; y < canvas->header.biHeight; ++y) {
        for (int32_t x = 0; x < canvas->header.biWidth; ++x) {
            const int32_t bx = x - left;
            const int32_t by = y - bottom;
            const bool inside =
                bx >= 0 && by >= 0 && bx < bitmap->header.biWidth && by < bitmap->header.biHeight;
            ASSERT_EQ(PixelAt(canvas, x, y), inside ? PixelAt(bitmap, bx, by) : 0u)
                << "x " << x << " y " << y;
        }
    }
}

}  // namespace

TEST(BitmapToDib, PicturesThatNeedNoScalingArePlacedExactlyOnTheCanvas) {
    struct Case {
        int32_t width, height;  // the bitmap
        int16_t scale;          // written back
        int32_t left, bottom;   // where its first pixel lands
    };
    const Case cases[] = {
        {200, 100, 180, 0, 40},     // wider: left 176 columns, 40 black rows each side
        {100, 50, 100, 38, 65},     // smaller: centred, black around it
        {100, 400, 176, 38, -110},  // taller: its middle 180 rows
        {200, 180, 100, 0, 0},      // exactly 100 %: still cut to the box
    };
    for (const Case& c : cases) {
        DibBlock bitmap = MakePatternImage(c.width, c.height);
        std::vector<uint8_t> canvas = DirtyCanvas();
        int32_t width = kCanvasWidth;
        int32_t height = kCanvasHeight;
        int16_t scale = 100;
        EXPECT_FALSE(Fit(bitmap.get(), width, height, scale, true, false,
                         DibPixels(reinterpret_cast<DibImage*>(canvas.data()))));
        EXPECT_EQ(scale, c.scale) << c.width;
        EXPECT_EQ(width, kCanvasWidth);
        EXPECT_EQ(height, kCanvasHeight);
        ExpectPlaced(AsImage(canvas), bitmap.get(), c.left, c.bottom);
    }
}

TEST(BitmapToDib, A640By480PictureIsScaledBy37PercentAndCut) {
    DibBlock bitmap = MakePatternImage(640, 480);
    // The scaled picture alone, 237 x 178, as the resampler makes it.
    DibBlock scaled = DibCreate(237, 178, 24);
    ASSERT_TRUE(ResampleImage(DibPixels(bitmap.get()), DibPixels(scaled.get()), 640, 480, 237, 178,
                              DibRowStride(237, 24), 178, 0, 0, false, false));

    int32_t width = kCanvasWidth;
    int32_t height = kCanvasHeight;
    int16_t scale = 100;
    DibBlock fitted = Fit(bitmap.get(), width, height, scale, true);
    ASSERT_TRUE(fitted);
    EXPECT_EQ(scale, 37);
    EXPECT_EQ(fitted->header.biWidth, kCanvasWidth);
    EXPECT_EQ(fitted->header.biHeight, kCanvasHeight);
    // Its left 176 columns, one black row below and one above.
    ExpectPlaced(fitted.get(), scaled.get(), 0, 1);

    // Without fitting the new image is the scaled picture; the size outputs
    // still give the box.
    scale = 100;
    DibBlock unfitted = Fit(bitmap.get(), width, height, scale, false);
    ASSERT_TRUE(unfitted);
    EXPECT_EQ(scale, 37);
    EXPECT_EQ(width, kCanvasWidth);
    EXPECT_EQ(height, kCanvasHeight);
    ASSERT_EQ(DibBlockBytes(unfitted->header), DibBlockBytes(scaled->header));
    EXPECT_EQ(std::memcmp(unfitted.get(), scaled.get(), DibBlockBytes(scaled->header)), 0);
}

TEST(BitmapToDib, PercentagesAreTruncatedAndTheLargerWins) {
    struct Case {
        int32_t bmW, bmH, boxW, boxH;
        int16_t scale;
        int32_t newW, newH;
    };
    const Case cases[] = {
        {300, 200, 176, 180, 90, 270, 180},   // 58.67 % and 90 %
        {177, 181, 176, 180, 99, 175, 179},   // 99.4 % each: short of the box on both sides
        {200, 180, 176, 180, 100, 200, 180},  // exactly 100 %: kept whole without fitting
        {1000, 10, 5, 5, 50, 500, 5},         // 0.5 % and 50 %
        {500, 500, 1, 1, 0, 1, 1},            // 0 %: a side never shrinks to nothing
    };
    for (const Case& c : cases) {
        DibBlock bitmap = MakePatternImage(c.bmW, c.bmH);
        int32_t width = c.boxW;
        int32_t height = c.boxH;
        int16_t scale = 100;
        DibBlock image = Fit(bitmap.get(), width, height, scale, false);
        ASSERT_TRUE(image) << c.bmW;
        EXPECT_EQ(scale, c.scale) << c.bmW;
        EXPECT_EQ(image->header.biWidth, c.newW) << c.bmW;
        EXPECT_EQ(image->header.biHeight, c.newH) << c.bmW;
        EXPECT_EQ(width, c.boxW);
        EXPECT_EQ(height, c.boxH);
    }
}

TEST(BitmapToDib, WithoutABoxTheSizeOutputsGiveTheNewImage) {
    DibBlock bitmap = MakePatternImage(101, 51);
    int32_t width = 0;
    int32_t height = 0;
    int16_t scale = 100;
    DibBlock copy = Fit(bitmap.get(), width, height, scale, false);
    ASSERT_TRUE(copy);
    EXPECT_EQ(width, 101);
    EXPECT_EQ(height, 51);
    EXPECT_EQ(scale, 100);
    EXPECT_EQ(std::memcmp(copy.get(), bitmap.get(), DibBlockBytes(bitmap->header)), 0);

    // A starting scale below 100 applies, rounded to the nearest pixel.
    scale = 50;
    width = -3;  // no box either
    DibBlock half = Fit(bitmap.get(), width, height, scale, false);
    ASSERT_TRUE(half);
    EXPECT_EQ(width, 51);
    EXPECT_EQ(height, 26);
    EXPECT_EQ(half->header.biWidth, 51);
}

TEST(BitmapToDib, MaskHoldsTheBlueChannelOfTheColourResult) {
    DibBlock bitmap = MakePatternImage(640, 480);
    for (bool fit : {false, true}) {
        int32_t width = kCanvasWidth;
        int32_t height = kCanvasHeight;
        int16_t scale = 100;
        DibBlock colour = Fit(bitmap.get(), width, height, scale, fit);
        DibBlock mask = Fit(bitmap.get(), width, height, scale, fit, true);
        ASSERT_TRUE(colour && mask);
        EXPECT_EQ(mask->header.biBitCount, 8);
        EXPECT_EQ(mask->header.biWidth, colour->header.biWidth);
        EXPECT_EQ(mask->header.biHeight, colour->header.biHeight);
        EXPECT_EQ(DibPixels(mask.get()), reinterpret_cast<uint8_t*>(mask.get()) + 1064);
        const int32_t stride = DibRowStride(mask->header.biWidth, 8);
        for (int32_t y = 0; y < mask->header.biHeight; ++y) {
            for (int32_t x = 0; x < mask->header.biWidth; ++x) {
                ASSERT_EQ(DibPixels(mask.get())[y * stride + x],
                          PixelAt(colour.get(), x, y) & 0xFF);
            }
        }
    }
    // Into a destination the mask request still writes the 24-bit canvas.
    DibBlock small = MakePatternImage(100, 50);
    std::vector<uint8_t> canvas = DirtyCanvas();
    int32_t width = kCanvasWidth;
    int32_t height = kCanvasHeight;
    int16_t scale = 100;
    EXPECT_FALSE(Fit(small.get(), width, height, scale, true, true,
                     DibPixels(reinterpret_cast<DibImage*>(canvas.data()))));
    ExpectPlaced(AsImage(canvas), small.get(), 38, 65);
}

TEST(BitmapToDib, RefusesWhatItCannotPlace) {
    DibBlock bitmap = MakePatternImage(20, 10);
    std::vector<uint8_t> canvas = DirtyCanvas();
    uint8_t* pixels = DibPixels(reinterpret_cast<DibImage*>(canvas.data()));
    int32_t width = 0;
    int32_t height = 0;
    int16_t scale = 100;
    EXPECT_FALSE(Fit(nullptr, width, height, scale, false));
    EXPECT_FALSE(Fit(bitmap.get(), width, height, scale, true));  // fitting without a box
    EXPECT_FALSE(Fit(bitmap.get(), width, height, scale, true, false, pixels));
    width = kCanvasWidth;
    height = kCanvasHeight;
    EXPECT_FALSE(Fit(bitmap.get(), width, height, scale, false, false, pixels));
    EXPECT_EQ(canvas, DirtyCanvas());  // a destination is written only when fitting
    EXPECT_EQ(width, kCanvasWidth);
}
