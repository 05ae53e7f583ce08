// Word: 176 x 50 lettering as a single-colour shape that the editor draws in
// the user's colour. Two themes: a slanted serif with a calligraphic swash
// beneath, and a bold sans-serif letter edged by a thin ring a little way
// out, which keeps it legible on busy photos.
#include <QTransform>

#include "DecorationArt.h"

namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 50;
constexpr int kFactor = 4;

// A stroke that swells in the middle and tapers to points at both ends,
// following a gentle wave from left to right.
QPainterPath SwashPath(qreal left, qreal right, qreal y, qreal thickness) {
    const qreal width = right - left;
    QPainterPath swash;
    swash.moveTo(left, y + 1.5);
    swash.cubicTo(left + width * 0.3, y - 3 - thickness, left + width * 0.65, y + 3 - thickness,
                  right, y - 2);
    swash.cubicTo(left + width * 0.65, y + 3 + thickness * 0.4, left + width * 0.3,
                  y - 3 + thickness * 0.4, left, y + 1.5);
    swash.closeSubpath();
    return swash;
}

DrawnArt ClassicWord(const QString& text, bool heart) {
    return DrawSupersampled(kWidth, kHeight, kFactor, [&](QPainter& painter) {
        const QPainterPath letters = FittedTextPath(text, true, QRectF(6, 3, 164, 33), 0.92, 0.22);
        painter.fillPath(letters, Qt::white);
        const QRectF ink = letters.boundingRect();
        const qreal middle = ink.center().x();
        const qreal reach = std::max<qreal>(ink.width() * 0.36, 34);
        // Edged with a fine line so that even its points are solid.
        const QPainterPath swash = SwashPath(middle - reach, middle + reach, 43, 2.6);
        painter.fillPath(swash, Qt::white);
        painter.strokePath(swash, QPen(Qt::white, 0.9));
        // A small ornament at the swash's right end.
        const QPointF end(middle + reach + 4, 40.5);
        if (heart) {
            painter.fillPath(HeartPath(QRectF(end.x() - 3.5, end.y() - 3.5, 7, 6.5)), Qt::white);
        } else {
            painter.fillPath(StarPath(end, 4, 1.7, 4), Qt::white);
        }
    });
}

DrawnArt RingedWord(const QString& text) {
    return DrawSupersampled(kWidth, kHeight, kFactor, [&](QPainter& painter) {
        // The ring lies 1.3 pixels out from the letters and is 1.2 wide.
        const QPainterPath letters = FittedTextPath(text, false, QRectF(5, 5, 166, 40), 0.88, 0);
        painter.strokePath(letters,
                           QPen(Qt::white, 2 * 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setCompositionMode(QPainter::CompositionMode_Clear);
        painter.strokePath(
            letters, QPen(Qt::transparent, 2 * 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        painter.fillPath(letters, Qt::white);
    });
}

}  // namespace

std::vector<DecorationTheme> DrawWordThemes() {
    std::vector<DecorationTheme> themes = {{"Classic", {}}, {"Bold", {}}};
    const char* classic[] = {"Happy Birthday", "I love you", "Thank you",  "Congratulations",
                             "Hello",          "Cheers",     "Best Wishes"};
    for (const char* text : classic) {
        themes[0].items.push_back(
            ClassicWord(QString::fromLatin1(text), QString::fromLatin1(text).contains("love")));
    }
    const char* bold[] = {"Hello",     "Cheers",         "Welcome",
                          "Good Luck", "Happy New Year", "Merry Christmas"};
    for (const char* text : bold) {
        themes[1].items.push_back(RingedWord(QString::fromLatin1(text)));
    }
    return themes;
}
