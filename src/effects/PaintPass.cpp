#include "effects/PaintPass.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "effects/EdgeMap.h"
#include "image/DibImage.h"

namespace {

// Every outcome as one blend, new = (oldWeight x old + colourWeight x P +
// rounding) >> shift, optionally kept no lighter than old. Laying a dab then
// needs no branch on the drawn value, which is random by design.
struct Blend {
    int32_t oldWeight;
    int32_t colourWeight;
    int32_t rounding;
    int32_t shift;
    bool darker;
};

Blend BlendFor(const DabStyle& style, DabOutcome outcome) {
    switch (outcome) {
        case DAB_KEEP:
            return {1, 0, 0, 0, false};
        case DAB_COVER:
            return {0, 1, 0, 0, false};  // a cover may lighten, even in wax
        default:
            break;
    }
    const int32_t shift = outcome == DAB_MIX_HALF ? 1 : outcome == DAB_MIX_QUARTER ? 2 : 3;
    return {(1 << shift) - 1, 1, style.roundedMixes ? 1 << (shift - 1) : 0, shift,
            style.darkerMixes};
}

// The blends of one dab position, indexed by the drawn value's pick.
struct PositionBlends {
    bool byThirds;
    Blend blend[4];
};

// Inlined by force: left to itself the compiler calls it for one effect's
// style and not the others', which costs a wax painting half its time.
inline __attribute__((always_inline)) void ApplyBlend(const Blend& blend, const uint8_t* colour,
                                                      uint8_t* pixel) {
    for (int32_t c = 0; c < 3; ++c) {
        const int32_t old = pixel[c];
        const int32_t mix =
            (blend.oldWeight * old + blend.colourWeight * colour[c] + blend.rounding) >>
            blend.shift;
        pixel[c] = static_cast<uint8_t>(blend.darker ? std::min(old, mix) : mix);
    }
}

}  // namespace

uint8_t ContrastPush(uint8_t value, int32_t k) {
    // From k = 8 on nothing moves (the distances are at most 127), so larger
    // strengths are cut there, which also keeps the shifts defined.
    k = std::clamp<int32_t>(k, 0, 8);
    if (value > 128) {
        return static_cast<uint8_t>(value + ((255 - value) >> k));
    }
    if (value < 128) {
        return static_cast<uint8_t>(value - (value >> k));
    }
    return value;
}

bool PaintCanvas::Valid() const {
    return source != nullptr && destination != nullptr && edgeMap != nullptr &&
           DibSizeValid(width, height) && scale >= 1 && scale <= kMaxPictureSide &&
           static_cast<int64_t>(width) * scale <= kMaxPictureSide &&
           static_cast<int64_t>(height) * scale <= kMaxPictureSide;
}

void PaintPass(const DabStyle& style, const uint8_t* source, uint8_t* destination, uint8_t* edgeMap,
               int32_t width, int32_t height, int16_t threshold, PaintRandom& random) {
    PaintCanvas canvas;
    canvas.source = source;
    canvas.destination = destination;
    canvas.edgeMap = edgeMap;
    canvas.width = width;
    canvas.height = height;
    PaintPass(style, canvas, threshold, random);
}

namespace {

// The sweep over the cells. kScale is the scale when known at compile time
// (the screen's 1, so that its inner loops vanish) and 0 otherwise, when the
// canvas's own scale is used.
template <size_t kScale>
void PaintCells(const PositionBlends* blends, const DabStyle& style, const PaintCanvas& canvas,
                int16_t threshold, PaintRandom& random, uint8_t* dab) {
    const int32_t width = canvas.width;
    const int32_t height = canvas.height;
    const size_t scale = kScale != 0 ? kScale : static_cast<size_t>(canvas.scale);
    const size_t stride = static_cast<size_t>(DibRowStride(width * canvas.scale, 24));
    const size_t edgeStride = static_cast<size_t>(EdgeMapStride(width));
    const int32_t lowest = threshold;
    const int32_t highest = threshold + kPaintPassStep;

    for (int32_t y = 0; y < height; ++y) {
        // Cell rows the dab's previous, current and next rows land on.
        const int32_t rows[3] = {y > 0 ? y - 1 : y, y, y < height - 1 ? y + 1 : y};
        uint8_t* edges = canvas.edgeMap + static_cast<size_t>(y) * edgeStride;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t e = edges[x];
            if (e < lowest || e > highest) {
                continue;
            }
            for (size_t j = 0; j < scale; ++j) {
                const uint8_t* pixel = canvas.source +
                                       (static_cast<size_t>(y) * scale + j) * stride +
                                       static_cast<size_t>(x) * scale * 3;
                uint8_t* colour = dab + j * scale * 3;
                std::memcpy(colour, pixel, scale * 3);
                if (style.pushShift > 0) {
                    const int32_t k = (e >> style.pushShift) + 3;
                    for (size_t i = 0; i < scale * 3; ++i) {
                        colour[i] = ContrastPush(colour[i], k);
                    }
                }
            }
            for (int32_t column = 0; column < 3; ++column) {
                const int32_t cx = x + column - 1;
                if (cx < 0 || cx >= width) {
                    continue;  // no neighbour there, and no value drawn for it
                }
                for (int32_t row = 0; row < 3; ++row) {
                    const PositionBlends& position = blends[column * 3 + row];
                    const uint32_t value = random.Next();
                    const uint32_t pick = position.byThirds ? value % 3u : value & 3u;
                    const Blend& blend = position.blend[pick];
                    for (size_t j = 0; j < scale; ++j) {
                        uint8_t* target = canvas.destination +
                                          (static_cast<size_t>(rows[row]) * scale + j) * stride +
                                          static_cast<size_t>(cx) * scale * 3;
                        const uint8_t* colour = dab + j * scale * 3;
                        for (size_t i = 0; i < scale; ++i) {
                            ApplyBlend(blend, colour + i * 3, target + i * 3);
                        }
                    }
                }
            }
            edges[x] = 0;
        }
    }
}

}  // namespace

void PaintPass(const DabStyle& style, const PaintCanvas& canvas, int16_t threshold,
               PaintRandom& random) {
    if (!canvas.Valid()) {
        return;
    }
    const size_t scale = static_cast<size_t>(canvas.scale);
    // The dab colours of one cell, scale x scale pixels.
    const std::unique_ptr<uint8_t[]> dab(new (std::nothrow) uint8_t[scale * scale * 3]);
    if (!dab) {
        return;
    }
    PositionBlends blends[DAB_POSITION_COUNT];
    for (size_t position = 0; position < DAB_POSITION_COUNT; ++position) {
        const DabRule& rule = style.rule[position];
        blends[position].byThirds = rule.pick == DAB_PICK_MOD_3;
        for (size_t i = 0; i < 4; ++i) {
            blends[position].blend[i] = BlendFor(style, rule.outcome[i]);
        }
    }
    if (scale == 1) {
        PaintCells<1>(blends, style, canvas, threshold, random, dab.get());
    } else {
        PaintCells<0>(blends, style, canvas, threshold, random, dab.get());
    }
}
