// PhoneWindow: the desktop window that stands for the phone. It draws the
// phone screen (title strip, the presented 176 x 180 picture area, soft-key
// strip) crisp at the largest whole factor that fits, or the Open browser in
// the picture area while it is up, turns desktop keys and clicks into the
// phone's keys, draws the soft-key pop-ups itself over the picture area from
// the editor's menu data (platform/PhoneMenu.h), shows the level of Rescale
// and the adjust modes in a small bar (platform/LevelBar.h), and hands the
// close button to the editor's Close flow. Every text is drawn in the screen
// font at the window's factor (platform/PhoneText.h).
//
// Keys: F1 / F2 (or a click on a label) are the soft keys; the arrows, Return
// or Enter and the digits 0-9 (top row and keypad) are the d-pad, action key
// and keypad; Escape and Backspace are the Back key. Auto-repeated presses
// are presses; auto-repeated releases are ignored, so that only a real
// release ends a held key. While a pop-up is open it takes every key and
// click (a soft key closes it); opening it or any of its sub-menus is the
// editor's MenuPopup.
//
// While the editor's "Type your own..." field is open the picture area shows
// it (platform/PhoneTextField.h) and the keys type: the desktop keyboard's
// characters go to the editor as typed, the numeric keypad's digits choose
// letters by multi-tap (a time-out of kMultiTapMs settles each), Backspace
// deletes a character, Escape is Back (deleting, or leaving an empty
// field), Return or Enter places the word, F1 / F2 are "OK" / "Cancel".
//
// Drops: a drop whose first file is a picture (by its name) hands that file
// on through PictureDropped; any other drop is refused.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <string>
#include <vector>

#include "app/Menus.h"
#include "image/DibImage.h"
#include "platform/PhoneMenu.h"
#include "platform/PhoneTextField.h"

class Editor;

constexpr int kMultiTapMs = 1000;
class OpenBrowser;
class QTimer;

class PhoneWindow : public QWidget {
    Q_OBJECT

  public:
    explicit PhoneWindow(QWidget* parent = nullptr);
    ~PhoneWindow() override;

    // The editor that receives keys, commands, menu pop-ups and close
    // requests. Null detaches: the window then closes without asking.
    void AttachEditor(Editor* editor);

    void SetTitleText(const std::string& title);
    void SetBar(BarId bar);
    BarId Bar() const { return bar_; }
    // Keeps a top-down copy of a 176 x 180 24-bit picture area and schedules
    // a repaint. Pictures of another size or depth are refused.
    void SetScreen(const DibImage& screen);
    // With a browser, the picture area shows it from the next paint on,
    // and keeps showing it until SetBrowser(nullptr); pictures set meanwhile
    // are kept for then. The browser must stay valid while it is set.
    void SetBrowser(const OpenBrowser* browser);
    const OpenBrowser* Browser() const { return browser_; }
    // Schedules a repaint of the picture area.
    void RepaintPictureArea();
    // Repaints at once, before returning.
    void PaintNow();
    // Closes the window for good and ends the running event loop with 0.
    void Quit();
    // A second start of the program asked for this window.
    void RaiseAndActivate();

    // The phone screen's rectangle inside the window and its factor.
    int ScaleFactor() const;
    QRect PhoneRect() const;
    // The open pop-up, if any, and where its levels lie (phone pixels of
    // the picture area).
    const PhoneMenuNavigator& OpenMenu() const { return menu_; }
    std::vector<PhoneMenuBox> MenuLayout() const;
    // The title strip's text: "Saved NAME" for two seconds after a save
    // (ShowSaved), else the title.
    QString ShownTitle() const;
    void ShowSaved(const std::string& fileName);
    // The editor's text field opened, changed or closed.
    void TextFieldChanged();

  signals:
    // A picture file was dropped on the window.
    void PictureDropped(const std::string& path);

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    // The soft-key labels of the shown bar.
    void BuildMenusAndSoftKeys();
    void PressSoftKey(bool left);
    // The open pop-up: keys, clicks and what their steps lead to.
    void MenuKeyPress(QKeyEvent* event, bool repeat);
    void MenuClick(const QPoint& at);
    void FollowMenuStep(const PhoneMenuStep& step);
    void CloseMenu();
    // The open text field: its keys and the keypad's letters.
    void TextFieldKeyPress(QKeyEvent* event, bool repeat);
    void KeypadTap(int digit);
    // True when the press repeats the held key whose release came just
    // before it with the same time: the X server repeats a held key so,
    // and Qt marks the pair as a repeat only when both were read at once.
    // A waiting release that this press does not repeat reaches the editor
    // first.
    bool TakeHeldRelease(const QKeyEvent* event);

    Editor* editor_ = nullptr;
    QString title_;
    BarId bar_ = BAR_MAIN;
    QString leftLabel_;
    QString rightLabel_;
    QImage screen_;
    // screen_ at the factor it was last drawn at, each phone pixel a block:
    // drawn one for one, it spares Qt's scaling at every paint.
    QImage scaledScreen_;
    int scaledFactor_ = 0;
    bool iconSet_ = false;
    const OpenBrowser* browser_ = nullptr;
    PhoneMenuNavigator menu_;
    QString savedTitle_;
    QTimer* savedTimer_ = nullptr;
    struct HeldRelease {
        bool waiting = false;
        int key = 0;
        quint64 timestamp = 0;
    };
    HeldRelease heldRelease_;
    QTimer* releaseTimer_ = nullptr;
    MultiTap multiTap_;
    QTimer* multiTapTimer_ = nullptr;
    QImage textFieldPreview_;
    bool quitting_ = false;
    bool inCloseEvent_ = false;
};
