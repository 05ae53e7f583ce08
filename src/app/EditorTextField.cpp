// "Type your own..." of the "Add Word" and "Add Colorful Word" pop-ups: the
// text field the user types a line into, and the word it becomes.
#include <string>
#include <string_view>

#include "app/Commands.h"
#include "app/Editor.h"
#include "app/Strings.h"
#include "decor/Chooser.h"
#include "decor/Decorations.h"

namespace {

// The length of the UTF-8 sequence starting text[at], or 0 when it is not a
// complete, shortest encoding of a code point (surrogates excluded). The
// code point goes to *value.
size_t SequenceAt(std::string_view text, size_t at, char32_t* value) {
    const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
    const uint8_t first = byte(at);
    size_t length = 0;
    char32_t code = 0;
    if (first < 0x80) {
        *value = first;
        return 1;
    }
    if (first >= 0xC2 && first <= 0xDF) {
        length = 2;
        code = first & 0x1Fu;
    } else if (first >= 0xE0 && first <= 0xEF) {
        length = 3;
        code = first & 0x0Fu;
    } else if (first >= 0xF0 && first <= 0xF4) {
        length = 4;
        code = first & 0x07u;
    } else {
        return 0;
    }
    if (at + length > text.size()) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(at + i) & 0x3Fu);
    }
    if ((length == 3 && code < 0x800) || (length == 4 && code < 0x10000) || code > 0x10FFFF ||
        (code >= 0xD800 && code <= 0xDFFF)) {
        return 0;
    }
    *value = code;
    return length;
}

// Letters, digits, blanks and punctuation; never a control character.
bool Printable(char32_t code) {
    return code >= 0x20 && code != 0x7F && !(code >= 0x80 && code <= 0x9F);
}

// Characters of a text that holds only complete sequences.
int32_t CountCharacters(std::string_view text) {
    int32_t count = 0;
    for (const char c : text) {
        count += (static_cast<uint8_t>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    return count;
}

}  // namespace

// A word of one's own replaces what floats, as a chosen word item does: a
// frame or an object on screen is asked about first (No removes it), then
// the field opens empty over the picture area, with the choosers and the
// picker closed.
void Editor::OpenTextField(uint16_t id) {
    if (state_.mode != EditMode::Normal) {
        return;
    }
    if (state_.frame.placed) {
        AskAboutFrame(true);
    }
    if (state_.object.present) {
        AskAboutObject(true);
    }
    const bool covered = CloseChooser(&state_) || state_.picker.open;
    state_.picker.open = false;
    state_.textField.open = true;
    state_.textField.kind = id == CMD_TYPE_WORD ? DECOR_WORD : DECOR_COLORFUL_WORD;
    state_.textField.text.clear();
    SetTitle(ResString(IDS_TYPE_OWN));
    ShowBar(BAR_DIALOG);
    if (covered) {
        ComposeAndPresent();
    }
    shell_.TextFieldChanged();
}

bool Editor::TypeText(std::string_view text) {
    if (state_.messageBoxOpen || !state_.textField.open) {
        return false;
    }
    std::string& line = state_.textField.text;
    int32_t count = CountCharacters(line);
    bool all = true;
    for (size_t at = 0; at < text.size();) {
        char32_t code = 0;
        const size_t length = SequenceAt(text, at, &code);
        if (length == 0 || !Printable(code) || count >= kTextFieldMaxCharacters) {
            all = false;
            at += length == 0 ? 1 : length;
            continue;
        }
        line.append(text.substr(at, length));
        ++count;
        at += length;
    }
    shell_.TextFieldChanged();
    return all;
}

// Only "OK" and "Cancel" reach the field; the soft keys carry nothing else.
void Editor::TextFieldCommand(uint16_t id) {
    if (id == CMD_OK) {
        ConfirmTextField();
    } else if (id == CMD_CANCEL) {
        CloseTextField();
    }
}

// Back deletes the last character; on an empty field it leaves, as the
// phone's Back key does.
void Editor::DeleteTypedCharacter() {
    std::string& line = state_.textField.text;
    if (line.empty()) {
        CloseTextField();
        return;
    }
    while (!line.empty() && (static_cast<uint8_t>(line.back()) & 0xC0) == 0x80) {
        line.pop_back();
    }
    if (!line.empty()) {
        line.pop_back();
    }
    shell_.TextFieldChanged();
}

// A line of blanks places nothing and the field stays. Otherwise the field
// closes and the line becomes the floating word at the bottom of the
// picture, moved and merged like any word.
void Editor::ConfirmTextField() {
    const std::string& line = state_.textField.text;
    if (line.find_first_not_of(" \t") == std::string::npos) {
        return;
    }
    const std::string typed = line;
    const int16_t kind = state_.textField.kind;
    CloseTextField();
    PlaceTypedWord(&state_, typed, kind);
    ComposeAndPresent();
}

void Editor::CloseTextField() {
    state_.textField.open = false;
    state_.textField.text.clear();
    SetTitle(ResString(IDS_PRODUCT));
    ShowBar(BAR_MAIN);
    shell_.TextFieldChanged();
}
