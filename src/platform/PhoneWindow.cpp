#include "platform/PhoneWindow.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstring>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Keys.h"
#include "app/Strings.h"
#include "dialogs/OpenBrowser.h"
#include "image/PictureType.h"
#include "platform/BrowserPainter.h"
#include "platform/LevelBar.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"
#include "platform/ProgramIcon.h"

namespace {

const QColor kBodyColor(40, 40, 44);
constexpr int kStartFactor = 3;
// How long the title strip says "Saved NAME".
constexpr int kSavedTitleMs = 2000;
// How long a key release waits for the press that would make it one of the
// server's repeats; the two are sent together.
constexpr int kReleaseGraceMs = 40;

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

// The picture a drop brings: its first URL, when that is a local file with a
// picture's name; empty otherwise.
std::string DroppedPicture(const QMimeData* data) {
    const QList<QUrl> urls = data != nullptr ? data->urls() : QList<QUrl>();
    if (urls.isEmpty() || !urls.first().isLocalFile()) {
        return {};
    }
    const std::string path = QFile::encodeName(urls.first().toLocalFile()).toStdString();
    return IsSupportedPicture(path) ? path : std::string();
}

// The picture with each pixel made a factor x factor block, in the format
// the window's surface takes without converting.
QImage ScaledByWholeFactor(const QImage& picture, int factor) {
    const QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage scaled(source.width() * factor, source.height() * factor, QImage::Format_RGB32);
    if (scaled.isNull()) {
        return scaled;
    }
    for (int y = 0; y < source.height(); ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* to = reinterpret_cast<QRgb*>(scaled.scanLine(y * factor));
        for (int x = 0; x < source.width(); ++x) {
            for (int i = 0; i < factor; ++i) {
                *to++ = from[x];
            }
        }
        const size_t bytes = static_cast<size_t>(scaled.bytesPerLine());
        for (int i = 1; i < factor; ++i) {
            std::memcpy(scaled.scanLine(y * factor + i), scaled.constScanLine(y * factor), bytes);
        }
    }
    return scaled;
}

}  // namespace

PhoneWindow::PhoneWindow(QWidget* parent) : QWidget(parent) {
    setAcceptDrops(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(kPhoneWidth, kPhoneHeight);
    const int factor = StartFactor(QGuiApplication::primaryScreen());
    resize(kPhoneWidth * factor, kPhoneHeight * factor);

    releaseTimer_ = new QTimer(this);
    releaseTimer_->setSingleShot(true);
    releaseTimer_->setInterval(kReleaseGraceMs);
    connect(releaseTimer_, &QTimer::timeout, this, [this] {
        if (heldRelease_.waiting && editor_ != nullptr) {
            editor_->KeyUp();
        }
        heldRelease_ = {};
    });
    savedTimer_ = new QTimer(this);
    savedTimer_->setObjectName(QStringLiteral("savedTitle"));
    savedTimer_->setSingleShot(true);
    savedTimer_->setInterval(kSavedTitleMs);
    connect(savedTimer_, &QTimer::timeout, this, [this] {
        savedTitle_.clear();
        update(TitleStripRect(PhoneRect(), ScaleFactor()));
    });
    multiTapTimer_ = new QTimer(this);
    multiTapTimer_->setObjectName(QStringLiteral("multiTap"));
    multiTapTimer_->setSingleShot(true);
    multiTapTimer_->setInterval(kMultiTapMs);
    connect(multiTapTimer_, &QTimer::timeout, this, [this] {
        multiTap_.Settle();
        RepaintPictureArea();
    });
    BuildMenusAndSoftKeys();
}

PhoneWindow::~PhoneWindow() = default;

void PhoneWindow::AttachEditor(Editor* editor) {
    editor_ = editor;
    menu_.Close();
    BuildMenusAndSoftKeys();
    update();
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
    scaledScreen_ = QImage();
    if (browser_ == nullptr) {
        RepaintPictureArea();
    }
}

void PhoneWindow::SetBrowser(const OpenBrowser* browser) {
    browser_ = browser;
    menu_.Close();
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

std::vector<PhoneMenuBox> PhoneWindow::MenuLayout() const {
    if (editor_ == nullptr || !menu_.IsOpen()) {
        return {};
    }
    const int factor = ScaleFactor();
    return LayOutPhoneMenu(menu_, editor_->GetMenu(menu_.Id()), [factor](const std::string& text) {
        return PhoneTextPhoneWidth(text, kMenuFontPixels, FONT_REGULAR, factor);
    });
}

QString PhoneWindow::ShownTitle() const {
    return savedTitle_.isEmpty() ? title_ : savedTitle_;
}

void PhoneWindow::ShowSaved(const std::string& fileName) {
    savedTitle_ = QStringLiteral("Saved ") + QString::fromStdString(fileName);
    savedTimer_->start();
    update(TitleStripRect(PhoneRect(), ScaleFactor()));
}

void PhoneWindow::TextFieldChanged() {
    const bool open = editor_ != nullptr && editor_->State().textField.open;
    if (!open) {
        multiTap_.Settle();
        multiTapTimer_->stop();
    }
    textFieldPreview_ =
        open ? TextFieldPreview(TextFieldViewOf(editor_->State(), false)) : QImage();
    RepaintPictureArea();
}

void PhoneWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedPicture(event->mimeData()).empty()) {
        event->acceptProposedAction();
    }
}

