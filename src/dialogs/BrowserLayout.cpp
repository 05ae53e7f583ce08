// What the picture area shows while the browser is up: the frame of the
// list, its rows with thumbnails and texts, and the scroll arrows.
#include <utility>

#include "dialogs/OpenBrowser.h"

namespace {

// Room left around the list inside the client area, and the strip below
// the list that holds the arrows.
constexpr int32_t kClientMargin = 2;
constexpr int32_t kArrowStrip = 20;
constexpr int32_t kCellMargin = 2;
constexpr int32_t kBoxMargin = 2;
constexpr int32_t kBoxWidth = 44;
constexpr int32_t kTextLeft = 50;
constexpr int32_t kThumbnailFrame = 2;

BrowserRect Shrink(const BrowserRect& r, int32_t by) {
    return {r.left + by, r.top + by, r.right - by, r.bottom - by};
}

}  // namespace

ThumbnailPlacement PlaceThumbnail(const BrowserRect& box, int32_t width, int32_t height) {
    ThumbnailPlacement place;
    const int32_t boxWidth = box.Width();
    const int32_t boxHeight = box.Height();
    if (width > boxWidth) {
        place.sourceX = (width - boxWidth) / 2;
        width = boxWidth;
    }
    if (height > boxHeight) {
        place.sourceY = (height - boxHeight) / 2;
        height = boxHeight;
    }
    place.width = width;
    place.height = height;
    place.x = box.left + (boxWidth - width) / 2;
    place.y = box.top + (boxHeight - height) / 2;
    place.frame = {place.x - kThumbnailFrame, place.y - kThumbnailFrame,
                   place.x + width + kThumbnailFrame, place.y + height + kThumbnailFrame};
    return place;
}

// The client area less its margin; the list ends above the arrow strip.
BrowserRect OpenBrowser::ListArea() const {
    const BrowserRect inner = Shrink(client_, kClientMargin);
    return {inner.left, inner.top, inner.right, inner.bottom - kArrowStrip};
}

BrowserLayout OpenBrowser::Layout() const {
    BrowserLayout layout;
    layout.client = client_;
    layout.listFrame = ListArea();
    if (entries_.empty()) {
        layout.noFilesText = noFilesText_;
        layout.noFilesRect = Shrink(client_, kClientMargin);
    }

    BrowserRect row = {layout.listFrame.left, layout.listFrame.top, layout.listFrame.right,
                       layout.listFrame.top + kBrowserRowHeight};
    for (int32_t i = top_; i >= 0 && i < Count() && i < top_ + rows_; ++i) {
        const BrowserEntry& entry = Entry(i);
        BrowserRowLayout out;
        out.index = i;
        out.selected = i == selection_;
        out.cell = Shrink(row, kCellMargin);
        const BrowserRect& cell = out.cell;
        out.thumbnailBox = {cell.left + kBoxMargin, cell.top + kBoxMargin,
                            cell.left + kBoxMargin + kBoxWidth, cell.bottom - kBoxMargin};
        const int32_t middle = cell.top + cell.Height() / 2;
        out.nameRect = {cell.left + kTextLeft, cell.top, cell.right, middle};
        out.infoRect = {cell.left + kTextLeft, middle + 1, cell.right, cell.bottom};
        out.name = entry.name;
        out.info = BrowserSizeText(entry.size) + " " + BrowserDateText(entry.written);
        out.thumbnail = entry.thumbnail.get();
        if (out.thumbnail != nullptr) {
            out.placement = PlaceThumbnail(out.thumbnailBox, out.thumbnail->header.biWidth,
                                           out.thumbnail->header.biHeight);
        }
        layout.rows.push_back(std::move(out));
        row.top += kBrowserRowHeight;
        row.bottom += kBrowserRowHeight;
    }

    // The arrows say that more entries lie above or below the selection.
    const int32_t count = Count();
    layout.upArrow = selection_ != 0 && count > rows_;
    layout.downArrow = selection_ < count - 1 && count > rows_;
    const int32_t cx = client_.left + client_.Width() / 2;
    const int32_t cy = layout.listFrame.bottom + (client_.bottom - layout.listFrame.bottom) / 2;
    layout.upTriangle[0] = {cx, cy - 6};
    layout.upTriangle[1] = {cx - 4, cy - 2};
    layout.upTriangle[2] = {cx + 4, cy - 2};
    layout.downTriangle[0] = {cx, cy + 6};
    layout.downTriangle[1] = {cx - 4, cy + 2};
    layout.downTriangle[2] = {cx + 4, cy + 2};
    return layout;
}
