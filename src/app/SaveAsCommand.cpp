// Saving the photo: the Save-as dialog's OK steps, SaveAsCommand and the
// "Save as" command.
#include "app/Editor.h"
#include "app/Strings.h"
#include "dialogs/FileNames.h"
#include "image/SavePicture.h"

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

    BeginWaitCursor();
    const bool written =
        state_.displayPhoto && SavePicture(state_.savePath, *state_.displayPhoto).Ok();
    EndWaitCursor();
    if (!written) {
        const std::string caption = ResString(IDS_PRODUCT);
        ShowMessage(caption, ResString(IDS_SAVE_FAILED));
        return SAVE_FAILED;
    }
    state_.currentFile = state_.savePath;
    return SAVE_WRITTEN;
}

// The extension of the format is always appended, also to a name that ends
// in one already. An existing file is replaced only after a Yes; any other
// answer keeps the dialog open.
bool Editor::SaveAsOkSteps(const std::string& name, PictureType format) {
    const bool bmp = format == PICTURE_BMP;
    const std::string path = JoinPath(state_.workFolder, name + (bmp ? ".bmp" : ".jpg"));
    std::string existing = path;
    if (FileExists(&existing, nullptr) &&
        !AskQuestion("Save File", ResString(IDS_REPLACE_QUESTION))) {
        return false;
    }
    state_.savePath = path;
    return true;
}

// Photo changed is cleared only when the picture was written: after a
// cancelled dialog or a failed write the changes are still unsaved.
void Editor::SaveAs() {
    SettleDecorations();
    if (SaveAsCommand() == SAVE_WRITTEN) {
        state_.photoChanged = false;
    }
}
