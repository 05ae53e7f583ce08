// The editing modes: entering them, their commands (Done, OK, Cancel,
// Reset, Increase / Decrease, the moves) and the paint effects, plus Reset
// Position and Recover.
#include <algorithm>
#include <utility>

#include "adjust/AdjustKind.h"
#include "adjust/AdjustTone.h"
#include "adjust/ApplyColorTone.h"
#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Strings.h"
#include "effects/BuildEdgeMap.h"
#include "effects/EdgeMap.h"
#include "effects/OilPaint.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/Resample.h"

namespace {

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
// String ids of the mode titles are the command ids less this.
constexpr int kTitleOffset = 30000;

int16_t ToShort(int value) {
    return static_cast<int16_t>(value);
}

int16_t StartLevel(int16_t kind) {
    return kind == ADJUST_VIVIDNESS ? kVividnessNeutralLevel : 0;
}

}  // namespace

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

// One mode at a time: the menus of a mode lead into no other, and a mode
// whose copy cannot be made is not entered.
void Editor::EnterRescaleOrAdjust(uint16_t id) {
    if (AnyModeOn() || !MakeModeCopy()) {
        return;
    }
    SetTitle(ResString(id - kTitleOffset));
    if (id == CMD_RESCALE) {
        state_.rescaleMode = true;
        ShowBar(BAR_RESCALE);
        return;
    }
    state_.adjustKind = ToShort(id - CMD_RESCALE);
    state_.adjustMode = true;
    state_.adjustLevel = StartLevel(state_.adjustKind);
    ShowBar(BAR_ADJUST);
}

// Paints the effect into the display photo in eight passes, each shown
// before the next begins. The mode copy keeps the picture as it was for
// Cancel.
void Editor::RunEffect(uint16_t id) {
    if (AnyModeOn() || !MakeModeCopy()) {
        return;
    }
    state_.effectScratch = NewEdgeMap(kCanvasWidth, kCanvasHeight);
    if (!state_.effectScratch) {
        state_.modeCopy.reset();
        return;
    }
    state_.adjustKind = ToShort(id - (CMD_OIL_PAINT - 1));
    const uint8_t* source = DibPixels(state_.modeCopy.get());
    uint8_t* canvas = DibPixels(state_.displayPhoto.get());
    uint8_t* edgeMap = state_.effectScratch.levels.get();
    BuildEdgeMap(source, canvas, edgeMap, kCanvasWidth, kCanvasHeight);
    state_.effectMode = true;
    ShowBar(BAR_OK_CANCEL);
    BeginWaitCursor();
    for (int32_t pass = 0; pass < kPaintPassCount; ++pass) {
        const int16_t threshold = PaintPassThreshold(pass);
        switch (id) {
            case CMD_OIL_PAINT:
                OilPaint(source, canvas, edgeMap, kCanvasWidth, kCanvasHeight, threshold, random_);
                break;
            case CMD_WATER_PAINT:
                WaterPaint(source, canvas, edgeMap, kCanvasWidth, kCanvasHeight, threshold,
                           random_);
                break;
            default:
                WaxPaint(source, canvas, edgeMap, kCanvasWidth, kCanvasHeight, threshold, random_);
                break;
        }
        ComposeAndPresent();
        shell_.PauseBetweenPasses();
    }
    EndWaitCursor();
}

void Editor::EnterColorTones() {
    if (AnyModeOn() || !state_.displayPhoto) {
        return;
    }
    DibBlock copy = CanvasDuplicate(DibPixels(state_.displayPhoto.get()));
    if (!copy) {
        return;
    }
    state_.modeCopy = std::move(copy);
    state_.modeCopyStride = kCanvasStride;
    state_.toneMode = true;
    ApplyColorTone(DibPixels(state_.modeCopy.get()), DibPixels(state_.displayPhoto.get()),
                   state_.currentColor.blue, state_.currentColor.green, state_.currentColor.red,
                   kCanvasWidth, kCanvasHeight);
    ShowBar(BAR_OK_CANCEL);
    OpenPicker();
    ComposeAndPresent();
}

// "Done" of rescale and adjust: the display photo becomes exactly what the
// screen shows, the uncovered parts in CurrentColor.
void Editor::Done() {
    if (!state_.rescaleMode && !state_.adjustMode) {
        return;
    }
    SetTitle(ResString(IDS_PRODUCT));
    state_.rescaleMode = false;
    state_.adjustMode = false;
    ShowBar(BAR_MAIN);
    // Without a mode copy (memory ran out while rescaling) the photo stays
    // as it was rather than become a plain colour.
    if (state_.modeCopy && state_.displayPhoto) {
        const PixelColor& fill = state_.currentColor;
        PlacePhoto(DibPixels(state_.modeCopy.get()), DibPixels(state_.displayPhoto.get()),
                   state_.scaledX, state_.scaledY, state_.scaledWidth, state_.scaledHeight,
                   static_cast<uint8_t>(fill.blue), static_cast<uint8_t>(fill.green),
                   static_cast<uint8_t>(fill.red));
        state_.photoChanged = true;
        state_.photoX = 0;
        state_.photoY = 0;
    }
    state_.modeCopy.reset();
    ComposeAndPresent();
}

