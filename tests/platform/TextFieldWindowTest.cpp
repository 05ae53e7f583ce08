// The "Type your own..." field in the phone window under the offscreen
// platform, driven by key events as the desktop sends them: typing from the
// keyboard, Backspace and Escape, the numeric keypad's multi-tap with its
// time-out, and the field drawn over the picture area with the word's
// preview. The keypad's letters are checked alone first.
#include <gtest/gtest.h>

#include <QTimer>

#include <cctype>

#include "app/Commands.h"
#include "decor/Lettering.h"
#include "platform/PhoneTextField.h"
#include "platform/PlatformTestSupport.h"

namespace {

// Digit presses in a row, "." standing for the time-out, and the line they
// leave in a field that takes everything.
TEST(MultiTap, StepsThroughEachKeysCharactersAndCapitalisesSentenceStarts) {
    struct Case {
        const char* presses;
        const char* line;
    };
    const Case cases[] = {
        {"4433", "He"},  // a new key settles the last character
        {"44.4", "Hg"},  // so does the time-out
        {"22222", "A"},  // a, b, c, 2, then round again
        {"2222", "2"},   // the digit ends every cycle
        {"7777.9999.0.1.", "Sz ."},
        {"8.3.3.0.1111", "Tdd ?"},
        {"6.1.0.6", "M. M"},  // a capital after a sentence's end and a blank
        {"6.1.6", "M.m"},     // but not straight after the full stop
        {"11111111", "."},    // . , ! ? ' - 1, then round again
        {"000", " "},         // blank, 0, blank
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.presses);
        MultiTap taps;
        std::string line;
        for (const char* p = c.presses; *p != '\0'; ++p) {
            if (*p == '.') {
                taps.Settle();
                continue;
            }
            const MultiTap::Tap tap = taps.Press(*p - '0', line);
            EXPECT_TRUE(taps.Pending());
            if (tap.replaces) {
                line.pop_back();
            }
            line += tap.character;
        }
        EXPECT_EQ(line, c.line);
    }
    MultiTap taps;
    EXPECT_TRUE(taps.Press(10, "").character.empty());
    EXPECT_FALSE(taps.Pending());
}

class TextFieldWindowTest : public ::testing::Test, public EditorWindow {
  protected:
    void SetUp() override {
        if (!ScreenFonts().HasFace(FONT_BOLD)) {
            GTEST_SKIP() << "the screen font is not installed";
        }
    }

    const std::string& Line() const { return State().textField.text; }

    void Key(int key, const QString& text = QString(),
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        ClickKey(&window, key, text, modifiers);
    }
    // Printable ASCII as the desktop keyboard types it: Qt's key code of a
    // character is its upper-case code.
    void Type(const std::string& text) {
        for (const char c : text) {
            const int key = std::toupper(static_cast<unsigned char>(c));
            Key(key, QString(QChar(c)),
                std::isupper(static_cast<unsigned char>(c)) ? Qt::ShiftModifier : Qt::NoModifier);
        }
    }
    void Keypad(int digit) { Key(Qt::Key_0 + digit, QString::number(digit), Qt::KeypadModifier); }
    void OpenField(bool colourful) {
        PickFromMenu(Qt::Key_F2, MENU_OBJECT, colourful ? CMD_TYPE_COLORFUL_WORD : CMD_TYPE_WORD);
        ASSERT_TRUE(State().textField.open);
    }
    QTimer* MultiTapTimer() const { return window.findChild<QTimer*>("multiTap"); }
    // Lets the keypad's time-out run out now.
    void TimeOut() {
        RunOut(MultiTapTimer());
        MultiTapTimer()->setInterval(kMultiTapMs);
    }
    // Window pixels of a phone rectangle of the picture area.
    QRect ToWindow(const QRect& phone) const {
        return QRect(At(phone.left(), phone.top()), phone.size() * window.ScaleFactor());
    }
    static int CountColour(const QImage& shot, const QRect& area, QRgb colour) {
        return CountPixels(shot, area, [colour](QRgb c) { return ((c ^ colour) & 0xffffff) == 0; });
    }
};

