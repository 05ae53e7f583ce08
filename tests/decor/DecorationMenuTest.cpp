#include <gtest/gtest.h>

#include <filesystem>
#include <tuple>

#include "decor/AssetTestSupport.h"
#include "decor/DecorationMenu.h"

namespace fs = std::filesystem;

TEST(DecorationMenu, OffersOnlyTheCategoriesThatHaveThemes) {
    AssetFolder assets;
    assets.AddTheme(DECOR_FRAME, "Roses", 2);
    assets.AddTheme(DECOR_FRAME, "Hearts", 7);
    assets.AddTheme(DECOR_WORD, "Thanks", 1);
    assets.AddTheme(DECOR_WORD, "Birthday", 0);
    fs::create_directories(CategoryFolderPath(assets.Root(), DECOR_PICTURE));  // no themes

    ThemeTable themes;
    themes.selectedTheme[DECOR_WORD] = 1;  // a rebuilt table starts afresh
    const std::vector<DecorationPopup> popups = BuildDecorationMenu(assets.Root(), &themes);
    ASSERT_EQ(popups.size(), 2u);
    const int16_t kinds[] = {DECOR_FRAME, DECOR_WORD};
    const std::tuple<uint16_t, const char*, bool> items[2][2] = {
        {{50001, "Hearts(7)", true}, {50002, "Roses(2)", true}},
        {{50041, "Birthday(0)", false}, {50042, "Thanks(1)", true}}};
    for (size_t p = 0; p < 2; ++p) {
        EXPECT_EQ(popups[p].kind, kinds[p]);
        ASSERT_EQ(popups[p].items.size(), 2u);
        for (size_t i = 0; i < 2; ++i) {
            const auto& [id, text, enabled] = items[p][i];
            EXPECT_EQ(popups[p].items[i].id, id);
            EXPECT_EQ(popups[p].items[i].text, text);
            EXPECT_EQ(popups[p].items[i].enabled, enabled);
        }
    }

    // The table the paths and the chooser read.
    EXPECT_EQ(themes.themeCount[DECOR_FRAME], 2);
    EXPECT_EQ(themes.themeCount[DECOR_PATTERN12], -1);  // no such folder
    EXPECT_EQ(themes.themeCount[DECOR_PICTURE], 0);
    EXPECT_EQ(themes.themeCount[DECOR_WORD], 2);
    EXPECT_EQ(themes.themeName[DECOR_WORD * 10 + 1], "Thanks");
    EXPECT_EQ(themes.itemCount[DECOR_FRAME * 10 + 0], 7);
    EXPECT_EQ(themes.itemCount[DECOR_WORD * 10 + 0], 0);
    EXPECT_EQ(themes.selectedTheme[DECOR_WORD], -1);

    // Theme commands: only existing themes with items are valid.
    int16_t kind = 0, theme = 0;
    EXPECT_TRUE(DecodeThemeCommand(50042, themes, &kind, &theme) && kind == DECOR_WORD &&
                theme == 1);
    EXPECT_TRUE(DecodeThemeCommand(50002, themes, &kind, &theme) && kind == DECOR_FRAME &&
                theme == 1);
    const uint16_t invalid[] = {50041, 50003, 50011, 50031, 50000, 50061, 40018};
    for (uint16_t id : invalid) {
        EXPECT_FALSE(DecodeThemeCommand(id, themes, &kind, &theme)) << id;
        EXPECT_EQ(kind, -1);
    }
}

TEST(DecorationMenu, MissingAssetFolderGivesNoPopups) {
    ThemeTable themes;
    EXPECT_TRUE(BuildDecorationMenu("/nonexistent/FotakleFolder/", &themes).empty());
    for (int16_t count : themes.themeCount) {
        EXPECT_EQ(count, -1);
    }
}
