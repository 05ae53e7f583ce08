// AdjustKind: the four adjustments of the "Image" menu that take a level.
//
// The values are the commands' positions in that menu, Brightness first. The
// type is 16 bits wide with every value representable, so a kind outside
// 1 .. 4 can reach AdjustTone, which then writes nothing.
#pragma once

#include <cstdint>

enum AdjustKind : int16_t {
    ADJUST_BRIGHTNESS = 1,  // level -100 .. 100: percent towards white / black
    ADJUST_CONTRAST = 2,    // level -100 .. 100: percent of stretch / compression
    ADJUST_HUE = 3,         // level -100 .. 100: 100 is half a turn
    ADJUST_VIVIDNESS = 4,   // level 1 .. 79: the curve's exponent is 10 / level
};

// The levels Vividness is clamped into, and its neutral (start) level.
constexpr int16_t kVividnessMinLevel = 1;
constexpr int16_t kVividnessMaxLevel = 79;
constexpr int16_t kVividnessNeutralLevel = 10;

// True for the four kinds above.
constexpr bool AdjustKindValid(int16_t kind) {
    return kind >= ADJUST_BRIGHTNESS && kind <= ADJUST_VIVIDNESS;
}
