// WebP files made on the spot with libwebp's encoder, for the tests that
// need one beside the other formats.
#pragma once

#include <cstdint>
#include <vector>

#include "image/DibImage.h"

// A 24-bit picture (rows bottom-up, as it lies in memory) as a WebP: lossy
// at the quality given (0 .. 100), or lossless for a quality below 0. Empty
// when the encoder fails.
std::vector<uint8_t> EncodeTestWebp(const DibImage& picture, int quality);

// Rows of blue, green, red, alpha, top row first, as a WebP with alpha:
// lossy colour (with lossless alpha) at the quality given, or lossless for a
// quality below 0. Lossless keeps the colour under transparent pixels too.
std::vector<uint8_t> EncodeTestWebpBgra(const std::vector<uint8_t>& bgra, int width, int height,
                                        int quality);
