// The decoration menu: the "Add <category>" pop-ups built from the asset
// folder, and the theme commands they carry decoded back.
#include "decor/DecorationMenu.h"

#include <cstdio>
#include <utility>

#include "decor/DecorAssets.h"

std::vector<DecorationPopup> BuildDecorationMenu(const std::string& assetFolder,
                                                 ThemeTable* themes) {
    std::vector<DecorationPopup> popups;
    *themes = ThemeTable();
    for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
        const std::string categoryFolder = CategoryFolderPath(assetFolder, kind);
        // One listing gives both the count and the names, so the two can
        // never disagree.
        std::vector<std::string> names;
        if (!ListThemes(categoryFolder, &names)) {
            themes->themeCount[kind] = -1;
            continue;
        }
        themes->themeCount[kind] = static_cast<int16_t>(names.size());
        if (names.empty()) {
            continue;
        }
        DecorationPopup popup;
        popup.kind = kind;
        for (size_t i = 0; i < names.size(); ++i) {
            const int32_t slot = kind * kThemesPerKind + static_cast<int32_t>(i);
            const int16_t items = CountItems(categoryFolder + names[i] + "/", names[i]);
            themes->themeName[slot] = names[i];
            themes->itemCount[slot] = items;

            char count[16];
            std::snprintf(count, sizeof(count), "(%d)", items);
            ThemeMenuItem item;
            item.id = static_cast<uint16_t>(kThemeCommandFirst + slot);
            item.text = names[i] + count;
            item.enabled = items >= 1;
            popup.items.push_back(std::move(item));
        }
        popups.push_back(std::move(popup));
    }
    return popups;
}

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
