// Key codes as the phone delivers them: the d-pad, its centre (the action
// key) and the keypad digits.
#pragma once

#include <cstdint>

#include "decor/Direction.h"

enum KeyCode : int16_t {
    KEY_ACTION = 13,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DIGIT_0 = 48,  // digits 0 .. 9 are 48 .. 57
    KEY_DIGIT_9 = 57,
};

// The direction of a d-pad key; DIRECTION_NONE for any other key.
constexpr Direction DirectionOfKey(int16_t keyCode) {
    switch (keyCode) {
        case KEY_DOWN:
            return DIRECTION_DOWN;
        case KEY_UP:
            return DIRECTION_UP;
        case KEY_LEFT:
            return DIRECTION_LEFT;
        case KEY_RIGHT:
            return DIRECTION_RIGHT;
        default:
            return DIRECTION_NONE;
    }
}
