#include "platform/ReplayShell.h"

#include <cstring>

#include "app/Strings.h"
#include "platform/ReplayFormat.h"

ReplayShell::ReplayShell(std::ostream& out) : out_(out) {}

void ReplayShell::QueueAnswer(bool yes, int line) {
    answers_.push_back({yes, line});
}

int ReplayShell::PendingAnswerLine() const {
    return answers_.empty() ? 0 : answers_.front().line;
}

bool ReplayShell::TakeUnansweredQuestion(std::string* text) {
    if (!unanswered_) {
        return false;
    }
    *text = unansweredText_;
    unanswered_ = false;
    return true;
}

bool ReplayShell::AskQuestion(const std::string& caption, const std::string& text) {
    const std::string line = EscapeReplayText(caption) + ": " + EscapeReplayText(text);
    out_ << "question: " << line << '\n';
    if (answers_.empty()) {
        if (!unanswered_) {
            unanswered_ = true;
            unansweredText_ = line;
        }
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
    out_ << "about: " << EscapeReplayText(ResString(IDS_ABOUT_TITLE)) << '\n';
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
    DibBlock copy = DibCreate(header.biWidth, header.biHeight, 24);
    if (copy == nullptr || bytes == 0 || bytes != DibBlockBytes(copy->header)) {
        return;
    }
    std::memcpy(copy.get(), &screen, bytes);
    screen_ = std::move(copy);
}

void ReplayShell::SetWaitCursor(bool) {}

void ReplayShell::PauseBetweenPasses() {}

void ReplayShell::Quit() {
    quit_ = true;
    out_ << "quit\n";
}
