// PhoneTextField: the "Type your own..." field as the phone shows it, over
// the picture area while EditorState::textField is open (the editor sets
// the title and the "OK" / "Cancel" soft keys), and the phone keypad's
// letters.
//
// The field shows which word it makes ("Word" or "Colorful Word") and how
// many of the 40 characters are used, the line in a white box with a caret
// after it (its end, after an ellipsis, when it is wider than the box), the
// character the keypad is still choosing marked, a preview of the word as
// it will be placed (on black, a Word in the current colour) and a line of
// help.
//
// Keypad letters (MultiTap): each digit key steps through its characters
// while it is pressed again before the window's time-out; any other key or
// the time-out settles the character. 2 abc, 3 def, 4 ghi, 5 jkl, 6 mno,
// 7 pqrs, 8 tuv, 9 wxyz, 0 space, 1 . , ! ? ' -, and each cycle ends with
// the digit itself. A letter that starts the line or a sentence (after
// ". ", "! " or "? ") is a capital, as phones do.
#pragma once

#include <QImage>
#include <QRect>

#include <cstdint>
#include <string>
#include <string_view>

#include "app/EditorState.h"

class QKeyEvent;
class QPainter;

class MultiTap {
  public:
    // What a digit key press types.
    struct Tap {
        std::string character;
        // It replaces the last character of the line, which the same key
        // gave on its previous press.
        bool replaces = false;
    };

    // A press of digit 0-9 on the line as the field holds it now. Call
    // Refused when the field did not take the character.
    Tap Press(int digit, std::string_view line);
    // The field refused the character (it is full): the next press starts
    // afresh.
    void Refused() { Settle(); }
    // The time-out or another key: the next press starts a new character.
    void Settle();
    // A character is being chosen: the same digit next replaces it.
    bool Pending() const { return digit_ >= 0; }

    // The characters of a digit key, in the order the presses step
    // through them; empty for anything but 0-9.
    static std::string_view Characters(int digit);

  private:
    int digit_ = -1;
    int index_ = 0;
};

// The numeric keypad's digit (0-9) a key press stands for in the text
// field, Num Lock on (digit keys with the keypad modifier) or off (the
// keypad's Insert, End, Down, Page Down, Left, Clear, Right, Home, Up,
// Page Up); -1 for every other key.
int KeypadDigit(const QKeyEvent& event);

// What the field shows.
struct TextFieldView {
    std::string text;
    int16_t kind = DECOR_WORD;
    bool pending = false;  // the last character is still being chosen
    PixelColor color;      // the current colour, for a Word's preview
};

TextFieldView TextFieldViewOf(const EditorState& state, bool pending);

// The word as it will be placed, 176 x 50, on black; null while the line
// is blank or cannot be drawn.
QImage TextFieldPreview(const TextFieldView& view);

// The field over the picture area (window pixels, at factor).
void DrawTextField(QPainter& painter, const QRect& pictureArea, int factor,
                   const TextFieldView& view, const QImage& preview);

// The field's parts in phone pixels of the picture area, for tests.
QRect TextFieldBoxPhoneRect();
QRect TextFieldPreviewPhoneRect();
