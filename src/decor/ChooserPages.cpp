// The chooser's pages: the clipped copies every page is made of, the four
// page layouts (described with AssetChooserPainter in decor/Chooser.h), and
// the painter that picks the page of the open chooser.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "decor/Chooser.h"
#include "decor/DecorAssets.h"
#include "decor/LayerGeometry.h"

namespace {

constexpr int32_t kCellSide = 12;  // arrows and digit labels
constexpr int32_t kDigitCount = 10;

// The items of the chooser's current page: item numbers first ..
// first + count - 1 (1-based), and which arrows it shows. count is 0 when
// the chooser's fields describe no item on this page.
struct ChooserPageItems {
    int32_t first = 0;
    int32_t count = 0;
    bool down = false;  // a later page exists
    bool up = false;    // an earlier page exists
};

ChooserPageItems PageItemsOf(const ChooserState& chooser) {
    ChooserPageItems items;
    if (chooser.itemsPerPage < 1 || chooser.page < 0) {
        return items;
    }
    const int32_t before = static_cast<int32_t>(chooser.itemsPerPage) * chooser.page;
    items.count = std::min<int32_t>(chooser.itemsPerPage, chooser.itemCount - before);
    if (items.count < 1) {
        items.count = 0;
        return items;
    }
    items.first = before + 1;
    items.down = chooser.page < chooser.pageCount - 1;
    items.up = chooser.page > 0;
    return items;
}

// Copies a 24-bit picture whole, its lowest-left pixel at x, y. Nothing for
// a missing picture.
void CopyPreview(const DibImage* picture, int32_t x, int32_t y, uint8_t* screen) {
    const PhotoView view = ViewPhoto(picture);
    if (view.pixels == nullptr) {
        return;
    }
    const LayerClip clip = ClipLayer(x, y, view.width, view.height);
    const int32_t stride = DibRowStride(view.width, 24);
    for (int32_t row = 0; row < clip.rows; ++row) {
        std::memcpy(screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3,
                    view.pixels + static_cast<ptrdiff_t>(clip.firstRow + row) * stride +
                        clip.firstColumn * 3,
                    static_cast<size_t>(clip.columns) * 3);
    }
}

// Draws a grey shape whole in the current colour.
void DrawShapePreview(const DibImage* shape, int32_t x, int32_t y, PixelColor colour,
                      uint8_t* screen) {
    const uint8_t tint[3] = {ChannelByte(colour.blue), ChannelByte(colour.green),
                             ChannelByte(colour.red)};
    DrawTintedLevels(shape, x, y, INT32_MAX, INT32_MAX, tint, screen);
}

// Writes the first 12 x 12 levels of an arrow as grey.
void DrawArrow(const DibImage* arrow, int32_t x, int32_t y, uint8_t* screen) {
    // An arrow never spills out of its 12 x 12 place.
    DrawGreyLevels(arrow, x, y, kCellSide, kCellSide, screen);
}

// The label of the k-th item of a page (1 .. 10): cell k of the 120 x 12
// digit strip, cell 0 for the tenth.
void DrawDigitLabel(const DibImage* digits, int32_t k, int32_t x, int32_t y, uint8_t* screen) {
    const PhotoView view = ViewPhoto(digits);
    if (view.pixels == nullptr || view.width < kCellSide * kDigitCount || view.height < kCellSide ||
        k < 1 || k > kDigitCount) {
        return;
    }
    const int32_t digit = k % kDigitCount;
    const LayerClip clip = ClipLayer(x, y, kCellSide, kCellSide);
    const int32_t stride = DibRowStride(view.width, 24);
    for (int32_t row = 0; row < clip.rows; ++row) {
        std::memcpy(screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3,
                    view.pixels + static_cast<ptrdiff_t>(clip.firstRow + row) * stride +
                        (digit * kCellSide + clip.firstColumn) * 3,
                    static_cast<size_t>(clip.columns) * 3);
    }
}

// Fills a rectangle with white.
void FillWhite(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* screen) {
    const LayerClip clip = ClipLayer(x, y, width, height);
    for (int32_t row = 0; row < clip.rows; ++row) {
        std::memset(screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3,
                    255, static_cast<size_t>(clip.columns) * 3);
    }
}

// The page drawings. Each reads the chooser state, the selected theme and
// the built-in pictures from the scene and draws into the screen's rows; the
// layouts are those AssetChooserPainter describes.
void DrawFramePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen) {
    constexpr int32_t kPreviewWidth = 44;
    constexpr int32_t kPreviewHeight = 45;
    constexpr int32_t kPerRow = 4;
    constexpr int32_t kPerPage = 8;
    constexpr int32_t kLabelInset = 16;

    const ChooserPageItems page = PageItemsOf(scene.chooser);
    if (page.down) {
        DrawArrow(scene.arrowDown.get(), 76, 0, screen);
    }
    if (page.up) {
        DrawArrow(scene.arrowUp.get(), 88, 0, screen);
    }
    // The arrows' row is kept whenever the theme has more pages, so the
    // previews stand at the same place on every page.
    const int32_t base = page.down || page.up ? kCellSide : 0;
    const int32_t n = std::min(page.count, kPerPage);
    for (int32_t k = 1; k <= n; ++k) {
        // With more than four, the first four fill the upper row.
        const int32_t y = n > kPerRow && k <= kPerRow ? base + kPreviewHeight : base;
        const int32_t x = ((k - 1) % kPerRow) * kPreviewWidth;
        DibBlock preview = LoadAsset(assetFolder, scene.themes, ASSET_FRAME_PREVIEW,
                                     static_cast<int16_t>(page.first + k - 1));
        CopyPreview(preview.get(), x, y, screen);
        DrawDigitLabel(scene.digits.get(), k, x + kLabelInset, y + kLabelInset, screen);
    }
}

