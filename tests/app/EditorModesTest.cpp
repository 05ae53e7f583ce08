// The editing modes: rescale sizes, offsets and moves, adjust steps and
// limits, Done, Cancel, the paint effects and colour tones.
#include <algorithm>

#include "EditorFixture.h"
#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "decor/ColorPicker.h"

namespace {

std::vector<uint8_t> Adjusted(const std::vector<uint8_t>& source, AdjustKind kind, int16_t level) {
    std::vector<uint8_t> out(kCanvasPixelBytes);
    AdjustTone(source.data(), out.data(), kind, level, kCanvasWidth, kCanvasHeight);
    return out;
}

}  // namespace

TEST_F(EditorTest, RescaleShrinksAboutTheCentreGrowsUpAndRightAndDonePlacesIt) {
    Tap(KEY_RIGHT, 4);
    editor_->Command(CMD_RESCALE);
    EXPECT_EQ(shell_.titles.back(), "Rescale Image");
    EXPECT_EQ(shell_.bars.back(), BAR_RESCALE);
    editor_->Command(CMD_DECREASE);
    EXPECT_EQ((std::vector<int>{State().scaledWidth, State().scaledHeight, State().scaledX,
                                State().scaledY}),
              (std::vector<int>{158, 162, 4 + 9, 9}));
    editor_->Command(CMD_INCREASE);
    EXPECT_EQ(State().scaledWidth, 176);
    EXPECT_EQ(State().scaledX, 13);
    EXPECT_EQ(ModeCopy(), original_);
    editor_->Command(CMD_DECREASE);  // 158 x 162 at (22, 18)

    editor_->Command(CMD_DONE);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_FALSE(State().modeCopy);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(State().photoX, 0);
    EXPECT_EQ(shell_.titles.back(), "Fotakle");
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    const uint32_t fill = ColorValue(State().currentColor);
    EXPECT_EQ(CanvasPixel(Photo(), 21, 90), fill);
    EXPECT_EQ(CanvasPixel(Photo(), 90, 17), fill);
    EXPECT_NE(CanvasPixel(Photo(), 22, 18), fill);
    EXPECT_EQ(shell_.lastScreen, Photo());
}

TEST_F(EditorTest, RescaleMoveCommandsKeepThePictureOverTheMiddleAndResetReturns) {
    editor_->Command(CMD_RESCALE);
    for (int i = 0; i < 25; ++i) {
        editor_->Command(i < 10 ? CMD_MOVE_RIGHT : CMD_MOVE_LEFT);
        editor_->Command(i < 10 ? CMD_MOVE_UP : CMD_MOVE_DOWN);
        if (i == 9) {
            EXPECT_EQ(State().scaledX, 64);
            EXPECT_EQ(State().scaledY, 64);
        }
    }
    EXPECT_EQ(State().scaledX, 112 - 176);
    EXPECT_EQ(State().scaledY, 116 - 180);
    editor_->Command(CMD_RESET);
    EXPECT_EQ(State().scaledX, 0);
    EXPECT_EQ(State().scaledY, 0);
    const int screens = shell_.screens;
    editor_->Command(CMD_RESET);
    EXPECT_EQ(shell_.screens, screens);

    // Outside rescale the moves go one pixel, past the keys' limits.
    editor_->Command(CMD_CANCEL);
    Hold(KEY_LEFT, 30);
    editor_->Command(CMD_MOVE_LEFT);
    editor_->Command(CMD_MOVE_UP);
    EXPECT_EQ(State().photoX, -51);
    EXPECT_EQ(State().photoY, 1);
}

