#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "decor/AssetTestSupport.h"

namespace fs = std::filesystem;

TEST(DecorAssets, CountsOnlyItemsOfTheThemesOwnNameShape) {
    TempDir temp;
    const std::string folder = temp.Path() + "/Sun/";
    fs::create_directories(folder);
    const auto touch = [&](const char* name) { ASSERT_TRUE(WriteWholeFile(folder + name, {'x'})); };
    for (const char* name : {"Sun1.adm", "Sun2.adm", "Sunmask1.adm", "Sunmask2.adm", "notes.txt"}) {
        touch(name);
    }
    EXPECT_EQ(CountItems(folder, "Sun"), 2);

    // Three digits, an upper-case extension, a leading zero, item 0, other
    // names of an item's length and a folder named like an item are not
    // items.
    for (const char* name : {"Sun123.adm", "Sun3.ADM", "Sun04.adm", "Sun0.adm", "Moon.adm",
                             "cover.adm", "sun5.adm", "Sun6.adm.txt"}) {
        touch(name);
    }
    fs::create_directories(folder + "Sun7.adm");
    EXPECT_EQ(CountItems(folder, "Sun"), 2);
    touch("Sun99.adm");
    EXPECT_EQ(CountItems(folder, "Sun"), 3);
    EXPECT_EQ(CountItems(temp.Path() + "/Missing/", "Sun"), 0);
}

TEST(DecorAssets, ListsThemesInNameOrderSkippingDotAndLongNames) {
    TempDir temp;
    const std::string category = temp.Path() + "/Frame/";
    std::string wide;  // 31 characters of two bytes each still fit
    for (int i = 0; i < 31; ++i) {
        wide += "\xC3\xA9";
    }
    for (const std::string& name :
         {std::string("Roses"), std::string("Hearts"), std::string(".hidden"), std::string(32, 'L'),
          std::string(31, 'M'), wide}) {
        fs::create_directories(category + name);
    }
    ASSERT_TRUE(WriteWholeFile(category + "Balloons", {'x'}));  // a file, not a theme

    std::vector<std::string> names;
    ASSERT_TRUE(ListThemes(category, &names));
    EXPECT_EQ(names, (std::vector<std::string>{"Hearts", std::string(31, 'M'), "Roses", wide}));
    EXPECT_EQ(ThemeName(category, 2), "Roses");
    EXPECT_EQ(ThemeName(category, 4), "");
    EXPECT_FALSE(ListThemes(temp.Path() + "/Word/", &names));  // not there yet
    EXPECT_TRUE(names.empty());

    // More than ten: the first ten by name, whatever order they were made in.
    const std::string many = temp.Path() + "/Word/";
    for (char c = 'L'; c >= 'A'; --c) {
        fs::create_directories(many + "Theme" + c);
    }
    ASSERT_TRUE(ListThemes(many, &names));
    ASSERT_EQ(names.size(), 10u);
    EXPECT_EQ(names.front(), "ThemeA");
    EXPECT_EQ(names.back(), "ThemeJ");
}

// Every row of the asset table in its form and at its size; the frame
// preview is a quarter of the frame. The drawing code takes every asset to
// be exactly its size, so a file of another size is refused.
TEST(DecorAssets, LoadsEachAssetAtItsSizeAndForm) {
    AssetFolder assets;
    Scene scene;
    for (int16_t kind = 0; kind < kDecorationKinds; ++kind) {
        assets.AddTheme(kind, "T", 1);
        SelectTheme(&scene, kind, "T", 1);
    }
    const int32_t rows[][3] = {{176, 180, 24}, {44, 45, 24}, {176, 180, 8}, {12, 12, 8},
                               {24, 24, 8},    {60, 60, 24}, {60, 60, 8},   {176, 50, 8},
                               {176, 50, 24},  {176, 50, 8}};  // numbered as AssetUse
    for (int16_t use = 0; use < 10; ++use) {
        DibBlock picture = LoadAsset(assets.Root(), scene.themes, AssetUse(use), 1);
        ASSERT_TRUE(picture) << "use " << use;
        EXPECT_EQ(picture->header.biWidth, rows[use][0]) << "use " << use;
        EXPECT_EQ(picture->header.biHeight, rows[use][1]) << "use " << use;
        EXPECT_EQ(picture->header.biBitCount, rows[use][2]) << "use " << use;
        EXPECT_FALSE(LoadAsset(assets.Root(), scene.themes, AssetUse(use), 2)) << "no item 2";
    }
    const int16_t sizes[] = {12, 24, 60};
    for (int16_t size : sizes) {
        DibBlock grey = LoadGreyBySize(assets.Root(), scene.themes, size, 1);
        ASSERT_TRUE(grey) << size;
        EXPECT_EQ(grey->header.biWidth, size);
        EXPECT_EQ(grey->header.biBitCount, 8);
    }
    EXPECT_FALSE(LoadGreyBySize(assets.Root(), scene.themes, 50, 1));

    const std::string folder = assets.ThemeFolder(DECOR_PICTURE, "T");
    WriteSolidAsset(folder + "T1.adm", 50, 50, 0x808080);  // smaller: stays 50 x 50
    EXPECT_FALSE(LoadAsset(assets.Root(), scene.themes, ASSET_PICTURE, 1));
    WriteSolidAsset(folder + "T1.adm", 120, 100, 0x808080);  // covers the box at 72 x 60
    EXPECT_FALSE(LoadAsset(assets.Root(), scene.themes, ASSET_PICTURE, 1));
    WriteSolidAsset(folder + "T1.adm", 120, 120, 0x808080);  // scaled to exactly 60 x 60
    EXPECT_TRUE(LoadAsset(assets.Root(), scene.themes, ASSET_PICTURE, 1));
}
