#include "adjust/RotateHue.h"

#include <algorithm>

#include "adjust/TurnHue.h"

void RotateHue(int16_t& blue, int16_t& green, int16_t& red, int16_t angle) {
    int32_t b = std::clamp<int32_t>(blue, 0, 255);
    int32_t g = std::clamp<int32_t>(green, 0, 255);
    int32_t r = std::clamp<int32_t>(red, 0, 255);
    TurnHue((angle % 360 + 360) % 360, b, g, r);
    blue = static_cast<int16_t>(b);
    green = static_cast<int16_t>(g);
    red = static_cast<int16_t>(r);
}
