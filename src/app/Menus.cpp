#include "app/Menus.h"

#include <string_view>
#include <utility>

#include "app/Commands.h"
#include "app/Strings.h"

namespace {

MenuItem Item(uint16_t id, std::string_view text) {
    MenuItem item;
    item.id = id;
    item.text = text;
    return item;
}

MenuItem Separator() {
    return MenuItem{};
}

MenuItem Popup(const char* text, Menu items) {
    MenuItem item;
    item.text = text;
    item.popup = true;
    item.items = std::move(items);
    return item;
}

Menu FileMenu() {
    return {
        Item(CMD_OPEN, "Open"),
        Item(CMD_SAVE_AS, "Save as"),
        Item(CMD_RECOVER, "Recover"),
        Item(CMD_UNDO, ResString(IDS_UNDO)),
        Item(CMD_REDO, ResString(IDS_REDO)),
        Separator(),
        Item(CMD_RESCALE, "Rescale"),
        Popup("Move Photo",
              {
                  Item(CMD_MOVE_LEFT, "Move Left\t[<]"),
                  Item(CMD_MOVE_RIGHT, "Move Right\t[>]"),
                  Item(CMD_MOVE_UP, "Move Up\t[^]"),
                  Item(CMD_MOVE_DOWN, "Move Down\t[v]"),
                  Separator(),
                  Item(CMD_RESET_POSITION, "Reset Position"),
              }),
        Separator(),
        Popup("Image",
              {
                  Item(CMD_BRIGHTNESS, "Brightness"),
                  Item(CMD_CONTRAST, "Contrast"),
                  Item(CMD_HUE, "Hue"),
                  Item(CMD_VIVIDNESS, "Vividness"),
                  Separator(),
                  Item(CMD_COLOR_TONES, "Color Tones"),
              }),
        Popup("Effect",
              {
                  Item(CMD_OIL_PAINT, "Oil Paint"),
                  Item(CMD_WATER_PAINT, "Water Paint"),
                  Item(CMD_WAX_PAINT, "Wax Paint"),
              }),
        Separator(),
        Item(CMD_KEYS, "Keys"),
        Item(CMD_ABOUT, "About"),
        Separator(),
        Item(CMD_CLOSE, "Close"),
    };
}

// The decoration pop-ups are inserted here when the decoration menu is built.
Menu ObjectMenu() {
    return {
        Item(CMD_CHANGE_COLOR, "Change Color"),
        Separator(),
        Item(CMD_MERGE, "Merge"),
        Item(CMD_DELETE, "Delete"),
    };
}

Menu AdjustActionMenu() {
    return {
        // The trailing blank belongs to the label as the menu shows it.
        Item(CMD_INCREASE, "Increase\t[>] "),
        Item(CMD_DECREASE, "Decrease\t[<]"),
        Separator(),
        Item(CMD_RESET, "Reset"),
        Item(CMD_CANCEL, "Cancel"),
    };
}

Menu RescaleActionMenu() {
    return {
        Item(CMD_INCREASE, "Scale Up\t[1]"),
        Item(CMD_DECREASE, "Scale Down\t[2]"),
        Separator(),
        Item(CMD_MOVE_LEFT, "Move Left\t[<]"),
        Item(CMD_MOVE_RIGHT, "Move Right\t[>]"),
        Item(CMD_MOVE_UP, "Move Up\t[^]"),
        Item(CMD_MOVE_DOWN, "Move Down\t[v]"),
        Separator(),
        Item(CMD_RESET, "Reset"),
        Item(CMD_CANCEL, "Cancel"),
    };
}

constexpr SoftKey kNoKey{};

const SoftKeyBar kBars[] = {
    {BAR_ABOUT, {CMD_CONTINUE, IDS_CONTINUE, MENU_NONE}, kNoKey},
    {BAR_DIALOG, {CMD_OK, IDS_OK, MENU_NONE}, {CMD_CANCEL, IDS_CANCEL, MENU_NONE}},
    {BAR_MAIN, {CMD_FILE, IDS_FILE, MENU_FILE}, {CMD_OBJECT, IDS_OBJECT, MENU_OBJECT}},
    {BAR_ADJUST, {CMD_DONE, IDS_DONE, MENU_NONE}, {CMD_ACTION, IDS_ACTION, MENU_ADJUST_ACTION}},
    {BAR_RESCALE, {CMD_DONE, IDS_DONE, MENU_NONE}, {CMD_ACTION, IDS_ACTION, MENU_RESCALE_ACTION}},
    {BAR_OK_CANCEL, {CMD_OK, IDS_OK, MENU_NONE}, {CMD_CANCEL, IDS_CANCEL, MENU_NONE}},
    {BAR_BROWSER,
     {CMD_CHANGE_FOLDER, IDS_CHANGE_FOLDER, MENU_NONE},
     {CMD_CANCEL, IDS_CANCEL, MENU_NONE}},
};

}  // namespace

Menu BuildMenu(MenuId id) {
    switch (id) {
        case MENU_FILE:
            return FileMenu();
        case MENU_OBJECT:
            return ObjectMenu();
        case MENU_ADJUST_ACTION:
            return AdjustActionMenu();
        case MENU_RESCALE_ACTION:
            return RescaleActionMenu();
        case MENU_NONE:
            break;
    }
    return {};
}

bool EnableMenuCommand(Menu* menu, uint16_t id, bool enabled) {
    if (menu == nullptr || id == 0) {
        return false;
    }
    bool found = false;
    for (MenuItem& item : *menu) {
        if (item.popup) {
            found = EnableMenuCommand(&item.items, id, enabled) || found;
        } else if (item.id == id) {
            item.enabled = enabled;
            found = true;
        }
    }
    return found;
}

const SoftKeyBar& FindSoftKeyBar(BarId id) {
    for (const SoftKeyBar& bar : kBars) {
        if (bar.id == id) {
            return bar;
        }
    }
    // Only a value outside BarId gets here: a bar without keys, id 0.
    static const SoftKeyBar kEmptyBar{static_cast<BarId>(0), kNoKey, kNoKey};
    return kEmptyBar;
}
