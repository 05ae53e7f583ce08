#include "platform/PhoneWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>

#include <algorithm>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "app/Strings.h"
#include "dialogs/OpenBrowser.h"
#include "platform/BrowserPainter.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/ProgramIcon.h"

namespace {

const QColor kBodyColor(40, 40, 44);
constexpr int kStartFactor = 3;
// Marks the sub-menus the window made, so a rebuild deletes only those.
const char kOwnSubmenu[] = "fotakleSubmenu";

// The phone key a desktop key stands for, or 0.
int16_t PhoneKeyCode(int key) {
    switch (key) {
        case Qt::Key_Left:
            return KEY_LEFT;
        case Qt::Key_Right:
            return KEY_RIGHT;
        case Qt::Key_Up:
            return KEY_UP;
        case Qt::Key_Down:
            return KEY_DOWN;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return KEY_ACTION;
        default:
            break;
    }
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<int16_t>(KEY_DIGIT_0 + (key - Qt::Key_0));
    }
    return 0;
}

// The menu data's shape: everything but the enabled states.
bool SameMenuShape(const Menu& a, const Menu& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].id != b[i].id || a[i].popup != b[i].popup || a[i].text != b[i].text ||
            !SameMenuShape(a[i].items, b[i].items)) {
            return false;
        }
    }
    return true;
}

// A menu text as QMenu shows it: "&" stays a plain character, and a tab
// still separates the key hint, which QMenu right-aligns.
QString MenuText(const std::string& text) {
    return QString::fromStdString(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

// Walks the built QMenu beside its data (same shape) and copies the enabled
// states.
void CopyEnabledStates(QMenu* menu, const Menu& items) {
    const QList<QAction*> actions = menu->actions();
    const qsizetype count =
        std::min<qsizetype>(actions.size(), static_cast<qsizetype>(items.size()));
    for (qsizetype i = 0; i < count; ++i) {
        const MenuItem& item = items[static_cast<size_t>(i)];
        QAction* action = actions[i];
        if (item.IsSeparator()) {
            continue;
        }
        action->setEnabled(item.enabled);
        if (item.popup && action->menu() != nullptr) {
            CopyEnabledStates(action->menu(), item.items);
        }
    }
}

// The factor to start at: 3, or less when the screen is too small for it.
int StartFactor(const QScreen* screen) {
    int factor = kStartFactor;
    if (screen != nullptr) {
        const QRect available = screen->availableGeometry();
        while (factor > 1 && (kPhoneWidth * factor > available.width() ||
                              kPhoneHeight * factor > available.height() - 40)) {
            --factor;
        }
    }
    return factor;
}

}  // namespace

PhoneWindow::PhoneWindow(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kPhoneWidth, kPhoneHeight);
    const QPixmap icon = ProgramIconPixmap();
    if (!icon.isNull()) {
        setWindowIcon(QIcon(icon));
    }
    const int factor = StartFactor(QGuiApplication::primaryScreen());
    resize(kPhoneWidth * factor, kPhoneHeight * factor);

    for (QMenu*& menu : menus_) {
        menu = new QMenu(this);
        connect(menu, &QMenu::aboutToShow, this, &PhoneWindow::OnMenuAboutToShow);
        // Sub-menus pass their triggered actions up to the top menu, so
        // one connection per pop-up sees every command.
        connect(menu, &QMenu::triggered, this, &PhoneWindow::OnMenuTriggered);
    }
    BuildMenusAndSoftKeys();
}

PhoneWindow::~PhoneWindow() = default;

void PhoneWindow::AttachEditor(Editor* editor) {
    editor_ = editor;
    for (bool& built : built_) {
        built = false;
    }
    BuildMenusAndSoftKeys();
    UpdateEnabledStates();
}

void PhoneWindow::SetTitleText(const std::string& title) {
    title_ = QString::fromStdString(title);
    setWindowTitle(title_);
    update(TitleStripRect(PhoneRect(), ScaleFactor()));
}

void PhoneWindow::SetBar(BarId bar) {
    bar_ = bar;
    BuildMenusAndSoftKeys();
}