void PhoneWindow::dropEvent(QDropEvent* event) {
    const std::string path = DroppedPicture(event->mimeData());
    if (path.empty()) {
        return;
    }
    event->acceptProposedAction();
    // Handed on once the drop has ended: opening may ask the save question,
    // and the program the file came from should not wait for its answer.
    QTimer::singleShot(0, this, [this, path] { emit PictureDropped(path); });
}

void PhoneWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    const int factor = ScaleFactor();
    const QRect phone = PhoneScreenRect(size(), factor);
    painter.fillRect(rect(), kBodyColor);
    DrawTitleStrip(painter, TitleStripRect(phone, factor), ShownTitle(), factor);
    const QRect picture = PictureAreaRect(phone, factor);
    if (browser_ != nullptr) {
        // Drawn at the factor already: one pixel for one.
        painter.drawImage(picture.topLeft(), PaintBrowser(browser_->Layout(), factor));
    } else if (screen_.isNull()) {
        painter.fillRect(picture, Qt::white);
    } else {
        if (scaledFactor_ != factor || scaledScreen_.isNull()) {
            scaledScreen_ = ScaledByWholeFactor(screen_, factor);
            scaledFactor_ = factor;
        }
        painter.drawImage(picture.topLeft(), scaledScreen_);
    }
    if (editor_ != nullptr && editor_->State().textField.open) {
        DrawTextField(painter, picture, factor,
                      TextFieldViewOf(editor_->State(), multiTap_.Pending()), textFieldPreview_);
    } else if (editor_ != nullptr && browser_ == nullptr) {
        DrawLevelBar(painter, picture, LevelBarFor(editor_->State()), factor);
    }
    if (editor_ != nullptr && menu_.IsOpen()) {
        DrawPhoneMenu(painter, picture, factor, menu_, editor_->GetMenu(menu_.Id()), MenuLayout());
    }
    DrawSoftKeyStrip(painter, SoftKeyStripRect(phone, factor), leftLabel_, rightLabel_, factor);
    // The icon is decoded from its PNG only once the phone screen is up:
    // the user sees the window sooner, and the task bar takes it a moment
    // later.
    if (!iconSet_) {
        iconSet_ = true;
        QTimer::singleShot(0, this, [this] {
            const QPixmap icon = ProgramIconPixmap();
            if (!icon.isNull()) {
                setWindowIcon(QIcon(icon));
            }
        });
    }
}

void PhoneWindow::keyPressEvent(QKeyEvent* event) {
    const bool repeat = event->isAutoRepeat() || TakeHeldRelease(event);
    if (menu_.IsOpen() && editor_ != nullptr) {
        MenuKeyPress(event, repeat);
        return;
    }
    if (editor_ != nullptr && editor_->State().textField.open) {
        TextFieldKeyPress(event, repeat);
        return;
    }
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
        if (!repeat) {
            PressSoftKey(key == Qt::Key_F1);
        }
        return;
    }
    if (key == Qt::Key_Escape || key == Qt::Key_Backspace) {
        if (!repeat && editor_ != nullptr) {
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
    // An open pop-up has the keyboard: the release of the key that opened
    // it, and of every key pressed in it, never reaches the editor.
    if (event->isAutoRepeat() || menu_.IsOpen() || editor_ == nullptr) {
        return;
    }
    // A repeat the server sends as a release and a press of one time may
    // reach the window before its press is there to mark it; such a release
    // waits a moment for its press (TakeHeldRelease). Events without a time
    // (made by the program itself) cannot be paired and count at once.
    if (event->timestamp() != 0) {
        heldRelease_ = {true, event->key(), event->timestamp()};
        releaseTimer_->start();
        return;
    }
    editor_->KeyUp();
}

void PhoneWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QRect strip = SoftKeyStripRect(PhoneRect(), ScaleFactor());
    const QPoint at = event->position().toPoint();
    if (menu_.IsOpen()) {
        MenuClick(at);
        return;
    }
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
    const SoftKeyBar& bar = FindSoftKeyBar(bar_);
    leftLabel_ = bar.left.command != 0 ? QString::fromUtf8(ResString(bar.left.textId)) : QString();
    rightLabel_ =
        bar.right.command != 0 ? QString::fromUtf8(ResString(bar.right.textId)) : QString();
    update(SoftKeyStripRect(PhoneRect(), ScaleFactor()));
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
    // The pop-up stands on the soft-key strip, on its key's side; the
    // editor brings its items up to date first.
    editor_->MenuPopup();
    menu_.Open(key.popup, !left, editor_->GetMenu(key.popup));
    RepaintPictureArea();
}

