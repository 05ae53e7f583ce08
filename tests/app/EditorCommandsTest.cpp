// Commands and menus: greying when a pop-up opens, the Close flow with its
// question, Recover, and the About box.
#include <filesystem>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "image/SavePicture.h"

namespace {

bool Enabled(const Editor& editor, MenuId menu, uint16_t id) {
    const MenuItem* item = FindMenuItem(editor.GetMenu(menu), id);
    EXPECT_NE(item, nullptr) << id;
    return item != nullptr && item->enabled;
}

}  // namespace

class EditorCommandsTest : public EditorTest {
  protected:
    void BrightenAndDone() {
        editor_->Command(CMD_BRIGHTNESS);
        Tap(KEY_UP);
        editor_->Command(CMD_DONE);
    }
};

TEST_F(EditorCommandsTest, PopupGreysWhatWouldDoNothing) {
    const auto popup = [&](uint16_t id) {
        editor_->MenuPopup();
        return Enabled(*editor_, id == CMD_MERGE ? MENU_OBJECT : MENU_FILE, id);
    };
    EXPECT_FALSE(popup(CMD_RECOVER));
    EXPECT_FALSE(popup(CMD_RESET_POSITION));
    EXPECT_FALSE(popup(CMD_MERGE));
    Tap(KEY_UP);
    EXPECT_TRUE(popup(CMD_RESET_POSITION));
    BrightenAndDone();
    EXPECT_TRUE(popup(CMD_RECOVER));
    editor_->MutableState().frame.placed = true;
    EXPECT_TRUE(popup(CMD_MERGE));
    EXPECT_TRUE(Enabled(*editor_, MENU_OBJECT, CMD_DELETE));
    EXPECT_FALSE(State().decorationMenuPending);  // built on the first pop-up

    editor_->Command(CMD_RESCALE);
    for (int i = 0; i < 6; ++i) {
        editor_->Command(CMD_INCREASE);
    }
    shell_.bars.clear();
    editor_->MenuPopup();
    EXPECT_EQ(shell_.bars, (std::vector<BarId>{BAR_RESCALE}));
    EXPECT_FALSE(Enabled(*editor_, MENU_RESCALE_ACTION, CMD_INCREASE));
    EXPECT_TRUE(Enabled(*editor_, MENU_RESCALE_ACTION, CMD_DECREASE));
    EXPECT_TRUE(Enabled(*editor_, MENU_ADJUST_ACTION, CMD_INCREASE));
    for (int i = 0; i < 12; ++i) {
        editor_->Command(CMD_DECREASE);
    }
    editor_->MenuPopup();
    EXPECT_TRUE(Enabled(*editor_, MENU_RESCALE_ACTION, CMD_INCREASE));
    EXPECT_FALSE(Enabled(*editor_, MENU_RESCALE_ACTION, CMD_DECREASE));
}

TEST_F(EditorCommandsTest, CloseAsksOnlyWhenSomethingIsUnsavedAndRemembersTheWorkFolder) {
    editor_->Command(CMD_CLOSE);
    EXPECT_TRUE(shell_.questions.empty());
    EXPECT_TRUE(shell_.quit);
    EXPECT_EQ((settings_.values[{"MainSection", "WorkFolder"}]), dir_.Path());

    // A changed photo, a floating object, a placed frame: each is asked about,
    // also by the window's close button.
    for (int reason = 0; reason < 3; ++reason) {
        SCOPED_TRACE(reason);
        StartEditor();
        if (reason == 0) {
            BrightenAndDone();
        }
        editor_->MutableState().object.present = reason == 1;
        editor_->MutableState().frame.placed = reason == 2;
        shell_.questions.clear();
        shell_.quit = false;
        settings_.values.clear();
        // A Yes with the object on screen asks about merging it too.
        shell_.answers = {reason == 1, false};
        if (reason == 1) {
            shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
        } else {
            shell_.answers.pop_back();
        }
        if (reason == 2) {
            editor_->CloseRequested();
        } else {
            editor_->Command(CMD_CLOSE);
        }
        ASSERT_EQ(shell_.questions.size(), reason == 1 ? 2u : 1u);
        EXPECT_EQ(shell_.questions[0].caption, "Save");
        EXPECT_EQ(shell_.questions[0].text, "Do you want to save this image ?");
        EXPECT_TRUE(shell_.quit);
        EXPECT_EQ((settings_.values[{"MainSection", "WorkFolder"}]), dir_.Path());
    }
}

