// The program icon, 64 x 64 with transparency: a gilded frame round a small
// sunny landscape, and a paint brush laid across its corner.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include "AssetTool.h"

namespace {

constexpr int kIconSide = 64;

void DrawFrame(QPainter& painter, const QRectF& outer, const QRectF& inner) {
    // A soft shadow below and to the right.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(outer.translated(1.5, 2.0), 3, 3);

    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0.0, QColor(255, 222, 130));
    gold.setColorAt(0.45, QColor(214, 154, 52));
    gold.setColorAt(1.0, QColor(140, 84, 22));
    painter.setBrush(gold);
    painter.setPen(QPen(QColor(96, 56, 16), 1.0));
    painter.drawRoundedRect(outer, 3, 3);

    // A bevel: the inner edge lit from the bottom right, dark at the top left.
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(120, 70, 20), 2.0));
    painter.drawRect(inner.adjusted(-1, -1, 1, 1));
    painter.setPen(QPen(QColor(255, 236, 170, 200), 1.0));
    painter.drawLine(QPointF(outer.left() + 2, outer.top() + 1.5),
                     QPointF(outer.right() - 2, outer.top() + 1.5));
}

void DrawLandscape(QPainter& painter, const QRectF& area) {
    painter.save();
    painter.setClipRect(area);
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0.0, QColor(70, 140, 230));
    sky.setColorAt(0.7, QColor(180, 220, 250));
    painter.fillRect(area, sky);

    QRadialGradient sun(QPointF(area.left() + 24, area.top() + 9), 7);
    sun.setColorAt(0.0, QColor(255, 250, 200));
    sun.setColorAt(0.55, QColor(255, 214, 70));
    sun.setColorAt(1.0, QColor(255, 214, 70, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawEllipse(QPointF(area.left() + 24, area.top() + 9), 7, 7);

    const qreal bottom = area.bottom();
    QPainterPath farHill;
    farHill.moveTo(area.left(), bottom - 10);
    farHill.quadTo(area.left() + 12, bottom - 22, area.left() + 26, bottom - 13);
    farHill.quadTo(area.left() + 32, bottom - 16, area.right(), bottom - 11);
    farHill.lineTo(area.right(), bottom);
    farHill.lineTo(area.left(), bottom);
    painter.setBrush(QColor(70, 150, 90));
    painter.drawPath(farHill);

    QPainterPath nearHill;
    nearHill.moveTo(area.left(), bottom - 4);
    nearHill.quadTo(area.left() + 22, bottom - 13, area.right(), bottom - 3);
    nearHill.lineTo(area.right(), bottom);
    nearHill.lineTo(area.left(), bottom);
    QLinearGradient grass(QPointF(0, bottom - 12), QPointF(0, bottom));
    grass.setColorAt(0.0, QColor(120, 200, 80));
    grass.setColorAt(1.0, QColor(40, 120, 50));
    painter.setBrush(grass);
    painter.drawPath(nearHill);
    painter.restore();
}

// The brush along its own axis: the tip at the origin, the handle's end at
// x = length; then turned and moved into place by the caller's transform.
void DrawBrush(QPainter& painter) {
    constexpr qreal kLength = 40;
    painter.setPen(QPen(QColor(40, 20, 10, 160), 0.8));

    QPainterPath handle;
    handle.moveTo(16, -2.6);
    handle.cubicTo(26, -3.4, kLength - 3, -2.4, kLength, 0);
    handle.cubicTo(kLength - 3, 2.4, 26, 3.4, 16, 2.6);
    handle.closeSubpath();
    QLinearGradient wood(QPointF(0, -3), QPointF(0, 3));
    wood.setColorAt(0.0, QColor(240, 90, 70));
    wood.setColorAt(0.5, QColor(190, 40, 30));
    wood.setColorAt(1.0, QColor(110, 20, 15));
    painter.setBrush(wood);
    painter.drawPath(handle);

    QLinearGradient metal(QPointF(0, -3), QPointF(0, 3));
    metal.setColorAt(0.0, QColor(250, 250, 250));
    metal.setColorAt(0.45, QColor(170, 175, 185));
    metal.setColorAt(1.0, QColor(90, 95, 105));
    painter.setBrush(metal);
    painter.drawRect(QRectF(10, -3, 6.5, 6));

    QPainterPath bristles;
    bristles.moveTo(10, -2.8);
    bristles.cubicTo(5, -3.2, 2, -1.5, 0, 0);
    bristles.cubicTo(2, 1.5, 5, 3.2, 10, 2.8);
    bristles.closeSubpath();
    QLinearGradient paint(QPointF(0, 0), QPointF(10, 0));
    paint.setColorAt(0.0, QColor(30, 110, 230));
    paint.setColorAt(0.45, QColor(40, 120, 230));
    paint.setColorAt(0.55, QColor(120, 80, 50));
    paint.setColorAt(1.0, QColor(90, 60, 40));
    painter.setBrush(paint);
    painter.drawPath(bristles);
}

}  // namespace

QImage DrawProgramIcon() {
    QImage icon(kIconSide, kIconSide, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);

    const QRectF outer(3, 5, 48, 44);
    const QRectF inner = outer.adjusted(7, 7, -7, -7);
    DrawFrame(painter, outer, inner);
    DrawLandscape(painter, inner);

    painter.translate(33, 31);
    painter.rotate(45);
    DrawBrush(painter);
    return icon;
}
