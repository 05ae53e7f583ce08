// The editing modes: the table of the commands that enter them, entering
// and leaving them (Done, OK, Cancel), and what each mode does with its
// commands (Reset, Increase / Decrease, the moves) and keys. Rescale and
// Adjust show the mode copy and end with "Done"; the paint effects and
// Colour Tones draw into the display photo and end with "OK".
#include <algorithm>
#include <iterator>
#include <utility>

#include "adjust/AdjustKind.h"
#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "app/Strings.h"
#include "effects/EdgeMap.h"
#include "effects/PaintEffect.h"
#include "image/Resample.h"

struct ModeEntry {
    uint16_t command;
    EditMode mode;
    AdjustKind adjustKind;  // Adjust only
    EffectKind effectKind;  // Effect only
    StringId title;         // kKeepTitle: the title stays as it is
    BarId bar;
    // The mode starts from MakeModeCopy: the photo copied, the scale and
    // the placement reset. Colour Tones copies the photo itself and leaves
    // them as they are.
    bool fromModeCopy;
};

namespace {

constexpr AdjustKind kNoAdjust{};
constexpr StringId kKeepTitle{};

// Every command that enters a mode, and what it means.
constexpr ModeEntry kModeEntries[] = {
    {CMD_RESCALE, EditMode::Rescale, kNoAdjust, EFFECT_NONE, IDS_RESCALE_TITLE, BAR_RESCALE, true},
    {CMD_BRIGHTNESS, EditMode::Adjust, ADJUST_BRIGHTNESS, EFFECT_NONE, IDS_BRIGHTNESS_TITLE,
     BAR_ADJUST, true},
    {CMD_CONTRAST, EditMode::Adjust, ADJUST_CONTRAST, EFFECT_NONE, IDS_CONTRAST_TITLE, BAR_ADJUST,
     true},
    {CMD_HUE, EditMode::Adjust, ADJUST_HUE, EFFECT_NONE, IDS_HUE_TITLE, BAR_ADJUST, true},
    {CMD_VIVIDNESS, EditMode::Adjust, ADJUST_VIVIDNESS, EFFECT_NONE, IDS_VIVIDNESS_TITLE,
     BAR_ADJUST, true},
    {CMD_OIL_PAINT, EditMode::Effect, kNoAdjust, EFFECT_OIL, kKeepTitle, BAR_OK_CANCEL, true},
    {CMD_WATER_PAINT, EditMode::Effect, kNoAdjust, EFFECT_WATER, kKeepTitle, BAR_OK_CANCEL, true},
    {CMD_WAX_PAINT, EditMode::Effect, kNoAdjust, EFFECT_WAX, kKeepTitle, BAR_OK_CANCEL, true},
    {CMD_COLOR_TONES, EditMode::Tones, kNoAdjust, EFFECT_NONE, kKeepTitle, BAR_OK_CANCEL, false},
};

constexpr int kAdjustLowest = -100;
constexpr int kAdjustHighest = 100;
constexpr int kScaleStep = 10;
// "Move" commands of the rescale mode go by 10 and keep the scaled picture
// over the middle of the screen.
constexpr int kMoveStep = 10;
constexpr int kMoveLeftEdge = 112;
constexpr int kMoveRightmost = 64;
constexpr int kMoveHighest = 64;
constexpr int kMoveBottomEdge = 116;
// The scaled picture may go this far right or up under the keys; left and
// down it keeps at least one column or row on screen.
constexpr int kScaledFarthest = 150;

int16_t StartLevel(AdjustKind kind) {
    return kind == ADJUST_VIVIDNESS ? kVividnessNeutralLevel : 0;
}

}  // namespace

// True when the command enters a mode: the mode is then entered if it can
// be.
bool Editor::EnterModeCommand(uint16_t id) {
    const auto* end = std::end(kModeEntries);
    const auto* entry = std::find_if(std::begin(kModeEntries), end,
                                     [id](const ModeEntry& e) { return e.command == id; });
    if (entry == end) {
        return false;
    }
    EnterMode(*entry);
    return true;
}

