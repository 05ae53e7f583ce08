#include "platform/BrowserPainter.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>

#include "dialogs/OpenBrowser.h"
#include "platform/PhoneText.h"

namespace {

QColor ToColor(const BrowserColor& color) {
    return QColor(color.red, color.green, color.blue);
}

// A layout rectangle at the given factor, relative to the client's corner.
QRect ToRect(const BrowserRect& rect, const BrowserRect& client, int factor) {
    return QRect((rect.left - client.left) * factor, (rect.top - client.top) * factor,
                 rect.Width() * factor, rect.Height() * factor);
}

// A 1-pixel black outline on the box's outermost columns and rows, white
// inside: what a rectangle drawn with the black pen and the white brush
// covers.
void DrawOutlinedBox(QPainter& painter, const QRect& box) {
    if (box.isEmpty()) {
        return;
    }
    painter.fillRect(box, Qt::black);
    painter.fillRect(box.adjusted(1, 1, -1, -1), Qt::white);
}

// The thumbnail's part that the placement names, copied into its frame.
// The rows of the thumbnail lie bottom-up in memory, blue first.
void DrawThumbnail(QPainter& painter, const BrowserRowLayout& row, const BrowserRect& client) {
    const DibImage* thumbnail = row.thumbnail;
    const ThumbnailPlacement& place = row.placement;
    const BitmapInfoHeader& header = thumbnail->header;
    const int32_t width = header.biWidth;
    const int32_t height = header.biHeight;
    const int32_t stride = DibRowStride(width, 24);
    if (header.biBitCount != 24 || height <= 0 || stride == 0 || place.width <= 0 ||
        place.height <= 0 || place.sourceX < 0 || place.sourceY < 0 ||
        place.sourceX > width - place.width || place.sourceY > height - place.height) {
        return;
    }
    const QImage bottomUp(DibPixels(thumbnail), width, height, stride, QImage::Format_BGR888);
    const QImage topDown = bottomUp.mirrored(false, true);
    painter.drawImage(QPoint(place.x - client.left, place.y - client.top), topDown,
                      QRect(place.sourceX, place.sourceY, place.width, place.height));
}

void FillTriangle(QPainter& painter, const BrowserPoint (&corners)[3], const BrowserRect& client) {
    QPolygon triangle;
    for (const BrowserPoint& corner : corners) {
        triangle << QPoint(corner.x - client.left, corner.y - client.top);
    }
    painter.setPen(Qt::black);
    painter.setBrush(Qt::black);
    painter.drawPolygon(triangle);
}

// Everything but the texts, at the phone's size.
QImage PaintGeometry(const BrowserLayout& layout) {
    const BrowserRect& client = layout.client;
    QImage image(client.Width(), client.Height(), QImage::Format_RGB32);
    image.fill(ToColor(kBrowserBackground));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    DrawOutlinedBox(painter, ToRect(layout.listFrame, client, 1));
    for (const BrowserRowLayout& row : layout.rows) {
        painter.fillRect(ToRect(row.cell, client, 1),
                         ToColor(row.selected ? kBrowserSelection : kBrowserBackground));
        if (row.thumbnail != nullptr) {
            DrawOutlinedBox(painter, ToRect(row.placement.frame, client, 1));
            DrawThumbnail(painter, row, client);
        } else if (row.thumbnailPending) {
            const ThumbnailPlacement& place = row.placement;
            painter.fillRect(
                QRect(place.x - client.left, place.y - client.top, place.width, place.height),
                ToColor(kBrowserPlaceholder));
        }
    }
    if (layout.upArrow) {
        FillTriangle(painter, layout.upTriangle, client);
    }
    if (layout.downArrow) {
        FillTriangle(painter, layout.downTriangle, client);
    }
    return image;
}

// One line from the rectangle's top-left corner, in the screen font at the
// browser's size; a line too wide for its rectangle ends with an ellipsis.
void DrawRowText(QPainter& painter, const QRect& rect, const std::string& text, FontWeight weight,
                 int factor) {
    PhoneTextStyle style;
    style.pixelSize = kBrowserFontPixelHeight;
    style.weight = weight;
    style.color = ToColor(kBrowserText);
    style.align = Qt::AlignLeft | Qt::AlignTop;
    DrawPhoneText(painter, rect, text, style, factor);
}

}  // namespace

QImage PaintBrowser(const BrowserLayout& layout, int factor) {
    factor = std::max(factor, 1);
    const BrowserRect& client = layout.client;
    const QImage geometry = PaintGeometry(layout);
    QImage image(client.Width() * factor, client.Height() * factor, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(image.rect(), geometry);

    if (!layout.noFilesText.empty()) {
        PhoneTextStyle style;
        style.pixelSize = kBrowserFontPixelHeight;
        style.weight = FONT_BOLD;
        style.color = ToColor(kBrowserNoFilesText);
        style.align = Qt::AlignCenter;
        DrawPhoneText(painter, ToRect(layout.noFilesRect, client, factor), layout.noFilesText,
                      style, factor);
    }
    for (const BrowserRowLayout& row : layout.rows) {
        DrawRowText(painter, ToRect(row.nameRect, client, factor), row.name, FONT_BOLD, factor);
        DrawRowText(painter, ToRect(row.infoRect, client, factor), row.info, FONT_REGULAR, factor);
    }
    return image;
}
