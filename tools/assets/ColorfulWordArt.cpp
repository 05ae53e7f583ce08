// Colorful Word: 176 x 50 coloured lettering. "Candy" letters are filled
// with bright gradients under a glossy highlight, edged in white and then in
// a dark line, and cast a hard shadow; "Gold" letters are slanted serifs of
// polished metal with sparkles. The outermost edge is always dark, so the
// lettering reads on any photo.
#include <QLinearGradient>

#include <vector>

#include "DecorationArt.h"

namespace {

constexpr int kWidth = 176;
constexpr int kHeight = 50;
constexpr int kFactor = 4;
const QColor kDark(40, 22, 40);

QPen RoundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

struct CandyWord {
    const char* text;
    std::vector<QColor> colours;  // the gradient from top to bottom
};

DrawnArt DrawCandyWord(const CandyWord& word) {
    return DrawSupersampled(kWidth, kHeight, kFactor, [&](QPainter& painter) {
        constexpr qreal white = 1.8;  // the white edge
        constexpr qreal dark = 1.2;   // the dark edge outside it
        const QPainterPath letters =
            FittedTextPath(QString::fromLatin1(word.text), false, QRectF(5, 5, 164, 37), 0.9, 0.1);
        const QRectF ink = letters.boundingRect();
        // The hard shadow down and to the right, as dark as the edge.
        painter.strokePath(letters.translated(2.2, 2.6), RoundPen(kDark, 2 * (white + dark)));
        painter.fillPath(letters.translated(2.2, 2.6), kDark);
        painter.strokePath(letters, RoundPen(kDark, 2 * (white + dark)));
        painter.strokePath(letters, RoundPen(Qt::white, 2 * white));
        QLinearGradient fill(0, ink.top(), 0, ink.bottom());
        for (size_t i = 0; i < word.colours.size(); ++i) {
            fill.setColorAt(static_cast<qreal>(i) / static_cast<qreal>(word.colours.size() - 1),
                            word.colours[i]);
        }
        painter.fillPath(letters, fill);
        // Gloss: the upper part of each letter lightened.
        painter.save();
        painter.setClipPath(letters);
        QLinearGradient gloss(0, ink.top(), 0, ink.top() + ink.height() * 0.5);
        gloss.setColorAt(0, QColor(255, 255, 255, 150));
        gloss.setColorAt(0.8, QColor(255, 255, 255, 40));
        gloss.setColorAt(1, QColor(255, 255, 255, 0));
        painter.fillRect(QRectF(ink.left(), ink.top(), ink.width(), ink.height() * 0.48), gloss);
        painter.restore();
    });
}

// Polished gold: bands of light and shade across the letters.
QLinearGradient GoldFill(const QRectF& ink) {
    QLinearGradient gold(0, ink.top(), 0, ink.bottom());
    gold.setColorAt(0.0, QColor(255, 250, 200));
    gold.setColorAt(0.25, QColor(255, 214, 90));
    gold.setColorAt(0.5, QColor(196, 130, 30));
    gold.setColorAt(0.62, QColor(240, 190, 70));
    gold.setColorAt(0.85, QColor(255, 230, 140));
    gold.setColorAt(1.0, QColor(170, 100, 20));
    return gold;
}

DrawnArt DrawGoldWord(const char* text, uint32_t seed) {
    return DrawSupersampled(kWidth, kHeight, kFactor, [&](QPainter& painter) {
        constexpr qreal edge = 1.3;
        const QPainterPath letters =
            FittedTextPath(QString::fromLatin1(text), true, QRectF(15, 6, 146, 36), 0.92, 0.2);
        const QRectF ink = letters.boundingRect();
        const QColor brown(70, 38, 10);
        painter.strokePath(letters.translated(1.4, 1.8), RoundPen(kDark, 2 * edge));
        painter.fillPath(letters.translated(1.4, 1.8), kDark);
        painter.strokePath(letters, RoundPen(brown, 2 * edge));
        painter.fillPath(letters, GoldFill(ink));
        // A fine light line just inside the top of each letter.
        painter.save();
        painter.setClipPath(letters);
        painter.strokePath(letters.translated(0.5, 0.7), RoundPen(QColor(255, 255, 230, 120), 0.8));
        painter.restore();
        // Sparkles beside the lettering: one high on the left, a large and a
        // small one on the right.
        Scatter scatter(seed);
        const struct {
            QPointF at;
            qreal size;
        } sparkles[] = {{{ink.left() - 6, ink.top() + 6}, 5},
                        {{ink.right() + 7, ink.top() + 9}, 5.6},
                        {{ink.right() + 3, ink.bottom() - 2}, 3.4}};
        for (const auto& sparkle : sparkles) {
            const QPointF at(std::clamp<qreal>(sparkle.at.x(), 7, kWidth - 7),
                             std::clamp<qreal>(sparkle.at.y(), 7, kHeight - 7));
            const QPainterPath star =
                StarPath(at, sparkle.size * scatter.Between(0.9, 1.1), sparkle.size * 0.3, 4);
            painter.strokePath(star, RoundPen(brown, 1.6));
            painter.fillPath(star, QColor(255, 246, 190));
        }
    });
}

}  // namespace

std::vector<DecorationTheme> DrawColorfulWordThemes() {
    const CandyWord candy[] = {
        {"Happy Birthday",
         {QColor(255, 90, 90), QColor(255, 190, 50), QColor(80, 200, 120), QColor(70, 140, 255)}},
        {"I love you", {QColor(255, 120, 170), QColor(235, 30, 80), QColor(170, 10, 60)}},
        {"Thank you", {QColor(120, 240, 220), QColor(30, 170, 200), QColor(20, 90, 180)}},
        {"Congratulations", {QColor(255, 240, 120), QColor(255, 160, 30), QColor(230, 70, 40)}},
        {"Hello", {QColor(255, 235, 80), QColor(255, 150, 40), QColor(240, 80, 120)}},
        {"Cheers", {QColor(220, 150, 255), QColor(160, 70, 230), QColor(100, 30, 170)}},
    };
    std::vector<DecorationTheme> themes = {{"Candy", {}}, {"Gold", {}}};
    for (const CandyWord& word : candy) {
        themes[0].items.push_back(DrawCandyWord(word));
    }
    const char* gold[] = {"Merry Christmas", "Happy New Year", "Best Wishes", "Good Luck"};
    uint32_t seed = 1;
    for (const char* text : gold) {
        themes[1].items.push_back(DrawGoldWord(text, seed++));
    }
    return themes;
}
