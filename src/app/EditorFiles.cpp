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

namespace {

// A name the work folder can take as it is: no folder separator, no control
// character (C0, DEL, or C1 written in UTF-8), not "." or "..", and more than
// blanks.
bool AcceptableFileName(const std::string& name) {
    if (name == "." || name == ".." || name.find_first_not_of(' ') == std::string::npos) {
        return false;
    }
    for (size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        const bool c1 = c == 0xC2 && i + 1 < name.size() &&
                        static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(name[i + 1]) <= 0x9F;
        if (c == '/' || c < 0x20 || c == 0x7F || c1) {
            return false;
        }
    }
    return true;
}

}  // namespace

bool Editor::OpenPicture(const std::string& path) {
    if (state_.messageBoxOpen || browser_ || state_.mode != EditMode::Normal) {
        return false;
    }
    const CanvasLoad loaded = LoadCanvasPicture(path);
    if (loaded == CANVAS_NOT_LOADED) {
        ComposeAndPresent();
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return false;
    }
    state_.currentFile = path;
    if (loaded == CANVAS_LOADED_DAMAGED) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_DAMAGED_PICTURE));
    }
    return true;
}

// The picture is decoded before anything on screen is touched, so that a
// file that cannot be opened leaves even an open mode or browser as it was.
// A failed save keeps the picture with its changes: opening another would
// lose them.
OpenRequestOutcome Editor::OpenRequestedPicture(const std::string& path) {
    if (state_.messageBoxOpen) {
        return OPEN_REQUEST_WAIT;
    }
    if (!started_) {
        return OPEN_REQUEST_NOT_OPENED;
    }
    DecodedPicture decoded = DecodeCanvasPicture(path);
    if (!decoded.picture) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return OPEN_REQUEST_NOT_OPENED;
    }
    if (browser_ || state_.mode != EditMode::Normal) {
        SetTitle(ResString(IDS_PRODUCT));
        if (browser_) {
            BrowserCancel();
        } else {
            CancelMode();
        }
    }
    if (state_.photoChanged &&
        AskQuestion(ResString(IDS_SAVE_CAPTION), ResString(IDS_SAVE_QUESTION)) &&
        SaveAsCommand() == SAVE_FAILED) {
        return OPEN_REQUEST_NOT_OPENED;
    }
    InstallPhoto(std::move(decoded.picture));
    ResetAfterLoad();
    StartHistory(path);
    ComposeAndPresent();
    state_.currentFile = path;
    const std::string folder = WithoutTrailingSlash(FolderOf(path));
    if (!EqualIgnoringCase(folder, state_.workFolder)) {
        state_.workFolder = folder;
    }
    if (decoded.damaged) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_DAMAGED_PICTURE));
    }
    return OPEN_REQUEST_OPENED;
}

// The file is decoded into a picture of its own first, so that a file that
// cannot be decoded leaves the display photo, the decorations, the position
// and the current file exactly as they were; the caller is told and shows
// the message.
Editor::CanvasLoad Editor::LoadCanvasPicture(const std::string& path) {
    DecodedPicture decoded = DecodeCanvasPicture(path);
    if (!decoded.picture) {
        return CANVAS_NOT_LOADED;
    }
    InstallPhoto(std::move(decoded.picture));
    ResetAfterLoad();
    StartHistory(path);
    if (started_) {
        ComposeAndPresent();
    }
    return decoded.damaged ? CANVAS_LOADED_DAMAGED : CANVAS_LOADED;
}

// The file centred in 176 x 180, decoded under the wait cursor into a
// picture of its own; no picture when nothing of it can be read.
Editor::DecodedPicture Editor::DecodeCanvasPicture(const std::string& path) {
    const WaitCursorScope wait(*this);
    DecodedPicture decoded;
    decoded.picture = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (!decoded.picture) {
        return decoded;
    }
    const LoadResult loaded = LoadPictureInto(path, *decoded.picture, LoadRequest());
    if (!loaded.Ok()) {
        decoded.picture.reset();
    }
    decoded.damaged = loaded.damaged;
    return decoded;
}

