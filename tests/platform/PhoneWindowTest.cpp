// The phone window under the offscreen platform, driven by real key and
// mouse events: soft keys and the pop-ups drawn on the phone screen, digits,
// the Back key, held-key repeats, the crisp picture area, the level bar,
// questions and messages on the phone screen, the About box, the keys' help
// page and the close button's Close flow.
#include <gtest/gtest.h>

#include <QMouseEvent>

#include "platform/LevelBar.h"
#include "platform/PhoneMessageDialog.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PlatformTestSupport.h"

namespace {

class PhoneWindowTest : public ::testing::Test, public EditorWindow {
  protected:
    void Click(const QPoint& at) {
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), window.mapToGlobal(QPointF(at)),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&window, &press);
    }
};

TEST_F(PhoneWindowTest, SoftKeysOpenPopupsWhoseKeysNeverReachTheEditor) {
    Key(Qt::Key_F1);
    const PhoneMenuNavigator& menu = window.OpenMenu();
    ASSERT_EQ(menu.Id(), MENU_FILE);
    EXPECT_EQ(menu.Current(editor.GetMenu(MENU_FILE))->text, "Open");
    // Down passes the grey Recover, Undo and Redo and the separator.
    Keys({Qt::Key_Down, Qt::Key_Down});
    EXPECT_EQ(menu.Current(editor.GetMenu(MENU_FILE))->text, "Rescale");
    // The pop-up stands on the soft-key strip, on the left.
    const std::vector<PhoneMenuBox> boxes = window.MenuLayout();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].left, 0);
    EXPECT_EQ(boxes[0].top + boxes[0].height, kCanvasHeight);
    EXPECT_EQ(State().photoY, 0);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(menu.IsOpen());

    // A soft key closes the open pop-up; a moved photo enables Reset
    // Position the next time (the keys reach no grey row).
    Keys({Qt::Key_F1, Qt::Key_F2});
    EXPECT_FALSE(menu.IsOpen());
    Key(Qt::Key_Up);
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40026);  // Reset Position
    EXPECT_EQ(State().photoY, 0);

    // Digits: a grey item does nothing, a sub-menu opens, Left, Right and
    // Back move between the levels, a keypad digit runs Contrast.
    Keys({Qt::Key_F1, Qt::Key_3});
    EXPECT_EQ(menu.Depth(), 1);
    Key(Qt::Key_8);
    ASSERT_EQ(menu.Depth(), 2);
    EXPECT_EQ(window.MenuLayout().size(), 2u);
    Key(Qt::Key_Left);
    EXPECT_EQ(menu.Depth(), 1);
    Key(Qt::Key_Right);
    EXPECT_EQ(menu.Depth(), 2);
    Key(Qt::Key_Backspace);
    EXPECT_EQ(menu.Depth(), 1);
    Key(Qt::Key_Return);
    Key(Qt::Key_2, Qt::KeypadModifier);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(State().adjustKind, ADJUST_CONTRAST);
    PickFromMenu(Qt::Key_F2, MENU_ADJUST_ACTION, 40028);  // Cancel

    // The action key runs the first item of "Object" (Change Color); Escape
    // and Backspace are both the Back key that closes the picker.
    for (const int back : {Qt::Key_Escape, Qt::Key_Backspace}) {
        Key(Qt::Key_F2);
        // The Add pop-ups are there though "File" opened first.
        EXPECT_EQ(window.MenuLayout().at(0).rows.size(), 10u);
        Key(Qt::Key_Return);
        EXPECT_FALSE(menu.IsOpen());
        ASSERT_TRUE(State().picker.open);
        Key(back);
        EXPECT_FALSE(State().picker.open) << back;
    }
}

TEST_F(PhoneWindowTest, ClicksPressSoftKeysAndRunMenuRows) {
    const QRect strip = SoftKeyStripRect(window.PhoneRect(), window.ScaleFactor());
    Click(QPoint(strip.right() - 10, strip.center().y()));
    EXPECT_EQ(window.OpenMenu().Id(), MENU_OBJECT);
    Click(At(2, 10));  // outside the pop-up: closed, nothing run
    EXPECT_FALSE(window.OpenMenu().IsOpen());
    EXPECT_FALSE(State().picker.open);

    Key(Qt::Key_F1);
    const PhoneMenuBox box = window.MenuLayout().at(0);
    const PhoneMenuRow& rescale = box.rows.at(6);
    Click(At(box.left + 10, box.top + 1 + rescale.top + rescale.height / 2));
    EXPECT_FALSE(window.OpenMenu().IsOpen());
    EXPECT_EQ(State().mode, EditMode::Rescale);
}

