#include <gtest/gtest.h>

#include <filesystem>

#include "decor/AssetTestSupport.h"
#include "decor/ComposeScreen.h"
#include "decor/Decorations.h"
#include "decor/Lettering.h"

namespace {

constexpr uint32_t kShapeColour = 0x20D040;
constexpr uint32_t kFrameColour = 0xABCDEF;

void PutObject(Scene* scene, int16_t type, int16_t x, int16_t y, int32_t width, int32_t height,
               std::initializer_list<uint8_t> levels) {
    FloatingObject& object = scene->object;
    object.present = true;
    object.type = type;
    object.x = x;
    object.y = y;
    object.width = int16_t(width);
    object.height = int16_t(height);
    object.mask = MakeMask(width, height, levels);
    object.colour = MakeSolid(width, height, 0xFF8000);
}

// Opaque in the first two of every eight columns, a blend in the third.
void PutFrame(Scene* scene) {
    scene->frame.placed = true;
    scene->frame.colour = MakeSolid(kCanvasWidth, kCanvasHeight, kFrameColour);
    scene->frame.mask = MakeMask(kCanvasWidth, kCanvasHeight, {255, 255, 128, 0, 0, 0, 0, 0});
}

}  // namespace

// A word at the bottom goes down until it has wholly left the screen and
// comes back one step at a time; every edge has its own limit.
TEST(Decorations, MovesWithinTheLimitsAtEveryEdge) {
    Scene scene = MakeScene(kShapeColour);
    PutObject(&scene, OBJECT_WORD, 0, 0, 176, 50, {255});
    int presses = 0;
    while (MoveFloatingObject(&scene, DIRECTION_DOWN, 8, true)) {
        ++presses;
    }
    EXPECT_EQ(scene.object.y, -50);
    EXPECT_EQ(presses, 7);  // 8 x 6 = 48, then the last 2
    EXPECT_TRUE(MoveFloatingObject(&scene, DIRECTION_UP, 8, false));
    EXPECT_EQ(scene.object.y, -49);  // a first press moves by 1

    const std::pair<Direction, int16_t FloatingObject::*> edges[] = {
        {DIRECTION_UP, &FloatingObject::y},
        {DIRECTION_LEFT, &FloatingObject::x},
        {DIRECTION_RIGHT, &FloatingObject::x},
    };
    const int16_t limits[] = {179, -176, 175};
    for (int i = 0; i < 3; ++i) {
        while (MoveFloatingObject(&scene, edges[i].first, 50, true)) {
        }
        EXPECT_EQ(scene.object.*edges[i].second, limits[i]);
    }

    // Not while a chooser or the picker is open, nor without an object.
    scene.chooser.open[CHOOSER_WORD] = true;
    EXPECT_FALSE(MoveFloatingObject(&scene, DIRECTION_LEFT, 1, false));
    scene.chooser.open[CHOOSER_WORD] = false;
    scene.picker.open = true;
    EXPECT_FALSE(MoveFloatingObject(&scene, DIRECTION_LEFT, 1, false));
    scene.picker.open = false;
    scene.object.present = false;
    EXPECT_FALSE(MoveFloatingObject(&scene, DIRECTION_LEFT, 1, false));
}

// The merged frame keeps what the screen showed: the photo where it stood,
// the frame's colour where the photo did not reach; the offset goes back
// to 0, 0.
TEST(Decorations, MergeFrameBurnsInTheScreenAsShown) {
    Scene scene = MakeScene(kShapeColour);
    PutFrame(&scene);
    scene.photoX = 5;
    scene.photoY = -20;
    DibBlock shown = ComposeScreen(scene, nullptr);
    ASSERT_TRUE(MergeFrame(&scene));
    EXPECT_TRUE(SameScreen(shown.get(), scene.displayPhoto.get()));
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 100, 170), kFrameColour);  // uncovered rows
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 3, 100), kFrameColour);    // uncovered columns
    EXPECT_EQ(scene.photoX, 0);
    EXPECT_EQ(scene.photoY, 0);
    EXPECT_FALSE(scene.frame.placed);
    EXPECT_FALSE(scene.frame.colour || scene.frame.mask);
    EXPECT_FALSE(MergeFrame(&scene));
}

