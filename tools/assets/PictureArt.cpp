// Pictures: 60 x 60 coloured stickers in a cartoon style. Every part is
// filled with shaded colour and edged with a dark ink line, so that the
// sticker reads on light and dark photos alike and its outermost edge is
// always dark.
#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <cmath>

#include "DecorationArt.h"

namespace {

constexpr int kSide = 60;
constexpr int kFactor = 4;
constexpr qreal kPi = 3.14159265358979323846;
const QColor kInk(46, 30, 40);
constexpr qreal kLine = 1.1;  // ink outside every shape, in pixels

// Fills the shape and edges it with ink reaching line pixels outside.
void Inked(QPainter& painter, const QPainterPath& shape, const QBrush& fill, qreal line = kLine) {
    painter.strokePath(shape, QPen(kInk, 2 * line, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.fillPath(shape, fill);
}

// A plain ink line.
void InkLine(QPainter& painter, const QPainterPath& line, qreal width) {
    painter.strokePath(line, QPen(kInk, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
}

// Rounded light: brighter towards the upper left of the box, darker towards
// its lower right.
QBrush Rounded(const QColor& base, const QRectF& box) {
    QRadialGradient light(box.left() + box.width() * 0.35, box.top() + box.height() * 0.3,
                          std::max(box.width(), box.height()) * 0.85);
    light.setColorAt(0.0, base.lighter(135));
    light.setColorAt(0.55, base);
    light.setColorAt(1.0, base.darker(135));
    return light;
}

QBrush Vertical(const QColor& top, const QColor& bottom, qreal y0, qreal y1) {
    QLinearGradient shade(0, y0, 0, y1);
    shade.setColorAt(0, top);
    shade.setColorAt(1, bottom);
    return shade;
}

// A soft white gleam, kept inside the shape it lights.
void Gleam(QPainter& painter, const QPainterPath& inside, const QRectF& spot, int alpha = 170) {
    painter.save();
    painter.setClipPath(inside);
    QRadialGradient gleam(spot.center(), std::max(spot.width(), spot.height()) / 2);
    gleam.setColorAt(0, QColor(255, 255, 255, alpha));
    gleam.setColorAt(1, QColor(255, 255, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(gleam);
    painter.drawEllipse(spot);
    painter.restore();
}

// A balloon: an egg a little narrower at the bottom, tied with a knot.
QPainterPath BalloonPath(QPointF top, qreal width, qreal height) {
    const qreal x = top.x();
    const qreal y = top.y();
    QPainterPath balloon;
    balloon.moveTo(x, y);
    balloon.cubicTo(x + width * 0.58, y, x + width * 0.62, y + height * 0.62, x, y + height * 0.98);
    balloon.cubicTo(x - width * 0.62, y + height * 0.62, x - width * 0.58, y, x, y);
    balloon.addPath(PolygonPath(
        {{x, y + height * 0.94}, {x + 2.2, y + height + 2.2}, {x - 2.2, y + height + 2.2}}));
    balloon.setFillRule(Qt::WindingFill);
    return balloon.simplified();
}

void Balloons(QPainter& painter) {
    struct Balloon {
        QPointF top;
        qreal width, height, turn;
        QColor colour;
    };
    const Balloon balloons[] = {
        {{21, 5}, 20, 23, -14, QColor(70, 150, 235)},
        {{39, 4}, 20, 23, 14, QColor(255, 200, 40)},
        {{30, 11}, 23, 26, 0, QColor(235, 50, 70)},
    };
    // Strings first, gathered to a bow low in the middle.
    const QPointF gather(30, 52);
    for (const Balloon& balloon : balloons) {
        QTransform turn;
        turn.translate(balloon.top.x(), balloon.top.y() + balloon.height);
        turn.rotate(balloon.turn);
        const QPointF knot = turn.map(QPointF(0, 2.2));  // just below the knot
        QPainterPath string;
        string.moveTo(knot);
        string.cubicTo(knot.x() + 3, knot.y() + 6, gather.x() - 2, gather.y() - 8, gather.x(),
                       gather.y());
        InkLine(painter, string, 1.0);
    }
    for (const Balloon& balloon : balloons) {
        QTransform turn;
        turn.translate(balloon.top.x(), balloon.top.y() + balloon.height);
        turn.rotate(balloon.turn);
        turn.translate(-balloon.top.x(), -balloon.top.y() - balloon.height);
        const QPainterPath shape =
            turn.map(BalloonPath(balloon.top, balloon.width, balloon.height));
        const QRectF box = shape.boundingRect();
        Inked(painter, shape, Rounded(balloon.colour, box));
        Gleam(painter, shape,
              QRectF(box.left() + box.width() * 0.2, box.top() + box.height() * 0.12,
                     box.width() * 0.3, box.height() * 0.3));
    }
    // A little bow where the strings meet.
    QPainterPath bow;
    bow.moveTo(30, 52);
    bow.cubicTo(25, 47, 22, 53, 25, 55.5);
    bow.cubicTo(27, 56.5, 29, 54, 30, 52);
    bow.cubicTo(35, 47, 38, 53, 35, 55.5);
    bow.cubicTo(33, 56.5, 31, 54, 30, 52);
    bow.setFillRule(Qt::WindingFill);
    Inked(painter, bow, QColor(240, 90, 170));
    QPainterPath tails;
    tails.moveTo(30, 52);
    tails.lineTo(27.5, 58);
    tails.moveTo(30, 52);
    tails.lineTo(33, 58);
    InkLine(painter, tails, 1.1);
}

void Cake(QPainter& painter) {
    // Plate, two tiers with dripping icing, three candles.
    Inked(painter, EllipsePath(QPointF(30, 53), 26, 4.5),
          Vertical(QColor(250, 250, 255), QColor(180, 190, 210), 48, 58));
    const QPainterPath lower = RectPath(9, 34, 42, 19, 3);
    Inked(painter, lower, Vertical(QColor(255, 236, 200), QColor(226, 180, 130), 34, 53));
    const QPainterPath upper = RectPath(15, 22, 30, 14, 3);
    Inked(painter, upper, Vertical(QColor(255, 190, 215), QColor(230, 120, 160), 22, 36));
    // Icing over the lower tier: a band with rounded drips.
    QPainterPath icing;
    icing.moveTo(9, 37);
    icing.lineTo(9, 35.5);
    icing.quadTo(9, 34, 12, 34);
    icing.lineTo(48, 34);
    icing.quadTo(51, 34, 51, 35.5);
    icing.lineTo(51, 38);
    const qreal drips[] = {47, 41, 35, 29, 23, 17, 12};
    for (int i = 0; i < 7; ++i) {
        const qreal x = drips[i];
        const qreal depth = (i % 2 == 0) ? 5.5 : 3.5;
        icing.quadTo(x + 2.5, 38, x + 1.5, 38 + depth - 2);
        icing.quadTo(x, 38 + depth + 0.5, x - 1.5, 38 + depth - 2);
        icing.quadTo(x - 2.5, 38, x - 4, 38);
    }
    icing.lineTo(9, 38);
    icing.closeSubpath();
    Inked(painter, icing, QColor(250, 110, 160), 0.7);
    // Dots of sprinkles on the upper tier.
    const QColor sprinkles[] = {QColor(255, 255, 255), QColor(255, 220, 60), QColor(90, 200, 240)};
    Scatter scatter(3);
    for (int i = 0; i < 12; ++i) {
        const QPointF at(scatter.Between(18, 42), scatter.Between(25, 33));
        painter.fillPath(EllipsePath(at, 1.1, 0.6, scatter.Between(0, 180)), sprinkles[i % 3]);
    }
    for (qreal x : {21.0, 30.0, 39.0}) {
        const QPainterPath candle = RectPath(x - 1.8, 11, 3.6, 11, 1);
        Inked(painter, candle, Vertical(QColor(140, 210, 255), QColor(70, 140, 230), 11, 22), 0.8);
        painter.save();
        painter.setClipPath(candle);
        for (qreal y = 9; y < 24; y += 3.2) {
            painter.fillPath(
                PolygonPath({{x - 3, y + 2}, {x + 3, y - 1}, {x + 3, y + 0.4}, {x - 3, y + 3.4}}),
                QColor(255, 255, 255, 200));
        }
        painter.restore();
        QPainterPath flame;
        flame.moveTo(x, 2.5);
        flame.cubicTo(x + 1.5, 5, x + 3, 7, x + 2.5, 8.8);
        flame.cubicTo(x + 2, 10.5, x - 2, 10.5, x - 2.5, 8.8);
        flame.cubicTo(x - 3, 7, x - 1.5, 5, x, 2.5);
        QRadialGradient fire(x, 8, 4.5);
        fire.setColorAt(0, QColor(255, 255, 200));
        fire.setColorAt(0.5, QColor(255, 210, 60));
        fire.setColorAt(1, QColor(255, 120, 30));
        Inked(painter, flame, fire, 0.8);
    }
}

void Gift(QPainter& painter) {
    const QColor red(225, 40, 70);
    const QColor gold(255, 205, 60);
    const QPainterPath box = RectPath(9, 28, 42, 28, 2);
    Inked(painter, box, Rounded(red, QRectF(9, 28, 42, 28)));
    const QPainterPath lid = RectPath(6, 21, 48, 9, 2);
    Inked(painter, lid, Rounded(red.lighter(110), QRectF(6, 21, 48, 9)));
    // A shadow under the lid, then the ribbons.
    painter.save();
    painter.setClipPath(box);
    painter.fillRect(QRectF(9, 30, 42, 2.5), QColor(0, 0, 0, 70));
    painter.restore();
    const QBrush ribbon = Vertical(gold.lighter(120), gold.darker(115), 21, 56);
    Inked(painter, RectPath(26.5, 21, 7, 35), ribbon, 0.7);
    // The bow: two loops and two tails over the lid.
    QPainterPath loops;
    loops.moveTo(30, 20);
    loops.cubicTo(20, 4, 8, 12, 16, 19);
    loops.cubicTo(20, 22, 26, 21, 30, 20);
    loops.moveTo(30, 20);
    loops.cubicTo(40, 4, 52, 12, 44, 19);
    loops.cubicTo(40, 22, 34, 21, 30, 20);
    loops.setFillRule(Qt::WindingFill);
    Inked(painter, loops, Rounded(gold, QRectF(10, 6, 40, 16)));
    QPainterPath holes;
    holes.moveTo(29, 19);
    holes.cubicTo(23, 11, 16, 12, 18, 17);
    holes.moveTo(31, 19);
    holes.cubicTo(37, 11, 44, 12, 42, 17);
    InkLine(painter, holes, 0.9);
    Inked(painter, EllipsePath(QPointF(30, 19.5), 4, 3.4), Rounded(gold, QRectF(26, 16, 8, 7)),
          0.8);
    Gleam(painter, box, QRectF(11, 33, 12, 10), 90);
}

void PartyHat(QPainter& painter) {
    // Drawn a little smaller than its geometry, to keep clear of the edges.
    painter.translate(30, 30);
    painter.scale(0.92, 0.92);
    painter.translate(-30, -30);
    QTransform tilt;
    tilt.translate(30, 56);
    tilt.rotate(-12);
    tilt.translate(-30, -56);
    const QPainterPath cone = tilt.map(PolygonPath({{30, 9}, {47, 52}, {13, 52}}));
    Inked(painter, cone, QColor(120, 80, 220));
    painter.save();
    painter.setClipPath(cone);
    const QColor stripes[] = {QColor(255, 210, 50), QColor(60, 200, 220)};
    for (int i = 0; i < 4; ++i) {
        const qreal y = 18 + 9.5 * i;
        painter.fillPath(tilt.map(PolygonPath({{0, y}, {60, y - 5}, {60, y}, {0, y + 5}})),
                         stripes[i % 2]);
    }
    // Light falling from the left.
    QLinearGradient light(tilt.map(QPointF(14, 30)), tilt.map(QPointF(46, 30)));
    light.setColorAt(0, QColor(255, 255, 255, 80));
    light.setColorAt(0.5, QColor(255, 255, 255, 0));
    light.setColorAt(1, QColor(0, 0, 0, 70));
    painter.fillPath(cone, light);
    painter.restore();
    // A ruffled brim and a pompom.
    QPainterPath brim;
    const QPointF left = tilt.map(QPointF(11, 52));
    const QPointF right = tilt.map(QPointF(49, 52));
    for (int i = 0; i <= 8; ++i) {
        const QPointF at = left + (right - left) * (i / 8.0);
        brim.addPath(CirclePath(at, 3.2));
    }
    brim.setFillRule(Qt::WindingFill);
    Inked(painter, brim.simplified(), QColor(255, 120, 170));
    const QPointF tip = tilt.map(QPointF(30, 9));
    QPainterPath pompom;
    for (int i = 0; i < 8; ++i) {
        const qreal angle = i * kPi / 4;
        pompom.addPath(
            CirclePath(tip + QPointF(3.2 * std::cos(angle), 3.2 * std::sin(angle)), 2.6));
    }
    pompom.setFillRule(Qt::WindingFill);
    Inked(painter, pompom.simplified(), Rounded(QColor(255, 90, 150), QRectF(tip, QSizeF(8, 8))));
    // Confetti around the hat.
    const QColor colours[] = {QColor(255, 80, 80), QColor(80, 200, 120), QColor(70, 160, 255),
                              QColor(255, 200, 40)};
    const QPointF bits[] = {{48, 10}, {53, 24}, {8, 20}, {50, 38}};
    for (int i = 0; i < 4; ++i) {
        Inked(painter, EllipsePath(bits[i], 2.4, 1.3, 30.0 * i - 20), colours[i], 0.7);
    }
}

// Two flutes of sparkling wine clinking at the rims.
void Champagne(QPainter& painter) {
    painter.translate(30, 32);
    painter.scale(0.9, 0.9);
    painter.translate(-30, -32);
    for (int side = -1; side <= 1; side += 2) {
        QTransform tilt;
        // Leaning in, so that the rims meet over the middle.
        tilt.translate(30 + side * 15, 57);
        tilt.rotate(-side * 15);
        QPainterPath bowl;
        bowl.moveTo(-6, -50);
        bowl.lineTo(6, -50);
        bowl.cubicTo(6.5, -38, 5, -28, 0.8, -25);
        bowl.lineTo(-0.8, -25);
        bowl.cubicTo(-5, -28, -6.5, -38, -6, -50);
        bowl = tilt.map(bowl);
        const QPainterPath stem = tilt.map(RectPath(-1, -26, 2, 23));
        const QPainterPath foot = tilt.map(EllipsePath(QPointF(0, -2.5), 7, 2));
        Inked(painter, stem.united(foot), QColor(215, 235, 245), 0.9);
        Inked(painter, bowl, QColor(215, 235, 245, 255), 0.9);
        painter.save();
        painter.setClipPath(bowl);
        const QPainterPath wine = tilt.map(RectPath(-8, -44, 16, 20));
        painter.fillPath(wine, Vertical(QColor(255, 230, 130), QColor(240, 170, 40), 14, 34));
        Scatter scatter(side + 5);
        for (int i = 0; i < 7; ++i) {
            const QPointF at =
                tilt.map(QPointF(scatter.Between(-3.5, 3.5), scatter.Between(-42, -29)));
            painter.fillPath(CirclePath(at, scatter.Between(0.5, 0.9)), QColor(255, 255, 235));
        }
        painter.fillPath(tilt.map(RectPath(-5, -49, 1.8, 20, 0.9)), QColor(255, 255, 255, 150));
        painter.restore();
        // Draw the rim again over the wine.
        painter.strokePath(bowl, QPen(kInk, 0.9));
    }
    // The clink: a burst above the rims.
    const QPainterPath burst = StarPath(QPointF(30, 6.5), 5.5, 2.1, 8);
    Inked(painter, burst, QColor(255, 240, 120), 0.7);
    for (const QPointF at : {QPointF(18, 8), QPointF(42, 8)}) {
        Inked(painter, StarPath(at, 2.6, 1, 4), QColor(255, 255, 255), 0.5);
    }
}

void Cupcake(QPainter& painter) {
    const QPainterPath wrapper = PolygonPath({{14, 34}, {46, 34}, {42, 56}, {18, 56}});
    Inked(painter, wrapper, Vertical(QColor(110, 200, 240), QColor(50, 130, 210), 34, 56));
    painter.save();
    painter.setClipPath(wrapper);
    for (int i = 0; i <= 8; ++i) {
        const qreal top = 14 + 4 * i;
        const qreal bottom = 18 + 3 * i;
        QPainterPath pleat;
        pleat.moveTo(top, 34);
        pleat.lineTo(bottom, 56);
        painter.strokePath(pleat, QPen(QColor(30, 80, 150, 150), 0.8));
    }
    painter.restore();
    // Frosting in three swirls, widest at the bottom.
    const QColor cream(255, 170, 205);
    const struct {
        qreal cx, cy, rx, ry;
    } swirls[] = {{30, 32, 19, 6.5}, {30, 25, 15, 6}, {30, 18.5, 10, 5.5}};
    for (const auto& swirl : swirls) {
        const QPainterPath layer = EllipsePath(QPointF(swirl.cx, swirl.cy), swirl.rx, swirl.ry);
        Inked(painter, layer,
              Rounded(cream, QRectF(swirl.cx - swirl.rx, swirl.cy - swirl.ry, 2 * swirl.rx,
                                    2 * swirl.ry)));
    }
    Scatter scatter(9);
    const QColor sprinkles[] = {QColor(255, 240, 90), QColor(110, 220, 160), QColor(255, 255, 255),
                                QColor(150, 110, 240)};
    for (int i = 0; i < 14; ++i) {
        const QPointF at(scatter.Between(17, 43), scatter.Between(20, 35));
        if (std::abs(at.x() - 30) > (at.y() - 14) * 0.75) {
            continue;
        }
        painter.fillPath(RectPath(-1.3, -0.5, 2.6, 1.0, 0.5).translated(at), sprinkles[i % 4]);
    }
    // A cherry on top.
    QPainterPath stem;
    stem.moveTo(31, 11);
    stem.cubicTo(32, 7, 34, 5, 37, 4);
    InkLine(painter, stem, 1.2);
    const QPainterPath cherry = CirclePath(QPointF(30, 12), 4.6);
    Inked(painter, cherry, Rounded(QColor(215, 20, 50), QRectF(25.4, 7.4, 9.2, 9.2)));
    Gleam(painter, cherry, QRectF(26.5, 8.5, 3.5, 3));
}

void Lollipop(QPainter& painter) {
    Inked(painter, RectPath(28.2, 36, 3.6, 22, 1.5), QColor(250, 248, 240), 0.9);
    const QPainterPath disc = CirclePath(QPointF(30, 22), 17);
    Inked(painter, disc, QColor(255, 255, 255));
    painter.save();
    painter.setClipPath(disc);
    // A spiral of colours winding into the middle.
    const QColor colours[] = {QColor(255, 70, 110), QColor(255, 190, 40), QColor(80, 190, 250)};
    for (int band = 0; band < 3; ++band) {
        QPainterPath spiral;
        for (int i = 0; i <= 120; ++i) {
            const qreal t = i / 120.0;
            const qreal angle = t * 5.2 * kPi + band * 2 * kPi / 3;
            const qreal radius = 1 + 17 * t;
            const QPointF at(30 + radius * std::cos(angle), 22 + radius * std::sin(angle));
            if (i == 0) {
                spiral.moveTo(at);
            } else {
                spiral.lineTo(at);
            }
        }
        painter.strokePath(spiral, QPen(colours[band], 3.4, Qt::SolidLine, Qt::RoundCap));
    }
    painter.restore();
    Gleam(painter, disc, QRectF(16, 8, 14, 12), 150);
    painter.strokePath(disc, QPen(kInk, 2 * kLine));
    // A ribbon bow where the stick meets the sweet.
    QPainterPath bow;
    bow.moveTo(30, 42);
    bow.cubicTo(24, 37, 20, 43, 23, 46);
    bow.cubicTo(25, 47.5, 28, 44, 30, 42);
    bow.cubicTo(36, 37, 40, 43, 37, 46);
    bow.cubicTo(35, 47.5, 32, 44, 30, 42);
    bow.setFillRule(Qt::WindingFill);
    Inked(painter, bow, QColor(80, 200, 130), 0.9);
    Inked(painter, CirclePath(QPointF(30, 42), 1.8), QColor(60, 170, 100), 0.7);
}

void GlossyHeart(QPainter& painter) {
    const QPainterPath small = HeartPath(QRectF(40, 4, 15, 13.5));
    Inked(painter, small, Rounded(QColor(255, 120, 170), QRectF(40, 4, 15, 13.5)));
    const QPainterPath heart = HeartPath(QRectF(5, 12, 44, 42));
    Inked(painter, heart, Rounded(QColor(225, 25, 60), QRectF(5, 12, 44, 42)), 1.3);
    Gleam(painter, heart, QRectF(10, 15, 16, 14), 200);
    QPainterPath shine;
    shine.moveTo(12, 28);
    shine.cubicTo(11.5, 23, 13, 19.5, 17, 18);
    painter.strokePath(shine, QPen(QColor(255, 255, 255, 220), 2.2, Qt::SolidLine, Qt::RoundCap));
    Gleam(painter, small, QRectF(42, 5.5, 5, 4), 200);
}

void Sun(QPainter& painter) {
    QPainterPath rays;
    for (int i = 0; i < 12; ++i) {
        QTransform turn;
        turn.translate(30, 30);
        turn.rotate(30 * i + 15);
        QPainterPath ray;
        ray.moveTo(-4.2, -19);
        ray.quadTo(-1.5, -24.5, 0, -27.5);
        ray.quadTo(1.5, -24.5, 4.2, -19);
        ray.closeSubpath();
        rays.addPath(turn.map(ray));
    }
    rays.setFillRule(Qt::WindingFill);
    Inked(painter, rays, QColor(255, 150, 30), 0.9);
    const QPainterPath face = CirclePath(QPointF(30, 30), 19);
    QRadialGradient glow(25, 24, 24);
    glow.setColorAt(0, QColor(255, 250, 170));
    glow.setColorAt(0.6, QColor(255, 215, 50));
    glow.setColorAt(1, QColor(250, 170, 30));
    Inked(painter, face, glow, 1.2);
    // A friendly face: eyes, rosy cheeks and a smile.
    for (qreal x : {23.5, 36.5}) {
        painter.fillPath(EllipsePath(QPointF(x, 27), 1.9, 2.6), kInk);
        painter.fillPath(CirclePath(QPointF(x + 0.6, 26), 0.7), Qt::white);
        painter.fillPath(EllipsePath(QPointF(x + (x < 30 ? -3 : 3), 33), 3.2, 2),
                         QColor(255, 120, 90, 140));
    }
    QPainterPath smile;
    smile.moveTo(24.5, 34);
    smile.quadTo(30, 40, 35.5, 34);
    InkLine(painter, smile, 1.5);
}

void FlowerPot(QPainter& painter) {
    const QColor green(70, 170, 70);
    // Stems and leaves behind the flowers.
    QPainterPath stems;
    stems.moveTo(30, 40);
    stems.cubicTo(30, 30, 29, 22, 30, 16);
    stems.moveTo(29, 40);
    stems.cubicTo(26, 32, 20, 28, 15, 24);
    stems.moveTo(31, 40);
    stems.cubicTo(34, 32, 40, 28, 45, 24);
    painter.strokePath(stems, QPen(kInk, 3.4, Qt::SolidLine, Qt::RoundCap));
    painter.strokePath(stems, QPen(green, 1.4, Qt::SolidLine, Qt::RoundCap));
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath leaf;
        leaf.moveTo(30, 38);
        leaf.cubicTo(30 + side * 4, 31, 30 + side * 10, 31, 30 + side * 13, 33);
        leaf.cubicTo(30 + side * 10, 37.5, 30 + side * 5, 38.5, 30, 38);
        Inked(painter, leaf, Rounded(green, QRectF(22, 31, 16, 8)), 0.9);
    }
    // Three flowers: a daisy in the middle, pink ones at the sides.
    struct Bloom {
        QPointF centre;
        qreal radius;
        QColor petals, heart;
        int count;
    };
    const Bloom blooms[] = {
        {{15, 22}, 8, QColor(255, 130, 180), QColor(255, 220, 80), 6},
        {{45, 22}, 8, QColor(170, 120, 255), QColor(255, 220, 80), 6},
        {{30, 14}, 10.5, QColor(255, 255, 255), QColor(255, 190, 40), 9},
    };
    for (const Bloom& bloom : blooms) {
        const QPainterPath petals =
            PetalsPath(bloom.centre, bloom.radius, bloom.count, bloom.radius * 0.62).simplified();
        Inked(painter, petals,
              Rounded(bloom.petals,
                      QRectF(bloom.centre.x() - bloom.radius, bloom.centre.y() - bloom.radius,
                             2 * bloom.radius, 2 * bloom.radius)),
              0.9);
        const QPainterPath heart = CirclePath(bloom.centre, bloom.radius * 0.33);
        Inked(painter, heart, Rounded(bloom.heart, heart.boundingRect()), 0.7);
    }
    // The pot: a tapered body under a rim.
    const QPainterPath pot = PolygonPath({{16, 44}, {44, 44}, {40.5, 57}, {19.5, 57}});
    Inked(painter, pot, Rounded(QColor(215, 110, 60), QRectF(16, 44, 28, 13)));
    const QPainterPath rim = RectPath(13, 38.5, 34, 7, 1.5);
    Inked(painter, rim, Vertical(QColor(240, 145, 90), QColor(190, 90, 50), 38.5, 45.5));
    Gleam(painter, pot, QRectF(19, 46, 8, 8), 110);
}

void Butterfly(QPainter& painter) {
    for (int side = -1; side <= 1; side += 2) {
        QTransform mirror(side, 0, 0, 1, 30, 0);
        QPainterPath upper;
        upper.moveTo(1, 28);
        upper.cubicTo(3, 14, 14, 4, 24, 6);
        upper.cubicTo(30, 7.5, 28, 20, 22, 26);
        upper.cubicTo(17, 30, 8, 30, 1, 30);
        upper.closeSubpath();
        QPainterPath lower;
        lower.moveTo(1, 31);
        lower.cubicTo(9, 30, 19, 32, 21, 40);
        lower.cubicTo(22.5, 47, 15, 53, 9, 50);
        lower.cubicTo(4, 47.5, 2, 40, 1, 31);
        lower.closeSubpath();
        upper = mirror.map(upper);
        lower = mirror.map(lower);
        QRadialGradient upperColour(30, 28, 30);
        upperColour.setColorAt(0.1, QColor(255, 230, 90));
        upperColour.setColorAt(0.65, QColor(255, 130, 40));
        upperColour.setColorAt(1, QColor(220, 60, 90));
        Inked(painter, lower, Rounded(QColor(160, 90, 230), lower.boundingRect()));
        Inked(painter, upper, upperColour);
        // White dots along the wing edges and a spot in each wing.
        painter.fillPath(mirror.map(CirclePath(QPointF(19, 14), 3.6)), kInk);
        painter.fillPath(mirror.map(CirclePath(QPointF(19, 14), 2.2)), QColor(255, 250, 220));
        painter.fillPath(mirror.map(CirclePath(QPointF(12, 42), 2.6)), QColor(255, 220, 250));
        for (const QPointF at : {QPointF(25, 9), QPointF(26.5, 15), QPointF(9, 48)}) {
            painter.fillPath(mirror.map(CirclePath(at, 1.1)), Qt::white);
        }
    }
    // Body and feelers.
    QPainterPath feelers;
    feelers.moveTo(29, 18);
    feelers.cubicTo(27, 10, 24, 6, 20, 4);
    feelers.moveTo(31, 18);
    feelers.cubicTo(33, 10, 36, 6, 40, 4);
    InkLine(painter, feelers, 1.3);
    painter.fillPath(CirclePath(QPointF(20, 4), 1.8), kInk);
    painter.fillPath(CirclePath(QPointF(40, 4), 1.8), kInk);
    Inked(painter, RectPath(27.6, 15, 4.8, 32, 2.4),
          Rounded(QColor(90, 60, 70), QRectF(27, 15, 6, 32)), 0.6);
}

void Rainbow(QPainter& painter) {
    const QColor bands[] = {QColor(235, 50, 60), QColor(255, 150, 40), QColor(255, 225, 60),
                            QColor(80, 190, 90), QColor(60, 140, 235), QColor(140, 90, 210)};
    const QPointF centre(30, 44);
    const qreal outer = 26;
    const qreal band = 2.8;
    const qreal inner = outer - 6 * band;
    // The upper half of a ring, built as one outline so that its flat feet
    // are its only straight edges.
    QPainterPath shape;
    shape.moveTo(centre.x() - outer, centre.y());
    shape.arcTo(QRectF(centre.x() - outer, centre.y() - outer, 2 * outer, 2 * outer), 180, -180);
    shape.lineTo(centre.x() + inner, centre.y());
    shape.arcTo(QRectF(centre.x() - inner, centre.y() - inner, 2 * inner, 2 * inner), 0, 180);
    shape.closeSubpath();
    Inked(painter, shape, bands[0]);
    painter.save();
    painter.setClipPath(shape);
    for (int i = 1; i < 6; ++i) {
        const qreal radius = outer - band * i;
        painter.setPen(Qt::NoPen);
        painter.setBrush(bands[i]);
        painter.drawEllipse(centre, radius, radius);
    }
    painter.setBrush(Qt::NoBrush);
    painter.restore();
    // A cloud at each foot.
    for (const QPointF foot : {QPointF(12.5, 45), QPointF(46.5, 45)}) {
        QPainterPath cloud;
        cloud.addPath(CirclePath(foot + QPointF(-5, 2), 5));
        cloud.addPath(CirclePath(foot + QPointF(1, -2), 6.5));
        cloud.addPath(CirclePath(foot + QPointF(6.5, 2.5), 4.5));
        cloud.addPath(RectPath(foot.x() - 9, foot.y() + 1, 19, 6, 3));
        cloud.setFillRule(Qt::WindingFill);
        Inked(painter, cloud.simplified(),
              Vertical(QColor(255, 255, 255), QColor(200, 215, 240), foot.y() - 8, foot.y() + 7));
    }
}

void Ladybug(QPainter& painter) {
    // Legs, then the head, then the shell over them.
    QPainterPath legs;
    for (int side = -1; side <= 1; side += 2) {
        for (int i = 0; i < 3; ++i) {
            const qreal y = 26 + 9 * i;
            legs.moveTo(30 + side * 14, y);
            legs.lineTo(30 + side * 22, y - 3 + 3 * i);
        }
    }
    InkLine(painter, legs, 1.8);
    const QPainterPath head = EllipsePath(QPointF(30, 14), 10, 7.5);
    Inked(painter, head, QColor(40, 30, 40));
    QPainterPath feelers;
    feelers.moveTo(26, 8);
    feelers.cubicTo(24, 4, 21, 3, 19, 4);
    feelers.moveTo(34, 8);
    feelers.cubicTo(36, 4, 39, 3, 41, 4);
    InkLine(painter, feelers, 1.2);
    for (qreal x : {26.0, 34.0}) {
        painter.fillPath(CirclePath(QPointF(x, 12.5), 2.2), Qt::white);
        painter.fillPath(CirclePath(QPointF(x, 13), 1.1), kInk);
    }
    const QPainterPath shell = EllipsePath(QPointF(30, 35), 18, 19);
    Inked(painter, shell, Rounded(QColor(230, 35, 40), QRectF(12, 16, 36, 38)), 1.3);
    painter.save();
    painter.setClipPath(shell);
    painter.fillRect(QRectF(29.2, 14, 1.6, 42), kInk);
    const QPointF spots[] = {{21, 27}, {39, 27}, {19, 40}, {41, 40}, {26, 48}, {34, 48}};
    for (const QPointF& spot : spots) {
        painter.fillPath(CirclePath(spot, 3.6), kInk);
    }
    painter.restore();
    Gleam(painter, shell, QRectF(16, 20, 12, 10), 170);
    Gleam(painter, shell, QRectF(34, 20, 10, 8), 110);
}

void Mushroom(QPainter& painter) {
    // Grass tufts at the foot.
    QPainterPath grass;
    for (int i = 0; i < 9; ++i) {
        const qreal x = 10 + 5 * i;
        grass.moveTo(x - 2.5, 57);
        grass.quadTo(x - 1, 52, x + (i % 2 == 0 ? -1.5 : 1.5), 48 + (i % 3));
        grass.quadTo(x + 0.5, 52, x + 2.5, 57);
        grass.closeSubpath();
    }
    grass.setFillRule(Qt::WindingFill);
    Inked(painter, grass.simplified(), Vertical(QColor(130, 210, 90), QColor(50, 140, 60), 47, 57),
          0.8);
    QPainterPath stem;
    stem.moveTo(22, 30);
    stem.lineTo(38, 30);
    stem.cubicTo(37, 40, 40, 50, 41, 55);
    stem.quadTo(30, 58, 19, 55);
    stem.cubicTo(20, 50, 23, 40, 22, 30);
    Inked(painter, stem, Rounded(QColor(250, 240, 220), QRectF(19, 30, 22, 27)));
    QPainterPath cap;
    cap.moveTo(4, 32);
    cap.cubicTo(4, 14, 16, 5, 30, 5);
    cap.cubicTo(44, 5, 56, 14, 56, 32);
    cap.cubicTo(48, 35, 12, 35, 4, 32);
    Inked(painter, cap, Rounded(QColor(225, 40, 45), QRectF(4, 5, 52, 30)), 1.2);
    painter.save();
    painter.setClipPath(cap);
    const struct {
        qreal x, y, r;
    } dots[] = {{30, 13, 4.5}, {16, 20, 3.6}, {44, 20, 3.6}, {23, 28, 2.6},
                {38, 28, 2.6}, {8, 29, 2.2},  {52, 29, 2.2}};
    for (const auto& dot : dots) {
        painter.fillPath(EllipsePath(QPointF(dot.x, dot.y), dot.r, dot.r * 0.85),
                         QColor(255, 250, 240));
    }
    painter.restore();
}

DrawnArt DrawPicture(void (*draw)(QPainter&)) {
    return DrawSupersampled(kSide, kSide, kFactor, draw);
}

}  // namespace

std::vector<DecorationTheme> DrawPictureThemes() {
    std::vector<DecorationTheme> themes = {{"Party", {}}, {"Nature", {}}};
    for (auto draw : {Balloons, Cake, Gift, PartyHat, Champagne, Cupcake, Lollipop, GlossyHeart}) {
        themes[0].items.push_back(DrawPicture(draw));
    }
    for (auto draw : {Sun, FlowerPot, Butterfly, Rainbow, Ladybug, Mushroom}) {
        themes[1].items.push_back(DrawPicture(draw));
    }
    return themes;
}
