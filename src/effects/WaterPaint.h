// WaterPaint: soft, washed dabs of the unchanged pixel colour. Most
// positions keep the canvas or mix a half, a quarter or an eighth of the
// colour into it, rounding to nearest; the centre always takes at least half
// of the colour.
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

void WaterPaint(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
                int32_t height, int16_t threshold, PaintRandom& random);
// The same pass over a canvas at any scale (PaintCanvas, PaintPass.h).
void WaterPaint(const PaintCanvas& canvas, int16_t threshold, PaintRandom& random);
