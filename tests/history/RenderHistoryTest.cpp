// The renderer and the history's own rules: Recover resolved into the steps
// it goes back to, the factors, the failures that give no picture, large
// decoration copies, the undo limit and the saved step.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "decor/DecorAssets.h"
#include "decor/DecorTestSupport.h"
#include "history/EditHistory.h"
#include "history/RenderHistory.h"
#include "image/Exif.h"
#include "image/LoadPicture.h"
#include "image/SavePicture.h"
#include "support/ExifTestSupport.h"
#include "support/TestSupport.h"

namespace {

EditStep Step(StepKind kind, int32_t target = 0) {
    EditStep step;
    step.kind = kind;
    step.target = target;
    return step;
}

EditStep Load(const std::string& source) {
    EditStep step;
    step.source = source;
    return step;
}

// A snapshot whose photo is a 176 x 180 picture of one grey level.
EditSnapshot GreySnapshot(uint8_t level) {
    DibBlock photo = MakeSolid(kCanvasWidth, kCanvasHeight, level * 0x010101u);
    EditSnapshot snapshot;
    Scene scene;
    scene.displayPhoto = std::move(photo);
    EXPECT_TRUE(CaptureSnapshot(scene, nullptr, &snapshot));
    return snapshot;
}

uint8_t LevelOf(const EditSnapshot* snapshot) {
    return snapshot != nullptr && snapshot->photo ? DibPixels(snapshot->photo.get())[0] : 0;
}

}  // namespace

TEST(EffectiveSteps, ResolvesRecoverIntoTheStepsOfThePhotoItReturnsTo) {
    const std::vector<EditStep> plain = {Load("a.bmp"), Step(STEP_DELETE), Step(STEP_DELETE)};
    EXPECT_EQ(EffectiveSteps(plain), (std::vector<int32_t>{0, 1, 2}));

    // 0 load, 1, 2, 3 recover to 1, 4, 5 recover to 4, 6 recover to 0.
    std::vector<EditStep> steps = {Load("a.bmp"),         Step(STEP_DELETE), Step(STEP_DELETE),
                                   Step(STEP_RECOVER, 1), Step(STEP_DELETE), Step(STEP_RECOVER, 4)};
    EXPECT_EQ(EffectiveSteps(steps), (std::vector<int32_t>{0, 1, 3, 4, 5}));
    steps.push_back(Step(STEP_RECOVER, 0));
    EXPECT_EQ(EffectiveSteps(steps), (std::vector<int32_t>{0, 6}));

    const std::vector<std::vector<EditStep>> refused = {
        {},
        {Step(STEP_DELETE)},
        {Load("a.bmp"), Load("b.bmp")},
        {Load("a.bmp"), Step(STEP_RECOVER, 1)},  // to itself
        {Load("a.bmp"), Step(STEP_RECOVER, -1)},
    };
    for (const std::vector<EditStep>& list : refused) {
        EXPECT_TRUE(EffectiveSteps(list).empty()) << list.size();
    }
}

TEST(RenderHistory, FullSizeFactorNeverEnlargesTheSourceAndStaysWithinFortyMegapixels) {
    EXPECT_EQ(MaxRenderFactor(), 35);  // 6160 x 6300 = 38.8 megapixels; 36 would be 41.1
    const struct {
        int32_t width;
        int32_t height;
        int32_t factor;
    } cases[] = {{100, 100, 1},    {176, 180, 1},    {351, 5000, 1},    {352, 360, 2},
                 {5472, 3648, 20}, {3648, 5472, 20}, {20000, 20000, 35}};
    for (const auto& c : cases) {
        EXPECT_EQ(FullSizeFactor(c.width, c.height), c.factor) << c.width << " x " << c.height;
    }
}

TEST(RenderHistory, FailuresGiveNoPictureAndSayWhereTheyHappened) {
    TempDir dir;
    const std::string source = dir.File("photo.bmp");
    ASSERT_TRUE(SavePicture(source, *MakePatternImage(300, 200)).Ok());
    EditStep frame = Step(STEP_FRAME);
    frame.item = {DECOR_FRAME, "Gone", 1};
    const struct {
        std::vector<EditStep> steps;
        int32_t factor;
        RenderError error;
        int32_t step;
    } cases[] = {
        {{Load(source)}, 0, RENDER_BAD_FACTOR, -1},
        {{Load(source)}, 36, RENDER_BAD_FACTOR, -1},
        {{Step(STEP_DELETE)}, 1, RENDER_BAD_STEPS, -1},
        {{Load(dir.File("missing.jpg"))}, 1, RENDER_CANNOT_LOAD, 0},
        {{Load("")}, 1, RENDER_CANNOT_LOAD, 0},
        {{Load(source), Step(STEP_DELETE), frame}, 2, RENDER_NO_DECORATION, 2},
    };
    for (const auto& c : cases) {
        RenderOptions options;
        options.assetFolder = dir.Path();
        options.factor = c.factor;
        const RenderResult result = RenderHistory(c.steps, options);
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.step, c.step);
        EXPECT_FALSE(result.picture);
    }
    // Another source in place of the load step's own.
    RenderOptions options;
    options.source = source;
    options.factor = 2;
    const RenderResult other = RenderHistory({Load(dir.File("missing.jpg"))}, options);
    ASSERT_TRUE(other.Ok());
    EXPECT_EQ(other.picture->header.biWidth, 352);
    EXPECT_EQ(other.picture->header.biHeight, 360);
}

