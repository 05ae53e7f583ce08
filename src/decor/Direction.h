// The four directions of the d-pad, numbered as the held-key logic counts
// them.
#pragma once

#include <cstdint>

enum Direction : int16_t {
    DIRECTION_NONE = 0,
    DIRECTION_DOWN = 1,
    DIRECTION_UP = 2,
    DIRECTION_LEFT = 3,
    DIRECTION_RIGHT = 4,
};
