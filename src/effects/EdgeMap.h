// EdgeMap: the work map of the paint effects, one byte per pixel.
//
// 255 means flat, 0 a strong edge. Rows hold EdgeMapStride(width) bytes in
// the same row order as the picture; only the first width bytes of a row
// are used. BuildEdgeMap fills it; each paint pass paints the pixels whose
// value lies in the pass's window and sets their entries to 0, so after the
// eight passes every pixel has been painted once and the map is all zeros.
//
// The map is a plain buffer, not a picture: it is never saved or shown, so it
// carries no header to keep in step with its bytes.
//
// Contract: NewEdgeMap never throws; it gives an empty map (no levels, 0 x 0)
// when a side is out of range (1 .. kMaxPictureSide) or memory runs out.
#pragma once

#include <cstdint>
#include <memory>

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

// The levels of a width x height picture, EdgeMapStride(width) x height
// bytes, row for row as the picture lies in memory.
struct EdgeMap {
    std::unique_ptr<uint8_t[]> levels;
    int32_t width = 0;
    int32_t height = 0;

    // True when the map holds levels.
    explicit operator bool() const { return levels != nullptr; }
};

// A zero-filled map for a width x height picture, or an empty one.
EdgeMap NewEdgeMap(int32_t width, int32_t height);
