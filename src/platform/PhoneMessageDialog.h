// PhoneMessageDialog: a question or message of the editor drawn on the phone
// screen. It covers the phone screen (or the dialog on top of it) exactly:
// the caption as the title line, an icon and the text wrapped in the body,
// and the answers on the soft keys, "Yes" / "No" for a question and "OK"
// for a message. F1, Return or Enter (the action key) answers the left soft
// key; F2 the right one; Escape or Backspace (Back) answers No or closes the
// message. Modal: Run returns the answer.
//
// KeysPage: the help page of the phone keys and the desktop keys standing
// for them, left with "Continue" (F1, Return, Enter) or Back.
#pragma once

#include <string>
#include <vector>

#include "platform/PhoneDialog.h"

class PhoneMessageDialog : public PhoneDialog {
    Q_OBJECT

  public:
    // phone: the phone screen's rectangle in global coordinates.
    PhoneMessageDialog(QWidget* parent, const QRect& phone, int factor, bool question,
                       std::string caption, std::string text);

    // Shows the box modally. True for Yes or OK.
    bool Run();

    bool IsQuestion() const { return question_; }
    const std::string& Caption() const { return caption_; }
    // The text as the body shows it, one line each, wrapped at the factor.
    std::vector<std::string> Lines() const;

  protected:
    void SoftKey(bool left) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QRect TextRect() const;

    bool question_;
    std::string caption_;
    std::string text_;
};

class KeysPage : public PhoneDialog {
    Q_OBJECT

  public:
    KeysPage(QWidget* parent, const QRect& phone, int factor);

    // The rows of the page: a phone key and the desktop keys for it.
    static std::vector<std::pair<std::string, std::string>> Rows();

  protected:
    void SoftKey(bool left) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};
