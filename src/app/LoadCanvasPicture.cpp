// LoadCanvasPicture: makes a picture file the display photo.
#include <utility>

#include "app/Editor.h"
#include "decor/Decorations.h"
#include "image/LoadPicture.h"

// The file is decoded into a picture of its own first, so that a file that
// cannot be decoded leaves the display photo, the decorations, the position
// and the current file exactly as they were; the caller is told and shows
// the message.
bool Editor::LoadCanvasPicture(const std::string& path) {
    BeginWaitCursor();
    DibBlock decoded = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    LoadError error = LOAD_BAD_PICTURE;
    if (decoded) {
        error = LoadPictureInto(path, *decoded, LoadRequest()).error;
    }
    if (!decoded || error != LOAD_OK) {
        EndWaitCursor();
        return false;
    }
    if (state_.displayPhoto) {
        CanvasCopy(DibPixels(decoded.get()), DibPixels(state_.displayPhoto.get()));
    } else {
        state_.displayPhoto = std::move(decoded);
    }
    state_.recoverFromStartup = false;
    EndWaitCursor();
    ResetAfterLoad();
    if (started_) {
        ComposeAndPresent();
    }
    return true;
}

// A new picture starts unmoved, unchanged and without decorations; the
// decorations on screen go without a question.
void Editor::ResetAfterLoad() {
    state_.scaleMaximum = 155;
    state_.scaleMinimum = 44;
    RemoveFloatingObject(&state_);
    state_.object.type = OBJECT_NONE;
    RemoveFrame(&state_);
    state_.photoChanged = false;
    state_.photoX = 0;
    state_.photoY = 0;
}
