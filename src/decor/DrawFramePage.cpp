#include <algorithm>

#include "decor/ChooserPage.h"
#include "decor/DecorAssets.h"

namespace {

constexpr int32_t kPreviewWidth = 44;
constexpr int32_t kPreviewHeight = 45;
constexpr int32_t kPerRow = 4;
constexpr int32_t kPerPage = 8;
constexpr int32_t kArrowRows = 12;
constexpr int32_t kLabelInset = 16;

}  // namespace

void DrawFramePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen) {
    const ChooserPageItems page = PageItemsOf(scene.chooser);
    if (page.down) {
        DrawArrow(scene.arrowDown.get(), 76, 0, screen);
    }
    if (page.up) {
        DrawArrow(scene.arrowUp.get(), 88, 0, screen);
    }
    // The arrows' row is kept whenever the theme has more pages, so the
    // previews stand at the same place on every page.
    const int32_t base = page.down || page.up ? kArrowRows : 0;
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
