#include "platform/PhoneTextField.h"

#include <QKeyEvent>
#include <QPainter>

#include <algorithm>
#include <cctype>
#include <cstring>

#include "app/Strings.h"
#include "decor/ComposeScreen.h"
#include "decor/Lettering.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"

namespace {

// In phone pixels of the picture area.
constexpr int kMargin = 6;
constexpr int kLabelTop = 4;
constexpr int kLabelHeight = 16;
constexpr int kBoxTop = 22;
constexpr int kBoxHeight = 24;
constexpr int kBoxPadding = 4;
constexpr int kPreviewTop = 56;
constexpr int kHelpTop = 112;
constexpr int kTextPixels = 13;
constexpr int kLabelPixels = 11;
constexpr int kHelpPixels = 10;

const QColor kGround(236, 238, 244);
const QColor kBoxFill(255, 255, 255);
const QColor kPendingMark(176, 200, 244);
const QColor kInk(0, 0, 0);
const QColor kQuiet(88, 92, 104);

bool SentenceStart(std::string_view before) {
    const size_t last = before.find_last_not_of(' ');
    if (last == std::string_view::npos) {
        return true;
    }
    const char c = before[last];
    return last + 1 < before.size() && (c == '.' || c == '!' || c == '?');
}

// The end of the line that fits into width with an ellipsis before it, or
// the whole line when it fits.
std::string VisibleTail(const std::string& line, int width, int factor) {
    if (PhoneTextWidth(line, kTextPixels, FONT_REGULAR, factor) <= width) {
        return line;
    }
    size_t start = 0;
    std::string tail;
    do {
        ++start;
        while (start < line.size() && (static_cast<uint8_t>(line[start]) & 0xC0) == 0x80) {
            ++start;
        }
        tail = std::string(kEllipsis) + line.substr(start);
    } while (start < line.size() &&
             PhoneTextWidth(tail, kTextPixels, FONT_REGULAR, factor) > width);
    return tail;
}

// The last character of a line: its first byte's index.
size_t LastCharacterStart(const std::string& line) {
    size_t at = line.size();
    while (at > 0) {
        --at;
        if ((static_cast<uint8_t>(line[at]) & 0xC0) != 0x80) {
            break;
        }
    }
    return at;
}

}  // namespace

std::string_view MultiTap::Characters(int digit) {
    static const char* const kKeys[10] = {" 0",   ".,!?'-1", "abc2",  "def3", "ghi4",
                                          "jkl5", "mno6",    "pqrs7", "tuv8", "wxyz9"};
    if (digit < 0 || digit > 9) {
        return {};
    }
    return kKeys[digit];
}

MultiTap::Tap MultiTap::Press(int digit, std::string_view line) {
    const std::string_view characters = Characters(digit);
    Tap tap;
    if (characters.empty()) {
        Settle();
        return tap;
    }
    tap.replaces = digit == digit_ && !line.empty();
    index_ = tap.replaces ? (index_ + 1) % static_cast<int>(characters.size()) : 0;
    digit_ = digit;
    char c = characters[static_cast<size_t>(index_)];
    if (tap.replaces) {
        line.remove_suffix(1);
    }
    if (SentenceStart(line)) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    tap.character.assign(1, c);
    return tap;
}

void MultiTap::Settle() {
    digit_ = -1;
    index_ = 0;
}

int KeypadDigit(const QKeyEvent& event) {
    if (!(event.modifiers() & Qt::KeypadModifier)) {
        return -1;
    }
    const int key = event.key();
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return key - Qt::Key_0;
    }
    // Num Lock off: the keys printed beside the digits.
    switch (key) {
        case Qt::Key_Insert:
            return 0;
        case Qt::Key_End:
            return 1;
        case Qt::Key_Down:
            return 2;
        case Qt::Key_PageDown:
            return 3;
        case Qt::Key_Left:
            return 4;
        case Qt::Key_Clear:
            return 5;
        case Qt::Key_Right:
            return 6;
        case Qt::Key_Home:
            return 7;
        case Qt::Key_Up:
            return 8;
        case Qt::Key_PageUp:
            return 9;
        default:
            return -1;
    }
}

TextFieldView TextFieldViewOf(const EditorState& state, bool pending) {
    TextFieldView view;
    view.text = state.textField.text;
    view.kind = state.textField.kind;
    view.pending = pending && !view.text.empty();
    view.color = state.currentColor;
    return view;
}

