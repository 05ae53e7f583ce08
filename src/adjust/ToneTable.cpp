#include "adjust/ToneTable.h"

#include <algorithm>
#include <cmath>

namespace {

// The single-precision value nearest 1/255, the step of the accumulators.
constexpr float kInverse255 = 0.003921569f;

// Drops the fraction of a non-negative value and keeps the low 8 bits, as
// the curves store their entries.
uint8_t TruncateToByte(double value) {
    if (!(value >= 0.0) || value >= 4294967296.0) {
        return 0;  // never reached by the curves below; keeps the cast defined
    }
    return static_cast<uint8_t>(static_cast<uint32_t>(value) & 0xFFu);
}

void BuildIdentity(ToneTable& table) {
    for (int32_t i = 0; i < 256; ++i) {
        table[i] = static_cast<uint8_t>(i);
    }
}

// Brightness: level percent of the way towards white (positive) or black
// (negative), in 8.8 fixed point with a = level x 256 / 100 rounded.
void BuildBrightness(int32_t level, ToneTable& table) {
    const int32_t a = (level * 256 + 50) / 100;
    if (level > 0) {
        for (int32_t i = 0; i < 256; ++i) {
            table[i] = static_cast<uint8_t>(std::min(255, i + (((255 - i) * a + 128) >> 8)));
        }
        return;
    }
    // Below -100 the factor m drops to 0 or less; those levels are black
    // rather than the wrapped bytes a negative product would leave.
    const int32_t m = a + 256;
    for (int32_t i = 0; i < 256; ++i) {
        table[i] = m <= 0 ? 0 : static_cast<uint8_t>((i * m + 128) >> 8);
    }
}

// Contrast above 0: entries 0 .. c + 1 are black, every entry above 255 - c
// white, and between them a float accumulator climbs by 255 / (255 - 2c).
void BuildContrastStretch(int32_t level, ToneTable& table) {
    const int32_t c = (level * 127 + 50) / 100;
    float step = 0.0f;
    if (level < 100) {
        step = 255.0f / static_cast<float>(255 - 2 * c);
    }
    float x = 0.0f;
    for (int32_t i = 0; i < 256; ++i) {
        table[i] = TruncateToByte(x);
        if (i > c) {
            if (i < 255 - c) {
                x = x + step;
            } else {
                x = 255.0f;
            }
        }
    }
}

// Contrast below 0: a straight line from c up to about 255 - c; at -100 and
// beyond the flat mid-grey 128.
void BuildContrastCompress(int32_t level, ToneTable& table) {
    const int32_t c = (-level * 127 + 50) / 100;
    float step = 0.0f;
    float x = 128.0f;
    if (-level < 100) {
        step = static_cast<float>(255 - 2 * c) * kInverse255;
        x = static_cast<float>(c);
    }
    for (int32_t i = 0; i < 256; ++i) {
        table[i] = TruncateToByte(x);
        x = x + step;
    }
}

// Vividness: the power curve x ^ (10 / level) over x = i / 255, where x is
// itself a float accumulator of 1/255 steps and the power is taken in double.
void BuildVividness(int32_t level, ToneTable& table) {
    const int32_t clamped = std::clamp<int32_t>(level, kVividnessMinLevel, kVividnessMaxLevel);
    const float exponentSingle = 10.0f / static_cast<float>(clamped);
    const double exponent = exponentSingle;
    float x = 0.0f;
    for (int32_t i = 0; i < 256; ++i) {
        const double curve = std::pow(static_cast<double>(x), exponent);
        const double scaled = curve * 255.0;
        table[i] = TruncateToByte(scaled + 0.5);
        x = x + kInverse255;
    }
}

}  // namespace

bool BuildToneTable(AdjustKind kind, int16_t level, ToneTable& table) {
    if (kind != ADJUST_BRIGHTNESS && kind != ADJUST_CONTRAST && kind != ADJUST_VIVIDNESS) {
        return false;
    }
    if (level == 0) {
        BuildIdentity(table);
        return true;
    }
    switch (kind) {
        case ADJUST_BRIGHTNESS:
            BuildBrightness(level, table);
            break;
        case ADJUST_CONTRAST:
            if (level > 0) {
                BuildContrastStretch(level, table);
            } else {
                BuildContrastCompress(level, table);
            }
            break;
        default:
            BuildVividness(level, table);
            break;
    }
    return true;
}
