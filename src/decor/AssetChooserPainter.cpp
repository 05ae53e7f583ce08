#include "decor/AssetChooserPainter.h"

#include "decor/Chooser.h"
#include "decor/ChooserPage.h"

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
