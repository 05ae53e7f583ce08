// The start-up picture: a lake at sunset. A sky running from deep blue to
// glowing orange, a low sun, three ranges of hills fading with distance, and
// still water that mirrors them, broken by ripples and a path of sunlight.
// Drawn three times larger and scaled down, which smooths every edge.
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cstdint>

#include "AssetTool.h"

namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 180;
constexpr int kScale = 3;
constexpr qreal kHorizon = 112;
constexpr qreal kSunX = 116;
constexpr qreal kSunY = 76;

// A small fixed-seed generator: the picture is the same on every build.
class Scatter {
  public:
    explicit Scatter(uint32_t seed) : state_(seed) {}
    // A value in [0, 1).
    qreal Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<qreal>(state_ >> 8) / static_cast<qreal>(1u << 24);
    }

  private:
    uint32_t state_;
};

void DrawSky(QPainter& painter) {
    QLinearGradient sky(QPointF(0, 0), QPointF(0, kHorizon));
    sky.setColorAt(0.0, QColor(22, 38, 96));
    sky.setColorAt(0.35, QColor(78, 74, 150));
    sky.setColorAt(0.62, QColor(196, 110, 132));
    sky.setColorAt(0.85, QColor(250, 160, 96));
    sky.setColorAt(1.0, QColor(255, 206, 128));
    painter.fillRect(QRectF(0, 0, kWidth, kHorizon), sky);

    QRadialGradient glow(QPointF(kSunX, kSunY), 70);
    glow.setColorAt(0.0, QColor(255, 230, 160, 200));
    glow.setColorAt(0.3, QColor(255, 180, 110, 90));
    glow.setColorAt(1.0, QColor(255, 160, 100, 0));
    painter.fillRect(QRectF(0, 0, kWidth, kHorizon), glow);

    // A few faint stars in the dark top of the sky.
    Scatter scatter(7);
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < 18; ++i) {
        const qreal x = scatter.Next() * kWidth;
        const qreal y = scatter.Next() * 34;
        const int alpha = static_cast<int>(90 + scatter.Next() * 120 * (1 - y / 40));
        painter.setBrush(QColor(255, 255, 240, alpha));
        painter.drawEllipse(QPointF(x, y), 0.45, 0.45);
    }
}

// Long thin clouds, lit from below by the low sun: each a few soft
// overlapping ellipses, so that the ends taper.
void DrawClouds(QPainter& painter) {
    struct Streak {
        qreal x, y, length, thickness;
        int alpha;
    };
    const Streak streaks[] = {
        {14, 46, 74, 2.4, 120},  {60, 53, 60, 1.8, 100}, {104, 40, 78, 2.2, 110},
        {128, 58, 50, 1.5, 120}, {0, 64, 50, 1.6, 100},  {62, 66, 52, 1.2, 110},
    };
    painter.setPen(Qt::NoPen);
    for (const Streak& streak : streaks) {
        for (int part = 0; part < 3; ++part) {
            const qreal inset = streak.length * 0.16 * part;
            const QRectF shape(streak.x + inset + 3 * part,
                               streak.y - streak.thickness + 0.5 * part, streak.length - 2 * inset,
                               2 * streak.thickness);
            QLinearGradient light(shape.topLeft(), shape.bottomLeft());
            light.setColorAt(0.0, QColor(214, 150, 190, streak.alpha / 2));
            light.setColorAt(1.0, QColor(255, 200, 160, streak.alpha));
            painter.setBrush(light);
            painter.drawEllipse(shape);
        }
    }
}