TEST_F(PhoneWindowTest, MenusAreDrawnCrispOverThePictureInThePhonesLook) {
    const DibBlock pattern = MakePatternImage(kCanvasWidth, kCanvasHeight);
    shell.PresentScreen(*pattern);
    Key(Qt::Key_F2);
    QApplication::processEvents();
    const PhoneMenuBox box = window.MenuLayout().at(0);
    EXPECT_EQ(box.left + box.width, kCanvasWidth) << "the right soft key's pop-up";
    EXPECT_EQ(box.rows.size(), 10u) << "the Add pop-ups at the first opening";
    const QImage shot = Grab();
    const int f = window.ScaleFactor();
    // The phone pixel's colour, every window pixel of it the same.
    const auto pixel = [&](int x, int y) {
        const QPoint at = At(x, y);
        for (int d = 0; d < f * f; ++d) {
            EXPECT_EQ(shot.pixel(at + QPoint(d % f, d / f)), shot.pixel(at)) << x << "," << y;
        }
        return shot.pixel(at) & 0xffffff;
    };
    const PhoneMenuRow& first = box.rows[0];     // Change Color, highlighted
    const PhoneMenuRow& grey = box.rows.back();  // Delete, grey
    EXPECT_EQ(pixel(box.left, box.top), 0x103070u) << "the outline";
    EXPECT_EQ(pixel(box.left + box.width - 3, box.top + 1 + first.top + 1), 0x103070u)
        << "the highlighted row";
    EXPECT_EQ(pixel(box.left + box.width - 3, box.top + 1 + grey.top + 1), 0xffffffu);
    // Text in the rows: white on the highlight, grey (never black) for a
    // disabled item.
    const auto row = [&](const PhoneMenuRow& r) {
        return QRect(At(box.left + 1, box.top + 1 + r.top), QSize(box.width - 2, r.height) * f);
    };
    EXPECT_GT(CountPixels(shot, row(first), [](QRgb c) { return qGray(c) > 200; }), 30);
    EXPECT_GT(CountPixels(shot, row(grey), [](QRgb c) { return qGray(c) > 100 && qGray(c) < 200; }),
              30);
    EXPECT_EQ(CountPixels(shot, row(grey), [](QRgb c) { return qGray(c) < 100; }), 0);
    // Outside the pop-up the picture shows as presented.
    EXPECT_EQ(pixel(2, 2), PixelAt(pattern.get(), 2, kCanvasHeight - 1 - 2));
}

// The desktop repeats a held key as release-press pairs marked as
// auto-repeats; only a real release ends the held key. Ctrl+Z undoes,
// Ctrl+Shift+Z and Ctrl+Y redo; a plain Z or Y does nothing.
TEST_F(PhoneWindowTest, HeldArrowSpeedsUpUntilARealReleaseAndControlKeysUndoAndRedo) {
    SendKey(&window, QEvent::KeyPress, Qt::Key_Right);
    for (int i = 0; i < 4; ++i) {
        SendKey(&window, QEvent::KeyRelease, Qt::Key_Right, QString(), Qt::NoModifier, true);
        SendKey(&window, QEvent::KeyPress, Qt::Key_Right, QString(), Qt::NoModifier, true);
    }
    EXPECT_EQ(State().keyStep, 5);
    EXPECT_EQ(State().photoX, 1 + 2 + 3 + 4 + 5);
    SendKey(&window, QEvent::KeyRelease, Qt::Key_Right);
    EXPECT_EQ(State().keyStep, 1);
    Key(Qt::Key_Right);
    ASSERT_EQ(State().history.UndoSteps(), 2);

    Keys({Qt::Key_Z, Qt::Key_Y});
    EXPECT_EQ(State().photoX, 16);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 15);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 0);
    Key(Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(State().photoX, 15);
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(State().photoX, 16);
    EXPECT_EQ(State().history.RedoSteps(), 0);
}