// Each adjustment's steps under the keys and the Action menu, its limits
// (reached without a redraw) and its start level after Reset; the mode copy
// is always the photo adjusted afresh at the level.
TEST_F(EditorTest, AdjustLevelsStepStopAtTheirLimitsAndReset) {
    constexpr int16_t kIncrease = -1;  // the Action menu's commands, as steps
    constexpr int16_t kDecrease = -2;
    struct Step {
        int16_t key;  // a key code, kIncrease or kDecrease
        int times;
        int level;  // after the last
    };
    struct Case {
        uint16_t command;
        AdjustKind kind;
        const char* title;
        int start;
        std::vector<Step> steps;
    };
    // clang-format off
    const Case cases[] = {
        {CMD_VIVIDNESS, ADJUST_VIVIDNESS, "Adjust Vividness", 10,
         {{KEY_UP, 1, 13}, {KEY_DOWN, 1, 11}, {KEY_DOWN, 1, 10}, {KEY_DOWN, 1, 9},
          {KEY_RIGHT, 1, 10}, {KEY_LEFT, 20, 1}, {kIncrease, 1, 6}, {kDecrease, 1, 5},
          {KEY_UP, 6, 13}, {kDecrease, 1, 10} /* never below neutral from above */,
          {KEY_UP, 30, 79}}},
        {CMD_BRIGHTNESS, ADJUST_BRIGHTNESS, "Adjust Brightness", 0,
         {{KEY_RIGHT, 49, 98}, {KEY_UP, 2, 100}, {kIncrease, 1, 100}, {KEY_DOWN, 3, 85}}},
        {CMD_CONTRAST, ADJUST_CONTRAST, "Adjust Contrast", 0,
         {{KEY_LEFT, 3, -6}, {kDecrease, 9, -96}, {KEY_DOWN, 1, -100}}},
        {CMD_HUE, ADJUST_HUE, "Adjust Hue", 0,
         {{KEY_UP, 1, 3}, {KEY_RIGHT, 1, 4}, {kIncrease, 1, 14}, {KEY_DOWN, 40, -100}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        editor_->Command(c.command);
        EXPECT_EQ(shell_.titles.back(), c.title);
        EXPECT_EQ(shell_.bars.back(), BAR_ADJUST);
        EXPECT_EQ(State().adjustLevel, c.start);
        for (const Step& step : c.steps) {
            for (int i = 0; i < step.times; ++i) {
                const int level = State().adjustLevel;
                const int screens = shell_.screens;
                if (step.key == kIncrease || step.key == kDecrease) {
                    editor_->Command(step.key == kIncrease ? CMD_INCREASE : CMD_DECREASE);
                } else {
                    editor_->KeyDown(step.key);  // held: adjust keys never accelerate
                }
                EXPECT_EQ(shell_.screens, screens + (State().adjustLevel != level ? 1 : 0));
            }
            editor_->KeyUp();
            EXPECT_EQ(State().adjustLevel, step.level) << step.key << " x " << step.times;
        }
        EXPECT_EQ(ModeCopy(), Adjusted(original_, c.kind, State().adjustLevel));
        editor_->Command(CMD_RESET);
        EXPECT_EQ(State().adjustLevel, c.start);
        EXPECT_EQ(ModeCopy(), original_);
        editor_->Command(CMD_CANCEL);
    }
}

TEST_F(EditorTest, DoneWithAnOffsetFillsTheUncoveredStripsWithCurrentColor) {
    Tap(KEY_RIGHT, 10);
    Tap(KEY_DOWN, 20);
    Mode(CMD_CONTRAST, {KEY_UP}, CMD_DONE);
    EXPECT_EQ(State().photoX, 0);
    EXPECT_EQ(State().photoY, 0);
    const std::vector<uint8_t> photo = Photo();
    const std::vector<uint8_t> adjusted = Adjusted(original_, ADJUST_CONTRAST, 5);
    const uint32_t fill = ColorValue(State().currentColor);
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            const bool covered = x >= 10 && y < kCanvasHeight - 20;
            const uint32_t expected = covered ? CanvasPixel(adjusted, x - 10, y + 20) : fill;
            ASSERT_EQ(CanvasPixel(photo, x, y), expected) << x << "," << y;
        }
    }
}

