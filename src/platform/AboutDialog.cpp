#include "platform/AboutDialog.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/Strings.h"
#include "platform/PhoneScreenPainter.h"
#include "platform/ProgramIcon.h"

namespace {

constexpr int kIconSide = 32;  // phone pixels

// The font of pixelSize, made smaller where needed until every line of
// texts fits into width.
QFont AboutFont(int pixelSize, bool bold, const QStringList& texts, int width) {
    QFont font;
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    for (int size = pixelSize; size > 1; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        bool fits = true;
        for (const QString& text : texts) {
            for (const QString& line : text.split(QLatin1Char('\n'))) {
                fits = fits && metrics.horizontalAdvance(line) <= width;
            }
        }
        if (fits) {
            break;
        }
    }
    return font;
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
    painter.setPen(Qt::black);
    const QRect name(icon.right() + 8 * f, icon.top(), body.right() - icon.right() - 8 * f,
                     kIconSide * f);
    painter.setFont(AboutFont(11 * f, true, {lines[0]}, name.width()));
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter, lines[0]);
    const QRect version(body.left() + 8 * f, icon.bottom() + 10 * f, body.width() - 16 * f, 16 * f);
    painter.setFont(AboutFont(11 * f, false, {lines[1]}, version.width()));
    painter.drawText(version, Qt::AlignLeft | Qt::AlignVCenter, lines[1]);
    QRect line(body.left() + 8 * f, version.bottom() + 18 * f, body.width() - 16 * f, 15 * f);
    painter.setFont(AboutFont(10 * f, false, lines.mid(2), line.width()));
    for (int i = 2; i < lines.size(); ++i) {
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, lines[i]);
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
