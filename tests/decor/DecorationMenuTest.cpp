#include <gtest/gtest.h>

#include <filesystem>

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

    EXPECT_EQ(popups[0].kind, DECOR_FRAME);
    ASSERT_EQ(popups[0].items.size(), 2u);
    EXPECT_EQ(popups[0].items[0].id, 50001);
    EXPECT_EQ(popups[0].items[0].text, "Hearts(7)");
    EXPECT_TRUE(popups[0].items[0].enabled);
    EXPECT_EQ(popups[0].items[1].id, 50002);
    EXPECT_EQ(popups[0].items[1].text, "Roses(2)");

    EXPECT_EQ(popups[1].kind, DECOR_WORD);
    ASSERT_EQ(popups[1].items.size(), 2u);
    EXPECT_EQ(popups[1].items[0].id, 50041);
    EXPECT_EQ(popups[1].items[0].text, "Birthday(0)");
    EXPECT_FALSE(popups[1].items[0].enabled);
    EXPECT_EQ(popups[1].items[1].id, 50042);
    EXPECT_EQ(popups[1].items[1].text, "Thanks(1)");
    EXPECT_TRUE(popups[1].items[1].enabled);

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
    EXPECT_TRUE(DecodeThemeCommand(50042, themes, &kind, &theme));
    EXPECT_EQ(kind, DECOR_WORD);
    EXPECT_EQ(theme, 1);
    EXPECT_TRUE(DecodeThemeCommand(50002, themes, &kind, &theme));
    EXPECT_EQ(kind, DECOR_FRAME);
    EXPECT_EQ(theme, 1);
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
