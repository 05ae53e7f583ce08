// TurnHue: the hue rotation of one pixel, forced inline so that AdjustTone's
// hue path runs it without a call per pixel (about a third faster on the
// canvas). RotateHue (RotateHue.h) is the checked public form; this one
// trusts its caller.
//
// Preconditions: blue, green and red are 0 .. 255; angle is 0 .. 359.
#pragma once

#include <algorithm>
#include <cstdint>

namespace hue_detail {

// The single-precision value nearest 1/60: degrees to sectors.
constexpr float kInverse60 = 0.016666668f;

}  // namespace hue_detail

[[gnu::always_inline]] inline void TurnHue(int32_t angle, int32_t& blue, int32_t& green,
                                           int32_t& red) {
    const int32_t b = blue;
    const int32_t g = green;
    const int32_t r = red;
    const int32_t v = std::max({r, g, b});
    const int32_t m = std::min({r, g, b});
    if (v == m) {
        return;  // black, white and greys have no hue
    }
    const int32_t d = v - m;
    const int32_t s = d * 255 / v;

    // Hue in whole degrees, rounded to the nearest by adding half of d; the
    // quotient truncates towards zero, so H runs from -59 to 300.
    int32_t h;
    if (r == v) {
        h = (60 * (g - b) + d / 2) / d;
    } else if (g == v) {
        h = (60 * (b - r) + d / 2) / d + 120;
    } else {
        h = (60 * (r - g) + d / 2) / d + 240;
    }

    int32_t turned = h + angle;
    if (turned < 0) {
        turned += 360;
    } else if (turned >= 360) {
        turned -= 360;
    }

    // Position inside the 60-degree sector, one rounded float step at a time.
    const int32_t sector = turned / 60;
    const float degrees = static_cast<float>(turned) * hue_detail::kInverse60;
    const float f = degrees - static_cast<float>(sector);
    const float rest = 1.0f - f;
    const float sf = static_cast<float>(s) * f;
    const float sg = static_cast<float>(s) * rest;

    const int32_t p = (255 - s) * v / 255;
    const int32_t q = (255 - static_cast<int32_t>(sf)) * v / 255;
    const int32_t t = (255 - static_cast<int32_t>(sg)) * v / 255;

    switch (sector) {
        case 0:
            red = v, green = t, blue = p;
            break;
        case 1:
            red = q, green = v, blue = p;
            break;
        case 2:
            red = p, green = v, blue = t;
            break;
        case 3:
            red = p, green = q, blue = v;
            break;
        case 4:
            red = t, green = p, blue = v;
            break;
        default:
            red = v, green = p, blue = q;
            break;
    }
}
