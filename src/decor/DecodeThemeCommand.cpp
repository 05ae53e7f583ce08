#include "decor/DecorationMenu.h"

bool DecodeThemeCommand(uint16_t id, const ThemeTable& themes, int16_t* kind, int16_t* theme) {
    *kind = -1;
    *theme = -1;
    if (id < kThemeCommandFirst || id > kThemeCommandLast) {
        return false;
    }
    const int32_t slot = id - kThemeCommandFirst;
    const int32_t k = slot / kThemesPerKind;
    const int32_t i = slot % kThemesPerKind;
    if (i >= themes.themeCount[k] || themes.itemCount[slot] < 1) {
        return false;
    }
    *kind = static_cast<int16_t>(k);
    *theme = static_cast<int16_t>(i);
    return true;
}
