// Keys: the held-key step, the limits of the photo and the scaled picture,
// the Back and action keys on the picker and choosers, and the guard while a
// question is up.
#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"

TEST_F(EditorTest, HeldKeyAcceleratesToEightAndReleaseStartsAgain) {
    std::vector<int> steps;
    for (int press = 0; press < 21; ++press) {
        const int before = State().photoX;
        editor_->KeyDown(KEY_RIGHT);
        steps.push_back(State().photoX - before);
    }
    // 1 + ... + 8 = 36, eleven times 8 to 124, the last 2 to the limit 126.
    EXPECT_EQ(steps,
              (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 8, 2, 0}));
    editor_->KeyUp();
    Hold(KEY_LEFT, 2);
    EXPECT_EQ(State().photoX, 123);
    // A new direction while held moves by 1 once, then by the running step.
    Hold(KEY_UP, 2);
    EXPECT_EQ(State().photoY, 1 + 4);
}

TEST_F(EditorTest, PhotoKeysStopAtTheirLimitsWithoutRedrawOrStep) {
    for (const auto& [key, x, y] : {std::tuple{KEY_LEFT, -50, 0},
                                    {KEY_DOWN, -50, -50},
                                    {KEY_UP, -50, 130},
                                    {KEY_RIGHT, 126, 130}}) {
        Hold(key, 40);
        editor_->KeyUp();
        EXPECT_EQ(State().photoX, x);
        EXPECT_EQ(State().photoY, y);
    }
    const int screens = shell_.screens;
    const int16_t keys[] = {KEY_RIGHT, KEY_UP, KEY_ACTION, KEY_DIGIT_0 + 1};
    for (int16_t key : keys) {
        editor_->KeyDown(key);
    }
    EXPECT_EQ(shell_.screens, screens);
    EXPECT_FALSE(State().keyHeld);
}

TEST_F(EditorTest, RescaleKeysStopAtTheirLimits) {
    editor_->Command(CMD_RESCALE);
    for (const auto& [key, x, y] : {std::tuple{KEY_RIGHT, 150, 0},
                                    {KEY_UP, 150, 150},
                                    {KEY_LEFT, -175, 150},
                                    {KEY_DOWN, -175, -179}}) {
        Hold(key, 60);
        editor_->KeyUp();
        EXPECT_EQ(State().scaledX, x);
        EXPECT_EQ(State().scaledY, y);
    }
    Tap(KEY_DIGIT_0 + 1, 27);
    EXPECT_EQ(State().scalePercent, 154);
    Tap(KEY_DIGIT_0 + 1);
    EXPECT_EQ(State().scalePercent, 155);
    EXPECT_EQ(State().scaledWidth, 273);
    const int screens = shell_.screens;
    Tap(KEY_DIGIT_0 + 1);
    EXPECT_EQ(shell_.screens, screens);
    Tap(KEY_DIGIT_0 + 2, 60);
    EXPECT_EQ(State().scalePercent, 44);
    ASSERT_TRUE(State().modeCopy);
    EXPECT_EQ(State().modeCopy->header.biWidth, 77);
    EXPECT_EQ(State().modeCopyStride, DibRowStride(77, 24));
}

TEST_F(EditorTest, BackKeyClosesThePickerAndChoosers) {
    StandardLibrary();
    int screens = shell_.screens;
    editor_->BackKey();
    EXPECT_EQ(shell_.screens, screens);
    editor_->Command(kFrameTheme);
    ASSERT_TRUE(State().chooser.open[CHOOSER_FRAME]);
    editor_->Command(CMD_CHANGE_COLOR);  // closes the chooser
    EXPECT_TRUE(State().picker.open);
    EXPECT_FALSE(State().chooser.AnyOpen());
    screens = shell_.screens;
    editor_->BackKey();
    EXPECT_FALSE(State().picker.open);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(shell_.lastScreen, original_);
    editor_->Command(CMD_CHANGE_COLOR);
    Tap(KEY_ACTION);
    EXPECT_FALSE(State().picker.open);
    Tap(KEY_UP);
    EXPECT_EQ(State().photoY, 1);
}

TEST_F(EditorTest, NothingReachesTheEditorWhileAQuestionIsUp) {
    editor_->MenuPopup();
    ChangePhoto();
    bool flagged = false;
    shell_.whileModal = [&] {
        flagged = State().messageBoxOpen;
        const int screens = shell_.screens;
        editor_->KeyDown(KEY_RIGHT);
        editor_->BackKey();
        editor_->Command(CMD_CHANGE_COLOR);
        editor_->MenuPopup();
        editor_->CloseRequested();
        EXPECT_EQ(shell_.screens, screens);
        EXPECT_FALSE(shell_.quit);
    };
    shell_.answers = {false};
    editor_->Command(CMD_CLOSE);
    EXPECT_TRUE(flagged);
    EXPECT_FALSE(State().messageBoxOpen);
    EXPECT_EQ(shell_.questions.size(), 1u);
    EXPECT_FALSE(State().picker.open);
    EXPECT_FALSE(FindMenuItem(editor_->GetMenu(MENU_FILE), CMD_RECOVER)->enabled);
    EXPECT_TRUE(shell_.quit);
}
