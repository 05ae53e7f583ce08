#include <algorithm>

#include "decor/ChooserPage.h"
#include "decor/DecorAssets.h"

namespace {

constexpr int32_t kArrowSide = 12;

}  // namespace

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
            DrawArrow(scene.arrowUp.get(), arrowX, kArrowSide, screen);
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
