// EdgeMap: the work map of the paint effects, one byte per pixel.
//
// 255 means flat, 0 a strong edge. Rows hold DibRowStride(width, 8) bytes in
// the same row order as the picture; only the first width bytes of a row
// are used. BuildEdgeMap fills it; each paint pass paints the pixels whose
// value lies in the pass's window and sets their entries to 0, so after the
// eight passes every pixel has been painted once and the map is all zeros.
#pragma once

#include <cstdint>

#include "image/DibImage.h"

// Passes per effect, and the distance between their thresholds.
constexpr int32_t kPaintPassCount = 8;
constexpr int16_t kPaintPassStep = 32;

// The threshold t of pass 0 .. 7: 0, 32, ..., 224. A pass paints the pixels
// whose edge value e has t <= e <= t + 32; a value on a window boundary is
// painted by the earlier pass, which then sets it to 0.
constexpr int16_t PaintPassThreshold(int32_t pass) {
    return static_cast<int16_t>(pass * kPaintPassStep);
}

// Bytes per edge-map row: 0 for a width out of range.
inline int32_t EdgeMapStride(int32_t width) {
    return DibRowStride(width, 8);
}
