// BuildEdgeMap: prepares a paint effect. Measures how strongly the picture
// changes around each pixel into the edge map (255 flat .. 0 strong edge,
// see EdgeMap.h) and makes the destination a white canvas.
//
// The source is 24-bit rows (blue, green, red) of DibRowStride(width, 24)
// bytes; the destination has the same size and layout and every byte of it,
// padding included, becomes 255. Only the first width bytes of each edge-map
// row are written.
//
// Contract: no result, never fails. Nothing is written when a pointer is null
// or width or height is not 1 .. kMaxPictureSide. Any size works: the first
// and last rows and columns stand in for their missing neighbours, so a
// 1 x 1 picture is flat.
#pragma once

#include <cstdint>

void BuildEdgeMap(const uint8_t* source, uint8_t* destination, uint8_t* edgeMap, int32_t width,
                  int32_t height);
