#include <gtest/gtest.h>

#include <cstring>

#include "decor/ComposeScreen.h"
#include "decor/DecorTestSupport.h"

namespace {

constexpr uint32_t kFill = 0x3060C0;

}  // namespace

TEST(ComposeScreen, BaseLayerShowsThePhotoWhereItIs) {
    Scene scene = MakeScene(kFill);
    DibBlock screen = ComposeScreen(scene, nullptr);
    ASSERT_TRUE(screen);
    EXPECT_TRUE(SameScreen(screen.get(), scene.displayPhoto.get()));

    // Moved up by 20 and left by 3: uncovered rows and columns in
    // CurrentColor; with a clear frame placed, in the frame's colour.
    scene.photoX = -3;
    scene.photoY = 20;
    for (bool framed : {false, true}) {
        scene.frame.placed = framed;
        scene.frame.colour = MakeSolid(kCanvasWidth, kCanvasHeight, 0xABCDEF);
        scene.frame.mask = MakeMask(kCanvasWidth, kCanvasHeight, {0});
        screen = ComposeScreen(scene, nullptr);
        const uint32_t uncovered = framed ? 0xABCDEF : kFill;
        EXPECT_EQ(PixelAt(screen.get(), 0, 19), uncovered);
        EXPECT_EQ(PixelAt(screen.get(), 173, 100), uncovered);
        EXPECT_EQ(PixelAt(screen.get(), 0, 20), PixelAt(scene.displayPhoto.get(), 3, 0));
        EXPECT_EQ(PixelAt(screen.get(), 172, 179), PixelAt(scene.displayPhoto.get(), 175, 159));
    }

    Scene empty;  // before the first picture
    empty.currentColor = ColorOf(kFill);
    screen = ComposeScreen(empty, nullptr);
    ASSERT_TRUE(screen);
    EXPECT_EQ(PixelAt(screen.get(), 175, 179), kFill);
}

TEST(ComposeScreen, ModesShowTheirCopy) {
    // Rescaled to 90 %: 158 x 162 at 9, 9, the rest filled.
    Scene scene = MakeScene(kFill);
    scene.mode = EditMode::Rescale;
    scene.modeCopy = MakePatternImage(158, 162);
    scene.scaledX = scene.scaledY = 9;
    scene.scaledWidth = 158;
    scene.scaledHeight = 162;
    DibBlock screen = ComposeScreen(scene, nullptr);
    EXPECT_EQ(PixelAt(screen.get(), 9, 9), PixelAt(scene.modeCopy.get(), 0, 0));
    EXPECT_EQ(PixelAt(screen.get(), 166, 170), PixelAt(scene.modeCopy.get(), 157, 161));
    EXPECT_EQ(PixelAt(screen.get(), 166, 171), kFill);

    // Adjusting: the adjusted copy at the photo offset.
    scene.mode = EditMode::Adjust;
    scene.modeCopy = MakeSolid(kCanvasWidth, kCanvasHeight, 0x102030);
    scene.photoY = -5;
    screen = ComposeScreen(scene, nullptr);
    EXPECT_EQ(PixelAt(screen.get(), 0, 174), 0x102030u);
    EXPECT_EQ(PixelAt(screen.get(), 0, 175), kFill);
}

TEST(ComposeScreen, FloatingObjectUsesTheBlendOfItsType) {
    Scene scene = MakeScene(kFill);
    FloatingObject& object = scene.object;
    object.present = true;
    object.x = 10, object.y = 20, object.width = 12, object.height = 12;
    object.mask = MakeMask(12, 12, {255});
    object.colour = MakeSolid(12, 12, 0x00FF00);
    for (int16_t type : {OBJECT_PATTERN, OBJECT_WORD, OBJECT_PICTURE, OBJECT_COLORFUL_WORD}) {
        object.type = type;
        DibBlock screen = ComposeScreen(scene, nullptr);
        const bool shape = type == OBJECT_PATTERN || type == OBJECT_WORD;
        EXPECT_EQ(PixelAt(screen.get(), 21, 31), shape ? kFill : 0x00FF00u) << type;
    }
}

