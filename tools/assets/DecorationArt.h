// The decoration library drawn by code: frames, pattern stamps, pictures and
// lettering, grouped in themes.
//
// Every item is drawn at its final size in QImage::Format_RGBA64_Premultiplied:
// the art's colour, and in alpha how much of each pixel it covers. Alpha
// becomes the item's mask (0 the photo shows, 255 the art shows); for the
// kinds that carry colour the colour file holds the art's own colour where
// it covers the pixel (WriteDecorationLibrary.cpp says how partly covered
// pixels are filled). Shape-only kinds (pattern stamps, Word) use alpha
// alone.
//
// The drawing is deterministic: the same build draws the same pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <cstdint>
#include <functional>
#include <vector>

// An item as the phone shows it, and drawn again at kLargeArtFactor times
// that size for the pictures rendered larger than the screen.
struct DrawnArt {
    QImage phone;
    QImage large;
};
constexpr int kLargeArtFactor = 4;

struct DecorationTheme {
    const char* name;             // theme folder and file prefix: ASCII letters, at most 31
    std::vector<DrawnArt> items;  // item n is items[n - 1]
};

// One family per file, each a list of themes.
std::vector<DecorationTheme> DrawFrameThemes();            // 176 x 180
std::vector<DecorationTheme> DrawPatternThemes(int side);  // 12 x 12 or 24 x 24, shapes only
std::vector<DecorationTheme> DrawPictureThemes();          // 60 x 60
std::vector<DecorationTheme> DrawWordThemes();             // 176 x 50, shapes only
std::vector<DecorationTheme> DrawColorfulWordThemes();     // 176 x 50

// Drawing helpers shared by the families (ArtHelpers.cpp).

// Runs draw on a transparent canvas factor times the final size, the painter
// scaled so that one unit is one final pixel, then averages every
// factor x factor block: edges get their exact coverage, and areas the art
// fills whole or leaves empty stay exactly opaque or exactly transparent.
// The large copy is drawn the same way at kLargeArtFactor times the size
// (from the same drawing, so it is crisp, not enlarged), supersampled half
// as much, at least twice.
DrawnArt DrawSupersampled(int width, int height, int factor,
                          const std::function<void(QPainter&)>& draw);

// Plain shapes: an ellipse of radii rx and ry about its centre, turned by
// turnDegrees; a closed polygon through the points; a rectangle, its corners
// rounded by radius when that is above 0.
QPainterPath EllipsePath(QPointF centre, qreal rx, qreal ry, qreal turnDegrees = 0);
QPainterPath PolygonPath(const QVector<QPointF>& points);
QPainterPath RectPath(qreal x, qreal y, qreal w, qreal h, qreal radius = 0);

// Shapes in a box (y grows downwards).
QPainterPath HeartPath(const QRectF& box);
QPainterPath StarPath(QPointF centre, qreal outer, qreal inner, int points, qreal turnDegrees = 0);
// Round petals around a centre, each an ellipse reaching out to radius.
QPainterPath PetalsPath(QPointF centre, qreal radius, int petals, qreal petalWidth,
                        qreal turnDegrees = 0);
// A crescent: a disc with a smaller disc taken out towards the upper right.
QPainterPath CrescentPath(QPointF centre, qreal radius);
QPainterPath CirclePath(QPointF centre, qreal radius);
// A line drawn with a round-ended pen of the given width, as an area.
QPainterPath StrokePath(const QPainterPath& line, qreal width);

// The lettering fonts: DejaVu Sans Bold and DejaVu Serif Bold, upright and
// unstretched; slants and narrowing are applied to the outlines, so the
// drawing needs only the two faces every system with DejaVu has.
QFont LetteringFont(bool serif);
// The outline of a text line fitted into a box: scaled uniformly to the
// box's width or height, whichever is reached first, narrowed by squeeze
// (1 keeps the width), slanted by shear (0.2 leans a fifth of the height)
// and centred.
QPainterPath FittedTextPath(const QString& text, bool serif, const QRectF& box, qreal squeeze,
                            qreal shear);

// A small fixed-seed generator for scattered details.
class Scatter {
  public:
    explicit Scatter(uint32_t seed) : state_(seed) {}
    // A value in [0, 1).
    qreal Next() {
        state_ = state_ * 1664525u + 1013904223u;
        return static_cast<qreal>(state_ >> 8) / static_cast<qreal>(1u << 24);
    }
    // A value in [low, high).
    qreal Between(qreal low, qreal high) { return low + (high - low) * Next(); }

  private:
    uint32_t state_;
};
