// Frames: 176 x 180 overlays that lie over the whole picture and leave the
// photo visible through an opening in the middle. Every frame closes the
// picture's outer edge with an opaque border at least a few pixels wide;
// inside, frames cast soft shadows onto the photo, fade into it or lay
// ornaments across it.
#include <QLinearGradient>
#include <QRadialGradient>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <utility>

#include "DecorationArt.h"

namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 180;
constexpr int kFactor = 3;
constexpr qreal kPi = 3.14159265358979323846;
const QRectF kWhole(0, 0, kWidth, kHeight);

using Profile = std::vector<std::pair<qreal, QColor>>;

QColor Shade(const QColor& colour, qreal factor) {
    auto scale = [&](int channel) {
        return std::clamp(static_cast<int>(std::lround(channel * factor)), 0, 255);
    };
    return QColor(scale(colour.red()), scale(colour.green()), scale(colour.blue()), colour.alpha());
}

QPainterPath RoundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

// Lets the photo through: everything inside the path becomes transparent.
void ClearOpening(QPainter& painter, const QPainterPath& opening) {
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Clear);
    painter.fillPath(opening, Qt::transparent);
    painter.restore();
}

// A soft shadow that the frame casts onto the photo: darkest at the edge of
// the opening, fading out over depth pixels, deeper along the top and left
// as if lit from the upper left.
void InnerShadow(QPainter& painter, const QRectF& opening, qreal radius, qreal depth,
                 int strength) {
    painter.save();
    painter.setClipPath(RoundedRect(opening, radius));
    const int steps = static_cast<int>(depth * kFactor);
    for (int i = 0; i < steps; ++i) {
        const qreal t = (i + 0.5) / steps;
        const qreal inset = depth * t;
        const qreal fade = (1 - t) * (1 - t);
        const QRectF ring =
            opening.adjusted(inset * 0.45 - 1, inset * 0.6 - 1, -inset * 0.3 + 1, -inset * 0.2 + 1);
        painter.setPen(
            QPen(QColor(0, 0, 0, static_cast<int>(strength * fade)), depth / steps + 0.02));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(ring, radius, radius);
    }
    painter.restore();
}

// A band of moulding between outer and the rect width pixels inside it,
// coloured across its width by the profile (0 at the outer edge, 1 at the
// inner), lit from the upper left. The band is first filled plainly so that
// the mitred corners leave no seam the photo could show through.
void Moulding(QPainter& painter, const QRectF& outer, qreal width, const Profile& profile) {
    const QRectF inner = outer.adjusted(width, width, -width, -width);
    QPainterPath band;
    band.addRect(outer);
    band.addRect(inner);
    band.setFillRule(Qt::OddEvenFill);
    painter.fillPath(band, profile[profile.size() / 2].second);
    struct Side {
        QVector<QPointF> corners;
        QPointF from, to;
        qreal light;
    };
    const Side sides[] = {
        {{outer.topLeft(), outer.topRight(), inner.topRight(), inner.topLeft()},
         {0, outer.top()},
         {0, inner.top()},
         1.12},
        {{outer.topRight(), outer.bottomRight(), inner.bottomRight(), inner.topRight()},
         {outer.right(), 0},
         {inner.right(), 0},
         0.9},
        {{outer.bottomRight(), outer.bottomLeft(), inner.bottomLeft(), inner.bottomRight()},
         {0, outer.bottom()},
         {0, inner.bottom()},
         0.8},
        {{outer.bottomLeft(), outer.topLeft(), inner.topLeft(), inner.bottomLeft()},
         {outer.left(), 0},
         {inner.left(), 0},
         1.04},
    };
    for (const Side& side : sides) {
        QLinearGradient across(side.from, side.to);
        for (const auto& stop : profile) {
            across.setColorAt(stop.first, Shade(stop.second, side.light));
        }
        painter.fillPath(PolygonPath(side.corners), across);
    }
    // The mitre joints.
    painter.setPen(QPen(QColor(0, 0, 0, 70), 0.5));
    painter.drawLine(outer.topLeft(), inner.topLeft());
    painter.drawLine(outer.topRight(), inner.topRight());
    painter.drawLine(outer.bottomLeft(), inner.bottomLeft());
    painter.drawLine(outer.bottomRight(), inner.bottomRight());
}

// Fine grain along each side of a moulding band.
void WoodGrain(QPainter& painter, const QRectF& outer, qreal width) {
    Scatter scatter(21);
    const QRectF inner = outer.adjusted(width, width, -width, -width);
    QPainterPath band;
    band.addRect(outer);
    band.addRect(inner);
    band.setFillRule(Qt::OddEvenFill);
    painter.save();
    painter.setClipPath(band);
    for (int i = 0; i < 90; ++i) {
        const qreal depth = scatter.Between(0.5, width - 0.5);
        const bool dark = scatter.Next() < 0.6;
        painter.setPen(QPen(dark ? QColor(50, 25, 8, 70) : QColor(255, 220, 170, 45),
                            scatter.Between(0.3, 0.7)));
        const qreal wave = scatter.Between(0.3, 1.2);
        const qreal phase = scatter.Between(0, 6);
        QPainterPath grain;
        const bool horizontal = i % 2 == 0;
        const qreal length = horizontal ? kWidth : kHeight;
        const qreal start = scatter.Between(-40, length * 0.6);
        const qreal run = scatter.Between(30, 110);
        for (qreal s = start; s <= start + run; s += 2) {
            const qreal offset = depth + wave * std::sin(s * 0.08 + phase);
            const QPointF at = horizontal ? QPointF(s, (i % 4 == 0) ? offset : kHeight - offset)
                                          : QPointF((i % 4 == 1) ? offset : kWidth - offset, s);
            if (s == start) {
                grain.moveTo(at);
            } else {
                grain.lineTo(at);
            }
        }
        painter.drawPath(grain);
    }
    painter.restore();
}

