// "Type your own..." in the editor: the word pop-ups' items, the text field
// (typing, its limit and filter, Back, the action key, OK and Cancel,
// everything else ignored while it is open), the word it places (its pixels:
// the typed-words replay journey), and what closes it.
#include <string>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "decor/Lettering.h"

namespace {

class EditorTextFieldTest : public EditorTest {
  protected:
    void SetUp() override {
        if (!ScreenFonts().HasFace(FONT_BOLD)) {
            GTEST_SKIP() << "the screen font is not installed";
        }
        EditorTest::SetUp();
    }

    const TextField& Field() const { return State().textField; }
};

TEST_F(EditorTextFieldTest, TypedLineBecomesTheFloatingWordInTheCurrentColour) {
    const int changesBefore = shell_.textFieldChanges;
    editor_->Command(CMD_TYPE_WORD);
    EXPECT_TRUE(Field().open);
    EXPECT_EQ(Field().kind, DECOR_WORD);
    EXPECT_EQ(shell_.titles.back(), "Type your own...");
    EXPECT_EQ(shell_.bars.back(), BAR_DIALOG);
    EXPECT_GT(shell_.textFieldChanges, changesBefore);

    EXPECT_TRUE(editor_->TypeText("Happy Holiday"));
    EXPECT_TRUE(editor_->TypeText("z"));
    editor_->BackKey();  // the z again
    EXPECT_TRUE(editor_->TypeText("s"));
    EXPECT_EQ(Field().text, "Happy Holidays");
    // Nothing else reaches the picture meanwhile.
    Tap(KEY_UP, 3);
    Tap(Digit(2));
    for (const uint16_t id :
         std::initializer_list<uint16_t>{CMD_MERGE, CMD_CHANGE_COLOR, CMD_BRIGHTNESS,
                                         CMD_TYPE_COLORFUL_WORD, CMD_THEME_FIRST}) {
        editor_->Command(id);
    }
    EXPECT_EQ(State().photoY, 0);
    EXPECT_FALSE(State().picker.open);
    EXPECT_EQ(State().mode, EditMode::Normal);
    EXPECT_EQ(Field().kind, DECOR_WORD);
    EXPECT_EQ(Field().text, "Happy Holidays");

    Tap(KEY_ACTION);
    EXPECT_FALSE(Field().open);
    EXPECT_EQ(shell_.titles.back(), "Fotakle");
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);
    ASSERT_TRUE(State().object.present);
    EXPECT_EQ(State().object.type, OBJECT_WORD);
    EXPECT_EQ(State().object.text, "Happy Holidays");
}

TEST_F(EditorTextFieldTest, FieldTakesPrintableCharactersUpToItsLimit) {
    struct Case {
        std::string typed;
        std::string kept;
        bool all;
    };
    const std::string forty(40, 'a');
    const Case cases[] = {
        {"Hello, World! 2026 #1 (ok) ~", "Hello, World! 2026 #1 (ok) ~", true},
        {"tab\there\nnew\x01\x7f", "tabherenew", false},
        {"\xC3\xA4pfel \xE2\x82\xAC", "\xC3\xA4pfel \xE2\x82\xAC", true},
        {"cut \xC3", "cut ", false},
        {"bad \xC0\xAF \xED\xA0\x80 \xC2\x85", "bad   ", false},
        {forty + "bcd", forty, false},
        {std::string(39, 'x') + "\xC3\xA9\xC3\xA9", std::string(39, 'x') + "\xC3\xA9", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        editor_->Command(CMD_TYPE_COLORFUL_WORD);
        EXPECT_EQ(editor_->TypeText(c.typed), c.all);
        EXPECT_EQ(Field().text, c.kept);
        editor_->Command(CMD_CANCEL);
        EXPECT_FALSE(Field().open);
    }
    // Back takes a whole character, however many bytes it has.
    editor_->Command(CMD_TYPE_WORD);
    editor_->TypeText("Gr\xC3\xBC\xC3\x9F");
    editor_->BackKey();
    EXPECT_EQ(Field().text, "Gr\xC3\xBC");
    editor_->BackKey();
    EXPECT_EQ(Field().text, "Gr");
    // A full field takes nothing more, but after a Back one again.
    EXPECT_FALSE(editor_->TypeText(forty));
    EXPECT_FALSE(editor_->TypeText("q"));
    editor_->BackKey();
    EXPECT_TRUE(editor_->TypeText("q"));
    editor_->Command(CMD_CANCEL);
    // Without a field nothing is typed anywhere.
    EXPECT_FALSE(editor_->TypeText("x"));
    EXPECT_TRUE(Field().text.empty());
}

// Leaving without a word: Back on an empty field, "Cancel", the window's
// close button; a blank line is not confirmed. None of them places
// anything.
TEST_F(EditorTextFieldTest, FieldClosesWithoutAWordByBackCancelOrClose) {
    editor_->Command(CMD_TYPE_WORD);
    editor_->TypeText("ab");
    for (int i = 0; i < 2; ++i) {
        editor_->BackKey();
    }
    EXPECT_TRUE(Field().open);
    editor_->BackKey();
    EXPECT_FALSE(Field().open);
    EXPECT_EQ(shell_.bars.back(), BAR_MAIN);

    editor_->Command(CMD_TYPE_COLORFUL_WORD);
    editor_->TypeText("   ");
    Tap(KEY_ACTION);
    editor_->Command(CMD_OK);
    EXPECT_TRUE(Field().open) << "a blank line is no word";
    editor_->Command(CMD_CANCEL);
    EXPECT_FALSE(Field().open);
    EXPECT_FALSE(State().object.present);

    // OK confirms as the action key does.
    editor_->Command(CMD_TYPE_COLORFUL_WORD);
    editor_->TypeText(" Bravo ");
    editor_->Command(CMD_OK);
    ASSERT_TRUE(State().object.present);
    EXPECT_EQ(State().object.type, OBJECT_COLORFUL_WORD);
    EXPECT_EQ(State().object.text, "Bravo");

    // Closing the window gives the line up and runs the Close flow, which
    // asks about the floating word first.
    shell_.answers.assign({true});  // "Floating": merge it
    editor_->Command(CMD_TYPE_WORD);
    editor_->TypeText("unsent");
    shell_.answers.assign({false});  // "Save": no
    editor_->CloseRequested();
    EXPECT_FALSE(Field().open);
    EXPECT_TRUE(shell_.quit);
}

// Opening the field closes a chooser and the picker (what is pending is
// settled as a word theme does: with the theme commands); in a mode the
// command does nothing.
TEST_F(EditorTextFieldTest, OpeningClosesAChooserAndThePickerButNotAMode) {
    StandardLibrary();
    editor_->Command(kWordTheme);
    ASSERT_TRUE(State().chooser.AnyOpen());
    editor_->Command(CMD_TYPE_COLORFUL_WORD);
    EXPECT_FALSE(State().chooser.AnyOpen());
    editor_->Command(CMD_CANCEL);
    editor_->Command(CMD_CHANGE_COLOR);
    ASSERT_TRUE(State().picker.open);
    editor_->Command(CMD_TYPE_WORD);
    EXPECT_FALSE(State().picker.open);
    editor_->Command(CMD_CANCEL);

    editor_->Command(CMD_CONTRAST);
    editor_->Command(CMD_TYPE_WORD);
    EXPECT_FALSE(Field().open);
    EXPECT_EQ(State().mode, EditMode::Adjust);
}

}  // namespace