void PhoneWindow::SetScreen(const DibImage& screen) {
    const BitmapInfoHeader& header = screen.header;
    if (header.biWidth != kCanvasWidth || header.biHeight != kCanvasHeight ||
        header.biBitCount != 24) {
        return;
    }
    // Bottom-up rows, blue first: wrap them read-only and keep a top-down
    // copy, so the editor may change its picture at once.
    const QImage bottomUp(DibPixels(&screen), kCanvasWidth, kCanvasHeight, kCanvasStride,
                          QImage::Format_BGR888);
    screen_ = bottomUp.mirrored(false, true);
    if (browser_ == nullptr) {
        RepaintPictureArea();
    }
}

void PhoneWindow::SetBrowser(const OpenBrowser* browser) {
    browser_ = browser;
    RepaintPictureArea();
}

void PhoneWindow::RepaintPictureArea() {
    update(PictureAreaRect(PhoneRect(), ScaleFactor()));
}

void PhoneWindow::PaintNow() {
    repaint();
}

void PhoneWindow::Quit() {
    quitting_ = true;
    // Inside closeEvent the window is already closing: accepting the event
    // there closes it.
    if (!inCloseEvent_) {
        close();
    }
    // Ends a running event loop only: ending one that is not running would
    // make the next one return at once.
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(0);
    }
}

void PhoneWindow::RaiseAndActivate() {
    if (isMinimized()) {
        showNormal();
    } else {
        show();
    }
    raise();
    activateWindow();
}

int PhoneWindow::ScaleFactor() const {
    return PhoneScaleFactor(size());
}

QRect PhoneWindow::PhoneRect() const {
    return PhoneScreenRect(size(), ScaleFactor());
}

QMenu* PhoneWindow::PopupMenu(MenuId id) const {
    if (editor_ == nullptr || id < 0 || id >= kMenuCount) {
        return nullptr;
    }
    return menus_[id];
}

void PhoneWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int factor = ScaleFactor();
    const QRect phone = PhoneScreenRect(size(), factor);
    painter.fillRect(rect(), kBodyColor);
    DrawTitleStrip(painter, TitleStripRect(phone, factor), title_, factor);
    const QRect picture = PictureAreaRect(phone, factor);
    if (browser_ != nullptr) {
        // Drawn at the factor already: one pixel for one.
        painter.drawImage(picture.topLeft(), PaintBrowser(browser_->Layout(), factor));
    } else if (screen_.isNull()) {
        painter.fillRect(picture, Qt::white);
    } else {
        painter.drawImage(picture, screen_);
    }
    DrawSoftKeyStrip(painter, SoftKeyStripRect(phone, factor), leftLabel_, rightLabel_, factor);
}

void PhoneWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo; the editor decides
    // whether they apply.
    if (event->modifiers().testFlag(Qt::ControlModifier) &&
        (key == Qt::Key_Z || key == Qt::Key_Y)) {
        if (editor_ != nullptr) {
            const bool redo = key == Qt::Key_Y || event->modifiers().testFlag(Qt::ShiftModifier);
            editor_->Command(redo ? CMD_REDO : CMD_UNDO);
        }
        return;
    }
    if (key == Qt::Key_F1 || key == Qt::Key_F2) {
        if (!event->isAutoRepeat()) {
            PressSoftKey(key == Qt::Key_F1);
        }
        return;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Backspace) {
        if (!event->isAutoRepeat() && editor_ != nullptr) {
            editor_->BackKey();
        }
        return;
    }
    const int16_t code = PhoneKeyCode(key);
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    // Auto-repeated presses count: a held d-pad key speeds up.
    if (editor_ != nullptr) {
        editor_->KeyDown(code);
    }
}

void PhoneWindow::keyReleaseEvent(QKeyEvent* event) {
    // The desktop repeats a held key as release-press pairs; only a real
    // release is the phone's key-up.
    if (event->isAutoRepeat()) {
        return;
    }
    if (editor_ != nullptr) {
        editor_->KeyUp();
    }
}

void PhoneWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QRect strip = SoftKeyStripRect(PhoneRect(), ScaleFactor());
    const QPoint at = event->position().toPoint();
    if (strip.contains(at)) {
        PressSoftKey(at.x() < strip.left() + strip.width() / 2);
    }
}

void PhoneWindow::closeEvent(QCloseEvent* event) {
    // The close button is the "Close" command: the editor asks its save
    // question and calls Quit when the window may go.
    if (!quitting_ && editor_ != nullptr) {
        inCloseEvent_ = true;
        editor_->CloseRequested();
        inCloseEvent_ = false;
    }
    if (quitting_ || editor_ == nullptr) {
        event->accept();
    } else {
        event->ignore();
    }
}

