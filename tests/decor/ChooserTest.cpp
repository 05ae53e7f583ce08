#include <gtest/gtest.h>

#include <vector>

#include "decor/AssetTestSupport.h"
#include "decor/Chooser.h"
#include "decor/Decorations.h"

// Each kind opens with its own page layout, and a digit places its own
// kind of item at its start position.
TEST(Chooser, OpensWithTheLayoutOfItsKindAndPlacesItsItem) {
    struct Case {
        int16_t kind, count, chooser, perPage, pages, patternSize;
        int16_t type, x, y, width, height;  // the object item 2 becomes
    };
    const Case cases[] = {
        // The Frame chooser keeps the pattern size; its item is the frame.
        {DECOR_FRAME, 9, CHOOSER_FRAME, 8, 2, 7, OBJECT_NONE, 0, 0, 0, 0},
        {DECOR_PATTERN12, 23, CHOOSER_PATTERN, 10, 3, 12, OBJECT_PATTERN, 82, 84, 12, 12},
        {DECOR_PATTERN24, 14, CHOOSER_PATTERN, 6, 3, 24, OBJECT_PATTERN, 76, 78, 24, 24},
        {DECOR_PICTURE, 6, CHOOSER_PICTURE, 6, 1, 60, OBJECT_PICTURE, 58, 60, 60, 60},
        {DECOR_WORD, 4, CHOOSER_WORD, 3, 2, 50, OBJECT_WORD, 0, 0, 176, 50},
        {DECOR_COLORFUL_WORD, 2, CHOOSER_COLORFUL_WORD, 3, 1, 50, OBJECT_COLORFUL_WORD, 0, 0, 176,
         50},
    };
    AssetFolder assets;
    for (const Case& c : cases) {
        assets.AddTheme(c.kind, "T", c.count);
        Scene scene;
        SelectTheme(&scene, c.kind, "T", c.count);
        scene.chooser.open[(c.chooser + 1) % kChooserKinds] = true;  // another one open
        scene.chooser.page = 4;
        scene.chooser.patternSize = 7;
        scene.picker.open = true;
        scene.cacheValid = true;
        ASSERT_TRUE(OpenChooser(&scene, c.kind, 0)) << c.kind;
        for (int16_t k = 0; k < kChooserKinds; ++k) {
            EXPECT_EQ(scene.chooser.open[k], k == c.chooser) << c.kind;
        }
        EXPECT_FALSE(scene.picker.open);
        EXPECT_FALSE(scene.cacheValid);
        EXPECT_EQ(scene.chooser.page, 0);
        EXPECT_EQ(scene.chooser.itemCount, c.count);
        EXPECT_EQ(scene.chooser.itemsPerPage, c.perPage) << c.kind;
        EXPECT_EQ(scene.chooser.pageCount, c.pages) << c.kind;
        EXPECT_EQ(scene.chooser.patternSize, c.patternSize) << c.kind;
        EXPECT_TRUE(ChooserOpenOnTheme(scene, c.kind, 0));

        ASSERT_TRUE(ChooserPickDigit(&scene, assets.Root(), 2)) << c.kind;
        const FloatingObject& object = scene.object;
        EXPECT_EQ(scene.frame.placed, c.kind == DECOR_FRAME);
        EXPECT_EQ(object.present, c.kind != DECOR_FRAME) << c.kind;
        if (!object.present) {
            continue;
        }
        EXPECT_EQ((std::vector<int>{object.type, object.x, object.y, object.width, object.height}),
                  (std::vector<int>{c.type, c.x, c.y, c.width, c.height}));
        EXPECT_EQ(bool(object.colour), c.type == OBJECT_PICTURE || c.type == OBJECT_COLORFUL_WORD);
        ASSERT_TRUE(object.mask);
        if (c.type == OBJECT_PATTERN || c.type == OBJECT_WORD) {
            EXPECT_NEAR(DibPixels(object.mask.get())[0], ItemLevel(2), 1);  // item 2's shape
        }
    }
}