void PhoneWindow::MenuKeyPress(QKeyEvent* event, bool repeat) {
    const int key = event->key();
    const Menu& root = editor_->GetMenu(menu_.Id());
    if (key == Qt::Key_F1 || key == Qt::Key_F2) {
        if (!repeat) {
            CloseMenu();
        }
        return;
    }
    PhoneMenuStep step;
    switch (key) {
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            if (repeat) {
                return;
            }
            step = menu_.Key(MENU_KEY_BACK, root);
            break;
        case Qt::Key_Up:
            step = menu_.Key(MENU_KEY_UP, root);
            break;
        case Qt::Key_Down:
            step = menu_.Key(MENU_KEY_DOWN, root);
            break;
        case Qt::Key_Left:
            step = menu_.Key(MENU_KEY_LEFT, root);
            break;
        case Qt::Key_Right:
            step = menu_.Key(MENU_KEY_RIGHT, root);
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (repeat) {
                return;
            }
            step = menu_.Key(MENU_KEY_ACTION, root);
            break;
        default:
            if (key >= Qt::Key_0 && key <= Qt::Key_9 && !repeat) {
                step = menu_.Digit(key - Qt::Key_0, root);
            }
            break;
    }
    FollowMenuStep(step);
}

void PhoneWindow::MenuClick(const QPoint& at) {
    const int factor = ScaleFactor();
    const QRect picture = PictureAreaRect(PhoneRect(), factor);
    const QPoint local = at - picture.topLeft();
    int level = -1;
    int row = -1;
    // Whole phone pixels: a click left of or above the area stays outside.
    const bool inside = local.x() >= 0 && local.y() >= 0;
    if (!inside ||
        !HitPhoneMenu(MenuLayout(), local.x() / factor, local.y() / factor, &level, &row)) {
        CloseMenu();
        return;
    }
    FollowMenuStep(menu_.Pick(level, row, editor_->GetMenu(menu_.Id())));
}

void PhoneWindow::FollowMenuStep(const PhoneMenuStep& step) {
    switch (step.outcome) {
        case MENU_UNCHANGED:
            return;
        case MENU_OPEN_SUBMENU:
            editor_->MenuPopup();
            menu_.OpenSubmenu(editor_->GetMenu(menu_.Id()));
            break;
        case MENU_RUN:
            // The pop-up is gone before the command runs, as the phone's is.
            RepaintPictureArea();
            editor_->Command(step.command);
            return;
        case MENU_MOVED:
        case MENU_CLOSED:
            break;
    }
    RepaintPictureArea();
}

void PhoneWindow::CloseMenu() {
    menu_.Close();
    RepaintPictureArea();
}

bool PhoneWindow::TakeHeldRelease(const QKeyEvent* event) {
    if (!heldRelease_.waiting) {
        return false;
    }
    const bool repeat =
        event->key() == heldRelease_.key && event->timestamp() == heldRelease_.timestamp;
    releaseTimer_->stop();
    heldRelease_ = {};
    // A press of another time: the release was real, and comes first.
    if (!repeat && editor_ != nullptr && !menu_.IsOpen()) {
        editor_->KeyUp();
    }
    return repeat;
}

// Every key that does something here but a keypad digit settles the
// character the keypad was choosing; keys that do nothing (modifiers, Num
// Lock, the arrows) leave it. The soft keys, Return and Escape ignore their
// repeats.
void PhoneWindow::TextFieldKeyPress(QKeyEvent* event, bool repeat) {
    const int digit = KeypadDigit(*event);
    if (digit >= 0) {
        if (!repeat) {
            KeypadTap(digit);
        }
        return;
    }
    const int key = event->key();
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint();
    if (!printable && key != Qt::Key_F1 && key != Qt::Key_F2 && key != Qt::Key_Return &&
        key != Qt::Key_Enter && key != Qt::Key_Escape && key != Qt::Key_Backspace) {
        return;
    }
    multiTap_.Settle();
    multiTapTimer_->stop();
    switch (key) {
        case Qt::Key_F1:
        case Qt::Key_F2:
            if (!repeat) {
                PressSoftKey(key == Qt::Key_F1);
            }
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (!repeat) {
                editor_->KeyDown(KEY_ACTION);
            }
            return;
        case Qt::Key_Escape:
            if (!repeat) {
                editor_->BackKey();
            }
            return;
        case Qt::Key_Backspace:
            // Held, it deletes the line, but never closes the field.
            if (!editor_->State().textField.text.empty()) {
                editor_->BackKey();
            }
            return;
        default:
            editor_->TypeText(typed.toStdString());
            return;
    }
}

void PhoneWindow::KeypadTap(int digit) {
    const MultiTap::Tap tap = multiTap_.Press(digit, editor_->State().textField.text);
    if (tap.replaces) {
        editor_->BackKey();
    }
    if (tap.character.empty() || !editor_->TypeText(tap.character)) {
        multiTap_.Refused();
        multiTapTimer_->stop();
    } else {
        multiTapTimer_->start();
    }
    RepaintPictureArea();
}
