// The decorations in the editor, on an asset folder written by the test: the
// "Add ..." pop-ups, the theme commands' questions, the chooser's keys, the
// object's moves, Merge, Delete, and settling before a save or on Close.
#include <filesystem>
#include <tuple>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "decor/AssetTestSupport.h"
#include "decor/ComposeScreen.h"
#include "decor/Decorations.h"
#include "image/LoadPicture.h"

namespace {

// Theme 0 of each kind of the standard library below.
constexpr uint16_t kFrameTheme = 50001;      // "Classic", 12 frames
constexpr uint16_t kPattern24Theme = 50021;  // "Stars", 7 stamps
constexpr uint16_t kPictureTheme = 50031;    // "Party", 2 pictures
constexpr uint16_t kWordTheme = 50041;       // "Hello", 4 words

constexpr int16_t Digit(int d) {
    return static_cast<int16_t>(KEY_DIGIT_0 + d);
}

std::vector<uint8_t> Rows(const DibImage* picture) {
    const uint8_t* pixels = picture != nullptr ? DibPixels(picture) : nullptr;
    return pixels != nullptr ? std::vector<uint8_t>(pixels, pixels + kCanvasPixelBytes)
                             : std::vector<uint8_t>();
}

std::vector<uint8_t> SavedRows(const std::string& path) {
    const DibBlock saved = LoadPicture(path, LoadRequest()).picture;
    return Rows(saved.get());
}

}  // namespace

class EditorDecorationsTest : public EditorTest {
  protected:
    std::string Assets() const { return folder_ + "FotakleFolder/"; }

    // The library most tests use, read by the first pop-up.
    void StandardLibrary() {
        AddAssetTheme(Assets(), DECOR_FRAME, "Classic", 12);
        AddAssetTheme(Assets(), DECOR_PATTERN24, "Stars", 7);
        AddAssetTheme(Assets(), DECOR_PICTURE, "Party", 2);
        AddAssetTheme(Assets(), DECOR_WORD, "Hello", 4);
        editor_->MenuPopup();
    }

    // A placed frame (item 2) and a floating picture (item 1), loaded
    // straight into the state: no flow of the editor leaves both pending.
    void Place(bool frame, bool object) {
        EditorState& state = editor_->MutableState();
        state.themes.selectedTheme[DECOR_FRAME] = 0;
        state.themes.selectedTheme[DECOR_PICTURE] = 0;
        if (frame) {
            ASSERT_TRUE(LoadFrame(&state, Assets(), 2));
        }
        if (object) {
            ASSERT_TRUE(LoadPictureObject(&state, Assets(), 1));
        }
    }

    DibBlock Asset(AssetUse use, int16_t item) const {
        return LoadAsset(Assets(), State().themes, use, item);
    }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const ScriptedShell::Box& box : shell_.questions) {
            captions.push_back(box.caption);
        }
        return captions;
    }
};

TEST_F(EditorDecorationsTest, FirstPopupAddsOnePopupPerCategoryWithThemes) {
    AddAssetTheme(Assets(), DECOR_FRAME, "Classic", 2);
    std::filesystem::create_directories(Assets() + "Frame/Empty");
    AddAssetTheme(Assets(), DECOR_WORD, "Hello", 2);
    AddAssetTheme(Assets(), DECOR_WORD, "Thanks", 4);

    // Not while a message box is up.
    editor_->MutableState().messageBoxOpen = true;
    editor_->MenuPopup();
    EXPECT_TRUE(State().decorationMenuPending);
    editor_->MutableState().messageBoxOpen = false;

    shell_.waitCursor.clear();
    editor_->MenuPopup();
    editor_->MenuPopup();  // built once
    EXPECT_FALSE(State().decorationMenuPending);
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));

    const Menu& object = editor_->GetMenu(MENU_OBJECT);
    ASSERT_EQ(object.size(), 6u);
    EXPECT_EQ(object[0].text, "Change Color");
    EXPECT_TRUE(object[3].IsSeparator());
    EXPECT_EQ(object[4].id, CMD_MERGE);
    EXPECT_EQ(object[5].id, CMD_DELETE);
    const auto expectPopup = [](const MenuItem& popup, const std::string& text,
                                std::vector<std::tuple<uint16_t, std::string, bool>> items) {
        EXPECT_TRUE(popup.popup);
        EXPECT_EQ(popup.text, text);
        ASSERT_EQ(popup.items.size(), items.size()) << text;
        for (size_t i = 0; i < items.size(); ++i) {
            EXPECT_EQ(popup.items[i].id, std::get<0>(items[i]));
            EXPECT_EQ(popup.items[i].text, std::get<1>(items[i]));
            EXPECT_EQ(popup.items[i].enabled, std::get<2>(items[i]));
        }
    };
    expectPopup(object[1], "Add Frame", {{50001, "Classic(2)", true}, {50002, "Empty(0)", false}});
    expectPopup(object[2], "Add Word", {{50041, "Hello(2)", true}, {50042, "Thanks(4)", true}});

    // A theme without items, one that does not exist, and any theme while a
    // mode is on are ignored.
    for (uint16_t id : {50002, 50003, 50051}) {
        editor_->Command(id);
    }
    editor_->Command(CMD_BRIGHTNESS);
    editor_->Command(50041);
    EXPECT_FALSE(State().chooser.AnyOpen());
    editor_->Command(CMD_CANCEL);

    editor_->Command(50042);
    EXPECT_TRUE(State().chooser.open[CHOOSER_WORD]);
    EXPECT_EQ(State().themes.selectedTheme[DECOR_WORD], 1);
    EXPECT_EQ(State().chooser.itemCount, 4);
    EXPECT_EQ(State().chooser.pageCount, 2);
    EXPECT_TRUE(shell_.questions.empty());
}

