#include "image/DibImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/TestSupport.h"

TEST(DibImage, RowStrideRoundsBitsUpToWholeWords) {
    EXPECT_EQ(DibRowStride(176, 24), 528);
    EXPECT_EQ(DibRowStride(176, 8), 176);
    EXPECT_EQ(DibRowStride(13, 24), 40);  // 39 bytes rounded up
    EXPECT_EQ(DibRowStride(1, 24), 4);
    EXPECT_EQ(DibRowStride(12, 8), 12);
    EXPECT_EQ(DibRowStride(1, 1), 4);
    EXPECT_EQ(DibRowStride(10, 1), 4);
    EXPECT_EQ(DibRowStride(5, 4), 4);
    EXPECT_EQ(DibRowStride(kMaxPictureSide, 32), kMaxPictureSide * 4);
}

TEST(DibImage, RowStrideRefusesSizesOutOfRange) {
    EXPECT_EQ(DibRowStride(0, 24), 0);
    EXPECT_EQ(DibRowStride(-5, 24), 0);
    EXPECT_EQ(DibRowStride(kMaxPictureSide + 1, 24), 0);
    EXPECT_EQ(DibRowStride(10, 0), 0);
}

TEST(DibImage, HeaderForTheCanvas) {
    BitmapInfoHeader header;
    std::memset(&header, 0xAB, sizeof header);
    DibInitHeader(&header, 176, 180, 24, 72, 72);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 176);
    EXPECT_EQ(header.biHeight, 180);
    EXPECT_EQ(header.biPlanes, 1);
    EXPECT_EQ(header.biBitCount, 24);
    EXPECT_EQ(header.biCompression, 0u);
    EXPECT_EQ(header.biSizeImage, 95040u);
    EXPECT_EQ(header.biXPelsPerMeter, 2834);
    EXPECT_EQ(header.biYPelsPerMeter, 2834);
    EXPECT_EQ(header.biClrUsed, 0u);
    EXPECT_EQ(header.biClrImportant, 0u);

    DibInitHeader(&header, 176, 180, 8, 96, 300);
    EXPECT_EQ(header.biSizeImage, 31680u);
    EXPECT_EQ(header.biClrUsed, 256u);
    EXPECT_EQ(header.biXPelsPerMeter, 3779);
    EXPECT_EQ(header.biYPelsPerMeter, 11811);
}

TEST(DibImage, NewImagesAreBlackIncludingPadding) {
    DibBlock image = DibCreate(13, 7, 24);
    ASSERT_TRUE(image);
    const uint8_t* pixels = DibPixels(image.get());
    EXPECT_EQ(pixels, reinterpret_cast<uint8_t*>(image.get()) + 40);
    std::vector<uint8_t> zeros(40 * 7, 0);
    EXPECT_EQ(std::memcmp(pixels, zeros.data(), zeros.size()), 0);
    EXPECT_EQ(DibBlockBytes(image->header), 40u + 40u * 7u);
}

TEST(DibImage, MaskFormCarriesAZeroPaletteBeforeThePixels) {
    DibBlock mask = DibCreate(12, 12, 8);
    ASSERT_TRUE(mask);
    EXPECT_EQ(DibPixels(mask.get()), reinterpret_cast<uint8_t*>(mask.get()) + 1064);
    EXPECT_EQ(DibBlockBytes(mask->header), 1064u + 144u);
    const uint8_t* palette = reinterpret_cast<uint8_t*>(mask.get()) + 40;
    for (int i = 0; i < 1024; ++i) {
        ASSERT_EQ(palette[i], 0) << i;
    }
}

TEST(DibImage, CreateRefusesBadSizesAndDepths) {
    EXPECT_FALSE(DibCreate(0, 10, 24));
    EXPECT_FALSE(DibCreate(10, -1, 24));
    EXPECT_FALSE(DibCreate(kMaxPictureSide + 1, 1, 24));
    EXPECT_FALSE(DibCreate(10, 10, 16));
    EXPECT_TRUE(DibCreate(kMaxPictureSide, 1, 24));
}

TEST(DibImage, CanvasDuplicateCopiesIntoADestinationWithoutAllocating) {
    DibBlock source = MakePatternImage(176, 180);
    std::vector<uint8_t> destination(kCanvasPixelBytes + 8, 0xEE);
    EXPECT_FALSE(CanvasDuplicate(DibPixels(source.get()), destination.data()));
    EXPECT_EQ(std::memcmp(destination.data(), DibPixels(source.get()), kCanvasPixelBytes), 0);
    // Exactly 95,040 bytes: the guard bytes behind stay as they were.
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(destination[kCanvasPixelBytes + i], 0xEE);
    }
}

TEST(DibImage, CanvasDuplicateWithoutDestinationMakesANewCanvas) {
    DibBlock source = MakePatternImage(176, 180);
    DibBlock copy = CanvasDuplicate(DibPixels(source.get()), nullptr);
    ASSERT_TRUE(copy);
    EXPECT_EQ(std::memcmp(&copy->header, &source->header, 40), 0);
    EXPECT_EQ(std::memcmp(DibPixels(copy.get()), DibPixels(source.get()), kCanvasPixelBytes), 0);
}
