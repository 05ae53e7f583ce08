// The Open picture browser in the editor: "Open", the browser's keys, "OK",
// "Cancel" and "Change Folder", and its thumbnails, which the shell makes
// while the browser goes on taking keys.
#include <memory>
#include <utility>

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
    browser_ =
        std::make_unique<OpenBrowser>(state_.workFolder, std::string(ResString(IDS_NO_FILES)));
    AdoptKeptThumbnails();
    RequestBrowserThumbnails();
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
        RequestBrowserThumbnails();
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
    AdoptKeptThumbnails();
    RequestBrowserThumbnails();
    shell_.RepaintBrowser();
}

// The thumbnails kept from the last browser, when this one shows their
// folder; otherwise they wait for a browser that does.
void Editor::AdoptKeptThumbnails() {
    if (keptThumbnails_.folder == browser_->Folder()) {
        browser_->AdoptThumbnails(std::move(keptThumbnails_));
        keptThumbnails_ = ThumbnailShelf();
    }
}

// Asks the shell for the thumbnails the rows on screen and just below them
// still lack; they replace whatever was asked for before, so a fast scroll
// does not leave a queue of rows long gone. The caller repaints.
void Editor::RequestBrowserThumbnails() {
    requestingThumbnails_ = true;
    shell_.RequestThumbnails(browser_->ThumbnailJobs(),
                             [this](const ThumbnailJob& job, DibBlock thumbnail) {
                                 ThumbnailMade(job, std::move(thumbnail));
                             });
    requestingThumbnails_ = false;
}

// A thumbnail arrives: a row on screen that was waiting for it is painted
// again. Results for a browser that has closed, or for a folder no longer
// shown, are dropped.
void Editor::ThumbnailMade(const ThumbnailJob& job, DibBlock thumbnail) {
    if (!browser_ || !browser_->PutThumbnail(job, std::move(thumbnail))) {
        return;
    }
    if (!requestingThumbnails_ && browser_->OnScreen(job.index)) {
        shell_.RepaintBrowser();
    }
}

// The thumbnails made so far are kept for the next browser that shows this
// folder, in place of those kept before (a browser of another folder that
// made none, say of an empty one, leaves those); what is still being made
// is dropped.
void Editor::CloseBrowser() {
    shell_.RequestThumbnails({}, nullptr);
    shell_.ShowBrowser(nullptr);
    ThumbnailShelf shelf = browser_->TakeThumbnails();
    if (!shelf.entries.empty() || shelf.folder == keptThumbnails_.folder) {
        keptThumbnails_ = std::move(shelf);
    }
    browser_.reset();
    ShowBar(BAR_MAIN);
}