TEST_F(EditorDecorationsTest, ThemeCommandSettlesTheFrameThenTheObject) {
    StandardLibrary();
    for (const uint16_t id : {kFrameTheme, kPictureTheme}) {
        const bool frameKind = id == kFrameTheme;
        for (int pending = 0; pending < 4; ++pending) {
            for (const bool yes : {false, true}) {
                const bool frame = pending & 1;
                const bool object = pending & 2;
                SCOPED_TRACE(testing::Message() << id << " frame " << frame << " object " << object
                                                << (yes ? " yes" : " no"));
                StartEditor();
                editor_->MenuPopup();
                Place(frame, object);
                shell_.questions.clear();
                std::vector<std::string> expected;
                if (frame) {
                    expected.push_back("Border");
                }
                if (object && !(frameKind && frame)) {
                    expected.push_back("Floating");
                }
                shell_.answers.assign(expected.size(), yes);

                editor_->Command(id);
                EXPECT_EQ(Captions(), expected);
                EXPECT_TRUE(shell_.answers.empty());
                // A new frame leaves the old one for No; otherwise every
                // question's No removes and its Yes merges. A frame-kind
                // command asked about the frame leaves the object alone.
                EXPECT_EQ(State().frame.placed, frame && frameKind && !yes);
                EXPECT_EQ(State().object.present, object && frameKind && frame);
                EXPECT_EQ(State().photoChanged, yes && !expected.empty());
                EXPECT_EQ(Photo() != original_, yes && !expected.empty());
                EXPECT_TRUE(State().chooser.open[frameKind ? CHOOSER_FRAME : CHOOSER_PICTURE]);
            }
        }
    }
}

TEST_F(EditorDecorationsTest, ThemeOfTheOpenChooserAsksOnlyAboutTheFrameAndKeepsThePage) {
    StandardLibrary();
    for (const uint16_t id : {kPattern24Theme, kFrameTheme}) {
        SCOPED_TRACE(id);
        StartEditor();
        editor_->MenuPopup();
        editor_->Command(id);
        Tap(KEY_DOWN);
        ASSERT_EQ(State().chooser.page, 1);
        Place(true, true);
        shell_.questions.clear();
        shell_.answers = {false};
        editor_->Command(id);
        EXPECT_EQ(Captions(), std::vector<std::string>{"Border"});
        EXPECT_EQ(State().frame.placed, id == kFrameTheme);
        EXPECT_TRUE(State().object.present);
        EXPECT_EQ(State().chooser.page, 1);
    }
}