// Both pattern kinds share the Pattern chooser; its pattern size tells
// whether theme 0 of Pattern12 or of Pattern24 is the one open.
TEST(Chooser, KnowsWhichThemeIsOpen) {
    Scene scene;
    SelectTheme(&scene, DECOR_PATTERN12, "T", 3);
    SelectTheme(&scene, DECOR_PATTERN24, "U", 3);
    SelectTheme(&scene, DECOR_WORD, "V", 0);
    EXPECT_FALSE(OpenChooser(&scene, DECOR_WORD, 0));       // no items
    EXPECT_FALSE(OpenChooser(&scene, DECOR_PATTERN12, 1));  // no such theme
    EXPECT_FALSE(scene.chooser.AnyOpen());

    ASSERT_TRUE(OpenChooser(&scene, DECOR_PATTERN12, 0));
    EXPECT_TRUE(ChooserOpenOnTheme(scene, DECOR_PATTERN12, 0));
    EXPECT_FALSE(ChooserOpenOnTheme(scene, DECOR_PATTERN24, 0));
    ASSERT_TRUE(OpenChooser(&scene, DECOR_PATTERN24, 0));
    EXPECT_FALSE(ChooserOpenOnTheme(scene, DECOR_PATTERN12, 0));
    EXPECT_TRUE(ChooserOpenOnTheme(scene, DECOR_PATTERN24, 0));
    EXPECT_FALSE(ChooserOpenOnTheme(scene, DECOR_PATTERN24, 1));
    EXPECT_TRUE(CloseChooser(&scene));
    EXPECT_FALSE(ChooserOpenOnTheme(scene, DECOR_PATTERN24, 0));
    EXPECT_FALSE(CloseChooser(&scene));
}

// Paging stays within the theme. On page 0 of a 12-frame theme the digits
// reach items 1 .. 10, also those shown on the next page; 0 stands for 10.
// Beyond the last item a digit is ignored and the chooser stays open.
TEST(Chooser, PagesAndPlacesTheItemOfADigit) {
    AssetFolder assets;
    assets.AddTheme(DECOR_FRAME, "Roses", 12);
    Scene scene;
    SelectTheme(&scene, DECOR_FRAME, "Roses", 12);
    ASSERT_TRUE(OpenChooser(&scene, DECOR_FRAME, 0));
    EXPECT_FALSE(ChooserPageUp(&scene));
    EXPECT_TRUE(ChooserPageDown(&scene));
    scene.cacheValid = true;
    EXPECT_FALSE(ChooserPageDown(&scene));
    EXPECT_TRUE(scene.cacheValid);  // an ignored key keeps the page cached
    EXPECT_TRUE(ChooserPageUp(&scene));
    EXPECT_FALSE(scene.cacheValid);

    const auto placed = [&](int16_t digit, int16_t page, int16_t expected) {
        ASSERT_TRUE(OpenChooser(&scene, DECOR_FRAME, 0));
        scene.chooser.page = page;
        ASSERT_TRUE(ChooserPickDigit(&scene, assets.Root(), digit)) << digit;
        EXPECT_FALSE(scene.chooser.AnyOpen());
        ASSERT_TRUE(scene.frame.placed);
        DibBlock item = LoadAsset(assets.Root(), scene.themes, ASSET_FRAME, expected);
        EXPECT_EQ(PixelAt(scene.frame.colour.get(), 88, 90), PixelAt(item.get(), 88, 90))
            << "digit " << digit << " on page " << page;
    };
    placed(9, 0, 9);
    placed(0, 0, 10);
    placed(4, 1, 12);
    scene.chooser.open[CHOOSER_FRAME] = true;
    EXPECT_FALSE(ChooserPickDigit(&scene, assets.Root(), 5));  // item 13
    EXPECT_TRUE(scene.chooser.open[CHOOSER_FRAME]);
}