// The object lands on the photo exactly under where the screen showed it,
// also when the photo is moved.
TEST(Decorations, MergeFloatingObjectLandsWhereItWasShown) {
    const int16_t offsets[] = {0, 7};
    for (const int16_t offset : offsets) {
        Scene scene = MakeScene(kShapeColour);
        scene.photoX = offset;
        scene.photoY = int16_t(-offset);
        PutObject(&scene, OBJECT_PATTERN, 76, 78, 24, 24, {255, 0, 128});
        DibBlock shown = ComposeScreen(scene, nullptr);
        ASSERT_TRUE(MergeFloatingObject(&scene));
        EXPECT_FALSE(scene.object.present || scene.object.mask);
        // Screen pixel (x, y) shows photo pixel (x - offset, y + offset).
        for (int32_t y = 70; y < 110; ++y) {
            for (int32_t x = 70; x < 110; ++x) {
                ASSERT_EQ(PixelAt(scene.displayPhoto.get(), x - offset, y + offset),
                          PixelAt(shown.get(), x, y))
                    << "offset " << offset << " at " << x << ", " << y;
            }
        }
        EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 76 - offset, 78 + offset), kShapeColour);
        EXPECT_FALSE(MergeFloatingObject(&scene));
    }

    // A picture goes in through its mask; without a photo nothing merges.
    Scene scene = MakeScene(kShapeColour);
    PutObject(&scene, OBJECT_PICTURE, 58, 60, 60, 60, {255, 0});
    ASSERT_TRUE(MergeFloatingObject(&scene));
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 58, 60), 0xFF8000u);
    EXPECT_NE(PixelAt(scene.displayPhoto.get(), 59, 60), 0xFF8000u);
    scene.displayPhoto.reset();
    PutObject(&scene, OBJECT_PICTURE, 58, 60, 60, 60, {255});
    EXPECT_FALSE(MergeFloatingObject(&scene));
    EXPECT_TRUE(scene.object.present);
}

// "Merge" takes the frame first and the object with the next press, onto
// the framed photo; "Delete" removes both at once.
TEST(Decorations, MergeOrderAndDelete) {
    Scene scene = MakeScene(kShapeColour);
    PutFrame(&scene);
    PutObject(&scene, OBJECT_PATTERN, 0, 0, 12, 12, {255});
    EXPECT_TRUE(DecorationPending(scene));
    ASSERT_TRUE(MergeNextDecoration(&scene));
    EXPECT_FALSE(scene.frame.placed);
    EXPECT_TRUE(scene.object.present);
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 0, 0), kFrameColour);
    ASSERT_TRUE(MergeNextDecoration(&scene));
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 0, 0), kShapeColour);
    EXPECT_EQ(PixelAt(scene.displayPhoto.get(), 0, 12), kFrameColour);
    EXPECT_FALSE(DecorationPending(scene));
    EXPECT_FALSE(MergeNextDecoration(&scene));

    PutFrame(&scene);
    PutObject(&scene, OBJECT_WORD, 0, 0, 176, 50, {255});
    DibBlock before = CanvasDuplicate(DibPixels(scene.displayPhoto.get()));
    EXPECT_TRUE(DeleteDecorations(&scene));
    EXPECT_FALSE(scene.frame.placed || scene.object.present);
    EXPECT_FALSE(scene.frame.colour || scene.object.mask);
    EXPECT_TRUE(SameScreen(before.get(), scene.displayPhoto.get()));
    EXPECT_FALSE(DeleteDecorations(&scene));
}

