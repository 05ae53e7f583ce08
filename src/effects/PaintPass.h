// PaintPass: the row sweep and the dab walk the three paint effects share.
//
// A pass paints every pixel whose edge value e lies in its window
// (t <= e <= t + 32) with a 3 x 3 dab centred on it, then sets the pixel's
// edge entry to 0. Pixels are taken row by row in buffer order, columns left
// to right. A dab visits its positions column by column, left (previous,
// current, next row), middle, right, skipping the left column in the
// picture's first column and the right column in its last. The first row
// stands in for its own previous row and the last row for its own next row,
// so there two visits act on the same pixel, the later on the result of the
// earlier. Each visit draws one value r from the random source and picks an
// outcome from the position's rule by r & 3 or by r mod 3.
//
// An effect is described by a DabStyle: the rule of each position, how its
// mixes round, and the contrast push of its dab colour.
//
// Contract: no result, never fails. Pixel areas are 24-bit rows of
// DibRowStride(width, 24) bytes; the edge map has rows of
// DibRowStride(width, 8) bytes. Nothing is written when a pointer is null or
// width or height is not 1 .. kMaxPictureSide. Row padding is never written.
#pragma once

#include <array>
#include <cstdint>

#include "effects/PaintRandom.h"

// What one visit does to each channel of the canvas pixel, with old its
// value before the visit and P the dab colour's.
enum DabOutcome : uint8_t {
    DAB_KEEP,         // unchanged
    DAB_COVER,        // P
    DAB_MIX_HALF,     // (old + P) >> 1
    DAB_MIX_QUARTER,  // (3 x old + P) >> 2
    DAB_MIX_EIGHTH,   // (7 x old + P) >> 3
};

// How a drawn value picks the outcome.
enum DabPick : uint8_t {
    DAB_PICK_LOW_BITS,  // outcome[r & 3]
    DAB_PICK_MOD_3,     // outcome[r % 3], r taken as unsigned; outcome[3] unused
};

struct DabRule {
    DabPick pick;
    std::array<DabOutcome, 4> outcome;
};

// Index of a dab position in DabStyle::rule, in visiting order.
enum DabPosition : uint8_t {
    DAB_LEFT_PREVIOUS,
    DAB_LEFT_CURRENT,
    DAB_LEFT_NEXT,
    DAB_MIDDLE_PREVIOUS,
    DAB_CENTRE,
    DAB_MIDDLE_NEXT,
    DAB_RIGHT_PREVIOUS,
    DAB_RIGHT_CURRENT,
    DAB_RIGHT_NEXT,
    DAB_POSITION_COUNT,
};

struct DabStyle {
    std::array<DabRule, DAB_POSITION_COUNT> rule;
    // Mixes add half of the divisor (1, 2 or 4) before the shift.
    bool roundedMixes;
    // Mixes keep the darker of old and the mix, per channel.
    bool darkerMixes;
    // 0: the dab colour is the source pixel. Otherwise the source pixel is
    // contrast-pushed with strength k = (e >> pushShift) + 3.
    int32_t pushShift;
};

// Moves a channel away from mid-grey: above 128 by (255 - v) >> k towards
// white, below 128 by v >> k towards black; 128 stays. Any k is safe: from
// 8 on nothing moves, and below 0 it counts as 0.
uint8_t ContrastPush(uint8_t value, int32_t k);

// The pictures of a pass at a whole multiple of the edge map's size: the
// edge map has width x height entries (rows of DibRowStride(width, 8)), and
// source and destination are 24-bit pictures of width x scale by height x
// scale pixels (rows of DibRowStride(width x scale, 24)). Each map entry
// stands for a cell of scale x scale pixels, and a dab covers the 3 x 3 cells
// around its own: it is drawn exactly as at scale 1 (one value per visited
// cell, in the same order), each visit acting on every pixel of its cell
// with the dab colour taken from the pixel at the same place in the dab's
// own cell. So scale 1 is the pass described above, and a larger scale lays
// the same dabs scale times as large.
struct PaintCanvas {
    const uint8_t* source = nullptr;
    uint8_t* destination = nullptr;
    uint8_t* edgeMap = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t scale = 1;

    // Pointers present, the map's size 1 .. kMaxPictureSide, the scale at
    // least 1 and the pictures' sides within kMaxPictureSide.
    bool Valid() const;
};

// One pass of the effect the style describes, with threshold t.
void PaintPass(const DabStyle& style, const uint8_t* source, uint8_t* destination, uint8_t* edgeMap,
               int32_t width, int32_t height, int16_t threshold, PaintRandom& random);
// The same over a canvas at any scale; nothing is written when it is not
// Valid or its work memory cannot be had.
void PaintPass(const DabStyle& style, const PaintCanvas& canvas, int16_t threshold,
               PaintRandom& random);
