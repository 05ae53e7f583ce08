// Shell: everything the editor needs from the window around it. The Qt phone
// window is one implementation; the tests' scripted shell and the replay
// runner are others.
//
// The editor calls every modal operation (questions, messages, the About box
// and the two file dialogs) with EditorState::messageBoxOpen set, so key
// presses, commands and menu pop-ups that reach it meanwhile are ignored.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/Menus.h"
#include "dialogs/OpenBrowser.h"
#include "image/DibImage.h"
#include "image/PictureType.h"

// Where made thumbnails go: one call per job, on the editor's own thread,
// with the thumbnail (null when the file could not be made one).
using ThumbnailSink = std::function<void(const ThumbnailJob& job, DibBlock thumbnail)>;

// The JPEG qualities the Save-as dialog offers: "Best", "Good" (the one it
// opens on) and "Small".
constexpr int kJpegQualityBest = 95;
constexpr int kJpegQualityGood = 90;
constexpr int kJpegQualitySmall = 75;

// What the Save-as dialog shows, and the editor's OK steps.
struct SaveAsDialogRequest {
    // Shown read-only: the folder the file goes to.
    std::string folder;
    // The name field's text when the dialog opens, without extension.
    std::string proposedName;
    // The format the list opens on: PICTURE_BMP is the item "*.bmp-Bitmap"
    // (index 0), PICTURE_JPEG the item "*.jpg-Jpeg" (index 1), PICTURE_PNG
    // the item "*.png-Png" (index 2); any other type opens on JPEG.
    PictureType format = PICTURE_JPEG;
    // The JPEG quality: the quality field opens on it (one of the three
    // kJpegQuality values; any other opens on Good), and before every call
    // of accept the dialog stores the quality the field shows. Only JPEG
    // files use it.
    int jpegQuality = kJpegQualityGood;
    // The size list: "Screen 176 x 180" (factor 1, the display photo as it
    // is) and, when fullFactor is 1 or more, "Full W x H": the picture
    // rendered again from its source at that factor, W = 176 x fullFactor
    // and H = 180 x fullFactor. It opens on Screen.
    int32_t fullFactor = 0;
    // Set by the dialog before each accept call: the factor of the size
    // shown (1 for Screen, fullFactor for Full; a replay may give any whole
    // factor) and whether "Keep edits" is ticked, which writes the edits as
    // a recipe, NAME.fotakle.json, beside the picture.
    int32_t factor = 1;
    bool keepEdits = false;
    // Called on every OK with the name field's text as typed and the
    // selected format (PICTURE_BMP, PICTURE_JPEG or PICTURE_PNG). It
    // appends the extension, joins the folder and asks the replace question
    // itself (through AskQuestion). True: the dialog ends with OK. False:
    // the dialog stays open with the typed name, for another OK or Cancel.
    std::function<bool(const std::string& name, PictureType format)> accept;
};

class Shell {
  public:
    virtual ~Shell() = default;

    // A Yes/No question with the question icon, modal. True for Yes.
    virtual bool AskQuestion(const std::string& caption, const std::string& text) = 0;
    // A message with the exclamation icon, modal.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // The About box, modal; returns when the user leaves it.
    virtual void ShowAbout() = 0;
    // The help page of the phone keys and the desktop keys standing for
    // them, modal; returns when the user leaves it. The default shows
    // nothing.
    virtual void ShowKeys() {}
    // The "Type your own..." field (EditorState::textField) opened, its text
    // changed, or it closed: while it is open the picture area shows the
    // field (the editor sets its title and the "OK" / "Cancel" bar itself).
    // The default shows nothing.
    virtual void TextFieldChanged() {}
    // The photo was written to path by Save as. The default shows nothing.
    virtual void PictureSaved(const std::string& /*path*/) {}

    virtual void SetTitle(const std::string& title) = 0;
    // Shows this soft-key bar instead of the one shown before.
    virtual void ShowBar(BarId bar) = 0;
    // The composed 176 x 180 picture area (24-bit, bottom-up, 528-byte rows),
    // to be shown at the next paint. The shell keeps its own copy.
    virtual void PresentScreen(const DibImage& screen) = 0;
    // Shows or hides the wait cursor.
    virtual void SetWaitCursor(bool on) = 0;
    // Between two paint passes: paints what was presented, at once, then
    // waits 100 milliseconds so that the user sees the painting build up.
    virtual void PauseBetweenPasses() = 0;
    // The program ends: the window closes and the event loop returns 0.
    virtual void Quit() = 0;

    // The Open browser. With a browser, the picture area shows it from now
    // on instead of the presented screen: every paint of the picture area
    // draws browser->Layout(), and only that (rows whose thumbnail is still
    // being made show a placeholder). With null the browser is gone and the
    // picture area shows the presented screen again. The browser stays
    // valid until ShowBrowser(nullptr); the editor calls that before
    // releasing it. A PresentScreen while the browser is up only replaces
    // the kept copy.
    // The soft-key bar is set separately through ShowBar (BAR_BROWSER while
    // the browser is up).
    virtual void ShowBrowser(const OpenBrowser* /*browser*/) {}
    // The shown browser changed (selection, rows, folder, thumbnails): paint
    // it again. Never called from inside a paint.
    virtual void RepaintBrowser() {}
    // The thumbnails the shown browser wants, most wanted first. They
    // replace the jobs asked for before that have not begun; a job begun
    // already is not begun again. Each result goes to done, on the editor's
    // thread: later, between the window's events, from a shell that makes
    // them on other threads; within this call from the default, which makes
    // them one by one at once (MakeThumbnail). No jobs and no sink drop
    // everything asked for; the editor does so when its browser closes and
    // before it goes.
    virtual void RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) {
        for (const ThumbnailJob& job : jobs) {
            DibBlock thumbnail = MakeThumbnail(job.path);
            if (done) {
                done(job, std::move(thumbnail));
            }
        }
    }
    // The Save-as dialog over the phone screen, modal, titled "Save as":
    // "Folder:" read-only, "Name:" editable (Back deletes a character),
    // "Format:" changed with left / right (wrapping round the three items),
    // "Quality:" changed alike (only while the format is JPEG), soft keys
    // "OK" (the Enter key too) and "Cancel". Every OK calls
    // request.accept; when it returns true the dialog closes and this
    // returns true. Cancel (the soft key, or the dialog's own cancel)
    // returns false. The default has no dialog: cancelled.
    virtual bool RunSaveAsDialog(SaveAsDialogRequest& /*request*/) { return false; }
    // The Select Folder dialog over the phone screen, modal: a tree from
    // the root "Smartphone" (standing for "/"), opened on *folder (an
    // absolute path; empty means "/"). True when the user chose a folder
    // with OK: *folder then holds its absolute path without a trailing "/"
    // ("/" for the root). False when cancelled, or when the dialog is open
    // already; *folder is then unchanged. The default has no dialog:
    // cancelled.
    virtual bool RunSelectFolderDialog(std::string* /*folder*/) { return false; }
};
