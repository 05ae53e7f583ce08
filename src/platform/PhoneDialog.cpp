#include "platform/PhoneDialog.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <utility>

#include "platform/PhoneScreenPainter.h"

PhoneDialog::PhoneDialog(QWidget* parent, const QRect& phone, int factor, QString title,
                         QString leftKey, QString rightKey)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      factor_(std::max(factor, 1)),
      title_(std::move(title)),
      leftKey_(std::move(leftKey)),
      rightKey_(std::move(rightKey)) {
    setModal(true);
    setWindowTitle(title_);
    setGeometry(phone);
    setFixedSize(phone.size());
}

QRect PhoneDialog::BodyRect() const {
    return PictureAreaRect(QRect(0, 0, width(), height()), factor_);
}

void PhoneDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect phone(0, 0, width(), height());
    DrawTitleStrip(painter, TitleStripRect(phone, factor_), title_, factor_);
    painter.fillRect(BodyRect(), Qt::white);
    DrawSoftKeyStrip(painter, SoftKeyStripRect(phone, factor_), leftKey_, rightKey_, factor_);
}

void PhoneDialog::mousePressEvent(QMouseEvent* event) {
    const QRect strip = SoftKeyStripRect(QRect(0, 0, width(), height()), factor_);
    const QPoint at = event->position().toPoint();
    if (event->button() != Qt::LeftButton || !strip.contains(at)) {
        QDialog::mousePressEvent(event);
        return;
    }
    SoftKey(at.x() < strip.left() + strip.width() / 2);
}