// Light paper texture: a scatter of faint specks.
void PaperSpecks(QPainter& painter, uint32_t seed, int count) {
    Scatter scatter(seed);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF at(scatter.Between(0, kWidth), scatter.Between(0, kHeight));
        const bool dark = scatter.Next() < 0.5;
        painter.setBrush(dark ? QColor(120, 100, 70, 22) : QColor(255, 255, 255, 40));
        painter.drawEllipse(at, 0.5, 0.5);
    }
}

// --- Classic ---------------------------------------------------------------

void Mat(QPainter& painter) {
    QLinearGradient paper(0, 0, kWidth, kHeight);
    paper.setColorAt(0, QColor(248, 243, 230));
    paper.setColorAt(1, QColor(232, 224, 206));
    painter.fillRect(kWhole, paper);
    PaperSpecks(painter, 5, 900);
    const QRectF opening(17, 17, 142, 146);
    // A gold line around the opening and the mat's white bevelled cut.
    painter.setPen(QPen(QColor(184, 145, 58), 1.1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(opening.adjusted(-5, -5, 5, 5), 15, 15);
    painter.setPen(QPen(QColor(255, 255, 252), 3));
    painter.drawRoundedRect(opening.adjusted(-1, -1, 1, 1), 11, 11);
    painter.setPen(QPen(QColor(150, 135, 110, 120), 0.6));
    painter.drawRoundedRect(opening.adjusted(-2.6, -2.6, 2.6, 2.6), 12.5, 12.5);
    ClearOpening(painter, RoundedRect(opening, 10));
    InnerShadow(painter, opening, 10, 5, 120);
}

void Wood(QPainter& painter) {
    const Profile profile = {{0.0, QColor(70, 38, 16)},    {0.12, QColor(128, 78, 38)},
                             {0.35, QColor(170, 112, 60)}, {0.62, QColor(122, 74, 34)},
                             {0.8, QColor(84, 48, 20)},    {0.86, QColor(226, 186, 110)},
                             {0.95, QColor(168, 122, 54)}, {1.0, QColor(60, 36, 14)}};
    Moulding(painter, kWhole, 16, profile);
    WoodGrain(painter, kWhole, 13.5);
    const QRectF opening = kWhole.adjusted(16, 16, -16, -16);
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 6, 140);
}

// A rosette for the corners of the gold frame: petals around a boss.
void Rosette(QPainter& painter, QPointF centre, qreal radius) {
    const QColor dark(90, 60, 10);
    const QPainterPath petals = PetalsPath(centre, radius, 8, radius * 0.62).simplified();
    QRadialGradient gold(centre - QPointF(radius * 0.3, radius * 0.3), radius * 1.3);
    gold.setColorAt(0, QColor(255, 244, 190));
    gold.setColorAt(0.5, QColor(228, 180, 70));
    gold.setColorAt(1, QColor(140, 96, 20));
    painter.strokePath(petals, QPen(dark, 0.9));
    painter.fillPath(petals, gold);
    const QPainterPath boss = CirclePath(centre, radius * 0.36);
    QRadialGradient shine(centre - QPointF(radius * 0.12, radius * 0.12), radius * 0.4);
    shine.setColorAt(0, QColor(255, 255, 230));
    shine.setColorAt(1, QColor(200, 140, 40));
    painter.strokePath(boss, QPen(dark, 0.8));
    painter.fillPath(boss, shine);
}

void Gold(QPainter& painter) {
    const qreal band = 18;
    const Profile profile = {{0.0, QColor(96, 64, 12)},    {0.07, QColor(246, 222, 140)},
                             {0.22, QColor(200, 150, 46)}, {0.42, QColor(255, 238, 170)},
                             {0.58, QColor(176, 122, 30)}, {0.78, QColor(236, 198, 92)},
                             {0.9, QColor(120, 80, 16)},   {1.0, QColor(58, 38, 6)}};
    Moulding(painter, kWhole, band, profile);
    // A row of beads along the middle of the band.
    const qreal middle = band * 0.47;
    auto bead = [&](QPointF at) {
        QRadialGradient shine(at - QPointF(0.5, 0.5), 1.8);
        shine.setColorAt(0, QColor(255, 250, 210));
        shine.setColorAt(0.6, QColor(220, 168, 60));
        shine.setColorAt(1, QColor(120, 80, 16));
        painter.setPen(Qt::NoPen);
        painter.setBrush(shine);
        painter.drawEllipse(at, 1.6, 1.6);
    };
    for (qreal x = 20; x <= kWidth - 20; x += 4.4) {
        bead(QPointF(x, middle));
        bead(QPointF(x, kHeight - middle));
    }
    for (qreal y = 20; y <= kHeight - 20; y += 4.4) {
        bead(QPointF(middle, y));
        bead(QPointF(kWidth - middle, y));
    }
    // Rosettes over the corners and a small shell in the middle of each side.
    for (const QPointF corner :
         {QPointF(middle + 1, middle + 1), QPointF(kWidth - middle - 1, middle + 1),
          QPointF(middle + 1, kHeight - middle - 1),
          QPointF(kWidth - middle - 1, kHeight - middle - 1)}) {
        Rosette(painter, corner, 9.5);
    }
    for (const QPointF side :
         {QPointF(kWidth / 2.0, middle), QPointF(kWidth / 2.0, kHeight - middle),
          QPointF(middle, kHeight / 2.0), QPointF(kWidth - middle, kHeight / 2.0)}) {
        Rosette(painter, side, 6);
    }
    const QRectF opening = kWhole.adjusted(band, band, -band, -band);
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 6, 150);
}

