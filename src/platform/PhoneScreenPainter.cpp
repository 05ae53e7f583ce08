#include "platform/PhoneScreenPainter.h"

#include <QPainter>

#include <algorithm>
#include <string>

#include "platform/PhoneText.h"

namespace {

const QColor kTitleBackground(255, 255, 255);
const QColor kTitleText(0, 0, 0);
const QColor kTitleRule(0, 64, 160);
const QColor kSoftKeyText(255, 255, 255);
const QColor kSoftKeyDivider(96, 128, 192);

constexpr int kTitlePixels = 13;
constexpr int kSoftKeyPixels = 12;
constexpr int kSmallestSoftKeyPixels = 9;

// The soft-key label's size: 12 phone pixels, smaller (down to 9) while the
// label does not fit into width, so that a long label such as "Change
// Folder" shows whole; at 9 it is cut with an ellipsis.
int SoftKeyPixels(const std::string& label, int width, int factor) {
    int size = kSoftKeyPixels;
    while (size > kSmallestSoftKeyPixels &&
           PhoneTextWidth(label, size, FONT_BOLD, factor) > width) {
        --size;
    }
    return size;
}

void DrawSoftKeyLabel(QPainter& painter, const QRect& half, const QString& label,
                      Qt::Alignment side, int factor) {
    const std::string text = label.toStdString();
    PhoneTextStyle style;
    style.pixelSize = SoftKeyPixels(text, half.width(), factor);
    style.weight = FONT_BOLD;
    style.color = kSoftKeyText;
    style.align = side | Qt::AlignVCenter;
    DrawPhoneText(painter, half, text, style, factor);
}

}  // namespace

int PhoneScaleFactor(const QSize& size) {
    return std::max(1, std::min(size.width() / kPhoneWidth, size.height() / kPhoneHeight));
}

QRect PhoneScreenRect(const QSize& size, int factor) {
    const int width = kPhoneWidth * factor;
    const int height = kPhoneHeight * factor;
    return QRect(std::max(0, (size.width() - width) / 2), std::max(0, (size.height() - height) / 2),
                 width, height);
}

QRect TitleStripRect(const QRect& phone, int factor) {
    return QRect(phone.left(), phone.top(), phone.width(), kStripHeight * factor);
}

QRect PictureAreaRect(const QRect& phone, int factor) {
    return QRect(phone.left(), phone.top() + kPictureTop * factor, phone.width(),
                 kPictureHeight * factor);
}

QRect SoftKeyStripRect(const QRect& phone, int factor) {
    return QRect(phone.left(), phone.top() + (kPictureTop + kPictureHeight) * factor, phone.width(),
                 kStripHeight * factor);
}

void DrawTitleStrip(QPainter& painter, const QRect& strip, const QString& title, int factor) {
    painter.fillRect(strip, kTitleBackground);
    painter.fillRect(QRect(strip.left(), strip.bottom() - factor + 1, strip.width(), factor),
                     kTitleRule);
    PhoneTextStyle style;
    style.pixelSize = kTitlePixels;
    style.weight = FONT_BOLD;
    style.color = kTitleText;
    const QRect text = strip.adjusted(4 * factor, 0, -4 * factor, -factor);
    DrawPhoneText(painter, text, title.toStdString(), style, factor);
}

void DrawSoftKeyStrip(QPainter& painter, const QRect& strip, const QString& left,
                      const QString& right, int factor) {
    painter.fillRect(strip, kPhoneBlue);
    const int middle = strip.left() + strip.width() / 2;
    if (!left.isEmpty() && !right.isEmpty()) {
        painter.fillRect(
            QRect(middle, strip.top() + 4 * factor, factor, strip.height() - 8 * factor),
            kSoftKeyDivider);
    }
    const QRect leftHalf(strip.left() + 4 * factor, strip.top(), middle - strip.left() - 6 * factor,
                         strip.height());
    const QRect rightHalf(middle + 2 * factor, strip.top(), strip.right() - middle - 5 * factor,
                          strip.height());
    DrawSoftKeyLabel(painter, leftHalf, left, Qt::AlignLeft, factor);
    DrawSoftKeyLabel(painter, rightHalf, right, Qt::AlignRight, factor);
}
