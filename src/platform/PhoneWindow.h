// PhoneWindow: the desktop window that stands for the phone. It draws the
// phone screen (title strip, the presented 176 x 180 picture area, soft-key
// strip) crisp at the largest whole factor that fits, or the Open browser in
// the picture area while it is up, turns desktop keys and
// clicks into the phone's keys, builds the soft-key pop-ups as QMenus from
// the editor's menu data, and hands the close button to the editor's Close
// flow.
//
// Keys: F1 / F2 (or a click on a label) are the soft keys; the arrows, Return
// or Enter and the digits 0-9 (top row and keypad) are the d-pad, action key
// and keypad; Escape and Backspace are the Back key. Auto-repeated presses
// are presses; auto-repeated releases are ignored, so that only a real
// release ends a held key.
//
// Drops: a drop whose first file is a picture (by its name) hands that file
// on through PictureDropped; any other drop is refused.
#pragma once

#include <QImage>
#include <QString>
#include <QWidget>

#include <string>

#include "app/Menus.h"
#include "image/DibImage.h"

class Editor;
class OpenBrowser;
class QMenu;

class PhoneWindow : public QWidget {
    Q_OBJECT

  public:
    explicit PhoneWindow(QWidget* parent = nullptr);
    ~PhoneWindow() override;

    // The editor that receives keys, commands, menu pop-ups and close
    // requests. Builds the pop-up menus from its menu data. Null detaches:
    // the window then closes without asking.
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
    // The QMenu of a pop-up, or null before an editor is attached.
    QMenu* PopupMenu(MenuId id) const;

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
    // Builds every pop-up whose menu data changed shape since it was built
    // (never one on screen), and the soft-key labels of the shown bar.
    void BuildMenusAndSoftKeys();
    // Sets every menu item's enabled state from the menu data.
    void UpdateEnabledStates();
    void OnMenuAboutToShow();
    void OnMenuTriggered(QAction* action);
    void PressSoftKey(bool left);
    void FillMenu(QMenu* menu, const Menu& items);

    Editor* editor_ = nullptr;
    QString title_;
    BarId bar_ = BAR_MAIN;
    QString leftLabel_;
    QString rightLabel_;
    QImage screen_;
    const OpenBrowser* browser_ = nullptr;
    QMenu* menus_[kMenuCount] = {};
    Menu builtFrom_[kMenuCount];
    bool built_[kMenuCount] = {};
    bool quitting_ = false;
    bool inCloseEvent_ = false;
};