void Gallery(QPainter& painter) {
    const Profile black = {{0.0, QColor(20, 20, 22)},
                           {0.3, QColor(70, 70, 76)},
                           {0.6, QColor(34, 34, 38)},
                           {1.0, QColor(10, 10, 12)}};
    Moulding(painter, kWhole, 7, black);
    const QRectF matArea = kWhole.adjusted(7, 7, -7, -7);
    QLinearGradient mat(0, matArea.top(), 0, matArea.bottom());
    mat.setColorAt(0, QColor(252, 252, 250));
    mat.setColorAt(1, QColor(236, 236, 232));
    painter.fillRect(matArea, mat);
    InnerShadow(painter, matArea, 0, 3, 90);
    const QRectF opening = matArea.adjusted(15, 15, -15, -15);
    // The bevelled cut of the mat: light on the lower and right sides,
    // in shade on the upper and left.
    const QRectF cut = opening.adjusted(-2, -2, 2, 2);
    painter.fillPath(
        PolygonPath({cut.topLeft(), cut.topRight(), opening.topRight(), opening.topLeft()}),
        QColor(214, 212, 206));
    painter.fillPath(
        PolygonPath({cut.topLeft(), opening.topLeft(), opening.bottomLeft(), cut.bottomLeft()}),
        QColor(226, 224, 218));
    painter.fillPath(PolygonPath({cut.bottomLeft(), opening.bottomLeft(), opening.bottomRight(),
                                  cut.bottomRight()}),
                     QColor(255, 255, 255));
    painter.fillPath(
        PolygonPath({cut.topRight(), cut.bottomRight(), opening.bottomRight(), opening.topRight()}),
        QColor(250, 250, 248));
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 3, 80);
}

void Instant(QPainter& painter) {
    QLinearGradient card(0, 0, 0, kHeight);
    card.setColorAt(0, QColor(253, 253, 250));
    card.setColorAt(1, QColor(240, 239, 232));
    painter.fillRect(kWhole, card);
    PaperSpecks(painter, 8, 500);
    const QRectF opening(10, 10, 156, 126);
    painter.setPen(QPen(QColor(200, 198, 190), 0.8));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(opening.adjusted(-0.5, -0.5, 0.5, 0.5));
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 2.5, 70);
    // A strip of tape holding the print, lying over the photo's top edge.
    QTransform tilt;
    tilt.translate(88, 9);
    tilt.rotate(-5);
    const QPainterPath tape = tilt.map(RoundedRect(QRectF(-22, -6, 44, 13), 0.5));
    painter.fillPath(tape, QColor(244, 234, 200, 200));
    painter.setPen(QPen(QColor(210, 196, 150, 160), 0.5));
    painter.drawPath(tape);
}

void Film(QPainter& painter) {
    const QColor film(22, 19, 17);
    painter.fillRect(kWhole, film);
    const qreal side = 22;
    const QRectF opening(side, 11, kWidth - 2 * side, kHeight - 22);
    // Sprocket holes down both sides; the photo shows through them.
    QPainterPath holes;
    for (qreal y = 4; y + 7 < kHeight; y += 12.5) {
        holes.addRoundedRect(QRectF(6, y, 10, 7), 1.6, 1.6);
        holes.addRoundedRect(QRectF(kWidth - 16, y, 10, 7), 1.6, 1.6);
    }
    // Edge printing in the film's orange, turned along the strip.
    QFont font = LetteringFont(false);
    font.setPixelSize(6);
    painter.setFont(font);
    painter.setPen(QColor(236, 150, 40));
    for (int i = 0; i < 2; ++i) {
        painter.save();
        painter.translate(kWidth - 3.5, 30.0 + 100 * i);
        painter.rotate(90);
        painter.drawText(QPointF(0, 0),
                         i == 0 ? QStringLiteral("\u25B6 12") : QStringLiteral("\u25B6 12A"));
        painter.restore();
    }
    painter.save();
    painter.translate(3.5, 150);
    painter.rotate(-90);
    painter.drawText(QPointF(0, 0), QStringLiteral("400 \u25C0"));
    painter.restore();
    ClearOpening(painter, holes);
    ClearOpening(painter, RoundedRect(opening, 3));
}

void Dream(QPainter& painter) {
    // An oval that lets the photo through in the middle and turns into soft
    // white towards every edge; fully white well before the border.
    QRadialGradient haze(QPointF(0, 0), 1);
    const QColor white(255, 252, 246);
    const struct {
        qreal at;
        int alpha;
    } ramp[] = {{0.0, 0}, {0.62, 0}, {0.7, 50}, {0.78, 140}, {0.86, 228}, {0.91, 255}, {1.0, 255}};
    for (const auto& stop : ramp) {
        haze.setColorAt(stop.at, QColor(white.red(), white.green(), white.blue(), stop.alpha));
    }
    painter.save();
    // Scaled so that the ramp is complete at the middle of every edge.
    painter.translate(kWidth / 2.0, kHeight / 2.0);
    painter.scale(kWidth * 0.54, kHeight * 0.54);
    painter.fillRect(QRectF(-2, -2, 4, 4), haze);
    painter.restore();
    // A few faint sparkles in the white.
    Scatter scatter(31);
    for (int i = 0; i < 16; ++i) {
        const qreal angle = scatter.Between(0, 2 * kPi);
        const QPointF at(kWidth / 2.0 + std::cos(angle) * kWidth * 0.5,
                         kHeight / 2.0 + std::sin(angle) * kHeight * 0.5);
        painter.fillPath(StarPath(at, scatter.Between(1.8, 3.2), 0.6, 4),
                         QColor(230, 200, 150, 160));
    }
}

