// The editor's file operations: a picture file made the display photo
// (start-up, Open, Recover) and the photo saved through the Save-as dialog.
#include <utility>

#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Decorations.h"
#include "files/FilePaths.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"

bool Editor::OpenPicture(const std::string& path) {
    if (state_.messageBoxOpen || browser_ || state_.mode != EditMode::Normal) {
        return false;
    }
    bool damaged = false;
    if (!LoadCanvasPicture(path, &damaged)) {
        ComposeAndPresent();
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return false;
    }
    state_.currentFile = path;
    if (damaged) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_DAMAGED_PICTURE));
    }
    return true;
}

// The file is decoded into a picture of its own first, so that a file that
// cannot be decoded leaves the display photo, the decorations, the position
// and the current file exactly as they were; the caller is told and shows
// the message. damaged, when given, tells whether only part of the file
// could be read.
bool Editor::LoadCanvasPicture(const std::string& path, bool* damaged) {
    bool partial = false;
    if (!DecodeIntoPhoto(path, &partial)) {
        return false;
    }
    ResetAfterLoad();
    if (started_) {
        ComposeAndPresent();
    }
    if (damaged != nullptr) {
        *damaged = partial;
    }
    return true;
}

// The decoding under the wait cursor: the file centred in 176 x 180 and,
// only when that worked, copied into the display photo.
bool Editor::DecodeIntoPhoto(const std::string& path, bool* damaged) {
    const WaitCursorScope wait(*this);
    DibBlock decoded = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    LoadResult loaded;
    if (decoded) {
        loaded = LoadPictureInto(path, *decoded, LoadRequest());
    }
    if (!decoded || !loaded.Ok()) {
        return false;
    }
    *damaged = loaded.damaged;
    if (state_.displayPhoto) {
        CanvasCopy(DibPixels(decoded.get()), DibPixels(state_.displayPhoto.get()));
    } else {
        state_.displayPhoto = std::move(decoded);
    }
    state_.recoverFromStartup = false;
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

// Throws away every change since the picture was opened (or saved) by
// reading its file again; before any Open that is the start-up picture. A
// damaged file is told about again, as at Open; the start-up picture is the
// program's own and never is (nor at start-up).
void Editor::Recover() {
    if (!state_.photoChanged) {
        return;
    }
    const bool fromStartup = state_.recoverFromStartup;
    const std::string path = fromStartup ? StartupPicturePath() : state_.currentFile;
    bool damaged = false;
    if (!LoadCanvasPicture(path, &damaged)) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return;
    }
    if (fromStartup) {
        state_.recoverFromStartup = true;
    } else if (damaged) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_DAMAGED_PICTURE));
    }
}

// Photo changed is cleared only when the picture was written: after a
// cancelled dialog or a failed write the changes are still unsaved.
void Editor::SaveAs() {
    SettleDecorations();
    if (SaveAsCommand() == SAVE_WRITTEN) {
        state_.photoChanged = false;
    }
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
    bool accepted = false;
    request.accept = [this, &accepted](const std::string& name, PictureType format) {
        accepted = SaveAsOkSteps(name, format);
        return accepted;
    };
    if (!RunSaveAsDialog(request) || !accepted) {
        return SAVE_CANCELLED;
    }
    if (!WritePhoto(request.jpegQuality)) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_SAVE_FAILED));
        return SAVE_FAILED;
    }
    state_.currentFile = state_.savePath;
    return SAVE_WRITTEN;
}

// The extension of the format is always appended, also to a name that ends
// in one already. An existing file is replaced only after a Yes; any other
// answer keeps the dialog open.
bool Editor::SaveAsOkSteps(const std::string& name, PictureType format) {
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

// The display photo written to the chosen path, under the wait cursor; the
// quality counts for a JPEG only.
bool Editor::WritePhoto(int jpegQuality) {
    const WaitCursorScope wait(*this);
    SaveOptions options;
    options.jpegQuality = jpegQuality;
    const bool written =
        state_.displayPhoto && SavePicture(state_.savePath, *state_.displayPhoto, options).Ok();
    return written;
}