TEST_F(TextFieldWindowTest, KeyboardTypesBackDeletesAndReturnPlacesTheWord) {
    OpenField(false);
    EXPECT_EQ(window.ShownTitle(), "Type your own...");
    EXPECT_EQ(window.Bar(), BAR_DIALOG);
    Type("Happy 2026, Anna!");
    EXPECT_EQ(Line(), "Happy 2026, Anna!");
    // The arrows and keys without characters do nothing here.
    for (const int key : {Qt::Key_Up, Qt::Key_Left, Qt::Key_Tab, Qt::Key_Shift, Qt::Key_F5}) {
        Key(key);
    }
    EXPECT_EQ(Line(), "Happy 2026, Anna!");
    EXPECT_EQ(State().photoY, 0);
    // A held letter repeats; a held Backspace goes on deleting but never
    // closes the field, and a repeated Escape is not a second Back.
    SendKey(&window, QEvent::KeyPress, Qt::Key_A, "a", Qt::NoModifier, true);
    EXPECT_EQ(Line(), "Happy 2026, Anna!a");
    for (int i = 0; i < 20; ++i) {
        SendKey(&window, QEvent::KeyPress, Qt::Key_Backspace, "\b", Qt::NoModifier, i > 0);
    }
    EXPECT_EQ(Line(), "");
    EXPECT_TRUE(State().textField.open);
    Type("xy");
    Key(Qt::Key_Escape);
    EXPECT_EQ(Line(), "x");
    SendKey(&window, QEvent::KeyPress, Qt::Key_Escape, "\x1b", Qt::NoModifier, true);
    EXPECT_EQ(Line(), "x");
    Key(Qt::Key_Escape);
    EXPECT_TRUE(State().textField.open);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(State().textField.open);
    EXPECT_FALSE(State().object.present);
    EXPECT_EQ(window.Bar(), BAR_MAIN);
    // F2 is "Cancel", whatever the line holds.
    OpenField(true);
    Type("Ciao");
    Key(Qt::Key_F2);
    EXPECT_FALSE(State().textField.open);
    EXPECT_FALSE(State().object.present);

    OpenField(false);
    Type("Hi");
    Key(Qt::Key_Return);
    EXPECT_FALSE(State().textField.open);
    ASSERT_TRUE(State().object.present);
    EXPECT_EQ(State().object.type, OBJECT_WORD);
    EXPECT_EQ(State().object.text, "Hi");
    EXPECT_EQ(window.ShownTitle(), "Fotakle");
    // The d-pad moves the word again.
    Key(Qt::Key_Up);
    EXPECT_EQ(State().object.y, 1);
}

// The keypad's multi-tap in the window; its letters are the model's above,
// and Num Lock off and typing over a pending letter are the Xvfb test's.
// The time-out settles a letter, Clear is the keypad's 5 with Num Lock off,
// a full field takes no letter, and Enter settles and places the word.
TEST_F(TextFieldWindowTest, KeypadLettersSettleAtTheTimeOutAndStopAtAFullField) {
    OpenField(false);
    QTimer* timer = MultiTapTimer();
    ASSERT_NE(timer, nullptr);
    Keypad(4);
    Keypad(4);
    EXPECT_EQ(Line(), "H");
    EXPECT_TRUE(timer->isActive());
    TimeOut();
    Keypad(4);  // after the time-out a new letter
    EXPECT_EQ(Line(), "Hg");
    Key(Qt::Key_Clear, QString(), Qt::KeypadModifier);
    EXPECT_EQ(Line(), "Hgj");

    Type(std::string(kTextFieldMaxCharacters - 3, 'z'));
    ASSERT_EQ(Line().size(), size_t(kTextFieldMaxCharacters));
    const std::string full = Line();
    Keypad(2);
    Keypad(2);
    EXPECT_EQ(Line(), full);
    EXPECT_FALSE(timer->isActive());

    Key(Qt::Key_Backspace);
    Keypad(9);
    Keypad(9);
    Key(Qt::Key_Enter, "\r", Qt::KeypadModifier);
    EXPECT_FALSE(State().textField.open);
    EXPECT_EQ(State().object.text, full.substr(0, full.size() - 1) + "x");
    EXPECT_FALSE(timer->isActive());
}

// The field covers the picture area: the line in a white box, the keypad's
// pending letter marked until the time-out, and the word's preview pixel
// for pixel as it will be placed (at the window's factor); F1 places it.
TEST_F(TextFieldWindowTest, FieldIsDrawnWithItsLineMarkAndPreview) {
    OpenField(true);
    Type("Good luc");
    Keypad(5);
    Keypad(5);
    ASSERT_EQ(Line(), "Good luck");
    QApplication::processEvents();
    QImage shot = Grab();
    const QRect box = ToWindow(TextFieldBoxPhoneRect());
    const QRgb white = qRgb(255, 255, 255);
    const QRgb mark = qRgb(176, 200, 244);
    EXPECT_GT(CountColour(shot, box, white), box.width() * box.height() / 2);
    EXPECT_LT(CountColour(shot, box, white), box.width() * box.height() - 200) << "no text";
    EXPECT_GT(CountColour(shot, box, mark), 20) << "the pending k is not marked";

    const QImage preview = TextFieldPreview(TextFieldViewOf(State(), false));
    ASSERT_EQ(preview.size(), QSize(kLetteringWidth, kLetteringHeight));
    const QRect shown = ToWindow(TextFieldPreviewPhoneRect());
    const int f = window.ScaleFactor();
    int mismatches = 0;
    int lettered = 0;
    for (int y = 0; y < kLetteringHeight; ++y) {
        for (int x = 0; x < kLetteringWidth; ++x) {
            const QRgb want = preview.pixel(x, y) & 0xffffff;
            lettered += want != 0 ? 1 : 0;
            for (const QPoint corner : {QPoint(0, 0), QPoint(f - 1, f - 1)}) {
                const QPoint at = shown.topLeft() + QPoint(x * f, y * f) + corner;
                mismatches += (shot.pixel(at) & 0xffffff) != want ? 1 : 0;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_GT(lettered, 500);

    TimeOut();
    QApplication::processEvents();
    shot = Grab();
    EXPECT_EQ(CountColour(shot, box, mark), 0) << "the mark stayed after the time-out";
    // F1 is "OK".
    Key(Qt::Key_F1);
    EXPECT_FALSE(State().textField.open);
    EXPECT_EQ(State().object.type, OBJECT_COLORFUL_WORD);
    EXPECT_EQ(State().object.text, "Good luck");
}

}  // namespace
