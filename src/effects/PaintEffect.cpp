#include "effects/PaintEffect.h"

#include <cstring>
#include <memory>
#include <new>

#include "effects/BuildEdgeMap.h"
#include "effects/OilPaint.h"
#include "effects/WaterPaint.h"
#include "effects/WaxPaint.h"
#include "image/DibImage.h"

namespace {

// The source averaged over each scale x scale cell, rounded: one pixel per
// edge-map entry, in rows of DibRowStride(width, 24).
void AverageCells(const PaintCanvas& canvas, uint8_t* cells) {
    const size_t scale = static_cast<size_t>(canvas.scale);
    const size_t stride = static_cast<size_t>(DibRowStride(canvas.width * canvas.scale, 24));
    const size_t cellStride = static_cast<size_t>(DibRowStride(canvas.width, 24));
    const uint32_t count = static_cast<uint32_t>(scale * scale);
    for (size_t y = 0; y < static_cast<size_t>(canvas.height); ++y) {
        for (size_t x = 0; x < static_cast<size_t>(canvas.width); ++x) {
            uint32_t sums[3] = {0, 0, 0};
            for (size_t j = 0; j < scale; ++j) {
                const uint8_t* p = canvas.source + (y * scale + j) * stride + x * scale * 3;
                for (size_t i = 0; i < scale * 3; i += 3) {
                    sums[0] += p[i];
                    sums[1] += p[i + 1];
                    sums[2] += p[i + 2];
                }
            }
            uint8_t* cell = cells + y * cellStride + x * 3;
            for (int c = 0; c < 3; ++c) {
                cell[c] = static_cast<uint8_t>((sums[c] + count / 2) / count);
            }
        }
    }
}

}  // namespace

bool PreparePaint(const PaintCanvas& canvas) {
    if (!canvas.Valid()) {
        return false;
    }
    if (canvas.scale == 1) {
        BuildEdgeMap(canvas.source, canvas.destination, canvas.edgeMap, canvas.width,
                     canvas.height);
        return true;
    }
    // The cells and a white scratch picture of their size for BuildEdgeMap,
    // which also whitens a destination.
    const size_t cellBytes =
        static_cast<size_t>(DibRowStride(canvas.width, 24)) * static_cast<size_t>(canvas.height);
    const std::unique_ptr<uint8_t[]> cells(new (std::nothrow) uint8_t[cellBytes * 2]);
    if (!cells) {
        return false;
    }
    AverageCells(canvas, cells.get());
    BuildEdgeMap(cells.get(), cells.get() + cellBytes, canvas.edgeMap, canvas.width, canvas.height);
    const size_t stride = static_cast<size_t>(DibRowStride(canvas.width * canvas.scale, 24));
    std::memset(canvas.destination, 255,
                stride * static_cast<size_t>(canvas.height) * static_cast<size_t>(canvas.scale));
    return true;
}

void PaintEffectPass(EffectKind kind, const PaintCanvas& canvas, int16_t threshold,
                     PaintRandom& random) {
    switch (kind) {
        case EFFECT_OIL:
            OilPaint(canvas, threshold, random);
            break;
        case EFFECT_WATER:
            WaterPaint(canvas, threshold, random);
            break;
        case EFFECT_WAX:
            WaxPaint(canvas, threshold, random);
            break;
        case EFFECT_NONE:
            break;
    }
}
