// Commands and menus: every item and soft key where it is offered, greying
// when a pop-up opens, Recover, and the About box.
#include <filesystem>
#include <functional>

#include "EditorFixture.h"
#include "app/Commands.h"
#include "app/Keys.h"
#include "app/Strings.h"

namespace {

bool Enabled(const Editor& editor, MenuId menu, uint16_t id) {
    const MenuItem* item = FindMenuItem(editor.GetMenu(menu), id);
    EXPECT_NE(item, nullptr) << id;
    return item != nullptr && item->enabled;
}

void CollectCommands(const Menu& menu, std::vector<uint16_t>* ids) {
    for (const MenuItem& item : menu) {
        if (item.popup) {
            CollectCommands(item.items, ids);
        } else if (!item.IsSeparator()) {
            ids->push_back(item.id);
        }
    }
}

}  // namespace

class EditorCommandsTest : public EditorTest {
  protected:
    // Everything the shell was asked to do so far, and the flags a command
    // may change without a repaint.
    std::vector<int> Observed() const {
        const ScriptedShell& s = shell_;
        // clang-format off
        return {s.screens, int(s.titles.size()), int(s.bars.size()), int(s.questions.size()),
                int(s.messages.size()), int(s.saveAsDialogs.size()), int(s.folderDialogs.size()),
                int(s.browserShown.size()), s.aboutBoxes, s.keyPages, s.quit ? 1 : 0};
        // clang-format on
    }
};

// Each menu and bar where a user meets it, with something there for every
// item to act on: a changed, moved photo with a floating word under the main
// bar, a level or scale off its start in the modes. A command in a menu or
// on a soft key that the editor does not take shows up as a command that
// changes nothing.
TEST_F(EditorCommandsTest, EveryMenuItemAndSoftKeyTakesEffectWhereItIsOffered) {
    StandardLibrary();
    struct Place {
        const char* name;
        std::function<void()> reach;
        std::vector<MenuId> menus;
        BarId bar;
    };
    const auto main = [&] {
        ChangePhoto();
        Tap(KEY_RIGHT, 2);
        editor_->Command(CMD_UNDO);  // so that there is something to redo
        Choose(kWordTheme, 1);
    };
    // clang-format off
    const Place places[] = {
        {"main", main, {MENU_FILE, MENU_OBJECT}, BAR_MAIN},
        {"adjust", [&] { editor_->Command(CMD_BRIGHTNESS); Tap(KEY_UP); }, {MENU_ADJUST_ACTION},
         BAR_ADJUST},
        {"rescale", [&] { editor_->Command(CMD_RESCALE); Tap(Digit(2)); }, {MENU_RESCALE_ACTION},
         BAR_RESCALE},
        {"effect", [&] { editor_->Command(CMD_OIL_PAINT); }, {}, BAR_OK_CANCEL},
        {"browser", [&] { editor_->Command(CMD_OPEN); }, {}, BAR_BROWSER},
    };
    // clang-format on
    for (const Place& place : places) {
        StartEditor();
        editor_->MenuPopup();  // the decoration pop-ups, once read
        place.reach();
        ASSERT_EQ(State().bar, place.bar) << place.name;
        std::vector<uint16_t> ids;
        for (const MenuId menu : place.menus) {
            CollectCommands(editor_->GetMenu(menu), &ids);
        }
        const SoftKeyBar& bar = FindSoftKeyBar(place.bar);
        for (const SoftKey& key : {bar.left, bar.right}) {
            EXPECT_FALSE(ResString(key.textId).empty()) << place.name;
            if (key.command != 0 && key.popup == MENU_NONE) {
                ids.push_back(key.command);
            } else {
                EXPECT_FALSE(editor_->GetMenu(key.popup).empty()) << place.name;
            }
        }
        EXPECT_GE(ids.size(), 2u) << place.name;
        for (const uint16_t id : ids) {
            SCOPED_TRACE(testing::Message() << place.name << " " << id);
            StartEditor();
            editor_->MenuPopup();
            place.reach();
            shell_.answers = {false, false};
            shell_.saveAsAnswers = {ScriptedShell::CancelSaveAs()};
            shell_.folderAnswers = {std::nullopt};
            const std::vector<int> before = Observed();
            editor_->Command(id);
            EXPECT_NE(Observed(), before);
        }
    }
}

TEST_F(EditorCommandsTest, PopupGreysWhatWouldDoNothing) {
    StandardLibrary();
    EXPECT_FALSE(State().decorationMenuPending);  // read on the first pop-up
    const auto popup = [&](uint16_t id) {
        editor_->MenuPopup();
        return Enabled(*editor_, id == CMD_MERGE ? MENU_OBJECT : MENU_FILE, id);
    };
    EXPECT_FALSE(popup(CMD_RECOVER));
    EXPECT_FALSE(popup(CMD_RESET_POSITION));
    EXPECT_FALSE(popup(CMD_MERGE));
    Tap(KEY_UP);
    EXPECT_TRUE(popup(CMD_RESET_POSITION));
    ChangePhoto();
    EXPECT_TRUE(popup(CMD_RECOVER));
    Choose(kFrameTheme, 1);
    EXPECT_TRUE(popup(CMD_MERGE));
    EXPECT_TRUE(Enabled(*editor_, MENU_OBJECT, CMD_DELETE));

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

// Recover goes back to the picture as it was opened, from the history even
// when its file has vanished; Undo takes the Recover back. (After an Open:
// EditorOpenTest, Recover of a damaged picture.)
TEST_F(EditorCommandsTest, RecoverGoesBackToTheOpenedPictureAndUndoTakesItBack) {
    StandardLibrary();
    const int screens = shell_.screens;
    editor_->Command(CMD_RECOVER);  // nothing changed yet
    EXPECT_EQ(shell_.screens, screens);

    ChangePhoto();
    Tap(KEY_UP, 4);
    Choose(kPictureTheme, 1);
    const std::vector<uint8_t> changed = Photo();
    std::filesystem::remove(StartupPath());
    editor_->Command(CMD_RECOVER);
    EXPECT_EQ(Photo(), original_);
    EXPECT_EQ(shell_.lastScreen, original_);
    EXPECT_FALSE(State().photoChanged || State().object.present);
    EXPECT_EQ(State().photoY, 0);
    editor_->Command(CMD_UNDO);
    EXPECT_EQ(Photo(), changed);
    EXPECT_TRUE(State().photoChanged && State().object.present);
    EXPECT_EQ(State().photoY, 4);
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
