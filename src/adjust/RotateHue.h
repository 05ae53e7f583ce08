// RotateHue: turns one colour's hue by a whole number of degrees, keeping its
// saturation and value, in an integer HSV model (8-bit saturation and value,
// whole-degree hue) with one single-precision step for the fraction of the
// hue sector.
//
// Contract: never fails. Channels are 0 .. 255 (values outside are clamped
// first); the angle is taken modulo 360, so any 16-bit angle is safe. Greys,
// black and white come back unchanged. The largest channel (the value V)
// always comes back unchanged too.
#pragma once

#include <cstdint>

// Replaces blue, green and red by the colour turned by angle degrees.
void RotateHue(int16_t& blue, int16_t& green, int16_t& red, int16_t angle);
