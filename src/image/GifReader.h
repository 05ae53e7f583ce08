// The GIF path of the loader: giflib decodes the first image of the file into
// a bottom-up 24-bit picture (the "bitmap"), which BitmapToDib then fits to
// the caller's box.
//
// Contract: nothing throws; a file that cannot be opened or decoded gives
// null. Pictures larger than the limits (10000 x 10000 unless the caller gives
// smaller ones) are refused before anything is allocated for them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/DibImage.h"

constexpr int32_t kGifMaxSide = 10000;

// The first image of the GIF as a 24-bit DibImage. width and height, when
// given and non-zero on input, are the largest size accepted; on output they
// receive the picture's size. Transparent pixels keep the colour their
// palette index gives.
DibBlock GifDecodeToBitmap(const std::string& path, int32_t* width, int32_t* height);
// The same over GIF bytes in memory.
DibBlock GifDecodeMemoryToBitmap(const uint8_t* data, size_t size, int32_t* width,
                                 int32_t* height);

// Converts a decoded bitmap and fits it to the box (width x height in, both
// above 0 for a box) with a truncated percentage. fit writes it into
// destination (a 24-bit image of exactly the box size), centred vertically,
// left-aligned when wider, black elsewhere, and returns null. asMask gives an
// 8-bit mask-form image of the blue channel. scalePercent receives the scale
// used; width and height receive the box when one was given, else the size.
DibBlock BitmapToDib(const DibImage* bitmap, int16_t* scalePercent, bool asMask, int32_t* width,
                     int32_t* height, uint8_t* destination, bool fit);