// The full size comes from the source as it is shown: every format, and a
// JPEG turned on its side by its EXIF orientation with its sides swapped.
TEST(RenderHistory, ReadsTheSourceSizeAsThePictureIsShown) {
    TempDir dir;
    const DibBlock pattern = MakePatternImage(640, 481);
    for (const char* name : {"a.bmp", "a.jpg", "a.png"}) {
        ASSERT_TRUE(SavePicture(dir.File(name), *pattern).Ok()) << name;
        const LoadResult size = ReadPictureSize(dir.File(name));
        ASSERT_TRUE(size.Ok()) << name;
        EXPECT_EQ(size.width, 640) << name;
        EXPECT_EQ(size.height, 481) << name;
        EXPECT_FALSE(size.picture) << name;
    }
    ASSERT_TRUE(WriteWholeFile(dir.File("turned.jpg"),
                               WithExifSegment(ReadWholeFile(dir.File("a.jpg")),
                                               MakeExifBlock({ORIENTATION_TURNED_90, false, {}}))));
    const LoadResult portrait = ReadPictureSize(dir.File("turned.jpg"));
    ASSERT_TRUE(portrait.Ok());
    EXPECT_EQ(portrait.width, 481);
    EXPECT_EQ(portrait.height, 640);
    EXPECT_EQ(ReadPictureSize(dir.File("none.jpg")).error, LOAD_CANNOT_OPEN);
    EXPECT_EQ(ReadPictureSize(dir.File("a.txt")).error, LOAD_UNKNOWN_TYPE);
}

// A frame drawn at four times its size beside the phone-size file: factor 1
// uses the phone-size file, factor 4 the large copy as it is, factor 2 the
// large copy shrunk; without a copy the phone-size file is enlarged.
TEST(RenderHistory, DecorationsComeFromTheirLargeCopyWhereThereIsOne) {
    TempDir dir;
    const std::string assets = dir.File("assets");
    const std::string folder = CategoryFolderPath(assets, DECOR_FRAME) + "Big/";
    std::filesystem::create_directories(folder);
    const std::string source = dir.File("photo.bmp");
    ASSERT_TRUE(SavePicture(source, *MakeSolid(704, 720, 0x000000)).Ok());
    // Opaque masks, so that the frame's colour is the whole picture.
    ASSERT_TRUE(SavePicture(folder + "Big1.adm", *MakeSolid(176, 180, 0x204080)).Ok());
    ASSERT_TRUE(SavePicture(folder + "Bigmask1.adm", *MakeSolid(176, 180, 0xFFFFFF)).Ok());
    ASSERT_TRUE(SavePicture(folder + "Big1@4x.adm", *MakeSolid(704, 720, 0xC08020)).Ok());
    ASSERT_TRUE(SavePicture(folder + "Bigmask1@4x.adm", *MakeSolid(704, 720, 0xFFFFFF)).Ok());
    EXPECT_EQ(CountItems(folder, "Big"), 1) << "a large copy is no item of its own";
    EditStep frame = Step(STEP_FRAME);
    frame.item = {DECOR_FRAME, "Big", 1};
    const std::vector<EditStep> steps = {Load(source), frame};
    const auto colourAt = [&](int32_t factor) {
        RenderOptions options;
        options.assetFolder = assets;
        options.factor = factor;
        const RenderResult result = RenderHistory(steps, options);
        EXPECT_TRUE(result.Ok()) << factor;
        return result.Ok() ? PixelAt(result.picture.get(), 88 * factor, 90 * factor) : 0u;
    };
    // Within 3 levels a channel: the frames are JPEG files.
    const auto expectNear = [&](int32_t factor, uint32_t rgb) {
        const uint32_t colour = colourAt(factor);
        for (int shift = 0; shift < 24; shift += 8) {
            EXPECT_NEAR(int(colour >> shift & 0xFF), int(rgb >> shift & 0xFF), 3)
                << "factor " << factor << ": " << std::hex << colour;
        }
    };
    expectNear(1, 0x204080);
    expectNear(4, 0xC08020);
    expectNear(2, 0xC08020);
    std::filesystem::remove(folder + "Big1@4x.adm");
    std::filesystem::remove(folder + "Bigmask1@4x.adm");
    expectNear(3, 0x204080);
}

