// The five 16 x 15 icons of the folder tree, side by side on white (the
// dialog treats white as transparent): open folder, closed folder, device (a
// phone), network (a globe), document. Drawn with the strip's own 16 colours
// so that little is lost when the strip is stored at 4 bits a pixel.
#include <QPainter>
#include <QPainterPath>

#include "AssetTool.h"

namespace {

enum IconColor {
    ICON_BLACK,
    ICON_DARK_GREY,
    ICON_GREY,
    ICON_SILVER,
    ICON_WHITE,
    ICON_FOLDER_EDGE,
    ICON_FOLDER,
    ICON_FOLDER_LIGHT,
    ICON_FOLDER_SHINE,
    ICON_NAVY,
    ICON_BLUE,
    ICON_SKY,
    ICON_GREEN,
    ICON_DARK_GREEN,
    ICON_PAPER,
    ICON_RED,
};

QColor Ink(IconColor color) {
    return QColor(kFolderIconPalette[color]);
}

QPen Edge(IconColor color) {
    QPen pen(Ink(color), 1.0);
    pen.setJoinStyle(Qt::MiterJoin);
    return pen;
}

// The back of a folder: its tab and body, outlined.
void DrawFolderBack(QPainter& painter) {
    QPainterPath back;
    back.moveTo(1.5, 13.5);
    back.lineTo(1.5, 2.5);
    back.lineTo(6.5, 2.5);
    back.lineTo(7.5, 3.5);
    back.lineTo(14.5, 3.5);
    back.lineTo(14.5, 13.5);
    back.closeSubpath();
    painter.setPen(Edge(ICON_FOLDER_EDGE));
    painter.setBrush(Ink(ICON_FOLDER));
    painter.drawPath(back);
}

void DrawClosedFolder(QPainter& painter) {
    DrawFolderBack(painter);
    painter.setPen(Edge(ICON_FOLDER_EDGE));
    painter.setBrush(Ink(ICON_FOLDER_LIGHT));
    painter.drawRect(QRectF(1.5, 5.5, 13, 8));
    painter.setPen(Edge(ICON_FOLDER_SHINE));
    painter.drawLine(QPointF(2.5, 6.5), QPointF(13.5, 6.5));
}

void DrawOpenFolder(QPainter& painter) {
    DrawFolderBack(painter);
    // A sheet sticking out of the folder.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink(ICON_PAPER));
    painter.drawRect(QRect(4, 5, 9, 3));
    // The front flap, opened towards the viewer.
    QPainterPath flap;
    flap.moveTo(4.5, 7.5);
    flap.lineTo(15.5, 7.5);
    flap.lineTo(12.5, 13.5);
    flap.lineTo(1.5, 13.5);
    flap.closeSubpath();
    painter.setPen(Edge(ICON_FOLDER_EDGE));
    painter.setBrush(Ink(ICON_FOLDER_LIGHT));
    painter.drawPath(flap);
}

// A handset with a screen and a keypad. Only straight edges on whole
// pixels, so it stays crisp; the corners are cut off by hand.
void DrawPhone(QPainter& painter) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink(ICON_BLACK));
    painter.drawRect(QRect(5, 0, 7, 15));
    painter.drawRect(QRect(4, 1, 9, 13));
    painter.setBrush(Ink(ICON_DARK_GREY));
    painter.drawRect(QRect(5, 1, 7, 13));
    painter.setBrush(Ink(ICON_SKY));
    painter.drawRect(QRect(6, 2, 5, 5));
    painter.setBrush(Ink(ICON_SILVER));
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            painter.drawRect(QRect(6 + 2 * column, 8 + 2 * row, 1, 1));
        }
    }
}

// A globe in plain pixels: at this size softened edges would only turn into
// stray greys once the strip is cut down to its 16 colours.
void DrawGlobe(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Ink(ICON_NAVY));
    painter.setBrush(Ink(ICON_BLUE));
    painter.drawEllipse(QRect(2, 2, 11, 11));
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink(ICON_GREEN));
    painter.drawRect(QRect(4, 4, 3, 3));
    painter.drawRect(QRect(5, 3, 2, 1));
    painter.drawRect(QRect(9, 9, 3, 2));
    painter.drawRect(QRect(9, 11, 2, 1));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Ink(ICON_SKY));
    painter.drawEllipse(QRect(5, 3, 5, 9));
    painter.drawLine(3, 7, 12, 7);
}

void DrawDocument(QPainter& painter) {
    QPainterPath page;
    page.moveTo(2.5, 0.5);
    page.lineTo(9.5, 0.5);
    page.lineTo(13.5, 4.5);
    page.lineTo(13.5, 14.5);
    page.lineTo(2.5, 14.5);
    page.closeSubpath();
    painter.setPen(Edge(ICON_GREY));
    painter.setBrush(Ink(ICON_PAPER));
    painter.drawPath(page);
    // The folded corner.
    QPainterPath fold;
    fold.moveTo(9.5, 0.5);
    fold.lineTo(9.5, 4.5);
    fold.lineTo(13.5, 4.5);
    painter.setBrush(Ink(ICON_SILVER));
    painter.drawPath(fold);
    // Lines of text.
    painter.setPen(Qt::NoPen);
    painter.setBrush(Ink(ICON_BLUE));
    const int lengths[] = {5, 8, 8, 6, 8};
    for (int line = 0; line < 5; ++line) {
        painter.drawRect(QRect(4, 4 + 2 * line, lengths[line], 1));
    }
}

}  // namespace

const QRgb kFolderIconPalette[16] = {
    qRgb(0, 0, 0),       qRgb(72, 72, 80),  qRgb(128, 128, 128), qRgb(196, 196, 196),
    qRgb(255, 255, 255), qRgb(150, 98, 18), qRgb(230, 170, 40),  qRgb(250, 210, 100),
    qRgb(255, 240, 180), qRgb(20, 40, 110), qRgb(40, 100, 210),  qRgb(150, 200, 250),
    qRgb(60, 170, 80),   qRgb(20, 100, 40), qRgb(244, 244, 236), qRgb(210, 40, 30),
};

QImage DrawFolderIcons() {
    QImage strip(80, 15, QImage::Format_RGB32);
    strip.fill(Ink(ICON_WHITE));
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    void (*const icons[])(QPainter&) = {DrawOpenFolder, DrawClosedFolder, DrawPhone, DrawGlobe,
                                        DrawDocument};
    for (int i = 0; i < 5; ++i) {
        painter.save();
        painter.setClipRect(16 * i, 0, 16, 15);
        painter.translate(16 * i, 0);
        icons[i](painter);
        painter.restore();
    }
    return strip;
}