// One mode at a time: the menus of a mode lead into no other, and a mode
// whose copy cannot be made is not entered. Rescale and Adjust show their
// copy from the first change on.
void Editor::EnterMode(const ModeEntry& entry) {
    if (state_.mode != EditMode::Normal) {
        return;
    }
    if (entry.fromModeCopy && !MakeModeCopy()) {
        return;
    }
    switch (entry.mode) {
        case EditMode::Rescale:
            TakeSnapshot(&modeBefore_);
            ShowMode(entry);
            break;
        case EditMode::Adjust:
            TakeSnapshot(&modeBefore_);
            state_.adjustKind = entry.adjustKind;
            state_.effectKind = EFFECT_NONE;
            state_.adjustLevel = StartLevel(entry.adjustKind);
            ShowMode(entry);
            break;
        case EditMode::Effect:
            PaintEffect(entry);
            break;
        case EditMode::Tones:
            StartColorTones(entry);
            break;
        case EditMode::Normal:
            break;
    }
}

// The mode is on: its title, where it has one, and its bar.
void Editor::ShowMode(const ModeEntry& entry) {
    if (entry.title != kKeepTitle) {
        SetTitle(ResString(entry.title));
    }
    state_.mode = entry.mode;
    ShowBar(entry.bar);
}

// The mode copy for rescale, adjust and the effects: the display photo as it
// is, at full size where the photo lies. False when it cannot be made.
bool Editor::MakeModeCopy() {
    state_.modeCopyStride = kCanvasStride;
    state_.modeCopy.reset();
    state_.scalePercent = 100;
    state_.scaledWidth = kCanvasWidth;
    state_.scaledHeight = kCanvasHeight;
    state_.scaledX = state_.photoX;
    state_.scaledY = state_.photoY;
    if (state_.displayPhoto) {
        state_.modeCopy = CanvasDuplicate(DibPixels(state_.displayPhoto.get()));
    }
    return static_cast<bool>(state_.modeCopy);
}

// Paints the effect into the display photo in eight passes, each shown
// before the next begins. The mode copy keeps the picture as it was for
// Cancel; the state before and the generator's state go into the step when
// the effect is accepted.
void Editor::PaintEffect(const ModeEntry& entry) {
    state_.effectScratch = NewEdgeMap(kCanvasWidth, kCanvasHeight);
    if (!state_.effectScratch || !TakeSnapshot(&modeBefore_)) {
        state_.effectScratch = EdgeMap();
        state_.modeCopy.reset();
        return;
    }
    state_.effectKind = entry.effectKind;
    state_.adjustKind = kNoAdjust;
    effectState_ = random_.State();
    PaintCanvas canvas;
    canvas.source = DibPixels(state_.modeCopy.get());
    canvas.destination = DibPixels(state_.displayPhoto.get());
    canvas.edgeMap = state_.effectScratch.levels.get();
    canvas.width = kCanvasWidth;
    canvas.height = kCanvasHeight;
    PreparePaint(canvas);
    ShowMode(entry);
    const WaitCursorScope wait(*this);
    for (int32_t pass = 0; pass < kPaintPassCount; ++pass) {
        PaintEffectPass(entry.effectKind, canvas, PaintPassThreshold(pass), random_);
        ComposeAndPresent();
        shell_.PauseBetweenPasses();
    }
}

// Colour Tones recolours the photo in tones of the current colour and opens
// the picker, whose every move tones it afresh from the copy.
void Editor::StartColorTones(const ModeEntry& entry) {
    if (!state_.displayPhoto || !TakeSnapshot(&modeBefore_)) {
        return;
    }
    DibBlock copy = CanvasDuplicate(DibPixels(state_.displayPhoto.get()));
    if (!copy) {
        return;
    }
    state_.modeCopy = std::move(copy);
    state_.modeCopyStride = kCanvasStride;
    ShowMode(entry);
    ApplyColorTone(DibPixels(state_.modeCopy.get()), DibPixels(state_.displayPhoto.get()),
                   state_.currentColor.blue, state_.currentColor.green, state_.currentColor.red,
                   kCanvasWidth, kCanvasHeight);
    OpenPicker();
    ComposeAndPresent();
}

