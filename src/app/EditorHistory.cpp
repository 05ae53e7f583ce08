// The editor's history: a step recorded where each change finishes (the
// load, a run of moves, Done, OK, a merge, Delete, Recover), and Undo and
// Redo, which put the snapshot of the state before or after a step back.
#include <algorithm>
#include <cstdint>
#include <utility>

#include "app/Commands.h"
#include "app/Editor.h"
#include "decor/Chooser.h"
#include "decor/Decorations.h"

// A new history begins with the picture just loaded (or, with source empty,
// the white canvas a missing start-up picture leaves).
void Editor::StartHistory(const std::string& source) {
    EditStep load;
    load.kind = STEP_LOAD;
    load.source = source;
    EditSnapshot after;
    TakeSnapshot(&after);
    state_.history.Start(std::move(load), std::move(after));
    moveRun_ = 0;
    SyncPhotoChanged();
}

bool Editor::TakeSnapshot(EditSnapshot* snapshot) const {
    return CaptureSnapshot(state_, state_.history.Current(), snapshot);
}

// The change is done: the state now is the step's after state. A snapshot
// that cannot be taken (memory ran out) leaves the step unrecorded; the
// change itself stands.
void Editor::RecordStep(EditStep step, const EditSnapshot& before) {
    EditSnapshot after;
    if (!CaptureSnapshot(state_, &before, &after)) {
        return;
    }
    state_.history.Record(std::move(step), before, std::move(after));
    moveRun_ = 0;
    SyncPhotoChanged();
}

// The photo moved from oldX, oldY to where it is now. A move that continues
// the run of the move before it makes that step longer instead of adding
// one.
void Editor::RecordMove(int32_t run, int16_t oldX, int16_t oldY) {
    EditStep step;
    step.kind = STEP_MOVE;
    step.x = state_.photoX;
    step.y = state_.photoY;
    EditSnapshot after;
    if (!TakeSnapshot(&after)) {
        return;
    }
    const EditStep* last = state_.history.LastStep();
    const bool continues =
        run != 0 && run == runBefore_ && last != nullptr && last->kind == STEP_MOVE;
    if (!continues || !state_.history.ExtendLast(step, after)) {
        // A move changes nothing but the offset.
        EditSnapshot before = after;
        before.photoX = oldX;
        before.photoY = oldY;
        state_.history.Record(std::move(step), std::move(before), std::move(after));
    }
    moveRun_ = run;
    SyncPhotoChanged();
}

// The photo can move while a mode is on (the keys of the effect and tones
// modes, a "Move ..." command). The mode's own step starts from modeBefore_,
// the state as the mode began, so such a move is recorded as the mode ends,
// on the photo as it was then, and the mode's step follows it.
void Editor::RecordModeMove() {
    if (!modeBefore_.photo ||
        (state_.photoX == modeBefore_.photoX && state_.photoY == modeBefore_.photoY)) {
        return;
    }
    EditStep step;
    step.kind = STEP_MOVE;
    step.x = state_.photoX;
    step.y = state_.photoY;
    EditSnapshot after = modeBefore_;
    after.photoX = state_.photoX;
    after.photoY = state_.photoY;
    state_.history.Record(std::move(step), modeBefore_, after);
    modeBefore_ = std::move(after);
    SyncPhotoChanged();
}

// Burns in the frame or the floating object and records the step, with
// what the step needs taken before the merge removes it.
bool Editor::MergeWithStep(bool frame) {
    EditSnapshot before;
    const bool snapshot = TakeSnapshot(&before);
    EditStep step;
    if (frame) {
        step.kind = STEP_FRAME;
        step.item = state_.frame.item;
    } else {
        const FloatingObject& object = state_.object;
        step.kind = STEP_OBJECT;
        step.item = object.item;
        // A typed word is made again from its line, not from a file.
        if (!object.text.empty()) {
            step.text = object.text;
            step.item = DecorationItem();
            step.item.kind = object.type == OBJECT_WORD ? DECOR_WORD : DECOR_COLORFUL_WORD;
        }
        // Where the object lands on the photo, as MergeFloatingObject puts it.
        step.x = std::clamp(object.x - state_.photoX, INT16_MIN, INT16_MAX);
        step.y = std::clamp(object.y - state_.photoY, INT16_MIN, INT16_MAX);
        step.color = state_.currentColor;
    }
    const bool merged = frame ? MergeFrame(&state_) : MergeFloatingObject(&state_);
    if (merged && snapshot) {
        RecordStep(std::move(step), before);
    }
    return merged;
}

// Undo and Redo apply to the picture as the main bar shows it: not in a
// mode, nor over the picker, a chooser or the browser.
bool Editor::HistoryCommandsOpen() const {
    return state_.mode == EditMode::Normal && !state_.picker.open && !state_.chooser.AnyOpen() &&
           !browser_;
}

void Editor::UndoOrRedo(bool undo) {
    if (!HistoryCommandsOpen()) {
        return;
    }
    EditHistory& history = state_.history;
    if ((undo ? history.UndoSteps() : history.RedoSteps()) == 0) {
        return;
    }
    // The pictures are copied into the scene before the history moves, so
    // that running out of memory leaves both as they were.
    const EditSnapshot target = undo ? *history.Undo() : *history.Redo();
    if (!RestoreSnapshot(target, &state_)) {
        if (undo) {
            history.Redo();
        } else {
            history.Undo();
        }
        return;
    }
    moveRun_ = 0;
    SyncPhotoChanged();
    ComposeAndPresent();
}

void Editor::SyncPhotoChanged() {
    state_.photoChanged = !state_.history.AtSaved();
}