TEST_F(EditorDecorationsTest, ChooserKeysPageAndPlaceAndBackClosesIt) {
    StandardLibrary();
    editor_->Command(kFrameTheme);
    ASSERT_TRUE(State().chooser.open[CHOOSER_FRAME]);
    const std::vector<uint8_t> firstPage = shell_.lastScreen;
    int screens = shell_.screens;
    Tap(KEY_DOWN);
    EXPECT_EQ(State().chooser.page, 1);
    EXPECT_NE(shell_.lastScreen, firstPage);
    Tap(KEY_DOWN);  // no third page
    Tap(KEY_LEFT);  // neither the chooser's nor the photo's
    EXPECT_EQ(State().chooser.page, 1);
    EXPECT_EQ(State().photoX, 0);
    EXPECT_EQ(shell_.screens, screens + 1);
    Tap(KEY_UP);
    EXPECT_EQ(State().chooser.page, 0);
    EXPECT_EQ(shell_.lastScreen, firstPage);

    // 9 on the first page places item 9, shown on the second.
    Tap(Digit(9));
    EXPECT_FALSE(State().chooser.AnyOpen());
    ASSERT_TRUE(State().frame.placed);
    EXPECT_EQ(Rows(State().frame.colour.get()), Rows(Asset(ASSET_FRAME, 9).get()));
    shell_.answers = {false};  // keep the frame while choosing another
    editor_->Command(kFrameTheme);
    Tap(Digit(0));
    EXPECT_EQ(Rows(State().frame.colour.get()), Rows(Asset(ASSET_FRAME, 10).get()));

    // Word, 4 items: the second page holds item 4 alone.
    shell_.answers = {false};
    editor_->Command(kWordTheme);
    EXPECT_FALSE(State().frame.placed);
    Tap(KEY_DOWN);
    Tap(Digit(2));
    EXPECT_TRUE(State().chooser.open[CHOOSER_WORD]);
    Tap(Digit(1));
    EXPECT_FALSE(State().chooser.AnyOpen());
    ASSERT_TRUE(State().object.present);
    EXPECT_EQ(State().object.type, OBJECT_WORD);
    EXPECT_EQ(DibPixels(State().object.mask.get())[0], DibPixels(Asset(ASSET_WORD, 4).get())[0]);

    // The action key and the Back key close without placing.
    shell_.answers = {false};
    editor_->Command(kPattern24Theme);
    EXPECT_FALSE(State().object.present);
    Tap(KEY_ACTION);
    EXPECT_FALSE(State().chooser.AnyOpen());
    editor_->Command(kPattern24Theme);
    screens = shell_.screens;
    editor_->BackKey();
    EXPECT_FALSE(State().chooser.AnyOpen());
    EXPECT_FALSE(State().object.present);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(shell_.lastScreen, original_);
}

TEST_F(EditorDecorationsTest, HeldKeysMoveThePlacedObjectFasterAndSoDoesTheScreen) {
    StandardLibrary();
    editor_->Command(kPattern24Theme);
    Tap(Digit(3));
    ASSERT_TRUE(State().object.present);
    EXPECT_EQ(State().object.x, 76);
    EXPECT_EQ(State().object.y, 78);
    const std::vector<uint8_t> before = shell_.lastScreen;
    const int screens = shell_.screens;
    Hold(KEY_UP, 4);  // 1 + 2 + 3 + 4
    editor_->KeyUp();
    Hold(KEY_LEFT, 2);  // 1 + 2
    EXPECT_EQ(State().object.x, 73);
    EXPECT_EQ(State().object.y, 88);
    EXPECT_EQ(shell_.screens, screens + 6);
    // The stamp left its first place, which shows the photo again.
    EXPECT_NE(CanvasPixel(before, 76, 78), CanvasPixel(original_, 76, 78));
    EXPECT_EQ(CanvasPixel(shell_.lastScreen, 76, 78), CanvasPixel(original_, 76, 78));
    EXPECT_NE(CanvasPixel(shell_.lastScreen, 73, 88), CanvasPixel(original_, 73, 88));
    EXPECT_EQ(State().photoX, 0);
    EXPECT_EQ(State().photoY, 0);
}

