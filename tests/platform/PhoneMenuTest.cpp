// The pop-up menus' model without a window: which row the keys highlight
// (separators and grey items skipped, wrapping), sub-menus opened and
// closed, digits and clicks, data that changes while a menu is open, and
// where the levels are laid out and hit in the picture area.
#include <gtest/gtest.h>

#include <string>

#include "app/Commands.h"
#include "app/Menus.h"
#include "platform/PhoneMenu.h"

namespace {

// Every character 6 phone pixels wide: widths follow the texts' lengths.
int FixedWidth(const std::string& text) {
    return static_cast<int>(text.size()) * 6;
}

// The File menu with "Recover", "Undo" and "Redo" greyed, as it is before
// any change.
Menu FileMenu() {
    Menu file = BuildMenu(MENU_FILE);
    EnableMenuCommand(&file, CMD_RECOVER, false);
    EnableMenuCommand(&file, CMD_UNDO, false);
    EnableMenuCommand(&file, CMD_REDO, false);
    EnableMenuCommand(&file, CMD_RESET_POSITION, false);
    return file;
}

const MenuItem& Row(const Menu& menu, int row) {
    return menu.at(static_cast<size_t>(row));
}

TEST(PhoneMenuNavigator, KeysSkipSeparatorsAndGreyItemsAndWrap) {
    const Menu file = FileMenu();
    PhoneMenuNavigator menu;
    menu.Open(MENU_FILE, false, file);
    ASSERT_TRUE(menu.IsOpen());
    EXPECT_EQ(menu.Highlight(0), 0);  // Open
    // Down: Save as, then past grey Recover, Undo, Redo and the separator to
    // Rescale.
    std::vector<std::string> seen;
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(menu.Key(MENU_KEY_DOWN, file).outcome, MENU_MOVED);
        seen.push_back(Row(file, menu.Highlight(0)).text);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"Save as", "Rescale", "Move Photo", "Image", "Effect",
                                              "Keys", "About", "Close", "Open"}));
    // Up from the first row wraps to the last.
    menu.Key(MENU_KEY_UP, file);
    EXPECT_EQ(Row(file, menu.Highlight(0)).id, CMD_CLOSE);
    // Left at the top level and Right on a command do nothing.
    EXPECT_EQ(menu.Key(MENU_KEY_LEFT, file).outcome, MENU_UNCHANGED);
    EXPECT_EQ(menu.Key(MENU_KEY_RIGHT, file).outcome, MENU_UNCHANGED);
    EXPECT_EQ(menu.Key(MENU_KEY_BACK, file).outcome, MENU_CLOSED);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_EQ(menu.Id(), MENU_NONE);

    // In a sub-menu too: Reset Position, last in Move Photo, is grey, so
    // Down from Move Down wraps to Move Left. The caller announces the
    // pop-up before the navigator goes down into it.
    menu.Open(MENU_FILE, false, file);
    EXPECT_EQ(menu.Digit(7, file).outcome, MENU_OPEN_SUBMENU);
    EXPECT_EQ(menu.Depth(), 1);
    menu.OpenSubmenu(file);
    for (int i = 0; i < 3; ++i) {
        menu.Key(MENU_KEY_DOWN, file);
    }
    EXPECT_EQ(menu.Current(file)->id, CMD_MOVE_DOWN);
    menu.Key(MENU_KEY_DOWN, file);
    EXPECT_EQ(menu.Current(file)->id, CMD_MOVE_LEFT);
}

TEST(PhoneMenuNavigator, GreyItemsDigitsAndClicksDoNothingAndDataMayChange) {
    Menu file = FileMenu();
    PhoneMenuNavigator menu;
    menu.Open(MENU_FILE, false, file);
    // Recover is the third item, and grey; 0 and 10 are no items.
    for (const int digit : {3, 0, 10}) {
        EXPECT_EQ(menu.Digit(digit, file).outcome, MENU_UNCHANGED) << digit;
    }
    EXPECT_EQ(menu.Pick(0, 2, file).outcome, MENU_UNCHANGED);  // Recover
    EXPECT_EQ(menu.Pick(0, 5, file).outcome, MENU_UNCHANGED);  // a separator
    EXPECT_EQ(menu.Pick(0, 99, file).outcome, MENU_UNCHANGED);
    EXPECT_TRUE(menu.IsOpen());
    EXPECT_EQ(menu.Highlight(0), 0);

    // Greyed while highlighted: the next selectable item takes over.
    EnableMenuCommand(&file, CMD_OPEN, false);
    menu.Key(MENU_KEY_UP, file);
    EXPECT_EQ(Row(file, menu.Highlight(0)).id, CMD_CLOSE);
    EnableMenuCommand(&file, CMD_RECOVER, true);
    EXPECT_EQ(menu.Pick(0, 2, file).command, CMD_RECOVER);

    // A sub-menu whose place is gone from the data closes.
    menu.Open(MENU_FILE, false, file);
    menu.Digit(8, file);  // Image
    menu.OpenSubmenu(file);
    ASSERT_EQ(menu.Depth(), 2);
    for (int i = 0; i < 3; ++i) {
        menu.Key(MENU_KEY_DOWN, file);
    }
    EXPECT_EQ(menu.Current(file)->id, CMD_VIVIDNESS);
    Menu shorter = file;
    shorter[9].items.resize(2);  // Image keeps Brightness and Contrast
    EXPECT_EQ(menu.Key(MENU_KEY_DOWN, shorter).outcome, MENU_MOVED);
    EXPECT_EQ(menu.Depth(), 1);
    EXPECT_EQ(menu.Current(shorter)->text, "Effect");
    // Nothing left of the pop-up's place: closed.
    EXPECT_EQ(menu.Key(MENU_KEY_DOWN, Menu(file.begin(), file.begin() + 2)).outcome,
              MENU_UNCHANGED);
    EXPECT_FALSE(menu.IsOpen());

    // A menu with nothing enabled highlights nothing and runs nothing.
    Menu grey = BuildMenu(MENU_ADJUST_ACTION);
    for (MenuItem& item : grey) {
        item.enabled = false;
    }
    menu.Open(MENU_ADJUST_ACTION, true, grey);
    EXPECT_EQ(menu.Highlight(0), -1);
    EXPECT_EQ(menu.Key(MENU_KEY_DOWN, grey).outcome, MENU_UNCHANGED);
    EXPECT_EQ(menu.Key(MENU_KEY_ACTION, grey).outcome, MENU_UNCHANGED);
}

