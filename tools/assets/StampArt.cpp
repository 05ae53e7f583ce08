// Pattern stamps: small single-colour shapes that the editor draws in the
// user's colour. Each shape is designed in a 24 x 24 box and drawn at 12 or
// 24 pixels; the 12-pixel versions are bolder and leave out details that
// would only blur at that size.
#include <QTransform>

#include <cmath>

#include "DecorationArt.h"

namespace {

constexpr int kFactor = 8;
constexpr qreal kBox = 24;

// A shape: what is filled, and what is then cut out of it again.
struct Stamp {
    QPainterPath fill;
    QPainterPath cut;
};

Stamp Heart(bool) {
    return {HeartPath(QRectF(1.5, 2.5, 21, 20)), {}};
}

Stamp Star(bool small) {
    return {StarPath(QPointF(12, 13), 12, small ? 5.6 : 5.0, 5), {}};
}

Stamp Flower(bool small) {
    Stamp flower;
    flower.fill = PetalsPath(QPointF(12, 12), 11.5, 5, small ? 10 : 9);
    if (small) {
        flower.cut = CirclePath(QPointF(12, 12), 2.6);
    } else {
        // A ring cut round a round heart.
        flower.cut = CirclePath(QPointF(12, 12), 4.4).subtracted(CirclePath(QPointF(12, 12), 3));
    }
    return flower;
}

// One eighth note when small; two notes joined by a beam otherwise.
Stamp Note(bool small) {
    QPainterPath note;
    note.setFillRule(Qt::WindingFill);
    if (small) {
        note.addPath(EllipsePath(QPointF(8.5, 18.5), 5.4, 4.2, -22));
        note.addPath(RectPath(11.6, 2, 3, 17));
        QPainterPath flag;
        flag.moveTo(11.6, 2);
        flag.cubicTo(15, 4.5, 21, 6, 19.5, 14.5);
        flag.cubicTo(18.5, 10, 16.5, 8.5, 14.6, 8.2);
        flag.closeSubpath();
        note.addPath(flag);
    } else {
        note.addPath(EllipsePath(QPointF(5.5, 18.5), 4.2, 3.2, -22));
        note.addPath(EllipsePath(QPointF(17.5, 16.5), 4.2, 3.2, -22));
        note.addPath(RectPath(8, 4.5, 2, 14));
        note.addPath(RectPath(20, 2.5, 2, 14));
        note.addPath(PolygonPath({{8, 4.5}, {22, 1.5}, {22, 5.5}, {8, 8.5}}));
    }
    return {note, {}};
}

Stamp Sun(bool small) {
    QPainterPath sun = CirclePath(QPointF(12, 12), small ? 6.4 : 6);
    sun.setFillRule(Qt::WindingFill);
    const int rays = small ? 8 : 12;
    for (int i = 0; i < rays; ++i) {
        QTransform turn;
        turn.translate(12, 12);
        turn.rotate(360.0 * i / rays);
        const qreal half = small ? 2.2 : 1.6;
        sun.addPath(turn.map(PolygonPath({{-half, -7.5}, {0, -12}, {half, -7.5}})));
    }
    return {sun, {}};
}

Stamp Moon(bool small) {
    Stamp moon{CrescentPath(QPointF(small ? 11.5 : 10.5, 12.5), small ? 11 : 10), {}};
    if (!small) {
        moon.fill.addPath(StarPath(QPointF(18.5, 7), 4.2, 1.7, 4));
    }
    return moon;
}

Stamp Paw(bool small) {
    QPainterPath paw;
    paw.setFillRule(Qt::WindingFill);
    // The main pad: a rounded triangle, wider at the bottom.
    QPainterPath pad;
    pad.moveTo(12, 11.5);
    pad.cubicTo(16, 11.5, 20.5, 17, 19.5, 20.5);
    pad.cubicTo(18.5, 23.5, 14.5, 21.5, 12, 21.5);
    pad.cubicTo(9.5, 21.5, 5.5, 23.5, 4.5, 20.5);
    pad.cubicTo(3.5, 17, 8, 11.5, 12, 11.5);
    paw.addPath(pad);
    const qreal toe = small ? 3.0 : 2.6;
    paw.addPath(EllipsePath(QPointF(3.6, 10.5), toe, toe * 1.3, -25));
    paw.addPath(EllipsePath(QPointF(8.8, 4.6), toe, toe * 1.35, -8));
    paw.addPath(EllipsePath(QPointF(15.2, 4.6), toe, toe * 1.35, 8));
    paw.addPath(EllipsePath(QPointF(20.4, 10.5), toe, toe * 1.3, 25));
    return {paw, {}};
}

Stamp Diamond(bool small) {
    Stamp gem;
    gem.fill = PolygonPath({{6, 3}, {18, 3}, {23, 9}, {12, 22.5}, {1, 9}});
    if (!small) {
        // Facets: the girdle and the lines down to the point.
        gem.cut = StrokePath(PolygonPath({{1.5, 9}, {22.5, 9}}), 1.0);
        gem.cut.addPath(StrokePath(PolygonPath({{8, 9}, {12, 21}}), 1.0));
        gem.cut.addPath(StrokePath(PolygonPath({{16, 9}, {12, 21}}), 1.0));
        gem.cut.addPath(StrokePath(PolygonPath({{9, 3.5}, {8, 9}}), 1.0));
        gem.cut.addPath(StrokePath(PolygonPath({{15, 3.5}, {16, 9}}), 1.0));
    }
    return gem;
}

// A four-leaf clover: four hearts meeting at their points, parted by narrow
// gaps, and a curved stem.
Stamp Clover(bool small) {
    Stamp clover;
    clover.fill.setFillRule(Qt::WindingFill);
    for (int i = 0; i < 4; ++i) {
        QTransform turn;
        turn.translate(12, 11);
        turn.rotate(45 + 90 * i);
        clover.fill.addPath(turn.map(HeartPath(QRectF(-6.2, -11, 12.4, 11.6))));
    }
    QPainterPath stem;
    stem.moveTo(12, 12);
    stem.cubicTo(13, 17, 15, 20, 19, 22.5);
    const QPainterPath stemArea = StrokePath(stem, small ? 2.8 : 2.2);
    clover.fill.addPath(stemArea);
    QPainterPath gaps;
    gaps.moveTo(12, 1);
    gaps.lineTo(12, 21);
    gaps.moveTo(2, 11);
    gaps.lineTo(22, 11);
    clover.cut = StrokePath(gaps, small ? 1.6 : 1.0).subtracted(stemArea);
    return clover;
}

Stamp Bolt(bool) {
    return {
        PolygonPath({{14.5, 1}, {4, 13.5}, {11, 13.5}, {8.5, 23}, {20, 9.5}, {13, 9.5}, {17, 1}}),
        {}};
}

Stamp Sparkle(bool small) {
    QPainterPath sparkle;
    sparkle.setFillRule(Qt::WindingFill);
    const qreal pinch = small ? 2.2 : 1.5;
    auto fourPoints = [&](QPointF c, qreal r) {
        QPainterPath star;
        star.moveTo(c.x(), c.y() - r);
        star.quadTo(c.x() + pinch, c.y() - pinch, c.x() + r, c.y());
        star.quadTo(c.x() + pinch, c.y() + pinch, c.x(), c.y() + r);
        star.quadTo(c.x() - pinch, c.y() + pinch, c.x() - r, c.y());
        star.quadTo(c.x() - pinch, c.y() - pinch, c.x(), c.y() - r);
        return star;
    };
    if (small) {
        sparkle.addPath(fourPoints(QPointF(12, 12), 11.5));
    } else {
        sparkle.addPath(fourPoints(QPointF(10, 13), 10));
        sparkle.addPath(fourPoints(QPointF(19.5, 5), 4.5));
    }
    return {sparkle, {}};
}

Stamp Drop(bool small) {
    QPainterPath drop;
    drop.moveTo(12, 1);
    drop.cubicTo(14, 6, 20, 11, 20, 15.5);
    drop.cubicTo(20, 20, 16.4, 23, 12, 23);
    drop.cubicTo(7.6, 23, 4, 20, 4, 15.5);
    drop.cubicTo(4, 11, 10, 6, 12, 1);
    Stamp stamp{drop, {}};
    if (!small) {
        QPainterPath shine;
        shine.moveTo(7.6, 15.5);
        shine.cubicTo(7.6, 18, 9, 19.5, 11, 20);
        stamp.cut = StrokePath(shine, 1.6);
    }
    return stamp;
}

Stamp Smiley(bool small) {
    Stamp face{CirclePath(QPointF(12, 12), 11.5), {}};
    face.cut.setFillRule(Qt::WindingFill);
    const qreal eye = small ? 2.4 : 1.9;
    face.cut.addPath(EllipsePath(QPointF(8, 8.8), eye, eye * 1.3));
    face.cut.addPath(EllipsePath(QPointF(16, 8.8), eye, eye * 1.3));
    QPainterPath smile;
    smile.moveTo(6.5, 14);
    smile.quadTo(12, 20.5, 17.5, 14);
    face.cut.addPath(StrokePath(smile, small ? 3.0 : 2.2));
    return face;
}

Stamp Leaf(bool small) {
    Stamp leaf;
    QPainterPath blade;
    blade.moveTo(3, 21);
    blade.cubicTo(2, 10, 9, 2.5, 22, 2);
    blade.cubicTo(21.5, 15, 14, 22, 3, 21);
    leaf.fill = blade;
    QPainterPath vein;
    vein.moveTo(4.5, 19.5);
    vein.cubicTo(9, 14, 13, 10, 18.5, 5.5);
    leaf.cut = StrokePath(vein, small ? 2.0 : 1.3);
    if (small) {
        leaf.fill.addPath(StrokePath(PolygonPath({{1.5, 22.5}, {4, 20}}), 2.6));
    } else {
        leaf.fill.addPath(StrokePath(PolygonPath({{1.5, 22.5}, {4.5, 19.5}}), 1.8));
    }
    leaf.fill.setFillRule(Qt::WindingFill);
    return leaf;
}

Stamp Snowflake(bool small) {
    QPainterPath lines;
    for (int i = 0; i < 6; ++i) {
        QTransform turn;
        turn.translate(12, 12);
        turn.rotate(60 * i);
        QPainterPath arm;
        arm.moveTo(0, 0);
        arm.lineTo(0, -10.5);
        if (small) {
            // One pair of short branches, well apart from the next arm's.
            arm.moveTo(-2.6, -9.4);
            arm.lineTo(0, -7);
            arm.lineTo(2.6, -9.4);
        } else {
            arm.moveTo(-3, -8.6);
            arm.lineTo(0, -6.2);
            arm.lineTo(3, -8.6);
            arm.moveTo(-2.4, -4.6);
            arm.lineTo(0, -2.8);
            arm.lineTo(2.4, -4.6);
        }
        lines.addPath(turn.map(arm));
    }
    return {StrokePath(lines, small ? 2.2 : 1.6), {}};
}

Stamp Butterfly(bool small) {
    // The right pair of wings, mirrored for the left: a broad upper wing
    // sweeping up and out, a smaller rounded one below.
    QPainterPath right;
    right.setFillRule(Qt::WindingFill);
    right.moveTo(12.6, 10.5);
    right.cubicTo(14, 5, 18, 1, 21.5, 2);
    right.cubicTo(24, 3, 23.5, 8, 21.5, 10.5);
    right.cubicTo(20, 12.3, 16, 12.6, 12.6, 12.2);
    right.closeSubpath();
    right.moveTo(12.6, 12.8);
    right.cubicTo(16, 12.6, 20.5, 13.5, 20.5, 17.5);
    right.cubicTo(20.5, 21, 17, 22.5, 15, 21);
    right.cubicTo(13.5, 20, 12.8, 17, 12.6, 12.8);
    right.closeSubpath();
    Stamp butterfly;
    butterfly.fill = right;
    butterfly.fill.addPath(QTransform(-1, 0, 0, 1, 24, 0).map(right));
    butterfly.fill.setFillRule(Qt::WindingFill);
    if (small) {
        butterfly.fill.addPath(RectPath(11, 6.5, 2, 14, 1));
        return butterfly;
    }
    QPainterPath body = RectPath(11, 6, 2, 15.5, 1);
    QPainterPath feelers;
    feelers.moveTo(11.6, 7);
    feelers.quadTo(10.5, 3, 8, 1.5);
    feelers.moveTo(12.4, 7);
    feelers.quadTo(13.5, 3, 16, 1.5);
    body.addPath(StrokePath(feelers, 1.0));
    body.setFillRule(Qt::WindingFill);
    butterfly.fill.addPath(body);
    // Spots on the wings.
    for (qreal x : {18.6, 5.4}) {
        butterfly.cut.addPath(CirclePath(QPointF(x, 6.3), 1.7));
        butterfly.cut.addPath(CirclePath(QPointF(x + (x > 12 ? -1.6 : 1.6), 17.2), 1.3));
    }
    return butterfly;
}

Stamp Cloud(bool) {
    QPainterPath cloud;
    cloud.setFillRule(Qt::WindingFill);
    cloud.addPath(CirclePath(QPointF(8, 13), 5.5));
    cloud.addPath(CirclePath(QPointF(14.5, 10), 7));
    cloud.addPath(CirclePath(QPointF(19.5, 14.5), 4.5));
    cloud.addPath(RectPath(4, 13, 17, 6, 3));
    cloud.addPath(CirclePath(QPointF(4.5, 16), 3));
    return {cloud, {}};
}

Stamp Tree(bool small) {
    QPainterPath tree;
    tree.setFillRule(Qt::WindingFill);
    tree.addPath(PolygonPath({{12, 1}, {18, 8.5}, {6, 8.5}}));
    tree.addPath(PolygonPath({{12, 4.5}, {20, 14}, {4, 14}}));
    tree.addPath(PolygonPath({{12, 9}, {22, 19}, {2, 19}}));
    tree.addPath(RectPath(small ? 9.8 : 10.3, 18, small ? 4.4 : 3.4, 5.5));
    return {tree, {}};
}

Stamp Tulip(bool small) {
    QPainterPath tulip;
    tulip.setFillRule(Qt::WindingFill);
    QPainterPath cup;
    cup.moveTo(5.5, 3);
    cup.lineTo(9, 6.5);
    cup.lineTo(12, 2);
    cup.lineTo(15, 6.5);
    cup.lineTo(18.5, 3);
    cup.cubicTo(19.5, 9, 18, 14, 12, 14);
    cup.cubicTo(6, 14, 4.5, 9, 5.5, 3);
    tulip.addPath(cup);
    QPainterPath stem;
    stem.moveTo(12, 13);
    stem.lineTo(12, 23);
    tulip.addPath(StrokePath(stem, small ? 2.6 : 1.8));
    QPainterPath leaf;
    leaf.moveTo(12, 22.5);
    leaf.cubicTo(9, 22, 5.5, 19.5, 5, 15);
    leaf.cubicTo(8.5, 16, 11, 18.5, 12, 22.5);
    tulip.addPath(leaf);
    return {tulip, {}};
}

Stamp Fish(bool small) {
    Stamp fish;
    QPainterPath body;
    body.moveTo(1.5, 12);
    body.cubicTo(5, 5, 13, 4, 17.5, 12);
    body.cubicTo(13, 20, 5, 19, 1.5, 12);
    fish.fill = body;
    fish.fill.addPath(PolygonPath({{16, 12}, {23, 6}, {21.5, 12}, {23, 18}}));
    fish.fill.setFillRule(Qt::WindingFill);
    fish.cut = CirclePath(QPointF(6.5, 10.5), small ? 1.8 : 1.4);
    return fish;
}

Stamp Balloon(bool) {
    QPainterPath balloon;
    balloon.setFillRule(Qt::WindingFill);
    balloon.moveTo(12, 1);
    balloon.cubicTo(18.5, 1, 20.5, 6.5, 19, 11);
    balloon.cubicTo(17.5, 15, 14, 17.5, 12, 17.5);
    balloon.cubicTo(10, 17.5, 6.5, 15, 5, 11);
    balloon.cubicTo(3.5, 6.5, 5.5, 1, 12, 1);
    balloon.addPath(PolygonPath({{12, 16.5}, {14, 19.5}, {10, 19.5}}));
    QPainterPath string;
    string.moveTo(12, 19.5);
    string.cubicTo(10, 21, 14, 21.5, 12, 23.5);
    balloon.addPath(StrokePath(string, 1.2));
    QPainterPath shine;
    shine.moveTo(8, 6.5);
    shine.quadTo(8.8, 4.2, 11, 3.6);
    return {balloon, StrokePath(shine, 1.6)};
}

Stamp Gift(bool) {
    Stamp gift;
    gift.fill = RectPath(2.5, 10, 19, 13, 1);
    gift.fill.addPath(RectPath(1.5, 6.5, 21, 4.5, 1));
    // The bow: two loops over the lid.
    QPainterPath bow;
    bow.moveTo(12, 6.5);
    bow.cubicTo(8, 0, 3, 2, 6, 6.5);
    bow.moveTo(12, 6.5);
    bow.cubicTo(16, 0, 21, 2, 18, 6.5);
    gift.fill.addPath(StrokePath(bow, 2.0));
    gift.fill.setFillRule(Qt::WindingFill);
    // Gaps either side of the ribbon and under the lid.
    gift.cut = RectPath(9.3, 10, 1.1, 13);
    gift.cut.addPath(RectPath(13.6, 10, 1.1, 13));
    gift.cut.addPath(RectPath(2.5, 11, 19, 1));
    return gift;
}

Stamp Crown(bool) {
    Stamp crown;
    crown.fill =
        PolygonPath({{2, 7.5}, {7.5, 12}, {12, 4}, {16.5, 12}, {22, 7.5}, {20, 19}, {4, 19}});
    crown.fill.addPath(RectPath(4, 19.8, 16, 3, 1));
    crown.fill.addPath(CirclePath(QPointF(2, 6.5), 1.8));
    crown.fill.addPath(CirclePath(QPointF(12, 3), 1.8));
    crown.fill.addPath(CirclePath(QPointF(22, 6.5), 1.8));
    crown.fill.setFillRule(Qt::WindingFill);
    crown.cut = CirclePath(QPointF(12, 14.5), 1.8);
    crown.cut.addPath(CirclePath(QPointF(7, 15.5), 1.3));
    crown.cut.addPath(CirclePath(QPointF(17, 15.5), 1.3));
    return crown;
}

Stamp Bell(bool) {
    QPainterPath bell;
    bell.setFillRule(Qt::WindingFill);
    bell.moveTo(12, 2.5);
    bell.cubicTo(17.5, 2.5, 18, 8, 18.5, 13);
    bell.cubicTo(19, 16.5, 21.5, 17.5, 22, 19);
    bell.lineTo(2, 19);
    bell.cubicTo(2.5, 17.5, 5, 16.5, 5.5, 13);
    bell.cubicTo(6, 8, 6.5, 2.5, 12, 2.5);
    bell.addPath(CirclePath(QPointF(12, 21), 2.6));
    bell.addPath(CirclePath(QPointF(12, 2.2), 1.8));
    QPainterPath shine;
    shine.moveTo(8.5, 14.5);
    shine.cubicTo(8.5, 10, 9, 7, 10.5, 5.5);
    return {bell, StrokePath(shine, 1.4)};
}

// The themes: which shapes, in which order.
struct StampTheme {
    const char* name;
    std::vector<Stamp (*)(bool)> shapes;
};

DrawnArt DrawStamp(const Stamp& stamp, int side) {
    return DrawSupersampled(side, side, kFactor * 24 / side, [&](QPainter& painter) {
        painter.scale(side / kBox, side / kBox);
        painter.fillPath(stamp.fill, Qt::white);
        if (!stamp.cut.isEmpty()) {
            painter.setCompositionMode(QPainter::CompositionMode_Clear);
            painter.fillPath(stamp.cut, Qt::transparent);
        }
    });
}

}  // namespace

std::vector<DecorationTheme> DrawPatternThemes(int side) {
    const bool small = side < 24;
    std::vector<StampTheme> themes;
    if (small) {
        themes = {
            {"Shapes",
             {Heart, Star, Flower, Note, Sun, Moon, Paw, Diamond, Bolt, Sparkle, Drop, Smiley}},
            {"Nature", {Leaf, Snowflake, Butterfly, Cloud, Tree, Tulip, Fish}},
        };
    } else {
        themes = {
            {"Stamps", {Heart, Star, Flower, Note, Sun, Moon, Paw, Butterfly}},
            {"Festive", {Balloon, Gift, Crown, Bell, Snowflake, Clover}},
        };
    }
    std::vector<DecorationTheme> drawn;
    for (const StampTheme& theme : themes) {
        DecorationTheme out{theme.name, {}};
        for (auto shape : theme.shapes) {
            out.items.push_back(DrawStamp(shape(small), side));
        }
        drawn.push_back(std::move(out));
    }
    return drawn;
}
