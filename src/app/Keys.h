// Key codes as the phone delivers them: the d-pad, its centre (the action
// key) and the keypad digits.
#pragma once

#include <cstdint>

enum KeyCode : int16_t {
    KEY_ACTION = 13,
    KEY_LEFT = 37,
    KEY_UP = 38,
    KEY_RIGHT = 39,
    KEY_DOWN = 40,
    KEY_DIGIT_0 = 48,  // digits 0 .. 9 are 48 .. 57
    KEY_DIGIT_9 = 57,
};
