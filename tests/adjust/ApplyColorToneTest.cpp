#include "adjust/ApplyColorTone.h"

#include <gtest/gtest.h>

#include <vector>

#include "image/DibImage.h"

namespace {

struct Rgb {
    int red;
    int green;
    int blue;
};

// Tones a single pixel through a 1 x 1 picture.
Rgb Tone(Rgb pixel, Rgb tone) {
    const uint8_t source[4] = {static_cast<uint8_t>(pixel.blue), static_cast<uint8_t>(pixel.green),
                               static_cast<uint8_t>(pixel.red), 0};
    uint8_t destination[4] = {0, 0, 0, 0x77};
    EXPECT_EQ(
        ApplyColorTone(source, destination, static_cast<int16_t>(tone.blue),
                       static_cast<int16_t>(tone.green), static_cast<int16_t>(tone.red), 1, 1),
        1);
    EXPECT_EQ(destination[3], 0x77) << "padding written";
    return {destination[2], destination[1], destination[0]};
}

void ExpectRgb(Rgb actual, Rgb expected) {
    EXPECT_EQ(actual.red, expected.red);
    EXPECT_EQ(actual.green, expected.green);
    EXPECT_EQ(actual.blue, expected.blue);
}

}  // namespace

TEST(ApplyColorTone, RedToneOnGreys) {
    const Rgb red = {255, 0, 0};
    ExpectRgb(Tone({0, 0, 0}, red), {0, 0, 0});
    ExpectRgb(Tone({255, 255, 255}, red), {255, 255, 255});
    ExpectRgb(Tone({127, 127, 127}, red), {255, 0, 0});  // exactly the tone colour
    ExpectRgb(Tone({128, 128, 128}, red), {255, 2, 2});
    ExpectRgb(Tone({64, 64, 64}, red), {128, 0, 0});
    ExpectRgb(Tone({200, 200, 200}, red), {255, 145, 145});
}

TEST(ApplyColorTone, ChannelsOfTheToneActOnTheirOwnChannels) {
    const Rgb tone = {200, 100, 50};
    ExpectRgb(Tone({255, 0, 0}, tone), {120, 60, 30});  // brightness 77
    ExpectRgb(Tone({0, 0, 255}, tone), {44, 22, 11});   // brightness 28
    // Brightness 127 gives the tone itself, where the lower blend would
    // give (198, 99, 50).
    ExpectRgb(Tone({127, 127, 127}, tone), {200, 100, 50});
    ExpectRgb(Tone({126, 126, 126}, tone), {197, 98, 49});
}

TEST(ApplyColorTone, WholePictureRowsWithoutPadding) {
    const int32_t width = 5;  // 15 bytes of pixels, 1 of padding
    const int32_t height = 3;
    const int32_t stride = DibRowStride(width, 24);
    std::vector<uint8_t> source(stride * height, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            std::fill_n(&source[y * stride + x * 3], 3, static_cast<uint8_t>(y * 100 + x));
        }
    }
    std::vector<uint8_t> destination(source.size(), 0xEE);
    EXPECT_EQ(ApplyColorTone(source.data(), destination.data(), 0, 0, 255, width, height), 3);
    for (int32_t y = 0; y < height; ++y) {
        EXPECT_EQ(destination[y * stride + 15], 0xEE);
        for (int32_t x = 0; x < width; ++x) {
            const Rgb expected = Tone({y * 100 + x, y * 100 + x, y * 100 + x}, {255, 0, 0});
            EXPECT_EQ(destination[y * stride + x * 3 + 2], expected.red);
            EXPECT_EQ(destination[y * stride + x * 3], expected.blue);
        }
    }
    EXPECT_EQ(ApplyColorTone(source.data(), destination.data(), 0, 0, 255, width, 0), 0);
    EXPECT_EQ(ApplyColorTone(source.data(), nullptr, 0, 0, 255, width, height), 0);
}

TEST(ApplyColorTone, ToneComponentsOutOfRangeAreClamped) {
    ExpectRgb(Tone({128, 128, 128}, {400, -30, 255}), {255, 2, 255});
    ExpectRgb(Tone({127, 127, 127}, {400, -30, 255}), {255, 0, 255});
}
