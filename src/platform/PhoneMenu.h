// PhoneMenu: the soft-key pop-ups as the phone shows them, drawn by the
// window over the picture area above the soft keys from the editor's menu
// data (app/Menus.h).
//
// PhoneMenuNavigator keeps which pop-up is open, its open sub-menus and the
// highlighted row of each, and turns the phone's keys into steps: the first
// enabled item is highlighted on opening; up and down move (wrapping,
// skipping separators and grey items); right or the action key on a
// sub-menu opens it; left closes a sub-menu; Back closes one level; the
// action key on a command runs it at once; digits 1-9 pick the n-th item
// (separators not counted). A click picks the row it lands on.
//
// The navigator holds positions only, never the items: every call takes the
// open pop-up's data as it is now, so the editor may grey items (or build
// its decoration pop-ups) while a menu is open. A level whose position no
// longer exists in the data is closed.
//
// LayOutPhoneMenu places the open levels in phone pixels of the picture
// area: the pop-up stands on the soft-key strip at its key's side, each
// sub-menu beside its parent's highlighted row, overlapping it, all kept
// inside the 176 x 180 area. DrawPhoneMenu paints them at the window's
// factor: a white box with a dark outline, the highlighted row, the key
// hint after a tab right-aligned, grey text for disabled items and a
// triangle for a sub-menu.
#pragma once

#include <QRect>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "app/Menus.h"

class QPainter;

enum PhoneMenuKey {
    MENU_KEY_UP,
    MENU_KEY_DOWN,
    MENU_KEY_LEFT,
    MENU_KEY_RIGHT,
    MENU_KEY_ACTION,
    MENU_KEY_BACK,
};

// What a key or click did.
enum PhoneMenuOutcome {
    MENU_UNCHANGED,     // nothing
    MENU_MOVED,         // the highlight moved or a sub-menu closed
    MENU_OPEN_SUBMENU,  // announce the pop-up, then call OpenSubmenu
    MENU_RUN,           // the menu closed; run the command
    MENU_CLOSED,        // the menu closed without a command
};

struct PhoneMenuStep {
    PhoneMenuOutcome outcome = MENU_UNCHANGED;
    uint16_t command = 0;  // with MENU_RUN
};

class PhoneMenuNavigator {
  public:
    // Opens the pop-up id on its items; rightSide: it belongs to the right
    // soft key.
    void Open(MenuId id, bool rightSide, const Menu& items);
    void Close();
    bool IsOpen() const { return !highlights_.empty(); }
    MenuId Id() const { return id_; }
    bool RightSide() const { return rightSide_; }
    // Open levels: 1 for the pop-up alone, one more per open sub-menu.
    int Depth() const { return static_cast<int>(highlights_.size()); }
    // The highlighted row of a level (-1: none, or no such level).
    int Highlight(int level) const;
    // The items of an open level in root (the pop-up's data), or null.
    const Menu* Items(const Menu& root, int level) const;
    // The highlighted item of the deepest level, or null.
    const MenuItem* Current(const Menu& root) const;

    PhoneMenuStep Key(PhoneMenuKey key, const Menu& root);
    // A digit 1-9 picks that item of the deepest level; others do nothing.
    PhoneMenuStep Digit(int digit, const Menu& root);
    // A click on a row of an open level: deeper levels close, the row is
    // highlighted and taken as the action key would take it. Separators and
    // grey items do nothing.
    PhoneMenuStep Pick(int level, int row, const Menu& root);
    // Opens the sub-menu under the deepest level's highlight (after
    // MENU_OPEN_SUBMENU), its first enabled item highlighted.
    void OpenSubmenu(const Menu& root);

  private:
    // Drops levels that no longer match root.
    void Validate(const Menu& root);
    PhoneMenuStep Take(const Menu& root);

    MenuId id_ = MENU_NONE;
    bool rightSide_ = false;
    std::vector<int> highlights_;
};

// One row of a laid-out level, in phone pixels from the box's top.
struct PhoneMenuRow {
    int top = 0;
    int height = 0;
    bool separator = false;
};

// One open level, in phone pixels of the picture area.
struct PhoneMenuBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    // Rows move up by this many pixels when the level is taller than the
    // area, so that the highlighted row shows.
    int scroll = 0;
    std::vector<PhoneMenuRow> rows;  // one per item, separators too
};

// The look, in phone pixels.
constexpr int kMenuFontPixels = 11;
constexpr int kMenuRowHeight = 14;
constexpr int kMenuSeparatorHeight = 5;

// The width of an item text in phone pixels (at the window's factor).
using PhoneMenuMeasure = std::function<int(const std::string& text)>;

std::vector<PhoneMenuBox> LayOutPhoneMenu(const PhoneMenuNavigator& navigator, const Menu& root,
                                          const PhoneMenuMeasure& measure);

// The level and row under phone pixel (x, y) of the picture area, deepest
// level first. False when no box is there.
bool HitPhoneMenu(const std::vector<PhoneMenuBox>& boxes, int x, int y, int* level, int* row);

// Paints the laid-out levels over the picture area (window pixels).
void DrawPhoneMenu(QPainter& painter, const QRect& pictureArea, int factor,
                   const PhoneMenuNavigator& navigator, const Menu& root,
                   const std::vector<PhoneMenuBox>& boxes);
