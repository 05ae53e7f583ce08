#include "adjust/RotateHue.h"

#include <algorithm>

namespace {

// The single-precision value nearest 1/60: degrees to sectors.
constexpr float kInverse60 = 0.016666668f;

int32_t ClampChannel(int32_t value) {
    return std::clamp<int32_t>(value, 0, 255);
}

}  // namespace

void RotateHue(int16_t& blue, int16_t& green, int16_t& red, int16_t angle) {
    const int32_t b = ClampChannel(blue);
    const int32_t g = ClampChannel(green);
    const int32_t r = ClampChannel(red);
    blue = static_cast<int16_t>(b);
    green = static_cast<int16_t>(g);
    red = static_cast<int16_t>(r);

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

    int32_t turned = h + (angle % 360 + 360) % 360;
    if (turned < 0) {
        turned += 360;
    } else if (turned >= 360) {
        turned -= 360;
    }

    // Position inside the 60-degree sector, one rounded float step at a time.
    const int32_t sector = turned / 60;
    const float degrees = static_cast<float>(turned) * kInverse60;
    const float f = degrees - static_cast<float>(sector);
    const float rest = 1.0f - f;
    const float sf = static_cast<float>(s) * f;
    const float sg = static_cast<float>(s) * rest;

    const int32_t p = (255 - s) * v / 255;
    const int32_t q = (255 - static_cast<int32_t>(sf)) * v / 255;
    const int32_t t = (255 - static_cast<int32_t>(sg)) * v / 255;

    int32_t outRed;
    int32_t outGreen;
    int32_t outBlue;
    switch (sector) {
        case 0:
            outRed = v, outGreen = t, outBlue = p;
            break;
        case 1:
            outRed = q, outGreen = v, outBlue = p;
            break;
        case 2:
            outRed = p, outGreen = v, outBlue = t;
            break;
        case 3:
            outRed = p, outGreen = q, outBlue = v;
            break;
        case 4:
            outRed = t, outGreen = p, outBlue = v;
            break;
        default:
            outRed = v, outGreen = p, outBlue = q;
            break;
    }
    red = static_cast<int16_t>(outRed);
    green = static_cast<int16_t>(outGreen);
    blue = static_cast<int16_t>(outBlue);
}
