// The decoration menu: what the asset folder offers, as a model the editor
// turns into the "Add <category>" pop-ups of its "Object" menu, and the
// theme commands those pop-ups carry.
//
// Theme i (from 0) of DecorationKind k has the command id 50001 + 10 k + i.
//
// Contract: nothing throws; nothing is reported. A missing asset folder or
// category folder yields no pop-up for it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "decor/Scene.h"

constexpr uint16_t kThemeCommandFirst = 50001;
constexpr uint16_t kThemeCommandLast = 50060;

// One theme of a pop-up: its command, its text ("Hearts(7)": the theme name
// and its item count), and whether it can be chosen (at least one item).
struct ThemeMenuItem {
    uint16_t id = 0;
    std::string text;
    bool enabled = false;
};

// The pop-up of one category; its title is "Add" + " " + the category name
// (DecorationKindName(kind), which the string table holds too).
struct DecorationPopup {
    int16_t kind = 0;
    std::vector<ThemeMenuItem> items;
};

// Scans the six category folders of assetFolder in kind order and refills
// themes from scratch (every selected theme back to -1): theme count per
// kind (-1 for a folder that cannot be read), theme names in the order of
// ListThemes, item counts. Returns one pop-up per kind with at least one
// theme, in kind order; they go into "Object" after "Change Color" (position
// 1 onwards), before the separator that precedes "Merge". Slow (it reads the
// disk): run it under the wait cursor, once per run, on the first menu
// pop-up.
std::vector<DecorationPopup> BuildDecorationMenu(const std::string& assetFolder,
                                                 ThemeTable* themes);

// A theme command decoded: kind and theme index. True only for a theme that
// can be chosen: id within 50001 .. 50060, the theme within the kind's theme
// count and with at least one item. False leaves kind and theme as -1; the
// command is then to be ignored.
bool DecodeThemeCommand(uint16_t id, const ThemeTable& themes, int16_t* kind, int16_t* theme);