TEST(ComposeScreen, PickerAvoidsTheObjectAndDrawsItsCursorBox) {
    Scene scene = MakeScene(kFill);
    ColorPicker& picker = scene.picker;
    picker.open = true;
    picker.field = MakePatternImage(kColorFieldWidth, kColorFieldHeight);
    picker.cursorX = 88, picker.cursorY = 25, picker.boxLeft = 83;
    scene.object.type = OBJECT_PATTERN;
    scene.object.mask = MakeMask(24, 24, {0});  // invisible
    scene.object.width = scene.object.height = 24;
    // Object present, its y, colour tones mode, the picker's bottom row. An
    // object at y 65 has its top row at 88, at y 66 at 89.
    const std::tuple<bool, int16_t, bool, int32_t> cases[] = {
        {false, 0, false, 65}, {true, 65, false, 90}, {true, 66, false, 5}, {true, 0, true, 0}};
    for (auto [present, objectY, tones, bottom] : cases) {
        scene.object.present = present;
        scene.object.y = objectY;
        scene.mode = tones ? EditMode::Tones : EditMode::Normal;
        DibBlock screen = ComposeScreen(scene, nullptr);
        for (int32_t row = 0; row < kColorFieldHeight; ++row) {
            ASSERT_EQ(PixelAt(screen.get(), 0, bottom + row), PixelAt(picker.field.get(), 0, row))
                << bottom;
        }
        EXPECT_EQ(PixelAt(screen.get(), 0, bottom + 50),
                  PixelAt(scene.displayPhoto.get(), 0, bottom + 50));
        if (!tones) {
            // Box rows bottom + 20 .. 30, columns 83 .. 93: black outline.
            EXPECT_EQ(PixelAt(screen.get(), 83, bottom + 20), 0u);
            EXPECT_EQ(PixelAt(screen.get(), 93, bottom + 30), 0u);
            EXPECT_EQ(PixelAt(screen.get(), 92, bottom + 29), kFill);
            EXPECT_EQ(PixelAt(screen.get(), 94, bottom + 25), PixelAt(picker.field.get(), 94, 25));
        }
    }

    // Colour tones, bottom-right corner: the box loses its lower rows below
    // the screen and its right outline beyond the edge.
    picker.cursorX = 175, picker.cursorY = 0, picker.boxLeft = 170;
    DibBlock screen = ComposeScreen(scene, nullptr);
    EXPECT_EQ(PixelAt(screen.get(), 170, 0), 0u);
    EXPECT_EQ(PixelAt(screen.get(), 175, 4), kFill);
    EXPECT_EQ(PixelAt(screen.get(), 175, 5), 0u);
    EXPECT_EQ(PixelAt(screen.get(), 175, 6), PixelAt(picker.field.get(), 175, 6));
}

TEST(ComposeScreen, BannerLiesAtWindowRow72OverTheShownScreenOnly) {
    Scene scene = MakeScene(kFill);
    scene.banner = DibCreate(176, 16, 8);
    for (int32_t row = 0; row < 16; ++row) {
        std::memset(DibPixels(scene.banner.get()) + row * 176, 10 * row + 5, 176);
    }
    for (ChooserKind kind : {CHOOSER_FRAME, CHOOSER_PATTERN, CHOOSER_WORD}) {
        scene.chooser = ChooserState{};
        scene.chooser.open[kind] = true;
        scene.cacheValid = false;
        for (int pass = 0; pass < 2; ++pass) {  // composed, then from the cache
            DibBlock screen = ComposeScreen(scene, nullptr);
            if (kind == CHOOSER_WORD) {
                EXPECT_TRUE(SameScreen(screen.get(), scene.displayPhoto.get()));
                continue;
            }
            // Its top row (last in memory) on window row 72, bitmap row 107.
            EXPECT_EQ(PixelAt(screen.get(), 0, 107), 0x9B9B9Bu);
            EXPECT_EQ(PixelAt(screen.get(), 175, 92), 0x050505u);
            EXPECT_EQ(PixelAt(screen.get(), 0, 108), PixelAt(scene.displayPhoto.get(), 0, 108));
            EXPECT_EQ(PixelAt(screen.get(), 0, 91), PixelAt(scene.displayPhoto.get(), 0, 91));
            EXPECT_TRUE(SameScreen(scene.compositeCache.get(), scene.displayPhoto.get()));
        }
    }
}
