#include "decor/DecorAssets.h"

std::string AssetPath(const std::string& assetFolder, const ThemeTable& themes, int16_t kind,
                      int16_t item, bool mask) {
    if (kind < 0 || kind >= kDecorationKinds || item < 1) {
        return std::string();
    }
    const int16_t theme = themes.selectedTheme[kind];
    if (theme < 0 || theme >= kThemesPerKind || theme >= themes.themeCount[kind]) {
        return std::string();
    }
    const std::string& name = themes.themeName[kind * kThemesPerKind + theme];
    if (name.empty()) {
        return std::string();
    }
    return CategoryFolderPath(assetFolder, kind) + name + "/" + name + (mask ? "mask" : "") +
           std::to_string(item) + ".adm";
}
