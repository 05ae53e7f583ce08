// The clipped copies every chooser page is made of.
#include <algorithm>
#include <cstddef>
#include <cstring>

#include "decor/ChooserPage.h"
#include "decor/LayerGeometry.h"

namespace {

constexpr int32_t kCellSide = 12;  // arrows and digit labels
constexpr int32_t kDigitCount = 10;

}  // namespace

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

void DrawShapePreview(const DibImage* shape, int32_t x, int32_t y, PixelColor colour,
                      uint8_t* screen) {
    const PhotoView view = ViewMask(shape);
    if (view.pixels == nullptr) {
        return;
    }
    const int32_t c[3] = {ChannelByte(colour.blue), ChannelByte(colour.green),
                          ChannelByte(colour.red)};
    const LayerClip clip = ClipLayer(x, y, view.width, view.height);
    const int32_t stride = DibRowStride(view.width, 8);
    for (int32_t row = 0; row < clip.rows; ++row) {
        const uint8_t* levels =
            view.pixels + static_cast<ptrdiff_t>(clip.firstRow + row) * stride + clip.firstColumn;
        uint8_t* p =
            screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3;
        for (int32_t column = 0; column < clip.columns; ++column, p += 3) {
            const int32_t m = levels[column];
            for (int i = 0; i < 3; ++i) {
                p[i] = static_cast<uint8_t>((c[i] * m + 127) / 255);
            }
        }
    }
}

void DrawArrow(const DibImage* arrow, int32_t x, int32_t y, uint8_t* screen) {
    // An arrow never spills out of its 12 x 12 place.
    DrawGreyLevels(arrow, x, y, kCellSide, kCellSide, screen);
}

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

void FillWhite(int32_t x, int32_t y, int32_t width, int32_t height, uint8_t* screen) {
    const LayerClip clip = ClipLayer(x, y, width, height);
    for (int32_t row = 0; row < clip.rows; ++row) {
        std::memset(screen + (y + clip.firstRow + row) * kCanvasStride + (x + clip.firstColumn) * 3,
                    255, static_cast<size_t>(clip.columns) * 3);
    }
}
