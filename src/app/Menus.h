// The pop-up menus and soft-key bars of the main window, as data: the window
// builds its menus and soft-key strip from them, the replay runner prints
// them, and the editor greys items in them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One entry of a pop-up menu: a command, a separator (id 0, not a pop-up) or
// a nested pop-up with its own items.
struct MenuItem {
    uint16_t id = 0;
    std::string text;  // may hold a tab before a key hint, e.g. "Move Left\t[<]"
    bool enabled = true;
    bool popup = false;
    std::vector<MenuItem> items;

    bool IsSeparator() const { return id == 0 && !popup; }
};
using Menu = std::vector<MenuItem>;

enum MenuId : int16_t {
    MENU_NONE = -1,
    MENU_FILE = 0,            // main bar, left soft key
    MENU_OBJECT = 1,          // main bar, right soft key
    MENU_ADJUST_ACTION = 2,   // adjust bar, right soft key
    MENU_RESCALE_ACTION = 3,  // rescale bar, right soft key
};
constexpr int kMenuCount = 4;

// The menus as the program starts (the decoration pop-ups are inserted into
// "Object" later).
Menu BuildMenu(MenuId id);

// Sets the enabled state of every item with this command id, at any depth.
// Returns false when the menu holds no such item.
bool EnableMenuCommand(Menu* menu, uint16_t id, bool enabled);

enum BarId : int16_t {
    BAR_ABOUT = 200,
    BAR_DIALOG = 202,     // "OK" / "Cancel" of the Select Folder and Save-as dialogs
    BAR_MAIN = 203,       // "File" / "Object"
    BAR_ADJUST = 204,     // "Done" / "Action"
    BAR_RESCALE = 205,    // "Done" / "Action"
    BAR_OK_CANCEL = 206,  // effect and colour tones modes
    BAR_BROWSER = 207,    // "Change Folder" / "Cancel"
};

struct SoftKey {
    uint16_t command = 0;      // 0: no key
    uint16_t textId = 0;       // string table entry of its label
    MenuId popup = MENU_NONE;  // the pop-up it opens, or MENU_NONE for a plain command
};

struct SoftKeyBar {
    BarId id;
    SoftKey left;
    SoftKey right;
};

// The bar's definition; every BarId has one.
const SoftKeyBar& FindSoftKeyBar(BarId id);
