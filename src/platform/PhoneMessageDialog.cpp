#include "platform/PhoneMessageDialog.h"

#include <QKeyEvent>
#include <QPainter>

#include <utility>

#include "app/Strings.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"

namespace {

constexpr int kTextPixels = 12;
constexpr int kIconSide = 20;  // phone pixels
constexpr int kMargin = 8;

const QColor kNoticeIcon(224, 150, 0);

// Wrapping and drawing happen at the window's size, so that the lines
// drawn are the lines measured.
TextStyle BodyStyle(int factor) {
    TextStyle style;
    style.pixelSize = kTextPixels * factor;
    return style;
}

void DrawIcon(QPainter& painter, const QRect& box, bool question, int factor) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(question ? kPhoneBlue : kNoticeIcon);
    painter.drawEllipse(box);
    painter.restore();
    PhoneTextStyle mark;
    mark.pixelSize = 14;
    mark.weight = FONT_BOLD;
    mark.color = Qt::white;
    mark.align = Qt::AlignCenter;
    DrawPhoneText(painter, box, question ? "?" : "!", mark, factor);
}

}  // namespace

PhoneMessageDialog::PhoneMessageDialog(QWidget* parent, const QRect& phone, int factor,
                                       bool question, std::string caption, std::string text)
    : PhoneDialog(parent, phone, factor, QString::fromStdString(caption),
                  question ? QStringLiteral("Yes") : QString::fromUtf8(ResString(IDS_OK)),
                  question ? QStringLiteral("No") : QString()),
      question_(question),
      caption_(std::move(caption)),
      text_(std::move(text)) {}

bool PhoneMessageDialog::Run() {
    return exec() == QDialog::Accepted;
}

QRect PhoneMessageDialog::TextRect() const {
    const int f = Factor();
    const QRect body = BodyRect();
    const int left = (kMargin + kIconSide + kMargin) * f;
    return QRect(body.left() + left, body.top() + 10 * f, body.width() - left - kMargin * f,
                 body.height() - 14 * f);
}

std::vector<std::string> PhoneMessageDialog::Lines() const {
    return ScreenFonts().Wrap(text_, BodyStyle(Factor()), TextRect().width());
}

void PhoneMessageDialog::SoftKey(bool left) {
    if (left) {
        accept();
    } else if (question_) {
        reject();
    }
}

void PhoneMessageDialog::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;
    }
    switch (event->key()) {
        case Qt::Key_F1:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            SoftKey(true);
            return;
        case Qt::Key_F2:
            SoftKey(false);
            return;
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            reject();
            return;
        default:
            // The phone has no other keys here; nothing else leaves the box.
            return;
    }
}

void PhoneMessageDialog::paintEvent(QPaintEvent* event) {
    PhoneDialog::paintEvent(event);
    QPainter painter(this);
    const int f = Factor();
    const QRect body = BodyRect();
    DrawIcon(painter,
             QRect(body.left() + kMargin * f, body.top() + 8 * f, kIconSide * f, kIconSide * f),
             question_, f);
    const QRect text = TextRect();
    const int lineHeight = ScreenFonts().LineMetrics(BodyStyle(f)).height;
    PhoneTextStyle style;
    style.pixelSize = kTextPixels;
    style.align = Qt::AlignLeft | Qt::AlignTop;
    int top = text.top();
    for (const std::string& line : Lines()) {
        if (top + lineHeight > text.bottom() + 1) {
            break;
        }
        DrawPhoneText(painter, QRect(text.left(), top, text.width(), lineHeight), line, style, f);
        top += lineHeight;
    }
}

KeysPage::KeysPage(QWidget* parent, const QRect& phone, int factor)
    : PhoneDialog(parent, phone, factor, QString::fromUtf8(ResString(IDS_KEYS)),
                  QString::fromUtf8(ResString(IDS_CONTINUE)), QString()) {}

std::vector<std::pair<std::string, std::string>> KeysPage::Rows() {
    return {{"Left soft key", "F1"},       {"Right soft key", "F2"},
            {"D-pad", "Arrow keys"},       {"Action key", "Return, Enter"},
            {"Keypad 0-9", "0-9, keypad"}, {"Back", "Esc, Backspace"}};
}

void KeysPage::SoftKey(bool left) {
    if (left) {
        accept();
    }
}

void KeysPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F1:
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
        case Qt::Key_Backspace:
            if (!event->isAutoRepeat()) {
                accept();
            }
            return;
        default:
            return;
    }
}

void KeysPage::paintEvent(QPaintEvent* event) {
    PhoneDialog::paintEvent(event);
    QPainter painter(this);
    const int f = Factor();
    const QRect body = BodyRect();
    constexpr int kRowHeight = 17;
    constexpr int kSecondColumn = 88;
    PhoneTextStyle head;
    head.pixelSize = 12;
    head.weight = FONT_BOLD;
    PhoneTextStyle cell;
    cell.pixelSize = 11;
    const auto row = [&](int index, int x, int width) {
        return QRect(body.left() + x * f, body.top() + (6 + index * kRowHeight) * f, width * f,
                     kRowHeight * f);
    };
    DrawPhoneText(painter, row(0, 6, kSecondColumn - 8), "Phone", head, f);
    DrawPhoneText(painter, row(0, kSecondColumn, kPhoneWidth - kSecondColumn - 4), "Desktop", head,
                  f);
    painter.fillRect(QRect(body.left() + 4 * f, row(1, 0, 0).top() - f, 168 * f, f),
                     QColor(176, 176, 176));
    int index = 1;
    for (const auto& [phone, desktop] : Rows()) {
        DrawPhoneText(painter, row(index, 6, kSecondColumn - 8), phone, cell, f);
        DrawPhoneText(painter, row(index, kSecondColumn, kPhoneWidth - kSecondColumn - 4), desktop,
                      cell, f);
        ++index;
    }
    PhoneTextStyle note = cell;
    note.align = Qt::AlignLeft | Qt::AlignTop;
    TextStyle measured;
    measured.pixelSize = cell.pixelSize * f;
    const QRect noteBox = row(index, 6, 164).adjusted(0, 4 * f, 0, 0);
    const int lineHeight = ScreenFonts().LineMetrics(measured).height;
    int top = noteBox.top();
    for (const std::string& line :
         ScreenFonts().Wrap("Hold an arrow key to move faster. A click on a soft key's label "
                            "presses it.",
                            measured, noteBox.width())) {
        DrawPhoneText(painter, QRect(noteBox.left(), top, noteBox.width(), lineHeight), line, note,
                      f);
        top += lineHeight;
    }
}
