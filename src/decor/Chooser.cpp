// The chooser's state: which chooser shows which kind, opening it on a
// theme, its keys, and placing the item a digit picks.
#include "decor/Chooser.h"

#include "decor/Decorations.h"

namespace {

// The Pattern chooser shows Pattern12 or Pattern24 by its pattern size.
constexpr int16_t kPattern12Size = 12;
constexpr int16_t kPattern24Size = 24;

// How many previews fit on a page of each kind, and the pattern size its
// items are placed at (0: the Frame chooser leaves the size as it is).
struct ChooserLayout {
    int16_t itemsPerPage;
    int16_t patternSize;
};
constexpr ChooserLayout kLayouts[kDecorationKinds] = {
    {8, 0}, {10, 12}, {6, 24}, {6, 60}, {3, 50}, {3, 50},
};

}  // namespace

int16_t ChooserKindOf(int16_t decorationKind) {
    switch (decorationKind) {
        case DECOR_FRAME:
            return CHOOSER_FRAME;
        case DECOR_PATTERN12:
        case DECOR_PATTERN24:
            return CHOOSER_PATTERN;
        case DECOR_PICTURE:
            return CHOOSER_PICTURE;
        case DECOR_WORD:
            return CHOOSER_WORD;
        case DECOR_COLORFUL_WORD:
            return CHOOSER_COLORFUL_WORD;
        default:
            return -1;
    }
}

int16_t OpenChooserKind(const ChooserState& chooser) {
    constexpr int16_t kDrawingOrder[kChooserKinds] = {
        CHOOSER_PATTERN, CHOOSER_PICTURE, CHOOSER_WORD, CHOOSER_COLORFUL_WORD, CHOOSER_FRAME,
    };
    for (const int16_t kind : kDrawingOrder) {
        if (chooser.open[kind]) {
            return kind;
        }
    }
    return -1;
}

int16_t ChooserDecorationKind(const Scene& scene) {
    switch (OpenChooserKind(scene.chooser)) {
        case CHOOSER_FRAME:
            return DECOR_FRAME;
        case CHOOSER_PATTERN:
            if (scene.chooser.patternSize == kPattern12Size) {
                return DECOR_PATTERN12;
            }
            return scene.chooser.patternSize == kPattern24Size ? DECOR_PATTERN24 : -1;
        case CHOOSER_PICTURE:
            return DECOR_PICTURE;
        case CHOOSER_WORD:
            return DECOR_WORD;
        case CHOOSER_COLORFUL_WORD:
            return DECOR_COLORFUL_WORD;
        default:
            return -1;
    }
}

bool ChooserOpenOnTheme(const Scene& scene, int16_t kind, int16_t theme) {
    return kind >= 0 && kind < kDecorationKinds && ChooserDecorationKind(scene) == kind &&
           scene.themes.selectedTheme[kind] == theme;
}

bool OpenChooser(Scene* scene, int16_t kind, int16_t theme) {
    if (kind < 0 || kind >= kDecorationKinds || theme < 0 || theme >= kThemesPerKind ||
        theme >= scene->themes.themeCount[kind]) {
        return false;
    }
    const int16_t count = scene->themes.itemCount[kind * kThemesPerKind + theme];
    if (count < 1) {
        return false;
    }
    scene->themes.selectedTheme[kind] = theme;

    ChooserState& chooser = scene->chooser;
    const int16_t open = ChooserKindOf(kind);
    for (int16_t k = 0; k < kChooserKinds; ++k) {
        chooser.open[k] = k == open;
    }
    scene->picker.open = false;

    const ChooserLayout& layout = kLayouts[kind];
    chooser.page = 0;
    chooser.itemCount = count;
    chooser.itemsPerPage = layout.itemsPerPage;
    chooser.pageCount =
        static_cast<int16_t>((count + layout.itemsPerPage - 1) / layout.itemsPerPage);
    if (layout.patternSize != 0) {
        chooser.patternSize = layout.patternSize;
    }
    scene->cacheValid = false;
    return true;
}

bool ChooserPageDown(Scene* scene) {
    ChooserState& chooser = scene->chooser;
    if (!chooser.AnyOpen() || chooser.page >= chooser.pageCount - 1) {
        return false;
    }
    ++chooser.page;
    scene->cacheValid = false;
    return true;
}

bool ChooserPageUp(Scene* scene) {
    ChooserState& chooser = scene->chooser;
    if (!chooser.AnyOpen() || chooser.page < 1) {
        return false;
    }
    --chooser.page;
    scene->cacheValid = false;
    return true;
}

bool ChooserPickDigit(Scene* scene, const std::string& assetFolder, int16_t digit) {
    const ChooserState& chooser = scene->chooser;
    if (!chooser.AnyOpen() || digit < 0 || digit > 9) {
        return false;
    }
    // The keypad's 0 stands for the tenth item; the index counts from the
    // page's first item, and a digit beyond this page still reaches later
    // items of the theme.
    const int32_t index = chooser.itemsPerPage * chooser.page + (digit == 0 ? 10 : digit) - 1;
    if (index < 0 || index >= chooser.itemCount) {
        return false;
    }
    PlaceChooserItem(scene, assetFolder, static_cast<int16_t>(index + 1));
    CloseChooser(scene);
    return true;
}

bool CloseChooser(Scene* scene) {
    const bool wasOpen = scene->chooser.AnyOpen();
    for (bool& open : scene->chooser.open) {
        open = false;
    }
    scene->cacheValid = false;
    return wasOpen;
}

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
