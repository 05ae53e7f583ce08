// QtShell: the editor's Shell on the desktop. Questions and messages are
// modal QMessageBoxes owned by the phone window; title, bar and picture go
// to the window; the About box is an AboutDialog over the phone screen.
#pragma once

#include "app/Shell.h"

class PhoneWindow;

class QtShell : public Shell {
  public:
    explicit QtShell(PhoneWindow& window);
    ~QtShell() override;

    bool AskQuestion(const std::string& caption, const std::string& text) override;
    void ShowMessage(const std::string& caption, const std::string& text) override;
    void ShowAbout() override;
    void SetTitle(const std::string& title) override;
    void ShowBar(BarId bar) override;
    void PresentScreen(const DibImage& screen) override;
    // Shown once however often it is asked for; the first "off" restores
    // the cursor.
    void SetWaitCursor(bool on) override;
    void PauseBetweenPasses() override;
    void Quit() override;

  private:
    PhoneWindow& window_;
    bool waitCursor_ = false;
};