TEST_F(EditorTest, CancelRestoresExactlyAndKeepsEarlierChangesUnsaved) {
    for (bool changedBefore : {false, true}) {
        if (changedBefore) {
            ChangePhoto();
        }
        const std::vector<uint8_t> before = Photo();
        for (uint16_t mode : {CMD_RESCALE, CMD_HUE, CMD_VIVIDNESS, CMD_OIL_PAINT, CMD_WATER_PAINT,
                              CMD_WAX_PAINT, CMD_COLOR_TONES}) {
            SCOPED_TRACE(mode);
            Mode(mode, {Digit(2), KEY_RIGHT, KEY_UP}, CMD_CANCEL);
            EXPECT_EQ(Photo(), before);
            EXPECT_EQ(State().photoChanged, changedBefore);
            EXPECT_EQ(State().mode, EditMode::Normal);
            EXPECT_FALSE(State().picker.open);
            EXPECT_FALSE(State().modeCopy || State().effectScratch);
            EXPECT_EQ(shell_.titles.back(), "Fotakle");
            EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
        }
    }
}

TEST_F(EditorTest, EffectPaintsEightVisiblePassesUnderTheWaitCursor) {
    shell_.waitCursor.clear();
    const int s = shell_.screens;
    editor_->Command(CMD_OIL_PAINT);
    EXPECT_EQ(shell_.screensAtPauses,
              (std::vector<int>{s + 1, s + 2, s + 3, s + 4, s + 5, s + 6, s + 7, s + 8}));
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));
    EXPECT_EQ(shell_.bars.back(), BAR_OK_CANCEL);
    const std::vector<uint8_t> painted = Photo();
    EXPECT_NE(painted, original_);
    Tap(KEY_ACTION);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_FALSE(State().modeCopy || State().effectScratch);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(Photo(), painted);
}

TEST_F(EditorTest, ColorTonesFollowEveryPickerMove) {
    const auto toned = [&] {
        std::vector<uint8_t> out(kCanvasPixelBytes);
        const PixelColor& c = State().currentColor;
        ApplyColorTone(original_.data(), out.data(), c.blue, c.green, c.red, kCanvasWidth,
                       kCanvasHeight);
        return out;
    };
    editor_->Command(CMD_COLOR_TONES);
    EXPECT_TRUE(State().picker.open);
    EXPECT_EQ(Photo(), toned());
    Hold(KEY_RIGHT, 4);
    editor_->KeyUp();
    Tap(KEY_UP, 5);
    EXPECT_EQ(State().picker.cursorX, 98);
    EXPECT_EQ(ColorValue(State().currentColor),
              ColorValue(ColorFieldPixel(State().picker.field.get(), 98, State().picker.cursorY)));
    EXPECT_EQ(State().photoY, 0);
    EXPECT_EQ(Photo(), toned());  // from the untouched copy, never on top of a tone
    const size_t pickerBytes = static_cast<size_t>(kCanvasStride) * 50;
    EXPECT_TRUE(std::equal(shell_.lastScreen.begin() + pickerBytes, shell_.lastScreen.end(),
                           Photo().begin() + pickerBytes));

    // With the picker closed by Back the arrows move the photo; the action
    // key still accepts.
    editor_->BackKey();
    Tap(KEY_LEFT);
    EXPECT_EQ(State().photoX, -1);
    Tap(KEY_ACTION);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_TRUE(State().photoChanged);
}

TEST_F(EditorTest, OneModeAtATime) {
    editor_->Command(CMD_RESCALE);
    for (uint16_t id : {CMD_BRIGHTNESS, CMD_OIL_PAINT, CMD_COLOR_TONES}) {
        editor_->Command(id);
    }
    EXPECT_EQ(State().mode, EditMode::Rescale);
    EXPECT_TRUE(shell_.screensAtPauses.empty());
    EXPECT_EQ(shell_.titles.back(), "Rescale Image");
}
