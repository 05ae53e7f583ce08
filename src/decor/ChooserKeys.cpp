// The keys of an open chooser: paging, the digits, closing.
#include "decor/Chooser.h"

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