TEST_F(PhoneWindowTest, PictureAreaShowsThePresentedImageCrispAtEachWholeFactor) {
    const DibBlock pattern = MakePatternImage(kCanvasWidth, kCanvasHeight);
    shell.PresentScreen(*pattern);
    for (const QSize size : {QSize(528, 660), QSize(600, 460), QSize(200, 900)}) {
        window.resize(size);
        QApplication::processEvents();
        const QImage shot = Grab();
        ASSERT_EQ(shot.size(), size);
        const int factor = std::min(size.width() / kPhoneWidth, size.height() / kPhoneHeight);
        const int left = (size.width() - kPhoneWidth * factor) / 2;
        const int top = (size.height() - kPhoneHeight * factor) / 2 + kStripHeight * factor;
        int wrong = 0;
        for (int y = 0; y < kCanvasHeight * factor; ++y) {
            for (int x = 0; x < kCanvasWidth * factor; ++x) {
                // Row 0 of the picture in memory is the bottom row on screen.
                wrong += (shot.pixel(left + x, top + y) & 0xffffff) !=
                         PixelAt(pattern.get(), x / factor, kCanvasHeight - 1 - y / factor);
            }
        }
        EXPECT_EQ(wrong, 0) << "factor " << factor;
    }
}

// The About box and the keys' help page cover the phone screen until a
// soft key or Back; other keys leave them up.
TEST_F(PhoneWindowTest, AboutAndKeysPagesCoverThePhoneScreenUntilASoftKeyOrBack) {
    struct Case {
        uint16_t command;
        const char* title;
        int leave;
    };
    for (const Case& c : {Case{40054, "About Fotakle", Qt::Key_F1}, Case{40072, "Keys", Qt::Key_F1},
                          Case{40072, "Keys", Qt::Key_Escape}}) {
        QString title;
        QRect geometry;
        bool stayed = false;
        WhenModal(&window, {}, [&](QWidget* modal) {
            title = modal->windowTitle();
            geometry = modal->geometry();
            ClickKey(modal, Qt::Key_Down);
            stayed = modal->isVisible();
            ClickKey(modal, c.leave);
        });
        PickFromMenu(Qt::Key_F1, MENU_FILE, c.command);
        EXPECT_EQ(title, c.title);
        EXPECT_TRUE(stayed) << c.title;
        EXPECT_EQ(geometry, PhoneGlobalRect());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

// The close button is the Close command: at once with nothing to save,
// else after the save question (F2 is No).
TEST(PhoneWindowClose, CloseButtonAsksTheSaveQuestionOnlyWhenSomethingChanged) {
    for (const bool changed : {false, true}) {
        EditorWindow w;
        if (changed) {
            w.PickFromMenu(Qt::Key_F1, MENU_FILE, 40036);  // Brightness
            w.Keys({Qt::Key_Right, Qt::Key_F1});           // Done
        }
        std::string caption = "(none)";
        WhenModal(&w.window, {}, [&](QWidget* modal) {
            auto* box = qobject_cast<PhoneMessageDialog*>(modal);
            caption = box != nullptr ? box->Caption() : "another dialog";
            ClickKey(modal, Qt::Key_F2);
        });
        w.window.close();
        EXPECT_EQ(caption, changed ? "Save" : "(none)");
        EXPECT_FALSE(w.window.isVisible());
    }
}

// Questions and messages are drawn on the phone screen: the caption in the
// title strip, the text in the body, the answers on the soft keys; the
// action key answers the left soft key, Back answers No.
TEST_F(PhoneWindowTest, QuestionsAndMessagesAreAnsweredWithThePhoneKeys) {
    struct Answer {
        int key;
        bool yes;
    };
    for (const Answer& a : {Answer{Qt::Key_Return, true}, Answer{Qt::Key_F1, true},
                            Answer{Qt::Key_Escape, false}, Answer{Qt::Key_F2, false}}) {
        std::string text;
        QRect geometry;
        WhenModal(&window, {}, [&](QWidget* modal) {
            auto* box = qobject_cast<PhoneMessageDialog*>(modal);
            ASSERT_TRUE(box != nullptr && box->IsQuestion());
            // Wrapped to the body: more than one line, nothing lost.
            EXPECT_GE(box->Lines().size(), 2u);
            for (const std::string& line : box->Lines()) {
                text += (text.empty() ? "" : " ") + line;
            }
            geometry = box->geometry();
            ClickKey(modal, a.key);
        });
        EXPECT_EQ(shell.AskQuestion("Save", "Do you want to save this image ?"), a.yes) << a.key;
        EXPECT_EQ(text, "Do you want to save this image ?");
        EXPECT_EQ(geometry, PhoneGlobalRect());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }

    // A message: F2 has no answer in it, Back closes it.
    QImage shot;
    bool stayed = false;
    WhenModal(&window, {}, [&](QWidget* modal) {
        auto* box = qobject_cast<PhoneMessageDialog*>(modal);
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->IsQuestion());
        shot = box->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ClickKey(box, Qt::Key_F2);
        stayed = box->isVisible();
        ClickKey(box, Qt::Key_Backspace);
    });
    EXPECT_FALSE(editor.OpenPicture("/nonexistent/picture.jpg"));
    EXPECT_TRUE(stayed);
    ASSERT_FALSE(shot.isNull());
    // Ink in the title strip (the caption), the body (the text) and the
    // left half of the soft-key strip ("OK") only.
    const int f = window.ScaleFactor();
    const QRect phone(0, 0, shot.width(), shot.height());
    const auto ink = [&](const QRect& area, bool darkOnLight) {
        return CountPixels(shot, area, [darkOnLight](QRgb c) {
            return darkOnLight ? qGray(c) < 96 : qGray(c) > 200;
        });
    };
    const QRect strip = SoftKeyStripRect(phone, f);
    EXPECT_GT(ink(TitleStripRect(phone, f).adjusted(0, 0, 0, -2 * f), true), 50);
    EXPECT_GT(ink(PictureAreaRect(phone, f).adjusted(40 * f, 0, 0, 0), true), 200);
    EXPECT_GT(ink(strip.adjusted(0, 0, -strip.width() / 2, 0), false), 20);
    EXPECT_EQ(ink(strip.adjusted(strip.width() / 2 + 2 * f, 0, 0, 0), false), 0);
}

// While Rescale or an adjust mode is on, the window shows the value in a
// bar over the bottom of the picture area; the presented picture itself is
// not changed by it, and the bar goes with the mode.
TEST_F(PhoneWindowTest, LevelBarShowsTheScaleAndLevelsOverThePicture) {
    // Phone pixels of the picture area shown otherwise than presented,
    // inside and outside the bar.
    const auto differences = [&](int* inside, int* outside) {
        const QImage shot = Grab();
        *inside = 0;
        *outside = 0;
        for (int y = 0; y < kCanvasHeight; ++y) {
            for (int x = 0; x < kCanvasWidth; ++x) {
                const bool differs = (shot.pixel(At(x, y)) & 0xffffff) !=
                                     PixelAt(shell.lastScreen.get(), x, kCanvasHeight - 1 - y);
                (LevelBarPhoneRect().contains(x, y) ? *inside : *outside) += differs;
            }
        }
    };
    PickFromMenu(Qt::Key_F1, MENU_FILE, 40035);  // Rescale
    EXPECT_EQ(window.Bar(), BAR_RESCALE);
    // Digits of the top row and of the keypad alike scale down.
    for (int i = 0; i < 5; ++i) {
        Key(Qt::Key_2, i % 2 == 0 ? Qt::NoModifier : Qt::KeypadModifier);
    }
    const auto expectBar = [&](const char* text, int lowest, int highest) {
        const LevelBarModel bar = LevelBarFor(State());
        EXPECT_TRUE(bar.shown);
        EXPECT_EQ(bar.text, text);
        EXPECT_EQ(bar.lowest, lowest) << text;
        EXPECT_EQ(bar.highest, highest) << text;
    };
    expectBar("90 %", 44, 155);
    int inside = 0;
    int outside = 0;
    differences(&inside, &outside);
    EXPECT_GT(inside, LevelBarPhoneRect().width() * 2) << "no bar drawn";
    EXPECT_EQ(outside, 0);
    Key(Qt::Key_F1);  // Done
    EXPECT_EQ(window.Bar(), BAR_MAIN);
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
                            Adjust{40039, 2, "16", 1, 79}}) {
        PickFromMenu(Qt::Key_F1, MENU_FILE, a.command);
        for (int i = 0; i < std::abs(a.ups); ++i) {
            Key(a.ups > 0 ? Qt::Key_Up : Qt::Key_Down);
        }
        expectBar(a.text, a.lowest, a.highest);
        PickFromMenu(Qt::Key_F2, MENU_ADJUST_ACTION, 40028);  // Cancel
    }
}

}  // namespace
