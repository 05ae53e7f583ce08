// The phone window under the offscreen platform, driven by real key and
// mouse events: soft keys and the pop-ups drawn on the phone screen, the
// d-pad with held-key repeats, digits, the Back key, the crisp picture area,
// the level bar, questions and messages on the phone screen, the About box,
// the keys' help page, the "Saved" title and the close button's Close flow.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <cstring>
#include <functional>
#include <memory>

#include "app/Editor.h"
#include "platform/AboutDialog.h"
#include "platform/LevelBar.h"
#include "platform/PhoneMessageDialog.h"
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

// The Qt shell, keeping a copy of the last picture area presented.
class RecordingShell : public QtShell {
  public:
    using QtShell::QtShell;
    void PresentScreen(const DibImage& screen) override {
        lastScreen = DibCreate(screen.header.biWidth, screen.header.biHeight, 24);
        if (lastScreen) {
            std::memcpy(DibPixels(lastScreen.get()), DibPixels(&screen),
                        static_cast<size_t>(kCanvasPixelBytes));
        }
        QtShell::PresentScreen(screen);
    }
    DibBlock lastScreen;
};

class PhoneWindowTest : public ::testing::Test {
  protected:
    PhoneWindowTest() {
        TestApplication();
        window_ = std::make_unique<PhoneWindow>();
        shell_ = std::make_unique<RecordingShell>(*window_);
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
    // keys, as a user does: Down until the row on the way is highlighted,
    // Right into each sub-menu, Return on the item.
    void PickFromMenu(int softKey, MenuId menu, uint16_t id) {
        Key(softKey);
        ASSERT_TRUE(window_->OpenMenu().IsOpen());
        ASSERT_EQ(window_->OpenMenu().Id(), menu);
        const std::vector<int> path = PathTo(editor_->GetMenu(menu), id);
        ASSERT_FALSE(path.empty()) << "no item " << id;
        for (size_t level = 0; level < path.size(); ++level) {
            for (int guard = 0;
                 guard < 20 && window_->OpenMenu().Highlight(int(level)) != path[level]; ++guard) {
                Key(Qt::Key_Down);
            }
            ASSERT_EQ(window_->OpenMenu().Highlight(int(level)), path[level]);
            Key(level + 1 < path.size() ? Qt::Key_Right : Qt::Key_Return);
        }
    }
    // The rows leading to the item with this id, top level first.
    static std::vector<int> PathTo(const Menu& items, uint16_t id) {
        for (size_t row = 0; row < items.size(); ++row) {
            const MenuItem& item = items[row];
            std::vector<int> below = item.popup ? PathTo(item.items, id) : std::vector<int>();
            if (!item.popup && item.id == id) {
                return {int(row)};
            }
            if (!below.empty()) {
                below.insert(below.begin(), int(row));
                return below;
            }
        }
        return {};
    }
    bool Enabled(MenuId menu, uint16_t id) const {
        const std::vector<int> path = PathTo(editor_->GetMenu(menu), id);
        const Menu* items = &editor_->GetMenu(menu);
        for (size_t i = 0; i + 1 < path.size(); ++i) {
            items = &(*items)[size_t(path[i])].items;
        }
        return !path.empty() && (*items)[size_t(path.back())].enabled;
    }
    QImage Grab() const { return window_->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    // The window pixel of phone pixel (x, y) of the picture area.
    QPoint At(int x, int y) const {
        const int f = window_->ScaleFactor();
        return PictureAreaRect(window_->PhoneRect(), f).topLeft() + QPoint(x * f, y * f);
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
    std::unique_ptr<PhoneWindow> window_;
    std::unique_ptr<RecordingShell> shell_;
    std::unique_ptr<Editor> editor_;
};

TEST_F(PhoneWindowTest, SoftKeyOpensTheFileMenuWithGreyingAndEscapeClosesIt) {
    Key(Qt::Key_F1);
    const PhoneMenuNavigator& menu = window_->OpenMenu();
    ASSERT_TRUE(menu.IsOpen());
    EXPECT_EQ(menu.Id(), MENU_FILE);
    EXPECT_EQ(menu.Current(editor_->GetMenu(MENU_FILE))->text, "Open");
    EXPECT_FALSE(Enabled(MENU_FILE, 40024));  // Recover
    EXPECT_FALSE(Enabled(MENU_FILE, 40026));  // Reset Position
    EXPECT_TRUE(Enabled(MENU_FILE, 40036));
    // Down passes the grey Recover and the separator.
    Key(Qt::Key_Down);
    Key(Qt::Key_Down);
    EXPECT_EQ(menu.Current(editor_->GetMenu(MENU_FILE))->text, "Rescale");
    // The pop-up stands on the soft-key strip, on the left.
    const std::vector<PhoneMenuBox> boxes = window_->MenuLayout();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].left, 0);
    EXPECT_EQ(boxes[0].top + boxes[0].height, kCanvasHeight);
    // Keys in the menu never reach the editor.
    EXPECT_EQ(State().photoY, 0);

    Key(Qt::Key_Escape);
    EXPECT_FALSE(menu.IsOpen());

    // A moved photo enables Reset Position the next time the menu opens.
    Key(Qt::Key_Up);
    Key(Qt::Key_F1);
    EXPECT_TRUE(Enabled(MENU_FILE, 40026));
    // A soft key closes the open pop-up.
    Key(Qt::Key_F2);
    EXPECT_FALSE(menu.IsOpen());
}

TEST_F(PhoneWindowTest, ObjectMenuActionKeyRunsTheFirstItemAtOnce) {
    Key(Qt::Key_F2);
    ASSERT_EQ(window_->OpenMenu().Id(), MENU_OBJECT);
    Key(Qt::Key_Return);
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_TRUE(State().picker.open) << "Change Color did not run";
}

TEST_F(PhoneWindowTest, DigitsPickItemsAndSubmenusOpenAndCloseByKeys) {
    Key(Qt::Key_F1);
    Key(Qt::Key_3);  // Recover is grey: nothing
    EXPECT_TRUE(window_->OpenMenu().IsOpen());
    EXPECT_EQ(window_->OpenMenu().Depth(), 1);
    Key(Qt::Key_8);  // Image opens
    ASSERT_EQ(window_->OpenMenu().Depth(), 2);
    EXPECT_EQ(window_->MenuLayout().size(), 2u);
    Key(Qt::Key_Left);
    EXPECT_EQ(window_->OpenMenu().Depth(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(window_->OpenMenu().Depth(), 2);
    Key(Qt::Key_Backspace);  // Back closes one level
    EXPECT_EQ(window_->OpenMenu().Depth(), 1);
    Key(Qt::Key_Return);
    Key(Qt::Key_2, Qt::KeypadModifier);  // Contrast
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_EQ(State().mode, EditMode::Adjust);
    EXPECT_EQ(State().adjustKind, ADJUST_CONTRAST);
}

TEST_F(PhoneWindowTest, AClickOnAMenuRowRunsItAndAClickOutsideClosesIt) {
    const auto click = [&](const QPoint& at) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), window_->mapToGlobal(QPointF(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window_.get(), &press);
    };
    Key(Qt::Key_F1);
    click(At(170, 10));
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_EQ(State().mode, EditMode::Normal);

    Key(Qt::Key_F1);
    const PhoneMenuBox box = window_->MenuLayout().at(0);
    const PhoneMenuRow& rescale = box.rows.at(6);
    click(At(box.left + 10, box.top + 1 + rescale.top + rescale.height / 2));
    EXPECT_FALSE(window_->OpenMenu().IsOpen());
    EXPECT_EQ(State().mode, EditMode::Rescale);
}

TEST_F(PhoneWindowTest, MenusAreDrawnCrispOverThePictureInThePhonesLook) {
    const DibBlock pattern = MakePatternImage(kCanvasWidth, kCanvasHeight);
    shell_->PresentScreen(*pattern);
    Key(Qt::Key_F2);
    QApplication::processEvents();
    const PhoneMenuBox box = window_->MenuLayout().at(0);
    EXPECT_EQ(box.left + box.width, kCanvasWidth) << "the right soft key's pop-up";
    const QImage shot = Grab();
    const int f = window_->ScaleFactor();
    // The phone pixel's colour, every window pixel of it the same.
    const auto pixel = [&](int x, int y) {
        const QPoint at = At(x, y);
        const QRgb colour = shot.pixel(at);
        for (int dy = 0; dy < f; ++dy) {
            for (int dx = 0; dx < f; ++dx) {
                EXPECT_EQ(shot.pixel(at + QPoint(dx, dy)), colour) << x << "," << y;
            }
        }
        return colour & 0xffffff;
    };
    const PhoneMenuRow& first = box.rows[0];      // Change Color, highlighted
    const PhoneMenuRow& merge = box.rows.back();  // Delete, grey
    EXPECT_EQ(pixel(box.left, box.top), 0x103070u) << "the outline";
    EXPECT_EQ(pixel(box.left + box.width - 3, box.top + 1 + first.top + 1), 0x103070u)
        << "the highlighted row";
    EXPECT_EQ(pixel(box.left + box.width - 3, box.top + 1 + merge.top + 1), 0xffffffu);
    // Text in the rows: white on the highlight, grey (never black) for a
    // disabled item.
    int light = 0;
    int grey = 0;
    int black = 0;
    for (int y = 0; y < first.height * f; ++y) {
        for (int x = 0; x < (box.width - 2) * f; ++x) {
            const QPoint origin = At(box.left + 1, box.top + 1);
            light += qGray(shot.pixel(origin + QPoint(x, first.top * f + y))) > 200 ? 1 : 0;
            const int g = qGray(shot.pixel(origin + QPoint(x, merge.top * f + y)));
            grey += g > 100 && g < 200 ? 1 : 0;
            black += g < 100 ? 1 : 0;
        }
    }
    EXPECT_GT(light, 30);
    EXPECT_GT(grey, 30);
    EXPECT_EQ(black, 0);
    // Outside the pop-up the picture shows as presented.
    EXPECT_EQ(pixel(2, 2), PixelAt(pattern.get(), 2, kCanvasHeight - 1 - 2));
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

TEST_F(PhoneWindowTest, KeysItemShowsTheHelpPageLeftWithASoftKeyOrBack) {
    for (const int leave : {Qt::Key_Escape, Qt::Key_F1}) {
        QString title;
        QRect geometry;
        bool stayed = false;
        WhenModal([&](QWidget* modal) {
            auto* page = qobject_cast<KeysPage*>(modal);
            ASSERT_NE(page, nullptr);
            title = page->windowTitle();
            geometry = page->geometry();
            ClickKey(page, Qt::Key_Down);  // no key of the page
            stayed = page->isVisible();
            ClickKey(page, leave);
        });
        PickFromMenu(Qt::Key_F1, MENU_FILE, 40072);
        EXPECT_EQ(title, "Keys");
        EXPECT_TRUE(stayed);
        const QRect phone = window_->PhoneRect();
        EXPECT_EQ(geometry, QRect(window_->mapToGlobal(phone.topLeft()), phone.size()));
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
    // Every phone key is named with its desktop keys.
    std::string desktop;
    for (const auto& [phoneKey, keys] : KeysPage::Rows()) {
        desktop += keys + ";";
    }
    for (const char* key : {"F1", "F2", "Arrow", "Return", "0-9", "Esc", "Backspace"}) {
        EXPECT_NE(desktop.find(key), std::string::npos) << key;
    }
}

TEST_F(PhoneWindowTest, CloseButtonRunsTheCloseFlow) {
    // A changed photo: the close button asks the save question first, on
    // the phone screen; F2 is No.
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40036);  // Brightness
    Key(Qt::Key_Right);
    Key(Qt::Key_F1);  // Done
    ASSERT_TRUE(State().photoChanged);
    std::string caption;
    std::vector<std::string> lines;
    bool question = false;
    QRect geometry;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<PhoneMessageDialog*>(modal);
        ASSERT_NE(box, nullptr);
        caption = box->Caption();
        lines = box->Lines();
        question = box->IsQuestion();
        geometry = box->geometry();
        ClickKey(box, Qt::Key_F2);
    });
    window_->close();
    EXPECT_EQ(caption, "Save");
    EXPECT_TRUE(question);
    // Wrapped to the body: more than one line, nothing lost.
    ASSERT_GE(lines.size(), 2u);
    std::string joined;
    for (const std::string& line : lines) {
        joined += (joined.empty() ? "" : " ") + line;
    }
    EXPECT_EQ(joined, "Do you want to save this image ?");
    const QRect phone = window_->PhoneRect();
    EXPECT_EQ(geometry, QRect(window_->mapToGlobal(phone.topLeft()), phone.size()));
    EXPECT_FALSE(window_->isVisible());
}

// Questions and messages are drawn on the phone screen: the caption in the
// title strip, the text in the body, the answers on the soft keys; the
// action key answers the left soft key, Back answers No.
TEST_F(PhoneWindowTest, QuestionsAndMessagesAreAnsweredWithThePhoneKeys) {
    struct Case {
        int key;
        bool yes;
    };
    for (const Case& c : {Case{Qt::Key_Return, true}, Case{Qt::Key_F1, true},
                          Case{Qt::Key_Escape, false}, Case{Qt::Key_F2, false}}) {
        bool answered = false;
        WhenModal([&](QWidget* modal) { ClickKey(modal, c.key); });
        answered = shell_->AskQuestion("Border", "Do you want to merge the frame object ?");
        EXPECT_EQ(answered, c.yes) << c.key;
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // A message: its box shows the caption and the text, and Back closes it.
    QImage shot;
    int softKeys = 0;
    WhenModal([&](QWidget* modal) {
        auto* box = qobject_cast<PhoneMessageDialog*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->IsQuestion());
        shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        // F2 has no answer in a message: it stays.
        ClickKey(box, Qt::Key_F2);
        softKeys = box->isVisible() ? 1 : 0;
        ClickKey(box, Qt::Key_Backspace);
    });
    EXPECT_FALSE(editor_->OpenPicture("/nonexistent/picture.jpg"));
    EXPECT_EQ(softKeys, 1);
    ASSERT_FALSE(shot.isNull());
    const int f = window_->ScaleFactor();
    const QRect phone(0, 0, shot.width(), shot.height());
    // Ink in the title strip (the caption), the body (the text) and the
    // left half of the soft-key strip ("OK") only.
    const auto ink = [&](const QRect& area, bool darkOnLight) {
        int count = 0;
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                const int g = qGray(shot.pixel(x, y));
                count += darkOnLight ? (g < 96 ? 1 : 0) : (g > 200 ? 1 : 0);
            }
        }
        return count;
    };
    const QRect strip = SoftKeyStripRect(phone, f);
    EXPECT_GT(ink(TitleStripRect(phone, f).adjusted(0, 0, 0, -2 * f), true), 50);
    EXPECT_GT(ink(PictureAreaRect(phone, f).adjusted(40 * f, 0, 0, 0), true), 200);
    EXPECT_GT(ink(strip.adjusted(0, 0, -strip.width() / 2, 0), false), 20);
    EXPECT_EQ(ink(strip.adjusted(strip.width() / 2 + 2 * f, 0, 0, 0), false), 0);
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
    EXPECT_EQ(window_->OpenMenu().Id(), MENU_OBJECT);
}

