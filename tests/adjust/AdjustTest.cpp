#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <numeric>
#include <vector>

#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "adjust/RotateHue.h"
#include "adjust/ToneTable.h"
#include "image/DibImage.h"

namespace {

using Rgb = std::array<int, 3>;  // red, green, blue
using Bytes = std::vector<uint8_t>;
constexpr uint8_t kUntouched = 0x5A;

ToneTable Build(AdjustKind kind, int level) {
    ToneTable table{};
    EXPECT_TRUE(BuildToneTable(kind, static_cast<int16_t>(level), table));
    return table;
}

ToneTable Filled(uint8_t value, int from = 0, uint8_t below = 0) {
    ToneTable table;
    table.fill(value);
    std::fill(table.begin(), table.begin() + from, below);
    return table;
}

Rgb Rotate(Rgb colour, int angle) {
    int16_t red = static_cast<int16_t>(colour[0]);
    int16_t green = static_cast<int16_t>(colour[1]);
    int16_t blue = static_cast<int16_t>(colour[2]);
    RotateHue(blue, green, red, static_cast<int16_t>(angle));
    return {red, green, blue};
}

// Rows of varied bytes, padding included.
Bytes Picture(int32_t width, int32_t height) {
    Bytes bytes(DibRowStride(width, 24) * height);
    for (size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);
    }
    return bytes;
}

Bytes Adjust(const Bytes& source, int kind, int level, int32_t width, int32_t height) {
    Bytes destination(source.size(), kUntouched);
    AdjustTone(source.data(), destination.data(), static_cast<AdjustKind>(kind),
               static_cast<int16_t>(level), width, height);
    return destination;
}

Rgb Tone(Rgb pixel, Rgb tone) {
    const uint8_t source[4] = {static_cast<uint8_t>(pixel[2]), static_cast<uint8_t>(pixel[1]),
                               static_cast<uint8_t>(pixel[0]), 0};
    uint8_t out[4] = {};
    ApplyColorTone(source, out, static_cast<int16_t>(tone[2]), static_cast<int16_t>(tone[1]),
                   static_cast<int16_t>(tone[0]), 1, 1);
    return {out[2], out[1], out[0]};
}

Rgb Grey(int level) {
    return {level, level, level};
}

}  // namespace

// Level 0 is the identity (Vividness too, before its clamp to 1 .. 79);
// beyond the menu's range Brightness saturates instead of wrapping; Hue and
// unknown kinds have no table and leave the caller's alone.
TEST(ToneTable, IdentityAtZeroSaturationBeyondTheRangeAndNoTableForHue) {
    ToneTable identity;
    std::iota(identity.begin(), identity.end(), uint8_t{0});
    for (AdjustKind kind : {ADJUST_BRIGHTNESS, ADJUST_CONTRAST, ADJUST_VIVIDNESS}) {
        EXPECT_EQ(Build(kind, 0), identity) << kind;
    }
    EXPECT_EQ(Build(ADJUST_BRIGHTNESS, 250), Filled(255));
    EXPECT_EQ(Build(ADJUST_BRIGHTNESS, -150), Filled(0));
    EXPECT_EQ(Build(ADJUST_CONTRAST, -32768), Filled(128));
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, 1000), Build(ADJUST_VIVIDNESS, 79));
    ToneTable table = Filled(7);
    for (int kind : {0, 3, 5}) {
        EXPECT_FALSE(BuildToneTable(static_cast<AdjustKind>(kind), 10, table)) << kind;
    }
    EXPECT_EQ(table, Filled(7));
}

// Every table from level -150 to 150 and every hue angle over a grid of
// colours, pinned by FNV-1a hashes that were checked against a separate
// model of the same steps. The curves and the hue fraction are
// single-precision steps rounded one at a time; a fused multiply-add or
// another precision moves some values.
TEST(ToneTable, TablesAndHuesArePinned) {
    const std::pair<AdjustKind, uint32_t> pins[] = {{ADJUST_BRIGHTNESS, 0x02aca26du},
                                                    {ADJUST_CONTRAST, 0x572caa77u},
                                                    {ADJUST_VIVIDNESS, 0x7bd60772u}};
    for (const auto& [kind, pin] : pins) {
        uint32_t hash = 2166136261u;
        for (int level = -150; level <= 150; ++level) {
            for (uint8_t entry : Build(kind, level)) {
                hash = (hash ^ entry) * 16777619u;
            }
        }
        EXPECT_EQ(hash, pin) << kind;
    }
    uint32_t hash = 2166136261u;
    for (int angle = 0; angle < 360; ++angle) {
        for (int colour = 0; colour < 4096; ++colour) {
            const Rgb grid = {colour >> 8 & 15, colour >> 4 & 15, colour & 15};
            for (int channel : Rotate({grid[0] * 17, grid[1] * 17, grid[2] * 17}, angle)) {
                hash = (hash ^ static_cast<uint32_t>(channel)) * 16777619u;
            }
        }
    }
    EXPECT_EQ(hash, 0x1e82f43bu);
}

