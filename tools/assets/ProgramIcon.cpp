// The program icon: a gilded frame round a small sunny landscape, and a
// paint brush laid across its corner, with transparency.
//
// The design is laid out in a 64 x 64 box. At any other side the drawing is
// scaled, but the frame's edges, its bevel and its highlight are placed on
// whole pixels and no line gets thinner than a pixel, so the edges stay sharp
// rather than smeared over two pixels. At 16 x 16 a scaled drawing would be a
// blur of gold, sky and brush, so that side is drawn pixel by pixel instead.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

#include "AssetTool.h"

namespace {

constexpr int kDesignSide = 64;

// A length of the design at this scale, rounded to whole pixels and never
// below one.
qreal WholePixels(qreal length, qreal scale) {
    return std::max<qreal>(1.0, std::round(length * scale));
}

void DrawFrame(QPainter& painter, const QRectF& outer, const QRectF& inner, qreal scale) {
    // A soft shadow below and to the right.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 0, 60));
    painter.drawRoundedRect(outer.translated(1.5 * scale, 2.0 * scale), 3 * scale, 3 * scale);

    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0.0, QColor(255, 222, 130));
    gold.setColorAt(0.45, QColor(214, 154, 52));
    gold.setColorAt(1.0, QColor(140, 84, 22));
    painter.setBrush(gold);
    painter.setPen(QPen(QColor(96, 56, 16), WholePixels(1.0, scale)));
    painter.drawRoundedRect(outer, 3 * scale, 3 * scale);

    // A bevel: the inner edge lit from the bottom right, dark at the top left.
    // The pen runs half its width outside the picture, so it covers whole
    // pixels up to the picture's edge.
    const qreal bevel = WholePixels(2.0, scale);
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(120, 70, 20), bevel));
    painter.drawRect(inner.adjusted(-bevel / 2, -bevel / 2, bevel / 2, bevel / 2));
    // A highlight along the top, one row of whole pixels below the outline.
    const qreal highlight = WholePixels(1.0, scale);
    const qreal highlightY =
        outer.top() + std::max<qreal>(1.0, std::floor(1.5 * scale)) + highlight / 2;
    painter.setPen(QPen(QColor(255, 236, 170, 200), highlight));
    painter.drawLine(QPointF(outer.left() + 2 * scale, highlightY),
                     QPointF(outer.right() - 2 * scale, highlightY));
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

// The 16 x 16 icon, one character a pixel: the frame's outline and gold,
// the sky with its sun, the hills, and the brush from its blue tip down to
// the corner.
const char* const kSmallIconRows[16] = {
    "................",  //
    ".ooooooooooo....",  //
    "oggggggggggGo...",  //
    "ogSSSSSSSSSGod..",  //
    "ogSSSSSyySSGod..",  //
    "ogsssssyyssGod..",  //
    "ogsshhhhsssGod..",  //
    "oghhhhhhpLLGod..",  //
    "ogLLLLLLppLGod..",  //
    "ogLLLLLLLttGod..",  //
    "ogHHHHHHHHmmod..",  //
    "oGGGGGGGGGGRrd..",  //
    ".oooooooooooRr..",  //
    "..dddddddddddRr.",  //
    "..............Rr",  //
    "...............R",  //
};

QRgb SmallIconColor(char code) {
    switch (code) {
        case 'o':
            return qRgba(96, 56, 16, 255);  // outline
        case 'g':
            return qRgba(240, 196, 100, 255);  // gold, lit
        case 'G':
            return qRgba(170, 110, 36, 255);  // gold, shaded
        case 'S':
            return qRgba(80, 150, 232, 255);  // sky, high
        case 's':
            return qRgba(160, 208, 246, 255);  // sky, low
        case 'y':
            return qRgba(255, 220, 80, 255);  // sun
        case 'h':
            return qRgba(70, 150, 90, 255);  // far hill
        case 'L':
            return qRgba(110, 190, 76, 255);  // near hill, lit
        case 'H':
            return qRgba(44, 122, 52, 255);  // near hill, shaded
        case 'p':
            return qRgba(36, 112, 230, 255);  // paint on the bristles
        case 't':
            return qRgba(110, 76, 48, 255);  // bristles
        case 'm':
            return qRgba(176, 180, 190, 255);  // metal ferrule
        case 'r':
            return qRgba(210, 52, 40, 255);  // handle
        case 'R':
            return qRgba(120, 22, 16, 255);  // handle, shaded
        default:
            return qRgba(0, 0, 0, 0);  // transparent
    }
}

QImage DrawSmallIcon() {
    constexpr int kSide = 16;
    QImage icon(kSide, kSide, QImage::Format_ARGB32);
    for (int y = 0; y < kSide; ++y) {
        for (int x = 0; x < kSide; ++x) {
            icon.setPixel(x, y, SmallIconColor(kSmallIconRows[y][x]));
        }
    }
    return icon;
}

}  // namespace

QImage DrawProgramIcon(int side) {
    if (side == 16) {
        return DrawSmallIcon();
    }
    QImage icon(side, side, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);

    // The frame on whole pixels; the picture it holds fills it exactly.
    const qreal scale = side / static_cast<qreal>(kDesignSide);
    const QRectF outer(WholePixels(3, scale), WholePixels(5, scale), WholePixels(48, scale),
                       WholePixels(44, scale));
    const qreal border = WholePixels(7, scale);
    const QRectF inner = outer.adjusted(border, border, -border, -border);
    DrawFrame(painter, outer, inner, scale);

    // The landscape and the brush in the design's units.
    painter.scale(scale, scale);
    DrawLandscape(painter, QRectF(inner.topLeft() / scale, inner.size() / scale));
    painter.translate(33, 31);
    painter.rotate(45);
    DrawBrush(painter);
    return icon;
}
