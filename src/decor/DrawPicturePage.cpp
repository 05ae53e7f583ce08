#include <algorithm>

#include "decor/ChooserPage.h"
#include "decor/DecorAssets.h"

namespace {

constexpr int32_t kPreviewSide = 60;
constexpr int32_t kPerPage = 6;
constexpr int32_t kTopGridRow = 120;  // the first grid row's lowest screen row
constexpr int32_t kLeftColumn = 19;
constexpr int32_t kRightColumn = 95;
constexpr int32_t kArrowX = 164;
constexpr int32_t kArrowSide = 12;
constexpr int32_t kLabelGap = 12;

}  // namespace

void DrawPicturePage(const Scene& scene, const std::string& assetFolder, uint8_t* screen) {
    const ChooserPageItems page = PageItemsOf(scene.chooser);
    if (page.down) {
        DrawArrow(scene.arrowDown.get(), kArrowX, 0, screen);
    }
    if (page.up) {
        DrawArrow(scene.arrowUp.get(), kArrowX, page.down ? kArrowSide : 0, screen);
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
