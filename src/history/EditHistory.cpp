#include "history/EditHistory.h"

#include <cstring>
#include <new>
#include <set>
#include <utility>

namespace {

// A copy of a picture's whole block, or null (for a null picture too).
DibBlock CopyPicture(const DibImage* picture) {
    if (picture == nullptr) {
        return nullptr;
    }
    const BitmapInfoHeader& header = picture->header;
    DibBlock copy = DibCreate(header.biWidth, header.biHeight, header.biBitCount);
    if (!copy || DibBlockBytes(copy->header) != DibBlockBytes(header)) {
        return nullptr;
    }
    std::memcpy(copy.get(), picture, DibBlockBytes(header));
    return copy;
}

bool SamePicture(const DibImage* a, const DibImage* b) {
    if (a == nullptr || b == nullptr) {
        return a == b;
    }
    const size_t bytes = DibBlockBytes(a->header);
    return bytes == DibBlockBytes(b->header) && std::memcmp(a, b, bytes) == 0;
}

// The picture shared: the earlier snapshot's when the bytes are the same,
// else a new copy. False when the copy cannot be made.
bool SharePicture(const DibImage* picture, const SharedPicture& earlier, SharedPicture* shared) {
    if (picture == nullptr) {
        shared->reset();
        return true;
    }
    if (earlier && SamePicture(picture, earlier.get())) {
        *shared = earlier;
        return true;
    }
    DibBlock copy = CopyPicture(picture);
    if (!copy) {
        return false;
    }
    // The shared owner frees the block as its DibBlock would.
    *shared = SharedPicture(copy.release(), [](const DibImage* image) {
        DibFree()(const_cast<DibImage*>(image));  // the block was made mutable by DibCreate
    });
    return static_cast<bool>(*shared);
}

// A scene picture given back from a snapshot: a copy, or null for none.
// False when the copy cannot be made.
bool RestorePicture(const SharedPicture& shared, DibBlock* picture) {
    if (!shared) {
        picture->reset();
        return true;
    }
    *picture = CopyPicture(shared.get());
    return static_cast<bool>(*picture);
}

size_t PictureBytes(const SharedPicture& picture) {
    return picture ? DibBlockBytes(picture->header) : 0;
}

void CollectPictures(const EditSnapshot& snapshot, std::set<const DibImage*>* seen, size_t* bytes) {
    for (const SharedPicture* picture :
         {&snapshot.photo, &snapshot.frameColour, &snapshot.frameMask, &snapshot.objectColour,
          &snapshot.objectMask}) {
        if (*picture && seen->insert(picture->get()).second) {
            *bytes += PictureBytes(*picture);
        }
    }
}

}  // namespace

bool CaptureSnapshot(const Scene& scene, const EditSnapshot* previous, EditSnapshot* snapshot) {
    const EditSnapshot none;
    const EditSnapshot& earlier = previous != nullptr ? *previous : none;
    EditSnapshot taken;
    taken.photoX = scene.photoX;
    taken.photoY = scene.photoY;
    taken.framePlaced = scene.frame.placed;
    taken.frameItem = scene.frame.item;
    const FloatingObject& object = scene.object;
    taken.objectPresent = object.present;
    taken.objectType = object.type;
    taken.objectX = object.x;
    taken.objectY = object.y;
    taken.objectWidth = object.width;
    taken.objectHeight = object.height;
    taken.objectItem = object.item;
    taken.objectText = object.text;
    // The photo may match the earlier one; a decoration's pictures match
    // the earlier picture of the same part.
    if (!SharePicture(scene.displayPhoto.get(), earlier.photo, &taken.photo) ||
        !SharePicture(scene.frame.colour.get(), earlier.frameColour, &taken.frameColour) ||
        !SharePicture(scene.frame.mask.get(), earlier.frameMask, &taken.frameMask) ||
        !SharePicture(object.colour.get(), earlier.objectColour, &taken.objectColour) ||
        !SharePicture(object.mask.get(), earlier.objectMask, &taken.objectMask)) {
        return false;
    }
    *snapshot = std::move(taken);
    return true;
}

bool RestoreSnapshot(const EditSnapshot& snapshot, Scene* scene) {
    // Every copy is made first, so that a failure leaves the scene as it was.
    DibBlock frameColour;
    DibBlock frameMask;
    DibBlock objectColour;
    DibBlock objectMask;
    if (!RestorePicture(snapshot.frameColour, &frameColour) ||
        !RestorePicture(snapshot.frameMask, &frameMask) ||
        !RestorePicture(snapshot.objectColour, &objectColour) ||
        !RestorePicture(snapshot.objectMask, &objectMask)) {
        return false;
    }
    DibBlock photo;
    const bool samePhotoSize =
        scene->displayPhoto && snapshot.photo &&
        DibBlockBytes(scene->displayPhoto->header) == DibBlockBytes(snapshot.photo->header);
    if (!samePhotoSize && !RestorePicture(snapshot.photo, &photo)) {
        return false;
    }
    if (samePhotoSize) {
        std::memcpy(scene->displayPhoto.get(), snapshot.photo.get(),
                    DibBlockBytes(snapshot.photo->header));
    } else {
        scene->displayPhoto = std::move(photo);
    }
    scene->photoX = snapshot.photoX;
    scene->photoY = snapshot.photoY;
    FrameLayer& frame = scene->frame;
    frame.placed = snapshot.framePlaced;
    frame.colour = std::move(frameColour);
    frame.mask = std::move(frameMask);
    frame.item = snapshot.frameItem;
    FloatingObject& object = scene->object;
    object.present = snapshot.objectPresent;
    object.type = snapshot.objectType;
    object.x = snapshot.objectX;
    object.y = snapshot.objectY;
    object.width = snapshot.objectWidth;
    object.height = snapshot.objectHeight;
    object.colour = std::move(objectColour);
    object.mask = std::move(objectMask);
    object.item = snapshot.objectItem;
    object.text = snapshot.objectText;
    return true;
}

