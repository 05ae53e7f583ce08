// The built-in resources: small interface pictures the editor draws on the
// phone screen, the folder icons of the Select Folder dialog and the program
// icon. Each is drawn by one function and written in the form the program
// reads it in (ResourceDib finds the rows of every BMP behind its full
// palette).
#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "AssetTool.h"

namespace {

constexpr int kArrowSide = 12;
constexpr int kDigitCell = 12;
constexpr int kSpectrumWidth = 176;
constexpr int kSpectrumHeight = 50;
// The spectrum's pure red column and the green it carries there: the colour
// picker starts at that column, so this is the editor's first colour.
constexpr int kSpectrumRedColumn = 88;
constexpr int kSpectrumRedGreen = 5;

QFont InterfaceFont(int pixelSize, QFont::Weight weight) {
    QFont font(QStringLiteral("sans-serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// A white arrow pointing up on black: a broad head over a short shaft, both
// on whole pixels where the edges are straight so that only the slanted
// sides are softened.
QImage DrawArrowUp() {
    QImage image(kArrowSide, kArrowSide, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath arrow;
    arrow.moveTo(6.0, 1.0);
    arrow.lineTo(11.0, 6.5);
    arrow.lineTo(8.0, 6.5);
    arrow.lineTo(8.0, 11.0);
    arrow.lineTo(4.0, 11.0);
    arrow.lineTo(4.0, 6.5);
    arrow.lineTo(1.0, 6.5);
    arrow.closeSubpath();
    painter.fillPath(arrow, Qt::white);
    return image;
}

// The digits 0 to 9 in white, each centred in a blue 12 x 12 cell. At nine
// pixels high, hinted solid glyphs read far better than softened ones, which
// blur into the blue; so these are drawn without anti-aliasing.
QImage DrawDigitStrip() {
    QImage image(10 * kDigitCell, kDigitCell, QImage::Format_RGB32);
    image.fill(QColor(24, 64, 200));
    QPainter painter(&image);
    QFont font = InterfaceFont(12, QFont::Bold);
    font.setStyleStrategy(QFont::NoAntialias);
    painter.setFont(font);
    painter.setPen(Qt::white);
    for (int digit = 0; digit < 10; ++digit) {
        painter.drawText(QRect(digit * kDigitCell, 0, kDigitCell, kDigitCell), Qt::AlignCenter,
                         QString::number(digit));
    }
    return image;
}

// Hues measured round the circle in sixths of 255 steps: red at 0, green at
// 510, blue at 1020.
constexpr int kHueCircle = 6 * 255;

// The level of the channel whose pure colour sits at `place`: full within a
// sixth of the circle either side, falling evenly to nothing over the next.
int ChannelLevel(int hue, int place) {
    const int distance =
        std::abs((hue - place + kHueCircle + kHueCircle / 2) % kHueCircle - kHueCircle / 2);
    return std::clamp(510 - distance, 0, 255);
}

// One hue per column at full saturation and value, the same in every row.
// The hue runs once round the circle across the width, with pure red (blue
// 0, green 5, red 255) at column 88. Every column's hue is the same
// truncated step from the left edge, so the steps are even across the red
// column too.
DibBlock MakeSpectrum() {
    DibBlock dib = DibCreate(kSpectrumWidth, kSpectrumHeight, 24);
    if (!dib) {
        return nullptr;
    }
    uint8_t* row = DibPixels(dib.get());
    for (int x = 0; x < kSpectrumWidth; ++x) {
        const int hue = (x * kHueCircle / kSpectrumWidth + kHueCircle + kSpectrumRedGreen -
                         kSpectrumRedColumn * kHueCircle / kSpectrumWidth) %
                        kHueCircle;
        const int red = ChannelLevel(hue, 0);
        const int green = ChannelLevel(hue, 510);
        const int blue = ChannelLevel(hue, 1020);
        row[3 * x] = static_cast<uint8_t>(blue);
        row[3 * x + 1] = static_cast<uint8_t>(green);
        row[3 * x + 2] = static_cast<uint8_t>(red);
    }
    const int32_t stride = DibRowStride(kSpectrumWidth, 24);
    for (int y = 1; y < kSpectrumHeight; ++y) {
        std::copy(row, row + stride, row + y * stride);
    }
    return dib;
}

// "Please choose one :" in dark grey on a light band, drawn over the chooser.
QImage DrawBanner() {
    QImage image(176, 16, QImage::Format_RGB32);
    image.fill(QColor(236, 236, 236));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(0, 0, 175, 0);
    painter.drawLine(0, 15, 175, 15);
    painter.setFont(InterfaceFont(12, QFont::Bold));
    painter.setPen(QColor(32, 32, 32));
    painter.drawText(QRect(0, 0, 176, 16), Qt::AlignCenter, QStringLiteral("Please choose one :"));
    return image;
}

bool SaveGrey(const QString& path, const QImage& image) {
    const DibBlock dib = GreyDibFromImage(image);
    return SaveDib(path, dib.get());
}

bool SaveColor(const QString& path, const QImage& image) {
    const DibBlock dib = ColorDibFromImage(image);
    return SaveDib(path, dib.get());
}

bool SavePng(const QString& path, const QImage& image) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
        std::fprintf(stderr, "fotakle-assets: cannot encode %s\n", qPrintable(path));
        return false;
    }
    return SaveBytes(path, png.constData(), static_cast<size_t>(png.size()));
}

}  // namespace

bool WriteResources(const QString& folder) {
    const QImage arrowUp = DrawArrowUp();
    const DibBlock spectrum = MakeSpectrum();
    return SaveGrey(folder + "/440.bmp", arrowUp) &&
           SaveGrey(folder + "/441.bmp", arrowUp.mirrored(false, true)) &&
           SaveColor(folder + "/451.bmp", DrawDigitStrip()) &&
           SaveDib(folder + "/460.bmp", spectrum.get()) &&
           Save4BitBmp(folder + "/3001.bmp", DrawFolderIcons(), kFolderIconPalette) &&
           SaveGrey(folder + "/3002.bmp", DrawBanner()) &&
           SavePng(folder + "/300.png", DrawProgramIcon(64));
}

const int kProgramIconSides[6] = {16, 32, 48, 64, 128, 256};

bool WriteProgramIcons(const QString& folder) {
    for (const int side : kProgramIconSides) {
        if (!SavePng(QStringLiteral("%1/%2x%2.png").arg(folder).arg(side), DrawProgramIcon(side))) {
            return false;
        }
    }
    return true;
}
