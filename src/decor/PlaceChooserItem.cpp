#include "decor/Chooser.h"
#include "decor/Decorations.h"

bool PlaceChooserItem(Scene* scene, const std::string& assetFolder, int16_t item) {
    switch (OpenChooserKind(scene->chooser)) {
        case CHOOSER_FRAME:
            return LoadFrame(scene, assetFolder, item);
        case CHOOSER_PATTERN:
            return LoadPatternStamp(scene, assetFolder, scene->chooser.patternSize, item);
        case CHOOSER_PICTURE:
            return LoadPictureObject(scene, assetFolder, item);
        case CHOOSER_WORD:
            return LoadWordObject(scene, assetFolder, item);
        case CHOOSER_COLORFUL_WORD:
            return LoadColorfulWordObject(scene, assetFolder, item);
        default:
            return false;
    }
}
