#include "decor/Chooser.h"

namespace {

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