TEST(PhoneMenuLayout, PopupsStandOnTheSoftKeysAndSubmenusBesideTheirRow) {
    const Menu file = FileMenu();
    PhoneMenuNavigator menu;
    menu.Open(MENU_FILE, false, file);
    std::vector<PhoneMenuBox> boxes = LayOutPhoneMenu(menu, file, FixedWidth);
    ASSERT_EQ(boxes.size(), 1u);
    const PhoneMenuBox top = boxes[0];
    EXPECT_EQ(top.left, 0);
    EXPECT_EQ(top.top + top.height, 180) << "on the soft-key strip";
    EXPECT_LE(top.height, 180);
    EXPECT_EQ(top.scroll, 0);
    ASSERT_EQ(top.rows.size(), file.size());
    // "Move Photo" (10 characters) and its triangle set the width.
    EXPECT_EQ(top.width, 2 + 5 + 60 + 5 + 8);
    for (size_t i = 1; i < top.rows.size(); ++i) {
        EXPECT_EQ(top.rows[i].top, top.rows[i - 1].top + top.rows[i - 1].height);
        EXPECT_EQ(top.rows[i].separator, file[i].IsSeparator());
    }

    // The sub-menu beside Move Photo, overlapping the menu, at its row.
    menu.Digit(7, file);
    menu.OpenSubmenu(file);
    boxes = LayOutPhoneMenu(menu, file, FixedWidth);
    ASSERT_EQ(boxes.size(), 2u);
    const PhoneMenuBox& sub = boxes[1];
    EXPECT_LT(sub.left, top.left + top.width);
    EXPECT_GT(sub.left + sub.width, top.left + top.width);
    EXPECT_EQ(sub.top, top.top + top.rows[7].top);
    EXPECT_LE(sub.left + sub.width, 176);
    EXPECT_LE(sub.top + sub.height, 180);

    // Hits: deepest level first; a row, or the border (-1); outside none.
    int level = -1;
    int row = -1;
    ASSERT_TRUE(HitPhoneMenu(boxes, sub.left + 4, sub.top + 1 + sub.rows[1].top + 3, &level, &row));
    EXPECT_EQ(level, 1);
    EXPECT_EQ(row, 1);
    ASSERT_TRUE(HitPhoneMenu(boxes, top.left + 4, top.top + 1 + top.rows[4].top, &level, &row));
    EXPECT_EQ(level, 0);
    EXPECT_EQ(row, 4);
    ASSERT_TRUE(HitPhoneMenu(boxes, top.left + 4, top.top, &level, &row));
    EXPECT_EQ(row, -1);
    EXPECT_FALSE(HitPhoneMenu(boxes, 175, 0, &level, &row));
}

TEST(PhoneMenuLayout, RightSidePopupsAndWideOrTallLevelsStayInsideTheArea) {
    // A right-side pop-up ends at the right edge; its sub-menu opens
    // towards the left.
    Menu object = BuildMenu(MENU_OBJECT);
    MenuItem themes;
    themes.popup = true;
    themes.text = "Add a decoration whose name is much too long for the screen";
    for (int i = 0; i < 30; ++i) {
        MenuItem theme;
        theme.id = static_cast<uint16_t>(50001 + i);
        theme.text = "Theme " + std::to_string(i);
        themes.items.push_back(theme);
    }
    object.insert(object.begin() + 1, themes);
    PhoneMenuNavigator menu;
    menu.Open(MENU_OBJECT, true, object);
    std::vector<PhoneMenuBox> boxes = LayOutPhoneMenu(menu, object, FixedWidth);
    EXPECT_EQ(boxes[0].left + boxes[0].width, 176);
    EXPECT_EQ(boxes[0].width, 176) << "as wide as the screen, no wider";

    menu.Key(MENU_KEY_DOWN, object);
    EXPECT_EQ(menu.Key(MENU_KEY_RIGHT, object).outcome, MENU_OPEN_SUBMENU);
    menu.OpenSubmenu(object);
    // Thirty rows do not fit: the level is as tall as the area and scrolls
    // so that the highlighted row shows.
    for (int i = 0; i < 25; ++i) {
        menu.Key(MENU_KEY_DOWN, object);
    }
    boxes = LayOutPhoneMenu(menu, object, FixedWidth);
    const PhoneMenuBox& sub = boxes[1];
    EXPECT_EQ(sub.top, 0);
    EXPECT_EQ(sub.height, 180);
    EXPECT_GE(sub.left, 0);
    const PhoneMenuRow& lit = sub.rows[25];
    EXPECT_GT(sub.scroll, 0);
    EXPECT_GE(lit.top - sub.scroll, 0);
    EXPECT_LE(lit.top + lit.height - sub.scroll, 178);
    int level = -1;
    int row = -1;
    ASSERT_TRUE(
        HitPhoneMenu(boxes, sub.left + 3, sub.top + 1 + lit.top - sub.scroll + 2, &level, &row));
    EXPECT_EQ(row, 25);
}

}  // namespace
