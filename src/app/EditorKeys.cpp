// Key presses: the held-key step, the routing to the mode that takes the
// key, and the keys of the rescale and adjust modes, the picker, an open
// decoration chooser, the floating object and the photo.
#include <algorithm>

#include "adjust/AdjustKind.h"
#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "decor/Chooser.h"
#include "decor/ColorPicker.h"
#include "decor/Decorations.h"
#include "image/Resample.h"

namespace {

constexpr int16_t kMaxKeyStep = 8;

// Limits of the photo offset under the direction keys.
constexpr int kPhotoLowest = -50;
constexpr int kPhotoHighestY = 130;
constexpr int kPhotoRightmostX = 126;
// The scaled picture may go this far right or up; left and down it keeps at
// least one column or row on screen.
constexpr int kScaledFarthest = 150;

Direction DirectionOfKey(int16_t keyCode) {
    switch (keyCode) {
        case KEY_DOWN:
            return DIRECTION_DOWN;
        case KEY_UP:
            return DIRECTION_UP;
        case KEY_LEFT:
            return DIRECTION_LEFT;
        case KEY_RIGHT:
            return DIRECTION_RIGHT;
        default:
            return DIRECTION_NONE;
    }
}

int16_t ToShort(int value) {
    return static_cast<int16_t>(value);
}

}  // namespace

// The step of this press: 1 after a release, then one more per repeat up to
// 8. It is armed only by a press that changed something (MarkHeld).
int16_t Editor::HeldKeyStep() {
    if (!state_.keyHeld) {
        state_.lastDirection = DIRECTION_NONE;
        state_.keyStep = 1;
        return 1;
    }
    if (state_.keyStep < kMaxKeyStep) {
        ++state_.keyStep;
    }
    return state_.keyStep;
}

// A direction moves by the running step only when it repeats the last one.
int16_t Editor::StepFor(Direction direction, int16_t step) const {
    return direction == state_.lastDirection ? step : 1;
}

void Editor::MarkHeld(Direction direction) {
    state_.keyHeld = true;
    state_.lastDirection = direction;
}

// The first of these that applies takes the key, also when it does not know
// it.
void Editor::RouteKey(int16_t keyCode, int16_t step) {
    if (state_.rescaleMode) {
        RescaleKey(keyCode, step);
    } else if (state_.adjustMode) {
        AdjustKey(keyCode);
    } else if ((state_.effectMode || state_.toneMode) && keyCode == KEY_ACTION) {
        AcceptMode();
    } else if (state_.picker.open) {
        PickerKey(keyCode, step);
    } else if (state_.chooser.AnyOpen()) {
        ChooserKey(keyCode);
    } else if (state_.object.present) {
        ObjectKey(keyCode, step);
    } else {
        PhotoKey(keyCode, step);
    }
}

void Editor::RescaleKey(int16_t keyCode, int16_t step) {
    const Direction direction = DirectionOfKey(keyCode);
    const int moveBy = StepFor(direction, step);
    const int x = state_.scaledX;
    const int y = state_.scaledY;
    const int width = state_.scaledWidth;
    const int height = state_.scaledHeight;
    const int percent = state_.scalePercent;
    bool moved = false;
    bool scaled = false;
    switch (keyCode) {
        case KEY_DOWN:
            if (y > 1 - height) {
                state_.scaledY = ToShort(std::max(y - moveBy, 1 - height));
                moved = true;
            }
            break;
        case KEY_UP:
            if (y < kScaledFarthest) {
                state_.scaledY = ToShort(std::min(y + moveBy, kScaledFarthest));
                moved = true;
            }
            break;
        case KEY_LEFT:
            if (x > 1 - width) {
                state_.scaledX = ToShort(std::max(x - moveBy, 1 - width));
                moved = true;
            }
            break;
        case KEY_RIGHT:
            if (x < kScaledFarthest) {
                state_.scaledX = ToShort(std::min(x + moveBy, kScaledFarthest));
                moved = true;
            }
            break;
        case KEY_DIGIT_0 + 1:
            if (percent < state_.scaleMaximum) {
                state_.scalePercent = ToShort(std::min(percent + 2, int{state_.scaleMaximum}));
                scaled = true;
            }
            break;
        case KEY_DIGIT_0 + 2:
            if (percent > state_.scaleMinimum) {
                state_.scalePercent = ToShort(std::max(percent - 2, int{state_.scaleMinimum}));
                scaled = true;
            }
            break;
        default:
            break;
    }
    if (moved) {
        MarkHeld(direction);
    } else if (scaled) {
        Rescale();
    } else {
        return;
    }
    ComposeAndPresent();
}

// Makes the mode copy the display photo at the current scale percent. A
// shrinking picture stays centred on its old place; a growing one keeps its
// lowest-left corner, so it grows to the right and upwards.
void Editor::Rescale() {
    state_.modeCopy.reset();
    const int oldWidth = state_.scaledWidth;
    const int oldHeight = state_.scaledHeight;
    const int percent = state_.scalePercent;
    const int width = (percent * kCanvasWidth + 50) / 100;
    const int height = (percent * kCanvasHeight + 50) / 100;
    if (width < oldWidth) {
        state_.scaledX = ToShort(state_.scaledX + (oldWidth - width) / 2);
    }
    if (height < oldHeight) {
        state_.scaledY = ToShort(state_.scaledY + (oldHeight - height) / 2);
    }
    state_.scaledWidth = ToShort(width);
    state_.scaledHeight = ToShort(height);
    state_.modeCopyStride = DibRowStride(width, 24);
    if (state_.displayPhoto) {
        state_.modeCopy = RescaleCanvas(DibPixels(state_.displayPhoto.get()), width, height);
    }
}