TEST_F(EditorDecorationsTest, MergeBurnsTheFrameInFirstThenTheObjectAndDeleteRemovesBoth) {
    StandardLibrary();
    Place(true, true);
    const std::vector<uint8_t> frame = Rows(State().frame.colour.get());
    const DibBlock picture = Asset(ASSET_PICTURE, 1);
    editor_->Command(CMD_MERGE);
    EXPECT_FALSE(State().frame.placed);
    EXPECT_TRUE(State().object.present);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(Photo(), frame);  // the frame's mask is opaque

    editor_->Command(CMD_MERGE);
    EXPECT_FALSE(State().object.present);
    const std::vector<uint8_t> photo = Photo();
    EXPECT_EQ(CanvasPixel(photo, 58, 60), PixelAt(picture.get(), 0, 0));
    EXPECT_EQ(CanvasPixel(photo, 117, 119), PixelAt(picture.get(), 59, 59));
    EXPECT_EQ(CanvasPixel(photo, 57, 60), CanvasPixel(frame, 57, 60));
    EXPECT_EQ(shell_.lastScreen, photo);
    editor_->MenuPopup();
    EXPECT_FALSE(FindMenuItem(editor_->GetMenu(MENU_OBJECT), CMD_MERGE)->enabled);
    EXPECT_FALSE(FindMenuItem(editor_->GetMenu(MENU_OBJECT), CMD_DELETE)->enabled);
    int screens = shell_.screens;
    editor_->Command(CMD_MERGE);
    EXPECT_EQ(shell_.screens, screens);

    StartEditor();
    editor_->MenuPopup();
    Place(true, true);
    editor_->MenuPopup();
    EXPECT_TRUE(FindMenuItem(editor_->GetMenu(MENU_OBJECT), CMD_DELETE)->enabled);
    screens = shell_.screens;
    editor_->Command(CMD_DELETE);
    EXPECT_FALSE(State().frame.placed || State().object.present);
    EXPECT_FALSE(State().photoChanged);
    EXPECT_EQ(Photo(), original_);
    EXPECT_EQ(shell_.lastScreen, original_);
    editor_->Command(CMD_DELETE);
    EXPECT_EQ(shell_.screens, screens + 1);
}

TEST_F(EditorDecorationsTest, SaveAsSettlesAtMostOneDecorationAndSavesOnlyWhatWasMerged) {
    StandardLibrary();
    Place(true, true);
    const std::vector<uint8_t> frame = Rows(State().frame.colour.get());
    shell_.answers = {false};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("plain", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(Captions(), std::vector<std::string>{"Border"});
    EXPECT_EQ(SavedRows(dir_.File("plain.bmp")), original_);
    EXPECT_TRUE(State().frame.placed);
    EXPECT_TRUE(State().object.present);
    EXPECT_FALSE(State().photoChanged);

    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("framed", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(SavedRows(dir_.File("framed.bmp")), frame);
    EXPECT_TRUE(State().object.present);

    shell_.questions.clear();
    shell_.answers = {true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("both", PICTURE_BMP)};
    editor_->Command(CMD_SAVE_AS);
    EXPECT_EQ(Captions(), std::vector<std::string>{"Floating"});
    EXPECT_FALSE(State().object.present);
    EXPECT_EQ(SavedRows(dir_.File("both.bmp")), Photo());
    EXPECT_NE(Photo(), frame);
    EXPECT_FALSE(State().photoChanged);
}

TEST_F(EditorDecorationsTest, CloseWithOnlyAnObjectAsksToSaveThenToMergeIt) {
    StandardLibrary();
    Place(false, true);
    shell_.answers = {true, true};
    shell_.saveAsAnswers = {ScriptedShell::SaveAs("last", PICTURE_BMP)};
    editor_->Command(CMD_CLOSE);
    EXPECT_EQ(Captions(), (std::vector<std::string>{"Save", "Floating"}));
    EXPECT_EQ(shell_.questions[1].text, "Do you want to merge the moveable object ?");
    const std::vector<uint8_t> saved = SavedRows(dir_.File("last.bmp"));
    ASSERT_FALSE(saved.empty());
    EXPECT_NE(CanvasPixel(saved, 80, 80), CanvasPixel(original_, 80, 80));
    EXPECT_EQ(CanvasPixel(saved, 10, 10), CanvasPixel(original_, 10, 10));
    EXPECT_TRUE(shell_.quit);
}

// The page is kept for repaints, but a change under the open chooser (here
// an adjusted photo) is composed afresh rather than shown from the cache.
TEST_F(EditorDecorationsTest, OpenChooserRepaintsFromItsCacheButRedrawsAfterAChange) {
    StandardLibrary();
    editor_->Command(kPictureTheme);
    const std::vector<uint8_t> page = shell_.lastScreen;
    std::filesystem::remove_all(Assets() + "Picture");
    editor_->Paint();
    EXPECT_EQ(shell_.lastScreen, page);

    editor_->Command(CMD_BRIGHTNESS);
    Tap(KEY_UP);
    editor_->Command(CMD_DONE);
    EXPECT_TRUE(State().chooser.open[CHOOSER_PICTURE]);
    editor_->MutableState().cacheValid = false;
    AssetChooserPainter painter(Assets());
    const DibBlock fresh = ComposeScreen(editor_->MutableState(), &painter);
    EXPECT_EQ(shell_.lastScreen, Rows(fresh.get()));
    EXPECT_NE(shell_.lastScreen, page);
}
