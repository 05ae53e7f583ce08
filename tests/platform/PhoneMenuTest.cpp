// The pop-up menus' model without a window, where the window tests do not
// reach: wrapping, data that changes while a menu is open, a menu with
// nothing enabled, and the levels laid out and hit inside the picture area.
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

// The File menu as it is before any change.
Menu FileMenu() {
    Menu file = BuildMenu(MENU_FILE);
    for (const uint16_t command : {CMD_RECOVER, CMD_UNDO, CMD_REDO, CMD_RESET_POSITION}) {
        EnableMenuCommand(&file, command, false);
    }
    return file;
}

TEST(PhoneMenuNavigator, KeysWrapAndTheDataMayChangeWhileOpen) {
    Menu file = FileMenu();
    PhoneMenuNavigator menu;
    menu.Open(MENU_FILE, false, file);
    // Up from the first row wraps to the last, Down back to the first.
    menu.Key(MENU_KEY_UP, file);
    EXPECT_EQ(menu.Current(file)->id, CMD_CLOSE);
    menu.Key(MENU_KEY_DOWN, file);
    EXPECT_EQ(menu.Current(file)->id, CMD_OPEN);
    // Left at the top level and Right on a command do nothing; so do a
    // grey item, no item, a separator and a row past the end.
    EXPECT_EQ(menu.Key(MENU_KEY_LEFT, file).outcome, MENU_UNCHANGED);
    EXPECT_EQ(menu.Key(MENU_KEY_RIGHT, file).outcome, MENU_UNCHANGED);
    for (const int digit : {3, 0, 10}) {
        EXPECT_EQ(menu.Digit(digit, file).outcome, MENU_UNCHANGED) << digit;
    }
    EXPECT_EQ(menu.Pick(0, 5, file).outcome, MENU_UNCHANGED);
    EXPECT_EQ(menu.Pick(0, 99, file).outcome, MENU_UNCHANGED);

    // Greyed while highlighted: the next selectable item takes over; an
    // item enabled while open can be picked.
    menu.Open(MENU_FILE, false, file);
    EnableMenuCommand(&file, CMD_OPEN, false);
    menu.Key(MENU_KEY_UP, file);
    EXPECT_EQ(menu.Current(file)->id, CMD_CLOSE);
    EnableMenuCommand(&file, CMD_RECOVER, true);
    EXPECT_EQ(menu.Pick(0, 2, file).command, CMD_RECOVER);

    // A sub-menu whose place is gone from the data closes; with nothing
    // left of the pop-up's place, the menu closes.
    menu.Open(MENU_FILE, false, file);
    menu.Digit(8, file);  // Image
    menu.OpenSubmenu(file);
    for (int i = 0; i < 3; ++i) {
        menu.Key(MENU_KEY_DOWN, file);
    }
    EXPECT_EQ(menu.Current(file)->id, CMD_VIVIDNESS);
    Menu shorter = file;
    shorter[9].items.resize(2);  // Image keeps Brightness and Contrast
    EXPECT_EQ(menu.Key(MENU_KEY_DOWN, shorter).outcome, MENU_MOVED);
    EXPECT_EQ(menu.Depth(), 1);
    EXPECT_EQ(menu.Current(shorter)->text, "Effect");
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

TEST(PhoneMenuLayout, LevelsStandBesideTheirRowInsideTheAreaAndAreHit) {
    const Menu file = FileMenu();
    PhoneMenuNavigator menu;
    menu.Open(MENU_FILE, false, file);
    menu.Digit(7, file);  // Move Photo
    menu.OpenSubmenu(file);
    std::vector<PhoneMenuBox> boxes = LayOutPhoneMenu(menu, file, FixedWidth);
    ASSERT_EQ(boxes.size(), 2u);
    const PhoneMenuBox top = boxes[0];
    ASSERT_EQ(top.rows.size(), file.size());
    for (size_t i = 1; i < top.rows.size(); ++i) {
        EXPECT_EQ(top.rows[i].top, top.rows[i - 1].top + top.rows[i - 1].height);
        EXPECT_EQ(top.rows[i].separator, file[i].IsSeparator());
    }
    // The sub-menu beside Move Photo, overlapping the menu, at its row.
    const PhoneMenuBox& sub = boxes[1];
    EXPECT_LT(sub.left, top.left + top.width);
    EXPECT_GT(sub.left + sub.width, top.left + top.width);
    EXPECT_EQ(sub.top, top.top + top.rows[7].top);
    EXPECT_LE(sub.left + sub.width, 176);
    EXPECT_LE(sub.top + sub.height, 180);
    // Hits: deepest level first; a row, or the border (-1); outside none
    // (the window's clicks hit the top level's rows).
    int level = -1;
    int row = -1;
    ASSERT_TRUE(HitPhoneMenu(boxes, sub.left + 4, sub.top + 1 + sub.rows[1].top + 3, &level, &row));
    EXPECT_EQ((std::vector<int>{level, row}), (std::vector<int>{1, 1}));
    ASSERT_TRUE(HitPhoneMenu(boxes, top.left + 4, top.top, &level, &row));
    EXPECT_EQ(row, -1);
    EXPECT_FALSE(HitPhoneMenu(boxes, 175, 0, &level, &row));

    // A right-side pop-up too wide for the screen is as wide as it; thirty
    // rows of a sub-menu make it as tall as the area, scrolled so that the
    // highlighted row shows and is hit.
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
    menu.Open(MENU_OBJECT, true, object);
    menu.Key(MENU_KEY_DOWN, object);
    EXPECT_EQ(menu.Key(MENU_KEY_RIGHT, object).outcome, MENU_OPEN_SUBMENU);
    menu.OpenSubmenu(object);
    for (int i = 0; i < 25; ++i) {
        menu.Key(MENU_KEY_DOWN, object);
    }
    boxes = LayOutPhoneMenu(menu, object, FixedWidth);
    EXPECT_EQ(boxes[0].left, 0);
    EXPECT_EQ(boxes[0].width, 176);
    const PhoneMenuBox& tall = boxes[1];
    EXPECT_EQ(tall.top, 0);
    EXPECT_EQ(tall.height, 180);
    EXPECT_GE(tall.left, 0);
    const PhoneMenuRow& lit = tall.rows[25];
    EXPECT_GT(tall.scroll, 0);
    EXPECT_GE(lit.top - tall.scroll, 0);
    EXPECT_LE(lit.top + lit.height - tall.scroll, 178);
    ASSERT_TRUE(
        HitPhoneMenu(boxes, tall.left + 3, tall.top + 1 + lit.top - tall.scroll + 2, &level, &row));
    EXPECT_EQ(row, 25);
}

}  // namespace
