#include <algorithm>

#include "decor/ChooserPage.h"
#include "decor/DecorAssets.h"

namespace {

constexpr int32_t kPerPage = 3;
constexpr int32_t kWordHeight = 50;
constexpr int32_t kArrowRows = 12;
constexpr int32_t kWhiteRows = 2;

}  // namespace

void DrawWordPage(const Scene& scene, const std::string& assetFolder, bool colourful,
                  uint8_t* screen) {
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
    int32_t row = kArrowRows + kWordHeight * (kPerPage - n);
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
