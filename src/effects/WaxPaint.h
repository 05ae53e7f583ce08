// WaxPaint: waxy dabs that only darken where they blend. The dab
// colour is the source pixel pushed away from mid-grey with strength
// k = (e >> 4) + 3, which changes nothing from edge value 64 upwards. A mix
// keeps the darker of canvas and mix per channel and adds no rounding; only
// a cover with the dab colour can lighten a pixel. The centre may stay
// unchanged.
//
// One pass with threshold t (0, 32, ..., 224) over the whole picture, with
// the sweep, dab walk and contract of PaintPass (PaintPass.h): source and
// destination are 24-bit rows of DibRowStride(width, 24) bytes, the edge map
// comes from BuildEdgeMap and loses the entries of the pixels painted. Run
// BuildEdgeMap once, then the eight passes in order; the canvas is finished
// after the last one. Nothing is written for a null pointer or a size out of
// 1 .. kMaxPictureSide.
#pragma once

#include <cstdint>

#include "effects/PaintPass.h"
#include "effects/PaintRandom.h"

void WaxPaint(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
              int32_t height, int16_t threshold, PaintRandom& random);
// The same pass over a canvas at any scale (PaintCanvas, PaintPass.h).
void WaxPaint(const PaintCanvas& canvas, int16_t threshold, PaintRandom& random);
