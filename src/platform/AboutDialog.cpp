#include "platform/AboutDialog.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/Strings.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/PhoneText.h"
#include "platform/ProgramIcon.h"

namespace {

constexpr int kIconSide = 32;  // phone pixels

// The size from pixelSize down at which every line of texts fits into
// width (window pixels).
int FittingPixels(int pixelSize, FontWeight weight, const QStringList& texts, int width,
                  int factor) {
    for (int size = pixelSize; size > 1; --size) {
        bool fits = true;
        for (const QString& text : texts) {
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                fits = fits && PhoneTextWidth(line.toStdString(), size, weight, factor) <= width;
            }
        }
        if (fits) {
            return size;
        }
    }
    return 1;
}

// Draws the lines of text one under the other, centred as a block in box.
void DrawLines(QPainter& painter, const QRect& box, const QString& text, int pixelSize,
               FontWeight weight, int factor) {
    const QStringList lines = text.split(QLatin1Char('\n'));
    TextStyle measured;
    measured.pixelSize = pixelSize * factor;
    measured.weight = weight;
    const int lineHeight = ScreenFonts().LineMetrics(measured).height;
    int top = box.top() + (box.height() - lineHeight * static_cast<int>(lines.size())) / 2;
    PhoneTextStyle style;
    style.pixelSize = pixelSize;
    style.weight = weight;
    for (const QString& line : lines) {
        DrawPhoneText(painter, QRect(box.left(), top, box.width(), lineHeight), line.toStdString(),
                      style, factor);
        top += lineHeight;
    }
}

}  // namespace

AboutDialog::AboutDialog(QWidget* parent, const QRect& phone, int factor)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      factor_(factor),
      title_(QString::fromUtf8(ResString(IDS_ABOUT_TITLE))),
      continueLabel_(QString::fromUtf8(ResString(IDS_CONTINUE))),
      icon_(ProgramIconPixmap()) {
    setModal(true);
    setWindowTitle(title_);
    setGeometry(phone);
    setFixedSize(phone.size());
}

QStringList AboutDialog::TextLines() {
    return {QStringLiteral("Fotakle\n(Smartphone Edition)"), QStringLiteral("Version 1.03"),
            QStringLiteral("www.norvale.com"), QStringLiteral("support@norvale.com"),
            QStringLiteral("\u00A9 2004 Norvale Systems Inc.")};
}

void AboutDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect phone(0, 0, width(), height());
    const int f = factor_;
    DrawTitleStrip(painter, TitleStripRect(phone, f), title_, f);
    const QRect body = PictureAreaRect(phone, f);
    painter.fillRect(body, Qt::white);

    const QStringList lines = TextLines();
    const QRect icon(body.left() + 8 * f, body.top() + 10 * f, kIconSide * f, kIconSide * f);
    if (!icon_.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        painter.drawPixmap(icon, icon_);
    }
    const QRect name(icon.right() + 8 * f, icon.top(), body.right() - icon.right() - 8 * f,
                     kIconSide * f);
    DrawLines(painter, name, lines[0], FittingPixels(11, FONT_BOLD, {lines[0]}, name.width(), f),
              FONT_BOLD, f);
    const QRect version(body.left() + 8 * f, icon.bottom() + 10 * f, body.width() - 16 * f, 16 * f);
    DrawLines(painter, version, lines[1],
              FittingPixels(11, FONT_REGULAR, {lines[1]}, version.width(), f), FONT_REGULAR, f);
    QRect line(body.left() + 8 * f, version.bottom() + 18 * f, body.width() - 16 * f, 15 * f);
    const int size = FittingPixels(10, FONT_REGULAR, lines.mid(2), line.width(), f);
    for (int i = 2; i < lines.size(); ++i) {
        DrawLines(painter, line, lines[i], size, FONT_REGULAR, f);
        line.translate(0, 16 * f);
    }
    DrawSoftKeyStrip(painter, SoftKeyStripRect(phone, f), continueLabel_, QString(), f);
}

void AboutDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_F1:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void AboutDialog::mousePressEvent(QMouseEvent* event) {
    const QRect strip = SoftKeyStripRect(QRect(0, 0, width(), height()), factor_);
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::LeftButton && strip.contains(at) &&
        at.x() < strip.left() + strip.width() / 2) {
        accept();
    }
}
