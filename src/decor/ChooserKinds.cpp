// Which chooser shows which decoration kind.
#include "decor/Chooser.h"

namespace {

// The Pattern chooser shows Pattern12 or Pattern24 by its pattern size.
constexpr int16_t kPattern12Size = 12;
constexpr int16_t kPattern24Size = 24;

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