QImage TextFieldPreview(const TextFieldView& view) {
    LetteringResult lettering = RenderLettering(view.text, view.kind, 1);
    DibBlock canvas = DibCreate(kCanvasWidth, kCanvasHeight, 24);
    if (!lettering.Ok() || !canvas) {
        return {};
    }
    // Drawn with the screen's own blends at the bottom of a black canvas,
    // so the preview is the placed word pixel for pixel.
    FloatingObject word;
    word.present = true;
    word.width = kLetteringWidth;
    word.height = kLetteringHeight;
    word.mask = std::move(lettering.mask);
    word.colour = std::move(lettering.colour);
    if (view.kind == DECOR_WORD) {
        word.type = OBJECT_WORD;
        BlendMaskColor(word, 0, 0, view.color, DibPixels(canvas.get()));
    } else {
        word.type = OBJECT_COLORFUL_WORD;
        BlendMaskImage(word, 0, 0, DibPixels(canvas.get()));
    }
    const QImage bottomUp(DibPixels(canvas.get()), kLetteringWidth, kLetteringHeight, kCanvasStride,
                          QImage::Format_BGR888);
    return bottomUp.mirrored(false, true).convertToFormat(QImage::Format_RGB32);
}

QRect TextFieldBoxPhoneRect() {
    return QRect(kMargin, kBoxTop, kCanvasWidth - 2 * kMargin, kBoxHeight);
}

QRect TextFieldPreviewPhoneRect() {
    return QRect(0, kPreviewTop, kLetteringWidth, kLetteringHeight);
}

void DrawTextField(QPainter& painter, const QRect& pictureArea, int factor,
                   const TextFieldView& view, const QImage& preview) {
    const int f = std::max(factor, 1);
    const auto toWindow = [&](const QRect& phone) {
        return QRect(pictureArea.left() + phone.left() * f, pictureArea.top() + phone.top() * f,
                     phone.width() * f, phone.height() * f);
    };
    painter.fillRect(pictureArea, kGround);

    PhoneTextStyle label;
    label.pixelSize = kLabelPixels;
    label.weight = FONT_BOLD;
    label.color = kQuiet;
    const QRect labelRow(kMargin, kLabelTop, kCanvasWidth - 2 * kMargin, kLabelHeight);
    DrawPhoneText(painter, toWindow(labelRow),
                  ResString(view.kind == DECOR_WORD ? IDS_KIND_WORD : IDS_KIND_COLORFUL_WORD),
                  label, f);
    int characters = 0;
    for (const char c : view.text) {
        characters += (static_cast<uint8_t>(c) & 0xC0) != 0x80 ? 1 : 0;
    }
    label.weight = FONT_REGULAR;
    label.align = Qt::AlignRight | Qt::AlignVCenter;
    DrawPhoneText(painter, toWindow(labelRow),
                  std::to_string(characters) + "/" + std::to_string(kTextFieldMaxCharacters), label,
                  f);

    // The box, the line's visible end, the keypad's pending character
    // marked, and the caret after the line.
    const QRect box = toWindow(TextFieldBoxPhoneRect());
    painter.fillRect(box, kPhoneBlue);
    painter.fillRect(box.adjusted(f, f, -f, -f), kBoxFill);
    const QRect inner = box.adjusted(kBoxPadding * f, 0, -kBoxPadding * f, 0);
    const std::string shown = VisibleTail(view.text, inner.width() - 2 * f, f);
    const int width = PhoneTextWidth(shown, kTextPixels, FONT_REGULAR, f);
    const QRect caretRows = box.adjusted(0, 4 * f, 0, -4 * f);
    if (view.pending && !shown.empty()) {
        const int before = PhoneTextWidth(shown.substr(0, LastCharacterStart(shown)), kTextPixels,
                                          FONT_REGULAR, f);
        painter.fillRect(
            QRect(inner.left() + before, caretRows.top(), width - before, caretRows.height()),
            kPendingMark);
    }
    PhoneTextStyle text;
    text.pixelSize = kTextPixels;
    text.color = kInk;
    DrawPhoneText(painter, inner, shown, text, f);
    painter.fillRect(QRect(inner.left() + width, caretRows.top(), f, caretRows.height()), kInk);

    if (!preview.isNull()) {
        painter.drawImage(toWindow(TextFieldPreviewPhoneRect()), preview);
    }

    PhoneTextStyle help;
    help.pixelSize = kHelpPixels;
    help.color = kQuiet;
    help.align = Qt::AlignLeft | Qt::AlignTop;
    TextStyle measured;
    measured.pixelSize = kHelpPixels * f;
    const int lineHeight = ScreenFonts().LineMetrics(measured).height;
    const QRect helpBox = toWindow(
        QRect(kMargin, kHelpTop, kCanvasWidth - 2 * kMargin, kCanvasHeight - kHelpTop - 2));
    int top = helpBox.top();
    for (const std::string& line :
         ScreenFonts().Wrap("Type on the keyboard, or tap the keypad: 2 abc ... 9 wxyz, "
                            "0 space, 1 .,!?'-. Return places the word, Back deletes.",
                            measured, helpBox.width())) {
        if (top + lineHeight > helpBox.bottom() + 1) {
            break;
        }
        DrawPhoneText(painter, QRect(helpBox.left(), top, helpBox.width(), lineHeight), line, help,
                      f);
        top += lineHeight;
    }
}
