// ApplyColorTone: recolours a picture in shades of one tone colour (a
// duotone). By brightness Y = (11 blue + 59 green + 30 red + 50) / 100 each
// pixel is blended from black (Y = 0) through the tone colour exactly
// (Y = 127) to white (Y = 255); each tone channel acts on its own channel.
//
// Pixel areas are 24-bit rows (blue, green, red) of DibRowStride(width, 24)
// bytes; source and destination are separate areas of the same size. The
// first width x 3 bytes of every destination row are written, padding never.
//
// Contract: returns the number of rows processed: height, or 0 (nothing
// written) when a pointer is null or width or height is not
// 1 .. kMaxPictureSide. Tone components are 0 .. 255; values outside are
// clamped.
#pragma once

#include <cstdint>

int32_t ApplyColorTone(const uint8_t* source, uint8_t* destination, int16_t toneBlue,
                       int16_t toneGreen, int16_t toneRed, int32_t width, int32_t height);
