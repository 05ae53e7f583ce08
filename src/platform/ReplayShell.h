// ReplayShell: the editor's Shell for scripted runs. Nothing is shown:
// questions and the two file dialogs take the answers queued by the script;
// every question, message and dialog is printed; title, bar, the presented
// picture area and the Open browser are kept for printing and saving; the
// pause between paint passes does not wait. The browser's thumbnails are
// made on worker threads as in the window, and delivered when the runner
// asks for them (FinishThumbnails), so that what is saved never depends on
// how fast they were made.
//
// Printed lines: "question: CAPTION: TEXT", "message: CAPTION: TEXT",
// "about: TITLE", "keys" (the help page of the keys), "saveas: FOLDER: NAME:
// bmp|jpg|png" (a Save-as dialog opening with its folder, proposed name and
// format), "folder: PATH" (a Select Folder dialog opening on PATH), "quit".
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "app/Shell.h"
#include "platform/ThumbnailWorker.h"

// The size and recipe choice of a `saveas` answer: Screen unless full or
// another factor is given.
struct SaveAsChoice {
    bool full = false;
    int32_t factor = 1;
    bool keepEdits = false;
    int jpegQuality = 0;  // a kJpegQuality value, 0 to leave the dialog's own
};

class ReplayShell : public Shell {
  public:
    explicit ReplayShell(std::ostream& out);

    // An answer for the next question not yet answered; line is the script
    // line it came from.
    void QueueAnswer(bool yes, int line);
    // One press of OK in the next Save-as dialog with this name and format,
    // or of Cancel. A dialog that stays open after an OK takes the next one.
    void QueueSaveAs(bool cancel, const std::string& name, PictureType format, int line,
                     SaveAsChoice choice = SaveAsChoice());
    // The folder chosen with OK in the next Select Folder dialog, or Cancel.
    void QueueFolder(bool cancel, const std::string& folder, int line);
    // From now on a question with no queued answer takes this one, and a
    // Save-as or Select Folder dialog with none is cancelled; answers left
    // unused are then no error.
    void SetStandingAnswer(bool yes);
    // The oldest answer of any kind still waiting: its line and what it
    // was waiting for. False when every answer was used, or a standing
    // answer is set.
    bool PendingAnswer(int* line, std::string* waitingFor) const;
    // True, once, when a question or dialog found no answer waiting;
    // message says which and how to answer it. Such a question is answered
    // No and such a dialog cancelled.
    bool TakeUnanswered(std::string* message);

    bool AskQuestion(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowAbout() override;
    void ShowKeys() override;
    void SetTitle(const std::string& title) override;
    void ShowBar(BarId bar) override;
    void PresentScreen(const DibImage& screen) override;
    void SetWaitCursor(bool on) override;
    void PauseBetweenPasses() override;
    void Quit() override;
    void ShowBrowser(const OpenBrowser* browser) override;
    void RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) override;
    // Waits until every thumbnail asked for is made and delivers them.
    void FinishThumbnails();
    bool RunSaveAsDialog(SaveAsDialogRequest& request) override;
    bool RunSelectFolderDialog(std::string* folder) override;

    const std::string& Title() const { return title_; }
    BarId Bar() const { return bar_; }
    // The last presented picture area, or null before the first.
    const DibImage* Screen() const { return screen_.get(); }
    // The Open browser while it is up, else null.
    const OpenBrowser* Browser() const { return browser_; }
    bool QuitCalled() const { return quit_; }

  private:
    struct Answer {
        bool yes;
        int line;
    };
    struct DialogAnswer {
        bool cancel;
        std::string text;  // the name, or the folder
        PictureType format;
        int line;
        SaveAsChoice choice;
    };
    void NoteUnanswered(const std::string& message);

    std::ostream& out_;
    std::deque<Answer> answers_;
    std::deque<DialogAnswer> saveAsAnswers_;
    std::deque<DialogAnswer> folderAnswers_;
    bool standing_ = false;  // SetStandingAnswer was called
    bool standingYes_ = false;
    bool unanswered_ = false;
    std::string unansweredMessage_;
    std::string title_;
    BarId bar_ = BAR_MAIN;
    DibBlock screen_;
    const OpenBrowser* browser_ = nullptr;
    bool quit_ = false;
    ThumbnailWorker thumbnails_{ThumbnailWorker::DefaultThreads(), MakeThumbnail, nullptr};
};