void PhoneWindow::BuildMenusAndSoftKeys() {
    if (editor_ != nullptr) {
        for (int i = 0; i < kMenuCount; ++i) {
            const Menu& items = editor_->GetMenu(static_cast<MenuId>(i));
            if (built_[i] && SameMenuShape(items, builtFrom_[i])) {
                continue;
            }
            QMenu* menu = menus_[i];
            // A menu on screen keeps its items while one of its sub-menus
            // opens; it is rebuilt before it opens the next time.
            if (menu->isVisible()) {
                continue;
            }
            menu->clear();
            const QList<QMenu*> submenus = menu->findChildren<QMenu*>();
            for (QMenu* submenu : submenus) {
                if (submenu->property(kOwnSubmenu).toBool() && submenu->parent() == menu) {
                    delete submenu;
                }
            }
            FillMenu(menu, items);
            builtFrom_[i] = items;
            built_[i] = true;
        }
    }
    const SoftKeyBar& bar = FindSoftKeyBar(bar_);
    leftLabel_ = bar.left.command != 0 ? QString::fromUtf8(ResString(bar.left.textId)) : QString();
    rightLabel_ =
        bar.right.command != 0 ? QString::fromUtf8(ResString(bar.right.textId)) : QString();
    update(SoftKeyStripRect(PhoneRect(), ScaleFactor()));
}

void PhoneWindow::FillMenu(QMenu* menu, const Menu& items) {
    for (const MenuItem& item : items) {
        if (item.IsSeparator()) {
            menu->addSeparator();
        } else if (item.popup) {
            QMenu* submenu = new QMenu(MenuText(item.text), menu);
            submenu->setProperty(kOwnSubmenu, true);
            connect(submenu, &QMenu::aboutToShow, this, &PhoneWindow::OnMenuAboutToShow);
            FillMenu(submenu, item.items);
            menu->addMenu(submenu);
        } else {
            QAction* action = menu->addAction(MenuText(item.text));
            action->setData(static_cast<uint>(item.id));
        }
    }
}

void PhoneWindow::UpdateEnabledStates() {
    if (editor_ == nullptr) {
        return;
    }
    for (int i = 0; i < kMenuCount; ++i) {
        const Menu& items = editor_->GetMenu(static_cast<MenuId>(i));
        // A menu waiting for its rebuild keeps its states until then.
        if (built_[i] && SameMenuShape(items, builtFrom_[i])) {
            CopyEnabledStates(menus_[i], items);
        }
    }
}

void PhoneWindow::OnMenuAboutToShow() {
    if (editor_ == nullptr) {
        return;
    }
    editor_->MenuPopup();
    BuildMenusAndSoftKeys();
    UpdateEnabledStates();
}

void PhoneWindow::OnMenuTriggered(QAction* action) {
    const uint id = action->data().toUInt();
    if (editor_ != nullptr && id != 0 && id <= 0xffff) {
        editor_->Command(static_cast<uint16_t>(id));
    }
}

void PhoneWindow::PressSoftKey(bool left) {
    if (editor_ == nullptr) {
        return;
    }
    const SoftKeyBar& bar = FindSoftKeyBar(bar_);
    const SoftKey& key = left ? bar.left : bar.right;
    if (key.command == 0) {
        return;
    }
    if (key.popup < 0 || key.popup >= kMenuCount) {
        editor_->Command(key.command);
        return;
    }
    // The pop-up stands on the soft-key strip, on its key's side.
    QMenu* menu = menus_[key.popup];
    const QRect strip = SoftKeyStripRect(PhoneRect(), ScaleFactor());
    const QPoint corner = mapToGlobal(left ? strip.topLeft() : strip.topRight());
    menu->popup(corner);
    QPoint at(left ? corner.x() : corner.x() - menu->width() + 1, corner.y() - menu->height());
    if (const QScreen* screen = menu->screen()) {
        const QRect available = screen->availableGeometry();
        at.setX(std::clamp(at.x(), available.left(),
                           std::max(available.left(), available.right() - menu->width() + 1)));
        at.setY(std::max(at.y(), available.top()));
    }
    menu->move(at);
}
