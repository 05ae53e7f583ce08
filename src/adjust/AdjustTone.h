// AdjustTone: Brightness, Contrast, Hue and Vividness at an absolute level,
// from an untouched source picture into a destination of the same size.
//
// Pixel areas are 24-bit rows (blue, green, red) of DibRowStride(width, 24)
// bytes, as in a DibImage; source and destination are separate areas. The
// level is absolute: applying level 0 (or Vividness 10) reproduces the
// source exactly, and nothing accumulates between calls.
//
// Contract: no result, never fails. Nothing is written when kind is outside
// 1 .. 4, a pointer is null, or width or height is not 1 .. kMaxPictureSide.
// Brightness, Contrast and Vividness go through a ToneTable (see ToneTable.h
// for levels out of range) and write the first width x 3 bytes of each row,
// never the padding. Hue at level 0 copies whole rows, padding included;
// other Hue levels turn each pixel by (level x 180 + 50) / 100 degrees
// (100 is half a turn) and leave the padding alone.
#pragma once

#include <cstdint>

#include "adjust/AdjustKind.h"

void AdjustTone(const uint8_t* source, uint8_t* destination, AdjustKind kind, int16_t level,
                int32_t width, int32_t height);
