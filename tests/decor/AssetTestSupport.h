// A decoration asset folder made by a test in a temporary folder: themes of
// small JPEG ".adm" files written by SavePicture, each item a solid colour
// or grey level of its own, so that a drawn preview can be told from its
// neighbours and from the next item.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "decor/DecorAssets.h"
#include "decor/DecorTestSupport.h"
#include "image/SavePicture.h"
#include "support/TestSupport.h"

// Writes a solid ".adm" (JPEG) file; a grey level goes into all three
// channels, as the mask loader reads blue.
inline void WriteSolidAsset(const std::string& path, int32_t width, int32_t height, uint32_t rgb) {
    DibBlock picture = MakeSolid(width, height, rgb);
    ASSERT_TRUE(SavePicture(path, *picture).Ok()) << path;
}

// The grey level of shape item n.
inline int32_t ItemLevel(int32_t n) {
    return 30 + 9 * n;
}

// Items 1 .. count of theme in the kind's category folder under root (an
// asset folder path with its trailing "/"), at their kind's size: colour
// item n is 0x(40+9n)(230-8n)(60+5n), shape item n grey 30 + 9n; the kinds
// with masks get opaque ones.
inline void AddAssetTheme(const std::string& root, int16_t kind, const std::string& theme,
                          int32_t count) {
    static const int32_t sizes[kDecorationKinds][2] = {{176, 180}, {12, 12},  {24, 24},
                                                       {60, 60},   {176, 50}, {176, 50}};
    const bool grey = kind == DECOR_PATTERN12 || kind == DECOR_PATTERN24 || kind == DECOR_WORD;
    const std::string folder = CategoryFolderPath(root, kind) + theme + "/";
    std::filesystem::create_directories(folder);
    for (int32_t n = 1; n <= count; ++n) {
        const uint32_t rgb =
            grey ? uint32_t(ItemLevel(n)) * 0x010101u
                 : uint32_t(40 + 9 * n) << 16 | uint32_t(230 - 8 * n) << 8 | uint32_t(60 + 5 * n);
        const std::string number = std::to_string(n);
        WriteSolidAsset(folder + theme + number + ".adm", sizes[kind][0], sizes[kind][1], rgb);
        if (!grey) {
            WriteSolidAsset(folder + theme + "mask" + number + ".adm", sizes[kind][0],
                            sizes[kind][1], 0xFFFFFF);
        }
    }
}

class AssetFolder {
  public:
    const std::string& Root() const { return root_; }
    std::string ThemeFolder(int16_t kind, const std::string& theme) const {
        return CategoryFolderPath(root_, kind) + theme + "/";
    }

    void AddTheme(int16_t kind, const std::string& theme, int32_t count) const {
        AddAssetTheme(root_, kind, theme, count);
    }

  private:
    TempDir temp_;
    std::string root_ = temp_.Path() + "/Assets/";
};

// Makes theme slot 0 of kind the scene's only, selected theme, holding count
// items.
inline void SelectTheme(Scene* scene, int16_t kind, const std::string& theme, int16_t count) {
    scene->themes.themeCount[kind] = 1;
    scene->themes.themeName[kind * kThemesPerKind] = theme;
    scene->themes.itemCount[kind * kThemesPerKind] = count;
    scene->themes.selectedTheme[kind] = 0;
}
