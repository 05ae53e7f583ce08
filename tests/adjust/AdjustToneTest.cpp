#include "adjust/AdjustTone.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "adjust/RotateHue.h"
#include "adjust/ToneTable.h"
#include "image/DibImage.h"
#include "support/TestSupport.h"

namespace {

constexpr uint8_t kPad = 0xA5;

// A pattern picture whose row padding is set to a recognisable byte.
DibBlock PaddedPattern(int32_t width, int32_t height) {
    DibBlock image = MakePatternImage(width, height);
    const int32_t stride = DibRowStride(width, 24);
    uint8_t* pixels = DibPixels(image.get());
    for (int32_t y = 0; y < height; ++y) {
        std::memset(pixels + y * stride + width * 3, kPad, stride - width * 3);
    }
    return image;
}

std::vector<uint8_t> Bytes(const DibImage* image) {
    const uint8_t* pixels = DibPixels(image);
    return std::vector<uint8_t>(pixels, pixels + image->header.biSizeImage);
}

// Runs AdjustTone over a padded pattern into a destination filled with 0x5A.
std::vector<uint8_t> Adjust(int kind, int level, int32_t width, int32_t height,
                            std::vector<uint8_t>* sourceBytes = nullptr) {
    DibBlock source = PaddedPattern(width, height);
    std::vector<uint8_t> destination(source->header.biSizeImage, 0x5A);
    AdjustTone(DibPixels(source.get()), destination.data(), static_cast<AdjustKind>(kind),
               static_cast<int16_t>(level), width, height);
    if (sourceBytes != nullptr) {
        *sourceBytes = Bytes(source.get());
    }
    return destination;
}

}  // namespace

TEST(AdjustTone, LevelZeroReproducesThePixels) {
    for (int kind = ADJUST_BRIGHTNESS; kind <= ADJUST_VIVIDNESS; ++kind) {
        std::vector<uint8_t> source;
        const std::vector<uint8_t> out = Adjust(kind, 0, 13, 5, &source);
        const int32_t stride = DibRowStride(13, 24);
        for (int32_t y = 0; y < 5; ++y) {
            ASSERT_EQ(std::memcmp(out.data() + y * stride, source.data() + y * stride, 39), 0)
                << "kind " << kind << " row " << y;
        }
    }
    std::vector<uint8_t> source;
    const std::vector<uint8_t> neutral = Adjust(ADJUST_VIVIDNESS, 10, 13, 5, &source);
    EXPECT_EQ(std::memcmp(neutral.data(), source.data(), 39), 0);
}

TEST(AdjustTone, TablePathNeverWritesPaddingButHueCopiesIt) {
    const int32_t width = 13;  // 39 bytes of pixels, 1 of padding
    const int32_t stride = DibRowStride(width, 24);
    for (int kind : {ADJUST_BRIGHTNESS, ADJUST_CONTRAST, ADJUST_VIVIDNESS}) {
        for (int level : {0, 40}) {
            const std::vector<uint8_t> out = Adjust(kind, level, width, 4);
            for (int32_t y = 0; y < 4; ++y) {
                ASSERT_EQ(out[y * stride + 39], 0x5A) << kind << " " << level;
            }
        }
    }
    const std::vector<uint8_t> turned = Adjust(ADJUST_HUE, 40, width, 4);
    EXPECT_EQ(turned[stride + 39], 0x5A);
    std::vector<uint8_t> source;
    const std::vector<uint8_t> copied = Adjust(ADJUST_HUE, 0, width, 4, &source);
    EXPECT_EQ(copied, source);
    EXPECT_EQ(copied[stride + 39], kPad);
}

TEST(AdjustTone, UnknownKindsWriteNothing) {
    for (int kind : {0, 5, -3}) {
        for (int level : {0, 50}) {
            const std::vector<uint8_t> out = Adjust(kind, level, 7, 3);
            for (uint8_t byte : out) {
                ASSERT_EQ(byte, 0x5A) << kind;
            }
        }
    }
}

// Every channel byte goes through the same table, whatever the size.
TEST(AdjustTone, TableAppliesToEveryChannelAtAnySize) {
    for (auto [width, height] : {std::pair{1, 1}, {1, 9}, {9, 1}, {176, 180}}) {
        std::vector<uint8_t> source;
        const std::vector<uint8_t> out = Adjust(ADJUST_CONTRAST, -37, width, height, &source);
        ToneTable table;
        ASSERT_TRUE(BuildToneTable(ADJUST_CONTRAST, -37, table));
        const int32_t stride = DibRowStride(width, 24);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t i = 0; i < width * 3; ++i) {
                ASSERT_EQ(out[y * stride + i], table[source[y * stride + i]])
                    << width << "x" << height << " row " << y << " byte " << i;
            }
        }
    }
}

TEST(AdjustTone, HueLevelsTurnByTheirAngle) {
    // Level -> degrees: 10 -> 18, -10 -> 343, 100 -> 180, -100 -> 181, 1 -> 2.
    const struct {
        int level;
        int angle;
    } cases[] = {{10, 18}, {-10, 343}, {100, 180}, {-100, 181}, {1, 2}, {-1, 359}};
    for (const auto& c : cases) {
        std::vector<uint8_t> source;
        const std::vector<uint8_t> out = Adjust(ADJUST_HUE, c.level, 6, 2, &source);
        const int32_t stride = DibRowStride(6, 24);
        for (int32_t y = 0; y < 2; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                const uint8_t* in = source.data() + y * stride + x * 3;
                int16_t blue = in[0];
                int16_t green = in[1];
                int16_t red = in[2];
                RotateHue(blue, green, red, static_cast<int16_t>(c.angle));
                const uint8_t* got = out.data() + y * stride + x * 3;
                ASSERT_EQ(got[0], blue) << c.level;
                ASSERT_EQ(got[1], green) << c.level;
                ASSERT_EQ(got[2], red) << c.level;
            }
        }
    }
}

TEST(AdjustTone, HueOfRedAtLevelTen) {
    const uint8_t source[4] = {0, 0, 255, 0};  // one red pixel, blue first
    uint8_t destination[4] = {9, 9, 9, 9};
    AdjustTone(source, destination, ADJUST_HUE, 10, 1, 1);
    EXPECT_EQ(destination[0], 0);
    EXPECT_EQ(destination[1], 77);
    EXPECT_EQ(destination[2], 255);
    EXPECT_EQ(destination[3], 9);
}

TEST(AdjustTone, RefusesBadArguments) {
    uint8_t source[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    uint8_t destination[8] = {};
    AdjustTone(source, destination, ADJUST_BRIGHTNESS, 50, 0, 1);
    AdjustTone(source, destination, ADJUST_BRIGHTNESS, 50, 1, -1);
    AdjustTone(source, destination, ADJUST_HUE, 0, kMaxPictureSide + 1, 1);
    AdjustTone(nullptr, destination, ADJUST_HUE, 0, 1, 1);
    for (uint8_t byte : destination) {
        ASSERT_EQ(byte, 0);
    }
}