// "OK" or the action key of the effect and colour tones modes: the display
// photo already holds the result.
void Editor::AcceptMode() {
    state_.toneMode = false;
    state_.effectMode = false;
    state_.picker.open = false;
    ShowBar(BAR_MAIN);
    state_.modeCopy.reset();
    state_.effectScratch = EdgeMap();
    ComposeAndPresent();
    state_.photoChanged = true;
}

// Photo changed is left as it was in every mode: changes made before the
// mode are still unsaved.
void Editor::CancelMode() {
    if (state_.rescaleMode || state_.adjustMode) {
        state_.rescaleMode = false;
        state_.adjustMode = false;
        ShowBar(BAR_MAIN);
        state_.modeCopy.reset();
        ComposeAndPresent();
        return;
    }
    if (state_.effectMode || state_.toneMode) {
        state_.effectMode = false;
        state_.toneMode = false;
        state_.picker.open = false;
        state_.effectScratch = EdgeMap();
        // The mode copy is the picture as it was when the mode began.
        if (state_.modeCopy) {
            state_.displayPhoto = std::move(state_.modeCopy);
        }
        state_.modeCopy.reset();
        ShowBar(BAR_MAIN);
        ComposeAndPresent();
    }
}

void Editor::Reset() {
    if (state_.rescaleMode &&
        (state_.scalePercent != 100 || state_.scaledX != 0 || state_.scaledY != 0)) {
        // The copy the mode began with, placed at the screen's corner.
        MakeModeCopy();
        state_.scaledX = 0;
        state_.scaledY = 0;
        ComposeAndPresent();
        return;
    }
    if (!state_.adjustMode) {
        return;
    }
    const int16_t start = StartLevel(state_.adjustKind);
    if (state_.adjustLevel == start) {
        return;
    }
    state_.adjustLevel = start;
    state_.modeCopy.reset();
    if (state_.displayPhoto) {
        state_.modeCopy = CanvasDuplicate(DibPixels(state_.displayPhoto.get()));
    }
    ComposeAndPresent();
}

void Editor::ResetPosition() {
    if (state_.photoX == 0 && state_.photoY == 0) {
        return;
    }
    state_.photoX = 0;
    state_.photoY = 0;
    ComposeAndPresent();
}

void Editor::IncreaseOrDecrease(bool increase) {
    if (state_.rescaleMode) {
        const int percent = state_.scalePercent;
        const int next = increase ? std::min(percent + kScaleStep, int{state_.scaleMaximum})
                                  : std::max(percent - kScaleStep, int{state_.scaleMinimum});
        if (next == percent) {
            return;
        }
        state_.scalePercent = ToShort(next);
        Rescale();
        ComposeAndPresent();
        return;
    }
    if (!state_.adjustMode) {
        return;
    }
    const int level = state_.adjustLevel;
    int next = level;
    if (state_.adjustKind == ADJUST_VIVIDNESS) {
        next = increase                          ? level + 5
               : level <= kVividnessNeutralLevel ? level - 1
                                                 : std::max(level - 5, int{kVividnessNeutralLevel});
    } else {
        next = increase ? level + 10 : level - 10;
    }
    ChangeAdjustLevel(ToShort(next));
}

// Holds the level within the kind's range; when it changed, adjusts the
// mode copy afresh from the display photo and shows it.
bool Editor::ChangeAdjustLevel(int16_t level) {
    const bool vividness = state_.adjustKind == ADJUST_VIVIDNESS;
    const int lowest = vividness ? kVividnessMinLevel : kAdjustLowest;
    const int highest = vividness ? kVividnessMaxLevel : kAdjustHighest;
    const int16_t held = ToShort(std::clamp(int{level}, lowest, highest));
    if (held == state_.adjustLevel) {
        return false;
    }
    state_.adjustLevel = held;
    if (state_.displayPhoto && state_.modeCopy) {
        AdjustTone(DibPixels(state_.displayPhoto.get()), DibPixels(state_.modeCopy.get()),
                   static_cast<AdjustKind>(state_.adjustKind), held, kCanvasWidth, kCanvasHeight);
    }
    ComposeAndPresent();
    return true;
}

void Editor::MoveCommand(uint16_t id) {
    if (!state_.rescaleMode) {
        // The menu's moves go one pixel at a time, without the keys' limits.
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
        ComposeAndPresent();
        return;
    }
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

// Throws away every change since the picture was opened (or saved) by
// reading its file again; before any Open that is the start-up picture.
void Editor::Recover() {
    if (!state_.photoChanged) {
        return;
    }
    const bool fromStartup = state_.recoverFromStartup;
    const std::string path = fromStartup ? StartupPicturePath() : state_.currentFile;
    if (!LoadCanvasPicture(path)) {
        std::string caption = ResString(IDS_PRODUCT);
        ShowMessage(caption, ResString(IDS_CANNOT_OPEN));
        return;
    }
    if (fromStartup) {
        state_.recoverFromStartup = true;
    }
}