// "Done" of rescale and adjust: the display photo becomes exactly what the
// screen shows, the uncovered parts in CurrentColor.
void Editor::Done() {
    if (state_.mode != EditMode::Rescale && state_.mode != EditMode::Adjust) {
        return;
    }
    const StepKind kind = state_.mode == EditMode::Rescale ? STEP_RESCALE : STEP_ADJUST;
    RecordModeMove();
    modeBefore_ = EditSnapshot();
    SetTitle(ResString(IDS_PRODUCT));
    state_.mode = EditMode::Normal;
    ShowBar(BAR_MAIN);
    // Without a mode copy (memory ran out while rescaling) the photo stays
    // as it was rather than become a plain colour.
    EditSnapshot before;
    if (state_.modeCopy && state_.displayPhoto && TakeSnapshot(&before)) {
        const PixelColor& fill = state_.currentColor;
        const CanvasReadView copy = {DibPixels(state_.modeCopy.get()), state_.scaledWidth,
                                     state_.scaledHeight, DibRowStride(state_.scaledWidth, 24)};
        PlacePhotoOnCanvas(ScreenCanvasView(DibPixels(state_.displayPhoto.get())),
                           {copy, state_.scaledX, state_.scaledY, static_cast<uint8_t>(fill.blue),
                            static_cast<uint8_t>(fill.green), static_cast<uint8_t>(fill.red)});
        state_.photoX = 0;
        state_.photoY = 0;
        EditStep step;
        step.kind = kind;
        step.percent = state_.scalePercent;
        step.adjust = state_.adjustKind;
        step.level = state_.adjustLevel;
        step.x = state_.scaledX;
        step.y = state_.scaledY;
        step.color = fill;
        // Left without a change (the same picture where it was): no step.
        EditSnapshot after;
        const bool unchanged = CaptureSnapshot(state_, &before, &after) &&
                               after.photo == before.photo && before.photoX == 0 &&
                               before.photoY == 0;
        if (!unchanged) {
            RecordStep(std::move(step), before);
        }
    }
    state_.modeCopy.reset();
    ComposeAndPresent();
}

// "OK" or the action key of the effect and colour tones modes: the display
// photo already holds the result.
void Editor::AcceptMode() {
    EditStep step;
    if (state_.mode == EditMode::Effect) {
        step.kind = STEP_EFFECT;
        step.effect = state_.effectKind;
        step.seed = effectState_;
    } else {
        step.kind = STEP_TONES;
        step.color = state_.currentColor;
    }
    RecordModeMove();
    RecordStep(std::move(step), modeBefore_);
    modeBefore_ = EditSnapshot();
    state_.mode = EditMode::Normal;
    state_.picker.open = false;
    ShowBar(BAR_MAIN);
    state_.modeCopy.reset();
    state_.effectScratch = EdgeMap();
    ComposeAndPresent();
}

// Photo changed is left as it was in every mode: changes made before the
// mode are still unsaved.
void Editor::CancelMode() {
    RecordModeMove();
    modeBefore_ = EditSnapshot();
    switch (state_.mode) {
        case EditMode::Rescale:
        case EditMode::Adjust:
            state_.mode = EditMode::Normal;
            ShowBar(BAR_MAIN);
            state_.modeCopy.reset();
            ComposeAndPresent();
            break;
        case EditMode::Effect:
        case EditMode::Tones:
            state_.mode = EditMode::Normal;
            state_.picker.open = false;
            state_.effectScratch = EdgeMap();
            // The mode copy is the picture as it was when the mode began.
            if (state_.modeCopy) {
                state_.displayPhoto = std::move(state_.modeCopy);
            }
            state_.modeCopy.reset();
            ShowBar(BAR_MAIN);
            ComposeAndPresent();
            break;
        case EditMode::Normal:
            break;
    }
}

// Rescale: the copy the mode began with, placed at the screen's corner.
// Adjust: the kind's start level. Either only when something changed.
void Editor::Reset() {
    switch (state_.mode) {
        case EditMode::Rescale:
            if (state_.scalePercent != 100 || state_.scaledX != 0 || state_.scaledY != 0) {
                MakeModeCopy();
                state_.scaledX = 0;
                state_.scaledY = 0;
                ComposeAndPresent();
            }
            break;
        case EditMode::Adjust: {
            const int16_t start = StartLevel(state_.adjustKind);
            if (state_.adjustLevel == start) {
                break;
            }
            state_.adjustLevel = start;
            state_.modeCopy.reset();
            if (state_.displayPhoto) {
                state_.modeCopy = CanvasDuplicate(DibPixels(state_.displayPhoto.get()));
            }
            ComposeAndPresent();
            break;
        }
        default:
            break;
    }
}

