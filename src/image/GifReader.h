// The GIF path of the loader: giflib decodes the first image of the file into
// a bottom-up 24-bit picture (the "bitmap"), which BitmapToDib then fits to
// the caller's box.
//
// Contract: nothing throws; a file that cannot be opened or decoded gives
// null. Pictures larger than the limits (10000 x 10000 unless the caller gives
// smaller ones) are refused before anything is allocated for them, as are
// first images with a side above 10000. Pixel data that breaks off (a
// truncated file, a corrupt LZW stream) leaves the rows decoded before the
// break and the background colour below them; data that breaks off before
// the first row is complete refuses the file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "image/DibImage.h"

constexpr int32_t kGifMaxSide = 10000;

// The first image of the GIF as a 24-bit DibImage the size of the logical
// screen (of the image itself when the screen has a zero side), filled with
// the background colour of the global colour table (black without one), the
// image drawn at its position and clipped. Transparent pixels keep the colour
// their palette index gives; indices without a colour are black. When width
// is given and above 0 on input, it and height (when above 0) are the largest
// size accepted; on success both receive the picture's size, on failure they
// are untouched.
DibBlock GifDecodeToBitmap(const std::string& path, int32_t* width, int32_t* height);
// The same over GIF bytes in memory.
DibBlock GifDecodeMemoryToBitmap(const uint8_t* data, size_t size, int32_t* width, int32_t* height);

// Converts a decoded 24-bit bitmap and fits it to the box (width x height
// in, both above 0 for a box). A bitmap larger than the box in either
// direction is scaled by the larger of the two truncated percentages
// box x 100 / bitmap, which is written to scalePercent; smaller bitmaps keep
// their size (the scale passed in, normally 100, applies when below 100).
// fit writes a box-sized picture, centred vertically and horizontally,
// left-aligned when wider, cut to the box, black elsewhere: into destination
// (a 24-bit image of exactly the box size; the call then returns null) or
// into a new image. Without fit the new image has the scaled size. asMask
// returns an 8-bit mask-form image of the blue channel instead (a
// destination is 24-bit and is written in 24 bits). width and height receive
// the box when one was given, else the new image's size; they are untouched
// on failure. Null also for fit without a box, or a destination without fit.
DibBlock BitmapToDib(const DibImage* bitmap, int16_t* scalePercent, bool asMask, int32_t* width,
                     int32_t* height, uint8_t* destination, bool fit);