TEST(EditHistory, KeepsTheNewestHundredStepsAndEveryRecord) {
    EditHistory history;
    history.Start(Load("a.bmp"), GreySnapshot(0));
    EXPECT_EQ(history.UndoSteps(), 0);
    EXPECT_EQ(history.Undo(), nullptr);
    for (int i = 1; i <= 150; ++i) {
        history.Record(Step(STEP_DELETE), GreySnapshot(static_cast<uint8_t>(i - 1)),
                       GreySnapshot(static_cast<uint8_t>(i)));
    }
    EXPECT_EQ(history.UndoSteps(), 100);
    EXPECT_EQ(history.AppliedSteps().size(), 151u);
    for (int i = 149; i >= 50; --i) {
        ASSERT_EQ(LevelOf(history.Undo()), i);
    }
    EXPECT_EQ(history.Undo(), nullptr) << "older steps can no longer be undone";
    EXPECT_EQ(history.AppliedSteps().size(), 51u);
    EXPECT_EQ(history.RedoSteps(), 100);
    EXPECT_EQ(LevelOf(history.Redo()), 51);
    // A new step drops the redo branch.
    history.Record(Step(STEP_DELETE), GreySnapshot(51), GreySnapshot(200));
    EXPECT_EQ(history.RedoSteps(), 0);
    EXPECT_EQ(history.Redo(), nullptr);
    EXPECT_EQ(LevelOf(history.Current()), 200);
    EXPECT_EQ(history.AppliedSteps().size(), 53u);
}

TEST(EditHistory, TheSavedStepDecidesWhatRecoverAndPhotoChangedMean) {
    EditHistory history;
    history.Start(Load("a.bmp"), GreySnapshot(10));
    EXPECT_TRUE(history.AtSaved());
    history.Record(Step(STEP_DELETE), GreySnapshot(10), GreySnapshot(10));
    EXPECT_TRUE(history.AtSaved()) << "Delete keeps the photo";
    history.Record(Step(STEP_EFFECT), GreySnapshot(10), GreySnapshot(20));
    EXPECT_FALSE(history.AtSaved());
    EXPECT_EQ(history.RecoverTarget(), 0);
    EXPECT_EQ(LevelOf(history.RecoverSnapshot()), 10);

    history.MarkSaved();  // at step 2
    EXPECT_TRUE(history.AtSaved());
    EXPECT_EQ(history.RecoverTarget(), 2);
    EXPECT_EQ(LevelOf(history.RecoverSnapshot()), 20);
    history.Record(Step(STEP_MOVE), GreySnapshot(20), GreySnapshot(20));
    EXPECT_TRUE(history.AtSaved()) << "a move keeps the photo";
    history.Record(Step(STEP_TONES), GreySnapshot(20), GreySnapshot(30));
    EXPECT_FALSE(history.AtSaved());
    history.Record(Step(STEP_RECOVER, 2), GreySnapshot(30), GreySnapshot(20));
    EXPECT_TRUE(history.AtSaved()) << "a Recover to the saved step";
    history.Undo();
    history.Undo();
    EXPECT_TRUE(history.AtSaved()) << "undone to the move after the saved step";
    history.Undo();
    history.Undo();
    EXPECT_FALSE(history.AtSaved()) << "undone past the saved step";
    EXPECT_EQ(history.RecoverTarget(), 0) << "the saved step is not applied";
    // A new step drops the branch holding the saved step: nothing is saved
    // any more, and Recover goes back to the load.
    history.Record(Step(STEP_DELETE), GreySnapshot(10), GreySnapshot(10));
    EXPECT_FALSE(history.AtSaved());
    EXPECT_EQ(history.RecoverTarget(), 0);
    EXPECT_EQ(LevelOf(history.RecoverSnapshot()), 10);
}

TEST(EditHistory, SnapshotsShareThePicturesThatAreTheSame) {
    EditHistory history;
    Scene scene;
    scene.displayPhoto = MakeSolid(kCanvasWidth, kCanvasHeight, 0x102030);
    EditSnapshot first;
    ASSERT_TRUE(CaptureSnapshot(scene, nullptr, &first));
    history.Start(Load("a.bmp"), first);
    const size_t one = history.SnapshotBytes();
    EXPECT_EQ(one, DibBlockBytes(first.photo->header));
    for (int i = 0; i < 20; ++i) {
        scene.photoX = static_cast<int16_t>(i);
        EditSnapshot before = *history.Current();
        EditSnapshot after;
        ASSERT_TRUE(CaptureSnapshot(scene, history.Current(), &after));
        EXPECT_EQ(after.photo, before.photo);
        history.Record(Step(STEP_MOVE), before, after);
    }
    EXPECT_EQ(history.SnapshotBytes(), one) << "moves share one photo";

    // Restoring copies the pictures back and leaves the snapshot as it was.
    Scene restored;
    ASSERT_TRUE(RestoreSnapshot(*history.Current(), &restored));
    EXPECT_EQ(restored.photoX, 19);
    EXPECT_EQ(FirstDifference(scene.displayPhoto.get(), restored.displayPhoto.get()), "");
    DibPixels(restored.displayPhoto.get())[0] ^= 0xFF;
    EXPECT_EQ(DibPixels(history.Current()->photo.get())[0], 0x30);
}