void Postage(QPainter& painter) {
    // A dark ground, the stamp's paper with perforated edges, a coloured
    // line round the picture and a postmark across its corner.
    painter.fillRect(kWhole, QColor(46, 58, 80));
    const QRectF paper = kWhole.adjusted(5, 5, -5, -5);
    QPainterPath stamp;
    stamp.addRect(paper);
    QPainterPath bites;
    const qreal step = 6;
    for (qreal x = paper.left() + 3; x < paper.right(); x += step) {
        bites.addPath(CirclePath(QPointF(x, paper.top()), 2));
        bites.addPath(CirclePath(QPointF(x, paper.bottom()), 2));
    }
    for (qreal y = paper.top() + 3; y < paper.bottom(); y += step) {
        bites.addPath(CirclePath(QPointF(paper.left(), y), 2));
        bites.addPath(CirclePath(QPointF(paper.right(), y), 2));
    }
    painter.fillPath(stamp, QColor(250, 247, 238));
    painter.fillPath(bites, QColor(46, 58, 80));
    const QRectF opening = paper.adjusted(11, 11, -11, -11);
    painter.setPen(QPen(QColor(190, 50, 60), 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(opening.adjusted(-4, -4, 4, 4));
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 2, 60);
    // The postmark: a double ring with wavy lines running off to the left,
    // in worn ink, over the top right corner.
    const QColor ink(40, 40, 60, 170);
    const QPointF centre(136, 34);
    painter.setPen(QPen(ink, 1.2));
    painter.drawEllipse(centre, 17, 17);
    painter.setPen(QPen(ink, 0.7));
    painter.drawEllipse(centre, 13, 13);
    QFont font = LetteringFont(false);
    font.setPixelSize(7);
    painter.setFont(font);
    painter.setPen(ink);
    painter.drawText(QRectF(centre.x() - 12, centre.y() - 5, 24, 10), Qt::AlignCenter,
                     QStringLiteral("2024"));
    painter.setPen(QPen(ink, 1.0));
    for (int i = 0; i < 4; ++i) {
        QPainterPath wave;
        const qreal y = centre.y() - 9 + 6 * i;
        wave.moveTo(centre.x() - 19, y);
        for (qreal x = centre.x() - 19; x > centre.x() - 70; x -= 2) {
            wave.lineTo(x, y + 2 * std::sin(x * 0.35));
        }
        painter.drawPath(wave);
    }
}

void Silver(QPainter& painter) {
    const Profile profile = {{0.0, QColor(80, 84, 92)},     {0.1, QColor(232, 236, 242)},
                             {0.3, QColor(160, 166, 176)},  {0.5, QColor(250, 252, 255)},
                             {0.68, QColor(128, 134, 146)}, {0.85, QColor(210, 214, 222)},
                             {1.0, QColor(40, 42, 48)}};
    Moulding(painter, kWhole, 13, profile);
    // Engraved lines parallel to the edges.
    painter.setPen(QPen(QColor(90, 94, 104, 140), 0.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kWhole.adjusted(4, 4, -4, -4));
    painter.setPen(QPen(QColor(255, 255, 255, 160), 0.5));
    painter.drawRect(kWhole.adjusted(4.6, 4.6, -4.6, -4.6));
    // A small diamond over each corner.
    for (const QPointF at : {QPointF(6.5, 6.5), QPointF(kWidth - 6.5, 6.5),
                             QPointF(6.5, kHeight - 6.5), QPointF(kWidth - 6.5, kHeight - 6.5)}) {
        const QPainterPath gem = PolygonPath({at + QPointF(0, -4.5), at + QPointF(4.5, 0),
                                              at + QPointF(0, 4.5), at + QPointF(-4.5, 0)});
        QLinearGradient shine(at - QPointF(3, 3), at + QPointF(3, 3));
        shine.setColorAt(0, QColor(255, 255, 255));
        shine.setColorAt(1, QColor(120, 150, 200));
        painter.strokePath(gem, QPen(QColor(60, 64, 72), 0.8));
        painter.fillPath(gem, shine);
    }
    const QRectF opening = kWhole.adjusted(13, 13, -13, -13);
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 5, 130);
}

// The edge of the opening torn by hand: a ragged line with fibres.
void Torn(QPainter& painter) {
    painter.fillRect(kWhole, QColor(252, 250, 244));
    PaperSpecks(painter, 13, 700);
    Scatter scatter(17);
    const QRectF base(15, 15, kWidth - 30, kHeight - 30);
    QPolygonF edge;
    // Walk round the rectangle, wandering in and out a little.
    const qreal perimeter = 2 * (base.width() + base.height());
    qreal wander = 0;
    for (qreal s = 0; s < perimeter; s += 1.5) {
        wander = std::clamp<qreal>(wander + scatter.Between(-1.1, 1.1), -3.5, 3.5);
        QPointF at;
        QPointF inward;
        if (s < base.width()) {
            at = QPointF(base.left() + s, base.top());
            inward = QPointF(0, 1);
        } else if (s < base.width() + base.height()) {
            at = QPointF(base.right(), base.top() + s - base.width());
            inward = QPointF(-1, 0);
        } else if (s < 2 * base.width() + base.height()) {
            at = QPointF(base.right() - (s - base.width() - base.height()), base.bottom());
            inward = QPointF(0, -1);
        } else {
            at = QPointF(base.left(), base.bottom() - (s - 2 * base.width() - base.height()));
            inward = QPointF(1, 0);
        }
        edge << at + inward * wander;
    }
    QPainterPath opening;
    opening.addPolygon(edge);
    opening.closeSubpath();
    // The torn paper's soft, lighter fibres lie just outside the cut.
    painter.strokePath(
        opening, QPen(QColor(255, 255, 255), 3.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    ClearOpening(painter, opening);
    painter.save();
    painter.setClipPath(opening);
    for (int i = 0; i < edge.size(); i += 2) {
        const QPointF& at = edge[i];
        const qreal length = scatter.Between(0.5, 2.2);
        const qreal angle = scatter.Between(0, 2 * kPi);
        painter.setPen(QPen(QColor(255, 255, 255, 150), 0.4));
        painter.drawLine(at, at + QPointF(std::cos(angle), std::sin(angle)) * length);
    }
    painter.restore();
    InnerShadow(painter, base.adjusted(-4, -4, 4, 4), 0, 3, 60);
}

// --- Romance ---------------------------------------------------------------

void GlossyHeart(QPainter& painter, const QRectF& box, const QColor& colour, qreal turn) {
    QTransform place;
    place.translate(box.center().x(), box.center().y());
    place.rotate(turn);
    place.translate(-box.center().x(), -box.center().y());
    const QPainterPath heart = place.map(HeartPath(box));
    QRadialGradient fill(box.left() + box.width() * 0.35, box.top() + box.height() * 0.3,
                         box.width() * 0.8);
    fill.setColorAt(0, colour.lighter(140));
    fill.setColorAt(0.5, colour);
    fill.setColorAt(1, colour.darker(140));
    painter.strokePath(heart, QPen(colour.darker(200), 0.8));
    painter.fillPath(heart, fill);
    painter.save();
    painter.setClipPath(heart);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawEllipse(QRectF(box.left() + box.width() * 0.18, box.top() + box.height() * 0.14,
                               box.width() * 0.26, box.height() * 0.2));
    painter.restore();
}

void Hearts(QPainter& painter) {
    const QRectF opening(11, 11, kWidth - 22, kHeight - 22);
    QLinearGradient band(0, 0, kWidth, kHeight);
    band.setColorAt(0, QColor(255, 196, 214));
    band.setColorAt(1, QColor(246, 150, 182));
    painter.fillRect(kWhole, band);
    painter.setPen(QPen(QColor(255, 255, 255, 200), 0.8, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(kWhole.adjusted(3, 3, -3, -3), 4, 4);
    ClearOpening(painter, RoundedRect(opening, 14));
    InnerShadow(painter, opening, 14, 3, 60);
    // A chain of hearts along the edge of the opening.
    const QColor colours[] = {QColor(230, 30, 70), QColor(255, 110, 160), QColor(250, 250, 250)};
    const qreal size = 11;
    int n = 0;
    auto place = [&](QPointF centre, qreal turn) {
        GlossyHeart(painter,
                    QRectF(centre.x() - size / 2, centre.y() - size / 2, size, size * 0.95),
                    colours[n % 3], turn);
        ++n;
    };
    for (qreal x = 18; x <= kWidth - 18; x += 14) {
        place(QPointF(x, 10), -8);
    }
    for (qreal y = 24; y <= kHeight - 24; y += 14.4) {
        place(QPointF(kWidth - 10, y), 8);
    }
    for (qreal x = kWidth - 18; x >= 18; x -= 14) {
        place(QPointF(x, kHeight - 10), 8);
    }
    for (qreal y = kHeight - 24; y >= 24; y -= 14.4) {
        place(QPointF(10, y), -8);
    }
    // Larger hearts over the corners.
    GlossyHeart(painter, QRectF(1, 1, 20, 19), QColor(220, 20, 60), -14);
    GlossyHeart(painter, QRectF(kWidth - 21, 1, 20, 19), QColor(220, 20, 60), 14);
    GlossyHeart(painter, QRectF(1, kHeight - 21, 20, 19), QColor(220, 20, 60), -14);
    GlossyHeart(painter, QRectF(kWidth - 21, kHeight - 21, 20, 19), QColor(220, 20, 60), 14);
}

// A five-petalled blossom with a golden heart.
void Blossom(QPainter& painter, QPointF centre, qreal radius, const QColor& colour, qreal turn) {
    const QPainterPath petals = PetalsPath(centre, radius, 5, radius * 0.95, turn).simplified();
    QRadialGradient fill(centre, radius);
    fill.setColorAt(0, colour.darker(125));
    fill.setColorAt(0.45, colour);
    fill.setColorAt(1, colour.lighter(112));
    painter.strokePath(petals, QPen(colour.darker(170), 0.6));
    painter.fillPath(petals, fill);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 210, 80));
    painter.drawEllipse(centre, radius * 0.24, radius * 0.24);
    painter.setBrush(QColor(200, 120, 30));
    for (int i = 0; i < 5; ++i) {
        const qreal angle = (turn + 72 * i) * kPi / 180;
        painter.drawEllipse(centre + QPointF(std::cos(angle), std::sin(angle)) * radius * 0.16,
                            0.45, 0.45);
    }
}

void Leaf(QPainter& painter, QPointF base, qreal length, qreal turn, const QColor& colour) {
    QPainterPath leaf;
    leaf.moveTo(0, 0);
    leaf.cubicTo(length * 0.3, -length * 0.32, length * 0.75, -length * 0.25, length, 0);
    leaf.cubicTo(length * 0.75, length * 0.25, length * 0.3, length * 0.32, 0, 0);
    QTransform place;
    place.translate(base.x(), base.y());
    place.rotate(turn);
    const QPainterPath shape = place.map(leaf);
    painter.strokePath(shape, QPen(colour.darker(160), 0.5));
    painter.fillPath(shape, colour);
    QPainterPath vein;
    vein.moveTo(0, 0);
    vein.lineTo(length * 0.8, 0);
    painter.strokePath(place.map(vein), QPen(colour.lighter(140), 0.4));
}

// Blossoms gathered over two opposite corners and trailing along the edges,
// with a fine white line round the picture's border.
void Flowers(QPainter& painter) {
    QPainterPath border;
    border.addRect(kWhole);
    border.addRect(kWhole.adjusted(3, 3, -3, -3));
    border.setFillRule(Qt::OddEvenFill);
    painter.fillPath(border, QColor(255, 255, 255));
    painter.fillPath(RoundedRect(kWhole.adjusted(3, 3, -3, -3), 0)
                         .subtracted(RoundedRect(kWhole.adjusted(4, 4, -4, -4), 0)),
                     QColor(230, 150, 170));
    const QColor green(96, 160, 72);
    const QColor pink(250, 150, 180);
    const QColor white(255, 246, 240);
    const QColor peach(255, 190, 140);
    // A corner spray: a vine along two edges, leaves, blossoms.
    auto spray = [&](QTransform place) {
        painter.save();
        painter.setTransform(place, true);
        QPainterPath vine;
        vine.moveTo(4, 100);
        vine.cubicTo(12, 70, 6, 40, 14, 14);
        vine.cubicTo(40, 6, 70, 12, 110, 4);
        painter.strokePath(vine, QPen(green.darker(130), 1.3, Qt::SolidLine, Qt::RoundCap));
        Scatter scatter(41);
        const struct {
            qreal x, y, turn;
        } leaves[] = {{6, 96, -75},  {9, 78, 205},  {8, 58, -60}, {16, 36, 150}, {30, 22, 40},
                      {36, 14, -30}, {58, 10, 120}, {78, 8, -15}, {98, 6, 105},  {24, 30, 80}};
        for (const auto& leaf : leaves) {
            Leaf(painter, QPointF(leaf.x, leaf.y), scatter.Between(11, 15), leaf.turn, green);
        }
        Blossom(painter, QPointF(44, 12), 10, white, 30);
        Blossom(painter, QPointF(12, 46), 10, peach, 50);
        Blossom(painter, QPointF(19, 19), 15, pink, 10);
        Blossom(painter, QPointF(66, 8), 7, pink, 5);
        Blossom(painter, QPointF(8, 68), 7, white, 20);
        Blossom(painter, QPointF(86, 6), 5, peach, 0);
        Blossom(painter, QPointF(6, 88), 5, pink, 40);
        Blossom(painter, QPointF(104, 5), 3.5, white, 10);
        Blossom(painter, QPointF(5, 106), 3.5, peach, 10);
        painter.restore();
    };
    spray(QTransform());
    spray(QTransform(-1, 0, 0, -1, kWidth, kHeight));
    // Small buds over the other two corners.
    Leaf(painter, QPointF(kWidth - 10, 8), 12, 165, green);
    Leaf(painter, QPointF(kWidth - 8, 10), 12, 100, green);
    Blossom(painter, QPointF(kWidth - 8, 8), 7.5, pink, 15);
    Leaf(painter, QPointF(10, kHeight - 8), 12, -15, green);
    Leaf(painter, QPointF(8, kHeight - 10), 12, -80, green);
    Blossom(painter, QPointF(8, kHeight - 8), 7.5, pink, 15);
}

void Lace(QPainter& painter) {
    const QColor lace(255, 253, 250);
    const qreal band = 10;
    painter.fillRect(kWhole, lace);
    // Scallops along the inside of the band, each with an eyelet.
    QPainterPath scallops;
    QPainterPath eyelets;
    const qreal r = 4.5;
    for (qreal x = band + r; x <= kWidth - band - r + 0.1; x += 2 * r) {
        scallops.addPath(CirclePath(QPointF(x, band), r));
        scallops.addPath(CirclePath(QPointF(x, kHeight - band), r));
        eyelets.addPath(CirclePath(QPointF(x, band + 0.8), 1.4));
        eyelets.addPath(CirclePath(QPointF(x, kHeight - band - 0.8), 1.4));
    }
    for (qreal y = band + r; y <= kHeight - band - r + 0.1; y += 2 * r) {
        scallops.addPath(CirclePath(QPointF(band, y), r));
        scallops.addPath(CirclePath(QPointF(kWidth - band, y), r));
        eyelets.addPath(CirclePath(QPointF(band + 0.8, y), 1.4));
        eyelets.addPath(CirclePath(QPointF(kWidth - band - 0.8, y), 1.4));
    }
    scallops.setFillRule(Qt::WindingFill);
    QPainterPath inside;
    inside.addRect(kWhole.adjusted(band, band, -band, -band));
    const QPainterPath opening = inside.subtracted(scallops.simplified());
    // Small holes in a row along the band and a pink ribbon line.
    QPainterPath holes;
    for (qreal x = 6; x < kWidth - 4; x += 5) {
        holes.addPath(EllipsePath(QPointF(x, 4), 1.2, 1.6));
        holes.addPath(EllipsePath(QPointF(x, kHeight - 4), 1.2, 1.6));
    }
    for (qreal y = 11; y < kHeight - 9; y += 5) {
        holes.addPath(EllipsePath(QPointF(4, y), 1.6, 1.2));
        holes.addPath(EllipsePath(QPointF(kWidth - 4, y), 1.6, 1.2));
    }
    painter.setPen(QPen(QColor(244, 170, 196), 1.4));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(kWhole.adjusted(7.5, 7.5, -7.5, -7.5));
    painter.setPen(QPen(QColor(220, 210, 200), 0.4));
    painter.drawPath(opening);
    ClearOpening(painter, opening);
    ClearOpening(painter, eyelets);
    ClearOpening(painter, holes);
}

// A satin bow at the top of a slim gold-edged border, its tails falling
// over the photo.
void Bow(QPainter& painter) {
    const QColor red(214, 28, 52);
    const Profile edge = {
        {0.0, QColor(150, 110, 30)}, {0.4, QColor(255, 230, 150)}, {1.0, QColor(170, 120, 30)}};
    Moulding(painter, kWhole, 5, edge);
    const QRectF opening = kWhole.adjusted(5, 5, -5, -5);
    ClearOpening(painter, RoundedRect(opening, 0));
    InnerShadow(painter, opening, 0, 2, 70);
    auto satin = [&](const QRectF& box) {
        QLinearGradient shine(box.topLeft(), box.bottomRight());
        shine.setColorAt(0, red.lighter(150));
        shine.setColorAt(0.4, red);
        shine.setColorAt(1, red.darker(160));
        return shine;
    };
    const QPen outline(red.darker(250), 0.8);
    // Ribbon running along the top edge.
    const QPainterPath band = RoundedRect(QRectF(0, 7, kWidth, 8), 0);
    painter.fillPath(band, satin(QRectF(0, 7, 20, 8)));
    painter.setPen(outline);
    painter.drawLine(QPointF(0, 7), QPointF(kWidth, 7));
    painter.drawLine(QPointF(0, 15), QPointF(kWidth, 15));
    // Tails.
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath tail;
        const qreal x = 88;
        tail.moveTo(x, 16);
        tail.cubicTo(x + side * 6, 28, x + side * 14, 40, x + side * 12, 52);
        tail.lineTo(x + side * 20, 48);
        tail.lineTo(x + side * 22, 56);
        tail.cubicTo(x + side * 26, 42, x + side * 16, 28, x + side * 6, 12);
        tail.closeSubpath();
        painter.strokePath(tail, outline);
        painter.fillPath(tail, satin(tail.boundingRect()));
    }
    // Loops and knot.
    for (int side = -1; side <= 1; side += 2) {
        QPainterPath loop;
        const qreal x = 88;
        loop.moveTo(x, 12);
        loop.cubicTo(x + side * 14, -2, x + side * 34, 0, x + side * 30, 12);
        loop.cubicTo(x + side * 28, 22, x + side * 12, 20, x, 12);
        painter.strokePath(loop, outline);
        painter.fillPath(loop, satin(loop.boundingRect()));
        QPainterPath fold;
        fold.moveTo(x + side * 4, 11);
        fold.cubicTo(x + side * 14, 4, x + side * 24, 6, x + side * 26, 11);
        painter.strokePath(fold, QPen(red.darker(190), 0.7));
    }
    const QPainterPath knot = RoundedRect(QRectF(82, 6, 12, 12), 3.5);
    painter.strokePath(knot, outline);
    painter.fillPath(knot, satin(QRectF(82, 6, 12, 12)));
}

// --- Fun -------------------------------------------------------------------

void Confetti(QPainter& painter) {
    const QColor colours[] = {QColor(255, 70, 90),  QColor(255, 190, 30), QColor(60, 190, 110),
                              QColor(60, 150, 255), QColor(190, 90, 240), QColor(255, 120, 200)};
    // A thin striped border, like a party ribbon.
    for (int i = 0; i * 8 < 2 * (kWidth + kHeight); ++i) {
        const QColor& colour = colours[i % 6];
        const qreal s = i * 8.0;
        QRectF piece;
        if (s < kWidth) {
            piece = QRectF(s, 0, 8, 3);
            painter.fillRect(QRectF(s, kHeight - 3, 8, 3), colour);
        } else {
            piece = QRectF(0, s - kWidth, 3, 8);
            painter.fillRect(QRectF(kWidth - 3, s - kWidth, 3, 8), colour);
        }
        painter.fillRect(piece, colour);
    }
    // Confetti thick near the border, thinning towards the middle.
    Scatter scatter(53);
    int placed = 0;
    while (placed < 190) {
        const QPointF at(scatter.Between(2, kWidth - 2), scatter.Between(2, kHeight - 2));
        const qreal toEdge = std::min({at.x(), at.y(), kWidth - at.x(), kHeight - at.y()});
        const qreal keep = std::exp(-toEdge / 11.0);
        const qreal roll = scatter.Next();
        const QColor& colour = colours[static_cast<int>(scatter.Between(0, 6))];
        const qreal turn = scatter.Between(0, 180);
        const int shape = static_cast<int>(scatter.Between(0, 3));
        if (roll > keep) {
            continue;
        }
        ++placed;
        QPainterPath piece;
        if (shape == 0) {
            piece = EllipsePath(at, 1.6, 1.6);
        } else if (shape == 1) {
            QTransform place;
            place.translate(at.x(), at.y());
            place.rotate(turn);
            piece = place.map(RoundedRect(QRectF(-2.2, -1.2, 4.4, 2.4), 0.3));
        } else {
            QPainterPath curl;
            QTransform place;
            place.translate(at.x(), at.y());
            place.rotate(turn);
            curl.moveTo(-3.5, 0);
            curl.cubicTo(-1.5, -2.5, 1.5, 2.5, 3.5, 0);
            piece = place.map(StrokePath(curl, 1.1));
        }
        painter.fillPath(piece, colour);
        painter.fillPath(piece, QColor(255, 255, 255, 40));
    }
}

void Stars(QPainter& painter) {
    QLinearGradient night(0, 0, 0, kHeight);
    night.setColorAt(0, QColor(20, 26, 70));
    night.setColorAt(1, QColor(46, 30, 90));
    const qreal band = 9;
    painter.fillRect(kWhole, night);
    const QRectF opening = kWhole.adjusted(band, band, -band, -band);
    ClearOpening(painter, RoundedRect(opening, 8));
    InnerShadow(painter, opening, 8, 3, 90);
    // Tiny white stars on the band.
    Scatter scatter(61);
    for (int i = 0; i < 120; ++i) {
        const QPointF at(scatter.Between(1, kWidth - 1), scatter.Between(1, kHeight - 1));
        const qreal size = scatter.Between(0.4, 0.9);
        const bool onBand = !opening.adjusted(2, 2, -2, -2).contains(at);
        if (onBand) {
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(255, 255, 240, static_cast<int>(scatter.Between(120, 255))));
            painter.drawEllipse(at, size, size);
        }
    }
    // Golden stars strung round the picture, some spilling onto it.
    auto goldStar = [&](QPointF at, qreal radius, qreal turn) {
        const QPainterPath star = StarPath(at, radius, radius * 0.45, 5, turn);
        QRadialGradient gold(at - QPointF(radius * 0.3, radius * 0.3), radius * 1.2);
        gold.setColorAt(0, QColor(255, 250, 200));
        gold.setColorAt(0.6, QColor(255, 200, 40));
        gold.setColorAt(1, QColor(220, 140, 10));
        painter.strokePath(star, QPen(QColor(120, 70, 0), 0.7));
        painter.fillPath(star, gold);
    };
    const struct {
        qreal x, y, r, turn;
    } stars[] = {{9, 9, 8, -10},    {40, 6, 4.5, 12},     {66, 10, 6, -6},    {104, 5, 4, 20},
                 {134, 9, 6.5, 4},  {167, 10, 8, 14},     {170, 44, 4.5, -8}, {166, 76, 6, 10},
                 {171, 110, 4, 0},  {165, 142, 6.5, -14}, {167, 171, 8, 6},   {132, 172, 5, -4},
                 {98, 175, 4, 10},  {70, 170, 6.5, -12},  {38, 174, 4.5, 8},  {9, 171, 8, -6},
                 {5, 136, 4.5, 14}, {11, 104, 6.5, 0},    {5, 72, 4, -10},    {10, 42, 6, 6},
                 {28, 22, 3, 0},    {150, 26, 3.4, 10},   {148, 156, 3, -10}, {26, 152, 3.4, 4}};
    for (const auto& star : stars) {
        goldStar(QPointF(star.x, star.y), star.r, star.turn);
    }
}

void Bubbles(QPainter& painter) {
    // A thin aqua border holds the picture's edge.
    QLinearGradient water(0, 0, kWidth, kHeight);
    water.setColorAt(0, QColor(120, 210, 240));
    water.setColorAt(1, QColor(80, 150, 230));
    QPainterPath border;
    border.addRect(kWhole);
    border.addRoundedRect(kWhole.adjusted(4, 4, -4, -4), 6, 6);
    border.setFillRule(Qt::OddEvenFill);
    painter.fillPath(border, water);
    Scatter scatter(71);
    int placed = 0;
    while (placed < 46) {
        const QPointF at(scatter.Between(3, kWidth - 3), scatter.Between(3, kHeight - 3));
        const qreal radius = scatter.Between(2.5, 11);
        const qreal toEdge = std::min({at.x(), at.y(), kWidth - at.x(), kHeight - at.y()});
        if (toEdge > 26 + radius * 0.5 || scatter.Next() > 0.8) {
            continue;
        }
        ++placed;
        // A clear film with a bright rim and a rainbow sheen, and a window
        // of light.
        QRadialGradient film(at, radius);
        film.setColorAt(0, QColor(200, 240, 255, 30));
        film.setColorAt(0.8, QColor(170, 220, 255, 70));
        film.setColorAt(0.95, QColor(230, 250, 255, 200));
        film.setColorAt(1, QColor(120, 180, 230, 150));
        painter.setPen(Qt::NoPen);
        painter.setBrush(film);
        painter.drawEllipse(at, radius, radius);
        painter.setPen(QPen(QColor(255, 170, 230, 110), radius * 0.12));
        painter.setBrush(Qt::NoBrush);
        painter.drawArc(
            QRectF(at.x() - radius * 0.82, at.y() - radius * 0.82, radius * 1.64, radius * 1.64),
            200 * 16, 80 * 16);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawPath(EllipsePath(at + QPointF(-radius * 0.38, -radius * 0.42), radius * 0.24,
                                     radius * 0.13, -40));
    }
}

void Snow(QPainter& painter) {
    // Snow lying along the bottom, soft at its top edge, and snow caps
    // hanging from the top with a few icicles.
    const QColor snow(250, 252, 255);
    painter.fillRect(QRectF(0, 0, kWidth, 3), snow);
    painter.fillRect(QRectF(0, 0, 3, kHeight), snow);
    painter.fillRect(QRectF(kWidth - 3, 0, 3, kHeight), snow);
    QPainterPath drift;
    drift.moveTo(0, kHeight);
    drift.lineTo(0, 150);
    drift.cubicTo(30, 138, 55, 158, 88, 154);
    drift.cubicTo(120, 150, 140, 136, kWidth, 146);
    drift.lineTo(kWidth, kHeight);
    drift.closeSubpath();
    QLinearGradient shade(0, 136, 0, kHeight);
    shade.setColorAt(0, QColor(255, 255, 255));
    shade.setColorAt(1, QColor(196, 214, 240));
    // The soft top edge: the drift drawn a few times, a little higher and
    // fainter each time.
    for (int i = 4; i >= 1; --i) {
        painter.fillPath(drift.translated(0, -1.2 * i), QColor(255, 255, 255, 50));
    }
    painter.fillPath(drift, shade);
    QPainterPath cap;
    cap.moveTo(0, 0);
    cap.lineTo(kWidth, 0);
    cap.lineTo(kWidth, 12);
    Scatter scatter(83);
    for (qreal x = kWidth; x > 0; x -= 11) {
        const qreal dip = scatter.Between(6, 13);
        cap.quadTo(x - 5.5, dip + 5, x - 11, scatter.Between(6, 10));
    }
    cap.lineTo(0, 0);
    QLinearGradient capShade(0, 0, 0, 18);
    capShade.setColorAt(0, QColor(226, 236, 250));
    capShade.setColorAt(1, QColor(255, 255, 255));
    painter.fillPath(cap, capShade);
    for (qreal x = 14; x < kWidth - 10; x += scatter.Between(16, 30)) {
        const qreal length = scatter.Between(6, 14);
        QPainterPath icicle = PolygonPath({{x - 1.8, 9}, {x + 1.8, 9}, {x, 9 + length}});
        QLinearGradient ice(x - 2, 0, x + 2, 0);
        ice.setColorAt(0, QColor(220, 240, 255, 230));
        ice.setColorAt(1, QColor(160, 200, 240, 230));
        painter.fillPath(icicle, ice);
    }
    // Falling flakes, denser near the edges.
    int placed = 0;
    while (placed < 70) {
        const QPointF at(scatter.Between(2, kWidth - 2), scatter.Between(2, kHeight - 20));
        const qreal toEdge = std::min({at.x(), at.y(), kWidth - at.x()});
        const qreal roll = scatter.Next();
        const qreal size = scatter.Between(0.8, 2.4);
        // None in the middle, where the photo's subject usually is.
        if (roll > std::exp(-toEdge / 22.0) || toEdge > 44) {
            continue;
        }
        ++placed;
        if (size > 2.0) {
            QPainterPath flake;
            for (int arm = 0; arm < 3; ++arm) {
                const qreal angle = arm * kPi / 3;
                const QPointF reach(std::cos(angle) * size * 1.6, std::sin(angle) * size * 1.6);
                flake.moveTo(at - reach);
                flake.lineTo(at + reach);
            }
            painter.strokePath(flake, QPen(QColor(255, 255, 255, 230), 0.7));
        } else {
            QRadialGradient soft(at, size);
            soft.setColorAt(0, QColor(255, 255, 255, 240));
            soft.setColorAt(0.6, QColor(255, 255, 255, 200));
            soft.setColorAt(1, QColor(255, 255, 255, 0));
            painter.setPen(Qt::NoPen);
            painter.setBrush(soft);
            painter.drawEllipse(at, size, size);
        }
    }
}

DrawnArt DrawFrame(void (*draw)(QPainter&)) {
    return DrawSupersampled(kWidth, kHeight, kFactor, draw);
}

}  // namespace

std::vector<DecorationTheme> DrawFrameThemes() {
    std::vector<DecorationTheme> themes = {{"Classic", {}}, {"Romance", {}}, {"Fun", {}}};
    for (auto draw : {Mat, Wood, Gold, Gallery, Instant, Film, Dream, Postage, Silver, Torn}) {
        themes[0].items.push_back(DrawFrame(draw));
    }
    for (auto draw : {Hearts, Flowers, Lace, Bow}) {
        themes[1].items.push_back(DrawFrame(draw));
    }
    for (auto draw : {Confetti, Stars, Bubbles, Snow}) {
        themes[2].items.push_back(DrawFrame(draw));
    }
    return themes;
}
