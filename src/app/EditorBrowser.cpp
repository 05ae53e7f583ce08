// The Open picture browser in the editor: "Open", the browser's keys, "OK",
// "Cancel" and "Change Folder".
#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "app/Strings.h"
#include "files/FilePaths.h"

// Unsaved changes are offered for saving first; the browser then lists the
// work folder over the picture area with its own bar. Nothing opens the
// browser from inside a mode: the mode's bar has no "File" menu.
void Editor::OpenCommand() {
    if (browser_ || state_.mode != EditMode::Normal) {
        return;
    }
    if (state_.photoChanged &&
        AskQuestion(ResString(IDS_SAVE_CAPTION), ResString(IDS_SAVE_QUESTION))) {
        SaveAsCommand();
    }
    {
        const WaitCursorScope wait(*this);
        browser_ =
            std::make_unique<OpenBrowser>(state_.workFolder, std::string(ResString(IDS_NO_FILES)));
        browser_->LoadVisibleThumbnails();
    }
    ShowBar(BAR_BROWSER);
    shell_.ShowBrowser(browser_.get());
}

// The commands while the browser is up. True when the command was the
// browser's, or one that cannot reach it and is ignored.
bool Editor::BrowserCommand(uint16_t id) {
    switch (id) {
        case CMD_OK:
            BrowserOk();
            return true;
        case CMD_CANCEL:
            SetTitle(ResString(IDS_PRODUCT));
            BrowserCancel();
            return true;
        case CMD_CHANGE_FOLDER:
            BrowserChangeFolder();
            return true;
        case CMD_ABOUT:
        case CMD_CLOSE:
            return false;
        default:
            return true;
    }
}

// The action key opens the selected file, or closes an empty browser; the
// d-pad moves the selection.
void Editor::BrowserKey(int16_t keyCode) {
    bool moved = false;
    switch (keyCode) {
        case KEY_ACTION:
            Command(browser_->Count() >= 1 ? CMD_OK : CMD_CANCEL);
            return;
        case KEY_LEFT:
        case KEY_UP:
            moved = browser_->Previous();
            break;
        case KEY_RIGHT:
        case KEY_DOWN:
            moved = browser_->Next();
            break;
        default:
            return;
    }
    if (moved) {
        LoadBrowserThumbnails();
        shell_.RepaintBrowser();
    }
}

// The selected file becomes the photo and its folder the work folder. A
// file that cannot be decoded changes nothing: the picture, the
// decorations, the current file and the work folder stay as they were, and
// the user is told.
void Editor::BrowserOk() {
    if (!browser_->Accept()) {
        return;
    }
    const std::string path = browser_->SelectedPath();
    const std::string folder = browser_->Folder();
    CloseBrowser();
    if (OpenPicture(path) && !EqualIgnoringCase(folder, state_.workFolder)) {
        state_.workFolder = folder;
    }
}

void Editor::BrowserCancel() {
    browser_->Cancel();
    CloseBrowser();
    ComposeAndPresent();
}

// The Select Folder dialog opens on the folder shown; a different folder
// chosen there is listed instead.
void Editor::BrowserChangeFolder() {
    std::string folder = browser_->Folder();
    if (!RunSelectFolderDialog(&folder) || !browser_->ChangeFolder(folder)) {
        return;
    }
    LoadBrowserThumbnails();
    shell_.RepaintBrowser();
}

// The rows on screen get their thumbnails before they are painted.
void Editor::LoadBrowserThumbnails() {
    if (!browser_->ThumbnailsPending()) {
        return;
    }
    const WaitCursorScope wait(*this);
    browser_->LoadVisibleThumbnails();
}

void Editor::CloseBrowser() {
    shell_.ShowBrowser(nullptr);
    browser_.reset();
    ShowBar(BAR_MAIN);
}
