// ReplayShell: the editor's Shell for scripted runs. Nothing is shown:
// questions take the answers queued by the script and are printed with every
// message; title, bar and the presented picture area are kept for printing
// and saving; the pause between paint passes does not wait.
#pragma once

#include <deque>
#include <ostream>
#include <string>

#include "app/Shell.h"

class ReplayShell : public Shell {
  public:
    explicit ReplayShell(std::ostream& out);

    // An answer for the next question not yet answered; line is the script
    // line it came from.
    void QueueAnswer(bool yes, int line);
    // The script line of the oldest answer still waiting, or 0.
    int PendingAnswerLine() const;
    // True, once, when a question found no answer waiting; text is what was
    // asked. Such a question is answered No.
    bool TakeUnansweredQuestion(std::string* text);

    bool AskQuestion(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowAbout() override;
    void SetTitle(const std::string& title) override;
    void ShowBar(BarId bar) override;
    void PresentScreen(const DibImage& screen) override;
    void SetWaitCursor(bool on) override;
    void PauseBetweenPasses() override;
    void Quit() override;

    const std::string& Title() const { return title_; }
    BarId Bar() const { return bar_; }
    // The last presented picture area, or null before the first.
    const DibImage* Screen() const { return screen_.get(); }
    bool QuitCalled() const { return quit_; }

  private:
    struct Answer {
        bool yes;
        int line;
    };
    std::ostream& out_;
    std::deque<Answer> answers_;
    bool unanswered_ = false;
    std::string unansweredText_;
    std::string title_;
    BarId bar_ = BAR_MAIN;
    DibBlock screen_;
    bool quit_ = false;
};
