#include "adjust/ApplyColorTone.h"

#include <algorithm>
#include <array>

#include "image/DibImage.h"

namespace {

using ToneRamp = std::array<uint8_t, 256>;

// The output of one channel for every brightness: (c x Y + 64) >> 7 below
// 127, c itself at 127, and above it a blend of c towards white by
// d = Y - 127 parts of 128.
void BuildRamp(int16_t component, ToneRamp& ramp) {
    const int32_t c = std::clamp<int32_t>(component, 0, 255);
    for (int32_t y = 0; y < 256; ++y) {
        int32_t out;
        if (y < 127) {
            out = (c * y + 64) >> 7;
        } else if (y == 127) {
            out = c;
        } else {
            const int32_t d = y - 127;
            out = (d * 255 + (128 - d) * c + 64) >> 7;
        }
        ramp[y] = static_cast<uint8_t>(out);
    }
}

}  // namespace

int32_t ApplyColorTone(const uint8_t* source, uint8_t* destination, int16_t toneBlue,
                       int16_t toneGreen, int16_t toneRed, int32_t width, int32_t height) {
    if (source == nullptr || destination == nullptr || !DibSizeValid(width, height)) {
        return 0;
    }
    // The blend depends only on brightness, so each channel is one look-up.
    ToneRamp blueRamp;
    ToneRamp greenRamp;
    ToneRamp redRamp;
    BuildRamp(toneBlue, blueRamp);
    BuildRamp(toneGreen, greenRamp);
    BuildRamp(toneRed, redRamp);

    const int32_t stride = DibRowStride(width, 24);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = source + static_cast<size_t>(y) * stride;
        uint8_t* out = destination + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
            const int32_t brightness = (11 * in[0] + 59 * in[1] + 30 * in[2] + 50) / 100;
            out[0] = blueRamp[brightness];
            out[1] = greenRamp[brightness];
            out[2] = redRamp[brightness];
        }
    }
    return height;
}
