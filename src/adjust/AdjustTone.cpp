#include "adjust/AdjustTone.h"

#include <cstring>

#include "adjust/ToneTable.h"
#include "adjust/TurnHue.h"
#include "image/DibImage.h"

namespace {

// Degrees for a Hue level: level x 1.8 plus a half, truncated towards zero,
// then made positive: 10 gives 18, but -10 gives -17, that is 343, and -100
// gives 181.
int16_t HueAngleForLevel(int16_t level) {
    int32_t angle = (static_cast<int32_t>(level) * 180 + 50) / 100;
    if (angle < 0) {
        angle += 360;
    }
    return static_cast<int16_t>(angle % 360);
}

void ApplyTable(const ToneTable& table, const uint8_t* source, uint8_t* destination, int32_t width,
                int32_t height, int32_t stride) {
    const int32_t rowBytes = width * 3;
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = source + static_cast<size_t>(y) * stride;
        uint8_t* out = destination + static_cast<size_t>(y) * stride;
        for (int32_t i = 0; i < rowBytes; ++i) {
            out[i] = table[in[i]];
        }
    }
}

void ApplyHue(int16_t angle, const uint8_t* source, uint8_t* destination, int32_t width,
              int32_t height, int32_t stride) {
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = source + static_cast<size_t>(y) * stride;
        uint8_t* out = destination + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x, in += 3, out += 3) {
            int32_t blue = in[0];
            int32_t green = in[1];
            int32_t red = in[2];
            TurnHue(angle, blue, green, red);
            out[0] = static_cast<uint8_t>(blue);
            out[1] = static_cast<uint8_t>(green);
            out[2] = static_cast<uint8_t>(red);
        }
    }
}

}  // namespace

void AdjustTone(const uint8_t* source, uint8_t* destination, AdjustKind kind, int16_t level,
                int32_t width, int32_t height) {
    if (!AdjustKindValid(kind) || source == nullptr || destination == nullptr ||
        !DibSizeValid(width, height)) {
        return;
    }
    const int32_t stride = DibRowStride(width, 24);
    if (kind == ADJUST_HUE) {
        if (level == 0) {
            std::memcpy(destination, source, static_cast<size_t>(stride) * height);
            return;
        }
        ApplyHue(HueAngleForLevel(level), source, destination, width, height, stride);
        return;
    }
    ToneTable table;
    BuildToneTable(kind, level, table);
    ApplyTable(table, source, destination, width, height, stride);
}