void EditHistory::Start(EditStep load, EditSnapshot after) {
    entries_.clear();
    Entry entry;
    entry.step = std::move(load);
    entry.after = after;
    entries_.push_back(std::move(entry));
    applied_ = 1;
    saved_ = 0;
    current_ = after;
    loadState_ = after;
    savedState_ = std::move(after);
}

void EditHistory::Record(EditStep step, EditSnapshot before, EditSnapshot after) {
    if (entries_.empty()) {
        return;
    }
    entries_.resize(applied_);
    if (saved_ >= static_cast<int32_t>(applied_)) {
        saved_ = -1;
        savedState_ = EditSnapshot();
    }
    Entry entry;
    entry.step = std::move(step);
    entry.before = std::move(before);
    entry.after = after;
    entry.undoable = true;
    entries_.push_back(std::move(entry));
    applied_ = entries_.size();
    current_ = std::move(after);
    DropOldSnapshots();
}

bool EditHistory::ExtendLast(EditStep step, EditSnapshot after) {
    if (applied_ < 2 || applied_ != entries_.size() ||
        saved_ == static_cast<int32_t>(applied_) - 1) {
        return false;
    }
    Entry& last = entries_[applied_ - 1];
    if (!last.undoable) {
        return false;
    }
    last.step = std::move(step);
    last.after = after;
    current_ = std::move(after);
    return true;
}

const EditStep* EditHistory::LastStep() const {
    return applied_ >= 2 ? &entries_[applied_ - 1].step : nullptr;
}

int32_t EditHistory::UndoSteps() const {
    int32_t count = 0;
    for (size_t i = applied_; i > 1 && entries_[i - 1].undoable; --i) {
        ++count;
    }
    return count;
}

int32_t EditHistory::RedoSteps() const {
    return static_cast<int32_t>(entries_.size() - applied_);
}

const EditSnapshot* EditHistory::Undo() {
    if (UndoSteps() == 0) {
        return nullptr;
    }
    --applied_;
    current_ = entries_[applied_].before;
    return &current_;
}

const EditSnapshot* EditHistory::Redo() {
    if (applied_ >= entries_.size()) {
        return nullptr;
    }
    current_ = entries_[applied_].after;
    ++applied_;
    return &current_;
}

const EditSnapshot* EditHistory::Current() const {
    return entries_.empty() ? nullptr : &current_;
}

void EditHistory::MarkSaved() {
    if (entries_.empty()) {
        return;
    }
    saved_ = static_cast<int32_t>(applied_) - 1;
    savedState_ = current_;
}

bool EditHistory::AtSaved() const {
    if (entries_.empty()) {
        return true;
    }
    if (saved_ < 0) {
        return false;
    }
    // Steps that leave the photo as it is lie between the saved step and
    // the last applied one, on either side; a Recover to the saved step
    // brings its photo back.
    const int32_t last = static_cast<int32_t>(applied_) - 1;
    for (int32_t i = last; i > saved_; --i) {
        const EditStep& step = entries_[static_cast<size_t>(i)].step;
        if (step.kind == STEP_RECOVER && step.target == saved_) {
            return true;
        }
        if (!StepKeepsPhoto(step.kind)) {
            return false;
        }
    }
    for (int32_t i = last + 1; i <= saved_; ++i) {
        if (!StepKeepsPhoto(entries_[static_cast<size_t>(i)].step.kind)) {
            return false;
        }
    }
    return true;
}

int32_t EditHistory::RecoverTarget() const {
    return saved_ >= 0 && saved_ < static_cast<int32_t>(applied_) ? saved_ : 0;
}

const EditSnapshot* EditHistory::RecoverSnapshot() const {
    if (entries_.empty()) {
        return nullptr;
    }
    return RecoverTarget() == saved_ ? &savedState_ : &loadState_;
}

std::vector<EditStep> EditHistory::AppliedSteps() const {
    std::vector<EditStep> steps;
    steps.reserve(applied_);
    for (size_t i = 0; i < applied_; ++i) {
        steps.push_back(entries_[i].step);
    }
    return steps;
}

size_t EditHistory::SnapshotBytes() const {
    std::set<const DibImage*> seen;
    size_t bytes = 0;
    for (const Entry& entry : entries_) {
        CollectPictures(entry.before, &seen, &bytes);
        CollectPictures(entry.after, &seen, &bytes);
    }
    for (const EditSnapshot* snapshot : {&current_, &loadState_, &savedState_}) {
        CollectPictures(*snapshot, &seen, &bytes);
    }
    return bytes;
}

void EditHistory::DropOldSnapshots() {
    size_t kept = 0;
    for (const Entry& entry : entries_) {
        kept += entry.undoable ? 1 : 0;
    }
    for (size_t i = 1; i < entries_.size() && kept > kUndoLimit; ++i) {
        Entry& entry = entries_[i];
        if (entry.undoable) {
            entry.undoable = false;
            entry.before = EditSnapshot();
            entry.after = EditSnapshot();
            --kept;
        }
    }
}