void DrawSun(QPainter& painter) {
    QRadialGradient sun(QPointF(kSunX, kSunY), 12);
    sun.setColorAt(0.0, QColor(255, 252, 230));
    sun.setColorAt(0.75, QColor(255, 236, 170));
    sun.setColorAt(1.0, QColor(255, 200, 120, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(sun);
    painter.drawEllipse(QPointF(kSunX, kSunY), 12, 12);
}

// A range of hills: a smooth ridge through the given heights, spread evenly
// across the width, closed at the horizon.
void DrawRidge(QPainter& painter, const qreal* heights, int count, const QColor& top,
               const QColor& foot) {
    QPainterPath ridge;
    const qreal step = static_cast<qreal>(kWidth + 20) / (count - 1);
    ridge.moveTo(-10, kHorizon + 1);
    ridge.lineTo(-10, heights[0]);
    for (int i = 1; i < count; ++i) {
        const qreal x0 = -10 + step * (i - 1);
        const qreal x1 = -10 + step * i;
        ridge.cubicTo(x0 + step / 2, heights[i - 1], x1 - step / 2, heights[i], x1, heights[i]);
    }
    ridge.lineTo(kWidth + 10, kHorizon + 1);
    ridge.closeSubpath();
    qreal highest = kHorizon;
    for (int i = 0; i < count; ++i) {
        highest = std::min(highest, heights[i]);
    }
    QLinearGradient shade(QPointF(0, highest), QPointF(0, kHorizon));
    shade.setColorAt(0.0, top);
    shade.setColorAt(1.0, foot);
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.drawPath(ridge);
}

void DrawHills(QPainter& painter) {
    const qreal far[] = {84, 72, 80, 66, 76, 86, 74, 82};
    DrawRidge(painter, far, 8, QColor(170, 120, 160), QColor(214, 150, 140));
    const qreal middle[] = {92, 98, 86, 96, 104, 94, 100};
    DrawRidge(painter, middle, 7, QColor(104, 76, 128), QColor(150, 100, 130));
    const qreal near[] = {86, 96, 108, 110, 104, 92, 98};
    DrawRidge(painter, near, 7, QColor(46, 44, 82), QColor(70, 58, 96));

    // Pines on the near slopes, dark against the lighter hills behind.
    painter.setBrush(QColor(30, 30, 60));
    const QPointF pines[] = {{8, 90}, {14, 92}, {20, 95}, {150, 97}, {158, 96}, {165, 98}};
    for (const QPointF& foot : pines) {
        QPainterPath pine;
        pine.moveTo(foot.x(), foot.y() - 9);
        pine.lineTo(foot.x() + 2.6, foot.y() + 1);
        pine.lineTo(foot.x() - 2.6, foot.y() + 1);
        pine.closeSubpath();
        painter.drawPath(pine);
    }
}

void DrawBirds(QPainter& painter) {
    painter.setPen(QPen(QColor(40, 30, 60), 0.8, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    const QPointF birds[] = {{46, 40}, {55, 36}, {60, 43}};
    for (const QPointF& at : birds) {
        QPainterPath bird;
        bird.moveTo(at.x() - 3, at.y() - 1);
        bird.quadTo(at.x() - 1.5, at.y() - 2, at.x(), at.y());
        bird.quadTo(at.x() + 1.5, at.y() - 2, at.x() + 3, at.y() - 1);
        painter.drawPath(bird);
    }
}

// The water: the land and sky above turned over, darkened towards the
// viewer, then ripples and the sun's glittering path laid on top.
void DrawWater(QPainter& painter, const QImage& above) {
    const qreal depth = kHeight - kHorizon;
    const QImage mirrored = above.mirrored(false, true);
    painter.drawImage(QRectF(0, kHorizon, kWidth, depth), mirrored,
                      QRectF(0, 0, mirrored.width(), depth * kScale));

    QLinearGradient tint(QPointF(0, kHorizon), QPointF(0, kHeight));
    tint.setColorAt(0.0, QColor(60, 40, 90, 60));
    tint.setColorAt(1.0, QColor(16, 22, 56, 200));
    painter.fillRect(QRectF(0, kHorizon, kWidth, depth), tint);

    Scatter scatter(11);
    painter.setPen(Qt::NoPen);
    for (qreal y = kHorizon + 1.5; y < kHeight; y += 1.2 + (y - kHorizon) * 0.05) {
        const qreal nearness = (y - kHorizon) / depth;
        // Long dark ripples across the whole surface.
        for (int i = 0; i < 3; ++i) {
            const qreal x = scatter.Next() * kWidth;
            const qreal length = 10 + scatter.Next() * 40;
            painter.setBrush(QColor(10, 10, 40, static_cast<int>(30 + 50 * nearness)));
            painter.drawRect(QRectF(x - length / 2, y, length, 0.5 + nearness));
        }
        // Glints beneath the sun, spreading as the water comes closer.
        const qreal spread = 5 + 30 * nearness;
        for (int i = 0; i < 2; ++i) {
            const qreal x = kSunX + (scatter.Next() - 0.5) * 2 * spread;
            const qreal length = 2 + scatter.Next() * (4 + 10 * nearness);
            painter.setBrush(QColor(255, 226, 160, static_cast<int>(220 - 110 * nearness)));
            painter.drawRect(QRectF(x - length / 2, y, length, 0.4 + 0.5 * nearness));
        }
    }
    // A bright seam where the water meets the land.
    painter.fillRect(QRectF(0, kHorizon, kWidth, 0.6), QColor(255, 220, 170, 90));
}

}  // namespace

QImage DrawStartupPicture() {
    QImage above(kWidth * kScale, static_cast<int>(kHorizon) * kScale, QImage::Format_RGB32);
    {
        QPainter painter(&above);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(kScale, kScale);
        DrawSky(painter);
        DrawClouds(painter);
        DrawSun(painter);
        DrawHills(painter);
    }
    QImage large(kWidth * kScale, kHeight * kScale, QImage::Format_RGB32);
    {
        QPainter painter(&large);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(0, 0, above);
        painter.scale(kScale, kScale);
        DrawWater(painter, above);
        DrawBirds(painter);
    }
    return large.scaled(kWidth, kHeight, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
