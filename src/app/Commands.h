// Command identifiers carried by soft keys and menu items. The same number
// may mean different things by mode (40046 is "Increase" in adjust mode and
// "Scale Up" in rescale mode).
#pragma once

#include <cstdint>

enum CommandId : uint16_t {
    CMD_CHANGE_COLOR = 40001,
    CMD_CONTINUE = 40015,  // the About box's soft key
    CMD_OPEN = 40016,
    CMD_MERGE = 40018,
    CMD_DELETE = 40019,
    CMD_FILE = 40020,    // soft key opening the "File" pop-up
    CMD_OBJECT = 40021,  // soft key opening the "Object" pop-up
    CMD_RECOVER = 40024,
    CMD_RESET_POSITION = 40026,
    CMD_OK = 40027,
    CMD_CANCEL = 40028,
    CMD_SAVE_AS = 40029,
    CMD_RESCALE = 40035,
    CMD_BRIGHTNESS = 40036,
    CMD_CONTRAST = 40037,
    CMD_HUE = 40038,
    CMD_VIVIDNESS = 40039,
    CMD_OIL_PAINT = 40040,
    CMD_WATER_PAINT = 40041,
    CMD_WAX_PAINT = 40042,
    CMD_COLOR_TONES = 40043,
    CMD_DONE = 40044,
    CMD_ACTION = 40045,  // soft key opening an "Action" pop-up
    CMD_INCREASE = 40046,
    CMD_DECREASE = 40047,
    CMD_MOVE_LEFT = 40048,
    CMD_MOVE_RIGHT = 40049,
    CMD_MOVE_UP = 40050,
    CMD_MOVE_DOWN = 40051,
    CMD_RESET = 40052,
    CMD_CHANGE_FOLDER = 40053,
    CMD_ABOUT = 40054,
    CMD_CLOSE = 40056,
    CMD_UNDO = 40070,
    CMD_REDO = 40071,
    CMD_KEYS = 40072,         // the help page of the phone keys
    CMD_THEME_FIRST = 50001,  // theme i of decoration kind k: 50001 + 10 k + i
    CMD_THEME_LAST = 50060,
    // "Type your own..." of a word category: 50100 + its DecorationKind.
    CMD_TYPE_WORD = 50104,
    CMD_TYPE_COLORFUL_WORD = 50105,
};
