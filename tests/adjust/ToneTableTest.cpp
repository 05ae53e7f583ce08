#include "adjust/ToneTable.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

ToneTable Build(AdjustKind kind, int level) {
    ToneTable table;
    table.fill(0xEE);
    EXPECT_TRUE(BuildToneTable(kind, static_cast<int16_t>(level), table));
    return table;
}

ToneTable Identity() {
    ToneTable table;
    for (int i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
    return table;
}

// FNV-1a over the tables of every level from -150 to 150 of one kind.
uint32_t HashAllLevels(AdjustKind kind) {
    uint32_t hash = 2166136261u;
    for (int level = -150; level <= 150; ++level) {
        for (uint8_t entry : Build(kind, level)) {
            hash = (hash ^ entry) * 16777619u;
        }
    }
    return hash;
}

}  // namespace

TEST(ToneTable, LevelZeroIsTheIdentityForEveryKind) {
    EXPECT_EQ(Build(ADJUST_BRIGHTNESS, 0), Identity());
    EXPECT_EQ(Build(ADJUST_CONTRAST, 0), Identity());
    // Level 0 is tested before the clamp into 1 .. 79.
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, 0), Identity());
}

TEST(ToneTable, NoTableForHueOrUnknownKinds) {
    ToneTable table;
    table.fill(7);
    for (int kind : {0, 3, 5, -1}) {
        EXPECT_FALSE(BuildToneTable(static_cast<AdjustKind>(kind), 10, table)) << kind;
    }
    for (uint8_t entry : table) {
        ASSERT_EQ(entry, 7);
    }
}

TEST(ToneTable, BrightnessSmallSteps) {
    const ToneTable up = Build(ADJUST_BRIGHTNESS, 10);  // a = 26
    EXPECT_EQ(up[0], 26);
    EXPECT_EQ(up[1], 27);
    EXPECT_EQ(up[2], 28);
    EXPECT_EQ(up[128], 141);
    EXPECT_EQ(up[253], 253);
    EXPECT_EQ(up[254], 254);
    EXPECT_EQ(up[255], 255);

    const ToneTable down = Build(ADJUST_BRIGHTNESS, -10);  // a = -25 (truncated), m = 231
    EXPECT_EQ(down[0], 0);
    EXPECT_EQ(down[128], 116);
    EXPECT_EQ(down[255], 230);
}

TEST(ToneTable, BrightnessExtremes) {
    for (uint8_t entry : Build(ADJUST_BRIGHTNESS, 100)) {
        ASSERT_EQ(entry, 255);
    }
    const ToneTable black = Build(ADJUST_BRIGHTNESS, -100);  // m = 1
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(black[i], i < 128 ? 0 : 1) << i;
    }
    // Beyond the menu's range the curve saturates instead of wrapping.
    for (uint8_t entry : Build(ADJUST_BRIGHTNESS, 250)) {
        ASSERT_EQ(entry, 255);
    }
    for (int level : {-101, -150, -32768}) {
        for (uint8_t entry : Build(ADJUST_BRIGHTNESS, level)) {
            ASSERT_EQ(entry, 0) << level;
        }
    }
}

TEST(ToneTable, ContrastStretch) {
    const ToneTable steep = Build(ADJUST_CONTRAST, 99);  // c = 126, step 85
    for (int i = 0; i <= 127; ++i) {
        ASSERT_EQ(steep[i], 0) << i;
    }
    EXPECT_EQ(steep[128], 85);
    EXPECT_EQ(steep[129], 170);
    for (int i = 130; i < 256; ++i) {
        ASSERT_EQ(steep[i], 255) << i;
    }

    const ToneTable hard = Build(ADJUST_CONTRAST, 100);  // c = 127, no step
    for (int i = 0; i < 256; ++i) {
        ASSERT_EQ(hard[i], i <= 128 ? 0 : 255) << i;
    }

    // c = 64: entries 0 .. 65 black, then the float accumulator climbs by
    // 255 / 127 per index, and every entry above 191 is white.
    const ToneTable half = Build(ADJUST_CONTRAST, 50);
    EXPECT_EQ(half[65], 0);
    EXPECT_EQ(half[66], 2);
    EXPECT_EQ(half[128], 126);
    EXPECT_EQ(half[190], 250);
    EXPECT_EQ(half[191], 252);
    EXPECT_EQ(half[192], 255);
}

TEST(ToneTable, ContrastCompress) {
    for (int level : {-100, -101, -32768}) {
        for (uint8_t entry : Build(ADJUST_CONTRAST, level)) {
            ASSERT_EQ(entry, 128) << level;
        }
    }
    // c = 64, from 64 upwards by 127 x 0.003921569 per index.
    const ToneTable half = Build(ADJUST_CONTRAST, -50);
    EXPECT_EQ(half[0], 64);
    EXPECT_EQ(half[1], 64);
    EXPECT_EQ(half[2], 64);
    EXPECT_EQ(half[3], 65);
    EXPECT_EQ(half[128], 127);
    EXPECT_EQ(half[254], 190);
    EXPECT_EQ(half[255], 191);
}

TEST(ToneTable, VividnessCurves) {
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, 10), Identity());

    const ToneTable dark = Build(ADJUST_VIVIDNESS, 1);  // exponent 10
    EXPECT_EQ(dark[128], 0);
    EXPECT_EQ(dark[192], 15);
    EXPECT_EQ(dark[255], 255);

    const ToneTable light = Build(ADJUST_VIVIDNESS, 79);  // exponent 10 / 79
    EXPECT_EQ(light[0], 0);
    EXPECT_EQ(light[1], 126);
    EXPECT_EQ(light[128], 234);
    EXPECT_EQ(light[255], 255);

    // Clamped into 1 .. 79.
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, 80), light);
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, 100), light);
    EXPECT_EQ(Build(ADJUST_VIVIDNESS, -5), dark);
}

// Every table of every level, pinned. The curves are defined by
// single-precision steps rounded one at a time and by the double-precision
// power; a compiler that fused a multiply and an add, or evaluated in
// another precision, would change some entries. The values were checked
// against a separate model of the same steps.
TEST(ToneTable, AllLevelsArePinned) {
    EXPECT_EQ(HashAllLevels(ADJUST_BRIGHTNESS), 0x02aca26du);
    EXPECT_EQ(HashAllLevels(ADJUST_CONTRAST), 0x572caa77u);
    EXPECT_EQ(HashAllLevels(ADJUST_VIVIDNESS), 0x7bd60772u);
}
