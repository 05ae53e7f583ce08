// The editor's file operations: a picture file made the display photo
// (start-up, Open), Recover, and the photo saved through the Save-as dialog,
// at the screen's size or rendered again at full size, with its recipe.
#include <utility>
#include <vector>

#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Decorations.h"
#include "files/FilePaths.h"
#include "history/Recipe.h"
#include "history/RenderHistory.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"

bool Editor::OpenPicture(const std::string& path) {
    if (state_.messageBoxOpen || browser_ || state_.mode != EditMode::Normal) {
        return false;
    }
    if (!LoadCanvasPicture(path)) {
        ComposeAndPresent();
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return false;
    }
    state_.currentFile = path;
    return true;
}

// The file is decoded into a picture of its own first, so that a file that
// cannot be decoded leaves the display photo, the decorations, the position
// and the current file exactly as they were; the caller is told and shows
// the message.
bool Editor::LoadCanvasPicture(const std::string& path) {
    if (!DecodeIntoPhoto(path)) {
        return false;
    }
    ResetAfterLoad();
    StartHistory(path);
    if (started_) {
        ComposeAndPresent();
    }
    return true;
}

// The decoding under the wait cursor: the file centred in 176 x 180 and,
// only when that worked, copied into the display photo.
bool Editor::DecodeIntoPhoto(const std::string& path) {
    const WaitCursorScope wait(*this);
    DibBlock decoded = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    LoadError error = LOAD_BAD_PICTURE;
    if (decoded) {
        error = LoadPictureInto(path, *decoded, LoadRequest()).error;
    }
    if (!decoded || error != LOAD_OK) {
        return false;
    }
    if (state_.displayPhoto) {
        CanvasCopy(DibPixels(decoded.get()), DibPixels(state_.displayPhoto.get()));
    } else {
        state_.displayPhoto = std::move(decoded);
    }
    return true;
}

// A new picture starts unmoved, unchanged and without decorations; the
// decorations on screen go without a question.
void Editor::ResetAfterLoad() {
    RemoveFloatingObject(&state_);
    state_.object.type = OBJECT_NONE;
    RemoveFrame(&state_);
    state_.photoChanged = false;
    state_.photoX = 0;
    state_.photoY = 0;
}

// Throws away every change since the picture was opened (or saved): the
// photo of that step comes back from the history, unmoved and without
// decorations, as one more step that Undo takes back.
void Editor::Recover() {
    if (!state_.photoChanged) {
        return;
    }
    const EditSnapshot* recovered = state_.history.RecoverSnapshot();
    EditSnapshot before;
    if (recovered == nullptr || !TakeSnapshot(&before)) {
        return;
    }
    EditSnapshot target = *recovered;
    target.photoX = 0;
    target.photoY = 0;
    target.framePlaced = false;
    target.frameColour.reset();
    target.frameMask.reset();
    target.frameItem = DecorationItem();
    target.objectPresent = false;
    target.objectType = OBJECT_NONE;
    target.objectColour.reset();
    target.objectMask.reset();
    target.objectItem = DecorationItem();
    if (!RestoreSnapshot(target, &state_)) {
        return;
    }
    EditStep step;
    step.kind = STEP_RECOVER;
    step.target = state_.history.RecoverTarget();
    RecordStep(std::move(step), before);
    ComposeAndPresent();
}

// Photo changed is cleared only when the picture was written (the history
// marks the step saved): after a cancelled dialog or a failed write the
// changes are still unsaved.
void Editor::SaveAs() {
    SettleDecorations();
    SaveAsCommand();
}

// The dialog proposes the current file's title without its last extension
// ("Sample" before any file) in the work folder, and opens on JPEG. The
// photo is written only after the dialog ended with OK; a failure is
// reported and leaves the current file as it was.
Editor::SaveOutcome Editor::SaveAsCommand() {
    SaveAsDialogRequest request;
    request.folder = state_.workFolder;
    if (!FileTitleFromPath(state_.currentFile, &request.proposedName, false)) {
        request.proposedName = "Sample";
    }
    request.format = PICTURE_JPEG;
    // "Full" renders the history again from its source at the largest
    // factor the source's pixels allow.
    int32_t sourceWidth = 0;
    int32_t sourceHeight = 0;
    const std::vector<EditStep> steps = state_.history.AppliedSteps();
    if (!steps.empty() && ReadPictureSize(steps.front().source, &sourceWidth, &sourceHeight)) {
        request.fullFactor = FullSizeFactor(sourceWidth, sourceHeight);
    }
    bool accepted = false;
    request.accept = [this, &accepted](const std::string& name, PictureType format) {
        accepted = SaveAsOkSteps(name, format);
        return accepted;
    };
    if (!RunSaveAsDialog(request) || !accepted) {
        return SAVE_CANCELLED;
    }
    saveFactor_ = request.factor;
    saveKeepEdits_ = request.keepEdits;
    if (!WritePhoto()) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_SAVE_FAILED));
        return SAVE_FAILED;
    }
    state_.currentFile = state_.savePath;
    state_.history.MarkSaved();
    SyncPhotoChanged();
    return SAVE_WRITTEN;
}

// The extension of the format is always appended, also to a name that ends
// in one already. An existing file is replaced only after a Yes; any other
// answer keeps the dialog open.
bool Editor::SaveAsOkSteps(const std::string& name, PictureType format) {
    const bool bmp = format == PICTURE_BMP;
    const std::string path = JoinPath(state_.workFolder, name + (bmp ? ".bmp" : ".jpg"));
    if (FileExists(path) &&
        !AskQuestion(ResString(IDS_REPLACE_CAPTION), ResString(IDS_REPLACE_QUESTION))) {
        return false;
    }
    state_.savePath = path;
    return true;
}

// The picture written to the chosen path, under the wait cursor: the
// display photo at the screen's size, else the history rendered again at
// the chosen factor; then the recipe beside it when asked for.
bool Editor::WritePhoto() {
    const WaitCursorScope wait(*this);
    const std::vector<EditStep> steps = state_.history.AppliedSteps();
    if (saveFactor_ > 1) {
        RenderOptions options;
        options.assetFolder = assetFolder_;
        options.factor = saveFactor_;
        const RenderResult rendered = RenderHistory(steps, options);
        if (!rendered.Ok() || !SavePicture(state_.savePath, *rendered.picture).Ok()) {
            return false;
        }
    } else if (!state_.displayPhoto || !SavePicture(state_.savePath, *state_.displayPhoto).Ok()) {
        return false;
    }
    return !saveKeepEdits_ || WriteRecipeFile(RecipePathFor(state_.savePath), steps);
}
