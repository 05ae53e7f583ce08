// Shell: everything the editor needs from the window around it. The Qt phone
// window is one implementation; the tests' scripted shell and the replay
// runner are others.
#pragma once

#include <string>

#include "app/Menus.h"
#include "image/DibImage.h"

class Shell {
  public:
    virtual ~Shell() = default;

    // A Yes/No question with the question icon, modal. True for Yes.
    virtual bool AskQuestion(const std::string& caption, const std::string& text) = 0;
    // A message with the exclamation icon, modal.
    virtual void ShowMessage(const std::string& caption, const std::string& text) = 0;
    // The About box, modal; returns when the user leaves it.
    virtual void ShowAbout() = 0;

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
};
