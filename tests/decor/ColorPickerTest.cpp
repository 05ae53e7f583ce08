#include <gtest/gtest.h>

#include "decor/ColorPicker.h"
#include "decor/DecorTestSupport.h"
#include "support/TestSupport.h"

namespace {

// Every row the same: blue = column, green = 255 - column, red = 100, so
// that the darker rows show their percentage directly in red.
ColorPicker MakePicker() {
    DibBlock spectrum = DibCreate(kColorFieldWidth, kColorFieldHeight, 24);
    for (int32_t i = 0; i < kColorFieldWidth * kColorFieldHeight; ++i) {
        uint8_t* p = DibPixels(spectrum.get()) + i * 3;
        p[0] = uint8_t(i % 176), p[1] = uint8_t(255 - i % 176), p[2] = 100;
    }
    ColorPicker picker;
    picker.field = BuildColorField(spectrum.get());
    return picker;
}

}  // namespace

TEST(ColorField, RunsFromBlackThroughThePureHuesToWhite) {
    ColorPicker picker = MakePicker();
    ASSERT_TRUE(picker.field);
    const DibImage* field = picker.field.get();
    // The percentages of rows 1 .. 23; rows 26 .. 48 take the next 23.
    const int percent[24] = {0,  4,  8,  12, 16, 20, 24, 29, 33, 37, 41, 45,
                             50, 54, 58, 62, 66, 70, 75, 79, 83, 87, 91, 95};
    const int16_t columns[] = {0, 88, 175};
    for (int16_t x : columns) {
        EXPECT_EQ(RgbOf(ColorFieldPixel(field, x, 0)), 0u);
        EXPECT_EQ(RgbOf(ColorFieldPixel(field, x, 24)), 0x640000u | (255 - x) << 8 | x);
        EXPECT_EQ(RgbOf(ColorFieldPixel(field, x, 25)), 0x640000u | (255 - x) << 8 | x);
        EXPECT_EQ(RgbOf(ColorFieldPixel(field, x, 49)), 0xFFFFFFu);
        for (int16_t row = 1; row <= 23; ++row) {
            EXPECT_EQ(ColorFieldPixel(field, x, row).red, percent[row - 1]) << row;
            const int t = percent[row];
            EXPECT_EQ(ColorFieldPixel(field, x, int16_t(row + 25)).green,
                      ((255 - x) * (100 - t) + 255 * t + 50) / 100);
        }
    }
    // Worked roundings: 4 % of blue 175 is 7; halfway from blue 0 to white
    // is 128.
    EXPECT_EQ(ColorFieldPixel(field, 175, 2).blue, 7);
    EXPECT_EQ(ColorFieldPixel(field, 0, 37).blue, 128);
    // Outside the field, or without one: black.
    EXPECT_EQ(RgbOf(ColorFieldPixel(field, 176, 49)), 0u);
    EXPECT_EQ(RgbOf(ColorFieldPixel(nullptr, 5, 49)), 0u);

    DibBlock narrow = MakePatternImage(175, 50);
    EXPECT_FALSE(BuildColorField(narrow.get()));
}

TEST(ColorPicker, MovesFromTheStartSpeedUpWhenRepeatedAndStopAtTheLimits) {
    ColorPicker picker = MakePicker();
    PixelColor color;
    ResetColorPicker(&picker, &color);
    EXPECT_EQ(RgbOf(color), 0x64A758u);
    // Direction, step, repeated, moved, then the cursor.
    const std::tuple<Direction, int16_t, bool, bool, int16_t, int16_t> moves[] = {
        {DIRECTION_NONE, 3, true, false, 88, 25},    {DIRECTION_DOWN, 8, false, true, 88, 24},
        {DIRECTION_DOWN, 8, true, true, 88, 22},     {DIRECTION_UP, 8, true, true, 88, 24},
        {DIRECTION_LEFT, 8, true, true, 80, 24},     {DIRECTION_RIGHT, 3, false, true, 81, 24},
        {DIRECTION_RIGHT, 100, true, true, 175, 24}, {DIRECTION_RIGHT, 1, false, false, 175, 24},
        {DIRECTION_LEFT, 32767, true, true, 0, 24},  {DIRECTION_LEFT, 1, false, false, 0, 24},
        {DIRECTION_DOWN, 8, true, true, 0, 22},      {DIRECTION_UP, 8, false, true, 0, 23},
    };
    for (auto [direction, step, repeat, moved, x, y] : moves) {
        EXPECT_EQ(MoveColorPicker(&picker, &color, direction, step, repeat), moved);
        EXPECT_EQ(picker.cursorX, x);
        EXPECT_EQ(picker.cursorY, y);
        EXPECT_EQ(RgbOf(color), RgbOf(ColorFieldPixel(picker.field.get(), x, y)));
    }
    // The box follows, cut at the field's left edge.
    EXPECT_EQ(picker.boxLeft, 0);
    EXPECT_EQ(picker.boxTop, 18);
    EXPECT_EQ(picker.boxRight, 5);
    EXPECT_EQ(picker.boxBottom, 28);

    // A repeated step of 2 stops at the bottom and top rows.
    picker.cursorY = 1;
    EXPECT_TRUE(MoveColorPicker(&picker, &color, DIRECTION_DOWN, 1, true));
    EXPECT_FALSE(MoveColorPicker(&picker, &color, DIRECTION_DOWN, 1, true));
    EXPECT_EQ(RgbOf(color), 0u);
    picker.cursorY = 48;
    EXPECT_TRUE(MoveColorPicker(&picker, &color, DIRECTION_UP, 1, true));
    EXPECT_FALSE(MoveColorPicker(&picker, &color, DIRECTION_UP, 1, true));
    EXPECT_EQ(picker.cursorY, 49);
    EXPECT_EQ(RgbOf(color), 0xFFFFFFu);

    // Without a field nothing moves and the colour stays.
    ColorPicker none;
    ResetColorPicker(&none, &color);
    EXPECT_FALSE(MoveColorPicker(&none, &color, DIRECTION_UP, 1, false));
    EXPECT_EQ(none.cursorX + none.cursorY, 0);
    EXPECT_EQ(RgbOf(color), 0xFFFFFFu);
}
