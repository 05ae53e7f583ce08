// The phone window under the offscreen platform, driven by real key and
// mouse events: soft keys and their menus, the d-pad with held-key repeats,
// digits, the Back key, the crisp picture area, the About box and the close
// button's Close flow.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <memory>

#include "app/Editor.h"
#include "platform/AboutDialog.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneWindow.h"
#include "platform/QtShell.h"
#include "platform/TestApplication.h"
#include "support/TestSupport.h"

namespace {

void SendKey(QWidget* target, QEvent::Type type, int key, bool autoRepeat = false,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(type, key, modifiers, QString(), autoRepeat);
    QApplication::sendEvent(target, &event);
}

void ClickKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    SendKey(target, QEvent::KeyPress, key, false, modifiers);
    SendKey(target, QEvent::KeyRelease, key, false, modifiers);
}

class PhoneWindowTest : public ::testing::Test {
  protected:
    PhoneWindowTest() {
        TestApplication();
        window_ = std::make_unique<PhoneWindow>();
        shell_ = std::make_unique<QtShell>(*window_);
        editor_ = std::make_unique<Editor>(*shell_, nullptr, FOTAKLE_PROGRAM_FOLDER);
        window_->AttachEditor(editor_.get());
        editor_->Start();
        window_->resize(kPhoneWidth * 3, kPhoneHeight * 3);
        window_->show();
        QApplication::processEvents();
    }
    ~PhoneWindowTest() override {
        if (QWidget* popup = QApplication::activePopupWidget()) {
            popup->close();
        }
        window_->AttachEditor(nullptr);
        editor_.reset();
        shell_.reset();
        window_.reset();
    }

    const EditorState& State() const { return editor_->State(); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ClickKey(window_.get(), key, modifiers);
    }
    // Opens the pop-up with a soft key and picks the item with this id by
    // keys: Right opens each sub-menu on the way, Return picks the item.
    void PickFromMenu(int softKey, MenuId menu, uint16_t id) {
        Key(softKey);
        QMenu* popup = window_->PopupMenu(menu);
        ASSERT_EQ(QApplication::activePopupWidget(), popup);
        QAction* item = FindAction(popup, id);
        ASSERT_NE(item, nullptr);
        QList<QMenu*> chain;
        for (auto* holder = qobject_cast<QMenu*>(item->parent());
             holder != nullptr && holder != popup;
             holder = qobject_cast<QMenu*>(holder->parent())) {
            chain.prepend(holder);
        }
        QMenu* current = popup;
        for (QMenu* submenu : chain) {
            current->setActiveAction(submenu->menuAction());
            ClickKey(current, Qt::Key_Right);
            ASSERT_EQ(QApplication::activePopupWidget(), submenu);
            current = submenu;
        }
        current->setActiveAction(item);
        ClickKey(current, Qt::Key_Return);
    }
    // Runs action on the next modal widget, from inside its event loop. The
    // polling timer belongs to the window and goes with it.
    void WhenModal(std::function<void(QWidget*)> action) {
        auto* timer = new QTimer(window_.get());
        timer->setInterval(10);
        QObject::connect(timer, &QTimer::timeout, [timer, action] {
            if (QWidget* modal = QApplication::activeModalWidget()) {
                timer->stop();
                timer->deleteLater();
                action(modal);
            }
        });
        timer->start();
    }
    static QAction* FindAction(QMenu* menu, uint16_t id) {
        for (QAction* action : menu->actions()) {
            if (action->menu() != nullptr) {
                if (QAction* found = FindAction(action->menu(), id)) {
                    return found;
                }
            } else if (action->data().toUInt() == id) {
                return action;
            }
        }
        return nullptr;
    }

    std::unique_ptr<PhoneWindow> window_;
    std::unique_ptr<QtShell> shell_;
    std::unique_ptr<Editor> editor_;
};