TEST_F(EditorCommandsTest, RecoverReloadsTheStartupPictureUntilAPictureIsOpened) {
    const int screens = shell_.screens;
    editor_->Command(CMD_RECOVER);  // nothing changed yet
    EXPECT_EQ(shell_.screens, screens);

    BrightenAndDone();
    Tap(KEY_UP, 2);
    editor_->MutableState().object.present = true;
    editor_->Command(CMD_RECOVER);
    EXPECT_EQ(Photo(), original_);
    EXPECT_FALSE(State().photoChanged || State().object.present);
    EXPECT_TRUE(State().recoverFromStartup);
    EXPECT_EQ(State().photoY, 0);
    EXPECT_EQ(shell_.lastScreen, original_);

    // After an Open, the opened file.
    const DibBlock other = MakePatternImage(60, 40);
    ASSERT_TRUE(SavePicture(dir_.File("other.bmp"), *other).Ok());
    editor_->MutableState().currentFile = dir_.File("other.bmp");
    editor_->MutableState().recoverFromStartup = false;
    BrightenAndDone();
    editor_->Command(CMD_RECOVER);
    EXPECT_FALSE(State().photoChanged || State().recoverFromStartup);
    EXPECT_EQ(CanvasPixel(Photo(), 0, 0), 0u);  // 60 x 40 centred on black
    EXPECT_EQ(CanvasPixel(Photo(), 58, 70), PixelAt(other.get(), 0, 0));
    EXPECT_TRUE(shell_.messages.empty());
}

TEST_F(EditorCommandsTest, RecoverOfAVanishedFileSaysSoAndKeepsEverything) {
    BrightenAndDone();
    Tap(KEY_UP, 4);
    editor_->MutableState().object.present = true;
    const std::vector<uint8_t> changed = Photo();
    std::filesystem::remove(StartupPath());
    bool flagged = false;
    shell_.whileModal = [&] { flagged = State().messageBoxOpen; };
    editor_->Command(CMD_RECOVER);
    ASSERT_EQ(shell_.messages.size(), 1u);
    EXPECT_EQ(shell_.messages[0].caption, "Fotakle");
    EXPECT_EQ(shell_.messages[0].text, "Cannot open this picture !");
    EXPECT_TRUE(flagged);
    EXPECT_FALSE(State().messageBoxOpen);
    EXPECT_EQ(Photo(), changed);
    EXPECT_TRUE(State().photoChanged && State().object.present && State().recoverFromStartup);
    EXPECT_EQ(State().photoY, 4);
    EXPECT_FALSE(shell_.waitCursor.back());
}

TEST_F(EditorCommandsTest, AboutBoxAndCommandsWithoutTheirModeOrBrowser) {
    bool flagged = false;
    shell_.whileModal = [&] { flagged = State().messageBoxOpen; };
    editor_->Command(CMD_ABOUT);
    EXPECT_EQ(shell_.aboutBoxes, 1);
    EXPECT_TRUE(flagged);
    EXPECT_FALSE(State().messageBoxOpen);

    shell_.titles.clear();
    const int screens = shell_.screens;
    const uint16_t later[] = {CMD_CANCEL, CMD_OK,   CMD_CHANGE_FOLDER, CMD_MERGE,
                              CMD_DELETE, CMD_DONE, CMD_THEME_FIRST,   12345};
    for (uint16_t id : later) {
        editor_->Command(id);
    }
    EXPECT_EQ(shell_.titles, (std::vector<std::string>{"Fotakle"}));  // from Cancel
    EXPECT_EQ(shell_.screens, screens);
    EXPECT_EQ(Photo(), original_);
    EXPECT_FALSE(shell_.quit);
}
