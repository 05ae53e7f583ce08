#include "image/DibImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/TestSupport.h"

TEST(DibImage, RowStrideRoundsBitsUpToWholeWordsAndRefusesSizesOutOfRange) {
    struct Case {
        int32_t width, bits, stride;
    } cases[] = {
        {13, 24, 40},  // 39 bytes rounded up
        {10, 1, 4},   {5, 4, 4},   {kMaxPictureSide, 32, kMaxPictureSide * 4},
        {0, 24, 0},   {-5, 24, 0}, {kMaxPictureSide + 1, 24, 0},
        {10, 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DibRowStride(c.width, c.bits), c.stride) << c.width << " x " << c.bits;
    }
}

// Both forms start black, padding and the mask's palette included, and the
// pixels sit where the header says; sizes and depths it cannot make are
// refused.
TEST(DibImage, NewImagesAreBlackWithThePixelsWhereTheHeaderSays) {
    struct Case {
        int32_t width, height, bits;
        size_t pixelOffset, blockBytes;
    } cases[] = {
        {13, 7, 24, 40, 40 + 40 * 7},
        {13, 7, 8, 1064, 1064 + 16 * 7},
    };
    for (const Case& c : cases) {
        DibBlock image = DibCreate(c.width, c.height, c.bits);
        ASSERT_TRUE(image);
        const uint8_t* block = reinterpret_cast<const uint8_t*>(image.get());
        EXPECT_EQ(DibPixels(image.get()), block + c.pixelOffset);
        ASSERT_EQ(DibBlockBytes(image->header), c.blockBytes);
        EXPECT_EQ(std::vector<uint8_t>(block + 40, block + c.blockBytes),
                  std::vector<uint8_t>(c.blockBytes - 40, 0))
            << c.bits;
        EXPECT_EQ(image->header.biSizeImage, DibRowStride(c.width, c.bits) * 7u);
    }
    EXPECT_FALSE(DibCreate(0, 10, 24));
    EXPECT_FALSE(DibCreate(10, -1, 24));
    EXPECT_FALSE(DibCreate(kMaxPictureSide + 1, 1, 24));
    EXPECT_FALSE(DibCreate(10, 10, 16));
    EXPECT_TRUE(DibCreate(kMaxPictureSide, 1, 24));
}

TEST(DibImage, CanvasCopiesTakeExactlyTheCanvasBytes) {
    DibBlock source = MakePatternImage(kCanvasWidth, kCanvasHeight);
    // Into existing pixels: the guard bytes behind the 95,040 stay.
    std::vector<uint8_t> destination(kCanvasPixelBytes + 8, 0xEE);
    CanvasCopy(DibPixels(source.get()), destination.data());
    EXPECT_EQ(std::memcmp(destination.data(), DibPixels(source.get()), kCanvasPixelBytes), 0);
    EXPECT_EQ(std::vector<uint8_t>(destination.end() - 8, destination.end()),
              std::vector<uint8_t>(8, 0xEE));
    // A new canvas: the same header and pixels.
    DibBlock copy = CanvasDuplicate(DibPixels(source.get()));
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(copy.get(), source.get(), DibBlockBytes(source->header)), 0);
}
