#include "platform/PhoneScreenPainter.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace {

const QColor kTitleBackground(255, 255, 255);
const QColor kTitleText(0, 0, 0);
const QColor kTitleRule(0, 64, 160);
const QColor kSoftKeyBackground(16, 48, 112);
const QColor kSoftKeyText(255, 255, 255);
const QColor kSoftKeyDivider(96, 128, 192);

QFont StripFont(int pixelSize, int factor) {
    QFont font;  // the system sans-serif font
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize * factor);
    font.setBold(true);
    return font;
}

// The soft-key font, made smaller (down to 9 phone pixels) while the label
// does not fit into width, so that a long label such as "Change Folder"
// shows whole.
QFont SoftKeyFont(const QString& label, int width, int factor) {
    QFont font = StripFont(12, factor);
    for (int size = 11; size >= 9 && QFontMetrics(font).horizontalAdvance(label) > width; --size) {
        font = StripFont(size, factor);
    }
    return font;
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
    painter.setPen(kTitleText);
    painter.setFont(StripFont(13, factor));
    const QRect text = strip.adjusted(4 * factor, 0, -4 * factor, -factor);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, title);
}

void DrawSoftKeyStrip(QPainter& painter, const QRect& strip, const QString& left,
                      const QString& right, int factor) {
    painter.fillRect(strip, kSoftKeyBackground);
    const int middle = strip.left() + strip.width() / 2;
    if (!left.isEmpty() && !right.isEmpty()) {
        painter.fillRect(
            QRect(middle, strip.top() + 4 * factor, factor, strip.height() - 8 * factor),
            kSoftKeyDivider);
    }
    painter.setPen(kSoftKeyText);
    const QRect leftHalf(strip.left() + 4 * factor, strip.top(), middle - strip.left() - 6 * factor,
                         strip.height());
    const QRect rightHalf(middle + 2 * factor, strip.top(), strip.right() - middle - 5 * factor,
                          strip.height());
    painter.setFont(SoftKeyFont(left, leftHalf.width(), factor));
    painter.drawText(leftHalf, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, left);
    painter.setFont(SoftKeyFont(right, rightHalf.width(), factor));
    painter.drawText(rightHalf, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, right);
}