// While Rescale or an adjust mode is on, the window shows the value in a
// bar over the bottom of the picture area; the presented picture itself is
// not changed by it, and the bar goes with the mode.
TEST_F(PhoneWindowTest, LevelBarShowsTheScaleAndLevelsOverThePicture) {
    // Phone pixels of the picture area that the window shows otherwise
    // than the editor presented them, inside and outside the bar.
    const auto differences = [&](int* inside, int* outside) {
        const QImage shot = Grab();
        const QRect bar = LevelBarPhoneRect();
        *inside = 0;
        *outside = 0;
        for (int y = 0; y < kCanvasHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) {
                const uint32_t presented =
                    PixelAt(shell_->lastScreen.get(), x, kCanvasHeight - 1 - y);
                const bool differs = (shot.pixel(At(x, y)) & 0xffffff) != presented;
                (bar.contains(x, y) ? *inside : *outside) += differs ? 1 : 0;
            }
        }
    };
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40035);  // Rescale
    for (int i = 0; i < 5; ++i) {
        Key(Qt::Key_2);
    }
    LevelBarModel bar = LevelBarFor(State());
    EXPECT_TRUE(bar.shown);
    EXPECT_EQ(bar.text, "90 %");
    EXPECT_EQ(bar.lowest, 44);
    EXPECT_EQ(bar.highest, 155);
    int inside = 0;
    int outside = 0;
    differences(&inside, &outside);
    EXPECT_GT(inside, LevelBarPhoneRect().width() * 2) << "no bar drawn";
    EXPECT_EQ(outside, 0);
    Key(Qt::Key_F1);  // Done
    EXPECT_FALSE(LevelBarFor(State()).shown);
    differences(&inside, &outside);
    EXPECT_EQ(inside + outside, 0) << "the bar stayed after the mode";

    struct Adjust {
        uint16_t command;
        int ups;
        const char* text;
        int lowest;
        int highest;
    };
    for (const Adjust& a : {Adjust{40036, 7, "+35", -100, 100}, Adjust{40037, -4, "-20", -100, 100},
                            Adjust{40038, 0, "0", -100, 100}, Adjust{40039, 2, "16", 1, 79}}) {
        PickFromMenu(Qt::Key_F1, MENU_FILE, a.command);
        for (int i = 0; i < std::abs(a.ups); ++i) {
            Key(a.ups > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        bar = LevelBarFor(State());
        EXPECT_EQ(bar.text, a.text) << a.command;
        EXPECT_EQ(bar.lowest, a.lowest);
        EXPECT_EQ(bar.highest, a.highest);
        PickFromMenu(Qt::Key_F2, MENU_ADJUST_ACTION, 40028);  // Cancel
    }
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