// The grid the pin covers holds multiples of 17 at angles 0 .. 359: other
// channels, angles taken modulo 360 and channels clamped first.
TEST(RotateHue, TurnsKnownColours) {
    EXPECT_EQ(Rotate({255, 0, 0}, 120), (Rgb{0, 255, 0}));
    EXPECT_EQ(Rotate({30, 20, 10}, 180), (Rgb{10, 20, 30}));
    EXPECT_EQ(Rotate({300, -5, 0}, -240), (Rgb{0, 255, 0}));
}

// The largest and the smallest channel come back exactly (so greys never
// change); turning back lands near the start, whole-degree hues losing a
// few levels of the middle channel.
TEST(RotateHue, KeepsLargestAndSmallestChannelAndTurnsBack) {
    for (int colour = 0; colour < 4096; ++colour) {
        const Rgb start = {(colour >> 8) * 17, (colour >> 4 & 15) * 17, (colour & 15) * 17};
        for (int angle = 1; angle < 360; angle += 29) {
            const Rgb turned = Rotate(start, angle);
            ASSERT_EQ(*std::max_element(turned.begin(), turned.end()),
                      *std::max_element(start.begin(), start.end()));
            ASSERT_EQ(*std::min_element(turned.begin(), turned.end()),
                      *std::min_element(start.begin(), start.end()));
            const Rgb back = Rotate(turned, 360 - angle);
            for (int c = 0; c < 3; ++c) {
                ASSERT_LE(std::abs(back[c] - start[c]), 10) << colour << " by " << angle;
            }
        }
    }
}

// Table kinds map every channel byte through the same table at any size
// and never write the row padding.
TEST(AdjustTone, TableKindsMapEveryChannelByteAndSkipPadding) {
    for (auto [width, height] : {std::pair{1, 1}, {1, 9}, {9, 1}, {13, 4}}) {
        const int32_t stride = DibRowStride(width, 24);
        const Bytes source = Picture(width, height);
        for (AdjustKind kind : {ADJUST_BRIGHTNESS, ADJUST_CONTRAST, ADJUST_VIVIDNESS}) {
            for (int level : {0, -37, 60}) {
                const ToneTable table = Build(kind, level);
                const Bytes out = Adjust(source, kind, level, width, height);
                for (size_t i = 0; i < out.size(); ++i) {
                    const bool padding = static_cast<int32_t>(i % stride) >= width * 3;
                    ASSERT_EQ(out[i], padding ? kUntouched : table[source[i]])
                        << width << "x" << height << " kind " << kind << " level " << level;
                }
            }
        }
    }
}

TEST(AdjustTone, HueCopiesRowsAtLevelZeroAndOtherKindsWriteNothing) {
    const Bytes source = Picture(13, 3);
    EXPECT_EQ(Adjust(source, ADJUST_HUE, 0, 13, 3), source);  // padding included
    // Pure red at levels giving 18, 343 and 181 degrees.
    const Bytes red = {0, 0, 255, 0};
    EXPECT_EQ(Adjust(red, ADJUST_HUE, 10, 1, 1), (Bytes{0, 77, 255, kUntouched}));
    EXPECT_EQ(Adjust(red, ADJUST_HUE, -10, 1, 1), (Bytes{73, 0, 255, kUntouched}));
    EXPECT_EQ(Adjust(red, ADJUST_HUE, -100, 1, 1), (Bytes{255, 251, 0, kUntouched}));
    for (int kind : {0, 5}) {
        EXPECT_EQ(Adjust(source, kind, 0, 13, 3), Bytes(source.size(), kUntouched)) << kind;
    }
}

TEST(ApplyColorTone, BlendsBlackToneAndWhiteByBrightness) {
    const Rgb red = {255, 0, 0};
    EXPECT_EQ(Tone(Grey(0), red), Grey(0));
    EXPECT_EQ(Tone(Grey(255), red), Grey(255));
    EXPECT_EQ(Tone(Grey(127), red), red);
    EXPECT_EQ(Tone(Grey(128), red), (Rgb{255, 2, 2}));
    EXPECT_EQ(Tone(Grey(64), red), (Rgb{128, 0, 0}));
    EXPECT_EQ(Tone(Grey(200), red), (Rgb{255, 145, 145}));
    const Rgb tone = {200, 100, 50};
    EXPECT_EQ(Tone({255, 0, 0}, tone), (Rgb{120, 60, 30}));  // brightness 77
    EXPECT_EQ(Tone({0, 0, 255}, tone), (Rgb{44, 22, 11}));   // brightness 28
    // 127 is the tone exactly, where the darker blend would give (198, 99, 50).
    EXPECT_EQ(Tone(Grey(127), tone), tone);
    EXPECT_EQ(Tone(Grey(126), tone), (Rgb{197, 98, 49}));
}

TEST(ApplyColorTone, WritesEveryRowButNotPadding) {
    const Bytes source = {0, 0, 0, 0, 128, 128, 128, 0};  // 1 x 2: black, then grey 128
    Bytes out(8, kUntouched);
    EXPECT_EQ(ApplyColorTone(source.data(), out.data(), 0, 0, 255, 1, 2), 2);
    EXPECT_EQ(out, (Bytes{0, 0, 0, kUntouched, 2, 2, 255, kUntouched}));
    EXPECT_EQ(ApplyColorTone(source.data(), out.data(), 0, 0, 255, 1, 0), 0);
}