void Editor::AdjustKey(int16_t keyCode) {
    const int level = state_.adjustLevel;
    int next = level;
    if (state_.adjustKind == ADJUST_VIVIDNESS) {
        // Below the neutral level the curve changes fast, so the steps
        // there are single; down from above never jumps past neutral.
        switch (keyCode) {
            case KEY_UP:
                next = level + (level < kVividnessNeutralLevel ? 1 : 3);
                break;
            case KEY_DOWN:
                next = level <= kVividnessNeutralLevel
                           ? level - 1
                           : std::max(level - 2, int{kVividnessNeutralLevel});
                break;
            case KEY_RIGHT:
                next = level + 1;
                break;
            case KEY_LEFT:
                next = level - 1;
                break;
            default:
                return;
        }
    } else {
        const bool hue = state_.adjustKind == ADJUST_HUE;
        const int large = hue ? 3 : 5;
        const int small = hue ? 1 : 2;
        switch (keyCode) {
            case KEY_UP:
                next = level + large;
                break;
            case KEY_DOWN:
                next = level - large;
                break;
            case KEY_RIGHT:
                next = level + small;
                break;
            case KEY_LEFT:
                next = level - small;
                break;
            default:
                return;
        }
    }
    ChangeAdjustLevel(ToShort(next));
}

void Editor::PickerKey(int16_t keyCode, int16_t step) {
    if (keyCode == KEY_ACTION) {
        state_.picker.open = false;
        ComposeAndPresent();
        return;
    }
    const Direction direction = DirectionOfKey(keyCode);
    if (direction == DIRECTION_NONE) {
        return;
    }
    const bool repeat = direction == state_.lastDirection;
    if (!MoveColorPicker(&state_.picker, &state_.currentColor, direction, step, repeat)) {
        return;
    }
    MarkHeld(direction);
    // Colour tones follow the colour, always re-toned from the untouched
    // copy so that nothing accumulates.
    if (state_.toneMode && state_.modeCopy && state_.displayPhoto) {
        ApplyColorTone(DibPixels(state_.modeCopy.get()), DibPixels(state_.displayPhoto.get()),
                       state_.currentColor.blue, state_.currentColor.green, state_.currentColor.red,
                       kCanvasWidth, kCanvasHeight);
    }
    ComposeAndPresent();
}

// Up and down page through the theme, a digit places its item (0 meaning
// the tenth), the action key closes the chooser; the d-pad's left and right
// do nothing here. The pages are not accelerated by a held key.
void Editor::ChooserKey(int16_t keyCode) {
    bool accepted = false;
    switch (keyCode) {
        case KEY_DOWN:
            accepted = ChooserPageDown(&state_);
            break;
        case KEY_UP:
            accepted = ChooserPageUp(&state_);
            break;
        case KEY_ACTION:
            accepted = CloseChooser(&state_);
            break;
        default:
            if (keyCode >= KEY_DIGIT_0 && keyCode <= KEY_DIGIT_9) {
                accepted = ChooserPickDigit(&state_, assetFolder_, ToShort(keyCode - KEY_DIGIT_0));
            }
            break;
    }
    if (accepted) {
        ComposeAndPresent();
    }
}

// The object's limits are its own: it may leave the screen to the left and
// downwards entirely, to the right and upwards up to its lowest-left pixel.
void Editor::ObjectKey(int16_t keyCode, int16_t step) {
    const Direction direction = DirectionOfKey(keyCode);
    if (direction == DIRECTION_NONE) {
        return;
    }
    const bool repeat = direction == state_.lastDirection;
    if (MoveFloatingObject(&state_, direction, step, repeat)) {
        MarkHeld(direction);
        ComposeAndPresent();
    }
}

void Editor::PhotoKey(int16_t keyCode, int16_t step) {
    const Direction direction = DirectionOfKey(keyCode);
    const int moveBy = StepFor(direction, step);
    const int x = state_.photoX;
    const int y = state_.photoY;
    switch (direction) {
        case DIRECTION_DOWN:
            if (y > kPhotoLowest) {
                state_.photoY = ToShort(std::max(y - moveBy, kPhotoLowest));
            }
            break;
        case DIRECTION_UP:
            if (y < kPhotoHighestY) {
                state_.photoY = ToShort(std::min(y + moveBy, kPhotoHighestY));
            }
            break;
        case DIRECTION_LEFT:
            if (x > kPhotoLowest) {
                state_.photoX = ToShort(std::max(x - moveBy, kPhotoLowest));
            }
            break;
        case DIRECTION_RIGHT:
            if (x < kPhotoRightmostX) {
                state_.photoX = ToShort(std::min(x + moveBy, kPhotoRightmostX));
            }
            break;
        case DIRECTION_NONE:
            return;
    }
    if (state_.photoX != x || state_.photoY != y) {
        MarkHeld(direction);
        ComposeAndPresent();
    }
}
