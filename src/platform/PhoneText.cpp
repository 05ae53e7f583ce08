#include "platform/PhoneText.h"

#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QStringList>

#include <algorithm>
#include <string>

namespace {

TextStyle ScaledStyle(int pixelSize, FontWeight weight, int factor) {
    TextStyle style;
    style.weight = weight;
    style.pixelSize = pixelSize * std::max(factor, 1);
    return style;
}

// The font's family as Qt knows it after registering its files, or empty.
QString RegisteredFamily() {
    static const QString family = [] {
        QString name;
        for (const FontWeight weight : {FONT_REGULAR, FONT_BOLD}) {
            const int id =
                QFontDatabase::addApplicationFont(QString::fromStdString(ScreenFontPath(weight)));
            const QStringList families = QFontDatabase::applicationFontFamilies(id);
            if (name.isEmpty() && !families.isEmpty()) {
                name = families.front();
            }
        }
        return name;
    }();
    return family;
}

}  // namespace

int PhoneTextWidth(std::string_view text, int pixelSize, FontWeight weight, int factor) {
    return ScreenFonts().Measure(text, ScaledStyle(pixelSize, weight, factor));
}

int PhoneTextPhoneWidth(std::string_view text, int pixelSize, FontWeight weight, int factor) {
    factor = std::max(factor, 1);
    return (PhoneTextWidth(text, pixelSize, weight, factor) + factor - 1) / factor;
}

void DrawPhoneText(QPainter& painter, const QRect& box, std::string_view text,
                   const PhoneTextStyle& style, int factor) {
    const TextFonts& fonts = ScreenFonts();
    TextStyle scaled = ScaledStyle(style.pixelSize, style.weight, factor);
    const std::string fitted = fonts.Fit(text, scaled, box.width());
    const TextLineMetrics metrics = fonts.LineMetrics(scaled);
    if (fitted.empty() || metrics.height <= 0 || box.isEmpty()) {
        return;
    }
    const int width = fonts.Measure(fitted, scaled);
    int left = box.left();
    if (style.align & Qt::AlignRight) {
        left = box.left() + box.width() - width;
    } else if (style.align & Qt::AlignHCenter) {
        left = box.left() + (box.width() - width) / 2;
    }
    int top = box.top() + (box.height() - metrics.height) / 2;
    if (style.align & Qt::AlignTop) {
        top = box.top();
    } else if (style.align & Qt::AlignBottom) {
        top = box.top() + box.height() - metrics.height;
    }
    // The glyphs are drawn as coverage into a mask with room for their
    // bearings, then laid over the picture in the style's colour.
    const int margin = scaled.pixelSize / 2 + 1;
    QImage mask(width + 2 * margin, metrics.height, QImage::Format_Grayscale8);
    mask.fill(0);
    TextCanvas canvas;
    canvas.pixels = mask.bits();
    canvas.width = mask.width();
    canvas.height = mask.height();
    canvas.stride = static_cast<int32_t>(mask.bytesPerLine());
    canvas.bitsPerPixel = 8;
    fonts.Draw(canvas, {margin, metrics.ascent}, fitted, scaled);
    QImage ink(mask.size(), QImage::Format_ARGB32_Premultiplied);
    const QColor& colour = style.color;
    for (int y = 0; y < mask.height(); ++y) {
        const uchar* coverage = mask.constScanLine(y);
        auto* row = reinterpret_cast<QRgb*>(ink.scanLine(y));
        for (int x = 0; x < mask.width(); ++x) {
            const int a = coverage[x];
            row[x] =
                qRgba(colour.red() * a / 255, colour.green() * a / 255, colour.blue() * a / 255, a);
        }
    }
    painter.drawImage(QPoint(left - margin, top), ink);
}

QFont PhoneQtFont(int pixelSize, bool bold) {
    const QString family = RegisteredFamily();
    QFont font;
    if (!family.isEmpty()) {
        font.setFamily(family);
    } else {
        font.setStyleHint(QFont::SansSerif);
    }
    font.setPixelSize(std::max(pixelSize, 1));
    font.setBold(bold);
    return font;
}