// Rescale: the scale by 10 within its limits. Adjust: the level by 10,
// Vividness by 5 up and never down past neutral from above.
void Editor::IncreaseOrDecrease(bool increase) {
    switch (state_.mode) {
        case EditMode::Rescale: {
            const int percent = state_.scalePercent;
            const int next = increase ? std::min(percent + kScaleStep, int{kScaleMaximum})
                                      : std::max(percent - kScaleStep, int{kScaleMinimum});
            if (next == percent) {
                break;
            }
            state_.scalePercent = ToShort(next);
            Rescale();
            ComposeAndPresent();
            break;
        }
        case EditMode::Adjust: {
            const int level = state_.adjustLevel;
            int next = level;
            if (state_.adjustKind == ADJUST_VIVIDNESS) {
                next = increase ? level + 5
                       : level <= kVividnessNeutralLevel
                           ? level - 1
                           : std::max(level - 5, int{kVividnessNeutralLevel});
            } else {
                next = increase ? level + 10 : level - 10;
            }
            ChangeAdjustLevel(ToShort(next));
            break;
        }
        default:
            break;
    }
}

// The menu's moves: the scaled picture in rescale mode, else the photo.
void Editor::MoveCommand(uint16_t id) {
    if (state_.mode == EditMode::Rescale) {
        MoveScaledPicture(id);
    } else {
        MovePhotoOnePixel(id);
    }
}

void Editor::MoveScaledPicture(uint16_t id) {
    const int x = state_.scaledX;
    const int y = state_.scaledY;
    const int width = state_.scaledWidth;
    const int height = state_.scaledHeight;
    switch (id) {
        case CMD_MOVE_LEFT:
            if (x + width > kMoveLeftEdge) {
                state_.scaledX = ToShort(std::max(x - kMoveStep, kMoveLeftEdge - width));
            }
            break;
        case CMD_MOVE_RIGHT:
            if (x < kMoveRightmost) {
                state_.scaledX = ToShort(std::min(x + kMoveStep, kMoveRightmost));
            }
            break;
        case CMD_MOVE_UP:
            if (y < kMoveHighest) {
                state_.scaledY = ToShort(std::min(y + kMoveStep, kMoveHighest));
            }
            break;
        default:
            if (y + height > kMoveBottomEdge) {
                state_.scaledY = ToShort(std::max(y - kMoveStep, kMoveBottomEdge - height));
            }
            break;
    }
    if (state_.scaledX != x || state_.scaledY != y) {
        ComposeAndPresent();
    }
}

// The d-pad moves the scaled picture by the held-key step; 1 scales up by 2,
// 2 scales down by 2.
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
            if (percent < kScaleMaximum) {
                state_.scalePercent = ToShort(std::min(percent + 2, int{kScaleMaximum}));
                scaled = true;
            }
            break;
        case KEY_DIGIT_0 + 2:
            if (percent > kScaleMinimum) {
                state_.scalePercent = ToShort(std::max(percent - 2, int{kScaleMinimum}));
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

// Up and down change the level in large steps, right and left in small
// ones; a held key is not accelerated here.
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

// Holds the level within the kind's range; when it changed, adjusts the
// mode copy afresh from the display photo and shows it.
void Editor::ChangeAdjustLevel(int16_t level) {
    const bool vividness = state_.adjustKind == ADJUST_VIVIDNESS;
    const int lowest = vividness ? kVividnessMinLevel : kAdjustLowest;
    const int highest = vividness ? kVividnessMaxLevel : kAdjustHighest;
    const int16_t held = ToShort(std::clamp(int{level}, lowest, highest));
    if (held == state_.adjustLevel) {
        return;
    }
    state_.adjustLevel = held;
    if (state_.displayPhoto && state_.modeCopy) {
        AdjustTone(DibPixels(state_.displayPhoto.get()), DibPixels(state_.modeCopy.get()),
                   state_.adjustKind, held, kCanvasWidth, kCanvasHeight);
    }
    ComposeAndPresent();
}