TEST_F(PhoneWindowTest, SoftKeyOpensTheFileMenuWithGreyingAndEscapeClosesIt) {
    Key(Qt::Key_F1);
    QMenu* file = window_->PopupMenu(MENU_FILE);
    ASSERT_EQ(QApplication::activePopupWidget(), file);
    QAction* recover = FindAction(file, 40024);
    QAction* resetPosition = FindAction(file, 40026);
    ASSERT_TRUE(recover && resetPosition);
    EXPECT_EQ(recover->text(), "Recover");
    EXPECT_FALSE(recover->isEnabled());
    EXPECT_FALSE(resetPosition->isEnabled());
    EXPECT_TRUE(FindAction(file, 40036)->isEnabled());
    // The pop-up stands on the soft-key strip.
    const QRect strip = SoftKeyStripRect(window_->PhoneRect(), window_->ScaleFactor());
    EXPECT_LE(file->geometry().bottom(), window_->mapToGlobal(strip.topLeft()).y());

    ClickKey(file, Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    // A moved photo enables Reset Position the next time the menu opens.
    Key(Qt::Key_Up);
    Key(Qt::Key_F1);
    EXPECT_TRUE(resetPosition->isEnabled());
}

TEST_F(PhoneWindowTest, MenuCommandsAndPlainSoftKeysReachTheEditor) {
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40035);  // File > Rescale
    EXPECT_EQ(State().mode, EditMode::Rescale);
    EXPECT_EQ(window_->Bar(), BAR_RESCALE);
    EXPECT_EQ(window_->windowTitle(), "Rescale Image");
    // Digits of the top row and of the keypad alike scale up.
    Key(Qt::Key_1);
    Key(Qt::Key_1, Qt::KeypadModifier);
    EXPECT_EQ(State().scalePercent, 104);
    // The rescale bar's Action pop-up, then "Done" on the left soft key.
    PickFromMenu(Qt::Key_F2, MENU_RESCALE_ACTION, 40052);  // Reset
    EXPECT_EQ(State().scalePercent, 100);
    Key(Qt::Key_F1);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_EQ(window_->Bar(), BAR_MAIN);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(PhoneWindowTest, HeldArrowSpeedsUpUntilARealRelease) {
    QWidget* window = window_.get();
    SendKey(window, QEvent::KeyPress, Qt::Key_Right);
    // The desktop repeats a held key as release-press pairs marked as
    // auto-repeats.
    for (int i = 0; i < 4; ++i) {
        SendKey(window, QEvent::KeyRelease, Qt::Key_Right, true);
        SendKey(window, QEvent::KeyPress, Qt::Key_Right, true);
    }
    EXPECT_EQ(State().keyStep, 5);
    EXPECT_EQ(State().photoX, 1 + 2 + 3 + 4 + 5);
    SendKey(window, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(State().keyStep, 1);
    Key(Qt::Key_Down);
    EXPECT_EQ(State().photoY, -1);
}

TEST_F(PhoneWindowTest, EscapeIsTheBackKeyAndClosesThePicker) {
    PickFromMenu(Qt::Key_F2, MENU_OBJECT, 40001);  // Object > Change Color
    ASSERT_TRUE(State().picker.open);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(State().picker.open);
    PickFromMenu(Qt::Key_F2, MENU_OBJECT, 40001);
    ASSERT_TRUE(State().picker.open);
    Key(Qt::Key_Backspace);
    EXPECT_FALSE(State().picker.open);
}

TEST_F(PhoneWindowTest, PictureAreaShowsThePresentedImageCrispAtEachWholeFactor) {
    const DibBlock pattern = MakePatternImage(kCanvasWidth, kCanvasHeight);
    shell_->PresentScreen(*pattern);
    for (const QSize size : {QSize(528, 660), QSize(600, 460), QSize(200, 900)}) {
        window_->resize(size);
        QApplication::processEvents();
        ASSERT_EQ(window_->size(), size);
        const QImage shot = window_->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const int factor = std::min(size.width() / kPhoneWidth, size.height() / kPhoneHeight);
        const int left = (size.width() - kPhoneWidth * factor) / 2;
        const int top = (size.height() - kPhoneHeight * factor) / 2 + kStripHeight * factor;
        ASSERT_EQ(shot.size(), size);
        int wrong = 0;
        for (int y = 0; y < kCanvasHeight * factor && wrong == 0; ++y) {
            for (int x = 0; x < kCanvasWidth * factor; ++x) {
                // Row 0 of the picture in memory is the bottom row on screen.
                const uint32_t expected =
                    PixelAt(pattern.get(), x / factor, kCanvasHeight - 1 - y / factor);
                const uint32_t actual = shot.pixel(left + x, top + y) & 0xffffff;
                if (actual != expected) {
                    ADD_FAILURE() << "factor " << factor << ": (" << x << ", " << y << ") is "
                                  << std::hex << actual << ", expected " << expected;
                    ++wrong;
                    break;
                }
            }
        }
    }
}

TEST_F(PhoneWindowTest, AboutBoxCoversThePhoneScreenAndContinueEndsIt) {
    QRect aboutGeometry;
    QString aboutTitle;
    WhenModal([&](QWidget* modal) {
        aboutGeometry = modal->geometry();
        aboutTitle = modal->windowTitle();
        ClickKey(modal, Qt::Key_F1);
    });
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40054);
    const QRect phone = window_->PhoneRect();
    EXPECT_EQ(aboutGeometry, QRect(window_->mapToGlobal(phone.topLeft()), phone.size()));
    EXPECT_EQ(aboutTitle, "About Fotakle");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(AboutDialog::TextLines().mid(0, 2),
              QStringList({"Fotakle\n(Smartphone Edition)", "Version 1.03"}));
}

TEST_F(PhoneWindowTest, CloseButtonRunsTheCloseFlow) {
    // A changed photo: the close button asks the save question first.
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40036);  // Brightness
    Key(Qt::Key_Right);
    Key(Qt::Key_F1);  // Done
    ASSERT_TRUE(State().photoChanged);
    QString caption;
    QString text;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        caption = box->windowTitle();
        text = box->text();
        EXPECT_EQ(box->icon(), QMessageBox::Question);
        box->button(QMessageBox::No)->click();
    });
    window_->close();
    EXPECT_EQ(caption, "Save");
    EXPECT_EQ(text, "Do you want to save this image ?");
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(PhoneWindowTest, CloseButtonWithNothingToSaveClosesAtOnce) {
    bool asked = false;
    WhenModal([&](QWidget* modal) {
        asked = true;
        modal->close();
    });
    window_->close();
    EXPECT_FALSE(asked);
    EXPECT_FALSE(window_->isVisible());
}

TEST_F(PhoneWindowTest, ClickOnASoftKeyLabelPressesIt) {
    const QRect strip = SoftKeyStripRect(window_->PhoneRect(), window_->ScaleFactor());
    const QPointF at(strip.right() - 10, strip.center().y());
    QMouseEvent press(QEvent::MouseButtonPress, at, window_->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &press);
    EXPECT_EQ(QApplication::activePopupWidget(), window_->PopupMenu(MENU_OBJECT));
}

}  // namespace

// Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y redo; a plain Z or Y does nothing.
TEST_F(PhoneWindowTest, ControlZUndoesAndControlShiftZOrControlYRedoes) {
    Key(Qt::Key_Right);
    Key(Qt::Key_Right);
    ASSERT_EQ(State().photoX, 2);
    ASSERT_EQ(State().history.UndoSteps(), 2);
    Key(Qt::Key_Z);
    Key(Qt::Key_Y);
    EXPECT_EQ(State().photoX, 2);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 1);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 0);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(State().photoX, 1);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 2);
    EXPECT_EQ(State().history.RedoSteps(), 0);
}
