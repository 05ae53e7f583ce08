// The editor's file operations: a picture file made the display photo
// (start-up, Open, Recover) and the photo saved through the Save-as dialog.
#include <utility>

#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Decorations.h"
#include "files/FilePaths.h"
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
    if (!LoadCanvasPicture(path)) {
        ComposeAndPresent();
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return false;
    }
    state_.currentFile = path;
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
    DibBlock decoded = DecodeCanvasPicture(path);
    if (!decoded) {
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
    InstallPhoto(std::move(decoded));
    ResetAfterLoad();
    ComposeAndPresent();
    state_.currentFile = path;
    const std::string folder = WithoutTrailingSlash(FolderOf(path));
    if (!EqualIgnoringCase(folder, state_.workFolder)) {
        state_.workFolder = folder;
    }
    return OPEN_REQUEST_OPENED;
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
    if (started_) {
        ComposeAndPresent();
    }
    return true;
}

// The file centred in 176 x 180, decoded under the wait cursor into a
// picture of its own; null when it cannot be decoded.
DibBlock Editor::DecodeCanvasPicture(const std::string& path) {
    const WaitCursorScope wait(*this);
    DibBlock decoded = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    LoadError error = LOAD_BAD_PICTURE;
    if (decoded) {
        error = LoadPictureInto(path, *decoded, LoadRequest()).error;
    }
    if (error != LOAD_OK) {
        decoded.reset();
    }
    return decoded;
}

// Only a file that could be decoded is copied into the display photo.
bool Editor::DecodeIntoPhoto(const std::string& path) {
    DibBlock decoded = DecodeCanvasPicture(path);
    if (!decoded) {
        return false;
    }
    InstallPhoto(std::move(decoded));
    return true;
}

void Editor::InstallPhoto(DibBlock decoded) {
    if (state_.displayPhoto) {
        CanvasCopy(DibPixels(decoded.get()), DibPixels(state_.displayPhoto.get()));
    } else {
        state_.displayPhoto = std::move(decoded);
    }
    state_.recoverFromStartup = false;
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
// reading its file again; before any Open that is the start-up picture.
void Editor::Recover() {
    if (!state_.photoChanged) {
        return;
    }
    const bool fromStartup = state_.recoverFromStartup;
    const std::string path = fromStartup ? StartupPicturePath() : state_.currentFile;
    if (!LoadCanvasPicture(path)) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_CANNOT_OPEN));
        return;
    }
    if (fromStartup) {
        state_.recoverFromStartup = true;
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
    bool accepted = false;
    request.accept = [this, &accepted](const std::string& name, PictureType format) {
        accepted = SaveAsOkSteps(name, format);
        return accepted;
    };
    if (!RunSaveAsDialog(request) || !accepted) {
        return SAVE_CANCELLED;
    }
    if (!WritePhoto()) {
        ShowMessage(ResString(IDS_PRODUCT), ResString(IDS_SAVE_FAILED));
        return SAVE_FAILED;
    }
    state_.currentFile = state_.savePath;
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
    const bool bmp = format == PICTURE_BMP;
    const std::string path = JoinPath(state_.workFolder, name + (bmp ? ".bmp" : ".jpg"));
    if (FileExists(path) &&
        !AskQuestion(ResString(IDS_REPLACE_CAPTION), ResString(IDS_REPLACE_QUESTION))) {
        return false;
    }
    state_.savePath = path;
    return true;
}

// The display photo written to the chosen path, under the wait cursor.
bool Editor::WritePhoto() {
    const WaitCursorScope wait(*this);
    const bool written = state_.displayPhoto &&
                         SavePicture(state_.savePath, *state_.displayPhoto).Ok();
    return written;
}
