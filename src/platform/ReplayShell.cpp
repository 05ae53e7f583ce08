#include "platform/ReplayShell.h"

#include <algorithm>
#include <cstring>

#include "app/Strings.h"
#include "platform/ReplayFormat.h"

ReplayShell::ReplayShell(std::ostream& out) : out_(out) {}

void ReplayShell::QueueAnswer(bool yes, int line) {
    answers_.push_back({yes, line});
}

void ReplayShell::QueueSaveAs(bool cancel, const std::string& name, PictureType format, int line,
                              SaveAsChoice choice) {
    saveAsAnswers_.push_back({cancel, name, format, line, choice});
}

void ReplayShell::QueueFolder(bool cancel, const std::string& folder, int line) {
    folderAnswers_.push_back({cancel, folder, PICTURE_UNKNOWN, line, SaveAsChoice()});
}

void ReplayShell::SetStandingAnswer(bool yes) {
    standing_ = true;
    standingYes_ = yes;
}

bool ReplayShell::PendingAnswer(int* line, std::string* waitingFor) const {
    *line = 0;
    if (standing_) {
        return false;
    }
    if (!answers_.empty()) {
        *line = answers_.front().line;
        *waitingFor = "question";
    }
    if (!saveAsAnswers_.empty() && (*line == 0 || saveAsAnswers_.front().line < *line)) {
        *line = saveAsAnswers_.front().line;
        *waitingFor = "Save-as dialog";
    }
    if (!folderAnswers_.empty() && (*line == 0 || folderAnswers_.front().line < *line)) {
        *line = folderAnswers_.front().line;
        *waitingFor = "Select Folder dialog";
    }
    return *line != 0;
}

bool ReplayShell::TakeUnanswered(std::string* message) {
    if (!unanswered_) {
        return false;
    }
    *message = unansweredMessage_;
    unanswered_ = false;
    return true;
}

void ReplayShell::NoteUnanswered(const std::string& message) {
    if (!unanswered_) {
        unanswered_ = true;
        unansweredMessage_ = message;
    }
}

bool ReplayShell::AskQuestion(const std::string& caption, const std::string& text) {
    const std::string line = EscapeReplayText(caption) + ": " + EscapeReplayText(text);
    out_ << "question: " << line << '\n';
    if (answers_.empty() && standing_) {
        return standingYes_;
    }
    if (answers_.empty()) {
        NoteUnanswered(
            "a question had no answer waiting (put `answer yes` or `answer no` before this "
            "line): " +
            line);
        return false;
    }
    const bool yes = answers_.front().yes;
    answers_.pop_front();
    return yes;
}

void ReplayShell::ShowMessage(const std::string& caption, const std::string& text) {
    out_ << "message: " << EscapeReplayText(caption) << ": " << EscapeReplayText(text) << '\n';
}

void ReplayShell::ShowAbout() {
    out_ << "about: " << EscapeReplayText(std::string(ResString(IDS_ABOUT_TITLE))) << '\n';
}

void ReplayShell::ShowKeys() {
    out_ << "keys\n";
}

void ReplayShell::SetTitle(const std::string& title) {
    title_ = title;
}

void ReplayShell::ShowBar(BarId bar) {
    bar_ = bar;
}

void ReplayShell::PresentScreen(const DibImage& screen) {
    const BitmapInfoHeader& header = screen.header;
    if (header.biBitCount != 24) {
        return;
    }
    const size_t bytes = DibBlockBytes(header);
    if (bytes == 0) {
        return;
    }
    // Every composition is presented, so the kept copy is overwritten in
    // place while its size stays the same.
    if (!screen_ || DibBlockBytes(screen_->header) != bytes) {
        DibBlock copy = DibCreate(header.biWidth, header.biHeight, 24);
        if (copy == nullptr || bytes != DibBlockBytes(copy->header)) {
            return;
        }
        screen_ = std::move(copy);
    }
    std::memcpy(screen_.get(), &screen, bytes);
}

void ReplayShell::SetWaitCursor(bool) {}

void ReplayShell::PauseBetweenPasses() {}

void ReplayShell::Quit() {
    quit_ = true;
    out_ << "quit\n";
}

void ReplayShell::ShowBrowser(const OpenBrowser* browser) {
    browser_ = browser;
}

void ReplayShell::RequestThumbnails(std::vector<ThumbnailJob> jobs, const ThumbnailSink& done) {
    thumbnails_.Request(std::move(jobs), done);
}

void ReplayShell::FinishThumbnails() {
    do {
        thumbnails_.WaitUntilIdle();
    } while (thumbnails_.Deliver() > 0);
}

// Each answer is one press of OK or Cancel; an OK the editor refuses (the
// replace question answered No) leaves the dialog open for the next one.
bool ReplayShell::RunSaveAsDialog(SaveAsDialogRequest& request) {
    const std::string shown = EscapeReplayText(request.folder) + ": " +
                              EscapeReplayText(request.proposedName) + ": " +
                              (request.format == PICTURE_BMP   ? "bmp"
                               : request.format == PICTURE_PNG ? "png"
                                                               : "jpg");
    out_ << "saveas: " << shown << '\n';
    for (;;) {
        if (saveAsAnswers_.empty() && standing_) {
            return false;
        }
        if (saveAsAnswers_.empty()) {
            NoteUnanswered(
                "a Save-as dialog had no answer waiting (put `saveas NAME bmp|jpg|png` or "
                "`saveas cancel` before this line): " +
                shown);
            return false;
        }
        const DialogAnswer answer = saveAsAnswers_.front();
        saveAsAnswers_.pop_front();
        if (answer.cancel) {
            return false;
        }
        request.factor =
            answer.choice.full ? std::max(request.fullFactor, 1) : answer.choice.factor;
        request.keepEdits = answer.choice.keepEdits;
        if (answer.choice.jpegQuality != 0) {
            request.jpegQuality = answer.choice.jpegQuality;
        }
        if (!request.accept || request.accept(answer.text, answer.format)) {
            return true;
        }
    }
}

bool ReplayShell::RunSelectFolderDialog(std::string* folder) {
    const std::string shown = EscapeReplayText(*folder);
    out_ << "folder: " << shown << '\n';
    if (folderAnswers_.empty() && standing_) {
        return false;
    }
    if (folderAnswers_.empty()) {
        NoteUnanswered(
            "a Select Folder dialog had no answer waiting (put `folder PATH` or `folder cancel` "
            "before this line): " +
            shown);
        return false;
    }
    const DialogAnswer answer = folderAnswers_.front();
    folderAnswers_.pop_front();
    if (answer.cancel) {
        return false;
    }
    *folder = answer.text;
    return true;
}