void DrawPatternPage(const Scene& scene, const std::string& assetFolder, uint8_t* screen) {
    const int32_t s = scene.chooser.patternSize;
    if (s != 12 && s != 24) {
        return;
    }
    const int32_t perPage = s == 12 ? 10 : 6;
    const AssetUse use = s == 12 ? ASSET_PATTERN12 : ASSET_PATTERN24;
    const ChooserPageItems page = PageItemsOf(scene.chooser);

    // A strip of cells s + 1 wide; with more pages its first cell holds the
    // arrows and a spare cell balances it on the right.
    const bool paged = scene.chooser.pageCount > 1;
    const int32_t cell = s + 1;
    const int32_t stripWidth = (paged ? perPage + 2 : perPage) * cell;
    const int32_t left = (180 - stripWidth) / 2;
    int32_t itemStart = left;
    if (paged) {
        // Six 24 x 24 cells and two more need 200 columns: the strip begins
        // at -10 and its arrow cell would lie off the screen. The arrows
        // then stand at the screen's left edge, still left of the items.
        const int32_t arrowX = std::max(left, 0);
        if (page.down) {
            DrawArrow(scene.arrowDown.get(), arrowX, 0, screen);
        }
        if (page.up) {
            DrawArrow(scene.arrowUp.get(), arrowX, kCellSide, screen);
        }
        itemStart = left + cell;
    }

    const int32_t n = std::min(page.count, perPage);
    for (int32_t k = 1; k <= n; ++k) {
        const int32_t x = itemStart + (k - 1) * cell;
        DibBlock shape =
            LoadAsset(assetFolder, scene.themes, use, static_cast<int16_t>(page.first + k - 1));
        DrawShapePreview(shape.get(), x, 0, scene.currentColor, screen);
        if (k < n) {
            FillWhite(x + s, 0, 1, s, screen);
        }
        DrawDigitLabel(scene.digits.get(), k, x, s, screen);
    }
}

void DrawPicturePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen) {
    constexpr int32_t kPreviewSide = 60;
    constexpr int32_t kPerPage = 6;
    constexpr int32_t kTopGridRow = 120;  // the first grid row's lowest screen row
    constexpr int32_t kLeftColumn = 19;
    constexpr int32_t kRightColumn = 95;
    constexpr int32_t kArrowX = 164;
    constexpr int32_t kLabelGap = 12;

    const ChooserPageItems page = PageItemsOf(scene.chooser);
    if (page.down) {
        DrawArrow(scene.arrowDown.get(), kArrowX, 0, screen);
    }
    if (page.up) {
        DrawArrow(scene.arrowUp.get(), kArrowX, page.down ? kCellSide : 0, screen);
    }
    const int32_t n = std::min(page.count, kPerPage);
    for (int32_t k = 1; k <= n; ++k) {
        // Two to a grid row, the first grid row at the top of the screen.
        const int32_t y = kTopGridRow - ((k - 1) / 2) * kPreviewSide;
        const int32_t x = (k - 1) % 2 == 0 ? kLeftColumn : kRightColumn;
        DibBlock preview = LoadAsset(assetFolder, scene.themes, ASSET_PICTURE,
                                     static_cast<int16_t>(page.first + k - 1));
        CopyPreview(preview.get(), x, y, screen);
        DrawDigitLabel(scene.digits.get(), k, x - kLabelGap, y, screen);
    }
}

void DrawWordPage(const Scene& scene, const std::string& assetFolder, bool colourful,
                  uint8_t* screen) {
    constexpr int32_t kPerPage = 3;
    constexpr int32_t kWordHeight = 50;
    constexpr int32_t kWhiteRows = 2;

    const ChooserPageItems page = PageItemsOf(scene.chooser);
    if (page.down && page.up) {
        DrawArrow(scene.arrowDown.get(), 76, 0, screen);
        DrawArrow(scene.arrowUp.get(), 88, 0, screen);
    } else if (page.down || page.up) {
        DrawArrow(page.down ? scene.arrowDown.get() : scene.arrowUp.get(), 82, 0, screen);
    }
    const int32_t n = std::min(page.count, kPerPage);
    if (n < 1) {
        return;
    }
    // From the bottom: the page's last item lowest, its first highest, with
    // white rows around each; a short page leaves the lowest places empty.
    int32_t row = kCellSide + kWordHeight * (kPerPage - n);
    FillWhite(0, row, kCanvasWidth, kWhiteRows, screen);
    row += kWhiteRows;
    for (int32_t k = n; k >= 1; --k) {
        const int16_t item = static_cast<int16_t>(page.first + k - 1);
        if (colourful) {
            DibBlock preview = LoadAsset(assetFolder, scene.themes, ASSET_COLORFUL_WORD, item);
            CopyPreview(preview.get(), 0, row, screen);
        } else {
            DibBlock shape = LoadAsset(assetFolder, scene.themes, ASSET_WORD, item);
            DrawShapePreview(shape.get(), 0, row, scene.currentColor, screen);
        }
        DrawDigitLabel(scene.digits.get(), k, 0, row, screen);
        row += kWordHeight;
        FillWhite(0, row, kCanvasWidth, kWhiteRows, screen);
        row += kWhiteRows;
    }
}

}  // namespace

void AssetChooserPainter::DrawPage(const Scene& scene, uint8_t* screenPixels) {
    if (screenPixels == nullptr || PageItemsOf(scene.chooser).count == 0) {
        return;
    }
    switch (OpenChooserKind(scene.chooser)) {
        case CHOOSER_PATTERN:
            DrawPatternPage(scene, assetFolder_, screenPixels);
            break;
        case CHOOSER_PICTURE:
            DrawPicturePage(scene, assetFolder_, screenPixels);
            break;
        case CHOOSER_WORD:
            DrawWordPage(scene, assetFolder_, false, screenPixels);
            break;
        case CHOOSER_COLORFUL_WORD:
            DrawWordPage(scene, assetFolder_, true, screenPixels);
            break;
        case CHOOSER_FRAME:
            DrawFramePage(scene, assetFolder_, screenPixels);
            break;
        default:
            break;
    }
}
