// Drawing helpers shared by the decoration families: the supersampled
// canvas, a few shapes and the fitted lettering.
#include <QPainterPathStroker>
#include <QRgba64>
#include <QTransform>

#include <algorithm>
#include <cmath>

#include "DecorationArt.h"

namespace {

constexpr qreal kPi = 3.14159265358979323846;
constexpr int kLetteringPixels = 200;  // outlines are taken large and scaled down

}  // namespace

namespace {

QImage Supersample(int width, int height, int factor, const std::function<void(QPainter&)>& draw) {
    QImage large(width * factor, height * factor, QImage::Format_RGBA64_Premultiplied);
    large.fill(Qt::transparent);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.scale(factor, factor);
        draw(painter);
    }
    QImage image(width, height, QImage::Format_RGBA64_Premultiplied);
    const uint64_t count = static_cast<uint64_t>(factor) * static_cast<uint64_t>(factor);
    for (int y = 0; y < height; ++y) {
        QRgba64* to = reinterpret_cast<QRgba64*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            uint64_t sums[4] = {0, 0, 0, 0};
            for (int dy = 0; dy < factor; ++dy) {
                const QRgba64* from =
                    reinterpret_cast<const QRgba64*>(large.constScanLine(y * factor + dy)) +
                    x * factor;
                for (int dx = 0; dx < factor; ++dx) {
                    sums[0] += from[dx].red();
                    sums[1] += from[dx].green();
                    sums[2] += from[dx].blue();
                    sums[3] += from[dx].alpha();
                }
            }
            auto average = [&](uint64_t sum) {
                return static_cast<quint16>((sum + count / 2) / count);
            };
            to[x] = QRgba64::fromRgba64(average(sums[0]), average(sums[1]), average(sums[2]),
                                        average(sums[3]));
        }
    }
    return image;
}

}  // namespace

DrawnArt DrawSupersampled(int width, int height, int factor,
                          const std::function<void(QPainter&)>& draw) {
    DrawnArt art;
    art.phone = Supersample(width, height, factor, draw);
    art.large = Supersample(width * kLargeArtFactor, height * kLargeArtFactor,
                            std::max(2, factor / 2), [&](QPainter& painter) {
                                painter.scale(kLargeArtFactor, kLargeArtFactor);
                                draw(painter);
                            });
    return art;
}

QPainterPath EllipsePath(QPointF centre, qreal rx, qreal ry, qreal turnDegrees) {
    QPainterPath ellipse;
    ellipse.addEllipse(QPointF(0, 0), rx, ry);
    QTransform place;
    place.translate(centre.x(), centre.y());
    place.rotate(turnDegrees);
    return place.map(ellipse);
}

QPainterPath PolygonPath(const QVector<QPointF>& points) {
    QPainterPath polygon;
    polygon.addPolygon(QPolygonF(points));
    polygon.closeSubpath();
    return polygon;
}

QPainterPath RectPath(qreal x, qreal y, qreal w, qreal h, qreal radius) {
    QPainterPath rect;
    rect.addRoundedRect(QRectF(x, y, w, h), radius, radius);
    return rect;
}

QPainterPath HeartPath(const QRectF& box) {
    // Drawn in a unit square, then stretched over the box.
    QPainterPath heart;
    heart.moveTo(0.5, 0.24);
    heart.cubicTo(0.42, 0.06, 0.24, 0.0, 0.12, 0.06);
    heart.cubicTo(-0.04, 0.14, -0.04, 0.42, 0.1, 0.58);
    heart.cubicTo(0.22, 0.72, 0.4, 0.84, 0.5, 1.0);
    heart.cubicTo(0.6, 0.84, 0.78, 0.72, 0.9, 0.58);
    heart.cubicTo(1.04, 0.42, 1.04, 0.14, 0.88, 0.06);
    heart.cubicTo(0.76, 0.0, 0.58, 0.06, 0.5, 0.24);
    heart.closeSubpath();
    QTransform place;
    place.translate(box.left(), box.top());
    place.scale(box.width(), box.height());
    return place.map(heart);
}

QPainterPath StarPath(QPointF centre, qreal outer, qreal inner, int points, qreal turnDegrees) {
    QPainterPath star;
    for (int i = 0; i < 2 * points; ++i) {
        const qreal angle = (turnDegrees - 90 + 180.0 * i / points) * kPi / 180;
        const qreal radius = i % 2 == 0 ? outer : inner;
        const QPointF at(centre.x() + radius * std::cos(angle),
                         centre.y() + radius * std::sin(angle));
        if (i == 0) {
            star.moveTo(at);
        } else {
            star.lineTo(at);
        }
    }
    star.closeSubpath();
    return star;
}

QPainterPath PetalsPath(QPointF centre, qreal radius, int petals, qreal petalWidth,
                        qreal turnDegrees) {
    QPainterPath flower;
    flower.setFillRule(Qt::WindingFill);
    for (int i = 0; i < petals; ++i) {
        QPainterPath petal;
        petal.addEllipse(QRectF(-petalWidth / 2, -radius, petalWidth, radius));
        QTransform turn;
        turn.translate(centre.x(), centre.y());
        turn.rotate(turnDegrees + 360.0 * i / petals);
        flower.addPath(turn.map(petal));
    }
    return flower;
}

QPainterPath CrescentPath(QPointF centre, qreal radius) {
    QPainterPath disc = CirclePath(centre, radius);
    const QPointF bite(centre.x() + radius * 0.42, centre.y() - radius * 0.3);
    return disc.subtracted(CirclePath(bite, radius * 0.82));
}

QPainterPath CirclePath(QPointF centre, qreal radius) {
    QPainterPath circle;
    circle.addEllipse(centre, radius, radius);
    return circle;
}

QPainterPath StrokePath(const QPainterPath& line, qreal width) {
    QPainterPathStroker stroker;
    stroker.setWidth(width);
    stroker.setCapStyle(Qt::RoundCap);
    stroker.setJoinStyle(Qt::RoundJoin);
    return stroker.createStroke(line);
}

QFont LetteringFont(bool serif) {
    QFont font(serif ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
    font.setPixelSize(kLetteringPixels);
    font.setWeight(QFont::Bold);
    font.setStyle(QFont::StyleNormal);
    font.setStretch(QFont::Unstretched);
    font.setKerning(true);
    return font;
}

QPainterPath FittedTextPath(const QString& text, bool serif, const QRectF& box, qreal squeeze,
                            qreal shear) {
    QPainterPath outline;
    outline.addText(0, 0, LetteringFont(serif), text);
    // Neighbouring letters of a bold face may overlap; with the even-odd
    // rule the overlap would become a hole.
    outline.setFillRule(Qt::WindingFill);
    // Narrow and slant about the baseline: points above it (negative y)
    // move right by shear times their height.
    outline = QTransform(squeeze, 0, -shear, 1, 0, 0).map(outline);
    const QRectF bounds = outline.boundingRect();
    const qreal scale = std::min(box.width() / bounds.width(), box.height() / bounds.height());
    QTransform fit;
    fit.translate(box.center().x(), box.center().y());
    fit.scale(scale, scale);
    fit.translate(-bounds.center().x(), -bounds.center().y());
    return fit.map(outline);
}
