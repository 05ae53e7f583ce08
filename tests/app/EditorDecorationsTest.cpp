// The decorations in the editor, on an asset folder written by the test: the
// "Add ..." pop-ups, the theme commands' questions, the chooser's keys,
// Merge, Delete, and settling before a save (on Close: with the save flows).
#include <filesystem>
#include <initializer_list>
#include <tuple>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "decor/AssetTestSupport.h"
#include "image/LoadPicture.h"

namespace {

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
    // The frames and pictures the tests place: frame 2 and picture 1.
    void PlaceFrame() { Choose(kFrameTheme, 2); }
    void PlacePicture() { Choose(kPictureTheme, 1); }

    DibBlock Asset(AssetUse use, int16_t item) const {
        return LoadAsset(Assets(), State().themes, use, item);
    }
};

TEST_F(EditorDecorationsTest, FirstPopupAddsOnePopupPerCategoryWithThemes) {
    AddAssetTheme(Assets(), DECOR_FRAME, "Classic", 2);
    std::filesystem::create_directories(Assets() + "Frame/Empty");
    AddAssetTheme(Assets(), DECOR_WORD, "Hello", 2);
    AddAssetTheme(Assets(), DECOR_WORD, "Thanks", 4);

    // Not while a message box is up.
    shell_.whileModal = [&] { editor_->MenuPopup(); };
    editor_->Command(CMD_ABOUT);
    EXPECT_TRUE(State().decorationMenuPending);
    shell_.whileModal = nullptr;

    shell_.waitCursor.clear();
    editor_->MenuPopup();
    editor_->MenuPopup();  // built once
    EXPECT_FALSE(State().decorationMenuPending);
    EXPECT_EQ(shell_.waitCursor, (std::vector<bool>{true, false}));

    // Both word categories have their pop-ups, themes or not.
    const Menu& object = editor_->GetMenu(MENU_OBJECT);
    ASSERT_EQ(object.size(), 7u);
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
    expectPopup(object[2], "Add Word",
                {{50041, "Hello(2)", true},
                 {50042, "Thanks(4)", true},
                 {0, "", true},
                 {CMD_TYPE_WORD, "Type your own...", true}});
    expectPopup(object[3], "Add Colorful Word",
                {{CMD_TYPE_COLORFUL_WORD, "Type your own...", true}});

    // A theme without items, one that does not exist, and any theme while a
    // mode is on are ignored.
    for (const uint16_t id : std::initializer_list<uint16_t>{50002, 50003, 50051}) {
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

// A placed frame and a floating object never lie on screen together: a
// theme command settles the one that is there before its chooser opens, and
// "Type your own..." before its text field opens, as a word theme does.
TEST_F(EditorDecorationsTest, ThemeCommandSettlesWhatIsPendingFirst) {
    StandardLibrary();
    enum Pending { NOTHING, FRAME, OBJECT };
    for (const uint16_t id : {kFrameTheme, kPictureTheme, uint16_t(CMD_TYPE_WORD)}) {
        const bool frameKind = id == kFrameTheme;
        for (const Pending pending : {NOTHING, FRAME, OBJECT}) {
            for (const bool yes : {false, true}) {
                SCOPED_TRACE(testing::Message()
                             << id << " pending " << pending << (yes ? " yes" : " no"));
                StartEditor();
                editor_->MenuPopup();
                if (pending == FRAME) {
                    PlaceFrame();
                } else if (pending == OBJECT) {
                    PlacePicture();
                }
                const std::vector<uint8_t> before = Photo();
                shell_.questions.clear();
                std::vector<std::string> expected;
                if (pending != NOTHING) {
                    expected.push_back(pending == FRAME ? "Border" : "Floating");
                }
                shell_.answers.assign(expected.size(), yes);

                editor_->Command(id);
                EXPECT_EQ(Captions(), expected);
                EXPECT_TRUE(shell_.answers.empty());
                // A new frame leaves the old one for No; otherwise every
                // question's No removes and its Yes merges.
                EXPECT_EQ(State().frame.placed, pending == FRAME && frameKind && !yes);
                EXPECT_FALSE(State().object.present);
                EXPECT_EQ(State().photoChanged, yes && pending != NOTHING);
                EXPECT_EQ(Photo() != before, yes && pending != NOTHING);
                EXPECT_TRUE(
                    id == CMD_TYPE_WORD
                        ? State().textField.open
                        : State().chooser.open[frameKind ? CHOOSER_FRAME : CHOOSER_PICTURE]);
            }
        }
    }
}

// The theme of the chooser that is open already keeps its page; for the
// frame kind the placed frame is asked about (and kept on No) first.
TEST_F(EditorDecorationsTest, ThemeOfTheOpenChooserKeepsThePage) {
    StandardLibrary();
    for (const uint16_t id : {kPattern24Theme, kFrameTheme}) {
        SCOPED_TRACE(id);
        const bool frame = id == kFrameTheme;
        StartEditor();
        editor_->MenuPopup();
        if (frame) {
            PlaceFrame();
            shell_.answers = {false};
        }
        editor_->Command(id);
        Tap(KEY_DOWN);
        ASSERT_EQ(State().chooser.page, 1);
        shell_.questions.clear();
        shell_.answers.assign(frame ? 1 : 0, false);
        editor_->Command(id);
        EXPECT_EQ(Captions(),
                  frame ? std::vector<std::string>{"Border"} : std::vector<std::string>{});
        EXPECT_EQ(State().frame.placed, frame);
        EXPECT_EQ(State().chooser.page, 1);
    }
}

// The arrows page the chooser (never past its pages, never moving the
// photo), a digit places its item, and the action key and Back close it
// without placing anything.
TEST_F(EditorDecorationsTest, ChooserKeysPageAndPlaceAndBackClosesIt) {
    StandardLibrary();
    editor_->Command(kFrameTheme);
    ASSERT_TRUE(State().chooser.open[CHOOSER_FRAME]);
    const std::vector<uint8_t> firstPage = shell_.lastScreen;
    int screens = shell_.screens;
    Tap(KEY_DOWN);
    EXPECT_EQ(State().chooser.page, 1);
    EXPECT_NE(shell_.lastScreen, firstPage);
    Tap(KEY_DOWN);
    Tap(KEY_LEFT);
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

    shell_.answers = {false};  // the frame is removed
    editor_->Command(kPattern24Theme);
    Tap(KEY_ACTION);
    EXPECT_FALSE(State().chooser.AnyOpen());
    editor_->Command(kPattern24Theme);
    screens = shell_.screens;
    editor_->BackKey();
    EXPECT_FALSE(State().chooser.AnyOpen());
    EXPECT_FALSE(State().frame.placed || State().object.present);
    EXPECT_EQ(shell_.screens, screens + 1);
    EXPECT_EQ(shell_.lastScreen, original_);
}

// Merge burns the frame in (its mask is opaque) and greys Merge and Delete
// until something is placed again; Delete takes the object off and leaves
// the photo as it was.
TEST_F(EditorDecorationsTest, MergeBurnsTheDecorationInAndDeleteRemovesIt) {
    StandardLibrary();
    PlaceFrame();
    const std::vector<uint8_t> frame = Rows(State().frame.colour.get());
    editor_->Command(CMD_MERGE);
    EXPECT_FALSE(State().frame.placed);
    EXPECT_TRUE(State().photoChanged);
    EXPECT_EQ(Photo(), frame);
    EXPECT_EQ(shell_.lastScreen, frame);
    editor_->MenuPopup();
    for (const uint16_t id : {CMD_MERGE, CMD_DELETE}) {
        EXPECT_FALSE(FindMenuItem(editor_->GetMenu(MENU_OBJECT), id)->enabled) << id;
    }
    int screens = shell_.screens;
    editor_->Command(CMD_MERGE);
    EXPECT_EQ(shell_.screens, screens);

    StartEditor();
    editor_->MenuPopup();
    PlacePicture();
    screens = shell_.screens;
    editor_->Command(CMD_DELETE);
    EXPECT_FALSE(State().object.present);
    EXPECT_FALSE(State().photoChanged);
    EXPECT_EQ(Photo(), original_);
    EXPECT_EQ(shell_.lastScreen, original_);
    editor_->Command(CMD_DELETE);
    EXPECT_EQ(shell_.screens, screens + 1);
}

// Before a save the pending decoration is asked about; what the user
// declines stays on screen and is not part of the saved picture.
TEST_F(EditorDecorationsTest, SaveAsAsksAboutThePendingDecorationAndSavesOnlyWhatWasMerged) {
    StandardLibrary();
    PlaceFrame();
    const std::vector<uint8_t> frame = Rows(State().frame.colour.get());
    // Answers the one question with yes, saves as name.bmp and reads it back.
    const auto save = [&](bool yes, const std::string& name) {
        shell_.questions.clear();
        shell_.answers = {yes};
        shell_.saveAsAnswers = {ScriptedShell::SaveAs(name, PICTURE_BMP)};
        editor_->Command(CMD_SAVE_AS);
        return SavedRows(dir_.File(name + ".bmp"));
    };
    EXPECT_EQ(save(false, "plain"), original_);
    EXPECT_EQ(Captions(), std::vector<std::string>{"Border"});
    EXPECT_TRUE(State().frame.placed);
    EXPECT_FALSE(State().photoChanged);

    EXPECT_EQ(save(true, "framed"), frame);
    EXPECT_FALSE(State().frame.placed);

    PlacePicture();
    const std::vector<uint8_t> both = save(true, "both");  // merged first
    EXPECT_EQ(both, Photo());
    EXPECT_EQ(Captions(), std::vector<std::string>{"Floating"});
    EXPECT_FALSE(State().object.present);
    EXPECT_NE(Photo(), frame);
    EXPECT_FALSE(State().photoChanged);
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

    ChangePhoto();
    EXPECT_TRUE(State().chooser.open[CHOOSER_PICTURE]);
    EXPECT_NE(shell_.lastScreen, page);
    // Wherever the page let the photo through, the changed photo shows.
    const std::vector<uint8_t> photo = Photo();
    int through = 0;
    for (int32_t y = 0; y < kCanvasHeight; ++y) {
        for (int32_t x = 0; x < kCanvasWidth; ++x) {
            if (CanvasPixel(page, x, y) == CanvasPixel(original_, x, y) &&
                CanvasPixel(photo, x, y) != CanvasPixel(original_, x, y)) {
                ++through;
                ASSERT_EQ(CanvasPixel(shell_.lastScreen, x, y), CanvasPixel(photo, x, y))
                    << x << "," << y;
            }
        }
    }
    EXPECT_GT(through, 1000);
}
