// Key presses outside the modes' own keys: the held-key step, the routing
// of a key by the mode, and the keys of the picker, an open decoration
// chooser, the floating object and the photo; with the photo's position
// also the menu's one-pixel moves and Reset Position.
#include <algorithm>

#include "adjust/ApplyColorTone.h"
#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "decor/Chooser.h"
#include "decor/ColorPicker.h"
#include "decor/Decorations.h"

namespace {

constexpr int16_t kMaxKeyStep = 8;

// Limits of the photo offset under the direction keys.
constexpr int kPhotoLowest = -50;
constexpr int kPhotoHighestY = 130;
constexpr int kPhotoRightmostX = 126;

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

// Rescale and Adjust take every key; in the effect and colour tones modes
// the action key accepts the result. Any other key goes to what lies on
// top of the picture.
void Editor::RouteKey(int16_t keyCode, int16_t step) {
    switch (state_.mode) {
        case EditMode::Rescale:
            RescaleKey(keyCode, step);
            return;
        case EditMode::Adjust:
            AdjustKey(keyCode);
            return;
        case EditMode::Effect:
        case EditMode::Tones:
            if (keyCode == KEY_ACTION) {
                AcceptMode();
                return;
            }
            break;
        case EditMode::Normal:
            break;
    }
    LayerKey(keyCode, step);
}

// The first of these that is on screen takes the key, also when it does not
// know it.
void Editor::LayerKey(int16_t keyCode, int16_t step) {
    if (state_.picker.open) {
        PickerKey(keyCode, step);
    } else if (state_.chooser.AnyOpen()) {
        ChooserKey(keyCode);
    } else if (state_.object.present) {
        ObjectKey(keyCode, step);
    } else {
        PhotoKey(keyCode, step);
    }
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
    if (state_.mode == EditMode::Tones && state_.modeCopy && state_.displayPhoto) {
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
        if (state_.mode == EditMode::Normal) {
            RecordMove(static_cast<int32_t>(direction), ToShort(x), ToShort(y));
        }
        ComposeAndPresent();
    }
}

// The menu's moves outside rescale go one pixel at a time, without the
// keys' limits.
void Editor::MovePhotoOnePixel(uint16_t id) {
    const int16_t x = state_.photoX;
    const int16_t y = state_.photoY;
    switch (id) {
        case CMD_MOVE_LEFT:
            state_.photoX = ToShort(state_.photoX - 1);
            break;
        case CMD_MOVE_RIGHT:
            state_.photoX = ToShort(state_.photoX + 1);
            break;
        case CMD_MOVE_UP:
            state_.photoY = ToShort(state_.photoY + 1);
            break;
        default:
            state_.photoY = ToShort(state_.photoY - 1);
            break;
    }
    if (state_.mode == EditMode::Normal) {
        RecordMove(id, x, y);
    }
    ComposeAndPresent();
}

void Editor::ResetPosition() {
    if (state_.photoX == 0 && state_.photoY == 0) {
        return;
    }
    const int16_t x = state_.photoX;
    const int16_t y = state_.photoY;
    state_.photoX = 0;
    state_.photoY = 0;
    RecordMove(CMD_RESET_POSITION, x, y);
    ComposeAndPresent();
}
