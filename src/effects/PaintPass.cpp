#include "effects/PaintPass.h"

#include <algorithm>

#include "effects/EdgeMap.h"
#include "image/DibImage.h"

namespace {

DabOutcome PickOutcome(const DabRule& rule, uint32_t value) {
    return rule.pick == DAB_PICK_LOW_BITS ? rule.outcome[value & 3u] : rule.outcome[value % 3u];
}

int32_t MixShift(DabOutcome outcome) {
    switch (outcome) {
        case DAB_MIX_HALF:
            return 1;
        case DAB_MIX_QUARTER:
            return 2;
        default:
            return 3;
    }
}

// Applies one visit's outcome to the three channels of a canvas pixel.
void VisitPixel(const DabStyle& style, DabOutcome outcome, const uint8_t* colour, uint8_t* pixel) {
    if (outcome == DAB_KEEP) {
        return;
    }
    if (outcome == DAB_COVER) {
        pixel[0] = colour[0];
        pixel[1] = colour[1];
        pixel[2] = colour[2];
        return;
    }
    const int32_t shift = MixShift(outcome);
    const int32_t oldWeight = (1 << shift) - 1;
    const int32_t rounding = style.roundedMixes ? 1 << (shift - 1) : 0;
    for (int32_t c = 0; c < 3; ++c) {
        const int32_t old = pixel[c];
        int32_t mix = (oldWeight * old + colour[c] + rounding) >> shift;
        if (style.darkerMixes) {
            mix = std::min(old, mix);
        }
        pixel[c] = static_cast<uint8_t>(mix);
    }
}

}  // namespace

uint8_t ContrastPush(uint8_t value, int32_t k) {
    if (value > 128) {
        return static_cast<uint8_t>(value + ((255 - value) >> k));
    }
    if (value < 128) {
        return static_cast<uint8_t>(value - (value >> k));
    }
    return value;
}

void PaintPass(const DabStyle& style, const uint8_t* source, uint8_t* destination, uint8_t* edgeMap,
               int32_t width, int32_t height, int16_t threshold, PaintRandom& random) {
    if (source == nullptr || destination == nullptr || edgeMap == nullptr ||
        !DibSizeValid(width, height)) {
        return;
    }
    const size_t stride = static_cast<size_t>(DibRowStride(width, 24));
    const size_t edgeStride = static_cast<size_t>(EdgeMapStride(width));
    const int32_t lowest = threshold;
    const int32_t highest = threshold + kPaintPassStep;

    for (int32_t y = 0; y < height; ++y) {
        // Rows the dab's previous, current and next rows land on.
        const int32_t rows[3] = {y > 0 ? y - 1 : y, y, y < height - 1 ? y + 1 : y};
        const uint8_t* sourceRow = source + static_cast<size_t>(y) * stride;
        uint8_t* edges = edgeMap + static_cast<size_t>(y) * edgeStride;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t e = edges[x];
            if (e < lowest || e > highest) {
                continue;
            }
            const uint8_t* pixel = sourceRow + static_cast<size_t>(x) * 3;
            uint8_t colour[3] = {pixel[0], pixel[1], pixel[2]};
            if (style.pushShift > 0) {
                const int32_t k = (e >> style.pushShift) + 3;
                for (uint8_t& channel : colour) {
                    channel = ContrastPush(channel, k);
                }
            }
            for (int32_t column = 0; column < 3; ++column) {
                const int32_t cx = x + column - 1;
                if (cx < 0 || cx >= width) {
                    continue;  // no neighbour there, and no value drawn for it
                }
                for (int32_t row = 0; row < 3; ++row) {
                    const DabRule& rule = style.rule[static_cast<size_t>(column * 3 + row)];
                    const DabOutcome outcome = PickOutcome(rule, random.Next());
                    uint8_t* target = destination + static_cast<size_t>(rows[row]) * stride +
                                      static_cast<size_t>(cx) * 3;
                    VisitPixel(style, outcome, colour, target);
                }
            }
            edges[x] = 0;
        }
    }
}
