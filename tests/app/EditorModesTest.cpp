// The editing modes: rescale sizes, offsets and moves, adjust steps and
// limits, Done, Cancel, the paint effects and colour tones.
#include <algorithm>

#include "EditorFixture.h"
#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "app/Commands.h"
#include "app/Keys.h"

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
    EXPECT_EQ(State().scaledWidth, 158);
    EXPECT_EQ(State().scaledHeight, 162);
    EXPECT_EQ(State().scaledX, 4 + 9);
    EXPECT_EQ(State().scaledY, 9);
    editor_->Command(CMD_INCREASE);
    EXPECT_EQ(State().scaledWidth, 176);
    EXPECT_EQ(State().scaledX, 13);
    EXPECT_EQ(ModeCopy(), original_);
    editor_->Command(CMD_DECREASE);  // 158 x 162 at (22, 18)

    editor_->Command(CMD_DONE);
    EXPECT_FALSE(State().rescaleMode || State().modeCopy);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(State().photoX, 0);
    EXPECT_EQ(shell_.titles.back(), "Fotakle");
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    const std::vector<uint8_t> photo = Photo();
    const uint32_t fill = ColorValue(State().currentColor);
    EXPECT_EQ(CanvasPixel(photo, 21, 90), fill);
    EXPECT_EQ(CanvasPixel(photo, 90, 17), fill);
    EXPECT_NE(CanvasPixel(photo, 22, 18), fill);
    EXPECT_EQ(shell_.lastScreen, photo);
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

TEST_F(EditorTest, VividnessSteps) {
    editor_->Command(CMD_VIVIDNESS);
    EXPECT_EQ(shell_.titles.back(), "Adjust Vividness");
    EXPECT_EQ(State().adjustLevel, 10);
    std::vector<int> levels;
    for (int16_t key : {KEY_UP, KEY_DOWN, KEY_DOWN, KEY_DOWN, KEY_RIGHT}) {
        Tap(key);
        levels.push_back(State().adjustLevel);
    }
    EXPECT_EQ(levels, (std::vector<int>{13, 11, 10, 9, 10}));
    Tap(KEY_LEFT, 20);
    EXPECT_EQ(State().adjustLevel, 1);
    editor_->Command(CMD_INCREASE);
    EXPECT_EQ(State().adjustLevel, 6);
    editor_->Command(CMD_DECREASE);
    EXPECT_EQ(State().adjustLevel, 5);
    Tap(KEY_UP, 6);                  // 6, 7, 8, 9, 10, 13
    editor_->Command(CMD_DECREASE);  // never below 10 from above
    EXPECT_EQ(State().adjustLevel, 10);
    Tap(KEY_UP, 30);
    EXPECT_EQ(State().adjustLevel, 79);
    EXPECT_EQ(ModeCopy(), Adjusted(original_, ADJUST_VIVIDNESS, 79));
    editor_->Command(CMD_RESET);
    EXPECT_EQ(State().adjustLevel, 10);
    EXPECT_EQ(ModeCopy(), original_);
}

TEST_F(EditorTest, BrightnessStopsAtItsLimitWithoutRedrawing) {
    editor_->Command(CMD_BRIGHTNESS);
    Tap(KEY_RIGHT, 49);
    EXPECT_EQ(State().adjustLevel, 98);
    const int screens = shell_.screens;
    Tap(KEY_UP);
    Tap(KEY_UP);
    editor_->Command(CMD_INCREASE);
    EXPECT_EQ(State().adjustLevel, 100);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(ModeCopy(), Adjusted(original_, ADJUST_BRIGHTNESS, 100));
    Hold(KEY_DOWN, 3);  // no acceleration in adjust mode
    EXPECT_EQ(State().adjustLevel, 85);
    editor_->Command(CMD_CANCEL);

    editor_->Command(CMD_HUE);
    Tap(KEY_UP);
    Tap(KEY_RIGHT);
    editor_->Command(CMD_INCREASE);
    EXPECT_EQ(State().adjustLevel, 14);
    Tap(KEY_DOWN, 40);
    EXPECT_EQ(State().adjustLevel, -100);
    EXPECT_EQ(ModeCopy(), Adjusted(original_, ADJUST_HUE, -100));
}

TEST_F(EditorTest, DoneWithAnOffsetFillsTheUncoveredStripsWithCurrentColor) {
    Tap(KEY_RIGHT, 10);
    Tap(KEY_DOWN, 20);
    editor_->Command(CMD_CONTRAST);
    Tap(KEY_UP);
    editor_->Command(CMD_DONE);
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
            editor_->Command(CMD_BRIGHTNESS);
            Tap(KEY_UP);
            editor_->Command(CMD_DONE);
        }
        const std::vector<uint8_t> before = Photo();
        for (uint16_t mode : {CMD_RESCALE, CMD_HUE, CMD_VIVIDNESS, CMD_OIL_PAINT, CMD_WATER_PAINT,
                              CMD_WAX_PAINT, CMD_COLOR_TONES}) {
            SCOPED_TRACE(mode);
            editor_->Command(mode);
            Tap(KEY_DIGIT_0 + 2);
            Tap(KEY_RIGHT);
            Tap(KEY_UP);
            editor_->Command(CMD_CANCEL);
            EXPECT_EQ(Photo(), before);
            EXPECT_EQ(State().photoChanged, changedBefore);
            EXPECT_FALSE(State().rescaleMode || State().adjustMode || State().effectMode ||
                         State().toneMode || State().picker.open);
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
    EXPECT_FALSE(State().effectMode || State().modeCopy || State().effectScratch);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(Photo(), painted);

    // The same seed paints the same picture.
    ScriptedShell otherShell;
    Editor other(otherShell, &settings_, folder_);
    other.SeedRandom(7);
    other.Start();
    other.Command(CMD_OIL_PAINT);
    EXPECT_TRUE(
        std::equal(painted.begin(), painted.end(), DibPixels(other.State().displayPhoto.get())));
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
    EXPECT_FALSE(State().toneMode);
    EXPECT_TRUE(State().photoChanged);
}

TEST_F(EditorTest, OneModeAtATime) {
    editor_->Command(CMD_RESCALE);
    for (uint16_t id : {CMD_BRIGHTNESS, CMD_OIL_PAINT, CMD_COLOR_TONES}) {
        editor_->Command(id);
    }
    EXPECT_FALSE(State().adjustMode || State().effectMode || State().toneMode);
    EXPECT_TRUE(shell_.screensAtPauses.empty());
    EXPECT_EQ(shell_.titles.back(), "Rescale Image");
}
