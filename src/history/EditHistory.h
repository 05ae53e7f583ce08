// EditHistory: the editor's finished changes as steps, each with the state
// before and after it, so that Undo and Redo bring back the display photo
// and the decorations byte for byte.
//
// A snapshot holds the display photo, its offset and the decorations (the
// frame and the floating object with their pictures). Pictures are shared
// and never changed once taken: a snapshot taken with the latest one at
// hand shares every picture that is byte for byte the same, so a step costs
// about one display photo (95 KB) unless it changed the decorations too.
//
// The history keeps every step record (a few dozen bytes each, for the
// renders and recipes) and the snapshots of the newest kUndoLimit steps;
// older steps can no longer be undone. A step's before state shares its
// photo with the after state of the step before it, so the snapshots hold
// about one display photo per step that changed the photo, plus the
// decorations they differ in: some 10 MB for 100 such steps
// (bench/HistoryBench), at most twice that when every step also placed new
// decorations. The first step is the load and is never undone.
//
// Contract: nothing throws (a failed allocation while snapshotting or
// restoring is reported as false and changes nothing); calls that do not
// apply return null or false.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "decor/Scene.h"
#include "history/EditStep.h"

using SharedPicture = std::shared_ptr<const DibImage>;

struct EditSnapshot {
    SharedPicture photo;
    int16_t photoX = 0;
    int16_t photoY = 0;

    bool framePlaced = false;
    SharedPicture frameColour;
    SharedPicture frameMask;
    DecorationItem frameItem;

    bool objectPresent = false;
    int16_t objectType = -1;
    int16_t objectX = 0;
    int16_t objectY = 0;
    int16_t objectWidth = 0;
    int16_t objectHeight = 0;
    SharedPicture objectColour;
    SharedPicture objectMask;
    DecorationItem objectItem;
    std::string objectText;  // a typed word's line
};

// The scene's photo, offset and decorations. Pictures byte for byte equal
// to those of previous (may be null) are shared with it. False when memory
// runs out.
bool CaptureSnapshot(const Scene& scene, const EditSnapshot* previous, EditSnapshot* snapshot);

// Puts the snapshot back into the scene: the display photo's bytes, the
// offset, the frame and the object (with copies of their pictures). False,
// with the scene unchanged, when memory runs out.
bool RestoreSnapshot(const EditSnapshot& snapshot, Scene* scene);

class EditHistory {
  public:
    static constexpr size_t kUndoLimit = 100;

    // A new history: the load step and the state it made, which is also the
    // saved state.
    void Start(EditStep load, EditSnapshot after);

    // A finished change: the redo branch goes, and with it a saved state
    // that lay in it.
    void Record(EditStep step, EditSnapshot before, EditSnapshot after);
    // The last step made longer (a held key's run of moves): its record and
    // its after state are replaced. False when nothing can be extended.
    bool ExtendLast(EditStep step, EditSnapshot after);
    // The last applied step, or null right after Start.
    const EditStep* LastStep() const;

    int32_t UndoSteps() const;
    int32_t RedoSteps() const;
    // The state before the step undone / after the step redone, or null
    // when there is none.
    const EditSnapshot* Undo();
    const EditSnapshot* Redo();
    // The state the applied steps made (after the last one).
    const EditSnapshot* Current() const;

    // The applied steps are what the saved file holds.
    void MarkSaved();
    // The photo is the saved one: between the last applied step and the
    // saved one lie only steps that keep the photo (StepKeepsPhoto), or a
    // Recover back to the saved step ends the list.
    bool AtSaved() const;

    // Where Recover goes back to: the saved step while it is applied, else
    // the load; and that step's state.
    int32_t RecoverTarget() const;
    const EditSnapshot* RecoverSnapshot() const;

    // The records of the applied steps, load first.
    std::vector<EditStep> AppliedSteps() const;

    // Bytes of the distinct pictures the snapshots hold.
    size_t SnapshotBytes() const;

  private:
    struct Entry {
        EditStep step;
        EditSnapshot before;
        EditSnapshot after;
        bool undoable = false;  // both snapshots kept
    };
    void DropOldSnapshots();

    std::vector<Entry> entries_;
    size_t applied_ = 0;      // entries_[0 .. applied_) are applied
    int32_t saved_ = 0;       // the saved step's index, -1 when it was dropped
    EditSnapshot current_;    // the state the applied steps made
    EditSnapshot loadState_;  // kept for Recover whatever the limit drops
    EditSnapshot savedState_;
};