void Editor::InstallPhoto(DibBlock decoded) {
    if (state_.displayPhoto) {
        CanvasCopy(DibPixels(decoded.get()), DibPixels(state_.displayPhoto.get()));
    } else {
        state_.displayPhoto = std::move(decoded);
    }
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
    target.objectText.clear();
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
// ("Sample" before any file) in the work folder, and opens on JPEG of Good
// quality. The photo is written only after the dialog ended with OK, at the
// quality chosen there; a failure is reported and leaves the current file as
// it was.
Editor::SaveOutcome Editor::SaveAsCommand() {
    SaveAsDialogRequest request;
    request.folder = state_.workFolder;
    if (!FileTitleFromPath(state_.currentFile, &request.proposedName, false)) {
        request.proposedName = "Sample";
    }
    request.format = PICTURE_JPEG;
    // "Full" renders the history again from its source at the largest
    // factor the source's pixels allow.
    const std::vector<EditStep> steps = state_.history.AppliedSteps();
    if (!steps.empty()) {
        const LoadResult source = ReadPictureSize(steps.front().source);
        if (source.Ok()) {
            request.fullFactor = FullSizeFactor(source.width, source.height);
        }
    }
    bool accepted = false;
    request.accept = [this, &accepted](const std::string& name, PictureType format) {
        accepted = SaveAsOkSteps(name, format);
        return accepted;
    };
    if (!RunSaveAsDialog(request) || !accepted) {
        return SAVE_CANCELLED;
    }
    if (!WritePhoto(request)) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_SAVE_FAILED));
        return SAVE_FAILED;
    }
    state_.currentFile = state_.savePath;
    state_.history.MarkSaved();
    SyncPhotoChanged();
    shell_.PictureSaved(state_.savePath);
    return SAVE_WRITTEN;
}

// A name that would leave the work folder or hold control characters is
// refused with a message. The extension of the format is always appended,
// also to a name that ends in one already. An existing file is replaced
// only after a Yes; any other answer keeps the dialog open.
bool Editor::SaveAsOkSteps(const std::string& name, PictureType format) {
    if (!AcceptableFileName(name)) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_BAD_FILE_NAME));
        return false;
    }
    const char* extension = format == PICTURE_BMP   ? ".bmp"
                            : format == PICTURE_PNG ? ".png"
                                                    : ".jpg";
    const std::string path = JoinPath(state_.workFolder, name + extension);
    if (FileExists(path) &&
        !AskQuestion(ResString(IDS_REPLACE_CAPTION), ResString(IDS_REPLACE_QUESTION))) {
        return false;
    }
    state_.savePath = path;
    return true;
}

// The picture written to the chosen path, under the wait cursor: the
// display photo at the screen's size, else the history rendered again at
// the chosen factor; a JPEG at the chosen quality; then the recipe beside it
// when asked for.
bool Editor::WritePhoto(const SaveAsDialogRequest& request) {
    const WaitCursorScope wait(*this);
    SaveOptions save;
    save.jpegQuality = request.jpegQuality;
    const std::vector<EditStep> steps = state_.history.AppliedSteps();
    if (request.factor > 1) {
        RenderOptions options;
        options.assetFolder = assetFolder_;
        options.factor = request.factor;
        const RenderResult rendered = RenderHistory(steps, options);
        if (!rendered.Ok() || !SavePicture(state_.savePath, *rendered.picture, save).Ok()) {
            return false;
        }
    } else if (!state_.displayPhoto ||
               !SavePicture(state_.savePath, *state_.displayPhoto, save).Ok()) {
        return false;
    }
    return !request.keepEdits || WriteRecipeFile(RecipePathFor(state_.savePath), steps);
}