// A failed load leaves nothing on screen: the object absent at -1, -1 with
// its old images gone, the frame not placed.
TEST(Decorations, FailedLoadsLeaveNothingPlaced) {
    AssetFolder assets;
    Scene scene = MakeScene(kShapeColour);
    // A picture without its mask, a colourful word without its colour, a
    // frame without its mask; no Pattern12 or Word theme at all.
    const struct {
        int16_t kind;
        const char* missing;
    } themes[] = {{DECOR_PICTURE, "Tmask1.adm"},
                  {DECOR_COLORFUL_WORD, "T1.adm"},
                  {DECOR_FRAME, "Tmask1.adm"}};
    for (const auto& theme : themes) {
        assets.AddTheme(theme.kind, "T", 1);
        std::filesystem::remove(assets.ThemeFolder(theme.kind, "T") + theme.missing);
        SelectTheme(&scene, theme.kind, "T", 1);
    }
    for (int load = 0; load < 4; ++load) {
        PutObject(&scene, OBJECT_PATTERN, 10, 10, 12, 12, {255});
        const bool loaded = load == 0   ? LoadPictureObject(&scene, assets.Root(), 1)
                            : load == 1 ? LoadColorfulWordObject(&scene, assets.Root(), 1)
                            : load == 2 ? LoadPatternStamp(&scene, assets.Root(), 12, 1)
                                        : LoadWordObject(&scene, assets.Root(), 1);
        EXPECT_FALSE(loaded) << load;
        EXPECT_FALSE(scene.object.present || scene.object.mask || scene.object.colour);
        EXPECT_EQ(scene.object.x, -1);
        EXPECT_EQ(scene.object.y, -1);
    }
    PutFrame(&scene);
    EXPECT_FALSE(LoadFrame(&scene, assets.Root(), 1));
    EXPECT_FALSE(scene.frame.placed || scene.frame.colour || scene.frame.mask);
}

// A typed word is a word object carrying its line; whatever merges,
// replaces or removes it takes its line along. (Its pixels and place: the
// typed-words replay journey.)
TEST(Decorations, TypedWordsAreWordObjectsCarryingTheirLine) {
    if (!ScreenFonts().HasFace(FONT_BOLD)) {
        GTEST_SKIP() << "the screen font is not installed";
    }
    for (const int16_t kind : {DECOR_WORD, DECOR_COLORFUL_WORD}) {
        SCOPED_TRACE(kind);
        Scene scene = MakeScene(kShapeColour);
        PutObject(&scene, OBJECT_PICTURE, 58, 60, 60, 60, {255});
        ASSERT_TRUE(PlaceTypedWord(&scene, "  Cheers!  ", kind));
        const FloatingObject& object = scene.object;
        EXPECT_TRUE(object.present);
        EXPECT_EQ(object.type, kind == DECOR_WORD ? OBJECT_WORD : OBJECT_COLORFUL_WORD);
        EXPECT_EQ(object.text, "Cheers!");
        EXPECT_EQ(object.colour != nullptr, kind == DECOR_COLORFUL_WORD);

        // Merged, deleted, or replaced by a failed load, the line goes too.
        ASSERT_TRUE(MergeFloatingObject(&scene));
        EXPECT_TRUE(scene.object.text.empty());
        ASSERT_TRUE(PlaceTypedWord(&scene, "Again", kind));
        EXPECT_TRUE(DeleteDecorations(&scene));
        EXPECT_TRUE(scene.object.text.empty());
        ASSERT_TRUE(PlaceTypedWord(&scene, "Again", kind));
        EXPECT_FALSE(LoadWordObject(&scene, "/nonexistent/", 1));
        EXPECT_TRUE(scene.object.text.empty());

        // A blank line or another kind places nothing.
        for (const auto& [text, asKind] :
             {std::pair<const char*, int16_t>{" \t ", kind}, {"Hello", DECOR_PICTURE}}) {
            PutObject(&scene, OBJECT_PATTERN, 10, 10, 12, 12, {255});
            EXPECT_FALSE(PlaceTypedWord(&scene, text, asKind));
            EXPECT_FALSE(scene.object.present || scene.object.mask || scene.object.colour);
            EXPECT_TRUE(scene.object.text.empty());
            EXPECT_EQ(scene.object.x, -1);
        }
    }
}
